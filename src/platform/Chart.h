#pragma once
// Our chart: series filled point by point, axes with automatic or fixed limits, title lines,
// foot, legend, background picture and an optional 3-D view. The whole drawing is paint(), so
// the same chart renders to the screen, an image, a printer or a PDF.
#include <QFont>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QStringList>
#include <QLocale>
#include <QWidget>
#include <array>
#include <functional>
#include <stdexcept>
#include <vector>

#include "platform/ChartSeries.h"

class QPainter;

namespace platform {

class TChart;

// A limit the chart refuses (a maximum below the minimum, a non-finite value).
class ChartAxisError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TAxisKind { Left, Bottom, Depth };

class TChartAxis {
public:
    TChartAxis(TChart* owner, TAxisKind kind);
    TAxisKind Kind() const { return kind_; }

    // Automatic on: both ends follow the active series. Off: each end follows them only when
    // its own automatic flag is set, otherwise it keeps the value set.
    bool Automatic() const { return automatic_; }
    void SetAutomatic(bool on);
    bool AutomaticMinimum() const { return autoMin_; }
    void SetAutomaticMinimum(bool on);
    bool AutomaticMaximum() const { return autoMax_; }
    void SetAutomaticMaximum(bool on);
    // Current limits: the values set, or for automatic ends the values of the last adjustment
    // (TChart::AdjustAxes, also run by every paint).
    double Minimum() const { return min_; }
    double Maximum() const { return max_; }
    // Refused with ChartAxisError when non-finite or when the minimum would exceed the maximum.
    void SetMinimum(double v);
    void SetMaximum(double v);
    // Fixed range: switches the automatic flags off; the ends are taken in either order.
    void SetMinMax(double a, double b);
    double Increment() const { return increment_; }  // 0: chosen from the space
    void SetIncrement(double v);
    // An axis that counts (point numbers) has ticks on whole numbers only.
    bool WholeNumberTicks() const { return wholeNumbers_; }
    void SetWholeNumberTicks(bool on);

    QString Title() const { return title_; }
    void SetTitle(const QString& t);
    QFont& TitleFont() { return titleFont_; }
    QFont& LabelFont() { return labelFont_; }
    const QFont& TitleFont() const { return titleFont_; }
    const QFont& LabelFont() const { return labelFont_; }
    // Decimals of the tick labels; -1 chooses them from the tick step.
    int LabelDecimals() const { return labelDecimals_; }
    void SetLabelDecimals(int d);
    bool LabelsVisible() const { return labelsVisible_; }
    void SetLabelsVisible(bool on);
    int LabelSeparation() const { return labelSeparation_; }  // percent of a label between labels
    void SetLabelSeparation(int percent);
    bool Visible() const { return visible_; }
    void SetVisible(bool on);
    bool GridVisible() const { return gridVisible_; }
    void SetGridVisible(bool on);
    TChartPen& GridPen() { return gridPen_; }
    TChartPen& AxisPen() { return axisPen_; }
    const TChartPen& GridPen() const { return gridPen_; }
    const TChartPen& AxisPen() const { return axisPen_; }
    bool Inverted() const { return inverted_; }
    void SetInverted(bool on);
    bool Logarithmic() const { return logarithmic_; }
    void SetLogarithmic(bool on);

    // The range drawn: the limits, widened when they are equal, positive for a log axis.
    void DrawRange(double& lo, double& hi) const;
    // Tick values for a given screen length (pixels) and label extent.
    std::vector<double> TickValues(double lengthPx, double labelExtentPx) const;
    QString LabelText(double v, double step) const;

    void AssignFrom(const TChartAxis& src);  // everything but the owner

private:
    friend class TChart;
    void Changed();
    double NiceStepFor(double lengthPx, double labelExtentPx, double lo, double hi) const;
    double niceStepIgnoringWhole(double lengthPx, double labelExtentPx, double span) const;

