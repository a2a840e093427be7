// The default control hooks of IModeHost: they act on the controls the host hands out, and skip
// any control it has not.
#include "app/ModeSequences.h"

#include "foundations/Display.h"
#include "foundations/MeasurementModes.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QWidget>

namespace modes {

namespace {

using C = ModeControl;

template <class T = QWidget>
T* find(const IModeHost& h, ModeControl c) {
    return qobject_cast<T*>(h.Control(c));
}

void show(const IModeHost& h, ModeControl name, bool on) {
    if (QWidget* w = find(h, name)) w->setVisible(on);
}

void enable(const IModeHost& h, ModeControl name, bool on = true) {
    if (QWidget* w = find(h, name)) w->setEnabled(on);
}

void enableAction(const IModeHost& h, ModeControl name, bool on = true) {
    if (QAction* a = find<QAction>(h, name)) a->setEnabled(on);
}

bool checked(const IModeHost& h, ModeControl name) {
    if (QAction* a = find<QAction>(h, name)) return a->isChecked();
    if (QAbstractButton* b = find<QAbstractButton>(h, name)) return b->isChecked();
    return false;
}

void zeroDisplay(const IModeHost& h, ModeControl name) {
    if (TDisplay* d = find<TDisplay>(h, name)) d->SetValue(0.0);
}

void setPage(const IModeHost& h, ModeControl name, int page) {
    if (auto* nb = find<QStackedWidget>(h, name))
        if (page >= 0 && page < nb->count()) nb->setCurrentIndex(page);
}

}  // namespace

void SetButtonCaption(IModeHost& h, ModeControl name, const QString& caption) {
    if (auto* b = find<QAbstractButton>(h, name)) b->setText(caption);
}

QString SpeedButtonZnakClick(IModeHost& h) {
    auto* b = find<QAbstractButton>(h, C::SpeedButtonZnak);
    if (!b) return {};
    b->setText(ToggleSignCaption(b->text()));
    return b->text();
}

void UpDown2Click(IModeHost& h) {
    auto* ud = find<QSpinBox>(h, C::UpDown2);
    auto* d = find<TDisplay>(h, C::DisplayWys);
    if (ud && d) d->SetPrecision(ud->value());
}

void ButZerowanieWynikuClick(IModeHost& h) { RestartCounting(h); }

int IModeHost::MainPage() const {
    auto* nb = find<QStackedWidget>(*this, C::NotebookMainForm);
    return nb ? nb->currentIndex() : 0;
}

bool IModeHost::AlignmentChecked() const { return checked(*this, C::CBJustowanie); }

void IModeHost::ShowMainPage(int page) { setPage(*this, C::NotebookMainForm, page); }

void IModeHost::ShowReadoutPage(int page) { setPage(*this, C::NotebookWyswietlacz, page); }

void IModeHost::SetWindowCaption(const QString& caption) {
    if (QWidget* w = MainWindowWidget()) w->setWindowTitle(caption);
}

void IModeHost::HideTopLevelMenus() {
    QWidget* root = MainWindowWidget();
    if (!root) return;
    for (QMenuBar* bar : root->findChildren<QMenuBar*>())
        for (QAction* a : bar->actions()) a->setVisible(false);
}

void ShowPositioningPanels(IModeHost& h) {
    zeroDisplay(h, C::DispWarZadana);
    show(h, C::PanelWarMierzona, true);
    show(h, C::PanelWarZadana, checked(h, C::MenuItemWartosczadana));
    show(h, C::GridOdchylka, checked(h, C::MenuItemTabelkaOdchylek));
    h.EnableMenuItemsByTag({29, 30}, true);
}

void HidePositioningPanels(IModeHost& h) {
    for (ModeControl n : {C::PanelWarMierzona, C::PanelWarZadana, C::GridOdchylka}) show(h, n, false);
    h.EnableMenuItemsByTag({29, 30}, false);
}

void ShowAngularPanels(IModeHost& h) {
    zeroDisplay(h, C::DispKatCalkowity);
    show(h, C::PanelWMierzonaPK, true);
    show(h, C::PanelWZadanaPK, checked(h, C::MenuItemKatCalkowity));
    h.EnableMenuItemsByTag({39}, true);
}

void HideAngularPanels(IModeHost& h) {
    show(h, C::PanelWMierzonaPK, false);
    show(h, C::PanelWZadanaPK, false);
    h.EnableMenuItemsByTag({39}, false);
}

void IModeHost::PrepareStartControls(StartRoutine r) {
    switch (r) {
    case StartRoutine::Linear:
        if (MeasurementModeField() == 0) {
            ShowPositioningPanels(*this);
            show(*this, C::GaugeProsto, false);
        } else {
            for (ModeControl n : {C::PanelWarProsto, C::PanelWarProstoY, C::Panel2OsWar, C::GaugeProsto})
                show(*this, n, true);
        }
        show(*this, C::ButtonPozStart, true);
        enable(*this, C::ButtonPozStart);
        enableAction(*this, C::Start1);
        show(*this, C::Label26, false);
        break;
    case StartRoutine::Velocity:
        for (ModeControl n : {C::Gauge4, C::Panel19, C::ButtonPozStart, C::ButtonStartV}) show(*this, n, true);
        enable(*this, C::ButtonStartV);
        enableAction(*this, C::Start1);
        show(*this, C::LabPoczPredkosc, false);
        break;
    case StartRoutine::Display:
        ShowReadoutPage(0);
        break;
    case StartRoutine::Angular:
        ShowAngularPanels(*this);
        show(*this, C::LabPoczPK, false);
        show(*this, C::BStartPK, true);
        enable(*this, C::BStartPK);
        enableAction(*this, C::Start1);
        break;
    case StartRoutine::Fft:
        show(*this, C::Label31, false);
        show(*this, C::GaugeFFT, true);
        show(*this, C::FFTPom, true);
        enable(*this, C::FFTPom);
        break;
    case StartRoutine::None:
        break;
    }
}

void IModeHost::FinishLinearStartControls(uint8_t mode) {
    if (mode == kModePositioning) {
        show(*this, C::ButtonZaliczeniepunktu, checked(*this, C::ReczneZaliczeniePunktu));
    } else if (mode == kModeStraightness || mode == kModeFlatness) {
        const bool automatic = checked(*this, C::Automatyczny1);
        for (ModeControl n : {C::ProgressBar2, C::ScrollBar16, C::Label139}) show(*this, n, automatic);
        show(*this, C::ButtonZaliczeniepunktu, !automatic);
    }
}

void IModeHost::ApplyReadoutView(const ReadoutView& v) {
    if (!v.TypeCaption.isEmpty())
        if (auto* b = find<QAbstractButton>(*this, C::ButtonTypPomiaru)) b->setText(v.TypeCaption);
    if (v.LengthLabelShown) show(*this, C::Label2, *v.LengthLabelShown);
    if (v.VelocityLabelShown) show(*this, C::Label5, *v.VelocityLabelShown);
    if (!v.LengthLabel.isEmpty())
        if (auto* l = find<QLabel>(*this, C::Label2)) l->setText(v.LengthLabel);
    if (!v.VelocityLabel.isEmpty())
        if (auto* l = find<QLabel>(*this, C::Label5)) l->setText(v.VelocityLabel);
    if (v.Decimals >= 0) {
        if (auto* ud = find<QSpinBox>(*this, C::UpDown2)) {
            ud->setMaximum(v.Decimals);
            ud->setValue(v.Decimals);
        }
        if (auto* d = find<TDisplay>(*this, C::DisplayWys)) d->SetPrecision(v.Decimals);
    }
    if (v.PhotoShown) show(*this, C::FotoPomiaru, *v.PhotoShown);
}

void IModeHost::PrepareLiveReadoutPage() {
    for (ModeControl n : {C::ButtonTypPomiaru, C::ButtonOs, C::ButZerowanieWyniku}) enable(*this, n);
    enable(*this, C::Button1);
    show(*this, C::Panel6, false);
}

void IModeHost::ShowLiveReadoutHeadOff(const QString& text) {
    if (auto* l = find<QLabel>(*this, C::Label32)) l->setText(text);
    enable(*this, C::ButZerowanieWyniku, false);
}

void IModeHost::ShowLiveReadoutInterfaceError() {
    show(*this, C::Gauge3, false);
    enable(*this, C::ButZerowanieWyniku, false);
}

}  // namespace modes
