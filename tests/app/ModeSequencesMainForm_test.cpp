#include "app/ModeSequencesMainForm.h"

#include "MainWindowFixture.h"
#include "instrument/ThreadGeneration.h"

#include <QLabel>
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
    std::shared_ptr<ISignalSource> SignalSource() override { return std::make_shared<ReadySource>(); }
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
