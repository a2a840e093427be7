#include "platform/Chart.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <limits>

namespace platform {

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kFarOut = 1000.0;  // plot widths beyond which positions are clamped

QFont defaultFont(int points, bool bold = false) {
    QFont f = QApplication::font();
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

// The painter font for a chart font: its point size taken at 96 dpi, so that a drawing has the
// same proportions on every device; print scaling changes the sizes themselves.
QFont drawFont(const QFont& f, double) {
    QFont r = f;
    r.setPixelSize(std::max(1, int(std::lround(chartFontPixels(f)))));
    return r;
}

QPen drawPen(const TChartPen& p, double) {
    if (!p.visible || p.style == Qt::NoPen) return Qt::NoPen;
    QPen pen(p.color.isValid() ? p.color : QColor(Qt::black));
    pen.setWidthF(std::max(1, p.width));
    pen.setStyle(p.style);
    return pen;
}

// Smallest of 1, 2, 5 times a power of ten that is at least r.
double niceAtLeast(double r) {
    if (!(r > 0) || !std::isfinite(r)) return 0.0;
    const double e = std::floor(std::log10(r));
    const double p = std::pow(10.0, e);
    const double f = r / p;
    const double nf = f <= 1.0 + 1e-9 ? 1.0 : f <= 2.0 + 1e-9 ? 2.0 : f <= 5.0 + 1e-9 ? 5.0 : 10.0;
    return nf * p;
}

int autoDecimals(double step) {
    if (!(step > 0) || !std::isfinite(step)) return 0;
    int d = std::max(0, int(std::ceil(-std::log10(step) - 1e-9)));
    for (int k = 0; k < 4 && d < 15; ++k) {
        const double s = step * std::pow(10.0, d);
        if (std::abs(s - std::nearbyint(s)) <= 1e-6 * std::max(1.0, s)) break;
        ++d;
    }
    return std::min(d, 15);
}

void widenEqual(double& lo, double& hi) {
    const double d = lo != 0.0 ? std::abs(lo) * 0.1 : 1.0;
    lo -= d;
    hi += d;
}

int scaledSize(int v, double f) {
    const double r = std::nearbyint(double(v) * f);
    if (!std::isfinite(r)) return v;
    return int(std::clamp(r, 1.0, 10000.0));
}

void scaleFont(QFont& font, double f) {
    const int pt = font.pointSize() > 0 ? font.pointSize() : 8;
    font.setPointSize(scaledSize(pt, f));
}

QPointF clampPoint(QPointF p) {
    const double big = 1e7;
    return {std::clamp(p.x(), -big, big), std::clamp(p.y(), -big, big)};
}
}  // namespace

double chartFontPixels(const QFont& f) {
    if (f.pointSizeF() > 0) return f.pointSizeF() * 96.0 / 72.0;
    if (f.pixelSize() > 0) return f.pixelSize();
    return 11.0;
}

// ---------------------------------------------------------------- draw context

double TChartDrawContext::AxisMap::Frac(double v) const {
    double t;
    if (log) {
        if (!(v > 0)) return inverted ? kFarOut : -kFarOut;
        t = (std::log10(v) - std::log10(lo)) / (std::log10(hi) - std::log10(lo));
    } else {
        // Halves keep the differences finite for values near the largest double.
        t = (v * 0.5 - lo * 0.5) / (hi * 0.5 - lo * 0.5);
    }
    if (std::isnan(t)) t = 0.0;
    t = std::clamp(t, -kFarOut, kFarOut);
    return inverted ? 1.0 - t : t;
}

double TChartDrawContext::AxisMap::Value(double px) const {
    if (p1 == p0) return lo;
    double t = (px - p0) / (p1 - p0);
    if (inverted) t = 1.0 - t;
    if (log) return std::pow(10.0, std::log10(lo) + t * (std::log10(hi) - std::log10(lo)));
    return lo + t * (hi - lo);
}

QPointF TChartDrawContext::Pos(double vx, double vy) const {
    if (is3D) return ProjectUnit(x.Frac(vx), y.Frac(vy), 0.0);
    return {x.Pos(vx), y.Pos(vy)};
}

QPointF TChartDrawContext::Pos3D(double vx, double vy, double vz) const {
    if (is3D) return ProjectUnit(x.Frac(vx), y.Frac(vy), z.Frac(vz));
    return {x.Pos(vx), y.Pos(vy)};
}

void TChartDrawContext::PaintAtDepth(double depth, std::function<void(QPainter&)> piece) {
    if (!piece) return;
    if (depthQueue) {
        depthQueue->push_back({std::isfinite(depth) ? depth : 0.0, std::move(piece)});
        return;
    }
    if (painter) {
        painter->save();
        piece(*painter);
        painter->restore();
    }
}

double TChartDrawContext::YSize(double dv) const {
    const double span = y.hi - y.lo;
    if (!(span > 0) || !std::isfinite(dv)) return 0.0;
    const double len = is3D ? std::hypot(ev.x(), ev.y()) : std::abs(y.p1 - y.p0);
    return std::min(len * std::abs(dv) / span, 1e6);
}

// ---------------------------------------------------------------- axis

TChartAxis::TChartAxis(TChart* owner, TAxisKind kind)
    : owner_(owner), kind_(kind), titleFont_(defaultFont(8, true)), labelFont_(defaultFont(8)) {}

void TChartAxis::Changed() {
    if (owner_) owner_->Changed();
}

void TChartAxis::SetAutomatic(bool on) {
    automatic_ = on;
    Changed();
}
void TChartAxis::SetAutomaticMinimum(bool on) {
    autoMin_ = on;
    Changed();
}
void TChartAxis::SetAutomaticMaximum(bool on) {
    autoMax_ = on;
    Changed();
}

void TChartAxis::SetMinimum(double v) {
    if (!std::isfinite(v)) throw ChartAxisError("Axis minimum must be a finite number");
    if (v > max_) throw ChartAxisError("Axis minimum must be <= maximum");
    min_ = v;
    Changed();
}

void TChartAxis::SetMaximum(double v) {
    if (!std::isfinite(v)) throw ChartAxisError("Axis maximum must be a finite number");
    if (v < min_) throw ChartAxisError("Axis maximum must be >= minimum");
    max_ = v;
    Changed();
}

void TChartAxis::SetMinMax(double a, double b) {
    if (!std::isfinite(a) || !std::isfinite(b)) throw ChartAxisError("Axis limits must be finite numbers");
    automatic_ = autoMin_ = autoMax_ = false;
    min_ = std::min(a, b);
    max_ = std::max(a, b);
    Changed();
}

void TChartAxis::SetIncrement(double v) {
    increment_ = std::isfinite(v) && v > 0 ? v : 0.0;
    Changed();
}
void TChartAxis::SetTitle(const QString& t) {
    title_ = t;
    Changed();
}
void TChartAxis::SetLabelDecimals(int d) {
    labelDecimals_ = std::clamp(d, -1, 15);
    Changed();
}
void TChartAxis::SetLabelsVisible(bool on) {
    labelsVisible_ = on;
    Changed();
}
void TChartAxis::SetLabelSeparation(int percent) {
    labelSeparation_ = std::max(0, percent);
    Changed();
}
void TChartAxis::SetVisible(bool on) {
    visible_ = on;
    Changed();
}
void TChartAxis::SetGridVisible(bool on) {
    gridVisible_ = on;
    Changed();
}
void TChartAxis::SetInverted(bool on) {
    inverted_ = on;
    Changed();
}
void TChartAxis::SetLogarithmic(bool on) {
    logarithmic_ = on;
    Changed();
}

void TChartAxis::DrawRange(double& lo, double& hi) const {
    lo = min_;
    hi = max_;
    if (!std::isfinite(lo) || !std::isfinite(hi)) {
        lo = 0.0;
        hi = 1.0;
    }
    if (lo > hi) std::swap(lo, hi);
    if (logarithmic_) {
        if (!(hi > 0)) hi = 1.0;
        if (!(lo > 0)) lo = hi / 1000.0;
        if (lo == hi) {
            lo /= 10.0;
            hi *= 10.0;
        }
        return;
    }
    if (lo == hi) widenEqual(lo, hi);
}

void TChartAxis::SetWholeNumberTicks(bool on) {
    if (wholeNumbers_ == on) return;
    wholeNumbers_ = on;
    Changed();
}

double TChartAxis::NiceStepFor(double lengthPx, double labelExtentPx, double lo, double hi) const {
    const double span = hi - lo;
    if (!(span > 0) || !std::isfinite(span) || !(lengthPx > 0)) return 0.0;
    const double step = niceStepIgnoringWhole(lengthPx, labelExtentPx, span);
    return wholeNumbers_ && step > 0 ? std::max(1.0, std::ceil(step - 1e-9)) : step;
}

double TChartAxis::niceStepIgnoringWhole(double lengthPx, double labelExtentPx, double span) const {
    const double spacing = std::max(1.0, labelExtentPx * (1.0 + labelSeparation_ / 100.0) + 4.0);
    const double maxTicks = std::max(1.0, std::floor(lengthPx / spacing));
    if (increment_ > 0) {
        double step = increment_;
        for (int k = 0; k < 200 && span / step > maxTicks; ++k) step *= 2.0;
        return span / step > maxTicks ? niceAtLeast(span / maxTicks) : step;
    }
    return niceAtLeast(span / maxTicks);
}

std::vector<double> TChartAxis::TickValues(double lengthPx, double labelExtentPx) const {
    double lo, hi;
    DrawRange(lo, hi);
    std::vector<double> out;
    if (logarithmic_) {
        const int e0 = int(std::floor(std::log10(lo))), e1 = int(std::ceil(std::log10(hi)));
        const double spacing = std::max(1.0, labelExtentPx * 1.5);
        const int decades = std::max(1, e1 - e0);
        const int every = std::max(1, int(std::ceil(decades * spacing / std::max(1.0, lengthPx))));
        for (int e = e0; e <= e1; ++e) {
            if ((e - e0) % every) continue;
            const double p = std::pow(10.0, e);
            for (double m : {1.0, 2.0, 5.0}) {
                if (m != 1.0 && (decades > 2 || every > 1)) continue;
                const double v = m * p;
                if (v >= lo * (1 - 1e-12) && v <= hi * (1 + 1e-12)) out.push_back(v);
            }
        }
        return out;
    }
    const double step = NiceStepFor(lengthPx, labelExtentPx, lo, hi);
    if (!(step > 0)) return out;
    const double k0 = std::ceil(lo / step - 1e-9), k1 = std::floor(hi / step + 1e-9);
    if (!std::isfinite(k0) || !std::isfinite(k1) || k1 - k0 > 1000) return out;
    // Counted, not stepped: near 1e16 adding 1 to k changes nothing.
    const int n = int(k1 - k0);
    for (int i = 0; i <= n; ++i) {
        double v = (k0 + i) * step;
        if (std::abs(v) < step * 1e-9) v = 0.0;
        if (!out.empty() && v <= out.back()) break;  // steps below the resolution of the values
        out.push_back(v);
    }
    return out;
}

QString TChartAxis::LabelText(double v, double step) const {
    const QLocale loc = owner_ ? owner_->NumberLocale() : QLocale();
    if (logarithmic_) return loc.toString(v, 'g', 6);
    if (std::abs(v) >= 1e15) return loc.toString(v, 'g', 6);
    const int d = labelDecimals_ >= 0 ? labelDecimals_ : autoDecimals(step);
    if (std::abs(v) < std::abs(step) * 1e-9) v = 0.0;
    return loc.toString(v, 'f', d);
}

void TChart::SetNumberLocale(const QLocale& locale) {
    if (locale == numberLocale_) return;
    numberLocale_ = locale;
    update();
}

void TChartAxis::AssignFrom(const TChartAxis& s) {
    automatic_ = s.automatic_;
    autoMin_ = s.autoMin_;
    autoMax_ = s.autoMax_;
    min_ = s.min_;
    max_ = s.max_;
    increment_ = s.increment_;
    wholeNumbers_ = s.wholeNumbers_;
    title_ = s.title_;
    titleFont_ = s.titleFont_;
    labelFont_ = s.labelFont_;
    labelDecimals_ = s.labelDecimals_;
    labelsVisible_ = s.labelsVisible_;
    labelSeparation_ = s.labelSeparation_;
    visible_ = s.visible_;
    gridVisible_ = s.gridVisible_;
    gridPen_ = s.gridPen_;
    axisPen_ = s.axisPen_;
    inverted_ = s.inverted_;
    logarithmic_ = s.logarithmic_;
    Changed();
}

// ---------------------------------------------------------------- chart

TChart::TChart(QWidget* parent)
    : QWidget(parent),
      left_(this, TAxisKind::Left),
      bottom_(this, TAxisKind::Bottom),
      depth_(this, TAxisKind::Depth) {
    title_.font = defaultFont(10, true);
    foot_.font = defaultFont(8);
    foot_.fontColor = Qt::darkRed;
    legend_.font = defaultFont(8);
    color_ = QApplication::palette().color(QPalette::Button);
    depth_.SetVisible(false);
    setMouseTracking(false);
}

TChart::~TChart() {
    // Series are QObject children; drop the list first so no change notice reaches a half-gone chart.
    auto list = std::move(series_);
    series_.clear();
    for (TChartSeries* s : list) delete s;
}

void TChart::Changed() {
    if (painting_) return;
    update();
}

void TChart::AddSeries(TChartSeries* s) {
    if (!s || std::find(series_.begin(), series_.end(), s) != series_.end()) return;
    s->setParent(this);
    series_.push_back(s);
    // A series deleted by its user leaves the list at once.
    connect(s, &QObject::destroyed, this, [this, s] {
        auto it = std::find(series_.begin(), series_.end(), s);
        if (it != series_.end()) series_.erase(it);
        Changed();
    });
    Changed();
}

void TChart::RemoveSeries(TChartSeries* s) {
    auto it = std::find(series_.begin(), series_.end(), s);
    if (it == series_.end()) return;
    series_.erase(it);
    delete s;
    Changed();
}

void TChart::RemoveAllSeries() {
    auto list = std::move(series_);
    series_.clear();
    for (TChartSeries* s : list) delete s;
    Changed();
}

void TChart::ClearAllSeries() {
    for (TChartSeries* s : series_) s->Clear();
}

TChartSeries* TChart::Series(int i) const {
    return i >= 0 && i < SeriesCount() ? series_[std::size_t(i)] : nullptr;
}

TChartSeries* TChart::SeriesByName(const QString& name) const {
    for (TChartSeries* s : series_)
        if (s->objectName() == name) return s;
    return nullptr;
}

void TChart::SetTitleText(const QStringList& lines) {
    title_.text = lines;
    Changed();
}
void TChart::SetLegendVisible(bool on) {
    legend_.visible = on;
    Changed();
}
void TChart::SetColor(const QColor& c) {
    color_ = c;
    Changed();
}
void TChart::SetBackWallColor(const QColor& c) {
    backWall_ = c;
    Changed();
}
void TChart::SetBackImage(const QImage& img) {
    backImage_ = img;
    Changed();
}

bool TChart::LoadBackImage(const QString& path) {
    QStringList candidates{path};
    const QFileInfo fi(path);
    const QString base = fi.path() + '/' + fi.completeBaseName();
    if (fi.suffix().compare("wmf", Qt::CaseInsensitive) == 0 || fi.suffix().compare("emf", Qt::CaseInsensitive) == 0)
        candidates = {base + ".png", base + ".PNG", base + ".svg", base + ".SVG"};
    for (const QString& c : candidates) {
        QImage img;
        if (QFileInfo::exists(c) && img.load(c) && !img.isNull()) {
            SetBackImage(img);
            return true;
        }
    }
    ClearBackImage();
    return false;
}

void TChart::SetBackImageMode(TBackImageMode m) {
    backMode_ = m;
    Changed();
}
void TChart::SetBackImageInside(bool on) {
    backInside_ = on;
    Changed();
}
void TChart::SetView3D(bool on) {
    view3D_ = on;
    Changed();
}
void TChart::SetRotation(int degrees) {
    view3DOpts_.rotation = degrees;
    Changed();
}
void TChart::SetElevation(int degrees) {
    view3DOpts_.elevation = degrees;
    Changed();
}

// ---------------------------------------------------------------- limits

namespace {
void adjustAxis(TChartAxis& a, double dmin, double dmax, bool logarithmic, double& outMin, double& outMax) {
    const bool aMin = a.Automatic() || a.AutomaticMinimum();
    const bool aMax = a.Automatic() || a.AutomaticMaximum();
    double lo = a.Minimum(), hi = a.Maximum();
    outMin = lo;
    outMax = hi;
    if (!aMin && !aMax) return;
    const bool haveData = std::isfinite(dmin) && std::isfinite(dmax);
    if (aMin) lo = haveData ? dmin : (aMax ? 0.0 : hi - 1.0);
    if (aMax) hi = haveData ? dmax : (aMin ? 1.0 : lo + 1.0);
    if (logarithmic) {
        if (!(hi > 0)) hi = 1.0;
        if (!(lo > 0)) lo = hi / 1000.0;
        if (lo > hi) (aMin ? lo : hi) = aMin ? hi / 10.0 : lo * 10.0;
        if (lo == hi) {
            if (aMin) lo /= 10.0;
            if (aMax) hi *= 10.0;
        }
        const double nlo = std::pow(10.0, std::floor(std::log10(lo) + 1e-9));
        const double nhi = std::pow(10.0, std::ceil(std::log10(hi) - 1e-9));
        if (aMin && nlo > 0 && std::isfinite(nlo)) lo = nlo;
        if (aMax && std::isfinite(nhi)) hi = nhi;
        outMin = lo;
        outMax = hi;
        return;
    }
    if (lo > hi) {
        // One end fixed beyond the data: keep it and put the automatic end a unit away.
        if (aMin) lo = hi - std::max(1.0, std::abs(hi) * 0.1);
        else hi = lo + std::max(1.0, std::abs(lo) * 0.1);
    }
    if (lo == hi) {
        double l = lo, h = hi;
        widenEqual(l, h);
        if (aMin) lo = l;
        if (aMax) hi = h;
    }
    const double step = niceAtLeast((hi - lo) / 10.0);
    if (step > 0) {
        const double nlo = std::floor(lo / step + 1e-9) * step;
        const double nhi = std::ceil(hi / step - 1e-9) * step;
        if (aMin && std::isfinite(nlo)) lo = nlo;
        if (aMax && std::isfinite(nhi)) hi = nhi;
    }
    outMin = lo;
    outMax = hi;
}

double positiveMin(const std::vector<TChartSeries*>& series, bool xList) {
    double r = kNaN;
    for (const TChartSeries* s : series) {
        if (!s->Active()) continue;
        for (double v : (xList ? s->XValues() : s->YValues()).values)
            if (std::isfinite(v) && v > 0 && (std::isnan(r) || v < r)) r = v;
    }
    return r;
}
}  // namespace

void TChart::AdjustAxes() {
    double xmin = kNaN, xmax = kNaN, ymin = kNaN, ymax = kNaN, zmin = kNaN, zmax = kNaN;
    auto take = [](double& acc, double v, bool max) {
        if (std::isnan(v)) return;
        if (std::isnan(acc) || (max ? v > acc : v < acc)) acc = v;
    };
    for (const TChartSeries* s : series_) {
        if (!s->Active()) continue;
        take(xmin, s->MinXValue(), false);
        take(xmax, s->MaxXValue(), true);
        take(ymin, s->MinYValue(), false);
        take(ymax, s->MaxYValue(), true);
        if (s->HasZValues()) {
            take(zmin, s->MinZValue(), false);
            take(zmax, s->MaxZValue(), true);
        }
    }
    if (bottom_.Logarithmic() && !(xmin > 0)) xmin = positiveMin(series_, true);
    if (left_.Logarithmic() && !(ymin > 0)) ymin = positiveMin(series_, false);
    adjustAxis(bottom_, xmin, xmax, bottom_.Logarithmic(), bottom_.min_, bottom_.max_);
    adjustAxis(left_, ymin, ymax, left_.Logarithmic(), left_.min_, left_.max_);
    adjustAxis(depth_, zmin, zmax, depth_.Logarithmic(), depth_.min_, depth_.max_);
}

// ---------------------------------------------------------------- zoom

void TChart::ZoomValues(double x0, double x1, double y0, double y1) {
    if (!std::isfinite(x0) || !std::isfinite(x1) || !std::isfinite(y0) || !std::isfinite(y1) || x0 == x1 || y0 == y1) return;
    if (!zoomed_) {
        savedLeft_ = {left_.automatic_, left_.autoMin_, left_.autoMax_, left_.min_, left_.max_};
        savedBottom_ = {bottom_.automatic_, bottom_.autoMin_, bottom_.autoMax_, bottom_.min_, bottom_.max_};
    }
    bottom_.SetMinMax(x0, x1);
    left_.SetMinMax(y0, y1);
    zoomed_ = true;
    emit zoomed();
}

void TChart::UndoZoom() {
    if (!zoomed_) return;
    auto restore = [](TChartAxis& a, const SavedAxis& s) {
        a.automatic_ = s.automatic;
        a.autoMin_ = s.autoMin;
        a.autoMax_ = s.autoMax;
        a.min_ = s.min;
        a.max_ = s.max;
    };
    restore(left_, savedLeft_);
    restore(bottom_, savedBottom_);
    zoomed_ = false;
    AdjustAxes();
    Changed();
    emit undoneZoom();
}

// ---------------------------------------------------------------- layout

QSizeF TChart::LegendSize(TChartDrawContext& ctx, TLegendAlignment alignment, double maxWidth) const {
    const QFontMetricsF fm(drawFont(legend_.font, ctx.space));
    int n = 0;
    double textW = 0;
    std::vector<double> entryW;
    const double symW = 22 * ctx.space, pad = 4 * ctx.space;
    for (const TChartSeries* s : series_) {
        if (!s->Active() || !s->ShowInLegend()) continue;
        ++n;
        const double w = fm.horizontalAdvance(s->Title().isEmpty() ? s->objectName() : s->Title());
        textW = std::max(textW, w);
        entryW.push_back(symW + w + 3 * pad);
    }
    if (n == 0) return {0, 0};
    const double rowH = fm.height() * 1.25;
    if (alignment == TLegendAlignment::Top || alignment == TLegendAlignment::Bottom) {
        // Entries flow into as many rows as the width needs.
        double x = pad, widest = 0;
        int rows = 1;
        for (double w : entryW) {
            if (x > pad && x + w > maxWidth) {
                ++rows;
                x = pad;
            }
            x += w;
            widest = std::max(widest, x);
        }
        return {widest + pad, rows * rowH + 2 * pad};
    }
    return {symW + textW + 3 * pad, n * rowH + 2 * pad};
}

void TChart::DrawLegend(TChartDrawContext& ctx, const QRectF& box) const {
    QPainter& p = *ctx.painter;
    const QFont f = drawFont(legend_.font, ctx.space);
    const QFontMetricsF fm(f);
    p.setPen(legend_.frameVisible ? QPen(Qt::black, std::max(1.0, ctx.space)) : QPen(Qt::NoPen));
    p.setBrush(legend_.color.isValid() ? QBrush(legend_.color) : QBrush(Qt::NoBrush));
    p.drawRect(box);
    const double rowH = fm.height() * 1.25;
    const double symW = 22 * ctx.space, pad = 4 * ctx.space;
    const bool row = ctx.legendAlignment == TLegendAlignment::Top || ctx.legendAlignment == TLegendAlignment::Bottom;
    double x = box.left() + pad, y = box.top() + pad;
    for (const TChartSeries* s : series_) {
        if (!s->Active() || !s->ShowInLegend()) continue;
        const QString text = s->Title().isEmpty() ? s->objectName() : s->Title();
        const double entryW = symW + fm.horizontalAdvance(text) + 3 * pad;
        if (row && x > box.left() + pad && x + entryW > box.right()) {
            x = box.left() + pad;
            y += rowH;
        }
        p.save();
        s->DrawLegendSymbol(p, QRectF(x, y, symW, rowH), ctx.unit);
        p.restore();
        p.setFont(f);
        p.setPen(legend_.fontColor);
        p.drawText(QRectF(x + symW + pad, y, fm.horizontalAdvance(text) + pad, rowH), Qt::AlignLeft | Qt::AlignVCenter, text);
        if (row) x += entryW;
        else y += rowH;
    }
}

void TChart::DrawTitle(TChartDrawContext& ctx, const TChartTitle& t, QRectF& area, bool top) const {
    if (!t.visible || t.text.isEmpty()) return;
    QStringList lines = t.text;
    while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    if (lines.isEmpty()) return;
    QPainter* p = ctx.painter;
    const QFont f = drawFont(t.font, ctx.space);
    const QFontMetricsF fm(f);
    const double h = fm.height() * lines.size() + 2 * ctx.space;
    const QRectF r = top ? QRectF(area.left(), area.top(), area.width(), h)
                         : QRectF(area.left(), area.bottom() - h, area.width(), h);
    if (p) {
        if (t.color.isValid()) p->fillRect(r, t.color);
        p->setFont(f);
        p->setPen(t.fontColor);
        double y = r.top() + ctx.space;
        for (const QString& line : lines) {
            p->drawText(QRectF(r.left(), y, r.width(), fm.height()), int(t.alignment) | Qt::AlignVCenter, line);
            y += fm.height();
        }
    }
    if (top) area.setTop(area.top() + h + 2 * ctx.space);
    else area.setBottom(area.bottom() - h - 2 * ctx.space);
}

void TChart::Layout(TChartDrawContext& ctx, const QRectF& rect) const {
    ctx.chartRect = rect;
    ctx.unit = 1.0;
    ctx.space = std::max(1.0, chartFontPixels(left_.LabelFont()) / (8.0 * 96.0 / 72.0));
    const double u = ctx.space;
    QRectF area = rect.adjusted(6 * u, 4 * u, -8 * u, -4 * u);

    // Titles are drawn in paint(); here only their space is taken.
    QPainter* saved = ctx.painter;
    ctx.painter = nullptr;
    DrawTitle(ctx, title_, area, true);
    DrawTitle(ctx, foot_, area, false);
    ctx.painter = saved;

    ctx.legendAlignment = legend_.alignment;
    ctx.legendSize = {};
    if (legend_.visible) {
        QSizeF ls = LegendSize(ctx, legend_.alignment, area.width());
        const bool side = legend_.alignment == TLegendAlignment::Right || legend_.alignment == TLegendAlignment::Left;
        if (side && ls.width() > area.width() / 3) {
            ctx.legendAlignment = TLegendAlignment::Bottom;
            ls = LegendSize(ctx, ctx.legendAlignment, area.width());
        }
        ctx.legendSize = ls;
        if (ls.width() > 0) {
            switch (ctx.legendAlignment) {
                case TLegendAlignment::Right: area.setRight(area.right() - ls.width() - 6 * u); break;
                case TLegendAlignment::Left: area.setLeft(area.left() + ls.width() + 6 * u); break;
                case TLegendAlignment::Top: area.setTop(area.top() + ls.height() + 4 * u); break;
                case TLegendAlignment::Bottom: area.setBottom(area.bottom() - ls.height() - 4 * u); break;
            }
        }
    }

    const double tick = 4 * u;
    auto fontH = [&](const QFont& f) { return QFontMetricsF(drawFont(f, u)).height(); };
    const QFontMetricsF lfm(drawFont(left_.LabelFont(), u)), bfm(drawFont(bottom_.LabelFont(), u)),
        dfm(drawFont(depth_.LabelFont(), u));

    auto setMap = [](TChartDrawContext::AxisMap& m, const TChartAxis& a) {
        a.DrawRange(m.lo, m.hi);
        m.log = a.Logarithmic();
        m.inverted = a.Inverted();
    };
    setMap(ctx.x, bottom_);
    setMap(ctx.y, left_);
    setMap(ctx.z, depth_);

    // Room below for the bottom labels and title, left for the left labels and title.
    double bottomRoom = 0, leftTitleRoom = 0;
    if (bottom_.Visible()) {
        if (bottom_.LabelsVisible()) bottomRoom += bfm.height() + tick + u;
        if (!bottom_.Title().isEmpty()) bottomRoom += fontH(bottom_.TitleFont()) + 2 * u;
    }
    if (left_.Visible() && !left_.Title().isEmpty()) leftTitleRoom = fontH(left_.TitleFont()) + 4 * u;
    const double topRoom = lfm.height() / 2;

    auto labelsWidth = [&](const TChartAxis& a, const std::vector<double>& ticks, double step, const QFontMetricsF& fm) {
        double w = 0;
        for (double v : ticks) w = std::max(w, fm.horizontalAdvance(a.LabelText(v, step)));
        return w;
    };
    auto stepOf = [](const std::vector<double>& t) { return t.size() >= 2 ? t[1] - t[0] : 0.0; };
    auto horizTicks = [&](const TChartAxis& a, double len, const QFontMetricsF& fm, std::vector<double>& out, double& step) {
        double lo, hi;
        a.DrawRange(lo, hi);
        // Two passes: the label width depends on the step, the step on the label width.
        double extent = fm.horizontalAdvance(a.LabelText(-std::max(std::abs(lo), std::abs(hi)), (hi - lo) / 10));
        out = a.TickValues(len, extent);
        step = stepOf(out);
        extent = std::max(extent * 0.5, labelsWidth(a, out, step, fm));
        out = a.TickValues(len, extent);
        step = stepOf(out);
        // A finer step can need more decimals than the labels it was chosen by ("0,05" after
        // "0,1"): widen until the labels of the chosen step fit their spacing.
        for (int pass = 0; pass < 4; ++pass) {
            const double need = labelsWidth(a, out, step, fm);
            if (need <= extent) break;
            extent = need;
            out = a.TickValues(len, extent);
            step = stepOf(out);
        }
    };

    ctx.is3D = view3D_;
    if (!view3D_) {
        QRectF plot = area;
        plot.setTop(area.top() + topRoom);
        plot.setBottom(area.bottom() - bottomRoom);
        ctx.yTicks = left_.TickValues(plot.height(), lfm.height());
        ctx.yStep = stepOf(ctx.yTicks);
        double lw = 0;
        if (left_.Visible() && left_.LabelsVisible()) lw = labelsWidth(left_, ctx.yTicks, ctx.yStep, lfm) + tick + 2 * u;
        plot.setLeft(area.left() + leftTitleRoom + lw);
        // Half a bottom label may stick out on the right.
        double lo, hi;
        bottom_.DrawRange(lo, hi);
        const double half = bottom_.LabelsVisible() ? bfm.horizontalAdvance(bottom_.LabelText(hi, (hi - lo) / 10)) / 2 : 0;
        plot.setRight(area.right() - std::max(0.0, half - 4 * u));
        if (plot.width() < 10) plot.setWidth(10);
        if (plot.height() < 10) plot.setHeight(10);
        horizTicks(bottom_, plot.width(), bfm, ctx.xTicks, ctx.xStep);
        ctx.plotRect = plot;
        ctx.x.p0 = plot.left();
        ctx.x.p1 = plot.right();
        ctx.y.p0 = plot.bottom();
        ctx.y.p1 = plot.top();
        ctx.origin = plot.bottomLeft();
        ctx.eu = QPointF(plot.width(), 0);
        ctx.ev = QPointF(0, -plot.height());
        ctx.ew = QPointF(0, 0);
        ctx.boxWidth = plot.width();
        ctx.boxHeight = plot.height();
        return;
    }

    // 3-D: a box seen along a parallel projection, fitted into what the labels leave.
    QRectF avail = area;
    avail.setTop(area.top() + topRoom);
    avail.setBottom(area.bottom() - bottomRoom);
    double lo, hi;
    left_.DrawRange(lo, hi);
    const double lw = left_.LabelsVisible() ? std::max(lfm.horizontalAdvance(left_.LabelText(lo, (hi - lo) / 10)),
                                                       lfm.horizontalAdvance(left_.LabelText(hi, (hi - lo) / 10))) +
                                                  tick + 2 * u
                                            : 0;
    avail.setLeft(area.left() + leftTitleRoom + lw);
    if (depth_.Visible()) {
        depth_.DrawRange(lo, hi);
        const double dw = std::max(dfm.horizontalAdvance(depth_.LabelText(lo, (hi - lo) / 10)),
                                   dfm.horizontalAdvance(depth_.LabelText(hi, (hi - lo) / 10)));
        avail.setRight(area.right() - dw - tick - 2 * u - (depth_.Title().isEmpty() ? 0 : fontH(depth_.TitleFont()) + 2 * u));
    }
    if (avail.width() < 20) avail.setWidth(20);
    if (avail.height() < 20) avail.setHeight(20);
    const double zoom = std::clamp(view3DOpts_.zoom, 1, 1000) / 100.0;
    const double pct = std::clamp(view3DOpts_.chart3DPercent, 1, 100) / 100.0;
    if (view3DOpts_.orthogonal) {
        const double depth = std::min(pct * avail.width() * 0.5, 0.5 * std::min(avail.width(), avail.height()));
        const double d = depth * std::sqrt(0.5);
        QRectF front(avail.left(), avail.top() + d, avail.width() - d, avail.height() - d);
        const QPointF c = avail.center();
        const double fw = front.width() * zoom, fh = front.height() * zoom, dd = d * zoom;
        const QPointF origin(c.x() - (fw + dd) / 2, c.y() + (fh + dd) / 2);
        ctx.origin = origin;
        ctx.eu = QPointF(fw, 0);
        ctx.ev = QPointF(0, -fh);
        ctx.ew = QPointF(dd, -dd);
        ctx.boxWidth = fw;
        ctx.boxHeight = fh;
        ctx.boxDepth = dd * std::sqrt(2.0);
        // Seen straight along the depth: only the depth puts one thing behind another.
        ctx.depthW = ctx.boxDepth;
    } else {
        const double th = (360 - view3DOpts_.rotation) * M_PI / 180.0;
        const double ph = (360 - view3DOpts_.elevation) * M_PI / 180.0;
        const double W = 1.0, H = avail.height() / avail.width(), D = pct;
        // World axes: X along the bottom axis, Y up, Z into the screen; turned about Y, then tilted.
        auto proj = [&](double X, double Y, double Z) {
            const double x1 = X * std::cos(th) + Z * std::sin(th);
            const double z1 = -X * std::sin(th) + Z * std::cos(th);
            const double up = Y * std::cos(ph) + z1 * std::sin(ph);
            return QPointF(x1, -up);
        };
        const QPointF pu = proj(W, 0, 0), pv = proj(0, H, 0), pw = proj(0, 0, D);
        double minx = 1e300, maxx = -1e300, miny = 1e300, maxy = -1e300;
        for (int i = 0; i < 8; ++i) {
            const QPointF q = (i & 1 ? pu : QPointF()) + (i & 2 ? pv : QPointF()) + (i & 4 ? pw : QPointF());
            minx = std::min(minx, q.x());
            maxx = std::max(maxx, q.x());
            miny = std::min(miny, q.y());
            maxy = std::max(maxy, q.y());
        }
        const double s = std::min(avail.width() / std::max(1e-9, maxx - minx), avail.height() / std::max(1e-9, maxy - miny)) * zoom;
        const QPointF c = avail.center();
        const QPointF mid((minx + maxx) / 2, (miny + maxy) / 2);
        ctx.origin = c - mid * s;
        ctx.eu = pu * s;
        ctx.ev = pv * s;
        ctx.ew = pw * s;
        ctx.boxWidth = W * s;
        ctx.boxHeight = H * s;
        ctx.boxDepth = D * s;
        // The third row of the turn: the eye looks along it, down onto the floor when tilted.
        auto depth = [&](double X, double Y, double Z) {
            const double z1 = -X * std::sin(th) + Z * std::cos(th);
            return -Y * std::sin(ph) + z1 * std::cos(ph);
        };
        ctx.depthU = depth(W, 0, 0) * s;
        ctx.depthV = depth(0, H, 0) * s;
        ctx.depthW = depth(0, 0, D) * s;
    }
    QPolygonF front{ctx.ProjectUnit(0, 0, 0), ctx.ProjectUnit(1, 0, 0), ctx.ProjectUnit(1, 1, 0), ctx.ProjectUnit(0, 1, 0)};
    ctx.plotRect = front.boundingRect();
    ctx.x.p0 = ctx.plotRect.left();
    ctx.x.p1 = ctx.plotRect.right();
    ctx.y.p0 = ctx.plotRect.bottom();
    ctx.y.p1 = ctx.plotRect.top();
    auto len = [](QPointF v) { return std::hypot(v.x(), v.y()); };
    ctx.yTicks = left_.TickValues(len(ctx.ev), lfm.height());
    ctx.yStep = stepOf(ctx.yTicks);
    horizTicks(bottom_, len(ctx.eu), bfm, ctx.xTicks, ctx.xStep);
    ctx.zTicks = depth_.TickValues(len(ctx.ew), dfm.height());
    ctx.zStep = stepOf(ctx.zTicks);
}

// ---------------------------------------------------------------- drawing

void TChart::DrawBackImage(QPainter& p, const QRectF& r) const {
    if (backImage_.isNull() || r.width() <= 0 || r.height() <= 0) return;
    switch (backMode_) {
        case TBackImageMode::Stretch: p.drawImage(r, backImage_); break;
        case TBackImageMode::Center: {
            QRectF t(QPointF(0, 0), QSizeF(backImage_.size()));
            t.moveCenter(r.center());
            p.save();
            p.setClipRect(r, Qt::IntersectClip);
            p.drawImage(t, backImage_);
            p.restore();
            break;
        }
        case TBackImageMode::Tile: {
            QBrush b(backImage_);
            b.setTransform(QTransform::fromTranslate(r.left(), r.top()));
            p.fillRect(r, b);
            break;
        }
    }
}

void TChart::DrawAxes2D(TChartDrawContext& ctx) const {
    QPainter& p = *ctx.painter;
    const QRectF plot = ctx.plotRect;
    const double u = ctx.space, tick = 4 * u;
    p.setBrush(Qt::NoBrush);
    // Frame of the plot area.
    p.setPen(QPen(QColor(128, 128, 128), std::max(1.0, u)));
    p.drawRect(plot);

    if (left_.Visible()) {
        p.setPen(drawPen(left_.AxisPen(), u));
        p.drawLine(plot.topLeft(), plot.bottomLeft());
        const QFont f = drawFont(left_.LabelFont(), u);
        const QFontMetricsF fm(f);
        p.setFont(f);
        double maxW = 0;
        for (double v : ctx.yTicks) {
            const double y = ctx.YPos(v);
            p.setPen(drawPen(left_.AxisPen(), u));
            p.drawLine(QPointF(plot.left() - tick, y), QPointF(plot.left(), y));
            if (!left_.LabelsVisible()) continue;
            const QString t = left_.LabelText(v, ctx.yStep);
            maxW = std::max(maxW, fm.horizontalAdvance(t));
            p.setPen(Qt::black);
            p.drawText(QRectF(plot.left() - tick - u - 2000, y - fm.height() / 2, 2000, fm.height()),
                       Qt::AlignRight | Qt::AlignVCenter, t);
        }
        if (!left_.Title().isEmpty()) {
            const QFont tf = drawFont(left_.TitleFont(), u);
            const QFontMetricsF tfm(tf);
            p.setFont(tf);
            p.setPen(Qt::black);
            p.save();
            const double cx = plot.left() - tick - 2 * u - maxW - 2 * u - tfm.height() / 2;
            p.translate(cx, plot.center().y());
            p.rotate(-90);
            p.drawText(QRectF(-plot.height(), -tfm.height() / 2, 2 * plot.height(), tfm.height()), Qt::AlignCenter,
                       left_.Title());
            p.restore();
        }
    }
    if (bottom_.Visible()) {
        p.setPen(drawPen(bottom_.AxisPen(), u));
        p.drawLine(plot.bottomLeft(), plot.bottomRight());
        const QFont f = drawFont(bottom_.LabelFont(), u);
        const QFontMetricsF fm(f);
        p.setFont(f);
        for (double v : ctx.xTicks) {
            const double x = ctx.XPos(v);
            p.setPen(drawPen(bottom_.AxisPen(), u));
            p.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + tick));
            if (!bottom_.LabelsVisible()) continue;
            p.setPen(Qt::black);
            p.drawText(QRectF(x - 1000, plot.bottom() + tick + u, 2000, fm.height()), Qt::AlignHCenter | Qt::AlignTop,
                       bottom_.LabelText(v, ctx.xStep));
        }
        if (!bottom_.Title().isEmpty()) {
            const QFont tf = drawFont(bottom_.TitleFont(), u);
            const QFontMetricsF tfm(tf);
            p.setFont(tf);
            p.setPen(Qt::black);
            const double y = plot.bottom() + tick + u + (bottom_.LabelsVisible() ? fm.height() : 0) + u;
            p.drawText(QRectF(plot.left(), y, plot.width(), tfm.height()), Qt::AlignHCenter | Qt::AlignTop, bottom_.Title());
        }
    }
}

