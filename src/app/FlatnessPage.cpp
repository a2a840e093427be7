// The flatness map page: its controls, its entry, the choice of each line, the map of the
// measured lines (evaluation/FlatnessMap) and the turning of its 3-D view.
#include "app/FlatnessPage.h"
#include "app/PositioningPage.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/PageControls.h"
#include "app/PointStoreWidgets.h"
#include "app/RunCommands.h"
#include "app/Stol.h"
#include "app/StraightnessRun.h"
#include "app/Unit_glowny.h"
#include "evaluation/FlatnessMap.h"
#include "evaluation/PointStore.h"
#include "foundations/MeasurementModes.h"
#include "foundations/NumberFormat.h"
#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "platform/Chart.h"
#include "platform/Chart3DSeries.h"

using namespace pagecontrols;

namespace {

constexpr int kPageStraightness = 3;  // where a line is measured
constexpr int kPageFlatness = 8;

const TTagSet& FlatnessShown() {
    static const TTagSet s = TagSet({13, 15, 23, 26});
    return s;
}
const TTagSet& FlatnessHidden() {
    static const TTagSet s = TagSet({9, 10, 27, 28, 37, 38, 41, 44});
    return s;
}

// The series of line k + 1, as the form names them.
constexpr const char* kFlatnessSeriesNames[evaluation::kFlatnessLineCount] = {
    "SeriesOs1", "SeriesOs2", "SeriesOs3", "SeriesOs4", "SeriesOs5", "SeriesOs6", "SeriesOs7", "SeriesOs8",
    "Series1",   "Series3",   "Series4",   "Series5",   "Series7",   "Series8",   "Series9",   "Series10"};

// One colour per line, so that crossing lines can be told apart.
constexpr uint32_t kFlatnessSeriesColors[evaluation::kFlatnessLineCount] = {
    0xC00000, 0x0050C8, 0x008000, 0xC06000, 0x8000A0, 0x008C8C, 0x606060, 0xB0006E,
    0x804000, 0x4060FF, 0x50A000, 0xFF4040, 0x00A0E0, 0xA08000, 0x6A3D9A, 0x303030};

// Panel18 lays out its chart and bars itself whenever it changes its size.
class ResizeWatch : public QObject {
public:
    ResizeWatch(QObject* parent, FlatnessPage& page) : QObject(parent), page_(page) {}
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Resize) page_.Panel18Resize();
        return QObject::eventFilter(watched, e);
    }

private:
    FlatnessPage& page_;
};

}  // namespace

// The inspector picks each line on the axis choice form.
class FlatnessPage::AxisFormChooser final : public FlatnessLineChooser {
public:
    explicit AxisFormChooser(TMainForm& f) : f_(f) {}
    int ChooseLine(int currentLine) override {
        return TWyborOsi::Execute(f_.FlatnessHLines, f_.FlatnessVLines, f_.StraightnessControl().FlatnessLinesDone,
                                  f_.FlatnessMethod != 0, currentLine, &f_);
    }

private:
    TMainForm& f_;
};

FlatnessPage::FlatnessPage(TMainForm& shell)
    : QObject(&shell), shell_(shell), axisForm_(std::make_unique<AxisFormChooser>(shell)), chooser_(axisForm_.get()) {}
FlatnessPage::~FlatnessPage() = default;

