// The angular division page: the rotary table measured point by point. The acceptance engine
// decides the points and drives the reflector; this page enters the mode, starts, stops and ends
// a run and holds the page's commands.
#include "app/AngularPage.h"

#include "app/ModeSequences.h"
#include "instrument/OdczytSygnaluPomiarowego.h"
#include "app/WarmUpControls.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/ModeSequences.h"
#include "app/ModeSequencesMainForm.h"
#include "app/PageControls.h"
#include "app/PointStoreWidgets.h"
#include "app/StraightnessRun.h"
#include "app/Unit_glowny.h"
#include "evaluation/PointStore.h"
#include "foundations/LocaleTable.h"
#include "foundations/MeasurementModes.h"
#include "foundations/MessageDlg.h"
#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "instrument/MotorDrive.h"
#include "instrument/PointAcceptance.h"
#include "app/dialogs/UUstawSilnik.h"
#include "platform/Chart.h"

using namespace pagecontrols;

namespace {

constexpr int kPageAngular = 5;

void enableIf(QAction* a, bool on) {
    if (a) a->setEnabled(on);
}
bool isChecked(QAction* a) { return a && a->isChecked(); }

// Calls back when the watched chart changes its size.
class ResizeWatcher : public QObject {
public:
    ResizeWatcher(QObject* parent, std::function<void()> onResize) : QObject(parent), onResize_(std::move(onResize)) {}
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Resize) onResize_();
        return QObject::eventFilter(watched, e);
    }

private:
    std::function<void()> onResize_;
};

// The angle the bottom axis shows, by the pop-up menu's choice.
QString BottomAxisTitle(const TMainForm& f) {
    return isChecked(f.Numerpunktu2) ? Msg("stNrPunktu") : Msg("stKat") + QStringLiteral(" [deg]");
}

// Half the first step in arc seconds: the reflector's set-up turn before the first point.
double AngularRotationStartValue(const TPunkt& targets) {
    if (targets.Count() < 2) return 0.0;
    return (targets[1].Dystans - targets[0].Dystans) * 3600 * 0.5;
}

}  // namespace

AngularPage::AngularPage(TMainForm& shell) : QObject(&shell), shell_(shell) {}

QWidget* AngularPage::Build() {
    auto* page = named(new QWidget, "PodzialyKatowe");
    auto* lay = new QVBoxLayout(page);
    auto* top = new QHBoxLayout;
    WykresPK = chart(page, "WykresPK");
    WykresPK->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(WykresPK, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { shell_.PopupMenuPK->popup(WykresPK->mapToGlobal(pos)); });
    top->addWidget(WykresPK, 3);
    auto* side = new QVBoxLayout;
    GaugePodzKat = gauge(page, "GaugePodzKat");
    side->addWidget(GaugePodzKat);
    // The division just turned and the total angle since the run's start, in arc seconds.
    auto* measured = PanelWMierzonaPK = panel(page, "PanelWMierzonaPK");
    auto* pm = new QVBoxLayout(measured);
    pm->addWidget(label(measured, "LabWMierzonaPK", QStringLiteral("Podział [ sec ]")));
    DisplayPodzKat = display(measured, "DisplayPodzKat", 1);
    pm->addWidget(DisplayPodzKat);
    side->addWidget(measured);
    auto* total = PanelWZadanaPK = panel(page, "PanelWZadanaPK");
    auto* pz = new QVBoxLayout(total);
    pz->addWidget(label(total, "LabWZadanaPK", QStringLiteral("Kąt całkowity [ sec ]")));
    DispKatCalkowity = display(total, "DispKatCalkowity", 1);
    pz->addWidget(DispKatCalkowity);
    side->addWidget(total);
    measured->hide();
    total->hide();
    LabPoczPK = label(page, "LabPoczPK", QString());
    side->addWidget(LabPoczPK);
    GridOdchylkaPK = deviationGrid(page, "GridOdchylkaPK");
    side->addWidget(GridOdchylkaPK, 1);
    auto* accept = ButtonZaliczeniePK = button(page, "ButtonZaliczeniePK", QStringLiteral("&Zaliczenie punktu"));
    accept->hide();
    side->addWidget(accept);
    BStartPK = button(page, "BStartPK", QStringLiteral("&Start"));
    side->addWidget(BStartPK);
    side->addWidget(backButton(page, ButtonMainMenuPK, "ButtonMainMenuPK"));
    // What the run waits for, over the middle of the chart.
    auto* info = LabelInfoPK = label(WykresPK, "LabelInfoPK", QString());
    QFont infoFont = info->font();
    infoFont.setPointSizeF(infoFont.pointSizeF() * 1.5);
    infoFont.setBold(true);
    info->setFont(infoFont);
    info->setAlignment(Qt::AlignCenter);
    // A long prompt breaks into lines within the chart rather than running past its edges.
    info->setWordWrap(true);
    info->setAttribute(Qt::WA_TransparentForMouseEvents);
    info->hide();
    auto* sideBox = new QWidget(page);
    sideBox->setLayout(side);
    sideBox->setFixedWidth(300);
    top->addWidget(sideBox);
    lay->addLayout(top, 1);
    StatusBar2 = panelStatusBar(page, "StatusBar2", 5);
    lay->addWidget(StatusBar2);
    return page;
}

