#include "app/ModeSequencesMainForm.h"

#include "app/Unit_glowny.h"
#include "instrument/MemoryFifo.h"

#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>

MainFormModeHost::MainFormModeHost(TMainForm& form) : f_(form) {}

uint8_t& MainFormModeHost::MeasurementModeField() { return f_.MeasurementMode; }
modes::PrecisionTable& MainFormModeHost::DisplayPrecisionField() { return f_.DisplayPrecision; }
uint8_t& MainFormModeHost::DisplayLengthUnitField() { return f_.DisplayLengthUnit; }
uint8_t& MainFormModeHost::DisplayVelocityUnitField() { return f_.DisplayVelocityUnit; }

bool MainFormModeHost::ResolutionButtonVisible() const {
    return f_.BRozdziel && !f_.BRozdziel->isHidden();
}

bool MainFormModeHost::Resolution10() const { return f_.Resolution10; }
int MainFormModeHost::StraightnessMethod() const { return f_.StraightnessMethod; }
QWidget* MainFormModeHost::MainWindowWidget() const { return &f_; }

int MainFormModeHost::MainPage() const {
    return f_.NotebookMainForm ? f_.NotebookMainForm->currentIndex() : 0;
}

void MainFormModeHost::CreateReadingThread(uint64_t generation) {
    if (Seams.CreateReadingThread) Seams.CreateReadingThread(generation);
}

void MainFormModeHost::StartSignalMonitor() {
    OdczytSygPomiarowego::Start(Seams.SignalSource ? Seams.SignalSource() : MakeLinkSignalSource(),
                                this);
}

void MainFormModeHost::RestartMeteoReading() {
    if (Seams.RestartMeteoReading) Seams.RestartMeteoReading();
}

void MainFormModeHost::ClearFifo() {
    if (f_.Fifo) f_.Fifo->Clear();
}

void MainFormModeHost::SetLinkWatchdogEnabled(bool on) {
    if (Seams.SetLinkWatchdogEnabled) Seams.SetLinkWatchdogEnabled(on);
}

void MainFormModeHost::EnableMenuItemsByTag(const std::vector<int>& tags, bool on) {
    TTagSet set;
    for (int t : tags)
        if (t >= 0 && t < int(set.size())) set.set(size_t(t));
    f_.EnableMenuItemsByTag(set, on);
}

void MainFormModeHost::ShowSetupPicture() {
    if (Seams.ShowSetupPicture) Seams.ShowSetupPicture();
}

int MainFormModeHost::SignalThreshold() const { return f_.ScrollBar4 ? f_.ScrollBar4->value() : 0; }
QWidget* MainFormModeHost::MainWindow() { return &f_; }

void MainFormModeHost::RunPageStart(int page) {
    modes::RunStartRoutine(*this, modes::StartRoutineForPage(page));
}
