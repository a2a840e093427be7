#pragma once
// Where the beam-alignment view draws its two spots: the two-axis detector's values scaled onto
// the view's -100..100 square, each spot with a horizontal and a vertical line through it, and
// the colour that says whether the detector still sees enough light on it.
#include <cstdint>

namespace alignment {

constexpr double kViewLimit = 100.0;    // both axes run from -100 to 100
constexpr int32_t kLevelEnough = 10;    // a level above this draws the spot in its own colour
constexpr uint32_t kBlue = 0xFF0000;    // Windows colour values 0x00BBGGRR
constexpr uint32_t kLime = 0x00FF00;
constexpr uint32_t kRed = 0x0000FF;

struct Spot {
    double x = 0, y = 0;  // the spot; its lines run across the whole view through it
    uint32_t color = kRed;
};

struct Target {
    Spot blue;  // the beam at (X, Y)
    Spot red;   // the beam at (X + DeltaX, Y + DeltaY)
};

// A full-scale detector value (32767) maps to 100.
double Scale(int32_t v);
// Sums are taken in 64 bits, so the detector's extreme values cannot overflow.
Target TargetFor(int32_t x, int32_t y, int32_t deltaX, int32_t deltaY, int32_t levelBlue, int32_t levelRed);

}  // namespace alignment
