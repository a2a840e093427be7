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

// Four doubles as one value: the compiler maps it onto the widest vector registers of the
// target the code is compiled for (two SSE2 registers, or one AVX register). Passed by
// reference only, so no function's calling convention depends on the target.
typedef double Quad __attribute__((vector_size(32)));

inline void load(Quad& v, const double* p) { std::memcpy(&v, p, sizeof v); }
inline void store(double* p, const Quad& v) { std::memcpy(p, &v, sizeof v); }

// t = w·x on four samples at once.
inline void rotate4(Quad& tr, Quad& ti, const double* wr, const double* wi, const Quad& xr, const Quad& xi) {
    Quad cr, ci;
    load(cr, wr);
    load(ci, wi);
    tr = cr * xr - ci * xi;
    ti = cr * xi + ci * xr;
}

// Two stages at once (blocks of 2h and 4h, h >= 4) on four neighbouring samples j..j+3 of a
// block of 4h: the same operations as two radix-2 passes, with one trip through memory.
inline void radix4(double* re, double* im, uint32_t h, const double* w1r, const double* w1i,
                   const double* w2r, const double* w2i) {
    Quad x0r, x0i, x1r, x1i, x2r, x2i, x3r, x3i, tr, ti;
    load(x0r, re);
    load(x0i, im);
    load(x1r, re + h);
    load(x1i, im + h);
    load(x2r, re + 2 * h);
    load(x2i, im + 2 * h);
    load(x3r, re + 3 * h);
    load(x3i, im + 3 * h);
    // Blocks of 2h: (0, 1) and (2, 3) with the same twiddle.
    rotate4(tr, ti, w1r, w1i, x1r, x1i);
    const Quad y0r = x0r + tr, y0i = x0i + ti, y1r = x0r - tr, y1i = x0i - ti;
    rotate4(tr, ti, w1r, w1i, x3r, x3i);
    const Quad y2r = x2r + tr, y2i = x2i + ti, y3r = x2r - tr, y3i = x2i - ti;
    // Blocks of 4h: (0, 2) with twiddle j, (1, 3) with twiddle j + h.
    rotate4(tr, ti, w2r, w2i, y2r, y2i);
    store(re, y0r + tr);
    store(im, y0i + ti);
    store(re + 2 * h, y0r - tr);
    store(im + 2 * h, y0i - ti);
    rotate4(tr, ti, w2r + h, w2i + h, y3r, y3i);
    store(re + h, y1r + tr);
    store(im + h, y1i + ti);
    store(re + 3 * h, y1r - tr);
    store(im + 3 * h, y1i - ti);
}

// Every stage from blocks of 8 on, the samples already through the blocks of 2 and 4.
[[gnu::always_inline]] inline void laterStagesBody(uint32_t n, double* re, double* im, const double* twRe,
                                                   const double* twIm) {
    uint32_t h = 4;
    for (; 4 * h <= n; h *= 4)
        for (uint32_t i = 0; i < n; i += 4 * h)
            for (uint32_t j = 0; j < h; j += 4)
                radix4(re + i + j, im + i + j, h, twRe + h - 1 + j, twIm + h - 1 + j, twRe + 2 * h - 1 + j,
                       twIm + 2 * h - 1 + j);
    if (h < n) {
        // One radix-2 stage is left: the blocks of n.
        for (uint32_t j = 0; j < h; j += 4) {
            Quad ar, ai, br, bi, tr, ti;
            load(br, re + h + j);
            load(bi, im + h + j);
            rotate4(tr, ti, twRe + h - 1 + j, twIm + h - 1 + j, br, bi);
            load(ar, re + j);
            load(ai, im + j);
            store(re + h + j, ar - tr);
            store(im + h + j, ai - ti);
            store(re + j, ar + tr);
            store(im + j, ai + ti);
        }
    }
}

void laterStagesPlain(uint32_t n, double* re, double* im, const double* twRe, const double* twIm) {
    laterStagesBody(n, re, im, twRe, twIm);
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// The same compiled for AVX2 (four doubles per instruction), taken where the processor has it.
// Without fused multiply-add, so both give the same bits.
[[gnu::target("avx2")]] void laterStagesAvx2(uint32_t n, double* re, double* im, const double* twRe,
                                             const double* twIm) {
    laterStagesBody(n, re, im, twRe, twIm);
}
#endif

void laterStages(uint32_t n, double* re, double* im, const Plan& plan) {
    if (n < 8) return;
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2) return laterStagesAvx2(n, re, im, plan.twRe.data(), plan.twIm.data());
#endif
    laterStagesPlain(n, re, im, plan.twRe.data(), plan.twIm.data());
}

