#pragma once
// Point store routines and measurement plots: each accepted reading becomes a point of the
// straightness line, of the current positioning cycle, of the velocity curve or of the angular
// table, and is drawn on its chart and linked into its deviation grid. Whole redraws, the chart
// and grid reset, the mean velocity and the cycle trimming live here too.
//
// Plain code: the charts and grids are reached through the small interfaces below, which the
// main window binds to its chart series and table widgets. Grid cells refer to points by index
// (cycle, point), never by pointer, so a deleted point leaves at worst a stale index that the
// drawing checks.
#include <QPointF>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "foundations/PomiarCol.h"

namespace evaluation {

// One chart series, filled point by point or a whole run at once.
class IPlotSeries {
public:
    virtual ~IPlotSeries() = default;
    virtual void Clear() = 0;
    virtual void AddXY(double x, double y) = 0;
    // The same as AddXY for each point in order, done at once (a redraw of a whole run).
    virtual void AddXYs(std::span<const QPointF> points) = 0;
    virtual int Count() const = 0;
    virtual double XValue(int i) const = 0;
    virtual double YValue(int i) const = 0;
    virtual void SetYValue(int i, double y) = 0;
    virtual void DeleteLast() = 0;  // nothing on an empty series
    virtual void SetActive(bool on) = 0;
};

// A series of arrows from (x0, y0) to (x1, y1).
class IArrowSeries {
public:
    virtual ~IArrowSeries() = default;
    virtual void Clear() = 0;
    virtual void AddArrow(double x0, double y0, double x1, double y1) = 0;
};

// A chart as the store sees it: its title, all its series at once, a repaint, and the x range
// its bottom axis shows.
class IPlotChart {
public:
    virtual ~IPlotChart() = default;
    virtual void SetTitle(const QString& oneLine) = 0;  // empty: no title
    virtual void ClearAllSeries() = 0;
    virtual void Repaint() = 0;
    // The shown x range; false when the chart cannot tell (then every point counts as shown).
    virtual bool VisibleXRange(double& lo, double& hi) const = 0;
};

// What a deviation grid cell shows: point `point` of cycle `cycle` of the positioning run, or
// with cycle -1 point `point` of the angular table.
struct GridCellRef {
    int cycle = -1;
    int point = -1;
    bool operator==(const GridCellRef&) const = default;
};

class IDeviationGrid {
public:
    virtual ~IDeviationGrid() = default;
    virtual int RowCount() const = 0;
    virtual void SetRowCount(int rows) = 0;
    virtual void SetCurrentRow(int row) = 0;
    virtual void SetCell(int row, int col, const GridCellRef& ref) = 0;
    virtual void ClearCell(int row, int col) = 0;
    virtual bool IsVisible() const = 0;
};

// The settings and menu check marks the store reads at each call.
struct PointStoreOptions {
    uint8_t straightnessMethod = 0;  // 0 angular, 1 deflection, 2 3-D (two-axis detector)
    uint8_t statisticsMethod = 0;    // 0 end points, 1 least squares, 2 none
    uint8_t velocityChartUnit = 0;   // 0 mm/s .. 5 in/min
    int cycleCount = 2;
    double baseLength = 100.0;       // mm, stand length of the angular method
    bool posAndStr = false;          // second axis recorded with the positioning run
    bool pointNumberAxis = false;    // Numerpunktu1: positioning x axis by point number
    bool pointNumberAxisPK = false;  // Numerpunktu2: angular x axis by point number
    bool pointsFromList = false;     // PunktyZListy: targets come from a point list
    bool confirmTarget = false;      // KorekcjaWartosciZadanej: each target confirmed in a dialog
};

// The charts' series and the grids; any may be null (nothing is drawn there).
struct PointStorePlots {
    IPlotChart* wykres = nullptr;          // positioning and straightness chart
    IPlotSeries* DoPrzodu = nullptr;
    IPlotSeries* DoTylu = nullptr;
    IPlotSeries* PomiaryWPrzod = nullptr;
    IPlotSeries* PomiaryWTyl = nullptr;
    IPlotSeries* PoprzednieWPrzod = nullptr;
    IPlotSeries* PoprzednieWTyl = nullptr;
    IPlotSeries* ProstoOsY = nullptr;
    IPlotSeries* PomiaryOsY = nullptr;
    IArrowSeries* ArrowBlue = nullptr;
    IArrowSeries* ArrowRed = nullptr;
    IPlotChart* WykresPredkosci = nullptr;
    IPlotSeries* Series2 = nullptr;        // velocity, series 0
    IPlotSeries* Series6 = nullptr;        // mean velocity line, series 1
    IPlotChart* WykresPK = nullptr;
    IPlotSeries* SeriesBLCzastkowy = nullptr;
    IPlotSeries* SeriesBlSumaryczny = nullptr;
    IDeviationGrid* GridOdchylka = nullptr;
    IDeviationGrid* GridOdchylkaPK = nullptr;
};

// The collections the store fills (owned by the main window).
struct PointStoreData {
    TPunkt* StraightnessPoints = nullptr;
    TCykl* PositioningCycles = nullptr;
    TCykl* CyclesY = nullptr;
    TPunkt* TargetPoints = nullptr;
    TVelValue* VelocitySamples = nullptr;
    TPunkt* AngularPoints = nullptr;
};

// Factor from mm/s to the velocity chart unit (0 mm/s, 1 m/s, 2 m/min, 3 mm/min, 4 in/s,
// 5 in/min); an unknown unit is drawn in mm/s.
double VelocityUnitFactor(int chartUnit);

// Mean of Xa (forward) or Xr (backward) of point j over cycles 0..n-1; cycles without point j
// are left out; 0 when no cycle has it.
double MeanForwardDeviation(const TCykl& cycles, int n, int j);
double MeanBackwardDeviation(const TCykl& cycles, int n, int j);

// Cuts every cycle to the point count of the shortest one.
void TrimCyclesToShortest(TCykl& cycles);

// x of a positioning point: its index with the point-number axis, else its target in mm, in
// inches for LengthUnit 1; none for another unit.
std::optional<double> PositioningX(int index, double dystans, bool pointNumberAxis, int lengthUnit);
// x of a straightness point (cm, or inches for LengthUnit 1); none for another unit.
std::optional<double> StraightnessX(double dystansCm, int lengthUnit);

// Mean of the y values of the points whose x lies in [lo, hi]; none when no point does.
struct VisibleMean {
    int first = 0, last = 0;
    double mean = 0.0;
};
std::optional<VisibleMean> MeanOverRange(const IPlotSeries& s, std::optional<std::pair<double, double>> range);

class PointStore {
public:
    PointStore(const PointStoreData& data, const PointStorePlots& plots);

