#include "platform/Chart3DGridSeries.h"

#include <QLinearGradient>
#include <QLocale>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/Chart.h"

namespace platform {

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Smallest and largest finite height; false when there is none.
bool heightRange(const std::vector<double>& ys, double& lo, double& hi) {
    bool any = false;
    for (double y : ys) {
        if (!std::isfinite(y)) continue;
        if (!any) lo = hi = y;
        lo = std::min(lo, y);
        hi = std::max(hi, y);
        any = true;
    }
    return any;
}

// A grid column or row of a coordinate: round(v - smallest) + 1, 0 when beyond the grid.
int gridCellOf(double v, double smallest) {
    const double c = std::nearbyint(v - smallest) + 1.0;
    return c >= 1.0 && c <= double(TCustom3DGridSeries::kMaxGrid) ? int(c) : 0;
}

int mixComponent(int a, int b, double t) { return std::clamp(a + int(std::nearbyint((b - a) * t)), 0, 255); }

// Up to three decimals without trailing zeros, grouped, with the locale's separators.
QString legendValueText(double v, const QLocale& loc) {
    QString s = loc.toString(v, 'f', 3);
    const QString dec = loc.decimalPoint();
    if (s.contains(dec)) {
        while (s.endsWith(QLatin1Char('0'))) s.chop(1);
        if (s.endsWith(dec)) s.chop(dec.size());
    }
    if (s == QLatin1String("-0")) s = QStringLiteral("0");
    return s;
}

struct Vertex {
    double x, z, h;
};
}  // namespace

QColor chartDefaultColor(int i) {
    // Distinct colours that read on a white plot, in a fixed order.
    static const QColor table[] = {
        QColor(255, 0, 0),   QColor(0, 128, 0),   QColor(0, 0, 255),   QColor(255, 0, 255), QColor(0, 128, 128),
        QColor(0, 0, 128),   QColor(128, 0, 0),   QColor(128, 128, 0), QColor(128, 0, 128), QColor(128, 128, 128),
        QColor(0, 160, 255), QColor(0, 0, 0),     QColor(255, 128, 0), QColor(0, 200, 0),   QColor(160, 82, 45),
    };
    constexpr int n = int(sizeof(table) / sizeof(table[0]));
    return table[((i % n) + n) % n];
}

// ---------------------------------------------------------------- TCustom3DGridSeries

TCustom3DGridSeries::TCustom3DGridSeries(QObject* parent) : TCustom3DSeries(parent) {}

bool TCustom3DGridSeries::SetGridSize(int& member, int n) {
    if (n < 1 || n > kMaxGrid) return false;
    if (n != member) {
        member = n;
        CreateValues(numX_, numZ_);
    }
    return true;
}

bool TCustom3DGridSeries::SetNumXValues(int n) { return SetGridSize(numX_, n); }
bool TCustom3DGridSeries::SetNumZValues(int n) { return SetGridSize(numZ_, n); }

int TCustom3DGridSeries::AddXYZ(int x, int z, double y, const QString& label, uint32_t color) {
    if (!std::isfinite(y)) return -1;
    return TCustom3DSeries::AddXYZ(x, z, y, label, color);
}

void TCustom3DGridSeries::Clear() {
    grid_.clear();
    grid_.shrink_to_fit();
    xValues_.order = TValueOrder::None;
    TCustom3DSeries::Clear();
}

void TCustom3DGridSeries::CreateValues(int numX, int numZ) {
    numX = std::clamp(numX, 1, kMaxGrid);
    numZ = std::clamp(numZ, 1, kMaxGrid);
    Clear();
    numX_ = numX;
    numZ_ = numZ;
    for (int x = 1; x <= numX; ++x)
        for (int z = 1; z <= numZ; ++z) {
            const double y = GetXZValue(x, z);
            // A handler's non-finite value leaves the cell empty.
            if (std::isfinite(y)) TCustom3DSeries::AddXYZ(x, z, y);
        }
}

double TCustom3DGridSeries::GetXZValue(int x, int z) const {
    if (OnGetYValue) return OnGetYValue(const_cast<TCustom3DGridSeries*>(this), x, z);
    if (!sampling_) return 0.0;
    // A hill towards one corner and a dip towards the other, over the whole grid.
    const double u = numX_ > 1 ? double(x - 1) / (numX_ - 1) : 0.5;
    const double w = numZ_ > 1 ? double(z - 1) / (numZ_ - 1) : 0.5;
    auto bump = [](double du, double dw) { return std::exp(-(du * du + dw * dw) / 0.08); };
    return 10.0 + 8.0 * bump(u - 0.3, w - 0.35) - 5.0 * bump(u - 0.75, w - 0.7);
}

