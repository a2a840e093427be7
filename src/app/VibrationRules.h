#pragma once
// The rules behind the main window's text export command and the vibration page's display
// switches, as plain code: the proposed export name and dialog, the writer a measurement mode
// takes, what a chart hands to the vibration writers, and the axis titles of the two charts.
#include <QString>

#include "evaluation/MeasurementFilesDocument.h"
#include "evaluation/TextExports.h"

namespace platform {
class TChart;
}

namespace vibrationrules {

// The name the export dialog proposes: the file named in the window caption (the caption is the
// mode caption, " - " and the file name) without its extension; empty when no file is named.
QString ExportFileName(const QString& windowCaption, const QString& modeCaption);

// The export dialog: the proposed name, the type's folder, text files first, ".txt" added.
FileDialogSettings ExportDialogSettings(const QString& fileName, const QString& initialDir);

enum class ExportWriter { None, Positioning, Velocity, Straightness, Flatness, Angular, FftTime, FftSpectrum };
// The writer of a measurement mode; in the vibration mode the chart choice picks the time signal
// (0) or the spectrum (1). Modes without a text export write nothing.
ExportWriter ExportWriterFor(int mode, int chartChoice);

// What the writers read.
struct ExportSources {
    const TCykl* positioning = nullptr;
    const TVelValue* velocity = nullptr;
    const TPunkt* straightness = nullptr;
    const TCykl* flatness = nullptr;
    const TPunkt* angular = nullptr;
    ChartExportValues fftTime;
    ChartExportValues fftSpectrum;
};
// Runs the writer; false when there is none (or its collection is missing). The writers'
// MeasurementFileError passes through, the previous file left as it was.
bool WriteExport(ExportWriter writer, const ExportSources& sources, const QString& fileName);

// The axis titles and the first series' points of a chart.
ChartExportValues ChartValues(const platform::TChart& chart);

// Left axis titles: the time chart by signal, the spectrum by output and signal ("Faza" in
// degrees whatever the signal). Indexes outside the tables give an empty title.
QString TimeAxisTitle(int signal);
QString SpectrumAxisTitle(int signal, int output);

// The frequency axis before it turns logarithmic: a minimum below 0 becomes 0.
double LogAxisMinimum(double minimum);

// Decimals of the positioning readouts for a position of their digit switch (1..5).
int ReadoutDecimals(int position);

}  // namespace vibrationrules
