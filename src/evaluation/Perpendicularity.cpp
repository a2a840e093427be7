#include "evaluation/Perpendicularity.h"

#include <cmath>

#include "evaluation/MeasurementFiles.h"
#include "evaluation/StraightnessEval.h"
#include "foundations/FR_Utils.h"
#include "foundations/ProgramMessages.h"

namespace evaluation {

namespace {

double deviation(const TPunktItem& p, int plane) { return plane == ppVertical ? p.Xr : p.Xa; }

// The same conditions under which the fits remove no line.
bool hasLine(const TPunkt& points, int line) {
    const int n = points.Count();
    if (n < 2) return false;
    if (line == plLeastSquares) {
        for (int i = 1; i < n; ++i)
            if (points[i].Dystans != points[0].Dystans) return true;
        return false;
    }
    return points[n - 1].Dystans != points[0].Dystans;
}

bool allFinite(const TPunkt& points, int plane) {
    for (int i = 0; i < points.Count(); ++i)
        if (!std::isfinite(points[i].Dystans) || !std::isfinite(deviation(points[i], plane))) return false;
    return true;
}

}  // namespace

AxisLineFit FitAxisLine(const TPunkt& points, int line, int plane) {
    AxisLineFit fit;
    TPunkt residuals;
    LineAngles angles{0.0, 0.0};
    if (line == plLeastSquares) FitLeastSquaresLine(points, residuals, angles);
    else FitEndPointLine(points, residuals, angles);

    if (!allFinite(points, plane)) fit.fault = AxisLineFault::NonFinite;
    else if (!hasLine(points, line)) fit.fault = AxisLineFault::TooFewPoints;
    else {
        fit.angle = angles[plane == ppVertical ? 1 : 0];
        if (!std::isfinite(fit.angle)) {
            fit.fault = AxisLineFault::NonFinite;
            fit.angle = 0.0;
        }
    }
    // Without a line nothing is removed: the readings are shown as they are.
    const TPunkt& shown = fit.fitted() ? residuals : points;
    for (int i = 0; i < shown.Count(); ++i) {
        const double x = shown[i].Dystans, y = deviation(shown[i], plane);
        if (std::isfinite(x) && std::isfinite(y)) fit.residuals.emplace_back(x, y);
    }
    return fit;
}

double AngleBetweenAxes(double angle1, double angle2) { return angle1 + RightAngleArcSeconds - angle2; }

ArcSecondsSplit SplitArcSeconds(int32_t s) {
    const int64_t a = s < 0 ? -int64_t(s) : int64_t(s);
    ArcSecondsSplit r;
    r.sign = s < 0 ? 1 : 0;
    r.degrees = uint32_t(a / 3600);
    r.minutes = uint8_t((a % 3600) / 60);
    r.seconds = uint8_t(a % 60);
    return r;
}

QString FormatSlopeAngle(double angle, QChar separator) {
    return foundations::formatFixed(angle, 5, 2, separator);
}

QString FormatAngleBetweenAxes(double v, QChar separator) {
    if (!std::isfinite(v)) return QStringLiteral("-");
    const QString shown = foundations::formatFixed(v, 8, 1, separator);
    // Tenths of an arc second exactly as the figure before "sek." is rounded.
    const QString magnitude = foundations::formatFixed(std::fabs(v), 8, 1, u'.');
    bool ok = false;
    const qint64 tenths = QString(magnitude).remove(u'.').toLongLong(&ok);
    // Only a value of a hundred million arc seconds or more is written in scientific form; no
    // pair of axis angles comes near it.
    if (!ok || tenths / 10 > INT32_MAX) return shown + QStringLiteral(" sek.");
    const ArcSecondsSplit p = SplitArcSeconds(int32_t(tenths / 10));
    const bool negative = v < 0 && tenths > 0;
    return shown + QStringLiteral(" sek. = ") + (negative ? QStringLiteral("-") : QString()) +
           QString::number(p.degrees) + QString::fromUtf8("° ") + QString::number(p.minutes) +
           QStringLiteral("' ") + QString::number(p.seconds) + separator + QString::number(tenths % 10) +
           QStringLiteral("\"");
}

std::optional<QString> PerpendicularityEval::LoadAxis(int index, const QString& fileName) {
    MeasurementData read;
    if (auto err = LoadMeasurementFile(read, fileName, mfStraightness)) return err;
    SetAxisPoints(index, read.StraightnessPoints);
    return std::nullopt;
}

void PerpendicularityEval::SetAxisPoints(int index, const TPunkt& points) {
    Axis& a = axes_.at(size_t(index));
    a.points.Assign(points);
    a.loaded = true;
    FitAxis(index);
}

void PerpendicularityEval::FitAxis(int index) {
    Axis& a = axes_.at(size_t(index));
    if (!a.loaded) return;
    a.line = FitAxisLine(a.points, line, plane);
    a.angle = a.line.angle;
}

std::optional<double> PerpendicularityEval::AngleBetween() const {
    if (!BothLoaded() || !axes_[0].line.fitted() || !axes_[1].line.fitted()) return std::nullopt;
    return AngleBetweenAxes(axes_[0].angle, axes_[1].angle);
}

QStringList PerpendicularityEval::Faults() const {
    QStringList out;
    for (int i = 0; i < 2; ++i) {
        const Axis& a = axes_[size_t(i)];
        if (!a.loaded) continue;
        switch (a.line.fault) {
        case AxisLineFault::None: break;
        case AxisLineFault::TooFewPoints:
            out << FillPlaceholder(
                TranslateString(QStringLiteral("stProstBrakLinii"),
                                QString::fromUtf8("Oś nr%d: za mało punktów, by wyznaczyć linię "
                                                  "(potrzeba dwóch w różnych odległościach).")),
                i + 1);
            break;
        case AxisLineFault::NonFinite:
            out << FillPlaceholder(
                TranslateString(QStringLiteral("stProstBledneDane"),
                                QString::fromUtf8("Oś nr%d: plik zawiera wartości, które nie są liczbami.")),
                i + 1);
            break;
        }
    }
    return out;
}

QString PerpendicularityEval::ResultText(QChar separator) const {
    if (const auto v = AngleBetween()) return FormatAngleBetweenAxes(*v, separator);
    const QStringList faults = Faults();
    return faults.isEmpty() ? QStringLiteral("-") : faults.join(u'\n');
}

}  // namespace evaluation