QWidget* FlatnessPage::Build() {
    auto* page = named(new QWidget, "MapaPlaskosci");
    auto* lay = new QHBoxLayout(page);
    // The 3-D view: the chart with its rotation bar below and its elevation bar at the right,
    // placed by Panel18Resize.
    Panel18 = panel(page, "Panel18");
    Panel18->setFrameShape(QFrame::NoFrame);
    Panel18->setMinimumSize(240, 180);
    WykresPlaskosci = chart(Panel18, "WykresPlaskosci");
    ScrollBarRotation = named(new QScrollBar(Qt::Horizontal, Panel18), "ScrollBarRotation");
    ScrollBarRotation->setRange(270, 360);
    ScrollBarRotation->setValue(333);
    ScrollBarElevation = named(new QScrollBar(Qt::Vertical, Panel18), "ScrollBarElevation");
    ScrollBarElevation->setRange(270, 360);
    ScrollBarElevation->setValue(346);
    lay->addWidget(Panel18, 3);
    auto* side = new QVBoxLayout;
    ButtonMapaPlaskosciStart = button(page, "ButtonMapaPlaskosciStart", QStringLiteral("P&omiar"));
    // The value beside the chart, under the page's start button.
    LabElewacja = label(page, "LabElewacja", evaluation::FlatnessValueText(0.0, foundations::systemDecimalSeparator()));
    QFont font = LabElewacja->font();
    font.setPointSize(font.pointSize() + 4);
    font.setBold(true);
    LabElewacja->setFont(font);
    LabElewacja->setAlignment(Qt::AlignCenter);
    // "&Nowa Mapa" is off until a map holds a line.
    NowaMapa = button(page, "NowaMapa", QStringLiteral("&Nowa Mapa"));
    NowaMapa->setEnabled(false);
    Button27 = button(page, "Button27", QStringLiteral("&Główne Menu"));
    side->addWidget(ButtonMapaPlaskosciStart);
    side->addWidget(NowaMapa);
    side->addWidget(LabElewacja);
    side->addStretch(1);
    side->addWidget(Button27);
    lay->addLayout(side);

    platform::TChart* map = WykresPlaskosci;
    map->SetView3D(true);
    // A turned view (the rotation and elevation bars move it) with the table's depth about half
    // its width, as a 200 × 100 cm map is.
    map->View3DOptions().orthogonal = false;
    map->View3DOptions().chart3DPercent = 50;
    map->SetLegendVisible(false);
    for (int k = 0; k < evaluation::kFlatnessLineCount; ++k) {
        auto* s = map->AddNewSeries<platform::TPoint3DSeries>(QString::fromLatin1(kFlatnessSeriesNames[k]));
        s->SetSeriesColor(QColor::fromRgb(kFlatnessSeriesColors[k]));
        s->LinePen().width = 2;
        // Flat dots at each point's own depth, joined by the line's 3-D polyline.
        s->Pointer().style = platform::TPointerStyle::Circle;
        s->Pointer().horizSize = s->Pointer().vertSize = 3;
        s->SetDepthSize(0.0);
    }
    map->SetAllowZoom(false);  // a drag turns the view
    map->SetRotation(ScrollBarRotation->value());
    map->SetElevation(ScrollBarElevation->value());
    return page;
}

void FlatnessPage::Connect() {
    connect(ButtonMapaPlaskosciStart, &QPushButton::clicked, this, &FlatnessPage::ButtonMapaPlaskosciStartClick);
    connect(NowaMapa, &QPushButton::clicked, this, &FlatnessPage::NowaMapaClick);
    connect(Button27, &QPushButton::clicked, this, &FlatnessPage::Button27Click);
    if (QAction* a = shell_.MenuCommand(QStringLiteral("NastepnaOs1")))
        connect(a, &QAction::triggered, this, &FlatnessPage::NastepnaOs1Click);
    connect(ScrollBarRotation, &QScrollBar::valueChanged, this, &FlatnessPage::ScrollBarRotationScroll);
    connect(ScrollBarElevation, &QScrollBar::valueChanged, this, &FlatnessPage::ScrollBarElevationScroll);
    connect(WykresPlaskosci, &platform::TChart::mouseDown, this,
            [this](QPoint pos, Qt::MouseButton button, Qt::KeyboardModifiers) { WykresPlaskosciMouseDown(pos, button); });
    connect(WykresPlaskosci, &platform::TChart::mouseMove, this,
            [this](QPoint pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers) { WykresPlaskosciMouseMove(pos, buttons); });
    Panel18->installEventFilter(new ResizeWatch(Panel18, *this));
}

void FlatnessPage::TranslateCaptions() {
    shell_.SetChartTitle(WykresPlaskosci, Msg("stWykresPlaskosci"));
    shell_.SetChartAxisTitle(WykresPlaskosci, TMainForm::ChartAxis::Left, Msg("stBlad") + QStringLiteral(" [ µm ]"));
}

void FlatnessPage::BitBtnMapaPlaskosciClick() {
    TMainForm& f = shell_;
    f.NotebookMainForm->setCurrentIndex(kPageFlatness);
    f.MeasurementMode = kModeFlatness;
    f.ShowMenuItemsByTag(FlatnessShown(), true);
    f.ShowMenuItemsByTag(FlatnessHidden(), false);
    f.TypeCalls().ShowRecentFiles(kModeFlatness);
    if (f.Positioning().ButtonPages()) f.Positioning().ButtonPages()->setCurrentIndex(0);
    if (f.Positioning().MainMenuButton()) f.Positioning().MainMenuButton()->setText(Msg("stMapaPlaskosci"));
    f.setWindowTitle(f.ModeCaptions[kModeFlatness]);
    ResetFlatnessMap();
    NowaMapa->setEnabled(false);
}

void FlatnessPage::ButtonMapaPlaskosciStartClick() {
    TMainForm& f = shell_;
    const int line = ChooseNextFlatnessLine();
    if (line < 0) return;  // cancelled, or a line the map does not have
    f.StraightnessControl().FlatnessLine = uint8_t(line);
    f.BitBtnProstolinowoscClick();
    f.MeasurementMode = kModeFlatness;
    f.SetChartTitle(f.Positioning().Chart(), FlatnessLineTitle(line, f.FlatnessMethod, f.FlatnessHLines));
    if (QAction* a = f.MenuCommand(QStringLiteral("NastepnaOs1"))) a->setVisible(true);
    f.NotebookMainForm->setCurrentIndex(kPageStraightness);
    f.ShowMenuItemsByTag(TagSet({33, 34, 35, 36}), false);
}

