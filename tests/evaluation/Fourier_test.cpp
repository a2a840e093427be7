#include <gtest/gtest.h>

#include <QStringList>

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "evaluation/Fourier.h"
#include "foundations/MessageDlg.h"

using namespace evaluation;

namespace {

constexpr double pi = std::numbers::pi;

std::vector<TComplex> realSignal(int n, double (*f)(int n, int N)) {
    std::vector<TComplex> x(n);
    for (int i = 0; i < n; ++i) x[i].re = f(i, n);
    return x;
}

std::vector<TComplex> fft(const std::vector<TComplex>& x) {
    std::vector<TComplex> out(x.size());
    EXPECT_TRUE(FFT(uint16_t(x.size()), x, out));
    return out;
}

// Every bin equals `want` within tol except the listed ones.
void expectBins(const std::vector<TComplex>& got, std::vector<std::pair<int, TComplex>> special,
                TComplex elsewhere = {}, double tol = 1e-12) {
    for (int k = 0; k < int(got.size()); ++k) {
        TComplex want = elsewhere;
        for (const auto& [bin, value] : special)
            if (bin == k) want = value;
        SCOPED_TRACE(k);
        EXPECT_NEAR(got[k].re, want.re, tol);
        EXPECT_NEAR(got[k].im, want.im, tol);
    }
}

// Direct DFT of one bin with the positive kernel and the 1/N scale; the angle k·n is reduced
// modulo N first so the reference loses nothing to large arguments.
TComplex directBin(const std::vector<TComplex>& x, int k) {
    const int n = int(x.size());
    long double re = 0, im = 0;
    for (int i = 0; i < n; ++i) {
        const long double a = 2.0L * std::numbers::pi_v<long double> * ((int64_t(k) * i) % n) / n;
        const long double c = std::cos(a), s = std::sin(a);
        re += x[i].re * c - x[i].im * s;
        im += x[i].re * s + x[i].im * c;
    }
    return {double(re / n), double(im / n)};
}

// Deterministic samples in [-1, 1).
std::vector<TComplex> pseudoRandom(int n, bool complexInput) {
    std::vector<TComplex> x(n);
    uint32_t state = 12345;
    auto next = [&] {
        state = state * 1664525u + 1013904223u;
        return double(state >> 8) / double(1u << 23) - 1.0;
    };
    for (TComplex& c : x) {
        c.re = next();
        if (complexInput) c.im = next();
    }
    return x;
}

class FourierTest : public ::testing::Test {
protected:
    void SetUp() override {
        setMessageDlgHook([this](const MessageDlgRequest& r) {
            messages.push_back(r.text);
            return int(mrOk);
        });
    }
    void TearDown() override { setMessageDlgHook({}); }
    QStringList messages;
};

}  // namespace

TEST(FourierHelpers, PowersOfTwoBitsAndReversal) {
    struct Row {
        uint16_t n;
        bool power;
        int bits;
    };
    for (const Row& r : {Row{0, false, 16}, {1, false, 0}, {2, true, 1}, {3, false, 0}, {4, true, 2},
                         {6, false, 1}, {12, false, 2}, {8192, true, 13}, {12288, false, 12},
                         {32768, true, 15}, {65535, false, 0}}) {
        SCOPED_TRACE(r.n);
        EXPECT_EQ(IsPowerOfTwo(r.n), r.power);
        EXPECT_EQ(NumberOfBitsNeeded(r.n), r.bits);
    }
    struct Rev {
        uint32_t index;
        int bits;
        uint32_t want;
    };
    for (const Rev& r : {Rev{0, 3, 0}, {1, 3, 4}, {6, 3, 3}, {0b1011, 4, 0b1101}, {1, 13, 4096},
                         {8191, 13, 8191}, {9, 2, 2} /* only the low 2 bits: 01 -> 10 */,
                         {5, 0, 0}}) {
        SCOPED_TRACE(r.index);
        EXPECT_EQ(ReverseBits(r.index, r.bits), r.want);
    }
}

