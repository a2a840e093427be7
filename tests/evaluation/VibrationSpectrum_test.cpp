#include <gtest/gtest.h>

#include <QByteArray>
#include <QtEndian>
#include <cmath>
#include <limits>
#include <numbers>

#include "evaluation/VibrationSpectrum.h"
#include "platform/ChartSeries.h"

using namespace evaluation;

namespace {

constexpr double pi = std::numbers::pi;
// λ = 4 µm makes one count one micrometre (λ × 0.25 × 10^6 = 1), so expected values read
// straight off the samples.
constexpr double kUnitWavelength = 4e-6;

TFftFrame frameOf(std::initializer_list<int32_t> head) {
    TFftFrame f{};
    int i = 0;
    for (int32_t v : head) f[i++] = v;
    return f;
}

// A frame repeating `period` over all 8192 samples.
TFftFrame periodic(std::initializer_list<int32_t> period) {
    TFftFrame f{};
    const std::vector<int32_t> p(period);
    for (int i = 0; i < kVibrationSamples; ++i) f[i] = p[i % p.size()];
    return f;
}

VibrationSettings settingsFor(int signal, int output, bool showDc = true) {
    VibrationSettings s;
    s.signal = signal;
    s.output = output;
    s.showDc = showDc;
    s.laserWavelength = kUnitWavelength;
    return s;
}

struct Page {
    VibrationBuffers buffers;
    platform::TFastLineSeries SCzasowa, SFreq;
    void compute(const TFftFrame& frame, const VibrationSettings& s, const TFftFrame* back = nullptr) {
        ComputeSpectrum(buffers, frame, back, s, SCzasowa, SFreq);
    }
    // The spectrum value at a frequency, NaN when that bin is not plotted.
    double at(double hz) const {
        for (int i = 0; i < SFreq.Count(); ++i)
            if (SFreq.XValue(i) == hz) return SFreq.YValue(i);
        return std::numeric_limits<double>::quiet_NaN();
    }
};

}  // namespace

TEST(VibrationSpectrum, FrameFromFileBytes) {
    QByteArray bytes(kVibrationSamples * 4 + 8, '\x55');
    qToLittleEndian<int32_t>(-2, bytes.data());
    qToLittleEndian<int32_t>(0x01020304, bytes.data() + 4);
    qToLittleEndian<int32_t>(77, bytes.data() + 4 * 8191);
    const TFftFrame f = FftFrameFromBytes(bytes);
    EXPECT_EQ(f[0], -2);
    EXPECT_EQ(f[1], 0x01020304);
    EXPECT_EQ(f[8191], 77);

    // A short buffer: the whole samples it holds, the rest 0.
    const TFftFrame s = FftFrameFromBytes(bytes.left(10));
    EXPECT_EQ(s[0], -2);
    EXPECT_EQ(s[1], 0x01020304);
    EXPECT_EQ(s[2], 0);
    EXPECT_EQ(s[8191], 0);
}

TEST(VibrationSpectrum, TimeSignals) {
    EXPECT_DOUBLE_EQ(FftCountFactor(kDefaultLaserWavelength), 6.329912526e-7 * 0.25 * 1e6);
    const TFftFrame f = frameOf({3, -1, 4, 0, 2});
    struct Row {
        int signal;
        bool tenNm;
        std::vector<double> head;  // the first six values
    };
    for (const Row& r : {
             Row{fsDistance, false, {3, 2, 6, 6, 8, 8}},  // running sum
             Row{fsVelocity, false, {3, -1, 4, 0, 2, 0}},
             Row{fsAcceleration, false, {0, -4000, 5000, -4000, 2000, -2000}},  // first always 0
             Row{fsDistance, true, {0.375, 0.25, 0.75, 0.75, 1, 1}},
             Row{fsAcceleration, true, {0, -500, 625, -500, 250, -250}},
         }) {
        SCOPED_TRACE(r.signal * 10 + r.tenNm);
        const auto v = TimeSignal(f, r.signal, kUnitWavelength, r.tenNm);
        ASSERT_EQ(v.size(), size_t(kVibrationSamples));
        for (size_t i = 0; i < r.head.size(); ++i) EXPECT_NEAR(v[i], r.head[i], 1e-9) << i;
        EXPECT_NEAR(v.back(), r.signal == fsDistance ? r.head.back() : 0.0, 1e-9);
    }
    EXPECT_TRUE(TimeSignal(f, 3, kUnitWavelength, false).empty());
    EXPECT_TRUE(TimeSignal(f, -1, kUnitWavelength, false).empty());

    // Samples from a file may lie far apart; their difference must not wrap.
    const auto a = TimeSignal(frameOf({INT32_MIN, INT32_MAX, INT32_MIN}), fsAcceleration, kUnitWavelength, false);
    EXPECT_NEAR(a[1], 4294967295000.0, 1e-2);
    EXPECT_NEAR(a[2], -4294967295000.0, 1e-2);
}

