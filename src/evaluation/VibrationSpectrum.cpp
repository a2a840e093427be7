#include "evaluation/VibrationSpectrum.h"

#include <QtEndian>
#include <cmath>
#include <numbers>

#include "platform/ChartSeries.h"

namespace evaluation {

TFftFrame FftFrameFromBytes(const QByteArray& bytes) {
    TFftFrame frame{};
    const int whole = std::min<qsizetype>(bytes.size() / 4, kVibrationSamples);
    const char* p = bytes.constData();
    for (int i = 0; i < whole; ++i) frame[i] = qFromLittleEndian<int32_t>(p + 4 * i);
    return frame;
}

double FftCountFactor(double laserWavelength) { return laserWavelength * 0.25 * 1000000.0; }

std::vector<double> TimeSignal(const TFftFrame& samples, int signal, double laserWavelength,
                               bool resolution10) {
    if (signal < fsDistance || signal > fsAcceleration) return {};
    const double k = FftCountFactor(laserWavelength);
    std::vector<double> values(kVibrationSamples);
    double sum = 0.0;
    for (int i = 0; i < kVibrationSamples; ++i) {
        double value = 0.0;
        switch (signal) {
        case fsDistance:
            sum += samples[i];
            value = sum * k;
            break;
        case fsVelocity: value = samples[i] * k; break;
        case fsAcceleration:
            // The difference of two counts per millisecond, per second: exact in 64 bits, where
            // 32 bits would wrap for samples further apart than about two million counts.
            if (i > 0) value = double((int64_t(samples[i]) - samples[i - 1]) * 1000) * k;
            break;
        }
        if (resolution10) value *= kTenNanometreFactor;
        values[i] = value;
    }
    return values;
}

double SpectrumPhase(long double re, long double im) {
    constexpr long double pi = std::numbers::pi_v<long double>;
    if (re == 0) return double(im > 0 ? pi / 2 : -pi / 2);
    const long double a = std::atan(im / re);
    if (re < 0) return double(im > 0 ? a + pi : a - pi);
    return double(a);
}

namespace {

double Amplitude(const TComplex& z) { return std::sqrt(z.re * z.re + z.im * z.im); }

double PhaseDegrees(const TComplex& z) {
    return SpectrumPhase(z.re, z.im) * 180.0 * (1.0 / std::numbers::pi);
}

void FillFftInput(std::vector<TComplex>& dest, const std::vector<double>& values) {
    dest.assign(kVibrationSamples, TComplex{});
    for (size_t i = 0; i < values.size() && i < dest.size(); ++i) dest[i].re = values[i];
}

bool Finite(double x, double y) { return std::isfinite(x) && std::isfinite(y); }

// The buffers a caller may have resized: a transform needs the whole frame.
void EnsureFrameSize(std::vector<TComplex>& v) {
    if (v.size() != size_t(kVibrationSamples)) v.assign(kVibrationSamples, TComplex{});
}

}  // namespace

std::vector<QPointF> SpectrumValues(const VibrationBuffers& buffers, int output, int firstBin,
                                    bool background) {
    std::vector<QPointF> points;
    if (firstBin < 0 || firstBin > kVibrationLastBin) return points;
    if (output < foAmplitude || output > foImaginaryPart) return points;
    const auto& X = buffers.FftIm;
    const auto& B = buffers.FftBackIm;
    if (X.size() <= size_t(kVibrationLastBin)) return points;
    const bool withB = background && B.size() > size_t(kVibrationLastBin);
    points.reserve(kVibrationLastBin + 1 - firstBin);
    for (int k = firstBin; k <= kVibrationLastBin; ++k) {
        const double f = k * 1000.0 * (1.0 / 8192.0);
        const TComplex x = X[k];
        const TComplex b = withB ? B[k] : TComplex{};
        double value = 0.0;
        switch (output) {
        case foAmplitude: value = Amplitude(x) - Amplitude(b); break;
        case foPhase: value = PhaseDegrees(x) - (withB ? PhaseDegrees(b) : 0.0); break;
        case foRealPart: value = x.re - b.re; break;
        case foImaginaryPart: value = x.im - b.im; break;
        }
        if (Finite(f, value)) points.emplace_back(f, value);
    }
    return points;
}

void BuildFftInput(VibrationBuffers& buffers, const TFftFrame& samples,
                   const TFftFrame* backSamples, const VibrationSettings& settings,
                   platform::TChartSeries& SCzasowa) {
    SCzasowa.Clear();
    const std::vector<double> values =
        TimeSignal(samples, settings.signal, settings.laserWavelength, settings.resolution10);
    FillFftInput(buffers.FftRe, values);
    for (size_t i = 0; i < values.size(); ++i) {
        const double t = double(i) * kVibrationSampleInterval;
        if (Finite(t, values[i])) SCzasowa.AddXY(t, values[i]);
    }
    if (settings.background) {
        const TFftFrame none{};
        FillFftInput(buffers.FftBackRe,
                     TimeSignal(backSamples ? *backSamples : none, settings.signal,
                                settings.laserWavelength, settings.resolution10));
    }
}

void ComputeSpectrum(VibrationBuffers& buffers, const TFftFrame& samples,
                     const TFftFrame* backSamples, const VibrationSettings& settings,
                     platform::TChartSeries& SCzasowa, platform::TChartSeries& SFreq) {
    BuildFftInput(buffers, samples, backSamples, settings, SCzasowa);
    EnsureFrameSize(buffers.FftIm);
    FFT(kVibrationSamples, buffers.FftRe, buffers.FftIm);
    if (settings.background) {
        EnsureFrameSize(buffers.FftBackIm);
        FFT(kVibrationSamples, buffers.FftBackRe, buffers.FftBackIm);
    }
    // A spectrum of an earlier frame never stays beside a curve that could not be drawn.
    SFreq.Clear();
    PlotSpectrum(buffers, settings, settings.FirstBin(), SCzasowa, SFreq);
}

void PlotSpectrum(const VibrationBuffers& buffers, const VibrationSettings& settings,
                  int firstBin, const platform::TChartSeries& SCzasowa,
                  platform::TChartSeries& SFreq) {
    if (SCzasowa.Count() == 0) return;
    SFreq.Clear();
    for (const QPointF& p : SpectrumValues(buffers, settings.output, firstBin, settings.background))
        SFreq.AddXY(p.x(), p.y());
}

}  // namespace evaluation