void FlatnessPage::NowaMapaClick() {
    if (!shell_.SaveOrDiscardChanges(kModeFlatness)) return;
    ResetFlatnessMap();
    NowaMapa->setEnabled(false);
}

void FlatnessPage::NastepnaOs1Click() {
    TMainForm& f = shell_;
    // The points of a line being measured belong to that line: it is ended first.
    if (MeasurementRunning) {
        ShowMessage(Msg("stTrwaPomiar"));
        return;
    }
    const int line = ChooseNextFlatnessLine();
    if (line < 0) return;
    f.StraightnessControl().FlatnessLine = uint8_t(line);
    f.Points().ResetChartAndGrid(f.Points().Plots().wykres);
    f.SetChartTitle(f.Positioning().Chart(), FlatnessLineTitle(line, f.FlatnessMethod, f.FlatnessHLines));
    f.ShowMenuItemsByTag(TagSet({33, 34, 35, 36}), false);
}

void FlatnessPage::Button27Click() { shell_.StraightnessControl().LeaveFlatnessPage(); }

void FlatnessPage::SetLineChooser(FlatnessLineChooser* chooser) { chooser_ = chooser ? chooser : axisForm_.get(); }

int FlatnessPage::ChooseNextFlatnessLine() {
    TMainForm& f = shell_;
    const int line = chooser_->ChooseLine(f.StraightnessControl().FlatnessLine);
    if (line < 1 || line > runcontrol::FlatnessLineCount(f.FlatnessMethod, f.FlatnessHLines, f.FlatnessVLines))
        return -1;
    return line;
}

// --- the map ---

std::vector<platform::TPoint3DSeries*> FlatnessPage::FlatnessSeries() const {
    std::vector<platform::TPoint3DSeries*> series;
    for (const char* name : kFlatnessSeriesNames)
        series.push_back(
            qobject_cast<platform::TPoint3DSeries*>(WykresPlaskosci->SeriesByName(QString::fromLatin1(name))));
    return series;
}

void FlatnessPage::BuildFlatnessMap() {
    const TMainForm& f = shell_;
    const evaluation::FlatnessLayout layout{f.FlatnessMethod != 0, f.FlatnessHLines, f.FlatnessVLines};
    const evaluation::FlatnessMapResult map = evaluation::BuildFlatnessMap(*f.FlatnessLines, layout);
    // A map that cannot be built says so where its value would stand; its chart stays empty.
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

void FlatnessPage::ClearFlatnessLines() { evaluation::ClearFlatnessLines(*shell_.FlatnessLines); }

void FlatnessPage::ClearFlatnessChart() { evaluation::ClearFlatnessChart(FlatnessSeries()); }

void FlatnessPage::UpdateLineMask() {
    shell_.StraightnessControl().FlatnessLinesDone = evaluation::LineMask(*shell_.FlatnessLines);
}

void FlatnessPage::ResetFlatnessMap() {
    ClearFlatnessLines();
    UpdateLineMask();
    BuildFlatnessMap();
}

void FlatnessPage::EnableNewMap(bool on) { NowaMapa->setEnabled(on); }

// --- the 3-D view ---

void FlatnessPage::ScrollBarRotationScroll() { WykresPlaskosci->SetRotation(ScrollBarRotation->value()); }

void FlatnessPage::ScrollBarElevationScroll() { WykresPlaskosci->SetElevation(ScrollBarElevation->value()); }

void FlatnessPage::Panel18Resize() {
    const runcontrol::View3DLayout l = runcontrol::Panel18Layout(
        Panel18->size(), ScrollBarElevation->sizeHint().width(), ScrollBarRotation->sizeHint().height());
    WykresPlaskosci->setGeometry(l.chart);
    ScrollBarRotation->setGeometry(l.horizontalBar);
    ScrollBarElevation->setGeometry(l.verticalBar);
}

void FlatnessPage::WykresPlaskosciMouseDown(QPoint pos, Qt::MouseButton button) {
    if (button == Qt::LeftButton) LastMouse = pos;
}

void FlatnessPage::WykresPlaskosciMouseMove(QPoint pos, Qt::MouseButtons buttons) {
    if (!(buttons & Qt::LeftButton)) return;
    platform::TChart* map = WykresPlaskosci;
    const runcontrol::ViewAngles a = runcontrol::DragTurn(
        LastMouse, pos, {map->View3DOptions().rotation, map->View3DOptions().elevation},
        {ScrollBarRotation->minimum(), ScrollBarRotation->maximum()},
        {ScrollBarElevation->minimum(), ScrollBarElevation->maximum()});
    map->SetElevation(a.elevation);
    map->SetRotation(a.rotation);
    ScrollBarElevation->setValue(a.elevation);
    ScrollBarRotation->setValue(a.rotation);
    LastMouse = pos;
}