    PointStoreOptions options;
    // When set, called for each store to read the current options into `options`.
    std::function<PointStoreOptions()> readOptions;
    // Confirms or corrects a target (mm) before the deviation is taken (KorekcjaWartosciZadanej).
    std::function<double(double)> confirmTargetValue;
    // Shows the mean velocity (DispPredkoscSr).
    std::function<void(double)> showMeanVelocity;

    // Store routines; v is the current converted reading (CurrentValue).
    void StoreStraightnessPoint(double v);
    // Point i of cycle `cycle` (1-based), forward or backward pass; false when nothing was stored
    // (no such cycle, target or point).
    bool StorePositioningPoint(int i, int cycle, double v, bool forward);
    bool FillPositioningGrid(int i, int cycle, double v, bool forward);
    // The teaching cycle turned back: the last forward point of the chart and point
    // `cyclePointIndex` of cycle `cycle` (1-based), in the positioning and the second-axis
    // cycles, go; the grid keeps `gridRows` rows.
    void TurnBack(int cyclePointIndex, int cycle, int gridRows);
    void AddVelocitySample(double v);
    void AddAngularPoint(int i);

    // Redraws and resets.
    void PlotVelocity();
    void ShowMeanVelocity();
    void ClearVelocitySeries();
    void PlotPositionPK();
    void ResetChartAndGrid(IPlotChart* chart);
    void ShowPositioningCycle(int n);
    void PlotPositioningCycles();
    void FitXYCycleLine();

    // Own state.
    int StraightnessSampleCount = 0;
    double LastForwardDeviation = 0.0;
    uint8_t VelocityRepaintCounter = 0;

    const PointStorePlots& Plots() const { return plots_; }

private:
    void refreshOptions();
    double targetFor(double dystans);
    IDeviationGrid* gridFor(IPlotChart* chart) const;

    PointStoreData data_;
    PointStorePlots plots_;
};

}  // namespace evaluation
