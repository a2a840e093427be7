#include "app/dialogs/Unit_Komunikaty.h"

#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "instrument/OdczytSygnaluPomiarowego.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "support/InstrumentSinkDoubles.h"

namespace {

class RecordingSink : public testsupport::KomunikatySinkDouble {
public:
    std::string sent;
    std::vector<std::string> log;
    uint8_t mode = 0;
    bool running = true, offered = false, levelLost = false, serial = true, motor = false;
    uint64_t generation = 7;
    int page = 3;
    uint8_t cardPort = 'c';
    QString parameter;
    std::vector<std::pair<int, QString>> opened;

    void SendCommandByte(uint8_t b) override {
        sent.push_back(static_cast<char>(b));
        log.push_back(std::string("b:") + static_cast<char>(b));
    }
    uint8_t MeasurementMode() const override { return mode; }
    bool RunInProgress() const override { return running; }
    bool ResolutionOffered() const override { return offered; }
    bool MeasureLevelLost() override { return levelLost; }
    bool SerialLink() const override { return serial; }
    void Sleep(int ms) override { log.push_back("sleep " + std::to_string(ms)); }
    void StartSignalMonitor() override { log.push_back("monitor"); }
    void CreateReadingThread(uint64_t g) override {
        generation = g;
        log.push_back("thread");
    }
    uint64_t CurrentReadingGeneration() const override { return generation; }
    void RestartCounting() override { log.push_back("restart counting"); }
    void AddRecordingErrorRow() override { log.push_back("error row"); }
    bool MotorRunning() const override { return motor; }
    void ClearMotorRunning() override { motor = false; }
    void RestartMeasurementPage(uint8_t m) override { log.push_back("restart page " + std::to_string(m)); }
    void ReturnToMainMenu(uint8_t m) override { log.push_back("menu " + std::to_string(m)); }
    void ShowWaitingForLaser() override { log.push_back("waiting for laser"); }
    void StartLinkWatchdog() override { log.push_back("watchdog"); }
    void EnterServicePanel() override { log.push_back("service panel"); }
    void SetMainWindowEnabled(bool on) override { log.push_back(on ? "main on" : "main off"); }
    uint8_t ReadCardDataPort() override { return cardPort; }
    void SetStatusText(const QString& t) override { log.push_back("status " + t.toStdString()); }
    void ShowErrorMessage(const QString& t) override { log.push_back("message " + t.toStdString()); }
    void AppendServiceLog(const QString& t) override { log.push_back("log " + t.toStdString()); }
    int MainPage() const override { return page; }
    void ShowMainPage(int p) override { log.push_back("page " + std::to_string(p)); }
    QString CommandLineParameter() const override { return parameter; }
    void OpenCommandLineFile(int m, const QString& path) override { opened.emplace_back(m, path); }

    bool has(const std::string& s) const { return std::find(log.begin(), log.end(), s) != log.end(); }
};

class KomunikatyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSharedGlobals();
        HeadWasOff = false;
        SignalMonitorStopped = true;
        ReadingStopped = false;
        form = std::make_unique<TKomunikaty>(&sink);
    }
    void end(int reason) {
        StopReason = reason;
        form->KoniecPrzerwaniaOdczyt(sink.generation);
    }
    RecordingSink sink;
    std::unique_ptr<TKomunikaty> form;
};

}  // namespace

TEST(StopDecisions, ReasonToTextAndAction) {
    struct Case {
        int reason;
        uint8_t mode;
        bool running, offered;
        bool show;
        const char* label1;
        const char* label3;
        bool beamTimer, velocityRestart;
    };
    const Case cases[] = {
        {0, 0, true, false, false, "", "", false, false},
        {2, 0, true, false, true, "stPrzereWiaz", "stPowPomiar", true, false},
        {3, 2, false, false, true, "stWolnaTrans", "stPowPomiar", false, false},
        {3, 0, true, false, true, "stWolnaTrans", "stPowPomiar", false, false},
        {3, 0, false, false, false, "", "", false, false},  // positioning with no run
        {3, 6, true, false, false, "", "", false, false},   // distance readout
        {3, 7, true, false, false, "", "", false, true},    // velocity readout restarts itself
        {4, 1, true, false, true, "stBladStab", "stPowPomiar", false, false},
        {5, 0, true, true, true, "stDuzaPred", "stZmRozdziel", false, false},
        {5, 0, true, false, true, "stDuzaPred", "", false, false},
        {6, 4, true, false, true, "stZaMalyZeman", "stPowPomiar", false, false},
        {7, 0, true, false, true, "stConnectionError", "", false, false},  // the head is gone
        {7, 6, true, false, true, "stConnectionError", "", false, false},
        {10, 0, true, false, false, "", "", false, false},
        {20, 1, true, false, false, "", "", false, false},
        {21, 6, true, false, false, "", "", false, false},
        {23, 2, true, false, false, "", "", false, false},  // like 20 and 21
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "reason " << c.reason << " mode " << int(c.mode));
        const StopDecision d = DecideStop(c.reason, c.mode, c.running, c.offered);
        EXPECT_EQ(d.HandleStop, c.reason != 0);
        EXPECT_EQ(d.ShowWindow, c.show);
        EXPECT_EQ(d.Label1Key, QString(c.label1));
        EXPECT_EQ(d.Label3Key, QString(c.label3));
        EXPECT_EQ(d.StartBeamTimer, c.beamTimer);
        EXPECT_EQ(d.SlowTransmissionSteps, c.reason == 3);
        EXPECT_EQ(d.RestartVelocityReadout, c.velocityRestart);
        EXPECT_EQ(d.EndRun, c.reason == 7);
    }
}

