#pragma once
// Grid series: points on a regular X-by-Z grid whose heights (Y) are shown by colour, either as
// a shaded surface of quadrilateral cells or as level lines. The points are ordinary 3-D points
// (ZValues beside X and Y); the grid is found from them before every drawing.
#include <QColor>
#include <functional>
#include <vector>

#include "platform/Chart3DSeries.h"

namespace platform {

// One colour band: every height up to Value (inclusive) above the band below it.
struct TPaletteEntry {
    double upToValue = 0.0;
    QColor color;
    bool operator==(const TPaletteEntry&) const = default;
};

// A legend row of a grid series: a band's colour and its upper value as text.
struct TGridLegendItem {
    QColor color;
    QString text;
};

using TGetYValueEvent = std::function<double(TChartSeries* sender, int x, int z)>;

class TCustom3DGridSeries : public TCustom3DSeries {
    Q_OBJECT
public:
    // Grid cells are numbered 1..kMaxGrid in each direction.
    static constexpr int kMaxGrid = 500;

    explicit TCustom3DGridSeries(QObject* parent = nullptr);

    // Grid columns and rows. Setting either regenerates the grid values (CreateValues); a value
    // outside 1..kMaxGrid is refused (false, nothing changes). Drawing lets them grow to the
    // columns and rows the points reach.
    int NumXValues() const { return numX_; }
    int NumZValues() const { return numZ_; }
    bool SetNumXValues(int n);
    bool SetNumZValues(int n);

    // Grid points carry a finite height; any other Y is refused (-1, nothing added).
    int AddXYZ(int x, int z, double y, const QString& label = QString(), uint32_t color = kSeriesColor) override;
    // Also frees every grid row and sets XValues back to no ordering.
    void Clear() override;

    // Replaces the points by a numX x numZ grid (X 1..numX, Z 1..numZ, both clamped to
    // 1..kMaxGrid) with Y of every cell from GetXZValue.
    virtual void CreateValues(int numX, int numZ);
    // Y of one generated cell: OnGetYValue when set, else the sample surface while sample
    // values are being made, else 0.
    virtual double GetXZValue(int x, int z) const;
    // A numX x numZ grid of the sample surface (a smooth hill and dip).
    void AddSampleValues(int n);

    TGetYValueEvent OnGetYValue;

    // The grid index rebuilt from the points: column = round(X - smallest X) + 1, row =
    // round(Z - smallest Z) + 1; points with a non-finite coordinate, or beyond kMaxGrid
    // columns or rows, have no cell. When two points fall in one cell the later one holds it.
    // NumXValues and NumZValues grow to the largest column and row found. Drawing runs it.
    void FillGridIndex() const;
    // The point of cell (column, row) after the last FillGridIndex; -1 for none.
    int GridIndex(int column, int row) const;

    // Colours of heights.
    bool UseColorRange() const { return useColorRange_; }
    void SetUseColorRange(bool on);
    bool UsePalette() const { return usePalette_; }
    void SetUsePalette(bool on);
    QColor StartColor() const { return startColor_; }
    void SetStartColor(const QColor& c);
    QColor EndColor() const { return endColor_; }
    void SetEndColor(const QColor& c);
    int PaletteSteps() const { return paletteSteps_; }
    // Refused (false) outside 1..kMaxPaletteSteps.
    bool SetPaletteSteps(int n);
    static constexpr int kMaxPaletteSteps = 1000;

    // The palette, in ascending order of the band values. A palette set by hand stays as set;
    // while none is set, drawing makes the default one of PaletteSteps bands over the current
    // heights, anew at every drawing so that it follows the data.
    const std::vector<TPaletteEntry>& Palette() const { return palette_; }
    // Inserts a band in value order; a non-finite value is refused (false).
    bool AddPalette(double upToValue, const QColor& color);
    void ClearPalette();
    // PaletteSteps equal bands from the smallest to the largest height, blue through green
    // and yellow to red; one band at the height when all heights are equal. Replaces the palette.
    void CreateDefaultPalette(int steps);

    // Colour of a height: the colour range when UseColorRange, else the palette band when
    // UsePalette and the palette has bands, else the series colour. The range runs from the
    // smallest to the largest finite height of the series; with all heights equal (or none) a
    // height is given StartColor, and heights outside the range take the nearer end's colour.
    QColor ColorOfValue(double y) const;
    // The same for explicit range ends (what drawing and the level colours use).
    QColor ColorOfValue(double y, double minY, double maxY) const;

    // Legend: the palette bands from the highest to the lowest, each with its colour and its
    // upper value with up to three decimals (the locale's separators).
    std::vector<TGridLegendItem> LegendItems() const;
    void DrawLegendSymbol(QPainter& p, const QRectF& r, double unit) const override;

    void Assign(const TChartSeries& src) override;

protected:
    // The default palette again when the palette is not the user's, before a drawing.
    void PrepareDrawing() const;
    void BuildDefaultPalette(int steps) const;
    // Box coordinates of a point in the chart being drawn, the height given in value units.
    static bool UnitOf(const TChartDrawContext& ctx, double x, double y, double z, double& u, double& v, double& w);
    bool SetGridSize(int& member, int n);

