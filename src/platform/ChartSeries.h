#pragma once
// Chart series: lists of points filled one by one, drawn by the chart that owns them.
// Every series is a QObject child of its chart, so forms and the language service find it by
// objectName and set its title through the "title" property.
#include <QColor>
#include <QFont>
#include <QObject>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class QPainter;

namespace platform {

class TChart;
class TChartDrawContext;

// Colour value of a point that means "the series' own colour".
constexpr uint32_t kSeriesColor = 0x80000000u;

// Windows colour value 0x00BBGGRR to a QColor. Values with the top bit set are system colours
// (button face, window, text...), mapped onto the application palette; kSeriesColor itself gives
// an invalid QColor, which the series read as their own colour.
QColor colorFromWin(uint32_t value);
uint32_t colorToWin(const QColor& color);

struct TChartPen {
    QColor color;  // invalid: the series colour (black for markers and axes)
    int width = 1;
    Qt::PenStyle style = Qt::SolidLine;
    bool visible = true;
    bool operator==(const TChartPen&) const = default;
};

enum class TPointerStyle { Rectangle, Circle, Triangle, DownTriangle, Cross, DiagCross, Star, Diamond, SmallDot, Nothing };

// Point markers of a series.
struct TSeriesPointer {
    bool visible = true;
    TPointerStyle style = TPointerStyle::Rectangle;
    int horizSize = 4;  // half width in pixels
    int vertSize = 4;   // half height in pixels
    TChartPen pen;      // outline
    bool operator==(const TSeriesPointer&) const = default;
};

enum class TValueOrder { None, Ascending };

// One list of values of a series (X, Y, and the lists a series kind adds: arrow ends, depth).
struct TChartValueList {
    QString name;
    TValueOrder order = TValueOrder::None;
    std::vector<double> values;
};

enum class TSeriesKind { Line, Point, FastLine, Arrow, Shape, Other };

class TChartSeries : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString title READ Title WRITE SetTitle)
    Q_PROPERTY(bool active READ Active WRITE SetActive)
public:
    explicit TChartSeries(QObject* parent = nullptr);
    ~TChartSeries() override;

    virtual TSeriesKind Kind() const { return TSeriesKind::Other; }

    // Adds a point and returns its index. With an ascending X order (line, point and fast line
    // series) the point is inserted after every point of smaller or equal X. Non-finite values
    // are kept (indexes stay parallel to the caller's data) but never drawn nor scaled.
    int AddXY(double x, double y, const QString& label = QString(), uint32_t color = kSeriesColor);
    // Adds a whole run of points (no labels, the series colour): the same points in the same
    // order as adding them one by one with AddXY, in time linear in the run plus one stable sort
    // of what came out of X order (equal X values keep the order they were added in).
    void AddXYs(std::span<const QPointF> points);
    // Adds y at x = the point count.
    int Add(double y, const QString& label = QString(), uint32_t color = kSeriesColor);
    virtual void Clear();
    void Delete(int index);
    int Count() const { return int(xValues_.values.size()); }

    double XValue(int i) const;  // NaN for an index out of range
    double YValue(int i) const;
    void SetXValue(int i, double v);
    void SetYValue(int i, double v);
    QString Label(int i) const;
    uint32_t ValueColorWin(int i) const;
    QColor ValueColor(int i) const;  // the series colour for kSeriesColor
    void SetValueColor(int i, uint32_t color);

    TChartValueList& XValues() { return xValues_; }
    TChartValueList& YValues() { return yValues_; }
    const TChartValueList& XValues() const { return xValues_; }
    const TChartValueList& YValues() const { return yValues_; }

    QString Title() const { return title_; }
    void SetTitle(const QString& t);
    bool Active() const { return active_; }
    void SetActive(bool on);
    bool ShowInLegend() const { return showInLegend_; }
    void SetShowInLegend(bool on);
    QColor SeriesColor() const { return color_; }
    void SetSeriesColor(const QColor& c);
    void SetSeriesColorWin(uint32_t c) { SetSeriesColor(colorFromWin(c)); }

    TChart* ParentChart() const;

    // Extremes over the finite values only; NaN when there is none.
    virtual double MinXValue() const;
    virtual double MaxXValue() const;
    virtual double MinYValue() const;
    virtual double MaxYValue() const;
    // Depth extremes, for series with a third coordinate (3-D series override).
    virtual bool HasZValues() const { return false; }
    virtual double MinZValue() const;
    virtual double MaxZValue() const;

    // First and last point inside the current range of the bottom axis (-1 when none).
    int FirstValueIndex() const;
    int LastValueIndex() const;

    // Copy of the same class with the same settings and points (not parented).
    TChartSeries* Clone() const;
    // Copies settings and points of another series; subclasses copy their own part and call up.
    virtual void Assign(const TChartSeries& src);

    // Drawing hooks used by the chart; a new series kind overrides them.
    virtual void Draw(TChartDrawContext& ctx) const = 0;
    virtual void DrawLegendSymbol(QPainter& p, const QRectF& r, double scale) const;
    // Hit test at a widget position; the point index or -1.
    virtual int Clicked(const TChartDrawContext& ctx, QPointF pos) const;
    // Print scaling of the sizes the series owns (markers, line widths), factor f.
    virtual void ScaleSizes(double f);

