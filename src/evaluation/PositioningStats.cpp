#include "evaluation/PositioningStats.h"

#include <algorithm>
#include <cmath>

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

PointStats pointAt(const TPunkt& means, const TPunkt* sigmas, int k) {
    PointStats p;
    const TPunktItem& m = means[k];
    p.up = m.Xa;
    p.down = m.Xr;
    if (sigmas && k < sigmas->Count()) {
        const TPunktItem& s = (*sigmas)[k];
        p.sUp = s.Xa;
        p.sDown = s.Xr;
        p.s = s.Dystans;
    }
    return p;
}

double sampleDeviation(long double s1, long double s2, long double n) {
    if (n < 2) return 0.0;
    const long double var = s2 / (n - 1) - s1 * s1 / (n * (n - 1));
    return var < 0 ? 0.0 : static_cast<double>(std::sqrt(var));
}

}  // namespace

int EvaluatedPointCount(const TCykl& cycles) {
    if (cycles.Count() == 0) return 0;
    int n = cycles[0].Punkt.Count();
    for (int c = 1; c < cycles.Count(); ++c) n = std::min(n, cycles[c].Punkt.Count());
    return n;
}

bool IsUnidirectional(const TCykl& cycles) {
    return cycles.Count() == 0 || cycles[0].Punkt.AllThirdValuesZero();
}

void ComputePointMeans(const TCykl& cycles, TPunkt& means) {
    means.Clear();
    const int n = cycles.Count();
    const int points = EvaluatedPointCount(cycles);
    for (int k = 0; k < points; ++k) {
        TPunktItem& item = means.Add();
        for (int c = 0; c < n; ++c) {
            const TPunktItem& p = cycles[c].Punkt[k];
            item.Dystans = p.Dystans;
            item.Xa += p.Xa;
            item.Xr += p.Xr;
        }
        item.Xa /= n;
        item.Xr /= n;
    }
}

void ComputePointSigmas(const TCykl& cycles, TPunkt& sigmas) {
    sigmas.Clear();
    if (cycles.Count() < 1 || cycles[0].Punkt.Count() <= 3) return;
    const int n = cycles.Count();
    const int points = EvaluatedPointCount(cycles);
    const long double ln = n;
    for (int k = 0; k < points; ++k) {
        long double s1u = 0, s2u = 0, s1d = 0, s2d = 0, s1 = 0, s2 = 0;
        for (int c = 0; c < n; ++c) {
            const long double a = cycles[c].Punkt[k].Xa;
            const long double r = cycles[c].Punkt[k].Xr;
            s1u += a;
            s2u += a * a;
            s1d += r;
            s2d += r * r;
            s1 += a + r;
            s2 += a * a + r * r;
        }
        TPunktItem& item = sigmas.Add();
        item.Xa = sampleDeviation(s1u, s2u, ln);
        item.Xr = sampleDeviation(s1d, s2d, ln);
        item.Dystans = sampleDeviation(s1, s2, 2 * ln);
    }
}

double MaxAbsReversal(const TPunkt* points) {
    if (!points || points->Count() == 0) return 0.0;
    RunningMax m{std::fabs((*points)[0].Xa - (*points)[0].Xr)};
    for (int k = 1; k < points->Count(); ++k) m.add(std::fabs((*points)[k].Xa - (*points)[k].Xr));
    return m.v;
}

Reversal ComputeReversal(const TPunkt& means) {
    Reversal r;
    const int n = means.Count();
    if (n == 0) return r;
    double sum = 0.0;
    for (int k = 0; k < n; ++k) sum += means[k].Xa - means[k].Xr;
    r.mean = sum / n;
    r.max = MaxAbsReversal(&means);
    return r;
}

