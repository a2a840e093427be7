#pragma once
// Series whose points carry a third coordinate (the flatness map, the cosine-error view). They
// draw through the chart's 3-D box: x along the bottom axis, y up the left axis, z along the
// depth axis. In a 2-D chart the z coordinate is left out.
#include <functional>

#include "platform/ChartSeries.h"

namespace platform {

// Common base: a Z value beside every X and Y, kept in step by every add, delete and clear.
class TCustom3DSeries : public TChartSeries {
    Q_OBJECT
public:
    explicit TCustom3DSeries(QObject* parent = nullptr);

    // Adds a point at whole-number X and Z and returns its index. Points stay in the order in
    // which they were added; they are never sorted by X.
    virtual int AddXYZ(int x, int z, double y, const QString& label = QString(), uint32_t color = kSeriesColor);
    // For callers that hold doubles: X and Z rounded to the nearest whole number, halves to even.
    // A coordinate that is not finite, or an X or Z beyond the 32-bit range, has no place on the
    // chart: nothing is added and the result is -1.
    int AddXYZRounded(double x, double z, double y, const QString& label = QString(), uint32_t color = kSeriesColor);

    double ZValue(int i) const;  // NaN for an index out of range
    // Refused (false, the value kept) for a non-finite value or an index out of range.
    bool SetZValue(int i, double v);
    const TChartValueList& ZValues() const { return zValues_; }

    // Depth positions the series asks its chart to reserve. Our chart gives every 3-D series the
    // whole depth of the box, so the value is only kept and copied.
    int TimesZOrder() const { return timesZOrder_; }
    void SetTimesZOrder(int n) { timesZOrder_ = n; }

    bool HasZValues() const override { return true; }
    double MinZValue() const override;
    double MaxZValue() const override;

    // A 3-D series takes its data only from another 3-D series.
    bool IsValidSourceOf(const TChartSeries& other) const;
    void Assign(const TChartSeries& src) override;

protected:
    TChartValueList zValues_{"Z", TValueOrder::None, {}};
    int timesZOrder_ = 3;
};

class TPoint3DSeries;
using TSeriesClickPointer3DEvent = std::function<void(TPoint3DSeries* sender, int valueIndex, int x, int y)>;
using TPointStyle3DEvent = std::function<TPointerStyle(const TPoint3DSeries* sender, int valueIndex)>;

// Each point a pointer at its own depth, joined to the previous point by a 3-D line. Rectangle
// and triangle pointers are solids reaching DepthSize into the depth; the other styles are flat
// at the point's depth, where the joining lines meet them. Pieces are painted back to front.
class TPoint3DSeries : public TCustom3DSeries {
    Q_OBJECT
public:
    explicit TPoint3DSeries(QObject* parent = nullptr);

    // Depth of one pointer, in units of the vertical axis.
    double DepthSize() const { return depthSize_; }
    // Refused (false, the value kept) when negative or not finite.
    bool SetDepthSize(double v);
    TChartPen& LinePen() { return linePen_; }
    const TChartPen& LinePen() const { return linePen_; }
    TSeriesPointer& Pointer() { return pointer_; }
    const TSeriesPointer& Pointer() const { return pointer_; }

    TSeriesClickPointer3DEvent OnClickPointer;  // a click that hits a point
    TPointStyle3DEvent OnGetPointerStyle;       // each point's pointer style; unset: Pointer().style

    // The largest Z plus DepthSize, so the depth axis leaves room for the last pointer.
    double MaxZValue() const override;

    // N points with X, Y and Z each a random whole number 0..99.
    void AddSampleValues(int n);

    // Where point i sits: its screen position at its own depth, its box coordinates and the
    // depth its pointer spans (w0 the point's own depth, w1 = w0 + DepthSize). ok is false for a
    // point with a non-finite coordinate, which is not drawn and breaks the line.
    struct Place {
        bool ok = false;
        QPointF screen;
        double u = 0, v = 0, w0 = 0, w1 = 0;
    };
    Place PlaceOf(const TChartDrawContext& ctx, int i) const;

    void Assign(const TChartSeries& src) override;
    void Draw(TChartDrawContext& ctx) const override;
    void DrawLegendSymbol(QPainter& p, const QRectF& r, double unit) const override;
    // The first point, in index order, whose pointer covers the position; raises OnClickPointer.
    int Clicked(const TChartDrawContext& ctx, QPointF pos) const override;
    void ScaleSizes(double f) override;

protected:
    TChartSeries* NewInstance() const override { return new TPoint3DSeries; }
    static void DrawSolidPointer(QPainter& p, const TSeriesPointer& ptr, QPointF front, QPointF back,
                                 const QColor& fill, double unit);

    double depthSize_ = 4.0;
    TChartPen linePen_;
    TSeriesPointer pointer_;
};

}  // namespace platform
