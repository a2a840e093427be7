// The velocity page: its controls, its entry from the main menu, the run toggle and the way back.
#include "app/VelocityPage.h"
#include "app/PositioningPage.h"

#include "app/ModeSequences.h"
#include "instrument/OdczytSygnaluPomiarowego.h"
#include "app/WarmUpControls.h"
#include "instrument/LinkPort.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/LiveReadoutPage.h"
#include "app/PageControls.h"
#include "app/PointStoreWidgets.h"
#include "app/SkalowanieOsi.h"
#include "app/Unit_glowny.h"
#include "evaluation/PointStore.h"
#include "foundations/MeasurementModes.h"
#include "foundations/MessageDlg.h"
#include "foundations/ProgramMessages.h"
#include "foundations/FR_Utils.h"
#include "foundations/SharedGlobals.h"

using namespace pagecontrols;

namespace {

constexpr int kPageVelocity = 4;

const TTagSet& VelocityShown() {
    static const TTagSet s = TagSet({11, 15, 23, 26});
    return s;
}
const TTagSet& VelocityHidden() {
    static const TTagSet s = TagSet({6, 9, 10, 13, 17, 18, 19, 20, 21, 27, 28, 37, 38, 41, 43, 44});
    return s;
}
// Commands that stay off while a velocity run lasts: save, save as, print, preview, export.
const TTagSet& VelocityRunLocked() {
    static const TTagSet s = TagSet({2, 3, 4, 5, 42});
    return s;
}

void enableIf(QAction* a, bool on) {
    if (a) a->setEnabled(on);
}
}  // namespace

VelocityPage::VelocityPage(TMainForm& shell) : QObject(&shell), shell_(shell) {}

QWidget* VelocityPage::Build() {
    auto* page = named(new QWidget, "Predkosc");
    auto* lay = new QHBoxLayout(page);
    WykresPredkosci = chart(page, "WykresPredkosci");
    lay->addWidget(WykresPredkosci, 3);
    auto* side = new QVBoxLayout;
    Panel19 = panel(page, "Panel19");
    auto* p = new QGridLayout(Panel19);
    p->addWidget(label(Panel19, "LabPredkosc", QStringLiteral("Prędkość")), 0, 0, 1, 2);
    DisplayPredkosc = display(Panel19, "DisplayPredkosc", 3);
    LabVelUnit1 = label(Panel19, "LabVelUnit1", QStringLiteral(" mm/s"));
    p->addWidget(DisplayPredkosc, 1, 0);
    p->addWidget(LabVelUnit1, 1, 1);
    LabPredkoscSr = label(Panel19, "LabPredkoscSr", QStringLiteral("Prędkość średnia"));
    p->addWidget(LabPredkoscSr, 2, 0, 1, 2);
    DispPredkoscSr = display(Panel19, "DispPredkoscSr", 3);
    LabVelUnit2 = label(Panel19, "LabVelUnit2", QStringLiteral("  mm/s"));
    p->addWidget(DispPredkoscSr, 3, 0);
    p->addWidget(LabVelUnit2, 3, 1);
    side->addWidget(Panel19);
    Gauge4 = gauge(page, "Gauge4");
    side->addWidget(Gauge4);
    LabPoczPredkosc = label(page, "LabPoczPredkosc", QString());
    side->addWidget(LabPoczPredkosc);
    side->addStretch(1);
    ButtonStartV = button(page, "ButtonStartV", QStringLiteral("&Start"));
    side->addWidget(ButtonStartV);
    side->addWidget(backButton(page, Button2, "Button2"));
    auto* sideBox = new QWidget(page);
    sideBox->setLayout(side);
    // The chart takes the room a small screen leaves; the readouts need no more than 300 px.
    sideBox->setMinimumWidth(230);
    sideBox->setMaximumWidth(300);
    lay->addWidget(sideBox, 1);
    return page;
}

void VelocityPage::Connect() {
    connect(ButtonStartV, &QPushButton::clicked, this, &VelocityPage::ButtonStartVClick);
    connect(Button2, &QPushButton::clicked, this, &VelocityPage::Button2Click);
    connect(WykresPredkosci, &platform::TChart::afterDraw, this, &VelocityPage::Series2AfterDrawValues);
    connect(WykresPredkosci, &platform::TChart::axisClicked, this,
            [this](platform::TChartAxis* axis, Qt::MouseButton) { WykresPredkosciClickAxis(axis); });
}

void VelocityPage::Series2AfterDrawValues() {
    if (VelocityRunning) return;
    const platform::TChartAxis& x = WykresPredkosci->BottomAxis();
    const MeanShownFor now{x.Minimum(), x.Maximum(), shell_.VelocitySamples ? shell_.VelocitySamples->Count() : 0};
    if (now == meanShownFor_) return;
    meanShownFor_ = now;
    shell_.Points().ShowMeanVelocity();
}

void VelocityPage::WykresPredkosciClickAxis(platform::TChartAxis* axis) {
    if (!axis) return;
    if (axis == &WykresPredkosci->LeftAxis())
        EditAxisScale(*axis, TranslateString(QStringLiteral("stPredkosci"), QStringLiteral("Prędkości")), &shell_);
    else
        EditAxisScale(*axis, TranslateString(QStringLiteral("stCzasu"), QStringLiteral("Czasu")), &shell_);
}