void TCustom3DGridSeries::AddSampleValues(int n) {
    sampling_ = true;
    CreateValues(n, n);
    sampling_ = false;
}

void TCustom3DGridSeries::FillGridIndex() const {
    grid_.assign(std::size_t(kMaxGrid) + 1, {});
    double minX = 0, minZ = 0;
    bool any = false;
    const int n = Count();
    for (int i = 0; i < n; ++i) {
        const double x = xValues_.values[std::size_t(i)], y = yValues_.values[std::size_t(i)],
                     z = zValues_.values[std::size_t(i)];
        if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) continue;
        if (!any) minX = x, minZ = z;
        minX = std::min(minX, x);
        minZ = std::min(minZ, z);
        any = true;
    }
    if (!any) return;
    for (int i = 0; i < n; ++i) {
        const double x = xValues_.values[std::size_t(i)], y = yValues_.values[std::size_t(i)],
                     z = zValues_.values[std::size_t(i)];
        if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) continue;
        const int col = gridCellOf(x, minX), row = gridCellOf(z, minZ);
        if (col == 0 || row == 0) continue;
        auto& column = grid_[std::size_t(col)];
        if (column.empty()) column.assign(std::size_t(kMaxGrid) + 1, -1);
        column[std::size_t(row)] = i;
        numX_ = std::max(numX_, col);
        numZ_ = std::max(numZ_, row);
    }
}

int TCustom3DGridSeries::GridIndex(int column, int row) const {
    if (column < 1 || column > kMaxGrid || row < 1 || row > kMaxGrid) return -1;
    if (std::size_t(column) >= grid_.size()) return -1;
    const auto& c = grid_[std::size_t(column)];
    return c.empty() ? -1 : c[std::size_t(row)];
}

void TCustom3DGridSeries::SetUseColorRange(bool on) {
    useColorRange_ = on;
    Changed();
}
void TCustom3DGridSeries::SetUsePalette(bool on) {
    usePalette_ = on;
    Changed();
}
void TCustom3DGridSeries::SetStartColor(const QColor& c) {
    startColor_ = c;
    Changed();
}
void TCustom3DGridSeries::SetEndColor(const QColor& c) {
    endColor_ = c;
    Changed();
}
bool TCustom3DGridSeries::SetPaletteSteps(int n) {
    if (n < 1 || n > kMaxPaletteSteps) return false;
    paletteSteps_ = n;
    Changed();
    return true;
}

bool TCustom3DGridSeries::AddPalette(double upToValue, const QColor& color) {
    if (!std::isfinite(upToValue)) return false;
    if (paletteIsDefault_) palette_.clear();
    paletteIsDefault_ = false;
    const auto at = std::upper_bound(palette_.begin(), palette_.end(), upToValue,
                                     [](double v, const TPaletteEntry& e) { return v < e.upToValue; });
    palette_.insert(at, TPaletteEntry{upToValue, color});
    Changed();
    return true;
}

void TCustom3DGridSeries::ClearPalette() {
    palette_.clear();
    paletteIsDefault_ = true;
    Changed();
}

void TCustom3DGridSeries::CreateDefaultPalette(int steps) {
    BuildDefaultPalette(steps);
    Changed();
}

void TCustom3DGridSeries::BuildDefaultPalette(int steps) const {
    steps = std::clamp(steps, 1, kMaxPaletteSteps);
    palette_.clear();
    double lo = 0, hi = 0;
    if (heightRange(yValues_.values, lo, hi)) {
        if (hi == lo) steps = 1;
        for (int i = 0; i < steps; ++i) {
            const double t = steps > 1 ? double(i) / (steps - 1) : 1.0;
            // Blue for the lowest band through green and yellow to red for the highest.
            const double upTo = i == steps - 1 ? hi : lo + (i + 1) * (hi - lo) / steps;
            palette_.push_back({upTo, QColor::fromHsv(int(std::lround(240.0 * (1.0 - t))), 255, 255)});
        }
    }
}

