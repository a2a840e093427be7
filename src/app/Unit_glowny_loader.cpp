// The main window's side of the firmware loader and of the BIOS text reader: what they show in
// the service page and the start page, and the serial reconnects they ask for.
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <algorithm>

#include "app/LinkState.h"
#include "app/StartPage.h"
#include "app/Unit_glowny.h"
#include "app/Unit_glowny_link.h"
#include "app/dialogs/Unit_Komunikaty.h"
#include "app/ModeSequences.h"
#include "app/ModeSequencesMainForm.h"
#include "app/ServicePage.h"
#include "foundations/MessageDlg.h"
#include "instrument/ComDrv32.h"

void TMainForm::StartProgramLoad() {
    Threads().StartLoader(instrument::LoaderSpeeds{BaudRateIndex, AltBaudRateIndex});
}

app::LinkStateInput TMainForm::CurrentLinkState() const {
    app::LinkStateInput in;
    in.cardLink = instrument::ChosenLink() == instrument::LinkKind::Card;
    in.startupRunning = startupRunning_ && shownOnce_;
    in.portOpen = SerialLinkOpen();
    in.interfaceError = InterfaceError;
    in.cardPortsError = CardPortsError;
    if (CommPortDriver1) {
        in.comNumber = int(CommPortDriver1->ComPort()) + 1;
        in.baud = ComPortBaudTable[std::min<size_t>(CommPortDriver1->ComPortSpeed(), ComPortBaudTable.size() - 1)];
    }
    return in;
}

void TMainForm::StartBiosTextRead() { Threads().StartBiosText(); }

void TMainForm::AddMessageLine(const QString& line) {
    if (PSListBox2) PSListBox2->addItem(line);
}

void TMainForm::ShowErrorBox(const QString& text) { ShowStartupMessage(text, TMsgDlgType::mtError); }

void TMainForm::SetStatusText(const QString& text) { SetLinkStatusText(text); }

void TMainForm::SetProgress(int percent) {
    percent = std::clamp(percent, 0, 100);
    // The service panel's bar always; the start picture's while it shows.
    Service().SetProgress(percent);
    if (NotebookMainForm && NotebookMainForm->currentIndex() == 0) StartView->SetProgress(percent);
}

void TMainForm::ShowCommandError() {
    Service().ShowCommandError();
}

bool TMainForm::ServicePageShown() { return NotebookMainForm && NotebookMainForm->currentIndex() == 6; }

bool TMainForm::SerialPortOpen() { return RSButton_Polacz && !RSButton_Polacz->isEnabled(); }

void TMainForm::Reconnect(uint8_t speedIndex) {
    // The loader has set the port's speed already; the window's connect path opens the port
    // and shows the link state.
    if (CommPortDriver1)
        CommPortDriver1->SetComPortSpeed(TComPortBaudRate(std::min<int>(speedIndex, br115200)));
    ShowLinkSpeed(speedIndex);
    RSButton_PolaczClick();
}

void TMainForm::RememberBaudRates(uint8_t mainIndex, uint8_t altIndex) {
    BaudRateIndex = mainIndex;
    AltBaudRateIndex = altIndex;
}

void TMainForm::ReportLoadEnd(bool failed) {
    if (Komunikaty) Komunikaty->KoniecPrzerwaniaLadowanieP(failed);
}

void TMainForm::LoaderEnded(const instrument::LoadResult& result) {
    // The link status window reports the end and leaves the start picture for the main menu.
    LoadProgramSink::LoaderEnded(result);
    if (NotebookMainForm && NotebookMainForm->currentIndex() == 1) modes::UpdateCaption(ModeHost());
    ShowQueuedStartupMessages();
}

void TMainForm::ClearList(instrument::LinkList list) {
    if (QListWidget* l = mainform_link::listOf(*this, list)) l->clear();
}

void TMainForm::AddListLine(instrument::LinkList list, const QString& line) {
    if (QListWidget* l = mainform_link::listOf(*this, list)) l->addItem(line);
}