void TChart::DrawAxes3D(TChartDrawContext& ctx) const {
    QPainter& p = *ctx.painter;
    const double u = ctx.space, tick = 4 * u;
    auto P = [&](double a, double b, double c) { return ctx.ProjectUnit(a, b, c); };
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(128, 128, 128), std::max(1.0, u)));
    // The near edges of the box, over the series.
    p.drawLine(P(0, 0, 0), P(1, 0, 0));
    p.drawLine(P(1, 0, 0), P(1, 0, 1));
    p.drawLine(P(0, 0, 0), P(0, 1, 0));

    auto text = [&](const QPointF& at, const QString& t, const QFontMetricsF& fm, Qt::Alignment al) {
        QRectF r(0, 0, fm.horizontalAdvance(t) + 2, fm.height());
        if (al & Qt::AlignRight) r.moveRight(at.x());
        else if (al & Qt::AlignLeft) r.moveLeft(at.x());
        else r.moveLeft(at.x() - r.width() / 2);
        if (al & Qt::AlignTop) r.moveTop(at.y());
        else r.moveTop(at.y() - r.height() / 2);
        p.drawText(r, Qt::AlignCenter, t);
    };
    double leftLabelsX = P(0, 0, 0).x() - tick;
    if (left_.Visible() && left_.LabelsVisible()) {
        const QFontMetricsF fm(drawFont(left_.LabelFont(), u));
        p.setFont(drawFont(left_.LabelFont(), u));
        for (double v : ctx.yTicks) {
            const QPointF a = P(0, ctx.y.Frac(v), 0);
            p.setPen(Qt::black);
            p.drawLine(a, a - QPointF(tick, 0));
            const QString t = left_.LabelText(v, ctx.yStep);
            text(a - QPointF(tick + u, 0), t, fm, Qt::AlignRight | Qt::AlignVCenter);
            leftLabelsX = std::min(leftLabelsX, a.x() - tick - u - fm.horizontalAdvance(t));
        }
    }
    if (bottom_.Visible() && bottom_.LabelsVisible()) {
        const QFontMetricsF fm(drawFont(bottom_.LabelFont(), u));
        p.setFont(drawFont(bottom_.LabelFont(), u));
        for (double v : ctx.xTicks) {
            const QPointF a = P(ctx.x.Frac(v), 0, 0);
            p.setPen(Qt::black);
            p.drawLine(a, a + QPointF(0, tick));
            text(a + QPointF(0, tick + u), bottom_.LabelText(v, ctx.xStep), fm, Qt::AlignHCenter | Qt::AlignTop);
        }
    }
    if (depth_.Visible() && depth_.LabelsVisible()) {
        const QFontMetricsF fm(drawFont(depth_.LabelFont(), u));
        p.setFont(drawFont(depth_.LabelFont(), u));
        for (double v : ctx.zTicks) {
            // The front corner belongs to the bottom axis' last label.
            if (bottom_.Visible() && bottom_.LabelsVisible() && ctx.z.Frac(v) < 0.05) continue;
            const QPointF a = P(1, 0, ctx.z.Frac(v));
            p.setPen(Qt::black);
            p.drawLine(a, a + QPointF(tick, 0));
            text(a + QPointF(tick + u, 0), depth_.LabelText(v, ctx.zStep), fm, Qt::AlignLeft | Qt::AlignVCenter);
        }
    }
    p.setPen(Qt::black);
    if (left_.Visible() && !left_.Title().isEmpty()) {
        const QFont tf = drawFont(left_.TitleFont(), u);
        const QFontMetricsF tfm(tf);
        p.setFont(tf);
        p.save();
        const QPointF m = P(0, 0.5, 0);
        p.translate(std::max(ctx.chartRect.left() + tfm.height() / 2, leftLabelsX - 2 * u - tfm.height() / 2), m.y());
        p.rotate(-90);
        p.drawText(QRectF(-1000, -tfm.height() / 2, 2000, tfm.height()), Qt::AlignCenter, left_.Title());
        p.restore();
    }
    if (bottom_.Visible() && !bottom_.Title().isEmpty()) {
        const QFont tf = drawFont(bottom_.TitleFont(), u);
        const QFontMetricsF tfm(tf), lfm(drawFont(bottom_.LabelFont(), u));
        p.setFont(tf);
        text(P(0.5, 0, 0) + QPointF(0, tick + 2 * u + lfm.height()), bottom_.Title(), tfm, Qt::AlignHCenter | Qt::AlignTop);
    }
    if (depth_.Visible() && !depth_.Title().isEmpty()) {
        const QFont tf = drawFont(depth_.TitleFont(), u);
        const QFontMetricsF tfm(tf);
        p.setFont(tf);
        text(P(1, 0, 1) + QPointF(tick, -tfm.height()), depth_.Title(), tfm, Qt::AlignLeft | Qt::AlignVCenter);
    }
}

