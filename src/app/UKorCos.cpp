#include "app/UKorCos.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "app/RunCommands.h"
#include "evaluation/CosineError.h"
#include "foundations/Display.h"
#include "foundations/FR_Utils.h"
#include "platform/Chart.h"
#include "platform/Chart3DSeries.h"

using platform::TChart;
using platform::TPoint3DSeries;

TFKorCos* FKorCos = nullptr;

namespace {

TFKorCos::ExecuteHook& executeHook() {
    static TFKorCos::ExecuteHook hook;
    return hook;
}

TPoint3DSeries* addSeries(TChart* chart, const char* name, const QColor& color) {
    auto* s = chart->AddNewSeries<TPoint3DSeries>(QString::fromLatin1(name));
    s->SetSeriesColor(color);
    s->Pointer().style = platform::TPointerStyle::Circle;
    return s;
}

QScrollBar* scrollBar(QWidget* parent, const char* name, Qt::Orientation o, int position) {
    auto* b = new QScrollBar(o, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setRange(270, 360);
    b->setValue(position);
    return b;
}

}  // namespace

void TFKorCos::setExecuteHook(ExecuteHook hook) { executeHook() = std::move(hook); }

TFKorCos::TFKorCos(QWidget* parent) : QDialog(parent) {
    setObjectName("FKorCos");
    setWindowTitle(QString::fromUtf8("Prostoliniowość widok 3D"));

    Chart1 = new TChart(this);
    Chart1->setObjectName("Chart1");
    Chart1->SetView3D(true);
    Chart1->Title().visible = false;
    Chart1->SetLegendVisible(false);
    Chart1->SetAllowZoom(false);  // a drag turns the view
    Chart1->SetColor(Qt::white);
    Chart1->SetBackWallColor(QColor());  // white wall, clear brush
    platform::TChartView3D& view = Chart1->View3DOptions();
    view.chart3DPercent = 75;
    view.perspective = 0;
    view.orthogonal = false;
    view.zoom = 84;
    Chart1->SetRotation(335);
    Chart1->SetElevation(348);
    Chart1->BottomAxis().SetTitle(TranslateString(QStringLiteral("stDystans"), QStringLiteral("Dystans")) + QStringLiteral(" [cm]"));
    Chart1->LeftAxis().SetTitle(TranslateString(QStringLiteral("stOsPionowa"), QString::fromUtf8("Oś pionowa")));
    Chart1->DepthAxis().SetVisible(true);
    Chart1->DepthAxis().SetTitle(TranslateString(QStringLiteral("stOsPozioma"), QString::fromUtf8("Oś pozioma")));
    Chart1->DepthAxis().SetIncrement(10);
    Chart1->setMinimumSize(400, 300);

    Series1 = addSeries(Chart1, "Series1", Qt::red);
    Series1->SetDepthSize(4.0);
    Series2 = addSeries(Chart1, "Series2", Qt::green);
    Series3 = addSeries(Chart1, "Series3", Qt::gray);
    Series3->Pointer().visible = false;
    Series3->LinePen().width = 2;

    ScrollBarRotation = scrollBar(this, "ScrollBarRotation", Qt::Horizontal, 333);
    ScrollBarElevation = scrollBar(this, "ScrollBarElevation", Qt::Vertical, 346);

    Label1 = new QLabel(QString::fromUtf8("Błąd na końcu = "), this);
    Label1->setObjectName("Label1");
    Label1->hide();
    Display1 = new TDisplay(this);
    Display1->setObjectName("Display1");
    Display1->SetPrecision(3);
    Display1->SetDecSep(u',');
    Display1->hide();

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setDefault(true);

    auto* grid = new QGridLayout;
    grid->setSpacing(0);
    grid->addWidget(Chart1, 0, 0);
    grid->addWidget(ScrollBarElevation, 0, 1);
    grid->addWidget(ScrollBarRotation, 1, 0);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label1);
    bottom->addWidget(Display1);
    bottom->addStretch();
    bottom->addWidget(BitBtn1);
    auto* main = new QVBoxLayout(this);
    main->addLayout(grid, 1);
    main->addLayout(bottom);

    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ScrollBarRotation, &QScrollBar::valueChanged, this, &TFKorCos::ScrollBarRotationScroll);
    connect(ScrollBarElevation, &QScrollBar::valueChanged, this, &TFKorCos::ScrollBarElevationScroll);
    connect(Chart1, &TChart::mouseDown, this,
            [this](QPoint pos, Qt::MouseButton button, Qt::KeyboardModifiers) { Chart1MouseDown(pos, button); });
    connect(Chart1, &TChart::mouseMove, this,
            [this](QPoint pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers) { Chart1MouseMove(pos, buttons); });
    TranslateForm(this);
}

void TFKorCos::Fill(const TPunkt& points, int statisticsMethod) {
    Display1->SetValue(evaluation::CosineEndError(points));
    TPunkt shown;
    evaluation::ViewResiduals(points, statisticsMethod, shown);
    // A point with a non-finite coordinate is refused by the series and left out.
    for (int i = 0; i < shown.Count(); ++i)
        Series1->AddXYZRounded(shown[i].Dystans, shown[i].Xa, shown[i].Xr, QString(), platform::kSeriesColor);
}

void TFKorCos::ScrollBarRotationScroll() { Chart1->SetRotation(ScrollBarRotation->value()); }

void TFKorCos::ScrollBarElevationScroll() { Chart1->SetElevation(ScrollBarElevation->value()); }

void TFKorCos::Chart1MouseDown(QPoint pos, Qt::MouseButton button) {
    if (button == Qt::LeftButton) LastMouse = pos;
}

void TFKorCos::Chart1MouseMove(QPoint pos, Qt::MouseButtons buttons) {
    if (!(buttons & Qt::LeftButton)) return;
    const runcontrol::ViewAngles a = runcontrol::DragTurn(
        LastMouse, pos, {Chart1->View3DOptions().rotation, Chart1->View3DOptions().elevation},
        {ScrollBarRotation->minimum(), ScrollBarRotation->maximum()},
        {ScrollBarElevation->minimum(), ScrollBarElevation->maximum()});
    Chart1->SetElevation(a.elevation);
    Chart1->SetRotation(a.rotation);
    ScrollBarElevation->setValue(a.elevation);
    ScrollBarRotation->setValue(a.rotation);
    LastMouse = pos;
}

void ShowStraightness3D(const TPunkt& points, int statisticsMethod, QWidget* parent) {
    TFKorCos form(parent);
    form.Fill(points, statisticsMethod);
    form.setWindowState(form.windowState() | Qt::WindowMaximized);
    FKorCos = &form;
    if (executeHook()) executeHook()(form);
    else form.exec();
    FKorCos = nullptr;
}
