#pragma once
// Text exports of the measurements, for reading into a spreadsheet: a translated title line, a
// column heading line and one line per value. Code page 1250, lines ended by CR LF, numbers in
// fixed-width fields with "." as separator. An existing file is replaced, but only once the new
// one is written whole.
//
// Every writer throws MeasurementFileError when the file cannot be written; the previous file
// then stays as it was. A non-finite value is refused the same way (naming its line), so no
// "NAN" ever lands in a file.
#include <QPointF>
#include <QString>
#include <vector>

#include "evaluation/MeasurementFiles.h"
#include "foundations/PomiarCol.h"

// Positioning cycles: cycle (from 1), point (from 0), Dystans, Xa, Xr.
void ExportPositioningText(const TCykl& Cycles, const QString& FileName);
// Velocity samples, 0.04 s apart: time and value.
void ExportVelocityText(const TVelValue& Values, const QString& FileName);
// Recorded samples, 0.04 s apart, without title or heading (no samples: an empty file).
void ExportRecordingText(const TVelValue& Values, const QString& FileName);
// Angular division points: angle, Xa, Xr.
void ExportAngularText(const TPunkt& Points, const QString& FileName);
// Straightness points: Dystans and the first measured value.
void ExportStraightnessText(const TPunkt& Points, const QString& FileName);
// Flatness map lines: line (from 1), Dystans, Xa.
void ExportFlatnessText(const TCykl& Lines, const QString& FileName);

// What a chart of the vibration page shows: its axis titles and the points of its first series.
struct ChartExportValues {
    QString BottomAxisTitle;
    QString LeftAxisTitle;
    std::vector<QPointF> Points;
};
// The time chart: x:10:3 and y:10:4 side by side.
void ExportFftTimeText(const ChartExportValues& Chart, const QString& FileName);
// The spectrum chart: x:10:3 followed by y in the 23-character scientific form.
void ExportFftSpectrumText(const ChartExportValues& Chart, const QString& FileName);
