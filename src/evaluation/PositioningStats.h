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
#include <memory>
#include <optional>
#include <vector>

#include "foundations/NumberFormat.h"
#include "foundations/PomiarCol.h"

namespace evaluation {

// A run's readings copied once into flat arrays, cycle after cycle, so that an evaluation walks
// memory in order instead of two checked look-ups and two pointer hops per reading. Made from
// the run at the start of an evaluation, with the per-point sums and extremes every evaluation
// needs taken from the flat copy at once; it keeps a reference to the run and is not updated
// when the run changes. The functions below that take a TCykl make one of these themselves.
class PositioningReadings {
public:
    explicit PositioningReadings(const TCykl& cycles);

    const TCykl& Cycles() const { return *cycles_; }
    int CycleCount() const { return cycleCount_; }
    int PointCount() const { return points_; }         // EvaluatedPointCount
    bool Unidirectional() const { return unidirectional_; }
    // Xa and Xr of cycle c at the evaluated points; the row runs on to Stride() with zeros.
    const double* Forward(int c) const { return forward_.get() + size_t(c) * stride_; }
    const double* Backward(int c) const { return backward_.get() + size_t(c) * stride_; }
    size_t Stride() const { return stride_; }
    // Dystans of the last cycle at the evaluated points.
    const double* LastDystans() const { return lastDystans_.data(); }
    // Largest span of Xa and of Xr within one cycle, over all points of each cycle.
    double ForwardSpan() const { return forwardSpan_; }
    double BackwardSpan() const { return backwardSpan_; }
    // Per evaluated point: the sums of Xa and of Xr over the cycles, added in cycle order from
    // 0.0; and the largest and smallest abs(Xa) and abs(Xr) over the cycles, each starting at
    // cycle 0's reading and replaced only by a strictly larger (smaller) one. Rows run on to
    // Stride() like the readings.
    const double* ForwardSums() const { return sums_.data(); }
    const double* BackwardSums() const { return sums_.data() + stride_; }
    const double* ForwardAbsMax() const { return extremes_.data(); }
    const double* ForwardAbsMin() const { return extremes_.data() + stride_; }
    const double* BackwardAbsMax() const { return extremes_.data() + 2 * stride_; }
    const double* BackwardAbsMin() const { return extremes_.data() + 3 * stride_; }
    // Per evaluated point: the sums over the cycles of d = x - x̄ and of d², x̄ being the sum
    // above divided by the cycle count, for Xa and for Xr.
    const double* ForwardDeviationSums() const { return deviationSums_.data(); }
    const double* ForwardSquareSums() const { return deviationSums_.data() + stride_; }
    const double* BackwardDeviationSums() const { return deviationSums_.data() + 2 * stride_; }
    const double* BackwardSquareSums() const { return deviationSums_.data() + 3 * stride_; }

private:
    const TCykl* cycles_;
    int cycleCount_ = 0;
    int points_ = 0;
    size_t stride_ = 0;
    bool unidirectional_ = true;
    double forwardSpan_ = 0.0, backwardSpan_ = 0.0;
    std::unique_ptr<double[]> forward_, backward_;  // written whole by the constructor
    std::vector<double> lastDystans_;
    std::vector<double> sums_, extremes_, deviationSums_;
};

// Number of points evaluated per cycle: the point count of cycle 0, or fewer when a later
// cycle is shorter (a run is normally trimmed to equal cycles before it gets here).
int EvaluatedPointCount(const TCykl& cycles);

// True when every Xr of cycle 0 is exactly 0.0 (also for a run without cycles).
bool IsUnidirectional(const TCykl& cycles);

// Leaves `means` with one item per point: the last cycle's Dystans, the mean Xa and Xr (the
// cycle-order sum divided by the cycle count).
void ComputePointMeans(const TCykl& cycles, TPunkt& means);
void ComputePointMeans(const PositioningReadings& readings, TPunkt& means);
// Leaves `sigmas` empty unless there is a cycle and cycle 0 holds more than three points, then
// with one item per point. Sample deviations (divisor n - 1, pooled 2n - 1) from the sums of
// the readings less their mean (so nothing cancels however far the readings lie from zero); a
// negative difference from rounding counts as 0. A single cycle has no directional spread: s↑
// and s↓ are 0 there (the pooled deviation of its two readings is still defined).
void ComputePointSigmas(const TCykl& cycles, TPunkt& sigmas);
void ComputePointSigmas(const PositioningReadings& readings, TPunkt& sigmas);

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
CycleSpan MaxCycleSpan(const PositioningReadings& readings);

double MaxSixSigma(const TPunkt& means, const TPunkt& sigmas);            // Rpmax
double SpreadBothDirections(const TPunkt& means, const TPunkt& sigmas);   // Mar
double MeanLineSpan(const TPunkt& means);                                 // Pa (and D of BS 4656)
double PositionUncertainty(const TPunkt& means, const TPunkt& sigmas);    // P
double MaxSpread(const TPunkt& sigmas);                                   // Ps
double MaxSpreadPlusReversal(const TPunkt& means, const TPunkt& sigmas);  // Ps+U
double HalfRangeAbsDeviation(const TCykl& cycles);                        // J
double HalfRangeAbsDeviation(const PositioningReadings& readings);

// Every run-level figure at once.
struct PositioningFigures {
    Accuracy accuracy;
    Repeatability repeatability;
    Reversal reversal;
    CycleSpan span;
    double Pa = 0.0, P = 0.0, Ps = 0.0, PsU = 0.0, Rpmax = 0.0, Mar = 0.0, J = 0.0;
};
PositioningFigures ComputePositioningFigures(const TCykl& cycles, const TPunkt& means, const TPunkt& sigmas);
PositioningFigures ComputePositioningFigures(const PositioningReadings& readings, const TPunkt& means,
                                             const TPunkt& sigmas);

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
// The same into `out`, whose point buffers are kept and refilled (no fresh vectors per evaluation).
void PositioningChartSeries(const PositioningReadings& readings, const TPunkt& means, const TPunkt& sigmas,
                            bool byPointNumber, int lengthUnit, std::vector<SeriesValues>& out);

// Caption of LabelLuzZwrotny for the cycle numbered `currentCycle` (from 1): "Luz zwrotny:
// 1.23 µm" from that cycle's raw points; nullopt (hide the label) when there is no such cycle,
// it holds two points or fewer, or all its Xr are 0.0.
std::optional<QString> BacklashCaption(const TCykl& cycles, int currentCycle,
                                       QChar separator = foundations::systemDecimalSeparator());

}  // namespace evaluation
