#pragma once
// Radix-2 discrete Fourier transform (iterative decimation in time: a bit-reversed gather that
// also does the blocks of 2 and 4, then two stages per pass over split real and imaginary parts,
// with the twiddles of each size and angle made once). Real samples with the angle ±2π (the
// vibration frame) go through a transform of half the length. Used by the vibration spectrum.
//
// With the angle 2π and the 1/N scale of FFT the result is
//     X[k] = (1/N) Σn x[n]·e^(+2πi·k·n/N),  k = 0..N-1,
// a positive exponent in the kernel, so a sine of amplitude A at a bin gives +A/2·i in that bin
// and -A/2·i in its mirror bin.
#include <QString>
#include <cstdint>
#include <numbers>
#include <span>

namespace evaluation {

// One complex sample: two doubles, interleaved (16 bytes), as the work arrays hold them.
struct TComplex {
    double re = 0.0;
    double im = 0.0;
    bool operator==(const TComplex&) const = default;
};
static_assert(sizeof(TComplex) == 16);

constexpr double kFourierAngle = 2.0 * std::numbers::pi;

// The message shown when a transform is refused for its size.
QString FourierSizeMessage();

// True for 2, 4, 8, ..., 32768 (2^1 .. 2^15 of a 16-bit count).
bool IsPowerOfTwo(uint16_t n);
// Position of the lowest set bit of n (log2 n for a power of two); 16 for n = 0.
int NumberOfBitsNeeded(uint16_t n);
// index with its low `bits` bits in reverse order (the higher bits dropped); bits 0..31.
uint32_t ReverseBits(uint32_t index, int bits);

// The unscaled transform of the first n samples of `input` into the first n of `output`, with
// the kernel e^(i·angle·k·m/n). A size that is not a power of two of at least 2 is refused:
// the information box FourierSizeMessage() is shown, `output` is left as it was and the result
// is false. Arrays shorter than n, or overlapping ones, are a caller's fault:
// std::invalid_argument, nothing written.
bool FourierTransform(uint16_t n, std::span<const TComplex> input, std::span<TComplex> output,
                      double angle);
// FourierTransform with the angle 2π, every output sample then divided by n.
bool FFT(uint16_t n, std::span<const TComplex> input, std::span<TComplex> output);

}  // namespace evaluation
