#pragma once
// A chart on the clipboard as a picture: PNG and SVG of the chart as it is drawn, on a white
// background (the copy is for documents), while the chart on the screen keeps its colours.
#include <QSize>
#include <memory>

class QMimeData;
namespace platform {
class TChart;
}

// The chart drawn at `size` (its own size when empty) as "image/png" and "image/svg+xml".
std::unique_ptr<QMimeData> ChartPictureData(platform::TChart& chart, QSize size = QSize());
void CopyChartToClipboard(platform::TChart& chart);
