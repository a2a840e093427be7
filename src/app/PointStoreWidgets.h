#pragma once
// Binds the point store to the main window's charts and deviation grids: series adapters over
// the chart layer's series (found by name on the chart, or made there), a grid adapter over a
// QTableWidget that keeps each cell's point as indexes, and the chart settings the type pages
// change (legend, background picture, zoom).
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "evaluation/PointStore.h"

class QTableWidget;
class QTableWidgetItem;
class QWidget;
class TMainForm;

// The point a grid cell refers to; none for a cell without one.
std::optional<evaluation::GridCellRef> GridCellPoint(const QTableWidgetItem* item);

// A QTableWidget as a deviation grid. Each linked cell keeps its point's indexes in its item
// data and shows the text `textOf` gives for them.
class TableDeviationGrid : public evaluation::IDeviationGrid {
public:
    using TextOf = std::function<QString(const evaluation::GridCellRef&, int col)>;
    TableDeviationGrid(QTableWidget* table, TextOf textOf);
    int RowCount() const override;
    void SetRowCount(int rows) override;
    void SetCurrentRow(int row) override;
    void SetCell(int row, int col, const evaluation::GridCellRef& ref) override;
    void ClearCell(int row, int col) override;
    bool IsVisible() const override;
    // Shows every linked cell again from its indexes (after points were changed or deleted).
    void RefreshTexts();

private:
    QPointer<QTableWidget> table_;
    TextOf textOf_;
};

// Text of a deviation grid cell: column 1 Xa, column 2 Xr with one decimal; column 0 the point
// number (counted from 0) or its target with one decimal (inches for LengthUnit 1 when
// `inchTargets`); empty for a point that no longer exists.
QString DeviationCellText(const TPunktItem* point, int index, int col, bool byNumber, bool inchTargets);

// Chart settings of the type pages, on a chart-layer chart (other widgets keep them as
// properties).
void SetChartLegendVisible(QWidget* chart, bool on);
// Empty path: no background.
void SetChartBackground(QWidget* chart, const QString& path);
void SetChartZoomAllowed(QWidget* chart, bool allow, bool undoZoom);

// The main window's point store with its adapters.
struct PointStoreBinding {
    std::vector<std::unique_ptr<evaluation::IPlotSeries>> series;
    std::vector<std::unique_ptr<evaluation::IArrowSeries>> arrows;
    std::vector<std::unique_ptr<evaluation::IPlotChart>> charts;
    std::unique_ptr<TableDeviationGrid> grid, gridPK;
    std::unique_ptr<evaluation::PointStore> store;
};
std::shared_ptr<PointStoreBinding> MakePointStoreBinding(TMainForm& form);