void TChart::paint(QPainter& p, const QRectF& rect) const { PaintInto(p, rect, nullptr); }

void TChart::PaintInto(QPainter& p, const QRectF& rect, TChartDrawContext* keep) const {
    auto* self = const_cast<TChart*>(this);
    const bool wasPainting = painting_;
    painting_ = true;
    self->AdjustAxes();

    TChartDrawContext ctx(&p, this);
    Layout(ctx, rect);

    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setClipRect(rect, Qt::IntersectClip);
    if (color_.isValid()) p.fillRect(rect, color_);
    if (!backInside_) DrawBackImage(p, rect);

    QRectF area = rect.adjusted(6 * ctx.space, 4 * ctx.space, -8 * ctx.space, -4 * ctx.space);
    DrawTitle(ctx, title_, area, true);
    DrawTitle(ctx, foot_, area, false);

    const double u = ctx.space;
    if (!view3D_) {
        if (backWall_.isValid()) p.fillRect(ctx.plotRect, backWall_);
        if (backInside_) DrawBackImage(p, ctx.plotRect);
        // Grid under the series.
        if (left_.Visible() && left_.GridVisible()) {
            p.setPen(drawPen(left_.GridPen(), u));
            for (double v : ctx.yTicks)
                p.drawLine(QPointF(ctx.plotRect.left(), ctx.YPos(v)), QPointF(ctx.plotRect.right(), ctx.YPos(v)));
        }
        if (bottom_.Visible() && bottom_.GridVisible()) {
            p.setPen(drawPen(bottom_.GridPen(), u));
            for (double v : ctx.xTicks)
                p.drawLine(QPointF(ctx.XPos(v), ctx.plotRect.top()), QPointF(ctx.XPos(v), ctx.plotRect.bottom()));
        }
    } else {
        auto P = [&](double a, double b, double c) { return ctx.ProjectUnit(a, b, c); };
        const QColor wall = backWall_.isValid() ? backWall_ : QColor(Qt::white);
        p.setPen(QPen(QColor(128, 128, 128), std::max(1.0, u)));
        p.setBrush(wall);
        p.drawPolygon(QPolygonF{P(0, 0, 1), P(1, 0, 1), P(1, 1, 1), P(0, 1, 1)});
        p.setBrush(wall.darker(104));
        p.drawPolygon(QPolygonF{P(0, 0, 0), P(0, 0, 1), P(0, 1, 1), P(0, 1, 0)});
        p.drawPolygon(QPolygonF{P(0, 0, 0), P(1, 0, 0), P(1, 0, 1), P(0, 0, 1)});
        if (backInside_) DrawBackImage(p, QPolygonF{P(0, 0, 1), P(1, 0, 1), P(1, 1, 1), P(0, 1, 1)}.boundingRect());
        if (left_.Visible() && left_.GridVisible()) {
            p.setPen(drawPen(left_.GridPen(), u));
            for (double v : ctx.yTicks) {
                const double t = ctx.y.Frac(v);
                p.drawLine(P(0, t, 1), P(1, t, 1));
                p.drawLine(P(0, t, 0), P(0, t, 1));
            }
        }
        if (bottom_.Visible() && bottom_.GridVisible()) {
            p.setPen(drawPen(bottom_.GridPen(), u));
            for (double v : ctx.xTicks) {
                const double t = ctx.x.Frac(v);
                p.drawLine(P(t, 0, 1), P(t, 1, 1));
                p.drawLine(P(t, 0, 0), P(t, 0, 1));
            }
        }
        if (depth_.Visible() && depth_.GridVisible()) {
            p.setPen(drawPen(depth_.GridPen(), u));
            for (double v : ctx.zTicks) {
                const double t = ctx.z.Frac(v);
                p.drawLine(P(0, 0, t), P(1, 0, t));
                p.drawLine(P(0, 0, t), P(0, 1, t));
            }
        }
    }

    emit self->beforeDrawAxes();

    // Series: clipped to the plot with room for the markers of points on its edges.
    p.save();
    if (!view3D_) p.setClipRect(ctx.plotRect.adjusted(-5 * u, -5 * u, 5 * u, 5 * u), Qt::IntersectClip);
    std::vector<TChartDrawContext::DepthPiece> depthPieces;
    if (view3D_) ctx.depthQueue = &depthPieces;
    for (TChartSeries* s : series_) {
        if (!s->Active()) continue;
        p.save();
        s->Draw(ctx);
        p.restore();
        emit s->afterDrawValues();
    }
    ctx.depthQueue = nullptr;
    // Farthest first; equal depths keep the order of series and points.
    std::stable_sort(depthPieces.begin(), depthPieces.end(),
                     [](const auto& a, const auto& b) { return a.depth > b.depth; });
    for (const auto& piece : depthPieces) {
        p.save();
        piece.paint(p);
        p.restore();
    }
    p.restore();

    // Axes over the series; ticks and labels outside the plot.
    if (!view3D_) DrawAxes2D(ctx);
    else DrawAxes3D(ctx);

    if (legend_.visible) {
        const QSizeF ls = ctx.legendSize;
        if (ls.width() > 0) {
            QRectF box(QPointF(), ls);
            switch (ctx.legendAlignment) {
                case TLegendAlignment::Right: box.moveTopRight(QPointF(area.right(), ctx.plotRect.top())); break;
                case TLegendAlignment::Left: box.moveTopLeft(QPointF(area.left(), ctx.plotRect.top())); break;
                case TLegendAlignment::Top: box.moveTop(area.top()); box.moveLeft(area.center().x() - ls.width() / 2); break;
                case TLegendAlignment::Bottom: box.moveBottom(area.bottom()); box.moveLeft(area.center().x() - ls.width() / 2); break;
            }
            DrawLegend(ctx, box);
        }
    }
    p.restore();
    ctx.painter = nullptr;
    if (keep) *keep = ctx;
    painting_ = wasPainting;
    emit self->afterDraw();
}

