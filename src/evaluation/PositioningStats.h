#pragma once
// Positioning statistics: per-point means and standard deviations of a run's cycles, the
// run-level figures the standards list, the characteristic series of the positioning chart and
// the backlash caption. Plain computation; the main window passes its collections in and
// draws what comes back.
//
// Collections: cycles = PositioningCycles (one TCyklItem per cycle, Punkt in target order,
// Dystans mm, Xa forward µm, Xr backward µm); means = ForwardStats (Dystans target, Xa forward
// mean, Xr backward mean); sigmas = BackwardStats (Xa forward s, Xr backward s, Dystans pooled s).
#include <QChar>
#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

#include "foundations/NumberFormat.h"
#include "foundations/PomiarCol.h"

namespace evaluation {

// Number of points evaluated per cycle: the point count of cycle 0, or fewer when a later
// cycle is shorter (a run is normally trimmed to equal cycles before it gets here).
int EvaluatedPointCount(const TCykl& cycles);

// True when every Xr of cycle 0 is exactly 0.0 (also for a run without cycles).
bool IsUnidirectional(const TCykl& cycles);

// Clears `means` and fills one item per point: the last cycle's Dystans, the mean Xa and Xr.
void ComputePointMeans(const TCykl& cycles, TPunkt& means);
// Clears `sigmas`; fills it only when there is a cycle and cycle 0 holds more than three points.
// Sample deviations (divisor n - 1, pooled 2n - 1) from extended-precision one-pass sums; a
// negative difference from rounding counts as 0. A single cycle has no directional spread: s↑
// and s↓ are 0 there (the pooled deviation of its two readings is still defined).
void ComputePointSigmas(const TCykl& cycles, TPunkt& sigmas);

// Largest abs(Xa - Xr) of the points; 0.0 for no collection or an empty one.
double MaxAbsReversal(const TPunkt* points);

struct Reversal {
    double mean = 0.0;  // B̄, signed
    double max = 0.0;   // Bmax
};
Reversal ComputeReversal(const TPunkt& means);

struct Accuracy {
    double forward = 0.0;   // A↑
    double backward = 0.0;  // A↓
    double pooled = 0.0;    // A
    double total = 0.0;     // A↕
};
Accuracy ComputeAccuracy(const TPunkt& sigmas, const TPunkt& means);

struct Repeatability {
    double forward = 0.0;        // R↑ = 6 max s↑
    double backward = 0.0;       // R↓
    double pooled = 0.0;         // R
    double bidirectional = 0.0;  // R↕
};
Repeatability ComputeRepeatability(const TPunkt& sigmas, const TPunkt& means);

struct CycleSpan {
    double forward = 0.0;   // span↑
    double backward = 0.0;  // span↓
};
CycleSpan MaxCycleSpan(const TCykl& cycles);

double MaxSixSigma(const TPunkt& means, const TPunkt& sigmas);            // Rpmax
double SpreadBothDirections(const TPunkt& means, const TPunkt& sigmas);   // Mar
double MeanLineSpan(const TPunkt& means);                                 // Pa (and D of BS 4656)
double PositionUncertainty(const TPunkt& means, const TPunkt& sigmas);    // P
double MaxSpread(const TPunkt& sigmas);                                   // Ps
double MaxSpreadPlusReversal(const TPunkt& means, const TPunkt& sigmas);  // Ps+U
double HalfRangeAbsDeviation(const TCykl& cycles);                        // J

// Every run-level figure at once.
struct PositioningFigures {
    Accuracy accuracy;
    Repeatability repeatability;
    Reversal reversal;
    CycleSpan span;
    double Pa = 0.0, P = 0.0, Ps = 0.0, PsU = 0.0, Rpmax = 0.0, Mar = 0.0, J = 0.0;
};
PositioningFigures ComputePositioningFigures(const TCykl& cycles, const TPunkt& means, const TPunkt& sigmas);

// True when any series from index 4 on is active (series 0 to 3 do not count); false for a
// chart of fewer than five series. `seriesActive` lists the chart's series in chart order.
bool AnyCharacteristicActive(const std::vector<bool>& seriesActive);

// The warning asked when no characteristic is switched on; its Yes opens the choice of
// characteristics. Shown as it is, never translated.
QString AllCharacteristicsOffText();

// Points of one chart series, by the series' component name.
struct SeriesValues {
    QString name;
    std::vector<QPointF> points;
};

// Names of the positioning chart's series that the evaluation fills, in fill order.
const std::vector<QString>& PositioningSeriesNames();

// The series values of the positioning chart, one entry per name of PositioningSeriesNames()
// in that order (backward ones left empty for a unidirectional run). x is the point number from
// 0 when `byPointNumber`, else Dystans in mm (lengthUnit 0) or inches (lengthUnit 1); y in µm.
// Points with a non-finite coordinate are left out.
std::vector<SeriesValues> PositioningChartSeries(const TCykl& cycles, const TPunkt& means, const TPunkt& sigmas,
                                                 bool byPointNumber, int lengthUnit);

// Caption of LabelLuzZwrotny for the cycle numbered `currentCycle` (from 1): "Luz zwrotny: -
// 1.23µm" from that cycle's raw points; nullopt (hide the label) when there is no such cycle,
// it holds two points or fewer, or all its Xr are 0.0.
std::optional<QString> BacklashCaption(const TCykl& cycles, int currentCycle,
                                       QChar separator = foundations::systemDecimalSeparator());

}  // namespace evaluation
