#pragma once
// The flatness map: up to 8 (envelope layout) or 16 (grid layout) straightness lines fitted into
// one surface. Each line is tilted by a linear ramp so that its ends meet the lines it crosses;
// the flatness value is the spread of all heights, and the map is shifted so that its lowest
// point is 0. Lines hold Dystans in cm and Xa in µm (Xr unused).
//
// Envelope layout, in map coordinates (x along the bottom axis, z along the depth axis, W and H
// the lengths of lines 1 and 3):
//   1 (0,0)→(W,0) front edge     2 (0,0)→(W,H) first diagonal   3 (0,0)→(0,H) left edge
//   4 (0,H)→(W,0) second diagonal 5 (0,H)→(W,H) back edge       6 (W,0)→(W,H) right edge
//   7 (0,H/2)→(W,H/2) centre line along x   8 (W/2,0)→(W/2,H) centre line along z
// The diagonals are levelled to meet at the centre and carry the four edges; lines 1 and 5
// carry line 8, lines 3 and 6 carry line 7.
// Grid layout: lines 1..h run along x at z = k·HD div (h−1), lines h+1..h+v along z at
// x = m·W div (v−1); the outer V lines carry the H lines, then the outer H lines the V lines.
// The same layouts as the axis choice form's picture of the table (app/TableLines).
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "foundations/PomiarCol.h"

namespace platform {
class TChart;
class TPoint3DSeries;
}  // namespace platform

namespace evaluation {

constexpr int kFlatnessLineCount = 16;
constexpr int kEnvelopeLineCount = 8;
constexpr int kDefaultMapWidth = 200;  // cm, when the line that gives it is empty
constexpr int kDefaultMapDepth = 100;

struct FlatnessLayout {
    bool grid = false;  // FlatnessMethod != 0
    int hLines = 3;     // FlatnessHLines
    int vLines = 3;     // FlatnessVLines
};

// The grid counts the map uses: negative counts as 0, and the V lines are cut so that no line
// lies beyond the 16 lines of the map.
int GridHLines(const FlatnessLayout& layout);
int GridVLines(const FlatnessLayout& layout);

// One point of a line as the chart shows it: x and z whole centimetres, y the height in µm.
struct MapPoint {
    int x = 0;
    double y = 0.0;
    int z = 0;
    friend bool operator==(const MapPoint&, const MapPoint&) = default;
};

struct FlatnessMapResult {
    // The fitted lines (item k−1 for line k, always 16 items), lowest point at 0. Points with a
    // non-finite position or height are left out.
    TCykl lines;
    double value = 0.0;  // flatness in µm
    int width = kDefaultMapWidth;
    int depth = kDefaultMapDepth;  // also the depth axis' maximum (its minimum is 0)
    std::array<std::vector<MapPoint>, kFlatnessLineCount> series;  // item k−1 for line k
    // False when a position or height of the map came out non-finite: the lines and series are
    // then empty, the value 0, and `message` says why for the user.
    bool built = true;
    QString message;
};

// Rebuilds the map from the stored lines (which stay unchanged).
FlatnessMapResult BuildFlatnessMap(const TCykl& lines, const FlatnessLayout& layout);

// Middle height: point n div 2 for an odd count, else the mean of points n/2 − 1 and n/2; 0 for
// an empty line.
double LineMiddle(const TPunkt& line);
// Adds S + i·(E − S)/(n − 1) to point i. A single point gets S.
void AddLineRamp(TPunkt& line, double S, double E);
// Tilts the line so that its first point is at S and its last at E: AddLineRamp with S and E
// less the line's own end heights (0 for the end-point residuals a measured line holds, but an
// imported line need not start and end at 0). A single point is set to S.
void TiltLineTo(TPunkt& line, double S, double E);
// Subtracts (middle of B − middle of A) from every point of B.
void AlignLineMiddles(const TPunkt& A, TPunkt& B);
// TiltLineTo(C, middle of A, middle of B).
void RampBetweenMiddles(const TPunkt& A, const TPunkt& B, TPunkt& C);
// The height of the line at position x: the first point's below it, linear between the two
// points around it, the last point's beyond the last position; 0 for an empty line.
double LineValueAt(int x, const TPunkt& line);
// Spread (max − min) of all heights of all lines and of the reference height 0; every point then
// gets min subtracted. 0 when the lines hold no points.
double FlatnessValue(TCykl& lines);

// The flatness value as LabElewacja shows it: fixed, 15 digits, 2 decimals, the given separator.
QString FlatnessValueText(double value, QChar separator);

// Empties every line (the items stay).
void ClearFlatnessLines(TCykl& lines);
// Bit k−1 set for every line k (1..16) that holds at least one point.
uint16_t LineMask(const TCykl& lines);

// Empties the series; then series k−1 gets the points of line k (a missing series is skipped)
// and the depth axis of the chart runs from 0 to the map's depth.
void ClearFlatnessChart(const std::vector<platform::TPoint3DSeries*>& series);
void FillFlatnessChart(platform::TChart& chart, const std::vector<platform::TPoint3DSeries*>& series,
                       const FlatnessMapResult& map);

}  // namespace evaluation