    TChart* owner_;
    TAxisKind kind_;
    bool automatic_ = true, autoMin_ = true, autoMax_ = true;
    double min_ = 0.0, max_ = 1.0;
    double increment_ = 0.0;
    bool wholeNumbers_ = false;
    QString title_;
    QFont titleFont_, labelFont_;
    int labelDecimals_ = -1;
    bool labelsVisible_ = true;
    int labelSeparation_ = 10;
    bool visible_ = true;
    bool gridVisible_ = true;
    TChartPen gridPen_{QColor(192, 192, 192), 1, Qt::DotLine, true};
    TChartPen axisPen_{Qt::black, 1, Qt::SolidLine, true};
    bool inverted_ = false;
    bool logarithmic_ = false;
};

struct TChartTitle {
    QStringList text;
    QFont font;
    QColor fontColor = Qt::black;
    QColor color;  // background; invalid: none
    bool visible = true;
    Qt::Alignment alignment = Qt::AlignHCenter;
};

enum class TLegendAlignment { Right, Left, Top, Bottom };

struct TChartLegend {
    bool visible = true;
    TLegendAlignment alignment = TLegendAlignment::Right;
    QFont font;
    QColor fontColor = Qt::black;
    QColor color = Qt::white;  // background; invalid: none
    bool frameVisible = true;
};

// 3-D view: angles in degrees as the view controls set them (360 is the front view).
struct TChartView3D {
    int rotation = 345;
    int elevation = 345;
    int zoom = 100;         // percent
    int perspective = 0;    // kept; the projection is parallel
    bool orthogonal = true; // true: oblique depth offset; false: turned by rotation and elevation
    int chart3DPercent = 15;  // depth against the plot width
};

enum class TBackImageMode { Stretch, Tile, Center };

// Everything a series needs to place itself while the chart draws: the painter, the plot
// rectangle, the axis mappings and the 3-D projection.
class TChartDrawContext {
public:
    struct AxisMap {
        double lo = 0, hi = 1;  // value range
        double p0 = 0, p1 = 1;  // pixel of lo and of hi (2-D)
        bool log = false;
        bool inverted = false;
        // Value to 0..1 along the axis (inversion applied); clamped far outside, never NaN.
        double Frac(double v) const;
        double Pos(double v) const { return p0 + Frac(v) * (p1 - p0); }
        double Value(double px) const;  // pixel back to value (2-D)
    };

    TChartDrawContext(QPainter* p, const TChart* c) : painter(p), chart(c) {}
    QPainter* painter;
    const TChart* chart;
    QRectF chartRect;
    QRectF plotRect;    // plot area; in 3-D the bounds of the front face
    double unit = 1.0;   // multiplier of pen and marker sizes (they are scaled for print themselves)
    double space = 1.0;  // layout spacing: margins and ticks grow with the label font
    // Where the layout put the legend and its box size: a side legend that would take more than a
    // third of the chart's width goes below the plot, its entries wrapped into rows.
    TLegendAlignment legendAlignment = TLegendAlignment::Right;
    QSizeF legendSize;
    AxisMap x, y, z;
    std::vector<double> xTicks, yTicks, zTicks;
    double xStep = 0, yStep = 0, zStep = 0;

    bool Is3D() const { return is3D; }
    double XPos(double v) const { return x.Pos(v); }
    double YPos(double v) const { return y.Pos(v); }
    // Screen point of a value pair; in 3-D on the front face.
    QPointF Pos(double vx, double vy) const;
    // Screen point of a value triple; z is ignored in 2-D.
    QPointF Pos3D(double vx, double vy, double vz) const;
    // Screen point of box coordinates (0..1 along each axis, w = 0 at the front).
    QPointF ProjectUnit(double u, double v, double w) const { return origin + u * eu + v * ev + w * ew; }
    // Screen length of a value step along the vertical axis.
    double YSize(double dv) const;
    double ZFraction(double vz) const { return z.Frac(vz); }

