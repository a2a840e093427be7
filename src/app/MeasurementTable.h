#pragma once
// The rules of the measured-cycles table page and of the default point lists, as plain code: the
// text of each cell of one cycle, the column widths, and the "defp" lists beside the program.
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "foundations/PomiarCol.h"

// One data row of the table: number, target, Xa, Xr, measured forward and backward position.
using MeasurementTableRow = std::array<QString, 6>;

// The data rows of one cycle (row i shows point i), numbers with the given decimal separator.
std::vector<MeasurementTableRow> MeasurementTableRows(const TPunkt& cycle, QChar separator);

// Column 0 is 80 pixels wide; the other five share the rest of the client width equally. A
// column that needs more than that (`needed`: its heading or its widest value would be cut)
// gets what it needs and the others share what is left; when even that does not fit, every
// column takes what it needs and the grid scrolls.
std::array<int, 6> MeasurementTableColumnWidths(int clientWidth, const std::array<int, 6>& needed = {});

// The width a column needs so that its heading (centred) and its widest value (ending a third
// of the cell before the right edge) are drawn whole with a small margin.
int MeasurementTableNeededWidth(int headingWidth, int widestValueWidth);

// Where a data row's text starts: it ends one third of the cell width before the right edge.
int MeasurementTableTextX(int left, int right, int textWidth);

// The headings: the translated point and distance captions, then the fixed unit columns.
QStringList MeasurementTableHeadings(const QString& pointCaption, const QString& distanceCaption);

// The default point lists next to the program: "defp.dtp" (positioning) and "defp.dtk" (angular).
QString DefaultPositioningListPath(const QString& programDir);
QString DefaultAngularListPath(const QString& programDir);

// What writing the default lists did: whether the positioning list was written (no targets: not
// written, and "Punkty z listy" goes off), and the messages of writes that failed.
struct DefaultListsSaved {
    bool positioningWritten = false;
    bool angularWritten = false;
    QStringList errors;
};
// Each list is written only when it holds a point, so an empty list never replaces the last
// good one.
DefaultListsSaved SaveDefaultPointLists(const TPunkt& positioning, const TPunkt& angular, const QString& programDir);

// Reads both lists where they exist and can be read whole; a missing or damaged file leaves its
// list as it was. True for each list that was read.
struct DefaultListsLoaded {
    bool positioning = false;
    bool angular = false;
    // There but not readable whole.
    bool positioningDamaged = false;
    bool angularDamaged = false;
};
DefaultListsLoaded LoadDefaultPointLists(TPunkt& positioning, TPunkt& angular, const QString& programDir);