Accuracy ComputeAccuracy(const TPunkt& sigmas, const TPunkt& means) {
    Accuracy a;
    const int n = means.Count();
    if (n == 0) return a;
    const PointStats p0 = pointAt(means, &sigmas, 0);
    RunningMax maxUp{p0.up + 3 * p0.sUp}, maxDown{p0.down + 3 * p0.sDown}, maxBoth{p0.mean() + 3 * p0.s};
    RunningMin minUp{p0.up - 3 * p0.sUp}, minDown{p0.down - 3 * p0.sDown}, minBoth{p0.mean() - 3 * p0.s};
    for (int k = 1; k < n; ++k) {
        const PointStats p = pointAt(means, &sigmas, k);
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

Repeatability ComputeRepeatability(const TPunkt& sigmas, const TPunkt& means) {
    Repeatability r;
    const int n = means.Count();
    if (n == 0) return r;
    const PointStats p0 = pointAt(means, &sigmas, 0);
    RunningMax up{p0.sUp}, down{p0.sDown}, pooled{p0.s};
    RunningMax both{3 * p0.sUp + 3 * p0.sDown + std::fabs(p0.reversal())};
    for (int k = 1; k < n; ++k) {
        const PointStats p = pointAt(means, &sigmas, k);
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

CycleSpan MaxCycleSpan(const TCykl& cycles) {
    CycleSpan s;
    for (int c = 0; c < cycles.Count(); ++c) {
        const TPunkt& pts = cycles[c].Punkt;
        if (pts.Count() == 0) continue;
        // Each cycle's extremes start at its own first point, so a cycle whose deviations are
        // all of one sign gets its true span.
        RunningMax maxA{pts[0].Xa}, maxR{pts[0].Xr};
        RunningMin minA{pts[0].Xa}, minR{pts[0].Xr};
        for (int k = 1; k < pts.Count(); ++k) {
            maxA.add(pts[k].Xa);
            minA.add(pts[k].Xa);
            maxR.add(pts[k].Xr);
            minR.add(pts[k].Xr);
        }
        if (maxA.v - minA.v > s.forward) s.forward = maxA.v - minA.v;
        if (maxR.v - minR.v > s.backward) s.backward = maxR.v - minR.v;
    }
    return s;
}

double MaxSixSigma(const TPunkt& means, const TPunkt& sigmas) {
    RunningMax m{0.0};
    for (int k = 0; k < means.Count(); ++k) {
        const PointStats p = pointAt(means, &sigmas, k);
        m.add(6 * p.sUp);
        m.add(6 * p.sDown);
    }
    return m.v;
}

double SpreadBothDirections(const TPunkt& means, const TPunkt& sigmas) {
    return ComputeAccuracy(sigmas, means).total;
}

double MeanLineSpan(const TPunkt& means) {
    if (means.Count() == 0) return 0.0;
    const double m0 = pointAt(means, nullptr, 0).mean();
    RunningMax hi{m0};
    RunningMin lo{m0};
    for (int k = 1; k < means.Count(); ++k) {
        const double m = pointAt(means, nullptr, k).mean();
        hi.add(m);
        lo.add(m);
    }
    return hi.v - lo.v;
}

double PositionUncertainty(const TPunkt& means, const TPunkt& sigmas) {
    if (means.Count() == 0) return 0.0;
    const PointStats p0 = pointAt(means, &sigmas, 0);
    RunningMax hi{p0.up + 1.5 * (p0.sUp + p0.sDown)};
    RunningMin lo{p0.down - 1.5 * (p0.sUp + p0.sDown)};
    for (int k = 1; k < means.Count(); ++k) {
        const PointStats p = pointAt(means, &sigmas, k);
        hi.add(p.up + 1.5 * (p.sUp + p.sDown));
        lo.add(p.down - 1.5 * (p.sUp + p.sDown));
    }
    return hi.v - lo.v;
}

double MaxSpread(const TPunkt& sigmas) {
    if (sigmas.Count() == 0) return 0.0;
    RunningMax m{sigmas[0].Xa + sigmas[0].Xr};
    for (int k = 1; k < sigmas.Count(); ++k) m.add(sigmas[k].Xa + sigmas[k].Xr);
    return 3 * m.v;
}

double MaxSpreadPlusReversal(const TPunkt& means, const TPunkt& sigmas) {
    if (means.Count() == 0) return 0.0;
    auto value = [&](int k) {
        const PointStats p = pointAt(means, &sigmas, k);
        return 3 * (p.sUp + p.sDown) + std::fabs(p.reversal());
    };
    RunningMax m{value(0)};
    for (int k = 1; k < means.Count(); ++k) m.add(value(k));
    return m.v;
}

double HalfRangeAbsDeviation(const TCykl& cycles) {
    RunningMax j{0.0};
    const int points = EvaluatedPointCount(cycles);
    for (int k = 0; k < points; ++k) {
        // Over the cycles; the extremes start at the first cycle's reading (a start at 0 would
        // pin the smallest absolute deviation to 0).
        const TPunktItem& first = cycles[0].Punkt[k];
        RunningMax maxA{std::fabs(first.Xa)}, maxR{std::fabs(first.Xr)};
        RunningMin minA{std::fabs(first.Xa)}, minR{std::fabs(first.Xr)};
        for (int c = 1; c < cycles.Count(); ++c) {
            const TPunktItem& p = cycles[c].Punkt[k];
            maxA.add(std::fabs(p.Xa));
            minA.add(std::fabs(p.Xa));
            maxR.add(std::fabs(p.Xr));
            minR.add(std::fabs(p.Xr));
        }
        j.add((maxA.v + minA.v) / 2.0);
        j.add((maxR.v + minR.v) / 2.0);
    }
    return j.v;
}

PositioningFigures ComputePositioningFigures(const TCykl& cycles, const TPunkt& means, const TPunkt& sigmas) {
    PositioningFigures f;
    f.accuracy = ComputeAccuracy(sigmas, means);
    f.repeatability = ComputeRepeatability(sigmas, means);
    f.reversal = ComputeReversal(means);
    f.span = MaxCycleSpan(cycles);
    f.Pa = MeanLineSpan(means);
    f.P = PositionUncertainty(means, sigmas);
    f.Ps = MaxSpread(sigmas);
    f.PsU = MaxSpreadPlusReversal(means, sigmas);
    f.Rpmax = MaxSixSigma(means, sigmas);
    f.Mar = f.accuracy.total;
    f.J = HalfRangeAbsDeviation(cycles);
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
    const auto& names = PositioningSeriesNames();
    std::vector<SeriesValues> out(names.size());
    const size_t n = static_cast<size_t>(means.Count());
    for (size_t i = 0; i < names.size(); ++i) {
        out[i].name = names[i];
        out[i].points.reserve(i < 15 ? n : n * static_cast<size_t>(cycles.Count()));
    }
    auto add = [&](size_t series, double x, double y) {
        if (std::isfinite(x) && std::isfinite(y)) out[series].points.emplace_back(x, y);
    };
    const bool unidirectional = IsUnidirectional(cycles);
    for (int k = 0; k < means.Count(); ++k) {
        double x = k;
        if (!byPointNumber) x = lengthUnit == 1 ? means[k].Dystans * 0.03937007874015748 : means[k].Dystans;
        const PointStats p = pointAt(means, &sigmas, k);
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
        for (int c = 0; c < cycles.Count(); ++c) {
            if (k >= cycles[c].Punkt.Count()) continue;
            const TPunktItem& r = cycles[c].Punkt[k];
            add(15, x, r.Xa);
            if (!unidirectional) add(16, x, r.Xr);
        }
    }
    return out;
}

std::optional<QString> BacklashCaption(const TCykl& cycles, int currentCycle, QChar separator) {
    if (currentCycle < 1 || currentCycle > cycles.Count()) return std::nullopt;
    const TPunkt& pts = cycles[currentCycle - 1].Punkt;
    if (pts.Count() <= 2 || pts.AllThirdValuesZero()) return std::nullopt;
    return Msg("stLuz") + " - " + foundations::formatFixed(MaxAbsReversal(&pts), 6, 2, separator) +
           QString::fromUtf8("µm");
}

}  // namespace evaluation