TEST(StopDecisions, ServiceKeySequenceAndCommandLineFiles) {
    const std::pair<const char*, bool> sequences[] = {
        {"40716253", true},
        {"4071625", false},
        {"40716253x", true},   // completes at the eighth key
        {"407162540716253", true},  // a stray '4' restarts at position 1
        {"40796253", false},   // one wrong digit starts over
        {"x40716253", true},
        {"4440716253", true},
    };
    for (auto [keys, opens] : sequences) {
        ServiceKeySequence s;
        bool opened = false;
        for (const char* k = keys; *k; ++k) opened |= s.Feed(QLatin1Char(*k));
        EXPECT_EQ(opened, opens) << keys;
    }
    EXPECT_EQ(MeasurementModeForFile("/data/a.dt2"), 0);
    EXPECT_EQ(MeasurementModeForFile("b.DT5"), 3);
    EXPECT_EQ(MeasurementModeForFile("c.dt7"), 5);
    EXPECT_EQ(MeasurementModeForFile("c.dt8"), -1);
    EXPECT_EQ(MeasurementModeForFile("notes.txt"), -1);
    EXPECT_EQ(MeasurementModeForFile("dt2"), -1);
}

TEST_F(KomunikatyTest, FormHasItsNamedControls) {
    EXPECT_EQ(form->objectName(), "Komunikaty");
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("Błąd ! ! !"));
    for (const char* name : {"Label1", "Label3", "Gauge1", "Button1", "Button2"})
        EXPECT_NE(form->findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(form->findChild<QPushButton*>("Button1")->text(), "&Pomiar");
    EXPECT_EQ(form->findChild<QPushButton*>("Button2")->text(), QString::fromUtf8("&Główne Menu"));
    EXPECT_EQ(form->findChild<QTimer*>("Timer1")->interval(), 300);
    EXPECT_FALSE(form->Timer1->isActive());
    form->CopyGaugeRange(5, 80);
    EXPECT_EQ(form->Gauge1->minimum(), 5);
    EXPECT_EQ(form->Gauge1->maximum(), 80);
}

TEST_F(KomunikatyTest, BeamStopShowsTheWindowAndKeepsTheGaugeAlive) {
    sink.serial = false;
    sink.motor = true;
    end(2);
    EXPECT_TRUE(ReadingStopped.load());
    EXPECT_EQ(sink.sent, "Rx");  // card reset, motor stopped
    EXPECT_TRUE(sink.has("error row"));
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(sink.has("main off"));
    EXPECT_EQ(form->Label1->text(), Msg("stPrzereWiaz"));
    EXPECT_EQ(form->Label3->text(), Msg("stPowPomiar"));
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_TRUE(sink.has("monitor"));
    EXPECT_FALSE(SignalMonitorStopped.load());

    form->hide();
    EXPECT_EQ(StopReason.load(), 0);
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_TRUE(sink.has("main on"));
}

TEST_F(KomunikatyTest, SilentAndStaleEndsShowNothing) {
    for (int reason : {0, 10, 20, 21, 23}) {
        end(reason);
        EXPECT_FALSE(form->isVisible()) << reason;
        EXPECT_FALSE(sink.has("monitor")) << reason;
    }
    EXPECT_TRUE(sink.sent.empty());  // serial link: no 'R'
    ReadingStopped = false;
    sink.log.clear();
    StopReason = 2;
    form->KoniecPrzerwaniaOdczyt(sink.generation - 1);  // an older thread's late end
    EXPECT_FALSE(ReadingStopped.load());
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(sink.log.empty());
}

TEST_F(KomunikatyTest, VelocityReadoutRestartsAfterSlowTransmission) {
    sink.mode = 7;
    end(3);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(sink.log, (std::vector<std::string>{"error row", "b:F", "b:=", "restart counting", "b:S",
                                                  "thread", "monitor", "sleep 100", "b:F"}));
    EXPECT_FALSE(ReadingStopped.load());

    RecordingSink card;
    card.serial = false;
    card.mode = 2;
    TKomunikaty shown(&card);
    StopReason = 3;
    shown.KoniecPrzerwaniaOdczyt(card.generation);
    EXPECT_TRUE(shown.isVisible());
    EXPECT_EQ(shown.Label1->text(), Msg("stWolnaTrans"));
    EXPECT_EQ(card.sent, "RRF");
}

