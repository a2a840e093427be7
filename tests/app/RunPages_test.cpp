// The run handlers of the positioning page on the real main window: start button, end-of-run
// page, review page and the way back to the main menu.
#include <QDir>
#include <QPushButton>
#include <QStackedWidget>

#include "MainWindowFixture.h"
#include "app/PositioningRun.h"
#include "app/StraightnessRun.h"
#include "evaluation/MeasurementFiles.h"
#include "foundations/ProgramMessages.h"
#include "instrument/PointAcceptance.h"

namespace {

class RunPagesTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        setMessageDlgHook([this](const MessageDlgRequest& r) {
            messages.push_back(r);
            if (r.type == TMsgDlgType::mtConfirmation) return int(mrYes);
            // The save question: the test's runs are thrown away on purpose.
            if (r.buttons & mbNo) return int(mrNo);
            return int(mrOk);
        });
    }
    // The points of the current cycle, as the point store would have stored them.
    void fillCycle(int n) {
        TMainForm& f = *form();
        TPunkt& p = (*f.PositioningCycles)[f.Acceptance().state.currentCycle - 1].Punkt;
        for (int i = 0; i < n; ++i) {
            auto& it = p.Add();
            it.Dystans = 100.0 * i;
            it.Xa = 1.5 * i;
            it.Xr = -0.5 * i;
        }
    }
};

TEST_F(RunPagesTest, LinearRunThroughTheEndAndReviewPages) {
    start();
    TMainForm& f = *form();
    const QString data = dir.filePath("poz");
    ASSERT_TRUE(QDir().mkpath(data));
    f.PositioningDir = data;
    f.MeasurementMode = 0;
    f.PositioningMethod = 0;
    f.NotebookMainForm->setCurrentIndex(3);

    Control<QPushButton>(&f, "ButtonPozStart")->click();
    EXPECT_TRUE(MeasurementRunning);
    EXPECT_EQ(Control<QPushButton>(&f, "ButtonPozStart")->text(), QStringLiteral("&Stop"));
    ASSERT_EQ(f.PositioningCycles->Count(), 1);

    // The first pass ends: backup written, end page with Next.
    fillCycle(3);
    f.SaveBackupCopy();
    EXPECT_FALSE(MeasurementRunning);
    EXPECT_EQ(Control<QStackedWidget>(&f, "NotebookButton")->currentIndex(), 3);
    EXPECT_TRUE(Control<QPushButton>(&f, "ZakonczeniePozNastepny")->isEnabled());
    TCykl back;
    LoadPositioningFile(back, QDir(data).filePath("KopiaZapasowa.dt2"), nullptr);
    ASSERT_EQ(back.Count(), 1);
    EXPECT_DOUBLE_EQ(back[0].Punkt[2].Xa, 3.0);

    // Next cycle, stopped inside it: the stop is confirmed, Next goes off.
    Control<QPushButton>(&f, "ZakonczeniePozNastepny")->click();
    EXPECT_EQ(Control<QStackedWidget>(&f, "NotebookButton")->currentIndex(), 0);
    EXPECT_EQ(f.PositioningCycles->Count(), 2);
    fillCycle(1);
    Control<QPushButton>(&f, "ButtonPozStart")->click();
    EXPECT_FALSE(MeasurementRunning);
    EXPECT_EQ(Control<QStackedWidget>(&f, "NotebookButton")->currentIndex(), 3);
    EXPECT_FALSE(Control<QPushButton>(&f, "ZakonczeniePozNastepny")->isEnabled());

    // Review drops the unfinished cycle, once.
    Control<QPushButton>(&f, "ZakonczeniePozPrzegladaj")->click();
    Control<QPushButton>(&f, "ZakonczeniePozPrzegladaj")->click();
    EXPECT_EQ(f.PositioningCycles->Count(), 1);
    EXPECT_EQ(Control<QStackedWidget>(&f, "NotebookButton")->currentIndex(), 1);

    // Deleting the last cycle disables the delete button.
    Control<QPushButton>(&f, "ButtonPozUsun")->click();
    EXPECT_EQ(f.PositioningCycles->Count(), 0);
    EXPECT_FALSE(Control<QPushButton>(&f, "ButtonPozUsun")->isEnabled());

    // "Pomiar" prepares a new run; the back button leaves the mode.
    Control<QPushButton>(&f, "ButtonPozPoprzednie")->click();
    EXPECT_EQ(Control<QStackedWidget>(&f, "NotebookButton")->currentIndex(), 0);
    EXPECT_EQ(Control<QPushButton>(&f, "ButtonPozStart")->text(), QStringLiteral("&Start"));
    Control<QPushButton>(&f, "ButtonPozMainMenu")->click();
    EXPECT_EQ(f.MeasurementMode, 10);
    EXPECT_EQ(f.NotebookMainForm->currentIndex(), 1);
}

TEST_F(RunPagesTest, LeavingDuringARunIsRefused) {
    start();
    TMainForm& f = *form();
    f.MeasurementMode = 2;
    f.NotebookMainForm->setCurrentIndex(3);
    Control<QPushButton>(&f, "ButtonPozStart")->click();
    ASSERT_TRUE(MeasurementRunning);
    messages.clear();
    Control<QPushButton>(&f, "ButtonPozMainMenu")->click();
    EXPECT_EQ(f.MeasurementMode, 2);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, Msg("stZakoncz"));
    Control<QPushButton>(&f, "ButtonPozStart")->click();  // a straightness run ends without a question
    EXPECT_FALSE(MeasurementRunning);
    EXPECT_EQ(Control<QPushButton>(&f, "ButtonPozStart")->text(), QStringLiteral("&Start"));
}

}  // namespace
