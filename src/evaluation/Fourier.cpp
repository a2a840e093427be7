#include "evaluation/Fourier.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "foundations/MessageDlg.h"

namespace evaluation {

QString FourierSizeMessage() {
    return QStringLiteral("Error in procedure Fourier NumSamples is not a positive integer power of 2");
}

bool IsPowerOfTwo(uint16_t n) { return n >= 2 && (n & (n - 1)) == 0; }

int NumberOfBitsNeeded(uint16_t n) {
    for (int i = 0; i < 16; ++i)
        if (n & (1u << i)) return i;
    return 16;
}

uint32_t ReverseBits(uint32_t index, int bits) {
    uint32_t r = 0;
    for (int i = 0; i < bits; ++i) {
        r = (r << 1) | (index & 1u);
        index >>= 1;
    }
    return r;
}

namespace {

// What a transform of one size and angle needs, made once: the bit-reversed position of every
// sample and the twiddles e^(i·angle·j/B) of each stage of block size B = 2h, stage h at
// [h - 1, 2h - 1) of tw. Twiddles are taken from long-double sines of the exact fraction j/B,
// so none carries the drift of a recurrence.
struct Plan {
    uint16_t n = 0;
    double angle = 0.0;
    std::vector<uint32_t> reversed;
    std::vector<double> twRe, twIm;
};

std::unique_ptr<Plan> makePlan(uint16_t n, double angle) {
    auto plan = std::make_unique<Plan>();
    plan->n = n;
    plan->angle = angle;
    const int bits = NumberOfBitsNeeded(n);
    plan->reversed.resize(n);
    for (uint32_t i = 0; i < n; ++i) plan->reversed[i] = ReverseBits(i, bits);
    plan->twRe.resize(n);
    plan->twIm.resize(n);
    // With the angle ±2π the fraction of a whole turn is exact: a quarter turn gives 0 and ±1
    // exactly, every other twiddle the sine of 2π·j/B in extended precision.
    const bool wholeTurn = angle == kFourierAngle || angle == -kFourierAngle;
    const long double turn = wholeTurn ? 2 * std::numbers::pi_v<long double> : (long double)(std::fabs(angle));
    const double sign = angle < 0 ? -1.0 : 1.0;
    for (uint32_t h = 1; h < n; h <<= 1) {
        for (uint32_t j = 0; j < h; ++j) {
            double c, s;
            if (j == 0) {
                c = 1.0;
                s = 0.0;
            } else if (wholeTurn && 2 * j == h) {
                c = 0.0;
                s = 1.0;
            } else {
                const long double a = turn * (long double)(j) / (long double)(2 * h);
                c = double(std::cos(a));
                s = double(std::sin(a));
            }
            plan->twRe[h - 1 + j] = c;
            plan->twIm[h - 1 + j] = sign * s;
        }
    }
    return plan;
}

// Plans of this thread, the latest kept first; the vibration page needs one.
const Plan& planFor(uint16_t n, double angle) {
    thread_local std::vector<std::unique_ptr<Plan>> plans;
    for (size_t i = 0; i < plans.size(); ++i) {
        if (plans[i]->n == n && plans[i]->angle == angle) {
            if (i != 0) std::rotate(plans.begin(), plans.begin() + i, plans.begin() + i + 1);
            return *plans.front();
        }
    }
    constexpr size_t kKept = 8;
    if (plans.size() == kKept) plans.pop_back();
    plans.insert(plans.begin(), makePlan(n, angle));
    return *plans.front();
}

// Two doubles as one value: one vector register on every 64-bit target (SSE2, NEON).
typedef double Pair __attribute__((vector_size(16)));

inline Pair load(const double* p) {
    Pair v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void store(double* p, Pair v) { std::memcpy(p, &v, sizeof v); }

// Butterflies of two neighbouring samples of a block.
inline void butterflyPair(double* aRe, double* aIm, double* bRe, double* bIm, const double* wr,
                          const double* wi) {
    const Pair cr = load(wr), ci = load(wi);
    const Pair br = load(bRe), bi = load(bIm);
    const Pair ar = load(aRe), ai = load(aIm);
    const Pair tr = cr * br - ci * bi;
    const Pair ti = cr * bi + ci * br;
    store(bRe, ar - tr);
    store(bIm, ai - ti);
    store(aRe, ar + tr);
    store(aIm, ai + ti);
}

// The butterflies of every stage on split real and imaginary parts (already in bit-reversed
// order): b' = a - w·b, a' = a + w·b.
void butterflies(uint32_t n, double* re, double* im, const Plan& plan) {
    const double* twRe = plan.twRe.data();
    const double* twIm = plan.twIm.data();
    uint32_t h = 1;
    // Blocks of 2 and 4 are too short for the four-at-a-time form.
    for (; h < n && h < 4; h <<= 1) {
        const double* wr = twRe + h - 1;
        const double* wi = twIm + h - 1;
        for (uint32_t i = 0; i < n; i += 2 * h) {
            for (uint32_t j = 0; j < h; ++j) {
                double& ar = re[i + j];
                double& ai = im[i + j];
                double& br = re[i + j + h];
                double& bi = im[i + j + h];
                const double tr = wr[j] * br - wi[j] * bi;
                const double ti = wr[j] * bi + wi[j] * br;
                br = ar - tr;
                bi = ai - ti;
                ar += tr;
                ai += ti;
            }
        }
    }
    for (; h < n; h <<= 1) {
        const double* wr = twRe + h - 1;
        const double* wi = twIm + h - 1;
        for (uint32_t i = 0; i < n; i += 2 * h) {
            double* aRe = re + i;
            double* aIm = im + i;
            double* bRe = aRe + h;
            double* bIm = aIm + h;
            for (uint32_t j = 0; j < h; j += 4) {
                butterflyPair(aRe + j, aIm + j, bRe + j, bIm + j, wr + j, wi + j);
                butterflyPair(aRe + j + 2, aIm + j + 2, bRe + j + 2, bIm + j + 2, wr + j + 2, wi + j + 2);
            }
        }
    }
}

// The transform into output, every sample divided by `divisor` (1 for none).
bool transform(uint16_t n, std::span<const TComplex> input, std::span<TComplex> output, double angle,
               double divisor) {
    if (!IsPowerOfTwo(n)) {
        ShowMessage(FourierSizeMessage());
        return false;
    }
    if (input.size() < n || output.size() < n)
        throw std::invalid_argument("FourierTransform: array shorter than the sample count");
    // Input and output must be apart: the caller keeps its samples.
    const std::less<const TComplex*> before;
    const TComplex* inBegin = input.data();
    const TComplex* outBegin = output.data();
    if (before(inBegin, outBegin + n) && before(outBegin, inBegin + n))
        throw std::invalid_argument("FourierTransform: input and output overlap");

    const Plan& plan = planFor(n, angle);
    thread_local std::vector<double> re, im;
    if (re.size() < n) {
        re.resize(n);
        im.resize(n);
    }
    const uint32_t* reversed = plan.reversed.data();
    for (uint32_t i = 0; i < n; ++i) {
        re[reversed[i]] = input[i].re;
        im[reversed[i]] = input[i].im;
    }
    butterflies(n, re.data(), im.data(), plan);
    TComplex* out = output.data();
    if (divisor == 1.0) {
        for (uint32_t k = 0; k < n; ++k) out[k] = {re[k], im[k]};
    } else {
        for (uint32_t k = 0; k < n; ++k) out[k] = {re[k] / divisor, im[k] / divisor};
    }
    return true;
}

}  // namespace

bool FourierTransform(uint16_t n, std::span<const TComplex> input, std::span<TComplex> output,
                      double angle) {
    return transform(n, input, output, angle, 1.0);
}

bool FFT(uint16_t n, std::span<const TComplex> input, std::span<TComplex> output) {
    return transform(n, input, output, kFourierAngle, double(n));
}

}  // namespace evaluation
