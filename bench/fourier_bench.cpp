// The vibration page's transform against FFTW 3 (complex, out of place, FFTW_MEASURE) on the
// same samples, by size; real samples as the vibration frame gives them and complex ones. Also
// the whole spectrum of a frame (time curve, transform and the 4097 plotted bins, no chart).
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cmath>
#include <complex>
#include <vector>

#include "evaluation/Fourier.h"
#include "evaluation/VibrationSpectrum.h"

namespace {

using evaluation::TComplex;

std::vector<TComplex> samples(int n, bool complexInput) {
    std::vector<TComplex> x(n);
    for (int i = 0; i < n; ++i) {
        x[i].re = std::sin(0.37 * i) + 0.25 * std::cos(2.1 * i);
        if (complexInput) x[i].im = 0.5 * std::cos(0.11 * i);
    }
    return x;
}

void ours(benchmark::State& state, bool complexInput) {
    const int n = int(state.range(0));
    const std::vector<TComplex> in = samples(n, complexInput);
    std::vector<TComplex> out(n);
    for (auto _ : state) {
        evaluation::FFT(uint16_t(n), in, out);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

// FFTW's backward direction is the positive kernel; it does not divide by N.
void fftw(benchmark::State& state, bool complexInput) {
    const int n = int(state.range(0));
    auto* in = fftw_alloc_complex(size_t(n));
    auto* out = fftw_alloc_complex(size_t(n));
    fftw_plan plan = fftw_plan_dft_1d(n, in, out, FFTW_BACKWARD, FFTW_MEASURE);
    const std::vector<TComplex> x = samples(n, complexInput);
    for (int i = 0; i < n; ++i) {
        in[i][0] = x[i].re;
        in[i][1] = x[i].im;
    }
    for (auto _ : state) {
        fftw_execute(plan);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n);
    fftw_destroy_plan(plan);
    fftw_free(in);
    fftw_free(out);
}

void FFT(benchmark::State& state) { ours(state, false); }
void FFT_anchor(benchmark::State& state) { fftw(state, false); }
void FFTComplex(benchmark::State& state) { ours(state, true); }
void FFTComplex_anchor(benchmark::State& state) { fftw(state, true); }

#define SIZES ->RangeMultiplier(8)->Range(64, 32768)->Arg(8192)->Unit(benchmark::kMicrosecond)
BENCHMARK(FFT) SIZES;
BENCHMARK(FFT_anchor) SIZES;
BENCHMARK(FFTComplex) SIZES;
BENCHMARK(FFTComplex_anchor) SIZES;

void VibrationSpectrumValues(benchmark::State& state) {
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
BENCHMARK(VibrationSpectrumValues)->Unit(benchmark::kMicrosecond);

}  // namespace
