// Calls between the parts of the main window that used to end on an empty default: each test
// takes a path a user takes and checks that what the call should do is done.
#include <QAction>
#include <QFrame>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QToolButton>

#include "MainWindowFixture.h"
#include "app/ModeSequences.h"
#include "app/ModeSequencesMainForm.h"
#include "app/PunktyPoz.h"
#include "foundations/ProgramMessages.h"
#include "foundations/Display.h"
#include "foundations/MeasurementModes.h"
#include "foundations/SharedGlobals.h"
#include "instrument/OdczytSygnaluPomiarowego.h"
#include "instrument/PointAcceptance.h"
#include "instrument/ThreadGeneration.h"
#include "app/dialogs/Unit_Komunikaty.h"

namespace {

class WindowWiringTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        setMessageDlgHook([this](const MessageDlgRequest& r) {
            messages.push_back(r);
            if (r.type == TMsgDlgType::mtConfirmation) return int(mrYes);
            if (r.buttons & mbNo) return int(mrNo);
            return int(mrOk);
        });
    }
    // A linear positioning run started on its page, accepting after three steady readings.
    void startLinearRun(bool fromList) {
        TMainForm& f = *form();
        f.PositioningDir = dir.path();
        f.MeasurementMode = 0;
        f.PositioningMethod = 0;
        f.NotebookMainForm->setCurrentIndex(3);
        f.PointsFromList = fromList;
        f.MenuCommand("PunktyZListy")->setChecked(fromList);
        f.PointNumber = 3;
        f.ErrorWindow = 20;
        f.Vibration = 2;
        f.PointDistance = 1000;
        StartPoint = 0.0;
        LengthUnit = 0;
        Control<QPushButton>(&f, "ButtonPozStart")->click();
        ASSERT_TRUE(MeasurementRunning.load());
    }
    // The axis stands at mm long enough for an automatic acceptance.
    void standAt(double mm) {
        for (int i = 0; i < 4; ++i) form()->Acceptance().AcceptLinear(mm);
    }
};

TEST_F(WindowWiringTest, TeachingCycleTurnBackDropsThePointPastTheTurn) {
    start();
    TMainForm& f = *form();
    startLinearRun(false);
    const instrument::AcceptanceState& st = f.Acceptance().state;
    for (double mm : {0.0, 50.0, 101.0, 110.0}) standAt(mm);
    ASSERT_EQ(f.TargetPoints->Count(), 4);
    ASSERT_TRUE(st.forwardPass);
    standAt(100.8);  // back below the last point: the turn
    EXPECT_FALSE(st.forwardPass);
    EXPECT_EQ(st.pointIndex, 1);

    const TPunkt& cycle = (*f.PositioningCycles)[0].Punkt;
    std::vector<double> taught;
    for (int i = 0; i < cycle.Count(); ++i) taught.push_back(cycle[i].Dystans);
    EXPECT_EQ(taught, (std::vector<double>{0.0, 50.0, 101.0}));
    EXPECT_EQ(f.TargetPoints->Count(), 3);
    EXPECT_NEAR(cycle[2].Xr, -200.0, 1e-6);  // the turn's reading is point 2's way back
    EXPECT_EQ(Control<QTableWidget>(&f, "GridOdchylka")->rowCount(), 4);
}

TEST_F(WindowWiringTest, TargetDisplayAndSignButtonFollowTheRun) {
    start();
    TMainForm& f = *form();
    f.TargetPoints->Clear();
    for (double mm : {0.0, 50.0, 100.0}) f.TargetPoints->Add().Dystans = mm;
    Control<QToolButton>(&f, "SpeedButtonZnak")->setText("+");
    startLinearRun(true);
    standAt(0.0);
    ASSERT_EQ(f.Acceptance().state.pointIndex, 1);
    f.Acceptance().AcceptLinear(20.0);  // moving on: the next target is shown
    EXPECT_DOUBLE_EQ(Control<TDisplay>(&f, "DispWarZadana")->Value(), 50.0);

    LengthUnit = 1;
    f.Acceptance().AcceptLinear(25.0);
    EXPECT_NEAR(Control<TDisplay>(&f, "DispWarZadana")->Value(), 50.0 * 0.03937007874015748, 5e-4);  // in inches, 3 decimals
    LengthUnit = 0;

    // A reading below zero on the way out flips the sign the conversion uses.
    f.Acceptance().AcceptLinear(-3.0);
    EXPECT_EQ(Control<QToolButton>(&f, "SpeedButtonZnak")->text(), QStringLiteral("-"));
}

// A run on the page of `mode` stopped by a beam interruption, as the link status window sees it.
void stopRunByBeam(TMainForm& f, uint8_t mode) {
    f.MeasurementMode = mode;
    f.NotebookMainForm->setCurrentIndex(mode == kModeAngular ? 7 : 3);
    MeasurementRunning = true;
    SignalMonitorStopped = false;
    HeadWasOff = true;  // "Pomiar" then waits for the head instead of starting a reading
    StopReason = 2;
    Komunikaty->KoniecPrzerwaniaOdczyt(ReadingThreadGeneration.load());
}

TEST_F(WindowWiringTest, LinkStatusWindowMainMenuLeavesEveryRunPage) {
    start();
    TMainForm& f = *form();
    for (uint8_t mode : {kModePositioning, kModeStraightness, kModeFlatness, kModeAngular}) {
        SCOPED_TRACE(int(mode));
        stopRunByBeam(f, mode);
        ASSERT_TRUE(Komunikaty->isVisible());
        MeasurementRunning = false;  // the stop confirmed the run's end
        Komunikaty->Button2Click();
        EXPECT_FALSE(Komunikaty->isVisible());
        EXPECT_EQ(f.NotebookMainForm->currentIndex(), 1);
        EXPECT_EQ(f.MeasurementMode, kModeNone);
    }
}

