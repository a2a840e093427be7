#include "evaluation/PositioningStats.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "foundations/ProgramMessages.h"

namespace evaluation {

namespace {

// Running extreme: replaced only by a strictly larger (smaller) value, so ties keep the earlier.
struct RunningMax {
    double v;
    void add(double x) {
        if (x > v) v = x;
    }
};
struct RunningMin {
    double v;
    void add(double x) {
        if (x < v) v = x;
    }
};

// Per-point view of means and deviations; a point without a deviation item reads s = 0.
struct PointStats {
    double up = 0, down = 0, sUp = 0, sDown = 0, s = 0;
    double mean() const { return (up + down) / 2.0; }
    double reversal() const { return up - down; }
};

// Every point's view at once (one walk over the collections, no per-point look-ups).
std::vector<PointStats> statsOf(const TPunkt& means, const TPunkt* sigmas) {
    std::vector<PointStats> out(static_cast<size_t>(means.Count()));
    size_t k = 0;
    for (const TPunktItem& m : means.Items()) {
        out[k].up = m.Xa;
        out[k].down = m.Xr;
        ++k;
    }
    if (sigmas) {
        k = 0;
        for (const TPunktItem& s : sigmas->Items()) {
            if (k == out.size()) break;
            out[k].sUp = s.Xa;
            out[k].sDown = s.Xr;
            out[k].s = s.Dystans;
            ++k;
        }
    }
    return out;
}

using Stats = std::span<const PointStats>;

// Points per block of the sums: a block's accumulators stay in the first-level cache, its rows
// of readings are read once per pass, and its fixed length lets the compiler use vector
// instructions. The readings run on to a whole number of blocks with zeros.
constexpr int kBlock = 64;

// From the sums of n readings less a shift (any value: the deviation does not depend on it).
double sampleDeviation(double s1, double s2, double n) {
    if (n < 2) return 0.0;
    const double var = (s2 - s1 * s1 / n) / (n - 1);
    return var < 0 ? 0.0 : std::sqrt(var);
}

Accuracy accuracyOf(Stats st) {
    Accuracy a;
    if (st.empty()) return a;
    const PointStats& p0 = st[0];
    RunningMax maxUp{p0.up + 3 * p0.sUp}, maxDown{p0.down + 3 * p0.sDown}, maxBoth{p0.mean() + 3 * p0.s};
    RunningMin minUp{p0.up - 3 * p0.sUp}, minDown{p0.down - 3 * p0.sDown}, minBoth{p0.mean() - 3 * p0.s};
    for (size_t k = 1; k < st.size(); ++k) {
        const PointStats& p = st[k];
        maxUp.add(p.up + 3 * p.sUp);
        minUp.add(p.up - 3 * p.sUp);
        maxDown.add(p.down + 3 * p.sDown);
        minDown.add(p.down - 3 * p.sDown);
        maxBoth.add(p.mean() + 3 * p.s);
        minBoth.add(p.mean() - 3 * p.s);
    }
    a.forward = maxUp.v - minUp.v;
    a.backward = maxDown.v - minDown.v;
    a.pooled = maxBoth.v - minBoth.v;
    a.total = std::max(maxUp.v, maxDown.v) - std::min(minUp.v, minDown.v);
    return a;
}

Repeatability repeatabilityOf(Stats st) {
    Repeatability r;
    if (st.empty()) return r;
    const PointStats& p0 = st[0];
    RunningMax up{p0.sUp}, down{p0.sDown}, pooled{p0.s};
    RunningMax both{3 * p0.sUp + 3 * p0.sDown + std::fabs(p0.reversal())};
    for (size_t k = 1; k < st.size(); ++k) {
        const PointStats& p = st[k];
        up.add(p.sUp);
        down.add(p.sDown);
        pooled.add(p.s);
        both.add(3 * p.sUp + 3 * p.sDown + std::fabs(p.reversal()));
    }
    r.forward = 6 * up.v;
    r.backward = 6 * down.v;
    r.pooled = 6 * pooled.v;
    r.bidirectional = std::max({both.v, r.forward, r.backward});
    return r;
}

double maxSixSigmaOf(Stats st) {
    RunningMax m{0.0};
    for (const PointStats& p : st) {
        m.add(6 * p.sUp);
        m.add(6 * p.sDown);
    }
    return m.v;
}

double meanLineSpanOf(Stats st) {
    if (st.empty()) return 0.0;
    RunningMax hi{st[0].mean()};
    RunningMin lo{st[0].mean()};
    for (size_t k = 1; k < st.size(); ++k) {
        hi.add(st[k].mean());
        lo.add(st[k].mean());
    }
    return hi.v - lo.v;
}

double positionUncertaintyOf(Stats st) {
    if (st.empty()) return 0.0;
    const PointStats& p0 = st[0];
    RunningMax hi{p0.up + 1.5 * (p0.sUp + p0.sDown)};
    RunningMin lo{p0.down - 1.5 * (p0.sUp + p0.sDown)};
    for (size_t k = 1; k < st.size(); ++k) {
        const PointStats& p = st[k];
        hi.add(p.up + 1.5 * (p.sUp + p.sDown));
        lo.add(p.down - 1.5 * (p.sUp + p.sDown));
    }
    return hi.v - lo.v;
}

double maxSpreadPlusReversalOf(Stats st) {
    if (st.empty()) return 0.0;
    auto value = [](const PointStats& p) { return 3 * (p.sUp + p.sDown) + std::fabs(p.reversal()); };
    RunningMax m{value(st[0])};
    for (size_t k = 1; k < st.size(); ++k) m.add(value(st[k]));
    return m.v;
}

}  // namespace

PositioningReadings::PositioningReadings(const TCykl& cycles)
    : cycles_(&cycles), cycleCount_(cycles.Count()), points_(EvaluatedPointCount(cycles)) {
    stride_ = (static_cast<size_t>(points_) + kBlock - 1) / kBlock * kBlock;
    forward_ = std::make_unique_for_overwrite<double[]>(stride_ * static_cast<size_t>(cycleCount_));
    backward_ = std::make_unique_for_overwrite<double[]>(stride_ * static_cast<size_t>(cycleCount_));
    lastDystans_.assign(static_cast<size_t>(points_), 0.0);
    // The one walk over the points themselves: each cycle's evaluated readings into its rows,
    // and its span over all its points, the extremes starting at its own first point (so a cycle
    // whose deviations are all of one sign gets its true span).
    int c = 0;
    for (const TCyklItem& cycle : cycles.Items()) {
        double* a = forward_.get() + static_cast<size_t>(c) * stride_;
        double* r = backward_.get() + static_cast<size_t>(c) * stride_;
        ++c;
        const int count = cycle.Punkt.Count();
        std::fill(a + points_, a + stride_, 0.0);
        std::fill(r + points_, r + stride_, 0.0);
        if (count == 0) continue;
        const TPunktItem& first = cycle.Punkt[0];
        double maxA = first.Xa, minA = maxA, maxR = first.Xr, minR = maxR;
        int k = 0;
        for (const TPunktItem& p : cycle.Punkt.Items()) {
            const double x = p.Xa, y = p.Xr;
            if (k < points_) {
                a[k] = x;
                r[k] = y;
            }
            ++k;
            maxA = x > maxA ? x : maxA;
            minA = x < minA ? x : minA;
            maxR = y > maxR ? y : maxR;
            minR = y < minR ? y : minR;
        }
        if (maxA - minA > forwardSpan_) forwardSpan_ = maxA - minA;
        if (maxR - minR > backwardSpan_) backwardSpan_ = maxR - minR;
    }
    if (cycleCount_ == 0) return;
    for (const TPunktItem& p : cycles[0].Punkt.Items())
        if (p.Xr != 0.0) {
            unidirectional_ = false;
            break;
        }
    int k = 0;
    for (const TPunktItem& p : cycles[cycleCount_ - 1].Punkt.Items()) {
        if (k == points_) break;
        lastDystans_[static_cast<size_t>(k++)] = p.Dystans;
    }
    // The per-point sums and absolute extremes, block by block over the rows.
    sums_.assign(2 * stride_, 0.0);
    extremes_.assign(4 * stride_, 0.0);
    deviationSums_.assign(4 * stride_, 0.0);
    for (size_t b = 0; b < stride_; b += kBlock) {
        double up[kBlock], down[kBlock], maxA[kBlock], minA[kBlock], maxR[kBlock], minR[kBlock];
        const double* a0 = Forward(0) + b;
        const double* r0 = Backward(0) + b;
        for (int i = 0; i < kBlock; ++i) {
            up[i] = 0.0 + a0[i];
            down[i] = 0.0 + r0[i];
            maxA[i] = minA[i] = std::fabs(a0[i]);
            maxR[i] = minR[i] = std::fabs(r0[i]);
        }
        for (int cycle = 1; cycle < cycleCount_; ++cycle) {
            const double* a = Forward(cycle) + b;
            const double* r = Backward(cycle) + b;
            for (int i = 0; i < kBlock; ++i) {
                up[i] += a[i];
                down[i] += r[i];
                const double x = std::fabs(a[i]), y = std::fabs(r[i]);
                maxA[i] = x > maxA[i] ? x : maxA[i];
                minA[i] = x < minA[i] ? x : minA[i];
                maxR[i] = y > maxR[i] ? y : maxR[i];
                minR[i] = y < minR[i] ? y : minR[i];
            }
        }
        // The sums of d = x - x̄ and of d² over the cycles, while the block's rows are at hand.
        const double dn = cycleCount_;
        double mUp[kBlock], mDown[kBlock];
        for (int i = 0; i < kBlock; ++i) {
            mUp[i] = up[i] / dn;
            mDown[i] = down[i] / dn;
        }
        double s1u[kBlock] = {}, s2u[kBlock] = {}, s1d[kBlock] = {}, s2d[kBlock] = {};
        for (int cycle = 0; cycle < cycleCount_; ++cycle) {
            const double* a = Forward(cycle) + b;
            const double* r = Backward(cycle) + b;
            for (int i = 0; i < kBlock; ++i) {
                const double da = a[i] - mUp[i];
                const double dr = r[i] - mDown[i];
                s1u[i] += da;
                s2u[i] += da * da;
                s1d[i] += dr;
                s2d[i] += dr * dr;
            }
        }
        std::copy_n(s1u, kBlock, deviationSums_.data() + b);
        std::copy_n(s2u, kBlock, deviationSums_.data() + stride_ + b);
        std::copy_n(s1d, kBlock, deviationSums_.data() + 2 * stride_ + b);
        std::copy_n(s2d, kBlock, deviationSums_.data() + 3 * stride_ + b);
        std::copy_n(up, kBlock, sums_.data() + b);
        std::copy_n(down, kBlock, sums_.data() + stride_ + b);
        std::copy_n(maxA, kBlock, extremes_.data() + b);
        std::copy_n(minA, kBlock, extremes_.data() + stride_ + b);
        std::copy_n(maxR, kBlock, extremes_.data() + 2 * stride_ + b);
        std::copy_n(minR, kBlock, extremes_.data() + 3 * stride_ + b);
    }
}

int EvaluatedPointCount(const TCykl& cycles) {
    if (cycles.Count() == 0) return 0;
    int n = cycles[0].Punkt.Count();
    for (int c = 1; c < cycles.Count(); ++c) n = std::min(n, cycles[c].Punkt.Count());
    return n;
}

bool IsUnidirectional(const TCykl& cycles) {
    return cycles.Count() == 0 || cycles[0].Punkt.AllThirdValuesZero();
}

void ComputePointMeans(const TCykl& cycles, TPunkt& means) { ComputePointMeans(PositioningReadings(cycles), means); }

void ComputePointMeans(const PositioningReadings& readings, TPunkt& means) {
    const int n = readings.CycleCount();
    const int points = readings.PointCount();
    means.Resize(points);
    const double* up = readings.ForwardSums();
    const double* down = readings.BackwardSums();
    const double* dystans = readings.LastDystans();
    size_t k = 0;
    for (TPunktItem& item : means.Items()) {
        item.Dystans = dystans[k];
        item.Xa = up[k] / n;
        item.Xr = down[k] / n;
        ++k;
    }
}

void ComputePointSigmas(const TCykl& cycles, TPunkt& sigmas) { ComputePointSigmas(PositioningReadings(cycles), sigmas); }

void ComputePointSigmas(const PositioningReadings& readings, TPunkt& sigmas) {
    const TCykl& cycles = readings.Cycles();
    if (cycles.Count() < 1 || cycles[0].Punkt.Count() <= 3) {
        sigmas.Clear();
        return;
    }
    const int n = readings.CycleCount();
    const int points = readings.PointCount();
    const double dn = n;
    sigmas.Resize(points);
    const double* s1u = readings.ForwardDeviationSums();
    const double* s2u = readings.ForwardSquareSums();
    const double* s1d = readings.BackwardDeviationSums();
    const double* s2d = readings.BackwardSquareSums();
    size_t j = 0;
    for (TPunktItem& item : sigmas.Items()) {
        const double mUp = readings.ForwardSums()[j] / dn;
        const double mDown = readings.BackwardSums()[j] / dn;
        // The pooled readings all less x̄↑: the backward ones move by δ = x̄↓ - x̄↑.
        const double delta = mDown - mUp;
        const double S1 = s1u[j] + (s1d[j] + dn * delta);
        const double S2 = s2u[j] + (s2d[j] + (2 * delta * s1d[j] + dn * delta * delta));
        item.Xa = sampleDeviation(s1u[j], s2u[j], dn);
        item.Xr = sampleDeviation(s1d[j], s2d[j], dn);
        item.Dystans = sampleDeviation(S1, S2, 2 * dn);
        ++j;
    }
}

double MaxAbsReversal(const TPunkt* points) {
    if (!points || points->Count() == 0) return 0.0;
    RunningMax m{std::fabs((*points)[0].Xa - (*points)[0].Xr)};
    for (const TPunktItem& p : points->Items().From(1)) m.add(std::fabs(p.Xa - p.Xr));
    return m.v;
}

Reversal ComputeReversal(const TPunkt& means) {
    Reversal r;
    const int n = means.Count();
    if (n == 0) return r;
    double sum = 0.0;
    for (const TPunktItem& m : means.Items()) sum += m.Xa - m.Xr;
    r.mean = sum / n;
    r.max = MaxAbsReversal(&means);
    return r;
}

Accuracy ComputeAccuracy(const TPunkt& sigmas, const TPunkt& means) { return accuracyOf(statsOf(means, &sigmas)); }

Repeatability ComputeRepeatability(const TPunkt& sigmas, const TPunkt& means) {
    return repeatabilityOf(statsOf(means, &sigmas));
}

CycleSpan MaxCycleSpan(const TCykl& cycles) { return MaxCycleSpan(PositioningReadings(cycles)); }

CycleSpan MaxCycleSpan(const PositioningReadings& readings) {
    return {readings.ForwardSpan(), readings.BackwardSpan()};
}

double MaxSixSigma(const TPunkt& means, const TPunkt& sigmas) { return maxSixSigmaOf(statsOf(means, &sigmas)); }

double SpreadBothDirections(const TPunkt& means, const TPunkt& sigmas) {
    return ComputeAccuracy(sigmas, means).total;
}

double MeanLineSpan(const TPunkt& means) { return meanLineSpanOf(statsOf(means, nullptr)); }

double PositionUncertainty(const TPunkt& means, const TPunkt& sigmas) {
    return positionUncertaintyOf(statsOf(means, &sigmas));
}

double MaxSpread(const TPunkt& sigmas) {
    if (sigmas.Count() == 0) return 0.0;
    RunningMax m{sigmas[0].Xa + sigmas[0].Xr};
    for (const TPunktItem& s : sigmas.Items().From(1)) m.add(s.Xa + s.Xr);
    return 3 * m.v;
}

double MaxSpreadPlusReversal(const TPunkt& means, const TPunkt& sigmas) {
    return maxSpreadPlusReversalOf(statsOf(means, &sigmas));
}

double HalfRangeAbsDeviation(const TCykl& cycles) { return HalfRangeAbsDeviation(PositioningReadings(cycles)); }

double HalfRangeAbsDeviation(const PositioningReadings& readings) {
    RunningMax j{0.0};
    const double* maxA = readings.ForwardAbsMax();
    const double* minA = readings.ForwardAbsMin();
    const double* maxR = readings.BackwardAbsMax();
    const double* minR = readings.BackwardAbsMin();
    for (int k = 0; k < readings.PointCount(); ++k) {
        j.add((maxA[k] + minA[k]) / 2.0);
        j.add((maxR[k] + minR[k]) / 2.0);
    }
    return j.v;
}

PositioningFigures ComputePositioningFigures(const TCykl& cycles, const TPunkt& means, const TPunkt& sigmas) {
    return ComputePositioningFigures(PositioningReadings(cycles), means, sigmas);
}

PositioningFigures ComputePositioningFigures(const PositioningReadings& readings, const TPunkt& means,
                                             const TPunkt& sigmas) {
    const std::vector<PointStats> st = statsOf(means, &sigmas);
    PositioningFigures f;
    f.accuracy = accuracyOf(st);
    f.repeatability = repeatabilityOf(st);
    f.reversal = ComputeReversal(means);
    f.span = MaxCycleSpan(readings);
    f.Pa = meanLineSpanOf(st);
    f.P = positionUncertaintyOf(st);
    f.Ps = MaxSpread(sigmas);
    f.PsU = maxSpreadPlusReversalOf(st);
    f.Rpmax = maxSixSigmaOf(st);
    f.Mar = f.accuracy.total;
    f.J = HalfRangeAbsDeviation(readings);
    return f;
}

bool AnyCharacteristicActive(const std::vector<bool>& seriesActive) {
    if (seriesActive.size() < 5) return false;
    return std::any_of(seriesActive.begin() + 4, seriesActive.end(), [](bool b) { return b; });
}

QString AllCharacteristicsOffText() {
    return QString::fromUtf8("Wyłączone wszystkie charakterystyki !!!\nCzy chcesz jej włączyć?");
}

const std::vector<QString>& PositioningSeriesNames() {
    static const std::vector<QString> names{
        "SredniaWPrzod", "SredniaPp3Sigma", "SredniaPm3Sigma", "SredniaWTyl",   "SredniaTp3Sigma",
        "SredniaTm3Sigma", "SredniaDwukier", "SredniaDp3Sigma", "SredniaDm3Sigma", "LuzZwrotny",
        "SredniaVDI",    "SredniaVDIpA",   "SredniaVDImA",   "SredniaVDIpU",  "SredniaVDImU",
        "PomiaryWPrzod", "PomiaryWTyl"};
    return names;
}

std::vector<SeriesValues> PositioningChartSeries(const TCykl& cycles, const TPunkt& means, const TPunkt& sigmas,
                                                 bool byPointNumber, int lengthUnit) {
    std::vector<SeriesValues> out;
    PositioningChartSeries(PositioningReadings(cycles), means, sigmas, byPointNumber, lengthUnit, out);
    return out;
}

void PositioningChartSeries(const PositioningReadings& readings, const TPunkt& means, const TPunkt& sigmas,
                            bool byPointNumber, int lengthUnit, std::vector<SeriesValues>& out) {
    const auto& names = PositioningSeriesNames();
    const TCykl& cycles = readings.Cycles();
    out.resize(names.size());
    const size_t n = static_cast<size_t>(means.Count());
    for (size_t i = 0; i < names.size(); ++i) {
        out[i].name = names[i];
        out[i].points.clear();
        out[i].points.reserve(i < 15 ? n : n * static_cast<size_t>(cycles.Count()));
    }
    auto add = [&](size_t series, double x, double y) {
        if (std::isfinite(x) && std::isfinite(y)) out[series].points.emplace_back(x, y);
    };
    const bool unidirectional = readings.Unidirectional();
    const std::vector<PointStats> st = statsOf(means, &sigmas);
    int k = 0;
    for (const TPunktItem& mean : means.Items()) {
        double x = k;
        if (!byPointNumber) x = lengthUnit == 1 ? mean.Dystans * 0.03937007874015748 : mean.Dystans;
        const PointStats& p = st[static_cast<size_t>(k)];
        add(0, x, p.up);
        add(1, x, p.up + 3 * p.sUp);
        add(2, x, p.up - 3 * p.sUp);
        if (!unidirectional) {
            const double m = p.mean(), b = p.reversal(), ps = 3 * (p.sUp + p.sDown);
            add(3, x, p.down);
            add(4, x, p.down + 3 * p.sDown);
            add(5, x, p.down - 3 * p.sDown);
            add(6, x, m);
            add(7, x, m + 3 * p.s);
            add(8, x, m - 3 * p.s);
            add(9, x, b);
            add(10, x, m);
            add(11, x, m + (b + ps) / 2);
            add(12, x, m - (b + ps) / 2);
            add(13, x, m + b);
            add(14, x, m - b);
        }
        if (k < readings.PointCount()) {
            for (int c = 0; c < readings.CycleCount(); ++c) {
                add(15, x, readings.Forward(c)[k]);
                if (!unidirectional) add(16, x, readings.Backward(c)[k]);
            }
        } else {
            // Past the shortest cycle: the readings of the cycles that reach this far.
            for (const TCyklItem& cycle : cycles.Items()) {
                if (k >= cycle.Punkt.Count()) continue;
                const TPunktItem& r = cycle.Punkt[k];
                add(15, x, r.Xa);
                if (!unidirectional) add(16, x, r.Xr);
            }
        }
        ++k;
    }
}

std::optional<QString> BacklashCaption(const TCykl& cycles, int currentCycle, QChar separator) {
    if (currentCycle < 1 || currentCycle > cycles.Count()) return std::nullopt;
    const TPunkt& pts = cycles[currentCycle - 1].Punkt;
    if (pts.Count() <= 2 || pts.AllThirdValuesZero()) return std::nullopt;
    // A magnitude: no dash before it that would read as a minus sign, and a space before the unit.
    return Msg("stLuz") + " " + foundations::formatFixed(MaxAbsReversal(&pts), 6, 2, separator) +
           QString::fromUtf8(" µm");
}

}  // namespace evaluation