QWidget* AngularPage::StartPointAnchor() const { return BStartPK; }

void AngularPage::Connect() {
    connect(BStartPK, &QPushButton::clicked, this, &AngularPage::BStartPKClick);
    connect(ButtonZaliczeniePK, &QPushButton::clicked, this, &AngularPage::ButtonZaliczeniePKClick);
    connect(ButtonMainMenuPK, &QPushButton::clicked, this, &AngularPage::ButtonMainMenuPKClick);
    auto onTrigger = [this](const char* name, void (AngularPage::*handler)()) {
        if (QAction* a = shell_.MenuCommand(QString::fromLatin1(name))) connect(a, &QAction::triggered, this, handler);
    };
    onTrigger("ReczneZaliczeniePunktuPK", &AngularPage::ReczneZaliczeniePunktuPKClick);
    onTrigger("UstawSilnik1", &AngularPage::UstawSilnik1Click);
    onTrigger("MenuItemKatCalkowity", &AngularPage::MenuItemKatCalkowityClick);
    onTrigger("MenuItemTabelkaOdchylekPK", &AngularPage::MenuItemTabelkaOdchylekPKClick);
    if (shell_.Numerpunktu2) connect(shell_.Numerpunktu2, &QAction::triggered, this, &AngularPage::Numerpunktu2Click);
    if (shell_.Kat1) connect(shell_.Kat1, &QAction::triggered, this, &AngularPage::Kat1Click);
    WykresPK->installEventFilter(new ResizeWatcher(WykresPK, [this] { WykresPKResize(); }));
}

void AngularPage::BitBtnPodzKatoweClick() {
    TMainForm& f = shell_;
    f.MeasurementMode = kModeAngular;
    modes::HideAngularPanels(f.ModeHost());
    BStartPK->setText(QStringLiteral("&Start"));
    f.setWindowTitle(f.ModeCaptions[kModeAngular]);
    ButtonZaliczeniePK->setVisible(isChecked(f.MenuCommand(QStringLiteral("ReczneZaliczeniePunktuPK"))));

    f.SetChartAxisTitle(WykresPK, TMainForm::ChartAxis::Left, Msg("stBlad") + QStringLiteral(" [ sec ]"));
    f.SetChartAxisTitle(WykresPK, TMainForm::ChartAxis::Bottom, BottomAxisTitle(f));
    TMainForm::SetPointNumberAxis(WykresPK, isChecked(f.Numerpunktu2));

    f.ShowMenuItemsByTag(TagSet({10, 11, 15, 23, 26, 27, 38, 39, 40, 41}), true);
    f.ShowMenuItemsByTag(TagSet({6, 9, 13, 17, 18, 19, 20, 21, 28, 29, 30, 31, 37, 43, 44}), false);
    enableIf(f.MenuCommand(QStringLiteral("PunktyPozycjonowania1")), true);
    // Emptied first: the reset clears the title too.
    f.Points().ResetChartAndGrid(f.Points().Plots().WykresPK);
    f.SetChartTitle(WykresPK, Msg("stWykresPozPK"));
    ShowAngularParameters();
    f.TypeCalls().ShowRecentFiles(kModeAngular);
    f.DeviationGridWidth = 0;

    if (InterfaceError) {
        BStartPK->setEnabled(false);
        enableIf(f.MenuCommand(QStringLiteral("Start1")), false);
    } else {
        f.SendHeadCommand('s');  // motor power on
        if (f.TypeCalls().HeadReady()) {
            modes::StartAngularReading(f.ModeHost());
        } else {
            // The signal monitor starts the page's reading once the head is ready.
            BStartPK->setEnabled(false);
            enableIf(f.MenuCommand(QStringLiteral("Start1")), false);
            f.TypeCalls().StartSignalMonitor();
        }
        f.TypeCalls().RestartMeteoReading();
    }
    f.NotebookMainForm->setCurrentIndex(kPageAngular);
}