TEST_F(WindowWiringTest, LinkStatusWindowMeasureAgainEndsTheStoppedRun) {
    start();
    TMainForm& f = *form();
    f.PositioningDir = dir.path();
    startLinearRun(true);
    stopRunByBeam(f, kModePositioning);
    Komunikaty->Button1Click();
    EXPECT_FALSE(MeasurementRunning.load());
    EXPECT_EQ(Control<QStackedWidget>(&f, "NotebookButton")->currentIndex(), 3);  // the end page, to repeat the cycle
    EXPECT_FALSE(Control<QPushButton>(&f, "ZakonczeniePozNastepny")->isEnabled());
    EXPECT_TRUE(Control<QPushButton>(&f, "ZakonczeniePozPowtorz")->isEnabled());

    Control<QStackedWidget>(&f, "NotebookButton")->setCurrentIndex(0);
    stopRunByBeam(f, kModeStraightness);
    Control<QPushButton>(&f, "ButtonPozStart")->setText("&Stop");
    Komunikaty->Button1Click();
    EXPECT_FALSE(MeasurementRunning.load());
    EXPECT_EQ(Control<QPushButton>(&f, "ButtonPozStart")->text(), QStringLiteral("&Start"));
    EXPECT_TRUE(f.MenuCommand("Start1")->isEnabled());
    EXPECT_FALSE(f.MenuCommand("Stop1")->isEnabled());
    Komunikaty->hide();
}

TEST_F(WindowWiringTest, ClosingIsRefusedDuringARun) {
    start();
    TMainForm& f = *form();
    for (std::atomic<bool>* running : {&MeasurementRunning, &VelocityRunning}) {
        *running = true;
        EXPECT_FALSE(f.close());
        *running = false;
    }
    EXPECT_EQ(messageCount(Msg("stZakoncz")), 2);
}

// Unsaved positioning cycles: the save question decides, and only a save that happened lets
// the window close.
TEST_F(WindowWiringTest, ClosingWithUnsavedDataAsksToSave) {
    start();
    TMainForm& f = *form();
    f.PositioningDir = dir.path();
    f.MeasurementMode = kModePositioning;
    struct Case {
        const char* what;
        int answer;
        std::optional<QString> file;
        bool closes;
    } cases[] = {
        {"cancel", mrCancel, std::nullopt, false},
        {"yes, file dialog cancelled", mrYes, std::nullopt, false},
        {"yes, folder missing", mrYes, dir.filePath("missing/run.dt2"), false},
        {"yes, saved", mrYes, dir.filePath("run.dt2"), true},
        {"no", mrNo, std::nullopt, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        f.PositioningCycles->Clear();
        TPunkt& p = f.PositioningCycles->Add().Punkt;
        for (int i = 0; i < 6; ++i) p.Add().Dystans = 10.0 * i;
        DataSaved = false;
        int asked = 0;
        setMessageDlgHook([&](const MessageDlgRequest& r) {
            if (r.buttons & mbCancel) return ++asked, c.answer;
            return int(r.type == TMsgDlgType::mtConfirmation ? mrNo : mrOk);
        });
        // The file is chosen once; a failed save brings the dialog back, which is then cancelled.
        int dialogs = 0;
        setFileDialogHook([&](const FileDialogSettings&, bool) {
            return dialogs++ == 0 ? c.file : std::nullopt;
        });
        EXPECT_EQ(f.close(), c.closes);
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(f.PositioningCycles->Count(), 1) << "closing keeps the data until the window goes";
    }
    EXPECT_TRUE(QFile::exists(dir.filePath("run.dt2")));
    setFileDialogHook({});
}

// The view menu's two commands show and hide the positioning page's target panel and
// deviation table; the table keeps its rows meanwhile.
TEST_F(WindowWiringTest, ViewMenuShowsAndHidesThePositioningPanels) {
    start();
    TMainForm& f = *form();
    Control<QPushButton>(&f, "BitBtnpozycjonowanie")->click();
    ASSERT_EQ(f.MeasurementMode, kModePositioning);
    QAction* target = f.MenuCommand("MenuItemWartosczadana");
    QAction* table = f.MenuCommand("MenuItemTabelkaOdchylek");
    ASSERT_TRUE(target->isChecked() && table->isChecked());
    modes::ShowPositioningPanels(f.ModeHost());  // as the run's pages show them
    ASSERT_TRUE(target->isEnabled());
    ASSERT_FALSE(Control<QFrame>(&f, "PanelWarZadana")->isHidden());
    Control<QTableWidget>(&f, "GridOdchylka")->setRowCount(5);

    target->trigger();
    EXPECT_FALSE(target->isChecked());
    EXPECT_TRUE(Control<QFrame>(&f, "PanelWarZadana")->isHidden());
    EXPECT_FALSE(Control<QTableWidget>(&f, "GridOdchylka")->isHidden());
    table->trigger();
    EXPECT_TRUE(Control<QTableWidget>(&f, "GridOdchylka")->isHidden());

    target->trigger();
    table->trigger();
    EXPECT_FALSE(Control<QFrame>(&f, "PanelWarZadana")->isHidden());
    EXPECT_FALSE(Control<QTableWidget>(&f, "GridOdchylka")->isHidden());
    EXPECT_EQ(Control<QTableWidget>(&f, "GridOdchylka")->rowCount(), 5);
}

}  // namespace
