#include "platform/ChartSeries.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>

#include "platform/Chart.h"

namespace platform {

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

int scaled(int v, double f) {
    const double r = std::nearbyint(double(v) * f);
    if (!std::isfinite(r)) return v;
    return int(std::clamp(r, 1.0, 10000.0));
}

QPen makePen(const TChartPen& p, const QColor& fallback, double unit) {
    if (!p.visible || p.style == Qt::NoPen) return Qt::NoPen;
    QPen pen(p.color.isValid() ? p.color : fallback);
    pen.setWidthF(std::max(1.0, p.width * unit));
    pen.setStyle(p.style);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

bool finite2(double a, double b) { return std::isfinite(a) && std::isfinite(b); }
}  // namespace

QColor colorFromWin(uint32_t value) {
    if (value == kSeriesColor) return QColor();
    if (value & 0x80000000u) {
        const QPalette pal = QApplication::palette();
        switch (value & 0xFFu) {
            case 0x05: return pal.color(QPalette::Base);        // window
            case 0x08: return pal.color(QPalette::Text);        // window text
            case 0x0D: return pal.color(QPalette::Highlight);
            case 0x0E: return pal.color(QPalette::HighlightedText);
            case 0x12: return pal.color(QPalette::ButtonText);
            case 0x0F:                                          // button face
            default: return pal.color(QPalette::Button);
        }
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

uint32_t colorToWin(const QColor& c) {
    if (!c.isValid()) return kSeriesColor;
    return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16);
}

// ---------------------------------------------------------------- TChartSeries

TChartSeries::TChartSeries(QObject* parent) : QObject(parent) {}
TChartSeries::~TChartSeries() = default;

TChart* TChartSeries::ParentChart() const { return qobject_cast<TChart*>(parent()); }

void TChartSeries::Changed() {
    if (TChart* c = ParentChart()) c->Changed();
}

void TChartSeries::RegisterValueList(TChartValueList* list) {
    list->values.assign(xValues_.values.size(), 0.0);
    extraLists_.push_back(list);
}

int TChartSeries::AddXY(double x, double y, const QString& label, uint32_t color) {
    std::size_t at = xValues_.values.size();
    if (xValues_.order == TValueOrder::Ascending && std::isfinite(x)) {
        // After every point of smaller or equal X; non-finite X values sit where they were added.
        while (at > 0) {
            const double prev = xValues_.values[at - 1];
            if (!std::isfinite(prev) || prev <= x) break;
            --at;
        }
    }
    xValues_.values.insert(xValues_.values.begin() + std::ptrdiff_t(at), x);
    yValues_.values.insert(yValues_.values.begin() + std::ptrdiff_t(at), y);
    for (TChartValueList* l : extraLists_) l->values.insert(l->values.begin() + std::ptrdiff_t(at), 0.0);
    labels_.insert(int(at), label);
    colors_.insert(colors_.begin() + std::ptrdiff_t(at), color);
    Changed();
    return int(at);
}

void TChartSeries::AddXYs(std::span<const QPointF> points) {
    if (points.empty()) return;
    const std::size_t first = xValues_.values.size();
    const std::size_t n = first + points.size();
    xValues_.values.reserve(n);
    yValues_.values.reserve(n);
    for (const QPointF& pt : points) {
        xValues_.values.push_back(pt.x());
        yValues_.values.push_back(pt.y());
    }
    for (TChartValueList* l : extraLists_) l->values.resize(n, 0.0);
    labels_.resize(qsizetype(n));
    colors_.resize(n, kSeriesColor);
    if (xValues_.order == TValueOrder::Ascending) SortAddedFrom(first);
    Changed();
}

void TChartSeries::SortAddedFrom(std::size_t first) {
    const std::vector<double>& x = xValues_.values;
    const std::size_t n = x.size();
    std::size_t a = first;
    while (a < n) {
        // A non-finite X stays where it was added and starts a new stretch after it.
        if (!std::isfinite(x[a])) {
            ++a;
            continue;
        }
        std::size_t b = a;
        bool inOrder = true;
        double least = x[a];
        double prev = a == first && first > 0 && std::isfinite(x[first - 1]) ? x[first - 1] : -std::numeric_limits<double>::infinity();
        for (; b < n && std::isfinite(x[b]); ++b) {
            if (x[b] < prev) inOrder = false;
            prev = x[b];
            least = std::min(least, x[b]);
        }
        if (!inOrder) {
            // The stretch of the first added point joins the sorted points before it; only
            // those above the least new X move.
            std::size_t start = a;
            if (a == first)
                while (start > 0 && std::isfinite(x[start - 1]) && x[start - 1] > least) --start;
            std::vector<std::size_t> order(b - start);
            std::iota(order.begin(), order.end(), start);
            std::stable_sort(order.begin(), order.end(), [&x](std::size_t i, std::size_t j) { return x[i] < x[j]; });
            auto permute = [&](auto& values) {
                using V = std::decay_t<decltype(values[0])>;
                std::vector<V> moved;
                moved.reserve(order.size());
                for (std::size_t i : order) moved.push_back(std::move(values[qsizetype(i)]));
                std::move(moved.begin(), moved.end(), values.begin() + qsizetype(start));
            };
            permute(yValues_.values);
            for (TChartValueList* l : extraLists_) permute(l->values);
            permute(labels_);
            permute(colors_);
            permute(xValues_.values);
        }
        a = b;
    }
}

int TChartSeries::Add(double y, const QString& label, uint32_t color) {
    return AddXY(double(Count()), y, label, color);
}

void TChartSeries::Clear() {
    xValues_.values.clear();
    yValues_.values.clear();
    for (TChartValueList* l : extraLists_) l->values.clear();
    labels_.clear();
    colors_.clear();
    Changed();
}

void TChartSeries::Delete(int i) {
    if (i < 0 || i >= Count()) return;
    xValues_.values.erase(xValues_.values.begin() + i);
    yValues_.values.erase(yValues_.values.begin() + i);
    for (TChartValueList* l : extraLists_) l->values.erase(l->values.begin() + i);
    labels_.removeAt(i);
    colors_.erase(colors_.begin() + i);
    Changed();
}

double TChartSeries::XValue(int i) const { return i >= 0 && i < Count() ? xValues_.values[std::size_t(i)] : kNaN; }
double TChartSeries::YValue(int i) const { return i >= 0 && i < Count() ? yValues_.values[std::size_t(i)] : kNaN; }
void TChartSeries::SetXValue(int i, double v) {
    if (i < 0 || i >= Count()) return;
    xValues_.values[std::size_t(i)] = v;
    Changed();
}
void TChartSeries::SetYValue(int i, double v) {
    if (i < 0 || i >= Count()) return;
    yValues_.values[std::size_t(i)] = v;
    Changed();
}
QString TChartSeries::Label(int i) const { return i >= 0 && i < Count() ? labels_[i] : QString(); }
uint32_t TChartSeries::ValueColorWin(int i) const { return i >= 0 && i < Count() ? colors_[std::size_t(i)] : kSeriesColor; }
QColor TChartSeries::ValueColor(int i) const {
    const uint32_t c = ValueColorWin(i);
    return c == kSeriesColor ? color_ : colorFromWin(c);
}
void TChartSeries::SetValueColor(int i, uint32_t color) {
    if (i < 0 || i >= Count()) return;
    colors_[std::size_t(i)] = color;
    Changed();
}

void TChartSeries::SetTitle(const QString& t) {
    title_ = t;
    Changed();
}
void TChartSeries::SetActive(bool on) {
    if (active_ == on) return;
    active_ = on;
    Changed();
}
void TChartSeries::SetShowInLegend(bool on) {
    showInLegend_ = on;
    Changed();
}
void TChartSeries::SetSeriesColor(const QColor& c) {
    color_ = c;
    Changed();
}

double TChartSeries::ExtremeOf(const TChartValueList& l, bool max) const {
    double r = kNaN;
    for (double v : l.values) {
        if (!std::isfinite(v)) continue;
        if (std::isnan(r) || (max ? v > r : v < r)) r = v;
    }
    return r;
}

double TChartSeries::MinXValue() const { return ExtremeOf(xValues_, false); }
double TChartSeries::MaxXValue() const { return ExtremeOf(xValues_, true); }
double TChartSeries::MinYValue() const { return ExtremeOf(yValues_, false); }
double TChartSeries::MaxYValue() const { return ExtremeOf(yValues_, true); }
double TChartSeries::MinZValue() const { return kNaN; }
double TChartSeries::MaxZValue() const { return kNaN; }

int TChartSeries::FirstValueIndex() const {
    const TChart* c = ParentChart();
    if (!c) return Count() > 0 ? 0 : -1;
    const_cast<TChart*>(c)->AdjustAxes();  // the range as the next drawing will show it
    double lo, hi;
    c->BottomAxis().DrawRange(lo, hi);
    for (int i = 0; i < Count(); ++i) {
        const double x = xValues_.values[std::size_t(i)];
        if (std::isfinite(x) && x >= lo && x <= hi) return i;
    }
    return -1;
}

int TChartSeries::LastValueIndex() const {
    const TChart* c = ParentChart();
    if (!c) return Count() - 1;
    const_cast<TChart*>(c)->AdjustAxes();
    double lo, hi;
    c->BottomAxis().DrawRange(lo, hi);
    for (int i = Count() - 1; i >= 0; --i) {
        const double x = xValues_.values[std::size_t(i)];
        if (std::isfinite(x) && x >= lo && x <= hi) return i;
    }
    return -1;
}

TChartSeries* TChartSeries::Clone() const {
    TChartSeries* s = NewInstance();
    s->Assign(*this);
    return s;
}

void TChartSeries::Assign(const TChartSeries& src) {
    setObjectName(src.objectName());
    title_ = src.title_;
    color_ = src.color_;
    active_ = src.active_;
    showInLegend_ = src.showInLegend_;
    xValues_ = src.xValues_;
    yValues_ = src.yValues_;
    labels_ = src.labels_;
    colors_ = src.colors_;
    // Extra lists by name, so a kind copies its own lists from the same kind only; others are
    // filled with zeros to stay index-parallel.
    for (TChartValueList* l : extraLists_) {
        auto it = std::find_if(src.extraLists_.begin(), src.extraLists_.end(),
                               [&](const TChartValueList* o) { return o->name == l->name; });
        if (it != src.extraLists_.end()) l->values = (*it)->values;
        else l->values.assign(xValues_.values.size(), 0.0);
    }
    Changed();
}

void TChartSeries::DrawLegendSymbol(QPainter& p, const QRectF& r, double unit) const {
    p.fillRect(r.adjusted(r.width() * 0.2, r.height() * 0.2, -r.width() * 0.2, -r.height() * 0.2), color_);
}

int TChartSeries::Clicked(const TChartDrawContext& ctx, QPointF pos) const {
    const double tol = 4.0 * ctx.unit;
    for (int i = 0; i < Count(); ++i) {
        const double x = xValues_.values[std::size_t(i)], y = yValues_.values[std::size_t(i)];
        if (!finite2(x, y)) continue;
        const QPointF s = ctx.Pos(x, y);
        if (std::abs(s.x() - pos.x()) <= tol && std::abs(s.y() - pos.y()) <= tol) return i;
    }
    return -1;
}

void TChartSeries::ScaleSizes(double) {}

QPen TChartSeries::PenFor(const TChartPen& pen, const QColor& fallback, double unit) { return makePen(pen, fallback, unit); }
int TChartSeries::ScaledSize(int v, double f) { return scaled(v, f); }

void TChartSeries::DrawPointer(QPainter& p, const TSeriesPointer& ptr, QPointF c, const QColor& fill, double unit) {
    if (!ptr.visible || ptr.style == TPointerStyle::Nothing) return;
    const double hx = std::max(1.0, ptr.horizSize * unit), hy = std::max(1.0, ptr.vertSize * unit);
    p.setPen(makePen(ptr.pen, Qt::black, unit));
    p.setBrush(fill);
    const QRectF box(c.x() - hx, c.y() - hy, 2 * hx, 2 * hy);
    switch (ptr.style) {
        case TPointerStyle::Rectangle: p.drawRect(box); break;
        case TPointerStyle::Circle: p.drawEllipse(box); break;
        case TPointerStyle::Triangle:
            p.drawPolygon(QPolygonF{{c.x() - hx, c.y() + hy}, {c.x() + hx, c.y() + hy}, {c.x(), c.y() - hy}});
            break;
        case TPointerStyle::DownTriangle:
            p.drawPolygon(QPolygonF{{c.x() - hx, c.y() - hy}, {c.x() + hx, c.y() - hy}, {c.x(), c.y() + hy}});
            break;
        case TPointerStyle::Diamond:
            p.drawPolygon(QPolygonF{{c.x(), c.y() - hy}, {c.x() + hx, c.y()}, {c.x(), c.y() + hy}, {c.x() - hx, c.y()}});
            break;
        case TPointerStyle::Cross:
            p.setPen(QPen(fill, std::max(1.0, unit)));
            p.drawLine(QPointF(c.x() - hx, c.y()), QPointF(c.x() + hx, c.y()));
            p.drawLine(QPointF(c.x(), c.y() - hy), QPointF(c.x(), c.y() + hy));
            break;
        case TPointerStyle::DiagCross:
            p.setPen(QPen(fill, std::max(1.0, unit)));
            p.drawLine(box.topLeft(), box.bottomRight());
            p.drawLine(box.bottomLeft(), box.topRight());
            break;
        case TPointerStyle::Star:
            p.setPen(QPen(fill, std::max(1.0, unit)));
            p.drawLine(QPointF(c.x() - hx, c.y()), QPointF(c.x() + hx, c.y()));
            p.drawLine(QPointF(c.x(), c.y() - hy), QPointF(c.x(), c.y() + hy));
            p.drawLine(box.topLeft(), box.bottomRight());
            p.drawLine(box.bottomLeft(), box.topRight());
            break;
        case TPointerStyle::SmallDot:
            p.setPen(Qt::NoPen);
            p.drawEllipse(c, std::max(1.0, unit), std::max(1.0, unit));
            break;
        case TPointerStyle::Nothing: break;
    }
}

namespace {
// From this many points on, markers on a raster are stamped (below it each is drawn).
constexpr int kStampFrom = 1000;
constexpr int kSubSteps = 16;  // steps per pixel at which a stamped marker may sit

// The screen or an image at one device pixel per unit, moved by whole pixels at most: a
// stamp placed on whole pixels lands exactly where the painter would have drawn.
bool stampable(const QPainter& p) {
    const QPaintDevice* d = p.device();
    if (!d) return false;
    const int type = d->devType();
    if (type != QInternal::Widget && type != QInternal::Image && type != QInternal::Pixmap) return false;
    if (d->devicePixelRatioF() != 1.0) return false;
    const QTransform t = p.deviceTransform();
    return t.type() <= QTransform::TxTranslate && t.dx() == std::floor(t.dx()) && t.dy() == std::floor(t.dy());
}
}  // namespace

// Pictures of one marker at every sixteenth-of-a-pixel offset, per colour, made when first used.
struct TChartSeries::MarkerCache {
    struct Stamps {
        QColor colour;
        std::array<QImage, kSubSteps * kSubSteps> images;
    };
    TSeriesPointer pointer;
    double unit = 0.0;
    bool antialiased = true;
    int origin = 0;  // the marker's centre in a picture at offset 0
    std::vector<Stamps> colours;

    int slotOf(const QColor& fill) {
        for (std::size_t k = 0; k < colours.size(); ++k)
            if (colours[k].colour == fill) return int(k);
        if (colours.size() >= 8) colours.clear();
        colours.push_back({fill, {}});
        return int(colours.size()) - 1;
    }
    const QImage& stamp(int slot, int qx, int qy) {
        Stamps& s = colours[std::size_t(slot)];
        QImage& img = s.images[std::size_t(qy * kSubSteps + qx)];
        if (img.isNull()) {
            img = QImage(2 * origin, 2 * origin, QImage::Format_ARGB32_Premultiplied);
            img.fill(Qt::transparent);
            QPainter p(&img);
            p.setRenderHint(QPainter::Antialiasing, antialiased);
            TChartSeries::DrawPointer(p, pointer, QPointF(origin + double(qx) / kSubSteps, origin + double(qy) / kSubSteps),
                                      s.colour, unit);
        }
        return img;
    }
};

void TChartSeries::DrawPointers(TChartDrawContext& ctx, const TSeriesPointer& ptr) const {
    if (!ptr.visible || ptr.style == TPointerStyle::Nothing) return;
    QPainter& p = *ctx.painter;
    const int n = Count();
    const std::vector<double>& xs = xValues_.values;
    const std::vector<double>& ys = yValues_.values;
    if (n < kStampFrom || ctx.Is3D() || !stampable(p)) {
        for (int i = 0; i < n; ++i) {
            const double x = xs[std::size_t(i)], y = ys[std::size_t(i)];
            if (finite2(x, y)) DrawPointer(p, ptr, ctx.Pos(x, y), ValueColor(i), ctx.unit);
        }
        return;
    }
    const bool antialiased = p.testRenderHint(QPainter::Antialiasing);
    if (!markerCache_ || !(markerCache_->pointer == ptr) || markerCache_->unit != ctx.unit ||
        markerCache_->antialiased != antialiased) {
        markerCache_ = std::make_unique<MarkerCache>();
        markerCache_->pointer = ptr;
        markerCache_->unit = ctx.unit;
        markerCache_->antialiased = antialiased;
        const double half = std::max({1.0, ptr.horizSize * ctx.unit, ptr.vertSize * ctx.unit});
        const double pen = std::max(1.0, ptr.pen.width * ctx.unit);
        markerCache_->origin = int(std::ceil(half + pen)) + 2;
    }
    MarkerCache& cache = *markerCache_;
    const int o = cache.origin;
    // Centres whose stamp can reach into the clip (the plot and a margin for edge markers).
    const int margin = o + int(std::ceil(5 * ctx.unit));
    const QRectF area = QRectF(ctx.plotRect).adjusted(-margin, -margin, margin, margin);
    for (int i = 0; i < n; ++i) {
        const double x = xs[std::size_t(i)], y = ys[std::size_t(i)];
        if (!finite2(x, y)) continue;
        const QPointF c = ctx.Pos(x, y);
        if (!area.contains(c)) continue;
        double fx = std::floor(c.x()), fy = std::floor(c.y());
        int qx = int(std::lround((c.x() - fx) * kSubSteps)), qy = int(std::lround((c.y() - fy) * kSubSteps));
        if (qx == kSubSteps) qx = 0, fx += 1;
        if (qy == kSubSteps) qy = 0, fy += 1;
        p.drawImage(QPointF(fx - o, fy - o), cache.stamp(cache.slotOf(ValueColor(i)), qx, qy));
    }
}

// ---------------------------------------------------------------- line kinds

namespace {
// Polyline through the finite points in index order; a non-finite point ends a stretch.
// A wide solid line of this many points and more goes out in pieces of kPiece points, each
// piece starting with the last segment of the one before (so every join is drawn, the
// pieces' flat ends lying inside a segment drawn whole by its neighbour): one stroke
// through tens of thousands of points costs the rasterizer far more than its pieces do.
constexpr qsizetype kPiecesFrom = 2048;
constexpr qsizetype kPiece = 256;

void drawPolyline(TChartDrawContext& ctx, const TChartSeries& s) {
    QPolygonF run;
    const QPen pen = ctx.painter->pen();
    const bool pieces = pen.style() == Qt::SolidLine && pen.widthF() > 1.0;
    auto flush = [&] {
        if (pieces && run.size() >= kPiecesFrom) {
            for (qsizetype from = 0; from + 1 < run.size(); from += kPiece - 2) {
                const qsizetype n = std::min(kPiece, run.size() - from);
                ctx.painter->drawPolyline(run.constData() + from, int(n));
            }
        } else if (run.size() >= 2) {
            ctx.painter->drawPolyline(run);
        }
        run.clear();
    };
    for (int i = 0; i < s.Count(); ++i) {
        const double x = s.XValue(i), y = s.YValue(i);
        if (!finite2(x, y)) {
            flush();
            continue;
        }
        run << ctx.Pos(x, y);
    }
    flush();
}
}  // namespace

TLineSeries::TLineSeries(QObject* parent) : TChartSeries(parent) {
    xValues_.order = TValueOrder::Ascending;
    pointer_.visible = false;
}

void TLineSeries::Assign(const TChartSeries& src) {
    if (auto* o = dynamic_cast<const TLineSeries*>(&src)) {
        linePen_ = o->linePen_;
        pointer_ = o->pointer_;
    }
    TChartSeries::Assign(src);
}

void TLineSeries::Draw(TChartDrawContext& ctx) const {
    QPainter& p = *ctx.painter;
    p.setPen(makePen(linePen_, color_, ctx.unit));
    p.setBrush(Qt::NoBrush);
    if (linePen_.visible) drawPolyline(ctx, *this);
    if (!pointer_.visible) return;
    DrawPointers(ctx, pointer_);
}

void TLineSeries::DrawLegendSymbol(QPainter& p, const QRectF& r, double unit) const {
    p.setPen(makePen(linePen_, color_, unit));
    const double y = r.center().y();
    if (linePen_.visible) p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    TSeriesPointer small = pointer_;
    small.horizSize = std::min(small.horizSize, 3);
    small.vertSize = std::min(small.vertSize, 3);
    DrawPointer(p, small, r.center(), color_, unit);
}

void TLineSeries::ScaleSizes(double f) {
    pointer_.horizSize = scaled(pointer_.horizSize, f);
    pointer_.vertSize = scaled(pointer_.vertSize, f);
    if (linePen_.style == Qt::SolidLine) linePen_.width = scaled(linePen_.width, f);
}

TPointSeries::TPointSeries(QObject* parent) : TChartSeries(parent) {
    xValues_.order = TValueOrder::Ascending;
}

void TPointSeries::Assign(const TChartSeries& src) {
    if (auto* o = dynamic_cast<const TPointSeries*>(&src)) pointer_ = o->pointer_;
    TChartSeries::Assign(src);
}

void TPointSeries::Draw(TChartDrawContext& ctx) const { DrawPointers(ctx, pointer_); }

void TPointSeries::DrawLegendSymbol(QPainter& p, const QRectF& r, double unit) const {
    TSeriesPointer small = pointer_;
    small.visible = true;
    small.horizSize = std::min(small.horizSize, 3);
    small.vertSize = std::min(small.vertSize, 3);
    DrawPointer(p, small, r.center(), color_, unit);
}

void TPointSeries::ScaleSizes(double f) {
    pointer_.horizSize = scaled(pointer_.horizSize, f);
    pointer_.vertSize = scaled(pointer_.vertSize, f);
    pointer_.pen.width = scaled(pointer_.pen.width, f);
}

TFastLineSeries::TFastLineSeries(QObject* parent) : TChartSeries(parent) {
    xValues_.order = TValueOrder::Ascending;
}

void TFastLineSeries::Assign(const TChartSeries& src) {
    if (auto* o = dynamic_cast<const TFastLineSeries*>(&src)) linePen_ = o->linePen_;
    TChartSeries::Assign(src);
}

void TFastLineSeries::Draw(TChartDrawContext& ctx) const {
    if (!linePen_.visible) return;
    ctx.painter->setPen(makePen(linePen_, color_, ctx.unit));
    ctx.painter->setBrush(Qt::NoBrush);
    drawPolyline(ctx, *this);
}

void TFastLineSeries::DrawLegendSymbol(QPainter& p, const QRectF& r, double unit) const {
    p.setPen(makePen(linePen_, color_, unit));
    p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
}

void TFastLineSeries::ScaleSizes(double f) { linePen_.width = scaled(linePen_.width, f); }

// ---------------------------------------------------------------- arrows

TArrowSeries::TArrowSeries(QObject* parent) : TChartSeries(parent) {
    RegisterValueList(&endX_);
    RegisterValueList(&endY_);
}

int TArrowSeries::AddArrow(double x0, double y0, double x1, double y1, const QString& label, uint32_t color) {
    const int i = AddXY(x0, y0, label, color);
    endX_.values[std::size_t(i)] = x1;
    endY_.values[std::size_t(i)] = y1;
    Changed();
    return i;
}

double TArrowSeries::EndXValue(int i) const { return i >= 0 && i < Count() ? endX_.values[std::size_t(i)] : kNaN; }
double TArrowSeries::EndYValue(int i) const { return i >= 0 && i < Count() ? endY_.values[std::size_t(i)] : kNaN; }

void TArrowSeries::SetArrowSize(int width, int height) {
    arrowWidth_ = std::max(1, width);
    arrowHeight_ = std::max(1, height);
    Changed();
}

namespace {
double extreme2(double a, double b, bool max) {
    if (std::isnan(a)) return b;
    if (std::isnan(b)) return a;
    return max ? std::max(a, b) : std::min(a, b);
}
}  // namespace

double TArrowSeries::MinXValue() const { return extreme2(ExtremeOf(xValues_, false), ExtremeOf(endX_, false), false); }
double TArrowSeries::MaxXValue() const { return extreme2(ExtremeOf(xValues_, true), ExtremeOf(endX_, true), true); }
double TArrowSeries::MinYValue() const { return extreme2(ExtremeOf(yValues_, false), ExtremeOf(endY_, false), false); }
double TArrowSeries::MaxYValue() const { return extreme2(ExtremeOf(yValues_, true), ExtremeOf(endY_, true), true); }

void TArrowSeries::Assign(const TChartSeries& src) {
    if (auto* o = dynamic_cast<const TArrowSeries*>(&src)) {
        pen_ = o->pen_;
        arrowWidth_ = o->arrowWidth_;
        arrowHeight_ = o->arrowHeight_;
    }
    TChartSeries::Assign(src);
}

void TArrowSeries::DrawArrow(QPainter& p, QPointF a, QPointF b, const QColor& col, double unit) const {
    p.setPen(makePen(pen_, col, unit));
    p.setBrush(col);
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double len = std::hypot(dx, dy);
    if (len < 0.5) return;
    const double ux = dx / len, uy = dy / len;
    const double headLen = std::min(len, arrowHeight_ * unit);
    const double headHalf = arrowWidth_ * unit / 2.0;
    const QPointF base(b.x() - ux * headLen, b.y() - uy * headLen);
    p.drawLine(a, base);
    p.setPen(QPen(col, 1));
    p.drawPolygon(QPolygonF{b, QPointF(base.x() - uy * headHalf, base.y() + ux * headHalf),
                            QPointF(base.x() + uy * headHalf, base.y() - ux * headHalf)});
}

void TArrowSeries::Draw(TChartDrawContext& ctx) const {
    for (int i = 0; i < Count(); ++i) {
        const double x0 = XValue(i), y0 = YValue(i), x1 = EndXValue(i), y1 = EndYValue(i);
        if (!finite2(x0, y0) || !finite2(x1, y1)) continue;
        DrawArrow(*ctx.painter, ctx.Pos(x0, y0), ctx.Pos(x1, y1), ValueColor(i), ctx.unit);
    }
}

void TArrowSeries::DrawLegendSymbol(QPainter& p, const QRectF& r, double unit) const {
    const double y = r.center().y();
    DrawArrow(p, QPointF(r.left() + 2, y), QPointF(r.right() - 2, y), color_, unit);
}

void TArrowSeries::ScaleSizes(double f) {
    pen_.width = scaled(pen_.width, f);
    arrowWidth_ = scaled(arrowWidth_, f);
    arrowHeight_ = scaled(arrowHeight_, f);
}

// ---------------------------------------------------------------- shapes

TChartShape::TChartShape(QObject* parent) : TChartSeries(parent) {
    AddXY(0, 0);
    AddXY(0, 0);
    showInLegend_ = false;
}

void TChartShape::SetCorners(double x0, double y0, double x1, double y1) {
    while (Count() < 2) AddXY(0, 0);
    xValues_.values[0] = x0;
    yValues_.values[0] = y0;
    xValues_.values[1] = x1;
    yValues_.values[1] = y1;
    Changed();
}

void TChartShape::SetStyle(TShapeStyle s) {
    style_ = s;
    Changed();
}
void TChartShape::SetBrushColor(const QColor& c) {
    brush_ = c;
    Changed();
}
void TChartShape::SetText(const QStringList& t) {
    text_ = t;
    Changed();
}

void TChartShape::Assign(const TChartSeries& src) {
    if (auto* o = dynamic_cast<const TChartShape*>(&src)) {
        style_ = o->style_;
        pen_ = o->pen_;
        brush_ = o->brush_;
        text_ = o->text_;
        font_ = o->font_;
    }
    TChartSeries::Assign(src);
}

void TChartShape::Draw(TChartDrawContext& ctx) const {
    if (Count() < 2) return;
    const double x0 = XValue(0), y0 = YValue(0), x1 = XValue(1), y1 = YValue(1);
    if (!finite2(x0, y0) || !finite2(x1, y1)) return;
    QPainter& p = *ctx.painter;
    const QPointF a = ctx.Pos(x0, y0), b = ctx.Pos(x1, y1);
    const QRectF box = QRectF(a, b).normalized();
    p.setPen(makePen(pen_, color_, ctx.unit));
    p.setBrush(brush_.isValid() ? QBrush(brush_) : QBrush(Qt::NoBrush));
    switch (style_) {
        case TShapeStyle::Rectangle: p.drawRect(box); break;
        case TShapeStyle::Ellipse: p.drawEllipse(box); break;
        case TShapeStyle::Line: p.drawLine(a, b); break;
        case TShapeStyle::HorizLine: p.drawLine(QPointF(box.left(), box.center().y()), QPointF(box.right(), box.center().y())); break;
        case TShapeStyle::VertLine: p.drawLine(QPointF(box.center().x(), box.top()), QPointF(box.center().x(), box.bottom())); break;
        case TShapeStyle::Text: break;
    }
    if (!text_.isEmpty()) {
        QFont f = font_;
        f.setPixelSize(std::max(1, int(std::lround(chartFontPixels(font_) * ctx.unit))));
        p.setFont(f);
        p.setPen(pen_.color.isValid() ? pen_.color : QColor(Qt::black));
        p.drawText(box, Qt::AlignCenter, text_.join('\n'));
    }
}

void TChartShape::DrawLegendSymbol(QPainter& p, const QRectF& r, double unit) const {
    p.setPen(makePen(pen_, color_, unit));
    p.setBrush(brush_.isValid() ? QBrush(brush_) : QBrush(Qt::NoBrush));
    p.drawRect(r.adjusted(2, 2, -2, -2));
}

void TChartShape::ScaleSizes(double f) { pen_.width = scaled(pen_.width, f); }

}  // namespace platform
