// The live readout page of the main window: its main-menu button, the page's switches and its
// keys (Esc back to the main menu, R zeroes the reading), each handed to the mode sequences.
#include <QKeyEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

#include "app/ModeSequences.h"
#include "app/ModeSequencesMainForm.h"
#include "app/Unit_glowny.h"
#include "foundations/Display.h"
#include "foundations/MeasurementModes.h"
#include "foundations/ProgramMessages.h"

namespace {

// Keys that reach the main window and that the mode sequences act on themselves: Esc on the
// live readout and velocity pages, R on the live readout page. Everything else passes on.
class ReadoutKeys final : public QObject {
public:
    explicit ReadoutKeys(TMainForm& f) : QObject(&f), f_(f) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched != &f_ || e->type() != QEvent::KeyPress) return false;
        const auto* k = static_cast<QKeyEvent*>(e);
        if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
        const int page = f_.ModeHost().MainPage();
        int key = 0;
        if (k->key() == Qt::Key_Escape && (page == 2 || page == 4)) key = modes::kKeyEscape;
        if (k->key() == Qt::Key_R && page == 2) key = modes::kKeyR;
        if (!key) return false;
        f_.FormKeyDown(key);
        return true;
    }

private:
    TMainForm& f_;
};

}  // namespace

void TMainForm::ConnectLiveReadout() {
    connect(BitBtnWyswietlacz, &QPushButton::clicked, this, &TMainForm::BitBtnWyswietlaczClick);
    connect(ButtonTypPomiaru, &QPushButton::clicked, this, &TMainForm::ButtonTypPomiaruClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TMainForm::SpeedButton1Click);
    connect(SpeedButtonZnak, &QToolButton::clicked, this, &TMainForm::SpeedButtonZnakClick);
    connect(ButtonOs, &QPushButton::clicked, this, &TMainForm::ButtonOsClick);
    connect(ButZerowanieWyniku, &QPushButton::clicked, this, &TMainForm::ButZerowanieWynikuClick);
    connect(UpDown2, &QSpinBox::valueChanged, this, [this](int) { UpDown2Click(); });
    connect(Button1, &QPushButton::clicked, this, [this] { modes::ReturnToMainMenu(ModeHost()); });
    connect(BRozdziel, &QPushButton::clicked, this, &TMainForm::BRozdzielClick);
    installEventFilter(new ReadoutKeys(*this));
}

void TMainForm::BitBtnWyswietlaczClick() { modes::BitBtnWyswietlaczClick(ModeHost()); }
void TMainForm::ButtonTypPomiaruClick() { modes::ButtonTypPomiaruClick(ModeHost()); }
void TMainForm::SpeedButton1Click() { modes::SpeedButton1Click(ModeHost()); }
void TMainForm::SpeedButtonZnakClick() { modes::SpeedButtonZnakClick(ModeHost()); }
void TMainForm::ButtonOsClick() { modes::ButtonOsClick(ModeHost()); }
void TMainForm::ButZerowanieWynikuClick() { modes::ButZerowanieWynikuClick(ModeHost()); }
void TMainForm::UpDown2Click() { modes::UpDown2Click(ModeHost()); }
// 10 nm <-> 100 nm: the head's resolution byte, the readout decimals of every unit and the
// filter's threshold follow; the count starts again at the new resolution.
void TMainForm::BRozdzielClick() {
    Resolution10 = !Resolution10;
    BRozdziel->setText(Msg("stRozdzielczosc") + (Resolution10 ? QStringLiteral(" 10 nm") : QStringLiteral(" 100 nm")));
    const uint8_t byte = Resolution10 ? modes::kResolution10nm : modes::kResolution100nm;
    SendHeadCommand(byte);
    DisplayPrecision = modes::PrecisionTableFor(byte);
    FilterThreshold = Resolution10 ? 128 : 8;
    MainFormModeHost& h = ModeHost();
    if (MeasurementMode == kModeDistanceReadout || MeasurementMode == kModeVelocityReadout) {
        h.ApplyReadoutView(modes::DisplayUnitView(MeasurementMode, DisplayLengthUnit, DisplayVelocityUnit,
                                                  DisplayPrecision));
    } else if (MeasurementMode == kModeAngleReadout || MeasurementMode == kModeWollastonReadout) {
        UpDown2->setMaximum(DisplayPrecision[9]);
        UpDown2->setValue(DisplayPrecision[9]);
        DisplayWys->SetPrecision(DisplayPrecision[9]);
    }
    modes::RestartCounting(h);
}

void TMainForm::FormKeyDown(int virtualKey) { modes::FormKeyDown(ModeHost(), virtualKey); }
