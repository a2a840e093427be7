#pragma once
// How the two deviation tables beside the positioning and angular charts (GridOdchylka,
// GridOdchylkaPK) are drawn: their colours and column widths as plain rules, and the drawing
// installed on a table.
#include <QColor>
#include <array>
#include <cstdint>

class QLabel;
class QTableWidget;

// Column 0 black, column 1 blue, column 2 red (the deviations in their chart colours).
QColor DeviationCellColour(int column);
// Columns 0 and 1 a third of the client width each, column 2 the rest less three grid lines.
std::array<int, 3> DeviationColumnWidths(int clientWidth, int gridLineWidth);

// The table draws its own cells (GridOdchylkaDrawCell): headings bold on silver, values centred
// on white in the font of `fontSource`. Its column widths are recomputed at a drawing whenever
// its client width differs from `widthSeen`, which both tables share and the page entries reset.
void InstallDeviationGridDrawing(QTableWidget* grid, int32_t& widthSeen, const QLabel* fontSource);
