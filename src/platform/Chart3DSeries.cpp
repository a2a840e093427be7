#include "platform/Chart3DSeries.h"

#include <QPainter>
#include <QPolygonF>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/Chart.h"

namespace platform {

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool wholeNumber(double v, int& out) {
    if (!std::isfinite(v)) return false;
    const double r = std::nearbyint(v);
    if (r < double(std::numeric_limits<int>::min()) || r > double(std::numeric_limits<int>::max())) return false;
    out = int(r);
    return true;
}

bool solidStyle(TPointerStyle s) {
    return s == TPointerStyle::Rectangle || s == TPointerStyle::Triangle || s == TPointerStyle::DownTriangle;
}
}  // namespace

// ---------------------------------------------------------------- TCustom3DSeries

TCustom3DSeries::TCustom3DSeries(QObject* parent) : TChartSeries(parent) {
    xValues_.order = TValueOrder::None;
    RegisterValueList(&zValues_);
}

int TCustom3DSeries::AddXYZ(int x, int z, double y, const QString& label, uint32_t color) {
    const int i = AddXY(double(x), y, label, color);
    zValues_.values[std::size_t(i)] = double(z);
    Changed();
    return i;
}

int TCustom3DSeries::AddXYZRounded(double x, double z, double y, const QString& label, uint32_t color) {
    int ix = 0, iz = 0;
    if (!wholeNumber(x, ix) || !wholeNumber(z, iz) || !std::isfinite(y)) return -1;
    return AddXYZ(ix, iz, y, label, color);
}

double TCustom3DSeries::ZValue(int i) const { return i >= 0 && i < Count() ? zValues_.values[std::size_t(i)] : kNaN; }

bool TCustom3DSeries::SetZValue(int i, double v) {
    if (i < 0 || i >= Count() || !std::isfinite(v)) return false;
    zValues_.values[std::size_t(i)] = v;
    Changed();
    return true;
}

double TCustom3DSeries::MinZValue() const { return ExtremeOf(zValues_, false); }
double TCustom3DSeries::MaxZValue() const { return ExtremeOf(zValues_, true); }

bool TCustom3DSeries::IsValidSourceOf(const TChartSeries& other) const {
    return dynamic_cast<const TCustom3DSeries*>(&other) != nullptr;
}

void TCustom3DSeries::Assign(const TChartSeries& src) {
    // The Z list comes with the other lists (by name) in the base copy.
    if (auto* o = dynamic_cast<const TCustom3DSeries*>(&src)) timesZOrder_ = o->timesZOrder_;
    TChartSeries::Assign(src);
}

// ---------------------------------------------------------------- TPoint3DSeries

TPoint3DSeries::TPoint3DSeries(QObject* parent) : TCustom3DSeries(parent) {}

bool TPoint3DSeries::SetDepthSize(double v) {
    if (!std::isfinite(v) || v < 0) return false;
    depthSize_ = v;
    Changed();
    return true;
}

double TPoint3DSeries::MaxZValue() const { return TCustom3DSeries::MaxZValue() + depthSize_; }

void TPoint3DSeries::AddSampleValues(int n) {
    auto* rng = QRandomGenerator::global();
    for (int k = 0; k < n; ++k) {
        const int x = int(rng->bounded(100)), y = int(rng->bounded(100)), z = int(rng->bounded(100));
        AddXYZ(x, z, double(y));
    }
}

TPoint3DSeries::Place TPoint3DSeries::PlaceOf(const TChartDrawContext& ctx, int i) const {
    Place pl;
    const double x = XValue(i), y = YValue(i), z = ZValue(i);
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return pl;
    pl.ok = true;
    pl.u = ctx.x.Frac(x);
    pl.v = ctx.y.Frac(y);
    if (!ctx.Is3D()) {
        pl.screen = ctx.Pos(x, y);
        return pl;
    }
    pl.w0 = ctx.z.Frac(z);
    // DepthSize is measured on the vertical axis: its length in pixels there, as a part of the
    // box's depth.
    if (ctx.boxDepth > 0 && depthSize_ > 0) {
        const double vSize = std::abs(ctx.y.Frac(ctx.y.lo + depthSize_) - ctx.y.Frac(ctx.y.lo)) * ctx.boxHeight;
        pl.w1 = pl.w0 + std::min(vSize / ctx.boxDepth, 1000.0);
    } else {
        pl.w1 = pl.w0;
    }
    pl.screen = ctx.ProjectUnit(pl.u, pl.v, pl.w0);
    return pl;
}