TEST(VibrationSpectrum, Phase) {
    struct Row {
        long double re, im;
        double want;
    };
    for (const Row& r : {Row{0, 1, pi / 2}, {0, 0, -pi / 2}, {0, -2, -pi / 2}, {-1, 0, -pi},
                         {-1, 1, 3 * pi / 4}, {-1, -1, -3 * pi / 4}, {1, 1, pi / 4}, {2, 0, 0},
                         {1, -1, -pi / 4}}) {
        SCOPED_TRACE(double(r.re) * 10 + double(r.im));
        EXPECT_NEAR(SpectrumPhase(r.re, r.im), r.want, 1e-15);
    }
}

// A constant velocity c·k: a flat curve, a DC bin of c·k, nothing else; without the constant
// component the plot starts at one bin spacing.
TEST(VibrationSpectrum, ConstantFrameAndFrequencyAxis) {
    const TFftFrame frame = periodic({25});
    Page page;
    VibrationSettings s = settingsFor(fsVelocity, foAmplitude, true);
    s.laserWavelength = kDefaultLaserWavelength;
    const double k = FftCountFactor(kDefaultLaserWavelength);
    page.compute(frame, s);

    ASSERT_EQ(page.SCzasowa.Count(), kVibrationSamples);
    EXPECT_DOUBLE_EQ(page.SCzasowa.XValue(0), 0.0);
    EXPECT_DOUBLE_EQ(page.SCzasowa.XValue(8191), 8.191);
    for (int i : {0, 1, 4000, 8191}) EXPECT_DOUBLE_EQ(page.SCzasowa.YValue(i), 25 * k);

    ASSERT_EQ(page.SFreq.Count(), 4097);
    EXPECT_EQ(page.SFreq.XValue(0), 0.0);
    EXPECT_NEAR(page.SFreq.YValue(0), 25 * k, 1e-12);
    EXPECT_EQ(page.SFreq.XValue(1), 0.1220703125);
    EXPECT_EQ(page.SFreq.XValue(4096), 500.0);
    for (int i = 1; i < 4097; i += 97) EXPECT_NEAR(page.SFreq.YValue(i), 0.0, 1e-12) << i;

    s.showDc = false;
    page.compute(frame, s);
    ASSERT_EQ(page.SFreq.Count(), 4096);
    EXPECT_EQ(page.SFreq.XValue(0), 0.1220703125);
    EXPECT_EQ(page.SFreq.XValue(4095), 500.0);
}