    mutable int numX_ = 10, numZ_ = 10;
    mutable std::vector<std::vector<int>> grid_;  // grid_[column], each allocated on first use
    mutable std::vector<TPaletteEntry> palette_;
    mutable bool paletteIsDefault_ = true;  // no band set by hand: drawing makes the default one
    int paletteSteps_ = 32;
    bool useColorRange_ = true;
    bool usePalette_ = false;
    QColor startColor_{0, 0, 128};    // navy
    QColor endColor_{255, 255, 255};  // white
    bool sampling_ = false;
};

using TSurfaceGetColorEvent = std::function<void(TChartSeries* sender, int valueIndex, QColor& color)>;

// The surface: each grid cell a quadrilateral between its four corner points, filled with the
// colour of the mean height of its corners, painted back to front.
class TSurfaceSeries : public TCustom3DGridSeries {
    Q_OBJECT
public:
    explicit TSurfaceSeries(QObject* parent = nullptr);

    TChartPen& Pen() { return pen_; }  // cell outlines
    const TChartPen& Pen() const { return pen_; }
    Qt::BrushStyle BrushStyle() const { return brushStyle_; }  // cell fill
    void SetBrushStyle(Qt::BrushStyle s);
    // Outlines only, in each cell's colour, no fill.
    bool WireFrame() const { return wireFrame_; }
    void SetWireFrame(bool on);
    // Dots at the cell corners, in each cell's colour, no fill.
    bool DotFrame() const { return dotFrame_; }
    void SetDotFrame(bool on);

    // May change a cell's colour; valueIndex is the point at the cell's (column, row) corner.
    TSurfaceGetColorEvent OnGetColor;

    // The cells in the order they are handed to the chart: columns 2..NumXValues and rows
    // 2..NumZValues, left to right on the screen's bottom axis and from the far rows to the
    // near ones, so that in a flat or oblique view later cells lie in front. Cells with a
    // missing corner are left out. Run FillGridIndex first.
    struct Cell {
        int column, row;
    };
    std::vector<Cell> CellOrder(const TChartDrawContext& ctx) const;
    // The corner points of a cell (its own corner, then the three towards column-1, row-1),
    // false when one is missing.
    bool CellCorners(int column, int row, int corners[4]) const;
    // The colour a cell is filled with (OnGetColor applied).
    QColor CellColor(int column, int row, double minY, double maxY) const;

    // Draws one cell as the 3-D quadrilateral between its corners.
    virtual void DrawCell(TChartDrawContext& ctx, int column, int row, double minY, double maxY) const;

    void Assign(const TChartSeries& src) override;
    void Draw(TChartDrawContext& ctx) const override;
    void ScaleSizes(double f) override;

protected:
    TChartSeries* NewInstance() const override { return new TSurfaceSeries; }
    TChartPen pen_;
    Qt::BrushStyle brushStyle_ = Qt::SolidPattern;
    bool wireFrame_ = false;
    bool dotFrame_ = false;
};

struct TContourLevel {
    double upToValue = 0.0;
    QColor color;
};

// A piece of a level line in value coordinates of the grid (X, Z).
struct TContourSegment {
    int level;
    double x0, z0, x1, z1;
};

class TContourSeries;
using TContourGetLevelEvent = std::function<void(TContourSeries* sender, int levelIndex, double& value, QColor& color)>;

// Level lines: every level traced through every grid cell, drawn in a horizontal plane.
class TContourSeries : public TCustom3DGridSeries {
    Q_OBJECT
public:
    static constexpr int kMaxLevels = 251;

    explicit TContourSeries(QObject* parent = nullptr);

    int NumLevels() const { return numLevels_; }
    // Refused (false) outside 0..kMaxLevels.
    bool SetNumLevels(int n);
    // Height of the plane the lines are drawn in; refused when not finite.
    double YPosition() const { return yPosition_; }
    bool SetYPosition(double y);
    // Each line at its own level's height instead of YPosition.
    bool YPositionLevel() const { return yPositionLevel_; }
    void SetYPositionLevel(bool on);
    TChartPen& Pen() { return pen_; }
    const TChartPen& Pen() const { return pen_; }
    // Each level in a colour of its own (the chart's default colours in turn).
    bool ColorEachPoint() const { return colorEachPoint_; }
    void SetColorEachPoint(bool on);

    TContourGetLevelEvent OnGetLevel;

    // The levels of the current heights: level i = min + i (max - min) / NumLevels, with its
    // colour; OnGetLevel may then change both. A series without a finite height has none.
    std::vector<TContourLevel> Levels() const;
    // The line pieces of the levels through the grid (FillGridIndex run first): each cell split
    // into four triangles meeting at its centre (height: the mean of the corners), each level
    // found in each triangle by linear interpolation along the edges.
    std::vector<TContourSegment> Segments(const std::vector<TContourLevel>& levels) const;

    void Assign(const TChartSeries& src) override;
    void Draw(TChartDrawContext& ctx) const override;
    void DrawLegendSymbol(QPainter& p, const QRectF& r, double unit) const override;
    void ScaleSizes(double f) override;
    // In a flat chart the lines are a map: X along the bottom axis, Z up the left axis, so the
    // vertical extremes are those of Z there.
    double MinYValue() const override;
    double MaxYValue() const override;

protected:
    TChartSeries* NewInstance() const override { return new TContourSeries; }
    bool FlatChart() const;
    int numLevels_ = 10;
    double yPosition_ = 0.0;
    bool yPositionLevel_ = false;
    TChartPen pen_;
    bool colorEachPoint_ = true;
};

// The chart's default colour number i (it repeats after the last).
QColor chartDefaultColor(int i);

}  // namespace platform
