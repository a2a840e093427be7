// The default control hooks of IModeHost: they act on the main window's controls found by
// their names, and skip any control the window does not have.
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

template <class T = QWidget>
T* find(const IModeHost& h, const char* name) {
    QWidget* root = h.MainWindowWidget();
    return root ? root->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}

void show(const IModeHost& h, const char* name, bool on) {
    if (QWidget* w = find(h, name)) w->setVisible(on);
}

void enable(const IModeHost& h, const char* name, bool on = true) {
    if (QWidget* w = find(h, name)) w->setEnabled(on);
}

void enableAction(const IModeHost& h, const char* name, bool on = true) {
    if (QAction* a = find<QAction>(h, name)) a->setEnabled(on);
}

bool checked(const IModeHost& h, const char* name) {
    if (QAction* a = find<QAction>(h, name)) return a->isChecked();
    if (QAbstractButton* b = find<QAbstractButton>(h, name)) return b->isChecked();
    return false;
}

void zeroDisplay(const IModeHost& h, const char* name) {
    if (TDisplay* d = find<TDisplay>(h, name)) d->SetValue(0.0);
}

void setPage(const IModeHost& h, const char* name, int page) {
    if (auto* nb = find<QStackedWidget>(h, name))
        if (page >= 0 && page < nb->count()) nb->setCurrentIndex(page);
}

}  // namespace

void SetButtonCaption(IModeHost& h, const char* name, const QString& caption) {
    if (auto* b = find<QAbstractButton>(h, name)) b->setText(caption);
}

QString SpeedButtonZnakClick(IModeHost& h) {
    auto* b = find<QAbstractButton>(h, "SpeedButtonZnak");
    if (!b) return {};
    b->setText(ToggleSignCaption(b->text()));
    return b->text();
}

void UpDown2Click(IModeHost& h) {
    auto* ud = find<QSpinBox>(h, "UpDown2");
    auto* d = find<TDisplay>(h, "DisplayWys");
    if (ud && d) d->SetPrecision(ud->value());
}

void ButZerowanieWynikuClick(IModeHost& h) { RestartCounting(h); }

int IModeHost::MainPage() const {
    auto* nb = find<QStackedWidget>(*this, "NotebookMainForm");
    return nb ? nb->currentIndex() : 0;
}

bool IModeHost::AlignmentChecked() const { return checked(*this, "CBJustowanie"); }

void IModeHost::ShowMainPage(int page) { setPage(*this, "NotebookMainForm", page); }

void IModeHost::ShowReadoutPage(int page) { setPage(*this, "NotebookWyswietlacz", page); }

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
    zeroDisplay(h, "DispWarZadana");
    show(h, "PanelWarMierzona", true);
    show(h, "PanelWarZadana", checked(h, "MenuItemWartosczadana"));
    show(h, "GridOdchylka", checked(h, "MenuItemTabelkaOdchylek"));
    h.EnableMenuItemsByTag({29, 30}, true);
}

void HidePositioningPanels(IModeHost& h) {
    for (const char* n : {"PanelWarMierzona", "PanelWarZadana", "GridOdchylka"}) show(h, n, false);
    h.EnableMenuItemsByTag({29, 30}, false);
}

void ShowAngularPanels(IModeHost& h) {
    zeroDisplay(h, "DispKatCalkowity");
    show(h, "PanelWMierzonaPK", true);
    show(h, "PanelWZadanaPK", checked(h, "MenuItemKatCalkowity"));
    h.EnableMenuItemsByTag({39}, true);
}

void HideAngularPanels(IModeHost& h) {
    show(h, "PanelWMierzonaPK", false);
    show(h, "PanelWZadanaPK", false);
    h.EnableMenuItemsByTag({39}, false);
}