void TCustom3DGridSeries::PrepareDrawing() const {
    // Without a change notice: it runs inside a paint, where one would ask for the next paint.
    if (paletteIsDefault_) BuildDefaultPalette(paletteSteps_);
}

QColor TCustom3DGridSeries::ColorOfValue(double y) const {
    double lo = 0, hi = 0;
    if (!heightRange(yValues_.values, lo, hi)) lo = hi = 0;
    return ColorOfValue(y, lo, hi);
}

QColor TCustom3DGridSeries::ColorOfValue(double y, double minY, double maxY) const {
    if (useColorRange_) {
        double t = maxY > minY ? (y - minY) / (maxY - minY) : 0.0;
        if (!std::isfinite(t)) t = 0.0;
        t = std::clamp(t, 0.0, 1.0);
        return QColor(mixComponent(startColor_.red(), endColor_.red(), t),
                      mixComponent(startColor_.green(), endColor_.green(), t),
                      mixComponent(startColor_.blue(), endColor_.blue(), t));
    }
    if (usePalette_ && !palette_.empty()) {
        for (const TPaletteEntry& e : palette_)
            if (e.upToValue >= y) return e.color;
        return palette_.back().color;
    }
    return color_;
}

std::vector<TGridLegendItem> TCustom3DGridSeries::LegendItems() const {
    PrepareDrawing();
    std::vector<TGridLegendItem> items;
    for (auto it = palette_.rbegin(); it != palette_.rend(); ++it) items.push_back({it->color, legendValueText(it->upToValue, ParentChart() ? ParentChart()->NumberLocale() : QLocale())});
    return items;
}

void TCustom3DGridSeries::DrawLegendSymbol(QPainter& p, const QRectF& r, double unit) const {
    // A strip of the colours from the highest height at the top to the lowest at the bottom.
    double lo = 0, hi = 0;
    if (!heightRange(yValues_.values, lo, hi)) {
        TChartSeries::DrawLegendSymbol(p, r, unit);
        return;
    }
    PrepareDrawing();
    const QRectF box = r.adjusted(r.width() * 0.2, r.height() * 0.15, -r.width() * 0.2, -r.height() * 0.15);
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    for (int k = 0; k <= 8; ++k) g.setColorAt(k / 8.0, ColorOfValue(hi - (hi - lo) * k / 8.0, lo, hi));
    p.setPen(QPen(Qt::black, std::max(1.0, unit)));
    p.setBrush(g);
    p.drawRect(box);
}

void TCustom3DGridSeries::Assign(const TChartSeries& src) {
    if (auto* o = dynamic_cast<const TCustom3DGridSeries*>(&src)) {
        numX_ = o->numX_;
        numZ_ = o->numZ_;
        palette_ = o->palette_;
        paletteIsDefault_ = o->paletteIsDefault_;
        paletteSteps_ = o->paletteSteps_;
        useColorRange_ = o->useColorRange_;
        usePalette_ = o->usePalette_;
        startColor_ = o->startColor_;
        endColor_ = o->endColor_;
        OnGetYValue = o->OnGetYValue;
    }
    grid_.clear();
    TCustom3DSeries::Assign(src);
}

bool TCustom3DGridSeries::UnitOf(const TChartDrawContext& ctx, double x, double y, double z, double& u, double& v,
                                 double& w) {
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return false;
    u = ctx.x.Frac(x);
    v = ctx.y.Frac(y);
    w = ctx.Is3D() ? ctx.z.Frac(z) : 0.0;
    return true;
}

// ---------------------------------------------------------------- TSurfaceSeries

TSurfaceSeries::TSurfaceSeries(QObject* parent) : TCustom3DGridSeries(parent) { pen_.color = Qt::black; }

void TSurfaceSeries::SetBrushStyle(Qt::BrushStyle s) {
    brushStyle_ = s;
    Changed();
}
void TSurfaceSeries::SetWireFrame(bool on) {
    wireFrame_ = on;
    Changed();
}
void TSurfaceSeries::SetDotFrame(bool on) {
    dotFrame_ = on;
    Changed();
}

bool TSurfaceSeries::CellCorners(int column, int row, int corners[4]) const {
    corners[0] = GridIndex(column, row);
    corners[1] = GridIndex(column - 1, row);
    corners[2] = GridIndex(column - 1, row - 1);
    corners[3] = GridIndex(column, row - 1);
    return corners[0] >= 0 && corners[1] >= 0 && corners[2] >= 0 && corners[3] >= 0;
}

