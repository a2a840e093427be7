#pragma once
// Target-point lists of positioning and angular runs: the generators of the target points
// editor, editing by value, and the texts of its table.
#include <QString>

#include "foundations/PomiarCol.h"

constexpr int kMinTargetPoints = 5;
constexpr int kMaxTargetPoints = 254;
constexpr double kMmToInch = 0.03937007874015748;
constexpr double kInchToMm = 25.4;
// The editor's fields keep a position (the start point) within ±30000 and a distance or a
// spacing within 0..30000, in the units shown; a value typed into the table is held to the
// start point's range the same way.
constexpr double kTargetValueLimit = 30000.0;

enum class TargetField { None, Distance, Spacing, Count };

struct GenerateResult {
    bool Generated = false;
    bool TooMany = false;              // refused: more than kMaxTargetPoints points
    TargetField Focus = TargetField::None;   // the field to put right (with a beep)
    int PointCount = 0;                // spacing mode: for the count field
    double Step = 0.0;                 // count mode with a distance: for the spacing field
    double Distance = 0.0;             // count mode without a distance: for the distance field
};

// Spacing mode: S + k·O while k·O ≤ D (an end point hit exactly is kept despite rounding).
// D = 0, O = 0 or O ≥ D refuse and leave Points unchanged.
GenerateResult GenerateBySpacing(TPunkt& Points, double S, double D, double O);
// Count mode: with D ≠ 0 the spacing D / (N − 1) taken to 0.0001, points S + k·step while
// k·step ≤ D; with D = 0 and O ≠ 0 exactly N points k·O from 0; D = 0 and O = 0 refuse.
GenerateResult GenerateByCount(TPunkt& Points, double S, double D, double O, int N);

// Replaces the point in `row` (1-based; a row past the points adds one) by the typed value,
// brought into ±kTargetValueLimit as the start point field does, keeping the list sorted; a
// value within 1e-6 of another point is not inserted. False when the text is not a number or a
// new point would exceed kMaxTargetPoints (nothing changed).
bool EditTargetPoint(TPunkt& Points, int row, const QString& text);

// Every target value multiplied by factor.
void ScaleTargetPoints(TPunkt& Points, double factor);

// Table texts: the number padded to 3, the value with 4 decimals padded to 10.
QString TargetNumberText(int index);
QString TargetValueText(double value);
