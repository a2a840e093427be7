#include "app/dialogs/Unit_Komunikaty.h"

#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "instrument/LinkPort.h"
#include "instrument/OdczytSygnaluPomiarowego.h"
#include "instrument/RawConversion.h"
#include "instrument/ThreadGeneration.h"

#include <QCloseEvent>
#include <QColor>
#include <QPalette>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <chrono>
#include <thread>

TKomunikaty* Komunikaty = nullptr;

uint64_t IKomunikatySink::CurrentReadingGeneration() const { return ReadingThreadGeneration.load(); }
void IKomunikatySink::SendCommandByte(uint8_t b) { ::SendCommandByte(b); }
bool IKomunikatySink::MeasureLevelLost() { return ::MeasureLevelLost(); }
void IKomunikatySink::SetHeadFlags(uint8_t flags) { instrument::LinkState().HeadFlags = flags; }
uint8_t IKomunikatySink::ReadCardDataPort() { return ::ReadCardData(); }
bool IKomunikatySink::RunInProgress() const { return MeasurementRunning.load(); }
bool IKomunikatySink::SerialLink() const { return instrument::SerialLinkChosen(); }
void IKomunikatySink::Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

namespace {

// Stands in until the main window hands over its sink.
class NullKomunikatySink final : public IKomunikatySink {
public:
    void SendCommandByte(uint8_t) override {}
    uint8_t MeasurementMode() const override { return 10; }
    bool ResolutionOffered() const override { return false; }
    bool MeasureLevelLost() override { return false; }
    uint8_t ReadCardDataPort() override { return 'c'; }
    void SetHeadFlags(uint8_t) override {}
    void Sleep(int) override {}
    void StartSignalMonitor() override {}
    void CreateReadingThread(uint64_t) override {}
    void RestartCounting() override {}
    void RestartMeasurementPage(uint8_t) override {}
    void ReturnToMainMenu(uint8_t) override {}
    void StartLinkWatchdog() override {}
    bool ReopenFailedLink() override { return true; }
    void AddRecordingErrorRow() override {}
    bool MotorRunning() const override { return false; }
    void ClearMotorRunning() override {}
    void ShowWaitingForLaser() override {}
    void EnterServicePanel() override {}
    void SetMainWindowEnabled(bool) override {}
    void ShowTypeGaugeLevel(int) override {}
    void SetStatusText(const QString&) override {}
    void ShowErrorMessage(const QString&) override {}
    void AppendServiceLog(const QString&) override {}
    int MainPage() const override { return 0; }
    void ShowMainPage(int) override {}
    QString CommandLineParameter() const override { return {}; }
    void OpenCommandLineFile(int, const QString&) override {}
};

IKomunikatySink* nullSink() {
    static NullKomunikatySink sink;
    return &sink;
}

}  // namespace

void TKomunikaty::SetSink(IKomunikatySink* sink) { sink_ = sink ? sink : nullSink(); }

TKomunikaty::TKomunikaty(IKomunikatySink* sink, QWidget* parent)
    : TSSForm(parent), sink_(sink ? sink : nullSink()) {
    setObjectName("Komunikaty");
    setWindowTitle(QString::fromUtf8("Błąd ! ! !"));
    setProperty("HelpContext", 126);

    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->setStyleSheet("color: red; font-weight: bold;");
    Label1->setAlignment(Qt::AlignCenter);
    Label3 = new QLabel(this);
    Label3->setObjectName("Label3");
    Label3->setAlignment(Qt::AlignCenter);
    Gauge1 = new QProgressBar(this);
    Gauge1->setObjectName("Gauge1");
    Gauge1->setTextVisible(false);
    Button1 = new QPushButton(QString::fromUtf8("&Pomiar"), this);
    Button1->setObjectName("Button1");
    Button1->installEventFilter(this);
    Button2 = new QPushButton(QString::fromUtf8("&Główne Menu"), this);
    Button2->setObjectName("Button2");
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(300);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label3);
    layout->addWidget(Gauge1);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, &TKomunikaty::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TKomunikaty::Button2Click);
    connect(Timer1, &QTimer::timeout, this, &TKomunikaty::Timer1Timer);
    FinishCreate();
}

void TKomunikaty::CopyGaugeRange(int minimum, int maximum) { Gauge1->setRange(minimum, maximum); }

void TKomunikaty::setTexts(const QString& label1Key, const QString& label3Key) {
    Label1->setText(label1Key.isEmpty() ? QString() : Msg(label1Key));
    Label3->setText(label3Key.isEmpty() ? QString() : Msg(label3Key));
}

void TKomunikaty::restartMonitorIfStopped() {
    if (SignalMonitorStopped.load()) {
        SignalMonitorStopped = false;
        sink_->StartSignalMonitor();
    }
}

void TKomunikaty::KoniecPrzerwaniaOdczyt(uint64_t generation) {
    if (generation != sink_->CurrentReadingGeneration()) return;
    const bool serial = sink_->SerialLink();
    ReadingStopped = true;
    if (!serial) sink_->SendCommandByte('R');
    const uint8_t mode = sink_->MeasurementMode();
    const StopDecision d =
        DecideStop(StopReason.load(), mode, sink_->RunInProgress(), sink_->ResolutionOffered());
    if (!d.HandleStop) return;
    sink_->AddRecordingErrorRow();
    if (sink_->MotorRunning()) {
        sink_->SendCommandByte('x');
        sink_->ClearMotorRunning();
    }
    // The run's own end steps, as "&Pomiar" takes them; the accepted points stay.
    if (d.EndRun) sink_->RestartMeasurementPage(mode);
    if (d.ShowWindow) {
        setTexts(d.Label1Key, d.Label3Key);
        if (d.StartBeamTimer) {
            lostTicks_ = 0;
            Timer1->start();
        }
        show();
        restartMonitorIfStopped();
    }
    if (d.SlowTransmissionSteps) {
        if (d.RestartVelocityReadout) {
            {
                const instrument::CommandSequence sequence;
                sink_->SendCommandByte('F');
                sink_->SendCommandByte('=');
            }
            SignalMonitorStopped = true;
            RestartAfterStop();
        }
        restartMonitorIfStopped();
        if (!serial) sink_->SendCommandByte('R');
        sink_->Sleep(100);
        sink_->SendCommandByte('F');
    }
}

