#include "app/ParameterSummary.h"

#include <cmath>

#include "foundations/NumberFormat.h"
#include "foundations/ProgramMessages.h"

namespace summary {

namespace {

constexpr double kMmToInch = 0.03937007874015748;

// A menu caption as the status bar shows it: without its accelerator mark.
QString plainCaption(QString caption) {
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    caption.remove(u'&');
    caption.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return caption;
}

// "Label: value"; a label that ends with its own colon (as "Liczba cykli w serii:" does) gets
// no second one.
QString labelled(const QString& label, const QString& value) {
    return label + (label.endsWith(u':') ? QStringLiteral(" ") : QStringLiteral(": ")) + value;
}

// Rounded to a whole number, ties to even; a value that is no finite number shows as 0.
QString wholeNumber(double v) {
    if (!std::isfinite(v) || std::abs(v) > 9.0e15) return QStringLiteral("0");
    return QString::number(static_cast<long long>(std::nearbyint(v)));
}

std::array<QString, 5> positioningTexts(const SummaryInput& in) {
    std::array<QString, 5> p;
    p[0] = in.handAccept ? plainCaption(in.handAcceptCaption) : Msg(QStringLiteral("stZalAuto"));
    if (in.pointsFromList) {
        p[1] = plainCaption(in.pointsFromListCaption);
        // An empty list has no distance to show.
        if (in.lastTarget && std::isfinite(*in.lastTarget))
            p[1] += QStringLiteral(", ") + Msg(QStringLiteral("stDystans")) + QStringLiteral(": ") +
                    foundations::formatFixed(*in.lastTarget, 5, 1, in.decimalSeparator) + QStringLiteral(" mm");
    } else {
        p[1] = Msg(QStringLiteral("stPunktyAuto"));
    }
    const QString cycles = QString::number(in.cycleCount);
    p[2] = in.positioningMethod == 0 ? labelled(Msg(QStringLiteral("stLiczbaCykli")), cycles)
                                     : labelled(Msg(QStringLiteral("stLiczbaPomiarow")), cycles);
    switch (in.positioningMethod) {
    case 0:
        p[3] = Msg(QStringLiteral("stLiniowe")) + QStringLiteral("-") +
               Msg(in.uniDirectional ? QStringLiteral("stJedno") : QStringLiteral("stDwu"));
        break;
    case 1: p[3] = Msg(QStringLiteral("stPielgrzym")); break;
    case 2: p[3] = Msg(QStringLiteral("stPielgrzym")) + QStringLiteral(" 2"); break;
    default: break;
    }
    p[4] = in.stopAfterCycle ? plainCaption(in.stopAfterCycleCaption) : QString();
    return p;
}

std::array<QString, 5> straightnessTexts(const SummaryInput& in) {
    std::array<QString, 5> p;
    const QString points = labelled(Msg(QStringLiteral("stLiczbaPunktow")), QString::number(in.straightnessPointCount));
    const QString base = wholeNumber(in.baseLength) + QStringLiteral(" mm");
    switch (in.straightnessMethod) {
    case 0:
        p[0] = Msg(QStringLiteral("stMetodaKatowa"));
        p[1] = labelled(Msg(QStringLiteral("stDlgPodstawki")), base);
        p[2] = points;
        break;
    case 1:
        p[0] = Msg(QStringLiteral("stMetodaUchylen"));
        p[1] = labelled(Msg(QStringLiteral("stOdstepPunkt")), base);
        p[2] = points;
        break;
    case 2: p[0] = Msg(QStringLiteral("stMetoda2OS")); break;
    default: break;
    }
    // A method index the name list does not have shows nothing.
    if (in.statisticsMethod < in.statisticsMethodNames.size()) p[4] = in.statisticsMethodNames[in.statisticsMethod];
    return p;
}

}  // namespace

std::array<QString, 5> MeasurementParameterTexts(const SummaryInput& in) {
    return in.measurementMode == 0 ? positioningTexts(in) : straightnessTexts(in);
}

QString StraightnessUnitCaption(uint8_t straightnessMethod) {
    return straightnessMethod == 0 ? QStringLiteral("sek") : QStringLiteral("µm");
}

bool ZeroLineShown(double leftMinimum, double leftMaximum) { return leftMaximum > 0.0 && leftMinimum < 0.0; }

double StartPointShown(double storedMm, int32_t lengthUnit) {
    return lengthUnit == 1 ? storedMm * kMmToInch : storedMm;
}

int StartPointDecimals(int32_t lengthUnit) { return lengthUnit == 1 ? 4 : 3; }

QString StartPointText(double storedMm, int decimals, int32_t lengthUnit, QChar separator) {
    return foundations::formatFixed(StartPointShown(storedMm, lengthUnit), 15, decimals, separator);
}

double StartPointFromEdit(double storedMm, const QString& text, int decimals, int32_t lengthUnit,
                          QChar separator) {
    if (std::isfinite(storedMm) && text == StartPointText(storedMm, decimals, lengthUnit, separator)) return storedMm;
    const double shown = foundations::parseUserReal(text).value_or(0.0);
    if (!std::isfinite(shown)) return storedMm;
    return lengthUnit == 1 ? shown * 25.4 : shown;
}

}  // namespace summary