TChartDrawContext TChart::LayoutFor(const QRectF& rect) const {
    const_cast<TChart*>(this)->AdjustAxes();
    TChartDrawContext ctx(nullptr, this);
    Layout(ctx, rect);
    return ctx;
}

QImage TChart::RenderImage(const QSize& size) const {
    QImage img(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    paint(p, QRectF(QPointF(0, 0), QSizeF(img.size())));
    p.end();
    return img;
}

void TChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintInto(p, QRectF(rect()), &screenCtx_);
    if (dragging_ && (dragNow_ - dragStart_).manhattanLength() > 3) {
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(dragStart_, dragNow_).normalized());
    }
}

// ---------------------------------------------------------------- mouse

QPointF TChart::PixelToValue(QPointF px) const { return {screenCtx_.x.Value(px.x()), screenCtx_.y.Value(px.y())}; }

QPointF TChart::ValueToPixel(double x, double y) const { return clampPoint(screenCtx_.Pos(x, y)); }

TChartAxis* TChart::AxisAt(QPointF pos) const {
    const QRectF plot = screenCtx_.plotRect;
    if (plot.isEmpty() || view3D_) return nullptr;
    auto* self = const_cast<TChart*>(this);
    if (pos.x() < plot.left() && pos.x() >= screenCtx_.chartRect.left() && pos.y() >= plot.top() && pos.y() <= plot.bottom())
        return &self->left_;
    if (pos.y() > plot.bottom() && pos.y() <= screenCtx_.chartRect.bottom() && pos.x() >= plot.left() && pos.x() <= plot.right())
        return &self->bottom_;
    return nullptr;
}