std::vector<TSurfaceSeries::Cell> TSurfaceSeries::CellOrder(const TChartDrawContext& ctx) const {
    std::vector<Cell> cells;
    if (numX_ < 2 || numZ_ < 2) return cells;
    // Left to right: forward unless the bottom axis runs the other way. Far rows first: a
    // larger Z is farther unless the depth axis is inverted.
    const bool colsForward = !ctx.x.inverted;
    const bool rowsForward = ctx.z.inverted;
    int corners[4];
    for (int rk = 0; rk < numZ_ - 1; ++rk) {
        const int row = rowsForward ? 2 + rk : numZ_ - rk;
        for (int ck = 0; ck < numX_ - 1; ++ck) {
            const int col = colsForward ? 2 + ck : numX_ - ck;
            if (CellCorners(col, row, corners)) cells.push_back({col, row});
        }
    }
    return cells;
}

QColor TSurfaceSeries::CellColor(int column, int row, double minY, double maxY) const {
    int c[4];
    if (!CellCorners(column, row, c)) return color_;
    double mean = 0;
    for (int k : c) mean += yValues_.values[std::size_t(k)];
    QColor col = ColorOfValue(mean / 4.0, minY, maxY);
    if (OnGetColor) OnGetColor(const_cast<TSurfaceSeries*>(this), c[0], col);
    return col;
}

void TSurfaceSeries::DrawCell(TChartDrawContext& ctx, int column, int row, double minY, double maxY) const {
    int c[4];
    if (!CellCorners(column, row, c)) return;
    QPolygonF quad;
    double su = 0, sv = 0, sw = 0;
    for (int k : c) {
        double u, v, w;
        if (!UnitOf(ctx, XValue(k), YValue(k), ZValue(k), u, v, w)) return;
        quad << (ctx.Is3D() ? ctx.ProjectUnit(u, v, w) : ctx.Pos(XValue(k), YValue(k)));
        su += u, sv += v, sw += w;
    }
    const QColor col = CellColor(column, row, minY, maxY);
    const bool fill = !wireFrame_ && !dotFrame_ && brushStyle_ != Qt::NoBrush;
    const bool outline = wireFrame_ || (pen_.visible && pen_.style != Qt::NoPen);
    QPen pen(Qt::NoPen);
    if (wireFrame_) {
        TChartPen wp = pen_;
        wp.color = col;
        if (wp.style == Qt::NoPen) wp.style = Qt::SolidLine;
        pen = PenFor(wp, col, ctx.unit);
    } else if (outline) {
        pen = PenFor(pen_, Qt::black, ctx.unit);
    }
    const bool dots = dotFrame_;
    const double dotR = std::max(1.0, 1.5 * ctx.unit);
    const Qt::BrushStyle style = brushStyle_;
    ctx.PaintAtDepth(ctx.ViewDepth(su / 4, sv / 4, sw / 4), [quad, col, fill, outline, pen, dots, dotR, style](QPainter& p) {
        p.setPen(outline ? pen : QPen(Qt::NoPen));
        p.setBrush(fill ? QBrush(col, style) : QBrush(Qt::NoBrush));
        if (fill || outline) p.drawPolygon(quad);
        if (dots) {
            p.setPen(Qt::NoPen);
            p.setBrush(col);
            for (const QPointF& q : quad) p.drawEllipse(q, dotR, dotR);
        }
    });
}

void TSurfaceSeries::Draw(TChartDrawContext& ctx) const {
    PrepareDrawing();
    FillGridIndex();
    double lo = 0, hi = 0;
    if (!heightRange(yValues_.values, lo, hi)) return;
    for (const Cell& cell : CellOrder(ctx)) DrawCell(ctx, cell.column, cell.row, lo, hi);
}

void TSurfaceSeries::Assign(const TChartSeries& src) {
    if (auto* o = dynamic_cast<const TSurfaceSeries*>(&src)) {
        pen_ = o->pen_;
        brushStyle_ = o->brushStyle_;
        wireFrame_ = o->wireFrame_;
        dotFrame_ = o->dotFrame_;
        OnGetColor = o->OnGetColor;
    }
    TCustom3DGridSeries::Assign(src);
}

