#include "evaluation/CosineError.h"

#include <cmath>

#include "evaluation/StraightnessEval.h"

namespace evaluation {

namespace {
constexpr long double MicrometresPerCm = 10000.0L;
}

double CosineEndError(const TPunkt& points) {
    const int n = points.Count();
    if (n < 2) return 0.0;
    LineCoefficients k;
    LeastSquaresCoefficients(points, k);
    const long double span = static_cast<long double>(points[n - 1].Dystans) - points[0].Dystans;
    const long double l = std::fabs(span * MicrometresPerCm);
    const long double h = k[0] * span;
    const long double v = k[1] * span;
    const long double d = std::sqrt(l * l + h * h + v * v);
    if (!std::isfinite(d) || d == 0.0L) return 0.0;
    // D − L written as (H² + V²) / (D + L): the same value without losing the few µm of
    // difference against a length of metres.
    const double e = static_cast<double>((h * h + v * v) / (d + l));
    return std::isfinite(e) ? e : 0.0;
}

void ViewResiduals(const TPunkt& points, int statisticsMethod, TPunkt& dest) {
    LineAngles angles;
    switch (statisticsMethod) {
        case 0: FitEndPointLine(points, dest, angles); break;
        case 1: FitLeastSquaresLine(points, dest, angles); break;
        default:
            for (int i = 0; i < points.Count(); ++i) dest.Add().Assign(points[i]);
            break;
    }
}

}  // namespace evaluation