void TKomunikaty::Timer1Timer() {
    if (sink_->MeasureLevelLost()) {
        sink_->SendCommandByte('=');
        if (lostTicks_ < 255) ++lostTicks_;
        if (lostTicks_ >= 5) setTexts("stIntZozju", "stSprawdzUO");
    } else {
        lostTicks_ = 0;
        setTexts("stPrzereWiaz", "stPowPomiar");
    }
}

void TKomunikaty::Button1Click() {
    // Without a line there is nothing to measure with: the window stays and says why it stopped.
    if (!sink_->ReopenFailedLink()) return;
    {
        const instrument::CommandSequence sequence;
        for (uint8_t b : {'F', '?', '=', 'A'}) sink_->SendCommandByte(b);
    }
    sink_->SetHeadFlags(0);
    SignalMonitorStopped = true;
    sink_->RestartMeasurementPage(sink_->MeasurementMode());
    RestartAfterStop();
    if (sink_->SerialLink()) sink_->StartLinkWatchdog();
}

void TKomunikaty::RestartAfterStop() {
    if (HeadWasOff.load()) {
        WaitingForLaser = true;
        sink_->ShowWaitingForLaser();
        restartMonitorIfStopped();
        HeadWasOff = false;
    } else {
        sink_->RestartCounting();
        sink_->SendCommandByte('S');
        if (ReadingStopped.load()) {
            ReadingStopped = false;
            sink_->CreateReadingThread(++ReadingThreadGeneration);
        }
    }
    hide();
}

void TKomunikaty::Button2Click() {
    sink_->ReturnToMainMenu(sink_->MeasurementMode());
    hide();
}

void TKomunikaty::Button1KeyPress(QChar key) {
    if (keys_.Feed(key)) sink_->EnterServicePanel();
}

void TKomunikaty::UpdateKomunikatySignal(int level, int threshold) {
    if (level >= threshold) {
        Gauge1->show();
        if (HeadWasOff.load()) Label1->setText(Msg("stOdlGlow"));
        Gauge1->setValue(std::clamp(level, Gauge1->minimum(), Gauge1->maximum()));
        // Coloured like the window's signal gauges, by its percentage.
        const int span = Gauge1->maximum() - Gauge1->minimum();
        const int percent = span > 0 ? (Gauge1->value() - Gauge1->minimum()) * 100 / span : 0;
        const uint32_t c = instrument::SignalGaugeColour(percent);  // 0x00BBGGRR
        QPalette p = Gauge1->palette();
        p.setColor(QPalette::Highlight, QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)));
        Gauge1->setPalette(p);
        sink_->ShowTypeGaugeLevel(level);
    } else {
        Gauge1->hide();
        HeadWasOff = true;
        Label1->setText(Msg("stGlowWyl"));
    }
}

void TKomunikaty::SetMeasureEnabled(bool on) { Button1->setEnabled(on); }

void TKomunikaty::KoniecPrzerwaniaLadowanieP(bool loadFailed) {
    if (!sink_->SerialLink() && sink_->ReadCardDataPort() != 'c' && !LoadProgramMessage.isEmpty()) {
        sink_->SetStatusText(
            QString::fromUtf8("Błąd nr 002. Wysłano program, ale karta nie wystawiła gotowości!"));
        sink_->ShowErrorMessage(QString::fromUtf8("Błąd nr 002. Zła konfiguracja karty pomiarowej!"));
    } else if (!loadFailed) {
        InterfaceError = false;
        sink_->AppendServiceLog(QString::fromUtf8("Program załadowany"));
        sink_->SetStatusText(QString());
    }
    if (sink_->MainPage() != 6) sink_->ShowMainPage(1);
    const QString param = sink_->CommandLineParameter();
    if (!param.isEmpty()) OpenFileFromCommandLine(param);
}

void TKomunikaty::OpenFileFromCommandLine(const QString& path) {
    const int mode = MeasurementModeForFile(path);
    if (mode >= 0) sink_->OpenCommandLineFile(mode, path);
}

void TKomunikaty::showEvent(QShowEvent* e) {
    TSSForm::showEvent(e);
    if (!e->spontaneous()) sink_->SetMainWindowEnabled(false);
}

void TKomunikaty::hideEvent(QHideEvent* e) {
    TSSForm::hideEvent(e);
    if (e->spontaneous()) return;  // minimised, not closed
    StopReason = instrument::kStopNone;
    Timer1->stop();
    sink_->SetMainWindowEnabled(true);
}

void TKomunikaty::closeEvent(QCloseEvent* e) {
    e->ignore();
    Button2Click();
}

void TKomunikaty::reject() { Button2Click(); }

bool TKomunikaty::eventFilter(QObject* watched, QEvent* e) {
    if (watched == Button1 && e->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(e)->text();
        if (!text.isEmpty()) Button1KeyPress(text.at(0));
    }
    return TSSForm::eventFilter(watched, e);
}
