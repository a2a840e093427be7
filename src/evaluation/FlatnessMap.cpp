#include "evaluation/FlatnessMap.h"

#include <algorithm>
#include <cmath>

#include "evaluation/StraightnessEval.h"
#include "foundations/FR_Utils.h"
#include "foundations/NumberFormat.h"
#include "platform/Chart.h"
#include "platform/Chart3DSeries.h"

namespace evaluation {

namespace {

// A length beyond 100 km is no table; clamping keeps k·W within 32 bits.
constexpr double kMaxCm = 1e7;

// Whole centimetres of the positions the map is drawn at. A non-finite position (a line of no
// length divided by, an overflow) marks the map as not to be drawn instead of reaching the
// integer conversion.
struct WholeCm {
    bool finite = true;
    int operator()(double v) {
        if (!std::isfinite(v)) {
            finite = false;
            return 0;
        }
        return int(std::clamp(std::nearbyint(v), -kMaxCm, kMaxCm));
    }
};

bool hasPoints(const TPunkt& line) { return line.Count() > 0; }
double firstY(const TPunkt& line) { return line[0].Xa; }
double lastY(const TPunkt& line) { return line[line.Count() - 1].Xa; }
double lastD(const TPunkt& line) { return line[line.Count() - 1].Dystans; }

// Spacing divides by the count less one; a single line sits on the first edge.
int gaps(int count) { return std::max(1, count - 1); }

// The working copy: 16 lines, only points whose position and height are finite.
TCykl finiteCopy(const TCykl& lines) {
    TCykl copy;
    for (int k = 0; k < kFlatnessLineCount; ++k) {
        TPunkt& dest = copy.Add().Punkt;
        if (k >= lines.Count()) continue;
        const TPunkt& src = lines[k].Punkt;
        for (int i = 0; i < src.Count(); ++i) {
            if (!std::isfinite(src[i].Dystans) || !std::isfinite(src[i].Xa)) continue;
            dest.Add().Assign(src[i]);
        }
    }
    return copy;
}

void leastSquaresResiduals(TPunkt& line) {
    TPunkt fitted;
    LineAngles angles{};
    FitLeastSquaresLine(line, fitted, angles);
    line = fitted;
}

// Fraction of the way along the line at position D; a line of no length keeps all its points at
// its start.
double along(double D, double Dn) { return Dn != 0.0 ? D / Dn : 0.0; }

void envelope(FlatnessMapResult& r, WholeCm& wholeCm) {
    TCykl& L = r.lines;
    auto line = [&L](int n) -> TPunkt& { return L[n - 1].Punkt; };
    if (hasPoints(line(2)) && hasPoints(line(4))) {
        leastSquaresResiduals(line(2));
        leastSquaresResiduals(line(4));
        AlignLineMiddles(line(2), line(4));
        // The edges run between the corners, where the diagonals start and end.
        TiltLineTo(line(1), firstY(line(2)), lastY(line(4)));
        TiltLineTo(line(3), firstY(line(2)), firstY(line(4)));
        TiltLineTo(line(5), firstY(line(4)), lastY(line(2)));
        TiltLineTo(line(6), lastY(line(4)), lastY(line(2)));
    }
    if (hasPoints(line(1)) && hasPoints(line(5))) RampBetweenMiddles(line(1), line(5), line(8));
    if (hasPoints(line(3)) && hasPoints(line(6))) RampBetweenMiddles(line(3), line(6), line(7));
    r.value = FlatnessValue(L);

    const int W = hasPoints(line(1)) ? wholeCm(lastD(line(1))) : kDefaultMapWidth;
    const int H = hasPoints(line(3)) ? wholeCm(lastD(line(3))) : kDefaultMapDepth;
    r.width = W;
    r.depth = H;
    for (int k = 1; k <= kEnvelopeLineCount; ++k) {
        const TPunkt& p = line(k);
        if (!hasPoints(p)) continue;
        const double Dn = lastD(p);
        auto& out = r.series[size_t(k - 1)];
        for (int j = 0; j < p.Count(); ++j) {
            const double D = p[j].Dystans;
            const double t = along(D, Dn);
            const int xs = wholeCm(t * W), zs = wholeCm(t * H);
            int x = 0, z = 0;
            switch (k) {
                case 1: x = wholeCm(D); z = 0; break;
                case 2: x = xs; z = zs; break;
                case 3: x = 0; z = wholeCm(D); break;
                // From the back left corner to the front right one: z falls as x rises, so
                // every point lies on the diagonal whatever the spacing of the points.
                case 4: x = xs; z = wholeCm((1.0 - t) * H); break;
                case 5: x = xs; z = H; break;
                case 6: x = W; z = zs; break;
                case 7: x = xs; z = wholeCm(H * 0.5); break;
                case 8: x = wholeCm(W * 0.5); z = zs; break;
            }
            out.push_back({x, p[j].Xa, z});
        }
    }
}

void grid(FlatnessMapResult& r, const FlatnessLayout& layout, WholeCm& wholeCm) {
    TCykl& L = r.lines;
    const int h = GridHLines(layout);
    const int v = GridVLines(layout);
    auto H = [&L](int k) -> TPunkt& { return L[k].Punkt; };           // k = 0..h-1
    auto V = [&L, h](int m) -> TPunkt& { return L[h + m].Punkt; };    // m = 0..v-1

    int W = kDefaultMapWidth, HD = kDefaultMapDepth;
    for (int k = h - 1; k >= 0; --k)
        if (hasPoints(H(k))) { W = wholeCm(lastD(H(k))); break; }
    for (int m = v - 1; m >= 0; --m)
        if (hasPoints(V(m))) { HD = wholeCm(lastD(V(m))); break; }
    r.width = W;
    r.depth = HD;

    // Where H line k crosses the V lines (z), and V line m the H lines (x).
    auto zOf = [&](int k) { return k * HD / gaps(h); };
    auto xOf = [&](int m) { return m * W / gaps(v); };

    if (v > 0 && hasPoints(V(0)) && hasPoints(V(v - 1)))
        for (int k = 0; k < h; ++k)
            if (hasPoints(H(k))) TiltLineTo(H(k), LineValueAt(zOf(k), V(0)), LineValueAt(zOf(k), V(v - 1)));
    if (h > 0 && hasPoints(H(0)) && hasPoints(H(h - 1)))
        for (int m = 0; m < v; ++m)
            if (hasPoints(V(m))) TiltLineTo(V(m), LineValueAt(xOf(m), H(0)), LineValueAt(xOf(m), H(h - 1)));
    r.value = FlatnessValue(L);

    for (int k = 0; k < h; ++k)
        for (int j = 0; j < H(k).Count(); ++j)
            r.series[size_t(k)].push_back({wholeCm(H(k)[j].Dystans), H(k)[j].Xa, zOf(k)});
    for (int m = 0; m < v; ++m)
        for (int j = 0; j < V(m).Count(); ++j)
            r.series[size_t(h + m)].push_back({xOf(m), V(m)[j].Xa, wholeCm(V(m)[j].Dystans)});
}

}  // namespace

int GridHLines(const FlatnessLayout& layout) { return std::clamp(layout.hLines, 0, kFlatnessLineCount); }

int GridVLines(const FlatnessLayout& layout) {
    return std::clamp(layout.vLines, 0, kFlatnessLineCount - GridHLines(layout));
}

FlatnessMapResult BuildFlatnessMap(const TCykl& lines, const FlatnessLayout& layout) {
    FlatnessMapResult r;
    r.lines = finiteCopy(lines);
    WholeCm wholeCm;
    if (layout.grid)
        grid(r, layout, wholeCm);
    else
        envelope(r, wholeCm);
    // Heights beyond the range of a double (lines of ±1e308 fitted and ramped) or positions that
    // are no number leave nothing to draw: the map cannot be built.
    bool finite = wholeCm.finite && std::isfinite(r.value);
    for (const auto& s : r.series)
        for (const MapPoint& p : s) finite = finite && std::isfinite(p.y);
    if (!finite) {
        FlatnessMapResult none;
        none.lines = finiteCopy(TCykl());
        none.built = false;
        none.message = TranslateString(QStringLiteral("stMapaNieZbudowana"),
                                       QString::fromUtf8("Nie można zbudować mapy płaskości: wartości poza zakresem."));
        return none;
    }
    return r;
}

double LineMiddle(const TPunkt& line) {
    const int n = line.Count();
    if (n == 0) return 0.0;
    if (n % 2 == 1) return line[n / 2].Xa;
    return (line[n / 2 - 1].Xa + line[n / 2].Xa) / 2.0;
}

void AddLineRamp(TPunkt& line, double S, double E) {
    const int n = line.Count();
    for (int i = 0; i < n; ++i) line[i].Xa += n > 1 ? S + i * (E - S) / (n - 1) : S;
}

void TiltLineTo(TPunkt& line, double S, double E) {
    if (!hasPoints(line)) return;
    AddLineRamp(line, S - firstY(line), E - lastY(line));
}

void AlignLineMiddles(const TPunkt& A, TPunkt& B) {
    const double shift = LineMiddle(B) - LineMiddle(A);
    for (int i = 0; i < B.Count(); ++i) B[i].Xa -= shift;
}

void RampBetweenMiddles(const TPunkt& A, const TPunkt& B, TPunkt& C) { TiltLineTo(C, LineMiddle(A), LineMiddle(B)); }

double LineValueAt(int x, const TPunkt& line) {
    const int n = line.Count();
    if (n == 0) return 0.0;
    for (int j = 0; j < n; ++j) {
        if (x > line[j].Dystans) continue;
        if (j == 0) return line[0].Xa;
        // Here Dystans[j-1] < x <= Dystans[j], so the span is never 0.
        const TPunktItem& a = line[j - 1];
        const TPunktItem& b = line[j];
        return a.Xa + (x - a.Dystans) * (b.Xa - a.Xa) / (b.Dystans - a.Dystans);
    }
    // Beyond the last point (an outer line shorter than the map): the line's last height.
    return line[n - 1].Xa;
}

double FlatnessValue(TCykl& lines) {
    // The reference height 0 (where the measured lines start and end) always counts.
    double lo = 0.0, hi = 0.0;
    for (int k = 0; k < lines.Count(); ++k) {
        const TPunkt& p = lines[k].Punkt;
        for (int i = 0; i < p.Count(); ++i) {
            const double y = p[i].Xa;
            lo = std::min(lo, y);
            hi = std::max(hi, y);
        }
    }
    for (int k = 0; k < lines.Count(); ++k) {
        TPunkt& p = lines[k].Punkt;
        for (int i = 0; i < p.Count(); ++i) p[i].Xa -= lo;
    }
    return hi - lo;
}

QString FlatnessValueText(double value, QChar separator) { return foundations::formatFixed(value, 15, 2, separator); }

void ClearFlatnessLines(TCykl& lines) {
    for (int k = 0; k < lines.Count(); ++k) lines[k].Punkt.Clear();
}

uint16_t LineMask(const TCykl& lines) {
    uint16_t mask = 0;
    for (int k = 0; k < std::min(lines.Count(), kFlatnessLineCount); ++k)
        if (hasPoints(lines[k].Punkt)) mask |= uint16_t(1u << k);
    return mask;
}

void ClearFlatnessChart(const std::vector<platform::TPoint3DSeries*>& series) {
    for (platform::TPoint3DSeries* s : series)
        if (s) s->Clear();
}

void FillFlatnessChart(platform::TChart& chart, const std::vector<platform::TPoint3DSeries*>& series,
                       const FlatnessMapResult& map) {
    ClearFlatnessChart(series);
    for (size_t k = 0; k < series.size() && k < map.series.size(); ++k) {
        if (!series[k]) continue;
        for (const MapPoint& p : map.series[k]) series[k]->AddXYZ(p.x, p.z, p.y);
    }
    chart.DepthAxis().SetMinMax(0.0, double(map.depth));
}

}  // namespace evaluation