void VelocityPage::BitBtnpredkoscClick() {
    shell_.MeasurementMode = kModeVelocity;
    shell_.DisplayVelocityUnit = 0;
    UpdateVelocityUnitCaptions();
    if (shell_.Positioning().ButtonPages()) shell_.Positioning().ButtonPages()->setCurrentIndex(0);
    shell_.VelocitySamples->Clear();
    shell_.Points().ClearVelocitySeries();
    ButtonStartV->setVisible(true);
    ButtonStartV->setEnabled(false);
    shell_.setWindowTitle(shell_.ModeCaptions[kModeVelocity]);
    shell_.ShowMenuItemsByTag(VelocityShown(), true);
    shell_.ShowMenuItemsByTag(VelocityHidden(), false);
    shell_.TypeCalls().ShowRecentFiles(kModeVelocity);
    if (InterfaceError) {
        Gauge4->setVisible(false);
        Panel19->setVisible(false);
        DisableVelocityStart();
    } else {
        shell_.StartPageReading(true);
    }
    shell_.NotebookMainForm->setCurrentIndex(kPageVelocity);
}

void VelocityPage::ButtonStartVClick() {
    shell_.TypeCalls().ResetHeadFlags();
    VelocityDataSaved = true;
    shell_.EnableMenuItemsByTag(VelocityRunLocked(), false);
    if (VelocityRunning) {
        enableIf(shell_.MenuCommand("Start1"), true);
        enableIf(shell_.MenuCommand("Stop1"), false);
        enableIf(shell_.MenuCommand("Konfiguracja1"), true);
        VelocityDataSaved = false;
        VelocityRunning = false;
        ButtonStartV->setText(QStringLiteral("&Start"));
        shell_.Readout().ShowRunPanel(false);
        shell_.EnableMenuItemsByTag(VelocityRunLocked(), true);
        SetChartZoomAllowed(WykresPredkosci, true, false);
        shell_.Points().ShowMeanVelocity();
        return;
    }
    enableIf(shell_.MenuCommand("Start1"), false);
    enableIf(shell_.MenuCommand("Stop1"), true);
    enableIf(shell_.MenuCommand("Konfiguracja1"), false);
    shell_.TypeCalls().FillHeaderEnvironment();
    shell_.MeasurementMode = kModeVelocity;
    shell_.Readout().ShowRunPanel(true);
    ButtonStartV->setText(QStringLiteral("&Stop"));
    shell_.VelocitySamples->Clear();
    shell_.Points().ClearVelocitySeries();
    // The whole run stays in view while it lasts.
    SetChartZoomAllowed(WykresPredkosci, false, true);
    if (instrument::ChosenLink() == instrument::LinkKind::Card)
        shell_.SendHeadCommand('R');
    else
        shell_.TypeCalls().ClearFifo();
    shell_.SendHeadCommand('S');
    VelocitySampleCount = 0;
    VelocityRunning = true;
}

void VelocityPage::Button2Click() {
    if (VelocityRunning) {
        ShowMessage(Msg("stZakoncz"));
        return;
    }
    if (!shell_.SaveOrDiscardChanges(kModeVelocity)) return;
    shell_.TypeCalls().ReturnToMainMenuFromVelocity();
}

void VelocityPage::DisableVelocityStart() {
    ButtonStartV->setEnabled(false);
    enableIf(shell_.MenuCommand("Start1"), false);
}

void VelocityPage::DisableStartButton() { ButtonStartV->setEnabled(false); }
void VelocityPage::ShowRunStopped() { ButtonStartV->setText(QStringLiteral("&Start")); }

void VelocityPage::UpdateVelocityUnitCaptions() {
    const int unit = shell_.VelocityChartUnit < VelocityUnitNames.size() ? shell_.VelocityChartUnit : 0;
    const QString name = QString::fromUtf8(VelocityUnitNames[unit]);
    shell_.SetChartAxisTitle(WykresPredkosci, TMainForm::ChartAxis::Left,
                             Msg("stPredkosc") + QStringLiteral(" [") + name + u']');
    LabVelUnit1->setText(u' ' + name);
    LabVelUnit2->setText(QStringLiteral("  ") + name);
    DisplayPredkosc->SetPrecision(VelocityDisplayDecimals(unit));
    DispPredkoscSr->SetPrecision(VelocityDisplayDecimals(unit));
}

void VelocityPage::TranslateCaptions() {
    shell_.SetChartTitle(WykresPredkosci, Msg("stWykresPred"));
    shell_.SetChartAxisTitle(WykresPredkosci, TMainForm::ChartAxis::Bottom, Msg("stCzas") + QStringLiteral(" [s]"));
}

void VelocityPage::ShowVelocity(double value) { DisplayPredkosc->SetValue(value); }
void VelocityPage::ShowMeanVelocity(double value) { DispPredkoscSr->SetValue(value); }
QString VelocityPage::MeanVelocityCaption() const { return LabPredkoscSr->text(); }
double VelocityPage::MeanVelocity() const { return DispPredkoscSr->Value(); }
int VelocityPage::MeanVelocityPrecision() const { return DispPredkoscSr->Precision(); }
QString VelocityPage::MeanVelocityUnit() const { return LabVelUnit2->text(); }

WarmUpControls VelocityPage::SignalWarmUpControls() const { return {Gauge4, Panel19, ButtonStartV, LabPoczPredkosc, nullptr}; }

QObject* VelocityPage::ModeControlOf(modes::ModeControl c) const {
    using C = modes::ModeControl;
    switch (c) {
    case C::Gauge4: return Gauge4;
    case C::Panel19: return Panel19;
    case C::ButtonStartV: return ButtonStartV;
    case C::LabPoczPredkosc: return LabPoczPredkosc;
    default: return nullptr;
    }
}