// The transform of m samples (m >= 2, sample(i) giving sample i) into re/im in natural order:
// the bit-reversed gather runs the blocks of 2 and 4 on the way in.
template <class Sample>
void transformSplit(uint32_t m, const Sample& sample, const Plan& plan, double* re, double* im) {
    const uint32_t* reversed = plan.reversed.data();
    if (m == 2) {
        const TComplex a = sample(0), b = sample(1);
        re[0] = a.re + b.re;
        im[0] = a.im + b.im;
        re[1] = a.re - b.re;
        im[1] = a.im - b.im;
        return;
    }
    const double wr = plan.twRe[2], wi = plan.twIm[2];  // block of 4, j = 1
    for (uint32_t p = 0; p < m; p += 4) {
        const TComplex a0 = sample(reversed[p]), a1 = sample(reversed[p + 1]);
        const TComplex a2 = sample(reversed[p + 2]), a3 = sample(reversed[p + 3]);
        const double b0r = a0.re + a1.re, b0i = a0.im + a1.im, b1r = a0.re - a1.re, b1i = a0.im - a1.im;
        const double b2r = a2.re + a3.re, b2i = a2.im + a3.im, b3r = a2.re - a3.re, b3i = a2.im - a3.im;
        const double tr = wr * b3r - wi * b3i, ti = wr * b3i + wi * b3r;
        re[p] = b0r + b2r;
        im[p] = b0i + b2i;
        re[p + 2] = b0r - b2r;
        im[p + 2] = b0i - b2i;
        re[p + 1] = b1r + tr;
        im[p + 1] = b1i + ti;
        re[p + 3] = b1r - tr;
        im[p + 3] = b1i - ti;
    }
    laterStages(m, re, im, plan);
}

bool allImaginaryZero(const TComplex* x, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i)
        if (x[i].im != 0.0) return false;
    return true;
}

// The transform into output, every sample divided by `divisor`: 1 or n, a power of two, so the
// product with its reciprocal is the quotient to the last bit.
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
    const TComplex* in = input.data();
    TComplex* out = output.data();
    if (before(in, out + n) && before(out, in + n))
        throw std::invalid_argument("FourierTransform: input and output overlap");

    const double scale = 1.0 / divisor;
    thread_local std::vector<double> re, im;
    if (re.size() < n) {
        re.resize(n);
        im.resize(n);
    }
    const bool wholeTurn = angle == kFourierAngle || angle == -kFourierAngle;
    if (n >= 4 && wholeTurn && allImaginaryZero(in, n)) {
        // Real samples (the vibration frame): the even and odd samples as one complex sequence
        // of half the length, transformed, then split into the two halves' transforms E and O,
        // X[k] = E[k] + w^k O[k] with w = e^(i·angle/n), and X[n-k] the conjugate of X[k].
        const uint32_t m = n / 2;
        const Plan& half = planFor(uint16_t(m), angle);
        transformSplit(m, [in](uint32_t i) { return TComplex{in[2 * i].re, in[2 * i + 1].re}; }, half, re.data(),
                       im.data());
        const Plan& full = planFor(n, angle);
        const double* wr = full.twRe.data() + m - 1;
        const double* wi = full.twIm.data() + m - 1;
        out[0] = {(re[0] + im[0]) * scale, 0.0};
        out[m] = {(re[0] - im[0]) * scale, 0.0};
        for (uint32_t k = 1; k < m; ++k) {
            const double ar = re[k], ai = im[k], br = re[m - k], bi = -im[m - k];
            const double er = (ar + br) / 2, ei = (ai + bi) / 2;
            const double orr = (ai - bi) / 2, oi = (br - ar) / 2;
            const double xr = er + (wr[k] * orr - wi[k] * oi);
            const double xi = ei + (wr[k] * oi + wi[k] * orr);
            out[k] = {xr * scale, xi * scale};
            out[n - k] = {xr * scale, -xi * scale};
        }
        return true;
    }
    const Plan& plan = planFor(n, angle);
    transformSplit(n, [in](uint32_t i) { return in[i]; }, plan, re.data(), im.data());
    for (uint32_t k = 0; k < n; ++k) out[k] = {re[k] * scale, im[k] * scale};
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