signals:
    void afterDrawValues();  // emitted by the chart after the series has been drawn

protected:
    virtual TChartSeries* NewInstance() const = 0;
    // Lists beyond X and Y that a kind adds; they get a 0 for every new point.
    void RegisterValueList(TChartValueList* list);
    void Changed();
    double ExtremeOf(const TChartValueList& l, bool max) const;
    // Helper: pointer drawing shared by the kinds with markers.
    static void DrawPointer(QPainter& p, const TSeriesPointer& ptr, QPointF c, const QColor& fill, double scale);
    // The markers of every finite point, in point order. On an unscaled raster (the screen, an
    // image) a large series stamps each marker from a picture made once per colour and sixteenth
    // of a pixel, leaving out those wholly outside the plot; printers, PDF and small series draw
    // each marker.
    void DrawPointers(TChartDrawContext& ctx, const TSeriesPointer& ptr) const;
    // Helpers for kinds outside this file: the painter pen of a chart pen (invalid colour: the
    // fallback), and a size scaled for print (halves to even, never below 1).
    static QPen PenFor(const TChartPen& pen, const QColor& fallback, double unit);
    static int ScaledSize(int v, double f);

    TChartValueList xValues_{"X", TValueOrder::None, {}};
    TChartValueList yValues_{"Y", TValueOrder::None, {}};
    std::vector<TChartValueList*> extraLists_;
    QStringList labels_;
    struct MarkerCache;
    mutable std::unique_ptr<MarkerCache> markerCache_;
    std::vector<uint32_t> colors_;
    QString title_;
    QColor color_ = Qt::red;
    bool active_ = true;
    bool showInLegend_ = true;

private:
    // Puts the points from index `first` on into their ascending-X places (see AddXY).
    void SortAddedFrom(std::size_t first);
};

// Line through the points, optional point markers. Non-finite points break the line.
class TLineSeries : public TChartSeries {
    Q_OBJECT
public:
    explicit TLineSeries(QObject* parent = nullptr);
    TSeriesKind Kind() const override { return TSeriesKind::Line; }
    TChartPen& LinePen() { return linePen_; }
    const TChartPen& LinePen() const { return linePen_; }
    TSeriesPointer& Pointer() { return pointer_; }
    const TSeriesPointer& Pointer() const { return pointer_; }
    void Assign(const TChartSeries& src) override;
    void Draw(TChartDrawContext& ctx) const override;
    void DrawLegendSymbol(QPainter& p, const QRectF& r, double scale) const override;
    void ScaleSizes(double f) override;

protected:
    TChartSeries* NewInstance() const override { return new TLineSeries; }
    TChartPen linePen_;
    TSeriesPointer pointer_;
};