void TSurfaceSeries::ScaleSizes(double f) { pen_.width = ScaledSize(pen_.width, f); }

// ---------------------------------------------------------------- TContourSeries

TContourSeries::TContourSeries(QObject* parent) : TCustom3DGridSeries(parent) {}

bool TContourSeries::SetNumLevels(int n) {
    if (n < 0 || n > kMaxLevels) return false;
    numLevels_ = n;
    Changed();
    return true;
}

bool TContourSeries::SetYPosition(double y) {
    if (!std::isfinite(y)) return false;
    yPosition_ = y;
    Changed();
    return true;
}

void TContourSeries::SetYPositionLevel(bool on) {
    yPositionLevel_ = on;
    Changed();
}

void TContourSeries::SetColorEachPoint(bool on) {
    colorEachPoint_ = on;
    Changed();
}

std::vector<TContourLevel> TContourSeries::Levels() const {
    std::vector<TContourLevel> levels;
    double lo = 0, hi = 0;
    if (numLevels_ <= 0 || !heightRange(yValues_.values, lo, hi)) return levels;
    for (int i = 0; i < numLevels_; ++i) {
        TContourLevel l;
        l.upToValue = lo + i * (hi - lo) / numLevels_;
        if (colorEachPoint_) l.color = chartDefaultColor(i);
        else if (useColorRange_ || usePalette_) l.color = ColorOfValue(l.upToValue, lo, hi);
        else l.color = color_;
        if (OnGetLevel) OnGetLevel(const_cast<TContourSeries*>(this), i, l.upToValue, l.color);
        levels.push_back(l);
    }
    return levels;
}

std::vector<TContourSegment> TContourSeries::Segments(const std::vector<TContourLevel>& levels) const {
    std::vector<TContourSegment> out;
    if (numX_ < 2 || numZ_ < 2) return out;
    auto vertexOf = [&](int i) {
        return Vertex{xValues_.values[std::size_t(i)], zValues_.values[std::size_t(i)], yValues_.values[std::size_t(i)]};
    };
    for (int row = 2; row <= numZ_; ++row) {
        for (int col = 2; col <= numX_; ++col) {
            const int idx[4] = {GridIndex(col - 1, row - 1), GridIndex(col, row - 1), GridIndex(col, row),
                                GridIndex(col - 1, row)};
            if (idx[0] < 0 || idx[1] < 0 || idx[2] < 0 || idx[3] < 0) continue;
            Vertex v[4];
            Vertex centre{0, 0, 0};
            for (int k = 0; k < 4; ++k) {
                v[k] = vertexOf(idx[k]);
                centre.x += 0.25 * v[k].x;
                centre.z += 0.25 * v[k].z;
                centre.h += 0.25 * v[k].h;
            }
            double lo = centre.h, hi = centre.h;
            for (const Vertex& q : v) lo = std::min(lo, q.h), hi = std::max(hi, q.h);
            for (int li = 0; li < int(levels.size()); ++li) {
                const double L = levels[std::size_t(li)].upToValue;
                if (!std::isfinite(L) || L < lo || L > hi) continue;  // the level misses the cell
                for (int t = 0; t < 4; ++t) {
                    const Vertex tri[3] = {v[t], v[(t + 1) % 4], centre};
                    double d[3];
                    int zeros = 0;
                    for (int k = 0; k < 3; ++k) {
                        d[k] = tri[k].h - L;
                        if (d[k] == 0.0) ++zeros;
                    }
                    auto cross = [&](int a, int b) {
                        const double s = d[a] / (d[a] - d[b]);
                        return std::pair<double, double>{tri[a].x + s * (tri[b].x - tri[a].x), tri[a].z + s * (tri[b].z - tri[a].z)};
                    };
                    auto add = [&](std::pair<double, double> p, std::pair<double, double> q) {
                        out.push_back({li, p.first, p.second, q.first, q.second});
                    };
                    if (zeros == 3) continue;  // a flat triangle at the level has no line
                    if (zeros == 2) {
                        // Through two vertices: the edge between them.
                        int a = -1, b = -1;
                        for (int k = 0; k < 3; ++k)
                            if (d[k] == 0.0) (a < 0 ? a : b) = k;
                        add({tri[a].x, tri[a].z}, {tri[b].x, tri[b].z});
                    } else if (zeros == 1) {
                        // Through a vertex and the opposite edge, when that edge crosses the level.
                        int k0 = 0;
                        while (d[k0] != 0.0) ++k0;
                        const int a = (k0 + 1) % 3, b = (k0 + 2) % 3;
                        if ((d[a] < 0) != (d[b] < 0)) add({tri[k0].x, tri[k0].z}, cross(a, b));
                    } else {
                        // Across the two edges whose ends lie on either side.
                        std::pair<double, double> pts[2];
                        int n = 0;
                        for (int k = 0; k < 3; ++k) {
                            const int a = k, b = (k + 1) % 3;
                            if ((d[a] < 0) != (d[b] < 0) && n < 2) pts[n++] = cross(a, b);
                        }
                        if (n == 2) add(pts[0], pts[1]);
                    }
                }
            }
        }
    }
    return out;
}

