// Evaluation of a positioning run of 250 points by 10 cycles: means, deviations, every
// run-level figure and the chart series.
#include <benchmark/benchmark.h>

#include <cmath>

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

void BM_EvaluatePositioning(benchmark::State& state) {
    const TCykl run = makeRun(250, 10);
    TPunkt means, sigmas;
    for (auto _ : state) {
        evaluation::ComputePointMeans(run, means);
        evaluation::ComputePointSigmas(run, sigmas);
        auto figures = evaluation::ComputePositioningFigures(run, means, sigmas);
        auto series = evaluation::PositioningChartSeries(run, means, sigmas, false, 0);
        benchmark::DoNotOptimize(figures);
        benchmark::DoNotOptimize(series);
    }
}
BENCHMARK(BM_EvaluatePositioning)->Unit(benchmark::kMicrosecond);

// The statistics and figures alone (what the results list needs).
void BM_PositioningFigures(benchmark::State& state) {
    const TCykl run = makeRun(250, 10);
    TPunkt means, sigmas;
    for (auto _ : state) {
        evaluation::ComputePointMeans(run, means);
        evaluation::ComputePointSigmas(run, sigmas);
        auto figures = evaluation::ComputePositioningFigures(run, means, sigmas);
        benchmark::DoNotOptimize(figures);
    }
}
BENCHMARK(BM_PositioningFigures)->Unit(benchmark::kMicrosecond);

}  // namespace
