// The cosine error of a straightness run: positions in cm, deviations in µm, the error in µm.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "StraightnessPoints.h"
#include "evaluation/CosineError.h"

namespace {

using evaluation::CosineEndError;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(CosineEndError, HandWorkedRuns) {
    struct Case {
        const char* what;
        TPunkt run;
        double error;  // µm
        double tolerance;
    };
    const Case cases[] = {
        // 0..2 cm: L = 20000 µm; Xa rises 15000 µm/cm (H = 30000), Xr 30000 µm/cm (V = 60000);
        // D = √(2² + 3² + 6²) × 10000 = 70000, D − L = 50000.
        {"both planes", points({{0, 0, 0}, {1, 15000, 30000}, {2, 30000, 60000}}), 50000.0, 1e-6},
        // The same run starting at 5 cm: only the length counts, not where it lies.
        {"offset", points({{5, 7, -3}, {6, 15007, 29997}, {7, 30007, 59997}}), 50000.0, 1e-6},
        // 0..3 cm (L = 30000), Xa 0, 400000/3, 0, 0: the end points agree but the least-squares
        // slope is −40000/3 µm/cm, H = −40000; D = 50000 (3-4-5), D − L = 20000.
        {"least-squares slope, falling", points({{0, 0, 0}, {1, 400000.0 / 3, 0}, {2, 0, 0}, {3, 0, 0}}), 20000.0,
         1e-6},
        // A metre run (L = 10^6 µm) tilted 2 µm/cm (0.0002 rad) in the horizontal plane:
        // H = 200 µm, D − L = H² / (D + L) = 40000 / 2000000.02 ≈ L·θ²/2 = 0.02 µm.
        {"metre run", points({{0, 0, 5}, {50, 100, 5}, {100, 200, 5}}), 40000.0 / 2000000.02, 1e-12},
        // Planes without slope: no error.
        {"level run", points({{0, 3, -2}, {10, 3, -2}, {20, 3, -2}}), 0.0, 0.0},
        // A run measured towards smaller positions has the same error, never 2·|L|.
        {"backwards", points({{2, 30000, 60000}, {1, 15000, 30000}, {0, 0, 0}}), 50000.0, 1e-6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const double e = CosineEndError(c.run);
        EXPECT_NEAR(e, c.error, c.tolerance);
        EXPECT_GE(e, 0.0);
    }
}

TEST(CosineEndError, DegenerateRunsGiveZero) {
    struct Case {
        const char* what;
        TPunkt run;
    };
    const Case cases[] = {
        {"no point", TPunkt{}},
        {"one point", points({{10, 500, 300}})},
        {"all at one position", points({{5, 0, 0}, {5, 100, 50}, {5, -100, 20}})},
        // The positions between spread, but the run ends where it began: L = 0, H = V = 0.
        {"first and last equal", points({{5, 0, 0}, {8, 100, 50}, {5, 30, 20}})},
        {"NaN deviation", points({{0, 0, 0}, {1, kNaN, 1}, {2, 3, 2}})},
        {"infinite deviation", points({{0, 0, 0}, {1, 1, kInf}, {2, 3, 2}})},
        {"NaN position", points({{0, 0, 0}, {kNaN, 1, 1}, {2, 3, 2}})},
        {"infinite last position", points({{0, 0, 0}, {1, 1, 1}, {kInf, 3, 2}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CosineEndError(c.run), 0.0);
    }
}

}  // namespace
