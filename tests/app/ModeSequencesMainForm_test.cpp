#include "app/ModeSequencesMainForm.h"

#include "MainWindowFixture.h"
#include "instrument/ThreadGeneration.h"

#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>

namespace {

class ReadySource : public ISignalSource {
public:
    int SampleSignalLevel() override {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return 25;
    }
    bool HeadReady() override { return true; }
};

}  // namespace

TEST_F(MainWindowTest, ModeHostStartsTheVelocityPageWhenTheMonitorSeesTheHead) {
    start();
    TMainForm* f = form();
    MainFormModeHost host(*f);
    std::vector<uint64_t> threads;
    host.Seams.CreateReadingThread = [&](uint64_t g) { threads.push_back(g); };
    host.Seams.SignalSource = [] { return std::make_shared<ReadySource>(); };

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