// Markers only.
class TPointSeries : public TChartSeries {
    Q_OBJECT
public:
    explicit TPointSeries(QObject* parent = nullptr);
    TSeriesKind Kind() const override { return TSeriesKind::Point; }
    TSeriesPointer& Pointer() { return pointer_; }
    const TSeriesPointer& Pointer() const { return pointer_; }
    void Assign(const TChartSeries& src) override;
    void Draw(TChartDrawContext& ctx) const override;
    void DrawLegendSymbol(QPainter& p, const QRectF& r, double scale) const override;
    void ScaleSizes(double f) override;

protected:
    TChartSeries* NewInstance() const override { return new TPointSeries; }
    TSeriesPointer pointer_;
};

// Plain polyline for many points (velocity, vibration).
class TFastLineSeries : public TChartSeries {
    Q_OBJECT
public:
    explicit TFastLineSeries(QObject* parent = nullptr);
    TSeriesKind Kind() const override { return TSeriesKind::FastLine; }
    TChartPen& LinePen() { return linePen_; }
    const TChartPen& LinePen() const { return linePen_; }
    void Assign(const TChartSeries& src) override;
    void Draw(TChartDrawContext& ctx) const override;
    void DrawLegendSymbol(QPainter& p, const QRectF& r, double scale) const override;
    void ScaleSizes(double f) override;

protected:
    TChartSeries* NewInstance() const override { return new TFastLineSeries; }
    TChartPen linePen_;
};

// Arrows from (x0, y0) to (x1, y1), one per item.
class TArrowSeries : public TChartSeries {
    Q_OBJECT
public:
    explicit TArrowSeries(QObject* parent = nullptr);
    TSeriesKind Kind() const override { return TSeriesKind::Arrow; }
    int AddArrow(double x0, double y0, double x1, double y1, const QString& label = QString(),
                 uint32_t color = kSeriesColor);
    double EndXValue(int i) const;
    double EndYValue(int i) const;
    TChartPen& ArrowPen() { return pen_; }
    int ArrowWidth() const { return arrowWidth_; }
    int ArrowHeight() const { return arrowHeight_; }
    void SetArrowSize(int width, int height);
    double MinXValue() const override;
    double MaxXValue() const override;
    double MinYValue() const override;
    double MaxYValue() const override;
    void Assign(const TChartSeries& src) override;
    void Draw(TChartDrawContext& ctx) const override;
    void DrawLegendSymbol(QPainter& p, const QRectF& r, double unit) const override;
    void ScaleSizes(double f) override;

protected:
    TChartSeries* NewInstance() const override { return new TArrowSeries; }
    void DrawArrow(QPainter& p, QPointF a, QPointF b, const QColor& col, double unit) const;
    TChartValueList endX_{"EndX", TValueOrder::None, {}};
    TChartValueList endY_{"EndY", TValueOrder::None, {}};
    TChartPen pen_;
    int arrowWidth_ = 8;
    int arrowHeight_ = 10;
};

enum class TShapeStyle { Rectangle, Ellipse, Line, HorizLine, VertLine, Text };

// A shape between two corners in value coordinates: points 0 and 1 of the series.
class TChartShape : public TChartSeries {
    Q_OBJECT
public:
    explicit TChartShape(QObject* parent = nullptr);
    TSeriesKind Kind() const override { return TSeriesKind::Shape; }
    void SetCorners(double x0, double y0, double x1, double y1);
    double X0() const { return XValue(0); }
    double Y0() const { return YValue(0); }
    double X1() const { return XValue(1); }
    double Y1() const { return YValue(1); }
    TShapeStyle Style() const { return style_; }
    void SetStyle(TShapeStyle s);
    TChartPen& Pen() { return pen_; }
    QColor BrushColor() const { return brush_; }  // invalid: no fill
    void SetBrushColor(const QColor& c);
    QStringList Text() const { return text_; }
    void SetText(const QStringList& t);
    QFont& Font() { return font_; }
    void Assign(const TChartSeries& src) override;
    void Draw(TChartDrawContext& ctx) const override;
    void DrawLegendSymbol(QPainter& p, const QRectF& r, double scale) const override;
    void ScaleSizes(double f) override;

protected:
    TChartSeries* NewInstance() const override { return new TChartShape; }
    TShapeStyle style_ = TShapeStyle::Rectangle;
    TChartPen pen_;
    QColor brush_;
    QStringList text_;
    QFont font_;
};

}  // namespace platform
