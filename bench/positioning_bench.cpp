// Evaluation of a positioning run by points x cycles: means, deviations and every run-level
// figure ("Stats"), and those with the chart's series ("StatsAndSeries"), against the same sums
// over flat arrays in the same run (the run copied once into them beforehand, series buffers
// reused).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "evaluation/PositioningStats.h"

namespace {

TCykl makeRun(int points, int cycles) {
    TCykl run;
    for (int c = 0; c < cycles; ++c) {
        TCyklItem& cyc = run.Add();
        for (int k = 0; k < points; ++k) {
            TPunktItem& p = cyc.Punkt.Add();
            p.Dystans = 4.0 * k;
            p.Xa = 3.0 * std::sin(0.05 * k) + 0.1 * ((c * 7 + k * 3) % 11);
            p.Xr = p.Xa - 1.5 - 0.1 * ((c * 5 + k) % 7);
        }
    }
    return run;
}

// As the main window evaluates: the run copied once, then everything from the copy.
void evaluate(const TCykl& run, TPunkt& means, TPunkt& sigmas, std::vector<evaluation::SeriesValues>* series) {
    const evaluation::PositioningReadings readings(run);
    evaluation::ComputePointMeans(readings, means);
    evaluation::ComputePointSigmas(readings, sigmas);
    auto figures = evaluation::ComputePositioningFigures(readings, means, sigmas);
    benchmark::DoNotOptimize(figures);
    if (series) evaluation::PositioningChartSeries(readings, means, sigmas, false, 0, *series);
}

void ours(benchmark::State& state, bool withSeries) {
    const TCykl run = makeRun(int(state.range(0)), int(state.range(1)));
    TPunkt means, sigmas;
    std::vector<evaluation::SeriesValues> series;
    for (auto _ : state) {
        evaluate(run, means, sigmas, withSeries ? &series : nullptr);
        benchmark::DoNotOptimize(series.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}

// The run as flat arrays, cycle by cycle: a[c * points + k].
struct Flat {
    int points = 0, cycles = 0;
    std::vector<double> dist, a, r;
    std::vector<double> up, down, sUp, sDown, s;
    std::vector<double> s1u, s2u, s1d, s2d, s1, s2;  // sums, made once
    std::vector<std::vector<QPointF>> series = std::vector<std::vector<QPointF>>(17);
};

void flatSums(Flat& f, bool withSeries) {
    const int P = f.points, C = f.cycles;
    for (auto* v : {&f.up, &f.down, &f.s1u, &f.s2u, &f.s1d, &f.s2d, &f.s1, &f.s2}) std::fill(v->begin(), v->end(), 0.0);
    double *s1u = f.s1u.data(), *s2u = f.s2u.data(), *s1d = f.s1d.data(), *s2d = f.s2d.data();
    double *s1 = f.s1.data(), *s2 = f.s2.data();
    double spanUp = 0, spanDown = 0;
    for (int c = 0; c < C; ++c) {
        const double* a = &f.a[size_t(c) * P];
        const double* r = &f.r[size_t(c) * P];
        const double* a0 = f.a.data();
        double hiA = a[0], loA = a[0], hiR = r[0], loR = r[0];
        for (int k = 0; k < P; ++k) {
            f.up[k] += a[k];
            f.down[k] += r[k];
            const double da = a[k] - a0[k], dr = r[k] - a0[k];
            s1u[k] += da;
            s2u[k] += da * da;
            s1d[k] += dr;
            s2d[k] += dr * dr;
            s1[k] += da + dr;
            s2[k] += da * da + dr * dr;
            hiA = std::max(hiA, a[k]);
            loA = std::min(loA, a[k]);
            hiR = std::max(hiR, r[k]);
            loR = std::min(loR, r[k]);
        }
        spanUp = std::max(spanUp, hiA - loA);
        spanDown = std::max(spanDown, hiR - loR);
    }
    auto dev = [](double q1, double q2, double n) { return std::sqrt(std::max(0.0, (q2 - q1 * q1 / n) / (n - 1))); };
    double hi = -1e300, lo = 1e300, rep = 0;
    for (int k = 0; k < P; ++k) {
        f.up[k] /= C;
        f.down[k] /= C;
        f.sUp[k] = dev(s1u[k], s2u[k], C);
        f.sDown[k] = dev(s1d[k], s2d[k], C);
        f.s[k] = dev(s1[k], s2[k], 2.0 * C);
        hi = std::max({hi, f.up[k] + 3 * f.sUp[k], f.down[k] + 3 * f.sDown[k]});
        lo = std::min({lo, f.up[k] - 3 * f.sUp[k], f.down[k] - 3 * f.sDown[k]});
        rep = std::max(rep, 3 * (f.sUp[k] + f.sDown[k]) + std::fabs(f.up[k] - f.down[k]));
    }
    benchmark::DoNotOptimize(hi);
    benchmark::DoNotOptimize(lo);
    benchmark::DoNotOptimize(rep);
    benchmark::DoNotOptimize(spanUp + spanDown);
    if (!withSeries) return;
    for (auto& s : f.series) s.clear();
    for (int k = 0; k < P; ++k) {
        const double x = f.dist[k], m = (f.up[k] + f.down[k]) / 2, b = f.up[k] - f.down[k];
        const double ps = 3 * (f.sUp[k] + f.sDown[k]);
        const double ys[15] = {f.up[k],   f.up[k] + 3 * f.sUp[k],     f.up[k] - 3 * f.sUp[k],     f.down[k],
                               f.down[k] + 3 * f.sDown[k], f.down[k] - 3 * f.sDown[k], m, m + 3 * f.s[k],
                               m - 3 * f.s[k], b, m, m + (b + ps) / 2, m - (b + ps) / 2, m + b, m - b};
        for (int i = 0; i < 15; ++i) f.series[i].emplace_back(x, ys[i]);
        for (int c = 0; c < C; ++c) {
            f.series[15].emplace_back(x, f.a[size_t(c) * P + k]);
            f.series[16].emplace_back(x, f.r[size_t(c) * P + k]);
        }
    }
}

void anchor(benchmark::State& state, bool withSeries) {
    const int P = int(state.range(0)), C = int(state.range(1));
    const TCykl run = makeRun(P, C);
    Flat f;
    f.points = P;
    f.cycles = C;
    for (int c = 0; c < C; ++c)
        for (int k = 0; k < P; ++k) {
            f.a.push_back(run[c].Punkt[k].Xa);
            f.r.push_back(run[c].Punkt[k].Xr);
        }
    for (int k = 0; k < P; ++k) f.dist.push_back(run[C - 1].Punkt[k].Dystans);
    for (auto* v : {&f.up, &f.down, &f.sUp, &f.sDown, &f.s, &f.s1u, &f.s2u, &f.s1d, &f.s2d, &f.s1, &f.s2}) v->resize(P);
    for (auto _ : state) {
        flatSums(f, withSeries);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * P * C);
}

void Stats(benchmark::State& state) { ours(state, false); }
void Stats_anchor(benchmark::State& state) { anchor(state, false); }
void StatsAndSeries(benchmark::State& state) { ours(state, true); }
void StatsAndSeries_anchor(benchmark::State& state) { anchor(state, true); }

#define SIZES                                                                                  \
    ->ArgNames({"points", "cycles"})                                                           \
        ->Args({25, 2})                                                                        \
        ->Args({250, 10})                                                                      \
        ->Args({2500, 10})                                                                     \
        ->Args({2500, 100})                                                                    \
        ->Args({25000, 10})                                                                    \
        ->Unit(benchmark::kMicrosecond)
BENCHMARK(Stats) SIZES;
BENCHMARK(Stats_anchor) SIZES;
BENCHMARK(StatsAndSeries) SIZES;
BENCHMARK(StatsAndSeries_anchor) SIZES;

}  // namespace