void TChart::mousePressEvent(QMouseEvent* e) {
    emit mouseDown(e->position().toPoint(), e->button(), e->modifiers());
    pressButton_ = e->button();
    dragStart_ = dragNow_ = e->position().toPoint();
    dragging_ = e->button() == Qt::LeftButton && allowZoom_ && !view3D_;
}

void TChart::mouseMoveEvent(QMouseEvent* e) {
    emit mouseMove(e->position().toPoint(), e->buttons(), e->modifiers());
    if (dragging_) {
        dragNow_ = e->position().toPoint();
        update();
    }
}

void TChart::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    emit mouseUp(pos, e->button());
    const bool wasDragging = dragging_;
    dragging_ = false;
    const QPoint d = pos - dragStart_;
    if (wasDragging && d.manhattanLength() > 3) {
        update();
        if (d.x() > 0 && d.y() > 0) {
            const QPointF a = PixelToValue(dragStart_), b = PixelToValue(pos);
            ZoomValues(a.x(), b.x(), a.y(), b.y());
        } else {
            UndoZoom();
        }
        return;
    }
    if (TChartAxis* a = AxisAt(pos)) emit axisClicked(a, e->button());
    for (int i = SeriesCount() - 1; i >= 0; --i) {
        TChartSeries* s = series_[std::size_t(i)];
        if (!s->Active()) continue;
        const int idx = s->Clicked(screenCtx_, pos);
        if (idx >= 0) {
            emit seriesClicked(s, idx, e->button());
            break;
        }
    }
    if (screenCtx_.plotRect.contains(pos)) {
        const QPointF v = PixelToValue(pos);
        emit clicked(v.x(), v.y(), e->button());
    }
}

