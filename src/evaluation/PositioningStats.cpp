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
    forward_.assign(stride_ * static_cast<size_t>(cycleCount_), 0.0);
    backward_.assign(stride_ * static_cast<size_t>(cycleCount_), 0.0);
    lastDystans_.assign(static_cast<size_t>(points_), 0.0);
    int c = 0;
    for (const TCyklItem& cycle : cycles.Items()) {
        double* a = forward_.data() + static_cast<size_t>(c) * stride_;
        double* r = backward_.data() + static_cast<size_t>(c) * stride_;
        const bool last = c == cycleCount_ - 1;
        // Each cycle's extremes start at its own first point, so a cycle whose deviations are
        // all of one sign gets its true span.
        RunningMax maxA{0}, maxR{0};
        RunningMin minA{0}, minR{0};
        int k = 0;
        for (const TPunktItem& p : cycle.Punkt.Items()) {
            if (k < points_) {
                a[k] = p.Xa;
                r[k] = p.Xr;
                if (last) lastDystans_[static_cast<size_t>(k)] = p.Dystans;
            }
            if (k == 0) {
                maxA.v = minA.v = p.Xa;
                maxR.v = minR.v = p.Xr;
            } else {
                maxA.add(p.Xa);
                minA.add(p.Xa);
                maxR.add(p.Xr);
                minR.add(p.Xr);
            }
            if (c == 0 && p.Xr != 0.0) unidirectional_ = false;
            ++k;
        }
        if (k > 0) {
            if (maxA.v - minA.v > forwardSpan_) forwardSpan_ = maxA.v - minA.v;
            if (maxR.v - minR.v > backwardSpan_) backwardSpan_ = maxR.v - minR.v;
        }
        ++c;
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

namespace {

// Sums of Xa and Xr over the cycles, in cycle order from 0, for the points b .. b + kBlock - 1.
void blockSums(const PositioningReadings& readings, int b, double* up, double* down) {
    for (int j = 0; j < kBlock; ++j) up[j] = down[j] = 0.0;
    for (int c = 0; c < readings.CycleCount(); ++c) {
        const double* a = readings.Forward(c) + b;
        const double* r = readings.Backward(c) + b;
        for (int j = 0; j < kBlock; ++j) {
            up[j] += a[j];
            down[j] += r[j];
        }
    }
}

}  // namespace

void ComputePointMeans(const PositioningReadings& readings, TPunkt& means) {
    const int n = readings.CycleCount();
    const int points = readings.PointCount();
    means.Resize(points);
    auto items = means.Items();
    for (int b = 0; b < points; b += kBlock) {
        double up[kBlock], down[kBlock];
        blockSums(readings, b, up, down);
        const int end = std::min(kBlock, points - b);
        for (int j = 0; j < end; ++j) {
            TPunktItem& item = items[b + j];
            item.Dystans = readings.LastDystans()[b + j];
            item.Xa = up[j] / n;
            item.Xr = down[j] / n;
        }
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
    auto items = sigmas.Items();
    for (int b = 0; b < points; b += kBlock) {
        // The block's means first, then the sums of d = x - x̄ and of d² over the cycles.
        double mUp[kBlock], mDown[kBlock];
        blockSums(readings, b, mUp, mDown);
        for (int j = 0; j < kBlock; ++j) {
            mUp[j] /= dn;
            mDown[j] /= dn;
        }
        double s1u[kBlock] = {}, s2u[kBlock] = {}, s1d[kBlock] = {}, s2d[kBlock] = {};
        for (int c = 0; c < n; ++c) {
            const double* a = readings.Forward(c) + b;
            const double* r = readings.Backward(c) + b;
            for (int j = 0; j < kBlock; ++j) {
                const double da = a[j] - mUp[j];
                const double dr = r[j] - mDown[j];
                s1u[j] += da;
                s2u[j] += da * da;
                s1d[j] += dr;
                s2d[j] += dr * dr;
            }
        }
        const int end = std::min(kBlock, points - b);
        for (int j = 0; j < end; ++j) {
            // The pooled readings all less x̄↑: the backward ones move by δ = x̄↓ - x̄↑.
            const double delta = mDown[j] - mUp[j];
            const double S1 = s1u[j] + (s1d[j] + dn * delta);
            const double S2 = s2u[j] + (s2d[j] + (2 * delta * s1d[j] + dn * delta * delta));
            TPunktItem& item = items[b + j];
            item.Xa = sampleDeviation(s1u[j], s2u[j], dn);
            item.Xr = sampleDeviation(s1d[j], s2d[j], dn);
            item.Dystans = sampleDeviation(S1, S2, 2 * dn);
        }
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
    const int points = readings.PointCount();
    const int n = readings.CycleCount();
    for (int b = 0; b < points; b += kBlock) {
        // Over the cycles; the extremes start at the first cycle's reading (a start at 0 would
        // pin the smallest absolute deviation to 0).
        double maxA[kBlock], minA[kBlock], maxR[kBlock], minR[kBlock];
        const double* a0 = readings.Forward(0) + b;
        const double* r0 = readings.Backward(0) + b;
        for (int i = 0; i < kBlock; ++i) {
            maxA[i] = minA[i] = std::fabs(a0[i]);
            maxR[i] = minR[i] = std::fabs(r0[i]);
        }
        for (int c = 1; c < n; ++c) {
            const double* a = readings.Forward(c) + b;
            const double* r = readings.Backward(c) + b;
            for (int i = 0; i < kBlock; ++i) {
                const double x = std::fabs(a[i]), y = std::fabs(r[i]);
                if (x > maxA[i]) maxA[i] = x;
                if (x < minA[i]) minA[i] = x;
                if (y > maxR[i]) maxR[i] = y;
                if (y < minR[i]) minR[i] = y;
            }
        }
        const int end = std::min(kBlock, points - b);
        for (int i = 0; i < end; ++i) {
            j.add((maxA[i] + minA[i]) / 2.0);
            j.add((maxR[i] + minR[i]) / 2.0);
        }
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
