#include "evaluation/TargetPoints.h"

#include <algorithm>
#include <cmath>

#include "foundations/NumberFormat.h"

namespace {

// Points whose offsets k·step stay within d. A few ulps of slack keep an end point that
// the spacing hits exactly (0.1 · 3 is a little above 0.3 in binary).
long long pointsWithin(double d, double step) {
    const double slack = 1e-9 * std::max(1.0, std::fabs(d));
    return static_cast<long long>(std::floor((d + slack) / step)) + 1;
}

void fill(TPunkt& Points, double start, double step, long long n) {
    Points.Clear();
    for (long long k = 0; k < n; ++k) Points.Add().Dystans = start + double(k) * step;
}

}  // namespace

GenerateResult GenerateBySpacing(TPunkt& Points, double S, double D, double O) {
    GenerateResult r;
    if (!(D > 0.0) || !std::isfinite(D)) {
        r.Focus = TargetField::Distance;
        return r;
    }
    if (!(O > 0.0) || O >= D || !std::isfinite(O)) {
        r.Focus = TargetField::Spacing;
        return r;
    }
    const long long n = pointsWithin(D, O);
    if (n > kMaxTargetPoints) {
        r.TooMany = true;
        r.Focus = TargetField::Spacing;
        return r;
    }
    fill(Points, S, O, n);
    r.Generated = true;
    r.PointCount = int(n);
    return r;
}

GenerateResult GenerateByCount(TPunkt& Points, double S, double D, double O, int N) {
    GenerateResult r;
    if (N < 2 || N > kMaxTargetPoints) {
        r.Focus = TargetField::Count;
        return r;
    }
    if (D != 0.0) {
        const double step = std::nearbyint(D / (N - 1) * 10000.0) * 0.0001;
        if (!(step > 0.0) || !(D > 0.0)) {  // a distance too short for that many points
            r.Focus = TargetField::Distance;
            return r;
        }
        const long long n = pointsWithin(D, step);
        if (n > kMaxTargetPoints) {
            r.TooMany = true;
            r.Focus = TargetField::Distance;
            return r;
        }
        fill(Points, S, step, n);
        r.Generated = true;
        r.Step = step;
        r.PointCount = int(n);
        return r;
    }
    if (O == 0.0 || !std::isfinite(O)) {
        r.Focus = TargetField::Spacing;
        return r;
    }
    // Measured from 0: the start point is not added here.
    fill(Points, 0.0, O, N);
    r.Generated = true;
    r.PointCount = N;
    r.Distance = double(N - 1) * O;
    return r;
}

bool EditTargetPoint(TPunkt& Points, int row, const QString& text) {
    const std::optional<double> v = foundations::parseUserReal(text);
    if (!v || !std::isfinite(*v)) return false;
    const bool existing = row >= 1 && row <= Points.Count();
    if (!existing && Points.Count() >= kMaxTargetPoints) return false;
    if (existing) Points.Delete(row - 1);
    int index = 0;
    Points.InsertSorted(index, std::clamp(*v, -kTargetValueLimit, kTargetValueLimit));
    return true;
}

void ScaleTargetPoints(TPunkt& Points, double factor) {
    for (int i = 0; i < Points.Count(); ++i) Points[i].Dystans *= factor;
}

QString TargetNumberText(int index) { return QString::number(index).rightJustified(3, u' '); }

QString TargetValueText(double value) {
    return foundations::formatFixed(value, 10, 4, foundations::systemDecimalSeparator())
        .rightJustified(10, u' ');
}
