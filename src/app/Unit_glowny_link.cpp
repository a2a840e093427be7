// The main window's link to the head: the serial port component, the frame parser fed from
// it, the raw-count queue, the card's ports, and what the link layer shows on the window.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <string>

#include "app/Unit_glowny.h"
#include "app/Unit_glowny_link.h"
#include "app/MainMenuPage.h"
#include "foundations/MessageDlg.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RadioGroup.h"
#include "foundations/SharedGlobals.h"
#include "instrument/ComDrv32.h"
#include "instrument/LinkPort.h"
#include "instrument/LinkWatchdog.h"
#include "app/dialogs/Unit_Komunikaty.h"
#include "instrument/MemoryFifo.h"
#include "instrument/SerialFrameParser.h"
#include "platform/CardPorts.h"


void TMainForm::BuildLink() {
    CommPortDriver1 = new TCommPortDriver(this);
    CommPortDriver1->setObjectName("CommPortDriver1");
    CommPortDriver1->SetOnReceiveData(
        [this](TCommPortDriver*, const uint8_t* data, int32_t size) { CommPortDriver1ReceiveData(data, size); });
    CommPortDriver1->SetOnLineFailure([this](TCommPortDriver*) { LinkLost(); });
    PSTimer2 = new QTimer(this);
    PSTimer2->setObjectName(QStringLiteral("PSTimer2"));
    PSTimer2->setInterval(instrument::LinkWatchdog::kPeriodMs);
    connect(PSTimer2, &QTimer::timeout, this, &TMainForm::PSTimer2Timer);
    linkSink_ = std::make_unique<MainLinkSink>(*this);
    frameSink_ = std::make_unique<MainFrameSink>(*this);
    // No link until the settings choose one: the card's ports are not to be tried for a serial
    // link.
    ConfigureLink(instrument::LinkKind::None, nullptr);
}

void TMainForm::CreateLinkObjects() {
    Fifo = std::make_unique<TMemoryFifo>();
    FrameParser = std::make_unique<instrument::SerialFrameParser>(Fifo.get(), frameSink_.get());
}

void TMainForm::FreeLinkObjects() {
    FrameParser.reset();
    Fifo.reset();
}

void TMainForm::CommPortDriver1ReceiveData(const uint8_t* data, int32_t size) {
    if (FrameParser) FrameParser->feed(data, size);
}

void TMainForm::SetLinkWatchdogEnabled(bool on) {
    if (!PSTimer2) return;
    if (on) {
        instrument::LinkWatchdog::Restart();
        PSTimer2->start();
    } else {
        PSTimer2->stop();
    }
}

void TMainForm::PSTimer2Timer() {
    if (!instrument::LinkWatchdog::Tick()) return;
    LinkLost();
}

void TMainForm::LinkLost() {
    if (PSTimer2) PSTimer2->stop();
    // A hung-up port has closed itself: the service page offers to connect again.
    if (CommPortDriver1->LineFailed() && !CommPortDriver1->Connected()) RSButton_RozlaczClick();
    if (instrument::EndReadingForLostLink()) return;  // the reading's end shows the window
    if (linkLostBox_) return;
    // Not modal: a dead port must not hold up the window or a worker's hand-off.
    linkLostBox_ = new QMessageBox(QMessageBox::Critical, windowTitle(), Msg("stConnectionError"),
                                   QMessageBox::Ok, this);
    linkLostBox_->setObjectName(QStringLiteral("LinkLostMessage"));
    linkLostBox_->setAttribute(Qt::WA_DeleteOnClose);
    linkLostBox_->open();
}

void TMainForm::ConfigureLink() {
    // The card's ports are opened only when the card is the chosen link; without them sending
    // takes the interface-error path at once.
    const auto kind = InterfaceMode <= 1 ? instrument::LinkKind(InterfaceMode.load()) : instrument::LinkKind::None;
    if (kind == instrument::LinkKind::Card && !CardPortsIo) {
        std::string cause;
        CardPortsIo = platform::openHardwareCardPorts(&cause);
        if (!CardPortsIo) ReportCardPortsMissing(QString::fromStdString(cause));
    }
    ConfigureLink(kind, CardPortsIo.get());
}

void TMainForm::ReportCardPortsMissing(const QString& cause) {
    // The state lines name the cause and the remedy each time; the message comes once a run.
    CardPortsError = cause.isEmpty() ? QStringLiteral("?") : cause;
    const QString text = app::CardPortsMissingText(CardPortsError);
    SetLinkStatusText(text);
    if (MenuView) MenuView->ShowLinkState();
    if (CardPortsMessageShown) return;
    CardPortsMessageShown = true;
    ShowStartupMessage(text, TMsgDlgType::mtError);
}

void TMainForm::ConfigureLink(instrument::LinkKind kind, platform::CardPorts* card) {
    if (card) CardPortsError.clear();
    instrument::LinkSetup setup;
    setup.comm = CommPortDriver1;
    setup.card = card;
    setup.sink = linkSink_.get();
    setup.kind = kind;
    instrument::SetLink(setup);
}

void TMainForm::ReleaseLink() { instrument::ResetLink(); }

void TMainForm::SetLinkStatusText(const QString& text) {
    if (QLabel* l = PSStatusBar1 ? PSStatusBar1->Panel(0) : nullptr) l->setText(text);
}

void TMainForm::SendHeadCommand(uint8_t byte) { SendCommandByte(byte); }

void TMainForm::ApplyComPortSetting() {
    const int i = ComPortUstawienia->ItemIndex();
    if (i < 0 || i > int(pnCOM10)) return;
    const bool wasOpen = CommPortDriver1->Connected();
    if (wasOpen) CommPortDriver1->Disconnect();
    CommPortDriver1->SetComPort(TComPortNumber(i));
    if (wasOpen) CommPortDriver1->Connect();
}

void TMainForm::OpenSerialLink() {
    CommPortDriver1->SetComPortSpeed(TComPortBaudRate(std::min<int>(BaudRateIndex, br115200)));
    ShowLinkSpeed(BaudRateIndex);
    RSButton_PolaczClick();
}

void TMainForm::RSButton_PolaczClick() {
    ApplyComPortSetting();
    if (CommPortDriver1->Connected() || CommPortDriver1->Connect()) {
        RSButton_Polacz->setEnabled(false);
        RSButton_Rozlacz->setEnabled(true);
        SetLinkStatusText(QStringLiteral("Połączony"));
        CommPortDriver1->ToggleRTS(true);
    } else {
        QApplication::beep();
        SetLinkStatusText(QStringLiteral("Błąd nr 004. Niemożliwe połączenie. Sprawdź ustawienia portu!"));
        ShowStartupMessage(Msg("stNieMoznaOtworzyc"), TMsgDlgType::mtError);
    }
}

bool TMainForm::ReopenFailedLink() {
    if (!instrument::SerialLinkChosen() || !CommPortDriver1->LineFailed() || CommPortDriver1->Connected())
        return true;
    RSButton_PolaczClick();
    return CommPortDriver1->Connected();
}

void TMainForm::RSButton_RozlaczClick() {
    SetLinkStatusText(QStringLiteral("Rozłączony"));
    CommPortDriver1->Disconnect();
    RSButton_Rozlacz->setEnabled(false);
    RSButton_Polacz->setEnabled(true);
}

void TMainForm::CloseSerialLink() {
    if (CommPortDriver1 && CommPortDriver1->Connected()) RSButton_RozlaczClick();
}

bool TMainForm::SerialLinkOpen() const { return RSButton_Rozlacz && RSButton_Rozlacz->isEnabled(); }