    // The parallel projection of the 3-D box, set by the chart.
    bool is3D = false;
    QPointF origin, eu, ev, ew;

    // Edge lengths of the box in pixels before the projection (2-D: the plot, no depth), so a
    // size along one axis can be turned into a part of another.
    double boxWidth = 0, boxHeight = 0, boxDepth = 0;
    // Distance from the eye per unit of box coordinates (larger: farther); 0 in 2-D.
    double depthU = 0, depthV = 0, depthW = 0;
    double ViewDepth(double u, double v, double w) const { return u * depthU + v * depthV + w * depthW; }

    // Drawing back to front across series: a series hands over a piece with its view depth and
    // the chart paints the pieces, farthest first, after every series has drawn. Without a queue
    // (2-D, or a context made outside the chart's paint) the piece is painted at once.
    struct DepthPiece {
        double depth;
        std::function<void(QPainter&)> paint;
    };
    void PaintAtDepth(double depth, std::function<void(QPainter&)> piece);
    std::vector<DepthPiece>* depthQueue = nullptr;
};

class TChart : public QWidget {
    Q_OBJECT
public:
    explicit TChart(QWidget* parent = nullptr);
    ~TChart() override;

    // Series, owned by the chart and drawn in order.
    template <class S>
    S* AddNewSeries(const QString& objectName, const QString& title = QString()) {
        auto* s = new S;
        s->setObjectName(objectName);
        s->SetTitle(title.isEmpty() ? objectName : title);
        AddSeries(s);
        return s;
    }
    void AddSeries(TChartSeries* s);  // takes ownership
    void RemoveSeries(TChartSeries* s);  // deletes it
    void RemoveAllSeries();
    void ClearAllSeries();  // empties every series
    int SeriesCount() const { return int(series_.size()); }
    TChartSeries* Series(int i) const;
    TChartSeries* SeriesByName(const QString& objectName) const;

    TChartAxis& LeftAxis() { return left_; }
    TChartAxis& BottomAxis() { return bottom_; }
    TChartAxis& DepthAxis() { return depth_; }
    const TChartAxis& LeftAxis() const { return left_; }
    const TChartAxis& BottomAxis() const { return bottom_; }
    const TChartAxis& DepthAxis() const { return depth_; }

    TChartTitle& Title() { return title_; }
    TChartTitle& Foot() { return foot_; }
    const TChartTitle& Title() const { return title_; }
    const TChartTitle& Foot() const { return foot_; }
    void SetTitleText(const QStringList& lines);
    void SetTitleText(const QString& oneLine) { SetTitleText(QStringList{oneLine}); }
    TChartLegend& Legend() { return legend_; }
    const TChartLegend& Legend() const { return legend_; }
    void SetLegendVisible(bool on);

    // The locale of the axis labels' numbers (the language's decimal separator); Qt's default
    // locale until set.
    const QLocale& NumberLocale() const { return numberLocale_; }
    void SetNumberLocale(const QLocale& locale);

    QColor Color() const { return color_; }  // background of the whole chart; invalid: none
    void SetColor(const QColor& c);
    QColor BackWallColor() const { return backWall_; }  // plot area; invalid: transparent
    void SetBackWallColor(const QColor& c);

    QImage BackImage() const { return backImage_; }
    void SetBackImage(const QImage& img);
    void ClearBackImage() { SetBackImage(QImage()); }
    // Loads a picture; for a Windows metafile name the PNG or SVG of the same base name is used.
    // Missing or unreadable: no background, false.
    bool LoadBackImage(const QString& path);
    TBackImageMode BackImageMode() const { return backMode_; }
    void SetBackImageMode(TBackImageMode m);
    bool BackImageInside() const { return backInside_; }
    void SetBackImageInside(bool on);

    bool View3D() const { return view3D_; }
    void SetView3D(bool on);
    TChartView3D& View3DOptions() { return view3DOpts_; }
    const TChartView3D& View3DOptions() const { return view3DOpts_; }
    void SetRotation(int degrees);
    void SetElevation(int degrees);

