// The flatness map of the flatness page: the measured lines fitted into one surface
// (evaluation/FlatnessMap), drawn on WykresPlaskosci, its value in LabElewacja.
#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "app/StraightnessRun.h"
#include "app/Unit_glowny.h"
#include "evaluation/FlatnessMap.h"
#include "foundations/NumberFormat.h"
#include "platform/Chart.h"
#include "platform/Chart3DSeries.h"

namespace {

// The series of line k + 1, as the form names them.
constexpr const char* kFlatnessSeriesNames[evaluation::kFlatnessLineCount] = {
    "SeriesOs1", "SeriesOs2", "SeriesOs3", "SeriesOs4", "SeriesOs5", "SeriesOs6", "SeriesOs7", "SeriesOs8",
    "Series1",   "Series3",   "Series4",   "Series5",   "Series7",   "Series8",   "Series9",   "Series10"};

// One colour per line, so that crossing lines can be told apart.
constexpr uint32_t kFlatnessSeriesColors[evaluation::kFlatnessLineCount] = {
    0xC00000, 0x0050C8, 0x008000, 0xC06000, 0x8000A0, 0x008C8C, 0x606060, 0xB0006E,
    0x804000, 0x4060FF, 0x50A000, 0xFF4040, 0x00A0E0, 0xA08000, 0x6A3D9A, 0x303030};

}  // namespace

void TMainForm::ConnectFlatnessMap() {
    platform::TChart* map = WykresPlaskosci;
    map->SetView3D(true);
    // A turned view (the rotation and elevation bars move it) with the table's depth about half
    // its width, as a 200 × 100 cm map is.
    map->View3DOptions().orthogonal = false;
    map->View3DOptions().chart3DPercent = 50;
    map->SetLegendVisible(false);
    for (int k = 0; k < evaluation::kFlatnessLineCount; ++k) {
        auto* s = map->AddNewSeries<platform::TPoint3DSeries>(QString::fromLatin1(kFlatnessSeriesNames[k]));
        const QColor c = QColor::fromRgb(kFlatnessSeriesColors[k]);
        s->SetSeriesColor(c);
        s->LinePen().width = 2;
        // Flat dots at each point's own depth, joined by the line's 3-D polyline.
        s->Pointer().style = platform::TPointerStyle::Circle;
        s->Pointer().horizSize = s->Pointer().vertSize = 3;
        s->SetDepthSize(0.0);
    }
    // The value beside the chart, under the page's start button.
    LabElewacja = new QLabel(evaluation::FlatnessValueText(0.0, foundations::systemDecimalSeparator()));
    LabElewacja->setObjectName(QStringLiteral("LabElewacja"));
    QFont font = LabElewacja->font();
    font.setPointSize(font.pointSize() + 4);
    font.setBold(true);
    LabElewacja->setFont(font);
    LabElewacja->setAlignment(Qt::AlignCenter);
    if (QWidget* page = ButtonMapaPlaskosciStart ? ButtonMapaPlaskosciStart->parentWidget() : nullptr) {
        auto* side = page->layout() && page->layout()->count() > 1
                         ? qobject_cast<QVBoxLayout*>(page->layout()->itemAt(1)->layout())
                         : nullptr;
        if (side)
            side->insertWidget(1, LabElewacja);
        else
            LabElewacja->setParent(page);
    }
    TypeSeams.ResetFlatnessMap = [this] { ResetFlatnessMap(); };
}

std::vector<platform::TPoint3DSeries*> TMainForm::FlatnessSeries() const {
    std::vector<platform::TPoint3DSeries*> series;
    for (const char* name : kFlatnessSeriesNames)
        series.push_back(qobject_cast<platform::TPoint3DSeries*>(WykresPlaskosci->SeriesByName(QString::fromLatin1(name))));
    return series;
}

void TMainForm::BuildFlatnessMap() {
    const evaluation::FlatnessLayout layout{FlatnessMethod != 0, FlatnessHLines, FlatnessVLines};
    const evaluation::FlatnessMapResult map = evaluation::BuildFlatnessMap(*FlatnessLines, layout);
    // A map that cannot be built says so where its value would stand; its chart stays empty.
    if (LabElewacja)
        LabElewacja->setText(map.built ? evaluation::FlatnessValueText(map.value, foundations::systemDecimalSeparator())
                                       : map.message);
    const std::vector<platform::TPoint3DSeries*> series = FlatnessSeries();
    // Titles follow the layout: "1".."8", or "H1".. and "V1"..
    const int h = evaluation::GridHLines(layout);
    for (size_t k = 0; k < series.size(); ++k) {
        if (!series[k]) continue;
        const int line = int(k) + 1;
        series[k]->SetTitle(!layout.grid ? QString::number(line)
                            : line <= h  ? QStringLiteral("H%1").arg(line)
                                         : QStringLiteral("V%1").arg(line - h));
    }
    evaluation::FillFlatnessChart(*WykresPlaskosci, series, map);
}

void TMainForm::ClearFlatnessLines() { evaluation::ClearFlatnessLines(*FlatnessLines); }

void TMainForm::ClearFlatnessChart() { evaluation::ClearFlatnessChart(FlatnessSeries()); }

void TMainForm::UpdateLineMask() { StraightnessControl().FlatnessLinesDone = evaluation::LineMask(*FlatnessLines); }

void TMainForm::ResetFlatnessMap() {
    ClearFlatnessLines();
    UpdateLineMask();
    BuildFlatnessMap();
}