void TPoint3DSeries::DrawSolidPointer(QPainter& p, const TSeriesPointer& ptr, QPointF front, QPointF back,
                                      const QColor& fill, double unit) {
    const double hx = std::max(1.0, ptr.horizSize * unit), hy = std::max(1.0, ptr.vertSize * unit);
    QPolygonF face;
    switch (ptr.style) {
        case TPointerStyle::Triangle: face = {{-hx, hy}, {hx, hy}, {0, -hy}}; break;
        case TPointerStyle::DownTriangle: face = {{-hx, -hy}, {hx, -hy}, {0, hy}}; break;
        default: face = {{-hx, -hy}, {hx, -hy}, {hx, hy}, {-hx, hy}}; break;
    }
    const QPointF d = back - front;
    p.setPen(PenFor(ptr.pen, Qt::black, unit));
    // The sides that face the eye are those the back face is pushed towards; then the front.
    for (int k = 0; k < face.size(); ++k) {
        const QPointF a = face[k], b = face[(k + 1) % face.size()];
        const QPointF mid = (a + b) / 2;  // the face is centred on 0: mid points outwards
        const QPointF n(b.y() - a.y(), a.x() - b.x());
        const double out = n.x() * mid.x() + n.y() * mid.y() > 0 ? 1.0 : -1.0;
        if (out * (n.x() * d.x() + n.y() * d.y()) <= 0) continue;
        const bool top = std::abs(n.y()) > std::abs(n.x());
        p.setBrush(fill.darker(top ? 115 : 140));
        p.drawPolygon(QPolygonF{front + a, front + b, back + b, back + a});
    }
    p.setBrush(fill);
    p.drawPolygon(face.translated(front));
}

void TPoint3DSeries::Draw(TChartDrawContext& ctx) const {
    const double unit = ctx.unit;
    const bool line = linePen_.visible && linePen_.style != Qt::NoPen;
    const QPen linePen = PenFor(linePen_, color_, unit);
    bool havePrev = false;
    QPointF prevScreen;
    double prevDepth = 0;
    for (int i = 0; i < Count(); ++i) {
        const Place pl = PlaceOf(ctx, i);
        if (!pl.ok) {
            havePrev = false;
            continue;
        }
        const double depth = ctx.ViewDepth(pl.u, pl.v, pl.w0);
        if (pointer_.visible) {
            TSeriesPointer ptr = pointer_;
            if (OnGetPointerStyle) ptr.style = OnGetPointerStyle(this, i);
            const QColor fill = ValueColor(i);
            if (ctx.Is3D() && solidStyle(ptr.style) && pl.w1 != pl.w0) {
                const QPointF far = ctx.ProjectUnit(pl.u, pl.v, pl.w1);
                const double farDepth = ctx.ViewDepth(pl.u, pl.v, pl.w1);
                // The face nearer the eye is the front one.
                const QPointF front = farDepth >= depth ? pl.screen : far, back = farDepth >= depth ? far : pl.screen;
                ctx.PaintAtDepth((depth + farDepth) / 2, [ptr, front, back, fill, unit](QPainter& p) {
                    DrawSolidPointer(p, ptr, front, back, fill, unit);
                });
            } else {
                const QPointF at = pl.screen;
                ctx.PaintAtDepth(depth, [ptr, at, fill, unit](QPainter& p) { DrawPointer(p, ptr, at, fill, unit); });
            }
        }
        if (havePrev && line) {
            const QPointF a = prevScreen, b = pl.screen;
            ctx.PaintAtDepth((prevDepth + depth) / 2, [linePen, a, b](QPainter& p) {
                p.setPen(linePen);
                p.setBrush(Qt::NoBrush);
                p.drawLine(a, b);
            });
        }
        havePrev = true;
        prevScreen = pl.screen;
        prevDepth = depth;
    }
}

void TPoint3DSeries::DrawLegendSymbol(QPainter& p, const QRectF& r, double unit) const {
    if (!pointer_.visible) {
        TChartSeries::DrawLegendSymbol(p, r, unit);
        return;
    }
    if (linePen_.visible) {
        p.setPen(PenFor(linePen_, color_, unit));
        p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
    }
    TSeriesPointer small = pointer_;
    small.horizSize = std::min(small.horizSize, 3);
    small.vertSize = std::min(small.vertSize, 3);
    DrawPointer(p, small, r.center(), color_, unit);
}

int TPoint3DSeries::Clicked(const TChartDrawContext& ctx, QPointF pos) const {
    if (!pointer_.visible) return -1;
    const double hx = std::max(1.0, pointer_.horizSize * ctx.unit), hy = std::max(1.0, pointer_.vertSize * ctx.unit);
    for (int i = 0; i < Count(); ++i) {
        const Place pl = PlaceOf(ctx, i);
        if (!pl.ok) continue;
        if (std::abs(pl.screen.x() - pos.x()) < hx && std::abs(pl.screen.y() - pos.y()) < hy) {
            if (OnClickPointer)
                OnClickPointer(const_cast<TPoint3DSeries*>(this), i, int(std::lround(pos.x())), int(std::lround(pos.y())));
            return i;
        }
    }
    return -1;
}

void TPoint3DSeries::Assign(const TChartSeries& src) {
    if (auto* o = dynamic_cast<const TPoint3DSeries*>(&src)) {
        pointer_ = o->pointer_;
        depthSize_ = o->depthSize_;
        linePen_ = o->linePen_;
    }
    TCustom3DSeries::Assign(src);
}

void TPoint3DSeries::ScaleSizes(double f) {
    pointer_.horizSize = ScaledSize(pointer_.horizSize, f);
    pointer_.vertSize = ScaledSize(pointer_.vertSize, f);
    pointer_.pen.width = ScaledSize(pointer_.pen.width, f);
    if (linePen_.style == Qt::SolidLine) linePen_.width = ScaledSize(linePen_.width, f);
}

}  // namespace platform