void IModeHost::PrepareStartControls(StartRoutine r) {
    switch (r) {
    case StartRoutine::Linear:
        if (MeasurementModeField() == 0) {
            ShowPositioningPanels(*this);
            show(*this, "GaugeProsto", false);
        } else {
            for (const char* n : {"PanelWarProsto", "PanelWarProstoY", "Panel2OsWar", "GaugeProsto"})
                show(*this, n, true);
        }
        show(*this, "ButtonPozStart", true);
        enable(*this, "ButtonPozStart");
        enableAction(*this, "Start1");
        show(*this, "Label26", false);
        break;
    case StartRoutine::Velocity:
        for (const char* n : {"Gauge4", "Panel19", "ButtonPozStart", "ButtonStartV"}) show(*this, n, true);
        enable(*this, "ButtonStartV");
        enableAction(*this, "Start1");
        show(*this, "LabPoczPredkosc", false);
        break;
    case StartRoutine::Display:
        ShowReadoutPage(0);
        break;
    case StartRoutine::Angular:
        ShowAngularPanels(*this);
        show(*this, "LabPoczPK", false);
        show(*this, "BStartPK", true);
        enable(*this, "BStartPK");
        enableAction(*this, "Start1");
        break;
    case StartRoutine::Fft:
        show(*this, "Label31", false);
        show(*this, "GaugeFFT", true);
        show(*this, "FFTPom", true);
        enable(*this, "FFTPom");
        break;
    case StartRoutine::None:
        break;
    }
}

void IModeHost::FinishLinearStartControls(uint8_t mode) {
    if (mode == kModePositioning) {
        show(*this, "ButtonZaliczeniepunktu", checked(*this, "ReczneZaliczeniePunktu"));
    } else if (mode == kModeStraightness || mode == kModeFlatness) {
        const bool automatic = checked(*this, "Automatyczny1");
        for (const char* n : {"ProgressBar2", "ScrollBar16", "Label139"}) show(*this, n, automatic);
        show(*this, "ButtonZaliczeniepunktu", !automatic);
    }
}

void IModeHost::ApplyReadoutView(const ReadoutView& v) {
    if (!v.TypeCaption.isEmpty())
        if (auto* b = find<QAbstractButton>(*this, "ButtonTypPomiaru")) b->setText(v.TypeCaption);
    if (v.LengthLabelShown) show(*this, "Label2", *v.LengthLabelShown);
    if (v.VelocityLabelShown) show(*this, "Label5", *v.VelocityLabelShown);
    if (!v.LengthLabel.isEmpty())
        if (auto* l = find<QLabel>(*this, "Label2")) l->setText(v.LengthLabel);
    if (!v.VelocityLabel.isEmpty())
        if (auto* l = find<QLabel>(*this, "Label5")) l->setText(v.VelocityLabel);
    if (v.Decimals >= 0) {
        if (auto* ud = find<QSpinBox>(*this, "UpDown2")) {
            ud->setMaximum(v.Decimals);
            ud->setValue(v.Decimals);
        }
        if (auto* d = find<TDisplay>(*this, "DisplayWys")) d->SetPrecision(v.Decimals);
    }
    if (v.PhotoShown) show(*this, "FotoPomiaru", *v.PhotoShown);
}

void IModeHost::PrepareLiveReadoutPage() {
    for (const char* n : {"ButtonTypPomiaru", "ButtonOs", "ButZerowanieWyniku"}) enable(*this, n);
    // "Button1" is a common name: take the one on the live readout page.
    if (auto* nb = find<QStackedWidget>(*this, "NotebookMainForm"))
        if (QWidget* page = nb->widget(2))
            if (QWidget* b = page->findChild<QWidget*>("Button1")) b->setEnabled(true);
    show(*this, "Panel6", false);
}

void IModeHost::ShowLiveReadoutHeadOff(const QString& text) {
    if (auto* l = find<QLabel>(*this, "Label32")) l->setText(text);
    enable(*this, "ButZerowanieWyniku", false);
}

void IModeHost::ShowLiveReadoutInterfaceError() {
    show(*this, "Gauge3", false);
    enable(*this, "ButZerowanieWyniku", false);
}

}  // namespace modes