TEST_F(KomunikatyTest, BeamTimerSwitchesToAlignmentAdviceAfterFiveTicks) {
    end(2);
    sink.sent.clear();
    sink.levelLost = true;
    for (int i = 0; i < 4; ++i) form->Timer1Timer();
    EXPECT_EQ(form->Label1->text(), Msg("stPrzereWiaz"));
    form->Timer1Timer();
    EXPECT_EQ(sink.sent, "=====");
    EXPECT_EQ(form->Label1->text(), Msg("stIntZozju"));
    EXPECT_EQ(form->Label3->text(), Msg("stSprawdzUO"));
    sink.levelLost = false;
    form->Timer1Timer();
    EXPECT_EQ(form->Label1->text(), Msg("stPrzereWiaz"));
    EXPECT_EQ(form->Label3->text(), Msg("stPowPomiar"));
    sink.levelLost = true;  // the count starts again from zero
    for (int i = 0; i < 4; ++i) form->Timer1Timer();
    EXPECT_EQ(form->Label1->text(), Msg("stPrzereWiaz"));
}

TEST_F(KomunikatyTest, MeasureAgainRestartsReadingOrWaitsForTheHead) {
    end(4);
    sink.log.clear();
    sink.sent.clear();
    sink.mode = 1;
    form->Button1->click();
    EXPECT_EQ(sink.sent, "F?=AS");
    EXPECT_TRUE(sink.has("restart page 1"));
    EXPECT_TRUE(sink.has("restart counting"));
    EXPECT_TRUE(sink.has("thread"));
    EXPECT_TRUE(sink.has("watchdog"));
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(ReadingStopped.load());

    // The head was switched off meanwhile: wait for it through a new monitor.
    end(2);
    HeadWasOff = true;
    WaitingForLaser = false;
    sink.log.clear();
    form->Button1Click();
    EXPECT_TRUE(sink.has("waiting for laser"));
    EXPECT_TRUE(sink.has("monitor"));
    EXPECT_FALSE(sink.has("thread"));
    EXPECT_TRUE(WaitingForLaser.load());
    EXPECT_FALSE(HeadWasOff.load());
    EXPECT_FALSE(SignalMonitorStopped.load());
}

TEST_F(KomunikatyTest, MainMenuButtonCloseAndEscapeReturnByMode) {
    sink.mode = 5;
    end(6);
    form->Button2->click();
    EXPECT_TRUE(sink.has("menu 5"));
    EXPECT_FALSE(form->isVisible());
    end(6);
    sink.log.clear();
    form->close();
    EXPECT_TRUE(sink.has("menu 5"));
    EXPECT_FALSE(form->isVisible());
    end(6);
    sink.log.clear();
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_TRUE(sink.has("menu 5"));
}

TEST_F(KomunikatyTest, KeySequenceOnTheMeasureButtonOpensTheServicePanel) {
    QTest::keyClicks(form->Button1, "4071625");
    EXPECT_FALSE(sink.has("service panel"));
    QTest::keyClicks(form->Button1, "3");
    EXPECT_TRUE(sink.has("service panel"));
}

TEST_F(KomunikatyTest, SignalFeedShowsHeadOffAndDisconnection) {
    form->CopyGaugeRange(0, 40);
    form->show();
    form->UpdateKomunikatySignal(3, 10);
    EXPECT_TRUE(form->Gauge1->isHidden());
    EXPECT_TRUE(HeadWasOff.load());
    EXPECT_EQ(form->Label1->text(), Msg("stGlowWyl"));
    form->UpdateKomunikatySignal(10, 10);  // at the threshold counts as on
    EXPECT_FALSE(form->Gauge1->isHidden());
    EXPECT_EQ(form->Gauge1->value(), 10);
    EXPECT_EQ(form->Label1->text(), Msg("stOdlGlow"));
    // Coloured by its percentage: 10 of 40 is orange, 30 of 40 lime.
    EXPECT_EQ(form->Gauge1->palette().color(QPalette::Highlight), QColor(0xFF, 0x79, 0));
    form->UpdateKomunikatySignal(30, 10);
    EXPECT_EQ(form->Gauge1->palette().color(QPalette::Highlight), QColor(0, 0xFF, 0));
}

TEST_F(KomunikatyTest, FirmwareLoaderEnd) {
    sink.serial = false;
    sink.cardPort = 'x';
    LoadProgramMessage = "loaded";
    InterfaceError = true;
    form->KoniecPrzerwaniaLadowanieP();
    EXPECT_TRUE(InterfaceError.load());
    EXPECT_TRUE(sink.has("message Błąd nr 002. Zła konfiguracja karty pomiarowej!"));
    EXPECT_TRUE(sink.has("page 1"));

    RecordingSink ok;
    ok.serial = false;
    ok.page = 6;  // the service page stays
    ok.parameter = "/tmp/run.dt4";
    TKomunikaty f(&ok);
    f.KoniecPrzerwaniaLadowanieP();
    EXPECT_FALSE(InterfaceError.load());
    EXPECT_TRUE(ok.has("log Program załadowany"));
    EXPECT_FALSE(ok.has("page 1"));
    ASSERT_EQ(ok.opened.size(), 1u);
    EXPECT_EQ(ok.opened[0].first, 2);

    ok.opened.clear();
    f.OpenFileFromCommandLine("/tmp/run.txt");
    EXPECT_TRUE(ok.opened.empty());
}
