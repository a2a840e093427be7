#include "evaluation/TextExports.h"

#include <cmath>

#include "foundations/Cp1250.h"
#include "foundations/FR_Utils.h"
#include "foundations/NumberFormat.h"
#include "foundations/ProgramMessages.h"
#include "foundations/StreamIO.h"

namespace {

// Velocity and recording samples are taken 25 times a second.
constexpr double kSampleSpacing = 0.04;

QString Tr(const char* key, const QString& builtIn) {
    return TranslateString(QString::fromLatin1(key), builtIn);
}

// The text of one export, line by line; written out only when every line was made.
class ExportText {
public:
    void line(const QString& text) {
        text_ += text;
        text_ += QStringLiteral("\r\n");
        ++lines_;
    }
    // x:w:d
    QString real(double value, int width, int decimals) const {
        checkFinite(value);
        return foundations::formatField(value, width, decimals);
    }
    // x in the standard form
    QString standard(double value) const {
        checkFinite(value);
        return foundations::formatFieldExp(value, 23);
    }
    // n:w
    static QString integer(int value, int width) {
        return QString::number(value).rightJustified(width, u' ');
    }
    void save(const QString& FileName) const {
        const QByteArray bytes = foundations::toCp1250(text_);
        SaveFileThroughTemporary(FileName, [&](QIODevice& d) {
            foundations::writeExact(d, bytes.constData(), bytes.size());
        });
    }

private:
    // The value belongs to the line being made, so the message names that line of the file.
    void checkFinite(double value) const {
        if (std::isfinite(value)) return;
        throw MeasurementFileError(FillPlaceholder(
            Tr("stEksportNieliczba", QStringLiteral(u"Wartość nieliczbowa w wierszu %d: plik nie został zapisany.")),
            lines_ + 1));
    }
    QString text_;
    int lines_ = 0;
};

const QString kSep = QStringLiteral(", ");

QString TrDystans() { return Tr("stDystans", QStringLiteral("Dystans")); }
QString TrBlad() { return Tr("stBlad", QStringLiteral(u"Błąd")); }
QString TrPredkosc() { return Tr("stPredkosc", QStringLiteral(u"Prędkość")); }
QString TrCapFft() { return Tr("stCapFFT", QStringLiteral(u"Analiza częstotliwościowa")); }

void writeSamples(ExportText& t, const TVelValue& Values, int decimals) {
    for (int k = 0; k < Values.Count(); ++k)
        t.line(t.real(k * kSampleSpacing, 3, 2) + kSep + t.real(Values[k].Value, 6, decimals));
}

void writeChartHeading(ExportText& t, const QString& chartName, const ChartExportValues& Chart) {
    t.line(TrCapFft() + QStringLiteral(" - ") + chartName);
    t.line(Chart.BottomAxisTitle + kSep + Chart.LeftAxisTitle);
}

}  // namespace

void ExportPositioningText(const TCykl& Cycles, const QString& FileName) {
    ExportText t;
    t.line(Tr("stCapPoz", QStringLiteral("Pozycjonowanie Liniowe")));
    t.line(Tr("stCykl", QStringLiteral("Cykl")) + QStringLiteral(" ,") +
           Tr("stPunkt", QStringLiteral("Punkt")) + QStringLiteral(" ,") + TrDystans() +
           QStringLiteral(" [mm], Xa [um], Xr [um]"));
    for (int c = 0; c < Cycles.Count(); ++c) {
        const TPunkt& points = Cycles[c].Punkt;
        for (int p = 0; p < points.Count(); ++p) {
            const TPunktItem& pt = points[p];
            t.line(ExportText::integer(c + 1, 2) + kSep + ExportText::integer(p, 3) + kSep +
                   t.real(pt.Dystans, 9, 3) + kSep + t.real(pt.Xa, 5, 1) + kSep + t.real(pt.Xr, 5, 1));
        }
    }
    t.save(FileName);
}

void ExportVelocityText(const TVelValue& Values, const QString& FileName) {
    ExportText t;
    t.line(TrPredkosc());
    t.line(Tr("stCzas", QStringLiteral("Czas")) + QStringLiteral(" [s], ") + TrPredkosc() +
           QStringLiteral(" [mm/s]"));
    writeSamples(t, Values, 3);
    t.save(FileName);
}

void ExportRecordingText(const TVelValue& Values, const QString& FileName) {
    ExportText t;
    writeSamples(t, Values, 4);
    t.save(FileName);
}

void ExportAngularText(const TPunkt& Points, const QString& FileName) {
    ExportText t;
    t.line(Tr("stCapPodzKat", QStringLiteral(u"Podziały Kątowe")));
    t.line(Tr("stKat", QStringLiteral(u"Kąt")) + QStringLiteral(" [deg], Dc [sek], Ds [sek]"));
    for (int i = 0; i < Points.Count(); ++i) {
        const TPunktItem& pt = Points[i];
        t.line(t.real(pt.Dystans, 9, 3) + kSep + t.real(pt.Xa, 6, 1) + kSep + t.real(pt.Xr, 6, 1));
    }
    t.save(FileName);
}

void ExportStraightnessText(const TPunkt& Points, const QString& FileName) {
    ExportText t;
    t.line(Tr("stPomiarProsto", QStringLiteral(u"Pomiar Prostoliniowości")));
    t.line(TrDystans() + QStringLiteral(" [cm], ") + TrBlad() + QStringLiteral(" [um]"));
    for (int i = 0; i < Points.Count(); ++i)
        t.line(t.real(Points[i].Dystans, 9, 3) + kSep + t.real(Points[i].Xa, 6, 1));
    t.save(FileName);
}

void ExportFlatnessText(const TCykl& Lines, const QString& FileName) {
    ExportText t;
    t.line(Tr("stCapMapa", QStringLiteral(u"Mapa Płaskości")));
    t.line(Tr("stOs", QStringLiteral(u"Oś")) + kSep + TrDystans() + QStringLiteral(" [cm], ") +
           TrBlad() + QStringLiteral(" [um]"));
    for (int l = 0; l < Lines.Count(); ++l) {
        const TPunkt& points = Lines[l].Punkt;
        for (int i = 0; i < points.Count(); ++i)
            t.line(ExportText::integer(l + 1, 2) + kSep + t.real(points[i].Dystans, 9, 3) + kSep +
                   t.real(points[i].Xa, 6, 1));
    }
    t.save(FileName);
}

void ExportFftTimeText(const ChartExportValues& Chart, const QString& FileName) {
    ExportText t;
    writeChartHeading(t, Tr("stWykresCzas", QStringLiteral("Wykres czasowy")), Chart);
    for (const QPointF& p : Chart.Points) t.line(t.real(p.x(), 10, 3) + t.real(p.y(), 10, 4));
    t.save(FileName);
}

void ExportFftSpectrumText(const ChartExportValues& Chart, const QString& FileName) {
    ExportText t;
    writeChartHeading(t, Tr("stWykresCzy", QStringLiteral(u"Wykres częstotliwościowy")), Chart);
    for (const QPointF& p : Chart.Points) t.line(t.real(p.x(), 10, 3) + t.standard(p.y()));
    t.save(FileName);
}