// Known transforms of real signals of several lengths.
TEST_F(FourierTest, KnownTransforms) {
    for (int n : {2, 8, 64, 8192}) {
        SCOPED_TRACE(n);
        const double c = 2.5;
        std::vector<TComplex> constant(n, TComplex{c, 0});
        expectBins(fft(constant), {{0, {c, 0}}});

        // One period of a cosine: half in bin 1 and half in its mirror bin N-1.
        auto cosine = realSignal(n, [](int i, int N) { return std::cos(2 * pi * i / N); });
        if (n > 2) expectBins(fft(cosine), {{1, {0.5, 0}}, {n - 1, {0.5, 0}}});

        // One period of a sine: +0.5i in bin 1, -0.5i in bin N-1 (a positive kernel).
        auto sine = realSignal(n, [](int i, int N) { return std::sin(2 * pi * i / N); });
        if (n > 2) expectBins(fft(sine), {{1, {0, 0.5}}, {n - 1, {0, -0.5}}});

        // A unit impulse at 0 spreads 1/N into every bin.
        std::vector<TComplex> impulse(n);
        impulse[0].re = 1;
        expectBins(fft(impulse), {}, {1.0 / n, 0});

        // An impulse at 1: bin k is e^(+2πik/N)/N.
        impulse[0].re = 0;
        impulse[1].re = 1;
        const auto shifted = fft(impulse);
        for (int k = 0; k < n; k += std::max(1, n / 16)) {
            SCOPED_TRACE(k);
            EXPECT_NEAR(shifted[k].re, std::cos(2 * pi * k / n) / n, 1e-15);
            EXPECT_NEAR(shifted[k].im, std::sin(2 * pi * k / n) / n, 1e-15);
        }
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(FourierTest, TwoSamples) {
    // N = 2: (x0 + x1) / 2 and (x0 - x1) / 2, imaginary parts alike.
    const std::vector<TComplex> x{{3, 1}, {-5, 4}};
    expectBins(fft(x), {{0, {-1, 2.5}}, {1, {4, -1.5}}}, {}, 0);
}

// x[n] = n + 1 for n = 0..7, worked by hand with w = e^(2πi/8):
//   X[0] = (1 + 2 + ... + 8) / 8 = 4.5.
//   For k > 0, Σ w^kn = 0 and Σ n·w^kn = N / (w^k - 1), so X[k] = 1 / (w^k - 1)
//   = -1/2 - (i/2)·cot(πk/8):
//   cot(π/8) = 1 + √2, cot(π/4) = 1, cot(3π/8) = √2 - 1, cot(π/2) = 0, and the negatives above.
//   Check of k = 2: w² = i, Σ (n+1)·i^n = (1 - 3 + 5 - 7) + (2 - 4 + 6 - 8)i = -4 - 4i; / 8.
//   Check of k = 4: Σ (n+1)·(-1)^n = -4; / 8 = -0.5.
TEST_F(FourierTest, EightSamplesByHand) {
    std::vector<TComplex> x(8);
    for (int i = 0; i < 8; ++i) x[i].re = i + 1;
    const double r2 = std::sqrt(2.0);
    expectBins(fft(x), {{0, {4.5, 0}},
                        {1, {-0.5, -(1 + r2) / 2}},
                        {2, {-0.5, -0.5}},
                        {3, {-0.5, -(r2 - 1) / 2}},
                        {4, {-0.5, 0}},
                        {5, {-0.5, (r2 - 1) / 2}},
                        {6, {-0.5, 0.5}},
                        {7, {-0.5, (1 + r2) / 2}}},
               {}, 1e-14);
}

TEST_F(FourierTest, MatchesDirectTransform) {
    // Every bin of a short complex block, and a few bins of the vibration frame's length.
    const auto small = pseudoRandom(16, true);
    const auto smallX = fft(small);
    for (int k = 0; k < 16; ++k) {
        const TComplex want = directBin(small, k);
        SCOPED_TRACE(k);
        EXPECT_NEAR(smallX[k].re, want.re, 1e-15);
        EXPECT_NEAR(smallX[k].im, want.im, 1e-15);
    }
    for (bool complexInput : {false, true}) {
        const auto x = pseudoRandom(8192, complexInput);
        const auto X = fft(x);
        for (int k : {0, 1, 7, 100, 2047, 4096, 5000, 8191}) {
            const TComplex want = directBin(x, k);
            SCOPED_TRACE(k);
            EXPECT_NEAR(X[k].re, want.re, 1e-13);
            EXPECT_NEAR(X[k].im, want.im, 1e-13);
        }
    }
}

TEST_F(FourierTest, NegativeAngleInvertsTheTransform) {
    const auto x = pseudoRandom(8192, true);
    const auto X = fft(x);
    std::vector<TComplex> back(x.size());
    ASSERT_TRUE(FourierTransform(8192, X, back, -kFourierAngle));
    double worst = 0;
    for (size_t i = 0; i < x.size(); ++i)
        worst = std::max({worst, std::abs(back[i].re - x[i].re), std::abs(back[i].im - x[i].im)});
    EXPECT_LT(worst, 1e-12);
}

TEST_F(FourierTest, LargestBlock) {
    std::vector<TComplex> x(32768, TComplex{-1.25, 0.5});
    expectBins(fft(x), {{0, {-1.25, 0.5}}});
}

// A size that is not a power of two of at least 2 is refused with the message; the output
// keeps what it held, and nothing outside the given arrays is touched.
TEST_F(FourierTest, RefusesSizesThatAreNotPowersOfTwo) {
    for (uint16_t n : {0, 1, 3, 6, 100, 12288, 65535}) {
        SCOPED_TRACE(n);
        messages.clear();
        const std::vector<TComplex> in(n, TComplex{1, 1});
        std::vector<TComplex> out(n, TComplex{7, 7});
        EXPECT_FALSE(FFT(n, in, out));
        EXPECT_FALSE(FourierTransform(n, in, out, kFourierAngle));
        EXPECT_EQ(out, std::vector<TComplex>(n, TComplex{7, 7}));
        ASSERT_EQ(messages.size(), 2);
        EXPECT_EQ(messages[0], "Error in procedure Fourier NumSamples is not a positive integer power of 2");
    }
}

TEST_F(FourierTest, RefusesShortOrOverlappingArrays) {
    std::vector<TComplex> in(8, TComplex{1, 0});
    std::vector<TComplex> out(8, TComplex{7, 7});
    const std::vector<TComplex> untouched = out;
    EXPECT_THROW(FFT(8, std::span(in).first(4), out), std::invalid_argument);
    EXPECT_THROW(FFT(8, in, std::span(out).first(7)), std::invalid_argument);
    EXPECT_EQ(out, untouched);

    std::vector<TComplex> block(12, TComplex{1, 0});
    EXPECT_THROW(FFT(8, block, block), std::invalid_argument);
    EXPECT_THROW(FFT(8, std::span(block).first(8), std::span(block).subspan(4)), std::invalid_argument);
    // Adjacent halves of one array do not overlap.
    std::vector<TComplex> halves(16, TComplex{1, 0});
    EXPECT_TRUE(FFT(8, std::span(halves).first(8), std::span(halves).subspan(8)));
    EXPECT_DOUBLE_EQ(halves[8].re, 1.0);
    EXPECT_TRUE(messages.isEmpty());
}

// Accuracy against the exact transform (long double, the kernel from a table of the N roots so
// the reference itself loses nothing): the largest error over the checked bins, relative to the
// largest bin, for real and complex samples of the lengths the vibration page and the tests use.
// The bound is half a unit in the last place per stage (1.1e-16 · (1 + log2 N) / 2); the
// transform stays below half of it at every length.
TEST_F(FourierTest, AccuracyAgainstExactTransform) {
    struct Row {
        int n;
        bool complexInput;
        int binStep;  // every bin, or every binStep-th for the longest blocks
    };
    const Row rows[] = {{2, false, 1},    {4, true, 1},     {8, false, 1},    {8, true, 1},
                        {16, true, 1},    {64, false, 1},   {256, true, 1},   {1024, false, 1},
                        {1024, true, 1},  {8192, false, 61}, {8192, true, 61}, {32768, true, 997}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.n << (r.complexInput ? " complex" : " real"));
        const double bound = 1.1e-16 * (1 + std::log2(double(r.n))) / 2;
        const auto x = pseudoRandom(r.n, r.complexInput);
        const auto X = fft(x);
        std::vector<long double> c(r.n), s(r.n);
        for (int m = 0; m < r.n; ++m) {
            const long double a = 2.0L * std::numbers::pi_v<long double> * m / r.n;
            c[m] = std::cos(a);
            s[m] = std::sin(a);
        }
        double worst = 0, largest = 0;
        for (int k = 0; k < r.n; k += r.binStep) {
            long double re = 0, im = 0;
            for (int i = 0; i < r.n; ++i) {
                const int m = int((int64_t(k) * i) % r.n);
                re += x[i].re * c[m] - x[i].im * s[m];
                im += x[i].re * s[m] + x[i].im * c[m];
            }
            re /= r.n;
            im /= r.n;
            worst = std::max({worst, double(std::fabs(X[k].re - re)), double(std::fabs(X[k].im - im))});
            largest = std::max({largest, double(std::fabs(re)), double(std::fabs(im))});
        }
        EXPECT_LE(worst / largest, bound) << "worst " << worst << " of " << largest;
    }
}
