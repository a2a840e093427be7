#include "app/ModeSequencesMainForm.h"

#include "MainWindowFixture.h"
#include "instrument/ThreadGeneration.h"

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include "support/InstrumentSinkDoubles.h"

namespace {

class ReadySource : public testsupport::SignalSourceDouble {
public:
    int SampleSignalLevel() override {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return 25;
    }
    bool HeadReady() override { return true; }
};

// The window's calls with the reading thread recorded and a head that is always ready.
class ReadyHeadCalls : public ModeHostCalls {
public:
    void CreateReadingThread(uint64_t g) override { threads.push_back(g); }
    void RestartMeteoReading() override {}
    void SetLinkWatchdogEnabled(bool) override {}
    void ShowSetupPicture() override {}
    void StartSignalMonitor(ISignalMonitorSink& sink) override {
        OdczytSygPomiarowego::Start(std::make_shared<ReadySource>(), &sink);
    }
    std::vector<uint64_t> threads;
};

}  // namespace

TEST_F(MainWindowTest, ModeHostStartsTheVelocityPageWhenTheMonitorSeesTheHead) {
    start();
    TMainForm* f = form();
    ReadyHeadCalls calls;
    MainFormModeHost host(*f, calls);
    const std::vector<uint64_t>& threads = calls.threads;

    f->MeasurementMode = 1;
    f->NotebookMainForm->setCurrentIndex(4);
    ReadingStopped = true;
    WaitingForLaser = true;
    host.StartSignalMonitor();
    ASSERT_TRUE(OdczytSygPomiarowego::WaitForEnd(5000));
    ASSERT_EQ(threads.size(), 1u);
    EXPECT_EQ(threads[0], ReadingThreadGeneration.load());
    EXPECT_FALSE(WaitingForLaser.load());
    EXPECT_FALSE(ReadingStopped.load());
    if (auto* b = f->findChild<QPushButton*>("ButtonStartV")) EXPECT_TRUE(b->isEnabled());
    if (auto* l = f->findChild<QLabel*>("LabPoczPredkosc")) EXPECT_TRUE(l->isHidden());
}

TEST_F(MainWindowTest, LinkStatusWindowOverTheMainWindowReturnsFromTheReadout) {
    start();
    TMainForm* f = form();
    ReadyHeadCalls calls;
    MainFormModeHost host(*f, calls);
    MainFormKomunikatySink sink(*f, host, f->LinkCalls());
    Komunikaty->SetSink(&sink);

    f->MeasurementMode = 6;
    f->NotebookMainForm->setCurrentIndex(2);
    SignalMonitorStopped = false;  // a monitor is not needed for this stop
    StopReason = 4;
    Komunikaty->KoniecPrzerwaniaOdczyt(ReadingThreadGeneration.load());
    EXPECT_TRUE(Komunikaty->isVisible());
    ASSERT_NE(f->centralWidget(), nullptr);
    EXPECT_FALSE(f->centralWidget()->isEnabled());
    EXPECT_TRUE(Komunikaty->isEnabled());

    Komunikaty->Button2Click();
    EXPECT_FALSE(Komunikaty->isVisible());
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 1);
    EXPECT_EQ(StopReason.load(), 0);  // reset when the window hides
    EXPECT_TRUE(f->centralWidget()->isEnabled());
    EXPECT_EQ(f->windowTitle(), modes::MainMenuCaption());
    Komunikaty->SetSink(nullptr);
}

TEST_F(MainWindowTest, WarmUpGaugeIsColouredByItsLevelAndTheServiceListKeepsTheLast23Levels) {
    start();
    TMainForm* f = form();
    ReadyHeadCalls calls;
    MainFormModeHost host(*f, calls);
    WaitingForLaser = true;
    auto* gauge = f->findChild<QProgressBar*>("Gauge3");
    ASSERT_NE(gauge, nullptr);
    gauge->setRange(0, 1000);  // every level below lies above the head-off threshold (at most 40)
    f->NotebookMainForm->setCurrentIndex(2);
    struct Row {
        int level;
        QColor colour;
    } rows[] = {{50, QColor(0xFF, 0, 0)}, {200, QColor(0xFF, 0x79, 0)}, {600, QColor(0, 0xFF, 0)}};
    for (const Row& r : rows) {
        OdczytSygPomiarowego::ProcessSignal(host, r.level, false);
        EXPECT_EQ(gauge->value(), r.level);
        EXPECT_EQ(gauge->palette().color(QPalette::Highlight), r.colour) << r.level;
    }

    f->NotebookMainForm->setCurrentIndex(6);
    f->PSListBox3->clear();
    for (int i = 0; i < 25; ++i) OdczytSygPomiarowego::ProcessSignal(host, i, false);
    ASSERT_EQ(f->PSListBox3->count(), 23);
    EXPECT_EQ(f->PSListBox3->item(0)->text(), "*2");
    EXPECT_EQ(f->PSListBox3->item(22)->text(), "*24");
    f->PSListBox3->clear();
    WaitingForLaser = false;
}