bool TContourSeries::FlatChart() const {
    const TChart* c = ParentChart();
    return c && !c->View3D();
}

double TContourSeries::MinYValue() const { return FlatChart() ? MinZValue() : TCustom3DGridSeries::MinYValue(); }
double TContourSeries::MaxYValue() const { return FlatChart() ? MaxZValue() : TCustom3DGridSeries::MaxYValue(); }

void TContourSeries::Draw(TChartDrawContext& ctx) const {
    if (!pen_.visible || pen_.style == Qt::NoPen) return;
    PrepareDrawing();
    FillGridIndex();
    const std::vector<TContourLevel> levels = Levels();
    for (const TContourSegment& s : Segments(levels)) {
        const TContourLevel& l = levels[std::size_t(s.level)];
        const double h = yPositionLevel_ ? l.upToValue : yPosition_;
        QPointF a, b;
        double depth = 0;
        if (ctx.Is3D()) {
            double u0, v0, w0, u1, v1, w1;
            if (!UnitOf(ctx, s.x0, h, s.z0, u0, v0, w0) || !UnitOf(ctx, s.x1, h, s.z1, u1, v1, w1)) continue;
            a = ctx.ProjectUnit(u0, v0, w0);
            b = ctx.ProjectUnit(u1, v1, w1);
            depth = ctx.ViewDepth((u0 + u1) / 2, (v0 + v1) / 2, (w0 + w1) / 2);
        } else {
            // Flat: a map with Z up the vertical axis.
            a = ctx.Pos(s.x0, s.z0);
            b = ctx.Pos(s.x1, s.z1);
        }
        TChartPen lp = pen_;
        lp.color = l.color;
        const QPen pen = PenFor(lp, l.color, ctx.unit);
        ctx.PaintAtDepth(depth, [pen, a, b](QPainter& p) {
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            p.drawLine(a, b);
        });
    }
}

void TContourSeries::DrawLegendSymbol(QPainter& p, const QRectF& r, double unit) const {
    // Three short level lines, the lowest at the bottom, in the levels' colours.
    const std::vector<TContourLevel> levels = Levels();
    if (levels.empty()) {
        TChartSeries::DrawLegendSymbol(p, r, unit);
        return;
    }
    const int shown = std::min<int>(3, int(levels.size()));
    for (int k = 0; k < shown; ++k) {
        const TContourLevel& l = levels[std::size_t(k * (int(levels.size()) - 1) / std::max(1, shown - 1))];
        TChartPen lp = pen_;
        lp.color = l.color;
        lp.width = std::max(2, lp.width);
        p.setPen(PenFor(lp, l.color, unit));
        const double y = r.bottom() - r.height() * (k + 1) / (shown + 1);
        p.drawLine(QPointF(r.left() + 2 * unit, y), QPointF(r.right() - 2 * unit, y));
    }
}

void TContourSeries::Assign(const TChartSeries& src) {
    if (auto* o = dynamic_cast<const TContourSeries*>(&src)) {
        numLevels_ = o->numLevels_;
        yPosition_ = o->yPosition_;
        yPositionLevel_ = o->yPositionLevel_;
        pen_ = o->pen_;
        colorEachPoint_ = o->colorEachPoint_;
        OnGetLevel = o->OnGetLevel;
    }
    TCustom3DGridSeries::Assign(src);
}

void TContourSeries::ScaleSizes(double f) { pen_.width = ScaledSize(pen_.width, f); }

}  // namespace platform