// ---------------------------------------------------------------- copy and print scaling

void TChart::Assign(const TChart& src) {
    if (&src == this) return;
    RemoveAllSeries();
    left_.AssignFrom(src.left_);
    bottom_.AssignFrom(src.bottom_);
    depth_.AssignFrom(src.depth_);
    title_ = src.title_;
    foot_ = src.foot_;
    numberLocale_ = src.numberLocale_;  // a printout writes its figures as the screen does
    legend_ = src.legend_;
    color_ = src.color_;
    backWall_ = src.backWall_;
    backImage_ = src.backImage_;
    backMode_ = src.backMode_;
    backInside_ = src.backInside_;
    view3D_ = src.view3D_;
    view3DOpts_ = src.view3DOpts_;
    allowZoom_ = src.allowZoom_;
    for (const TChartSeries* s : src.series_) AddSeries(s->Clone());
    Changed();
}

void TChart::ScaleForPrint(double f) {
    if (!std::isfinite(f) || f <= 0) return;
    for (TChartAxis* a : {&left_, &bottom_, &depth_}) {
        a->axisPen_.width = scaledSize(a->axisPen_.width, f);
        scaleFont(a->labelFont_, f);
        scaleFont(a->titleFont_, f);
        a->gridPen_.width = scaledSize(a->gridPen_.width, f);
    }
    left_.labelSeparation_ = std::max(0, int(std::nearbyint(left_.labelSeparation_ * f)));
    for (TChartSeries* s : series_) s->ScaleSizes(f);
    scaleFont(legend_.font, f);
    scaleFont(title_.font, f);
    Changed();
}

}  // namespace platform
