#include "evaluation/Fourier.h"

#include <cmath>
#include <functional>
#include <stdexcept>

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

bool FourierTransform(uint16_t n, std::span<const TComplex> input, std::span<TComplex> output,
                      double angle) {
    if (!IsPowerOfTwo(n)) {
        ShowMessage(FourierSizeMessage());
        return false;
    }
    if (input.size() < n || output.size() < n)
        throw std::invalid_argument("FourierTransform: array shorter than the sample count");
    // The bit-reversed copy would read samples it has already overwritten.
    const std::less<const TComplex*> before;
    const TComplex* inBegin = input.data();
    const TComplex* outBegin = output.data();
    if (before(inBegin, outBegin + n) && before(outBegin, inBegin + n))
        throw std::invalid_argument("FourierTransform: input and output overlap");

    const int bits = NumberOfBitsNeeded(n);
    for (uint32_t i = 0; i < n; ++i) output[ReverseBits(i, bits)] = input[i];

    // Each stage rotates its twiddle by δ through the recurrence below (one sine pair per
    // stage, none per butterfly); the arithmetic is carried in extended precision and stored as
    // doubles, which keeps the drift of the recurrence over 4096 steps far below the data's.
    using ext = long double;
    TComplex* x = output.data();
    uint32_t blockEnd = 1;
    for (uint32_t blockSize = 2; blockSize <= n; blockSize <<= 1) {
        const double delta = angle / double(blockSize);
        const double s = double(std::sin(ext(0.5) * ext(delta)));
        const double alpha = double(ext(2) * ext(s) * ext(s));
        const double beta = double(std::sin(ext(delta)));
        for (uint32_t i = 0; i < n; i += blockSize) {
            double wr = 1.0;
            double wi = 0.0;
            for (uint32_t j = i; j < i + blockEnd; ++j) {
                TComplex& a = x[j];
                TComplex& b = x[j + blockEnd];
                const double tr = double(ext(wr) * ext(b.re) - ext(wi) * ext(b.im));
                const double ti = double(ext(wr) * ext(b.im) + ext(wi) * ext(b.re));
                b.re = a.re - tr;
                b.im = a.im - ti;
                a.re += tr;
                a.im += ti;
                const double dr = double(ext(alpha) * ext(wr) + ext(beta) * ext(wi));
                wi = double(ext(wi) - (ext(alpha) * ext(wi) - ext(beta) * ext(wr)));
                wr = wr - dr;
            }
        }
        blockEnd = blockSize;
    }
    return true;
}

bool FFT(uint16_t n, std::span<const TComplex> input, std::span<TComplex> output) {
    if (!FourierTransform(n, input, output, kFourierAngle)) return false;
    const double scale = double(n);
    for (uint32_t k = 0; k < n; ++k) {
        output[k].re /= scale;
        output[k].im /= scale;
    }
    return true;
}

}  // namespace evaluation
