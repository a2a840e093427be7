#include "app/AlignmentTarget.h"

namespace alignment {

namespace {
double scale64(int64_t v) { return double(v) * (1.0 / 32767.0) * 100.0; }
}  // namespace

double Scale(int32_t v) { return scale64(v); }

Target TargetFor(int32_t x, int32_t y, int32_t deltaX, int32_t deltaY, int32_t levelBlue, int32_t levelRed) {
    Target t;
    t.blue = {scale64(x), scale64(y), levelBlue > kLevelEnough ? kBlue : kRed};
    t.red = {scale64(int64_t(x) + deltaX), scale64(int64_t(y) + deltaY), levelRed > kLevelEnough ? kLime : kRed};
    return t;
}

}  // namespace alignment
