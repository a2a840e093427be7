// The vibration frame's transform: 8192 complex points, and the whole spectrum of a frame
// (time curve, transform and the 4097 plotted bins, without a chart).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "evaluation/Fourier.h"
#include "evaluation/VibrationSpectrum.h"

namespace {

void BM_FFT8192(benchmark::State& state) {
    std::vector<evaluation::TComplex> in(8192), out(8192);
    for (int i = 0; i < 8192; ++i) in[i].re = std::sin(0.37 * i) + 0.25 * std::cos(2.1 * i);
    for (auto _ : state) {
        evaluation::FFT(8192, in, out);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 8192);
}
BENCHMARK(BM_FFT8192)->Unit(benchmark::kMicrosecond);

void BM_VibrationSpectrumValues(benchmark::State& state) {
    evaluation::TFftFrame frame{};
    for (int i = 0; i < evaluation::kVibrationSamples; ++i) frame[i] = int32_t(800 * std::sin(0.05 * i));
    evaluation::VibrationBuffers buffers;
    for (auto _ : state) {
        const auto values = evaluation::TimeSignal(frame, evaluation::fsDistance, 6.329912526e-7, false);
        for (int i = 0; i < evaluation::kVibrationSamples; ++i) buffers.FftRe[i] = {values[i], 0.0};
        evaluation::FFT(8192, buffers.FftRe, buffers.FftIm);
        auto points = evaluation::SpectrumValues(buffers, evaluation::foAmplitude, 1, false);
        benchmark::DoNotOptimize(points.data());
    }
}
BENCHMARK(BM_VibrationSpectrumValues)->Unit(benchmark::kMicrosecond);

}  // namespace