// Frames whose tones sit exactly on bins, with one count = 1 µm: a cosine of amplitude A at
// 250 Hz (bin 2048, period 4 samples) shows A/2 there; the alternating frame at 500 Hz (bin
// 4096, its own mirror) shows A; a sine shows +A/2 in the imaginary part (positive kernel),
// a phase of +90°.
TEST(VibrationSpectrum, TonesOnBins) {
    struct Row {
        TFftFrame frame;
        int output;
        double hz;
        double want;
    };
    const TFftFrame cosine = periodic({1000, 0, -1000, 0});
    const TFftFrame sine = periodic({0, 1000, 0, -1000});
    const TFftFrame nyquist = periodic({300, -300});
    const TFftFrame negative = periodic({-40});
    for (const Row& r : {Row{cosine, foAmplitude, 250, 500}, Row{cosine, foRealPart, 250, 500},
                         Row{cosine, foImaginaryPart, 250, 0}, Row{cosine, foPhase, 250, 0},
                         Row{cosine, foAmplitude, 125, 0}, Row{sine, foImaginaryPart, 250, 500},
                         Row{sine, foRealPart, 250, 0}, Row{sine, foPhase, 250, 90},
                         Row{nyquist, foAmplitude, 500, 300}, Row{nyquist, foRealPart, 500, 300},
                         Row{negative, foRealPart, 0, -40}, Row{negative, foPhase, 0, -180}}) {
        SCOPED_TRACE(r.output * 1000 + r.hz);
        Page page;
        page.compute(r.frame, settingsFor(fsVelocity, r.output));
        EXPECT_NEAR(page.at(r.hz), r.want, 1e-9);
    }
}

TEST(VibrationSpectrum, BackgroundSubtraction) {
    const TFftFrame frame = periodic({7, 1000, -3, -1000, 12});
    for (int output : {foAmplitude, foPhase, foRealPart, foImaginaryPart}) {
        SCOPED_TRACE(output);
        Page page;
        VibrationSettings s = settingsFor(fsDistance, output);
        s.background = true;
        page.compute(frame, s, &frame);  // the same frame stored as background
        ASSERT_EQ(page.SFreq.Count(), 4097);
        for (int i = 0; i < page.SFreq.Count(); ++i) ASSERT_EQ(page.SFreq.YValue(i), 0.0) << i;
    }
    // A background frame of zeros (none stored yet) takes nothing off the amplitude.
    Page with, without;
    VibrationSettings s = settingsFor(fsVelocity, foAmplitude);
    without.compute(frame, s);
    s.background = true;
    with.compute(frame, s, nullptr);
    ASSERT_EQ(with.SFreq.Count(), without.SFreq.Count());
    for (int i = 0; i < with.SFreq.Count(); i += 31) EXPECT_EQ(with.SFreq.YValue(i), without.SFreq.YValue(i));
}

TEST(VibrationSpectrum, PlotSpectrumAndNonFiniteValues) {
    Page page;
    VibrationSettings s = settingsFor(fsVelocity, foAmplitude);
    page.SFreq.AddXY(1, 1);
    // No time curve yet: the spectrum stays as it is.
    PlotSpectrum(page.buffers, s, 0, page.SCzasowa, page.SFreq);
    EXPECT_EQ(page.SFreq.Count(), 1);

    page.compute(periodic({5, -5, 2}), s);
    ASSERT_EQ(page.SFreq.Count(), 4097);
    // A first bin past 500 Hz empties the spectrum and draws nothing.
    PlotSpectrum(page.buffers, s, 4097, page.SCzasowa, page.SFreq);
    EXPECT_EQ(page.SFreq.Count(), 0);
    PlotSpectrum(page.buffers, s, 4096, page.SCzasowa, page.SFreq);
    EXPECT_EQ(page.SFreq.Count(), 1);
    EXPECT_TRUE(SpectrumValues(page.buffers, foAmplitude, -1, false).empty());
    EXPECT_TRUE(SpectrumValues(page.buffers, 4, 0, false).empty());

    // A bin that is not a number is left out of the chart.
    page.buffers.FftIm[10].re = std::numeric_limits<double>::infinity();
    page.buffers.FftIm[11] = {1.0, std::nan("")};
    // amplitude loses both bins, the phase bin 11, the real part bin 10, the imaginary bin 11
    for (int output : {foAmplitude, foPhase, foRealPart, foImaginaryPart})
        EXPECT_EQ(SpectrumValues(page.buffers, output, 0, false).size(), output == foAmplitude ? 4095u : 4096u)
            << output;

    // A wavelength that is not a number gives no curve and no spectrum at all.
    s.laserWavelength = std::nan("");
    page.compute(periodic({5, -5, 2}), s);
    EXPECT_EQ(page.SCzasowa.Count(), 0);
    EXPECT_EQ(page.SFreq.Count(), 0);
}
