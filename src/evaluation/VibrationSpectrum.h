#pragma once
// Vibration spectrum: a frame of 8192 readings taken at 1 ms intervals becomes a time curve of
// distance, velocity or acceleration, its radix-2 transform (no window function), and the
// amplitude, phase, real or imaginary part of bins 0..4096 (0..500 Hz) against frequency. An
// optional background frame is transformed the same way and subtracted bin by bin.
//
// The values are computed first (TimeSignal, SpectrumValues) so that they can be checked
// without a chart; BuildFftInput, ComputeSpectrum and PlotSpectrum then fill the page's time
// series SCzasowa and spectrum series SFreq. Nothing is cached: a new frame or a new choice
// computes again.
#include <QByteArray>
#include <QPointF>
#include <array>
#include <cstdint>
#include <vector>

#include "evaluation/Fourier.h"
#include "foundations/SharedGlobals.h"

namespace platform {
class TChartSeries;
}

namespace evaluation {

constexpr int kVibrationSamples = 8192;                           // one frame
constexpr double kVibrationSampleInterval = 0.001;                // s
constexpr double kVibrationBinSpacing = 1000.0 * (1.0 / 8192.0);  // 0.1220703125 Hz
constexpr int kVibrationLastBin = 4096;                           // 500 Hz
constexpr double kTenNanometreFactor = 0.125;                     // the head counts in eighths

// RGFFTCzas
enum TFftSignal : int { fsDistance = 0, fsVelocity = 1, fsAcceleration = 2 };
// RGFFTOut
enum TFftOutput : int { foAmplitude = 0, foPhase = 1, foRealPart = 2, foImaginaryPart = 3 };

// Each sample is the displacement counted during one 1 ms interval, in quarter wavelengths.
using TFftFrame = std::array<int32_t, kVibrationSamples>;
// The samples of a frame as a ".dt7" body holds them (signed 32-bit, little-endian); a shorter
// buffer leaves the missing samples 0, bytes beyond the frame are ignored.
TFftFrame FftFrameFromBytes(const QByteArray& bytes);

// What the vibration page's controls and the main window's settings choose.
struct VibrationSettings {
    int signal = fsDistance;     // RGFFTCzas
    int output = foAmplitude;    // RGFFTOut
    bool background = false;     // cbBackGroundFFT checked: subtract the background
    bool showDc = false;         // CBSkladStala checked: plot from bin 0
    bool resolution10 = false;   // BRozdziel visible and TMainForm.Resolution10 set
    double laserWavelength = kDefaultLaserWavelength;  // metres
    int FirstBin() const { return showDc ? 0 : 1; }
};

// Micrometres per count: λ × 0.25 × 1 000 000.
double FftCountFactor(double laserWavelength);

// The time curve of a frame, value i at i × 0.001 s:
//   distance      the running sum of the samples × k, µm;
//   velocity      sample × k, µm per ms = mm/s;
//   acceleration  0 for the first sample, else (s[i] − s[i−1]) × 1000 × k, mm/s²;
// × 0.125 with 10 nm resolution. An unknown signal gives no curve.
std::vector<double> TimeSignal(const TFftFrame& samples, int signal, double laserWavelength,
                               bool resolution10);

// Phase of a bin in radians, −π..π: re = 0 gives +π/2 for im > 0, else −π/2 (im = 0 included);
// re < 0 with im = 0 gives −π.
double SpectrumPhase(long double re, long double im);

// The transform arrays of the vibration page: FftRe and FftIm for the frame, FftBackRe and
// FftBackIm for the background, 8192 records each, zero until first computed.
struct VibrationBuffers {
    std::vector<TComplex> FftRe = std::vector<TComplex>(kVibrationSamples);
    std::vector<TComplex> FftIm = std::vector<TComplex>(kVibrationSamples);
    std::vector<TComplex> FftBackRe = std::vector<TComplex>(kVibrationSamples);
    std::vector<TComplex> FftBackIm = std::vector<TComplex>(kVibrationSamples);
};

// The spectrum points (f = k × 1000 / 8192 Hz, value) for k = firstBin..4096 from the transform
// outputs: "Amplituda" |X| − |B|; "Faza" the phase of X minus that of B in degrees; "Część
// rzecz." X.re − B.re; "Część urojona" X.im − B.im; B is the background bin when `background`,
// else 0 (with phase 0). Empty for a first bin outside 0..4096 or an unknown output. Bins
// whose value is not finite are left out.
std::vector<QPointF> SpectrumValues(const VibrationBuffers& buffers, int output, int firstBin,
                                    bool background);

// BuildFftInput: FftRe (and, with background subtraction, FftBackRe from `backSamples`; a
// missing background counts as zeros) from the frames, imaginary parts 0; SCzasowa emptied and
// given the time curve. The caller then enables bSaveBackG.
void BuildFftInput(VibrationBuffers& buffers, const TFftFrame& samples,
                   const TFftFrame* backSamples, const VibrationSettings& settings,
                   platform::TChartSeries& SCzasowa);
// ComputeSpectrum: BuildFftInput, FFT(8192) of the frame (and of the background), then
// PlotSpectrum from settings.FirstBin().
void ComputeSpectrum(VibrationBuffers& buffers, const TFftFrame& samples,
                     const TFftFrame* backSamples, const VibrationSettings& settings,
                     platform::TChartSeries& SCzasowa, platform::TChartSeries& SFreq);
// PlotSpectrum: nothing while SCzasowa holds no points; otherwise SFreq emptied and given
// SpectrumValues(firstBin).
void PlotSpectrum(const VibrationBuffers& buffers, const VibrationSettings& settings,
                  int firstBin, const platform::TChartSeries& SCzasowa,
                  platform::TChartSeries& SFreq);

}  // namespace evaluation