void AngularPage::BStartPKClick() {
    TMainForm& f = shell_;
    instrument::AcceptanceState& st = f.Acceptance().state;

    if (BStartPK->property("Tag").toInt() == 1) {
        // A new run after a finished one: the finished one is saved or given up first.
        if (!f.SaveOrDiscardChanges(f.MeasurementMode)) return;
        BStartPK->setText(QStringLiteral("&Start"));
        BStartPK->setProperty("Tag", 0);
        f.AngularPoints->Clear();
        st.angleBase = 0.0;
        modes::RestartCounting(f.ModeHost());
        f.Points().ResetChartAndGrid(f.Points().Plots().WykresPK);
        modes::ShowAngularPanels(f.ModeHost());
        return;
    }

    if (MeasurementRunning) {
        if (MessageDlg(Msg("stKoniecPomiaru"), TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes) return;
        enableIf(f.MenuCommand(QStringLiteral("Start1")), true);
        enableIf(f.MenuCommand(QStringLiteral("Stop1")), false);
        ButtonZaliczeniePK->setEnabled(false);
        BStartPK->setText(QStringLiteral("&Start"));
        MeasurementRunning = false;
        LabelInfoPK->setVisible(false);
        // A reflector still turning is stopped with the run.
        if (MotorRunning) {
            f.SendHeadCommand('x');
            MotorRunning = false;
        }
        return;
    }

    // The set-up turns by half the first step: without two targets there is no step.
    if (f.AngularTargetPoints->Count() < 2) {
        MessageDlg(Msg("stZaMaloPunktow"), TMsgDlgType::mtError, mbOK);
        return;
    }
    f.ApplyAcceptanceSettings();
    ShowAngularParameters();
    enableIf(f.MenuCommand(QStringLiteral("Start1")), false);
    enableIf(f.MenuCommand(QStringLiteral("Stop1")), true);
    ButtonZaliczeniePK->setEnabled(true);
    modes::ResetHeadFlags(f.ModeHost());

    f.AngularPoints->Clear();
    f.Points().ResetChartAndGrid(f.Points().Plots().WykresPK);
    f.SetChartTitle(WykresPK, Msg("stWykresPozPK"));
    BStartPK->setText(QStringLiteral("&Stop"));
    st.angleBase = 0.0;
    st.pointIndex = 0;
    st.stableCount = 0;
    st.lastValue = 0.0;
    st.manualAcceptRequest = false;
    f.TypeCalls().FillHeaderEnvironment();

    ShowAngularInfo(Msg("stWUstawSilnik"));

    st.rotationStartValue = AngularRotationStartValue(*f.AngularTargetPoints);
    st.awaitingRotation = true;

    modes::RestartCounting(f.ModeHost());
    MeasurementRunning = true;
}

void AngularPage::ButtonMainMenuPKClick() { shell_.StraightnessControl().LeaveMeasurementPage(); }

void AngularPage::ButtonZaliczeniePKClick() { shell_.Acceptance().state.manualAcceptRequest = true; }

void AngularPage::ReczneZaliczeniePunktuPKClick() {
    QAction* a = shell_.MenuCommand(QStringLiteral("ReczneZaliczeniePunktuPK"));
    if (!a) return;
    if (MeasurementRunning) {
        a->setChecked(!a->isChecked());  // undo the menu's own toggle
        ShowMessage(Msg("stTrwaPomiar"));
        return;
    }
    ButtonZaliczeniePK->setVisible(a->isChecked());
    shell_.Acceptance().settings.manualAcceptPK = a->isChecked();
    ShowAngularParameters();
}

void AngularPage::UstawSilnik1Click() {
    TFUstawSilnik dialog(nullptr, &shell_);
    dialog.exec();
}

void AngularPage::MenuItemKatCalkowityClick() {
    PanelWZadanaPK->setVisible(isChecked(shell_.MenuCommand(QStringLiteral("MenuItemKatCalkowity"))));
}

void AngularPage::MenuItemTabelkaOdchylekPKClick() {
    ShowDeviationTable(isChecked(shell_.MenuCommand(QStringLiteral("MenuItemTabelkaOdchylekPK"))));
}

void AngularPage::ShowDeviationTable(bool on) { GridOdchylkaPK->setVisible(on); }

void AngularPage::Numerpunktu2Click() {
    shell_.Numerpunktu2->setChecked(true);
    if (shell_.Kat1) shell_.Kat1->setChecked(false);
    RedrawAngularChart();
}

void AngularPage::Kat1Click() {
    shell_.Kat1->setChecked(true);
    if (shell_.Numerpunktu2) shell_.Numerpunktu2->setChecked(false);
    RedrawAngularChart();
}

void AngularPage::RedrawAngularChart() {
    if (MeasurementRunning) return;
    shell_.SetChartAxisTitle(WykresPK, TMainForm::ChartAxis::Bottom, BottomAxisTitle(shell_));
    TMainForm::SetPointNumberAxis(WykresPK, isChecked(shell_.Numerpunktu2));
    shell_.Points().PlotPositionPK();
}

void AngularPage::WykresPKResize() {
    // Over the plot area, not the legend beside it: the prompt breaks into lines within it.
    const QRect plot = WykresPK->LayoutFor(QRectF(WykresPK->rect())).plotRect.toAlignedRect();
    const int left = plot.width() > 0 ? plot.left() : 0;
    const int width = plot.width() > 0 ? plot.width() : WykresPK->width();
    const int height = LabelInfoPK->heightForWidth(width);
    LabelInfoPK->setGeometry(left, WykresPK->height() / 2 - height, width, height);
}

void AngularPage::ShowAngularInfo(const QString& text) {
    LabelInfoPK->setText(text);
    WykresPKResize();
    LabelInfoPK->setVisible(!text.isEmpty());
    LabelInfoPK->raise();
}

void AngularPage::ShowAngularParameters() {
    auto panelText = [this](int i, const QString& text) {
        if (QLabel* l = StatusBar2->Panel(i))
            l->setText(text);
    };
    const TMainForm& f = shell_;
    const QString direction = f.RotationDirection < RotationDirectionNames.size()
                                  ? RotationDirectionNames[f.RotationDirection]
                                  : QString();
    panelText(0, Msg("stKierunekObrotu") + QStringLiteral(" - ") + direction);
    const double last = f.AngularTargetPoints->Count() > 0
                            ? (*f.AngularTargetPoints)[f.AngularTargetPoints->Count() - 1].Dystans
                            : 0.0;
    panelText(1, Msg("stKat") + QStringLiteral(" - ") + foundations::systemLocale().toString(last, 'f', 1) + QStringLiteral(" °"));
    QAction* manual = f.MenuCommand(QStringLiteral("ReczneZaliczeniePunktuPK"));
    panelText(2, isChecked(manual) ? manual->text().remove(u'&') : Msg("stZalAuto"));
}

void AngularPage::ShowRunStopped() {
    BStartPK->setText(QStringLiteral("&Start"));
    LabelInfoPK->hide();
}

void AngularPage::ShowLoadedRun() {
    BStartPK->setText(QStringLiteral("&Pomiar"));
    BStartPK->setProperty("Tag", 1);
}

void AngularPage::FinishAngularMeasurement() {
    DataSaved = false;
    ShowLoadedRun();
    enableIf(shell_.MenuCommand(QStringLiteral("Start1")), true);
    enableIf(shell_.MenuCommand(QStringLiteral("Stop1")), false);
    MeasurementRunning = false;
    LabelInfoPK->setVisible(false);
    modes::HideAngularPanels(shell_.ModeHost());
    shell_.EnableMenuItemsByTag(TagSet({2, 3, 4, 5, 28, 42}), true);
}

void AngularPage::ShowAngle(double division, double total) {
    DisplayPodzKat->SetValue(division);
    DispKatCalkowity->SetValue(total);
}

WarmUpControls AngularPage::SignalWarmUpControls() const { return {nullptr, nullptr, BStartPK, LabPoczPK, nullptr}; }

QObject* AngularPage::ModeControlOf(modes::ModeControl c) const {
    using C = modes::ModeControl;
    switch (c) {
    case C::DispKatCalkowity: return DispKatCalkowity;
    case C::PanelWMierzonaPK: return PanelWMierzonaPK;
    case C::PanelWZadanaPK: return PanelWZadanaPK;
    case C::LabPoczPK: return LabPoczPK;
    case C::BStartPK: return BStartPK;
    default: return nullptr;
    }
}