    // Zoom: a drag to the lower right zooms into the rectangle, a drag to the upper left undoes it.
    bool AllowZoom() const { return allowZoom_; }
    void SetAllowZoom(bool on) { allowZoom_ = on; }
    bool Zoomed() const { return zoomed_; }
    void ZoomValues(double x0, double x1, double y0, double y1);
    void UndoZoom();

    // Computes the automatic limits of the axes from the active series now.
    void AdjustAxes();

    // The drawing: fills rect of the painter with the whole chart.
    void paint(QPainter& p, const QRectF& rect) const;
    QImage RenderImage(const QSize& size) const;
    // The placement a drawing into rect would use (axes adjusted first), without drawing.
    TChartDrawContext LayoutFor(const QRectF& rect) const;

    // Value coordinates of a widget position and back, from the last paint on the screen.
    QPointF PixelToValue(QPointF px) const;
    QPointF ValueToPixel(double x, double y) const;
    QRectF PlotRect() const { return screenCtx_.plotRect; }

    // Copies another chart's settings and series (each series a copy of the same class).
    void Assign(const TChart& src);
    // Scales fonts, pens and markers for output at another resolution: every size × f, rounded
    // to the nearest integer with halves to even, never below 1.
    void ScaleForPrint(double f);

    // Repaint on the screen soon (changes of series and settings call it themselves).
    void Changed();

signals:
    void beforeDrawAxes();  // limits are set; a handler may add points (zero lines)
    void afterDraw();
    void clicked(double x, double y, Qt::MouseButton button);  // value coordinates of a click
    void axisClicked(platform::TChartAxis* axis, Qt::MouseButton button);
    void seriesClicked(platform::TChartSeries* series, int index, Qt::MouseButton button);
    void mouseDown(QPoint pos, Qt::MouseButton button, Qt::KeyboardModifiers mods);
    void mouseMove(QPoint pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
    void mouseUp(QPoint pos, Qt::MouseButton button);
    void zoomed();
    void undoneZoom();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    QSize sizeHint() const override { return {480, 320}; }

private:
    friend class TChartSeries;
    void Layout(TChartDrawContext& ctx, const QRectF& rect) const;
    void PaintInto(QPainter& p, const QRectF& rect, TChartDrawContext* keep) const;
    void DrawAxes2D(TChartDrawContext& ctx) const;
    void DrawAxes3D(TChartDrawContext& ctx) const;
    void DrawLegend(TChartDrawContext& ctx, const QRectF& box) const;
    QSizeF LegendSize(TChartDrawContext& ctx, TLegendAlignment alignment, double maxWidth) const;
    void DrawTitle(TChartDrawContext& ctx, const TChartTitle& t, QRectF& area, bool top) const;
    void DrawBackImage(QPainter& p, const QRectF& r) const;
    TChartAxis* AxisAt(QPointF pos) const;

    std::vector<TChartSeries*> series_;
    TChartAxis left_, bottom_, depth_;
    TChartTitle title_, foot_;
    QLocale numberLocale_;
    TChartLegend legend_;
    QColor color_;
    QColor backWall_;
    QImage backImage_;
    TBackImageMode backMode_ = TBackImageMode::Stretch;
    bool backInside_ = false;
    bool view3D_ = false;
    TChartView3D view3DOpts_;

    bool allowZoom_ = true;
    bool zoomed_ = false;
    struct SavedAxis { bool automatic, autoMin, autoMax; double min, max; };
    SavedAxis savedLeft_{}, savedBottom_{};

    mutable TChartDrawContext screenCtx_{nullptr, nullptr};
    mutable bool painting_ = false;
    bool dragging_ = false;
    QPoint dragStart_, dragNow_;
    Qt::MouseButton pressButton_ = Qt::NoButton;
};

// Font size of a chart font in pixels of the drawing (sizes are points at 96 dpi).
double chartFontPixels(const QFont& f);

}  // namespace platform
