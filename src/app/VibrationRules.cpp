#include "app/VibrationRules.h"

#include <algorithm>

#include "foundations/SharedGlobals.h"
#include "platform/Chart.h"
#include "platform/ChartSeries.h"

namespace vibrationrules {

QString ExportFileName(const QString& windowCaption, const QString& modeCaption) {
    // A caption that does not name a file (or a mode without a caption of its own) proposes
    // nothing rather than a piece of the caption.
    const QString prefix = modeCaption + QStringLiteral(" - ");
    if (modeCaption.isEmpty() || !windowCaption.startsWith(prefix)) return QString();
    const QString name = windowCaption.mid(prefix.size());
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

FileDialogSettings ExportDialogSettings(const QString& fileName, const QString& initialDir) {
    FileDialogSettings s;
    s.Filter = QStringLiteral("Dokumenty tekstowe (*.txt)|*.txt|Wszystkie pliki (*.*)|*.*");
    s.FilterIndex = 1;
    s.FileName = fileName;
    s.DefaultExt = QStringLiteral(".txt");
    s.InitialDir = initialDir;
    return s;
}

ExportWriter ExportWriterFor(int mode, int chartChoice) {
    switch (mode) {
    case 0: return ExportWriter::Positioning;
    case 1:
    case 7: return ExportWriter::Velocity;
    case 2: return ExportWriter::Straightness;
    case 3: return ExportWriter::Flatness;
    case 4: return ExportWriter::Angular;
    case 5:
        if (chartChoice == 0) return ExportWriter::FftTime;
        if (chartChoice == 1) return ExportWriter::FftSpectrum;
        return ExportWriter::None;
    default: return ExportWriter::None;
    }
}

bool WriteExport(ExportWriter writer, const ExportSources& s, const QString& fileName) {
    switch (writer) {
    case ExportWriter::Positioning:
        if (!s.positioning) return false;
        ExportPositioningText(*s.positioning, fileName);
        return true;
    case ExportWriter::Velocity:
        if (!s.velocity) return false;
        ExportVelocityText(*s.velocity, fileName);
        return true;
    case ExportWriter::Straightness:
        if (!s.straightness) return false;
        ExportStraightnessText(*s.straightness, fileName);
        return true;
    case ExportWriter::Flatness:
        if (!s.flatness) return false;
        ExportFlatnessText(*s.flatness, fileName);
        return true;
    case ExportWriter::Angular:
        if (!s.angular) return false;
        ExportAngularText(*s.angular, fileName);
        return true;
    case ExportWriter::FftTime: ExportFftTimeText(s.fftTime, fileName); return true;
    case ExportWriter::FftSpectrum: ExportFftSpectrumText(s.fftSpectrum, fileName); return true;
    case ExportWriter::None: break;
    }
    return false;
}

ChartExportValues ChartValues(const platform::TChart& chart) {
    ChartExportValues v;
    v.BottomAxisTitle = chart.BottomAxis().Title();
    v.LeftAxisTitle = chart.LeftAxis().Title();
    if (chart.SeriesCount() > 0) {
        const platform::TChartSeries* s = chart.Series(0);
        v.Points.reserve(size_t(s->Count()));
        for (int i = 0; i < s->Count(); ++i) v.Points.emplace_back(s->XValue(i), s->YValue(i));
    }
    return v;
}

QString TimeAxisTitle(int signal) {
    if (signal < 0 || signal >= int(FftSignalNames.size())) return QString();
    return FftSignalNames[size_t(signal)] + QStringLiteral(" ") + FftAxisUnits[size_t(signal)];
}

QString SpectrumAxisTitle(int signal, int output) {
    if (output < 0 || output >= FftOutputNames.size()) return QString();
    if (output == 1) return FftOutputNames[1] + QStringLiteral(" [deg]");
    if (signal < 0 || signal >= int(FftAxisUnits.size())) return QString();
    return FftOutputNames[output] + QStringLiteral(" ") + FftAxisUnits[size_t(signal)];
}

double LogAxisMinimum(double minimum) { return minimum < 0.0 ? 0.0 : minimum; }

int ReadoutDecimals(int position) { return 6 - std::clamp(position, 1, 5); }

}  // namespace vibrationrules
