// The run control commands: the two straightness timers, dragging the 3-D view, the flatness
// line's start and title, the manual-accept switch, the service panel's bytes and the hardware
// reset pulse; the rules alone and on the real main window.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTimer>
#include <string>

#include "app/PositioningPage.h"
#include "app/FlatnessPage.h"
#include "MainWindowFixture.h"
#include "TypeCallsStandIn.h"
#include "app/RunCommands.h"
#include "app/StraightnessRun.h"
#include "evaluation/MeasurementHeader.h"
#include "evaluation/PointStore.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RealSpinEdit.h"
#include "instrument/CommandLink.h"
#include "instrument/ComDrv32.h"
#include "instrument/PointAcceptance.h"
#include "instrument/SerialFrameParser.h"
#include "platform/Chart.h"
#include "support/SimSerialLine.h"

namespace {

using namespace runcontrol;

TEST(RunCommandRules, AcceptWaitCountsDownTheWaitingTime) {
    // ScrollBar16 at 10 (1.0 s at 100 ms a tick): the bar goes 9, 8, .. 0, the tenth tick accepts.
    struct Case { int waiting; int ticksToAccept; };
    for (const Case c : {Case{10, 10}, Case{70, 70}, Case{150, 150}}) {
        uint8_t ticks = 0;
        for (int t = 1; t <= c.ticksToAccept; ++t) {
            const AcceptWaitStep s = AcceptWaitTick(ticks, c.waiting);
            EXPECT_EQ(s.progress, c.waiting - t) << c.waiting << " tick " << t;
            EXPECT_EQ(s.accept, t == c.ticksToAccept) << c.waiting << " tick " << t;
        }
        EXPECT_EQ(ticks, 0) << "the next wait starts from the beginning";
    }
}

TEST(RunCommandRules, MovePromptComesOnceAtItsTick) {
    struct Case { bool automatic; int promptTick; };
    for (const Case c : {Case{true, 2}, Case{false, 1}}) {
        uint8_t phase = 0;
        for (int t = 1; t <= 4; ++t) {
            const MoveHintStep s = MoveHintTick(phase, c.automatic, 3);
            const bool now = t == c.promptTick;
            EXPECT_EQ(s.prompt, now) << c.automatic << " tick " << t;
            EXPECT_EQ(s.startAcceptTimer, now && c.automatic);
            EXPECT_EQ(s.stopTimer, now && !c.automatic);
            if (now) {
                EXPECT_EQ(s.acceptText, Msg("stPrzesun"));
                EXPECT_EQ(s.moveText, QStringLiteral("do punktu 4 lub zakończ - STOP."));
            }
        }
    }
}

TEST(RunCommandRules, DragTurnsByHalfThePixelsWithinTheBars) {
    struct Case { QPoint from, to; ViewAngles start, want; };
    const AngleRange range{270, 360};
    const Case cases[] = {
        {{100, 100}, {100, 91}, {333, 346}, {333, 350}},   // up 9 px: elevation + 4
        {{100, 100}, {100, 109}, {333, 346}, {333, 342}},  // down 9 px: - 4 (towards zero)
        {{100, 100}, {105, 100}, {333, 346}, {335, 346}},  // right 5 px: rotation + 2
        {{100, 100}, {99, 100}, {333, 346}, {333, 346}},   // one pixel turns nothing
        {{100, 100}, {100, 60}, {333, 346}, {333, 360}},   // would pass 360: stays at 360
        {{100, 100}, {0, 100}, {300, 346}, {270, 346}},    // would pass 270: stays at 270
    };
    for (const Case& c : cases) {
        const ViewAngles a = DragTurn(c.from, c.to, c.start, range, range);
        EXPECT_EQ(a.rotation, c.want.rotation) << c.to.x() << "," << c.to.y();
        EXPECT_EQ(a.elevation, c.want.elevation) << c.to.x() << "," << c.to.y();
    }
}

TEST(RunCommandRules, View3DPanelKeepsItsBarsAtTheEdges) {
    const View3DLayout l = Panel18Layout({400, 300}, 16, 12);
    EXPECT_EQ(l.verticalBar, QRect(384, 0, 16, 300));
    EXPECT_EQ(l.horizontalBar, QRect(0, 288, 384, 12));
    EXPECT_EQ(l.chart, QRect(0, 0, 384, 288));
    const View3DLayout tiny = Panel18Layout({10, 5}, 16, 12);
    EXPECT_EQ(tiny.chart.size(), QSize(0, 0));
}

TEST(RunCommandRules, DefaultFlatnessLineIsTheFirstNotMeasured) {
    struct Case { uint8_t method; int h, v; uint16_t done; int current, want; };
    const Case cases[] = {
        {0, 3, 3, 0x0000, 1, 1},
        {0, 3, 3, 0x0007, 3, 4},
        {0, 3, 3, 0x00FF, 5, 5},   // all eight measured: the current line again
        {1, 3, 4, 0x003F, 6, 7},   // grid of 3 + 4: line 7 is V4
        {1, 3, 4, 0x007F, 9, 1},   // all seven measured, current line not in the map
        {1, 8, 8, 0x7FFF, 1, 16},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DefaultFlatnessLine(c.method, c.h, c.v, c.done, c.current), c.want) << std::hex << c.done;
}

TEST(RunCommandRules, ScrollBarCaptions) {
    EXPECT_EQ(WaitingTimeCaption(70).replace(u',', u'.'), QStringLiteral("Czas oczekiwania 7.0 s."));
    EXPECT_EQ(MoveDetectCaption(40).replace(u',', u'.'), QStringLiteral("Detekcja przesuwania gdy odchyłka > 4.0 sek"));
    EXPECT_EQ(AveragingCaption(20), QStringLiteral("Uśrednianie jeśli skoki < 20"));
}

class RecordingLink : public ICommandLink {
public:
    std::string sent;
    void SendCommandByte(uint8_t b) override { sent.push_back(char(b)); }
};

TEST(RunCommandRules, ServiceButtonsSendTheirBytes) {
    RecordingLink link;
    for (const char* name : {"PSButtonPowerOn", "PSButtonPowerOff", "PSButtonTurnOn", "PSButtonTurnOff",
                             "PSButtonKrokP", "PSButtonKrokL", "Button30", "Button31", "Button32"})
        EXPECT_TRUE(PressServiceButton(QString::fromLatin1(name), link)) << name;
    EXPECT_EQ(link.sent, "stwxuvLMN");
    EXPECT_FALSE(PressServiceButton(QStringLiteral("Button33"), link));
    EXPECT_EQ(link.sent.size(), 9u);
}

// --- on the real window ---

class RunCommandsWindow : public MainWindowTest {};

TEST_F(RunCommandsWindow, TimersAreMadeOffAndTheAcceptWaitAcceptsAfterItsTime) {
    start();
    TMainForm& f = *form();
    QTimer* acceptWait = Control<QTimer>(&f, "TimerZaliczeniePunktu");
    QTimer* moveHint = Control<QTimer>(&f, "TimerProstoliniowosc1");
    ASSERT_NE(acceptWait, nullptr);
    ASSERT_NE(moveHint, nullptr);
    EXPECT_EQ(acceptWait->interval(), 100);
    EXPECT_EQ(moveHint->interval(), 500);
    EXPECT_FALSE(acceptWait->isActive());
    EXPECT_FALSE(moveHint->isActive());

    // An automatic straightness line: the start runs the wait, its ticks count down to the
    // acceptance.
    f.MeasurementMode = 2;
    f.NotebookMainForm->setCurrentIndex(3);
    ASSERT_TRUE(f.MenuCommand("Automatyczny1")->isChecked());
    Control<QScrollBar>(&f, "ScrollBar16")->setValue(10);
    Control<QPushButton>(&f, "ButtonPozStart")->click();
    ASSERT_TRUE(MeasurementRunning);
    EXPECT_TRUE(acceptWait->isActive());
    EXPECT_EQ(Control<QProgressBar>(&f, "ProgressBar2")->value(), 10);
    instrument::AcceptanceState& st = f.Acceptance().state;
    for (int t = 1; t <= 10; ++t) {
        EXPECT_FALSE(st.manualAcceptRequest) << t;
        f.Positioning().TimerZaliczeniePunktuTimer();
        EXPECT_EQ(Control<QProgressBar>(&f, "ProgressBar2")->value(), 10 - t);
    }
    EXPECT_TRUE(st.manualAcceptRequest);
    EXPECT_FALSE(acceptWait->isActive());

    // The next reading accepts the point; the prompt timer asks to move on at its second tick
    // and starts the wait again.
    f.Acceptance().AcceptStraightness(0.0);
    EXPECT_EQ(st.acceptedPointCount, 1);
    EXPECT_TRUE(moveHint->isActive());
    f.Positioning().TimerProstoliniowosc1Timer();
    EXPECT_FALSE(acceptWait->isActive());
    f.Positioning().TimerProstoliniowosc1Timer();
    EXPECT_TRUE(acceptWait->isActive());
    EXPECT_FALSE(Control<QLabel>(&f, "Label20")->isHidden());
    EXPECT_EQ(Control<QLabel>(&f, "Label124")->text(), Msg("stPrzesun"));
    EXPECT_EQ(Control<QLabel>(&f, "Label20")->text(), QStringLiteral("do punktu 2 lub zakończ - STOP."));

    // The head's key accepts the point early: the wait under way ends with it.
    f.Positioning().TimerZaliczeniePunktuTimer();
    f.Positioning().TimerZaliczeniePunktuTimer();
    HeadAcceptRequest = true;
    f.Acceptance().AcceptStraightness(5.0);
    EXPECT_EQ(st.acceptedPointCount, 2);
    EXPECT_FALSE(acceptWait->isActive());
    EXPECT_EQ(AcceptWaitTicks, 0);

    EXPECT_FALSE(f.MenuCommand("Start1")->isEnabled());
    EXPECT_TRUE(f.MenuCommand("Stop1")->isEnabled());

    // Stop: both timers off, the bar back to the waiting time, the menu's Start offered again.
    Control<QPushButton>(&f, "ButtonPozStart")->click();
    EXPECT_TRUE(f.MenuCommand("Start1")->isEnabled());
    EXPECT_FALSE(f.MenuCommand("Stop1")->isEnabled());
    EXPECT_FALSE(MeasurementRunning);
    EXPECT_FALSE(acceptWait->isActive());
    EXPECT_FALSE(moveHint->isActive());
    EXPECT_EQ(Control<QProgressBar>(&f, "ProgressBar2")->minimum(), 10);
    EXPECT_EQ(Control<QProgressBar>(&f, "ProgressBar2")->value(), 10);
}

TEST_F(RunCommandsWindow, ManualAcceptSwitchIsRefusedWhileRunning) {
    start();
    TMainForm& f = *form();
    QAction* manual = f.MenuCommand("ReczneZaliczeniePunktu");
    ASSERT_NE(manual, nullptr);
    ASSERT_FALSE(manual->isChecked());
    MeasurementRunning = true;
    manual->trigger();
    EXPECT_FALSE(manual->isChecked()) << "the check stays";
    EXPECT_EQ(messageCount(Msg("stTrwaPomiar")), 1);
    f.MeasurementMode = 0;
    f.PunktyPozycjonowania1Click();  // target points are not edited during a run either
    EXPECT_EQ(messageCount(Msg("stTrwaPomiar")), 2);
    MeasurementRunning = false;
    manual->trigger();
    EXPECT_TRUE(manual->isChecked());
    EXPECT_FALSE(Control<QPushButton>(&f, "ButtonZaliczeniepunktu")->isHidden());
    manual->trigger();
    EXPECT_FALSE(manual->isChecked());
    EXPECT_TRUE(Control<QPushButton>(&f, "ButtonZaliczeniepunktu")->isHidden());

    // The automatic line end switches the waiting-time controls, never during a run.
    QAction* automatic = f.MenuCommand("Automatyczny1");
    const bool was = automatic->isChecked();
    MeasurementRunning = true;
    automatic->trigger();
    EXPECT_EQ(automatic->isChecked(), was);
    MeasurementRunning = false;
    automatic->trigger();
    EXPECT_EQ(automatic->isChecked(), !was);
    EXPECT_EQ(Control<QScrollBar>(&f, "ScrollBar16")->isHidden(), was);
    EXPECT_EQ(Control<QPushButton>(&f, "ButtonZaliczeniepunktu")->isHidden(), !was);
}

TEST_F(RunCommandsWindow, FlatnessLineStartTakesTheChosenLine) {
    start();
    TMainForm& f = *form();
    f.FlatnessMethod = 1;
    f.FlatnessHLines = 3;
    f.FlatnessVLines = 3;
    int askedWith = 0;
    SetFlatnessLineChoice(f, [&](int current) {
        askedWith = current;
        return -1;
    });
    f.NotebookMainForm->setCurrentIndex(8);
    f.MeasurementMode = 3;
    Control<QPushButton>(&f, "ButtonMapaPlaskosciStart")->click();
    EXPECT_EQ(f.NotebookMainForm->currentIndex(), 8) << "a cancelled choice changes nothing";
    EXPECT_EQ(f.MeasurementMode, 3);

    SetFlatnessLineChoice(f, [](int) { return 5; });
    Control<QPushButton>(&f, "ButtonMapaPlaskosciStart")->click();
    EXPECT_EQ(f.StraightnessControl().FlatnessLine, 5);
    EXPECT_EQ(f.MeasurementMode, 3);
    EXPECT_EQ(f.NotebookMainForm->currentIndex(), 3);
    EXPECT_TRUE(TMainForm::ChartTitle(Control<platform::TChart>(&f, "wykres")).endsWith(QStringLiteral(" V2")));
    EXPECT_EQ(TMainForm::ChartTitle(Control<platform::TChart>(&f, "wykres")), Msg("stMapaOs") + " V2");
    EXPECT_TRUE(f.MenuCommand("NastepnaOs1")->isVisible());
    EXPECT_FALSE(f.MenuCommand("File01")->isVisible());

    // A choice of the first line not yet measured.
    SetFlatnessLineChoice(f, [&f](int current) {
        return DefaultFlatnessLine(f.FlatnessMethod, f.FlatnessHLines, f.FlatnessVLines,
                                   f.StraightnessControl().FlatnessLinesDone, current);
    });
    f.StraightnessControl().FlatnessLinesDone = 0x3;
    Control<QPushButton>(&f, "ButtonMapaPlaskosciStart")->click();
    EXPECT_EQ(f.StraightnessControl().FlatnessLine, 3);
    EXPECT_EQ(TMainForm::ChartTitle(Control<platform::TChart>(&f, "wykres")), Msg("stMapaOs") + " H3");
    EXPECT_EQ(askedWith, 1);
}

TEST_F(RunCommandsWindow, DraggingTheMapTurnsItAndItsBars) {
    start();
    TMainForm& f = *form();
    auto* map = static_cast<platform::TChart*>(Control<platform::TChart>(&f, "WykresPlaskosci"));
    EXPECT_EQ(map->View3DOptions().rotation, 333);
    EXPECT_EQ(map->View3DOptions().elevation, 346);
    f.Flatness().WykresPlaskosciMouseDown({50, 50}, Qt::LeftButton);
    f.Flatness().WykresPlaskosciMouseMove({50, 41}, Qt::LeftButton);
    EXPECT_EQ(map->View3DOptions().elevation, 350);
    EXPECT_EQ(Control<QScrollBar>(&f, "ScrollBarElevation")->value(), 350);
    f.Flatness().WykresPlaskosciMouseMove({50, 0}, Qt::LeftButton);
    EXPECT_EQ(map->View3DOptions().elevation, 360);
    EXPECT_EQ(Control<QScrollBar>(&f, "ScrollBarElevation")->value(), 360);
    f.Flatness().WykresPlaskosciMouseMove({80, 0}, Qt::NoButton);
    EXPECT_EQ(map->View3DOptions().rotation, 333) << "only a held left button turns";
    Control<QScrollBar>(&f, "ScrollBarRotation")->setValue(300);
    EXPECT_EQ(map->View3DOptions().rotation, 300);

    // Shown, the panel places its bars along its right and bottom edges.
    f.resize(1000, 700);
    f.show();
    f.NotebookMainForm->setCurrentIndex(8);
    QCoreApplication::processEvents();
    const QSize panel = Control<QFrame>(&f, "Panel18")->size();
    ASSERT_GT(panel.width(), 100);
    EXPECT_EQ(Control<QScrollBar>(&f, "ScrollBarElevation")->geometry().right(), panel.width() - 1);
    EXPECT_EQ(Control<QScrollBar>(&f, "ScrollBarElevation")->height(), panel.height());
    EXPECT_EQ(Control<QScrollBar>(&f, "ScrollBarRotation")->geometry().bottom(), panel.height() - 1);
    EXPECT_EQ(Control<platform::TChart>(&f, "WykresPlaskosci")->width() + Control<QScrollBar>(&f, "ScrollBarElevation")->width(), panel.width());
    EXPECT_EQ(Control<platform::TChart>(&f, "WykresPlaskosci")->height() + Control<QScrollBar>(&f, "ScrollBarRotation")->height(), panel.height());
}

TEST_F(RunCommandsWindow, ServiceSwitchesAndScrollBars) {
    start();
    TMainForm& f = *form();
    f.ScrollBar10->setValue(200);
    EXPECT_EQ(f.SignalGaugeMax, 200);
    EXPECT_EQ(f.Label131->text(), "200");
    EXPECT_EQ(Control<QProgressBar>(&f, "GaugeProsto")->maximum(), 200);
    f.ScrollBar11->setValue(90);
    EXPECT_EQ(f.SignalGaugeMin, 90);
    EXPECT_EQ(f.Label132->text(), "90");
    f.ScrollBar12->setValue(7);
    EXPECT_EQ(f.Label133->text(), QStringLiteral("Uśrednianie jeśli skoki < 7"));
    Control<QScrollBar>(&f, "ScrollBar16")->setValue(25);
    EXPECT_EQ(Control<QProgressBar>(&f, "ProgressBar2")->value(), 25);
    EXPECT_EQ(Control<QLabel>(&f, "Label139")->text(), WaitingTimeCaption(25));

    EXPECT_EQ(f.NotebookUstawienia->currentIndex(), 0);
    for (int want : {1, 2, 0}) {
        f.Button22->click();
        EXPECT_EQ(f.NotebookUstawienia->currentIndex(), want);
    }
    MeteoStopped = false;
    f.PSButton39->click();
    EXPECT_TRUE(MeteoStopped);

    f.PSListBox2->addItem("old");
    f.ResetProgramu->click();
    ASSERT_EQ(f.PSListBox2->count(), 1);
    EXPECT_EQ(f.PSListBox2->item(0)->text(), "Reset");

    // The settings buttons write the scroll bars and read them back.
    f.ScrollBar13->setValue(120);
    f.Button18->click();
    f.ScrollBar13->setValue(50);
    f.Button19->click();
    EXPECT_EQ(f.ScrollBar13->value(), 120);
    f.ApplyAcceptanceSettings();
    EXPECT_EQ(f.Acceptance().settings.moveThreshold, 120);
    f.ScrollBar13->setValue(60);
    EXPECT_EQ(f.Acceptance().settings.moveThreshold, 60);
}

TEST_F(RunCommandsWindow, StraightnessPageEntryByMethod) {
    start();
    TMainForm& f = *form();
    struct Case { uint8_t method; const char* unit; bool secondChart; QString title; };
    const Case cases[] = {
        {0, "sek", false, Msg("stPomiarProsto") + " - "},
        {1, "µm", false, Msg("stPomiarProsto") + " - "},
        {2, "µm", true, Msg("stPomiarProsto") + " - " + Msg("stOsPozioma") + " <-->"},
    };
    for (const Case& c : cases) {
        f.StraightnessMethod = c.method;
        Control<QPushButton>(&f, "BitBtnProstolinowosc")->click();
        EXPECT_EQ(f.MeasurementMode, 2);
        EXPECT_EQ(Control<QLabel>(&f, "LabelJedProsto")->text(), QString::fromUtf8(c.unit));
        EXPECT_EQ(Control<platform::TChart>(&f, "WykresOsY")->isHidden(), !c.secondChart) << int(c.method);
        EXPECT_TRUE(TMainForm::ChartTitle(Control<platform::TChart>(&f, "wykres")).startsWith(c.title)) << int(c.method);
        EXPECT_EQ(TMainForm::ChartTitle(Control<platform::TChart>(&f, "WykresOsY")), Msg("stPomiarProsto") + " - " + Msg("stOsPionowa") + " |");
        EXPECT_EQ(TMainForm::ChartAxisTitle(Control<platform::TChart>(&f, "WykresOsY"), TMainForm::ChartAxis::Bottom), Msg("stOdleglosc") + " [ cm ]");
        EXPECT_FALSE(f.MenuCommand("TabelaPomiarow")->isEnabled());
        EXPECT_TRUE(f.MenuCommand("Automatyczny1")->isVisible());
        EXPECT_FALSE(f.MenuCommand("PunktyPozycjonowania1")->isVisible());
    }
}

TEST_F(RunCommandsWindow, ChartXAxisChoiceRetitlesAndRedraws) {
    start();
    TMainForm& f = *form();
    int evaluations = 0;
    TypeCallsStandIn stand(f);
    stand.redrawPositioningResults = [&] { ++evaluations; };
    f.Dystans1->trigger();
    EXPECT_TRUE(f.Dystans1->isChecked());
    EXPECT_FALSE(f.Numerpunktu1->isChecked());
    EXPECT_EQ(TMainForm::ChartAxisTitle(Control<platform::TChart>(&f, "wykres"), TMainForm::ChartAxis::Bottom), Msg("stOdleglosc") + " [ mm ]");
    EXPECT_EQ(evaluations, 0) << "not on the results page";

    // On the results page the run is drawn again; by distance only when there are cycles.
    Control<QStackedWidget>(&f, "NotebookButton")->setCurrentIndex(2);
    f.Dystans1->trigger();
    EXPECT_EQ(evaluations, 0);
    f.PositioningCycles->Add();
    f.Dystans1->trigger();
    EXPECT_EQ(evaluations, 1);
    f.Numerpunktu1->trigger();
    EXPECT_EQ(evaluations, 2);
    EXPECT_TRUE(f.Numerpunktu1->isChecked());
    EXPECT_FALSE(f.Dystans1->isChecked());
    EXPECT_EQ(TMainForm::ChartAxisTitle(Control<platform::TChart>(&f, "wykres"), TMainForm::ChartAxis::Bottom), Msg("stNrPunktu"));

    // During a run only the check moves.
    MeasurementRunning = true;
    f.Dystans1->trigger();
    EXPECT_TRUE(f.Dystans1->isChecked());
    EXPECT_EQ(TMainForm::ChartAxisTitle(Control<platform::TChart>(&f, "wykres"), TMainForm::ChartAxis::Bottom), Msg("stNrPunktu"));
    EXPECT_EQ(evaluations, 2);
    MeasurementRunning = false;
}

// A flatness line measured from the flatness page: started, four points accepted, stopped (the
// line is stored and the backup written), back to the flatness page without a question; the
// next start offers the first line not yet measured; leaving the map asks about it.
TEST_F(RunCommandsWindow, FlatnessLineFromStartToTheMap) {
    setMessageDlgHook([this](const MessageDlgRequest& r) {
        messages.push_back(r);
        if (r.buttons & mbNo) return int(mrNo);  // unsaved data are thrown away
        return int(mrOk);
    });
    start();
    TMainForm& f = *form();
    f.FlatnessDir = dir.path();
    f.FlatnessMethod = 0;
    if (f.MenuCommand("Automatyczny1")->isChecked()) f.Automatyczny1Click();
    Control<QPushButton>(&f, "BitBtnMapaPlaskosci")->click();
    ASSERT_EQ(f.NotebookMainForm->currentIndex(), 8);
    SetFlatnessLineChoice(f, [](int) { return 2; });
    Control<QPushButton>(&f, "ButtonMapaPlaskosciStart")->click();
    ASSERT_EQ(f.MeasurementMode, 3);
    Control<QPushButton>(&f, "ButtonPozStart")->setEnabled(true);  // no head: the page cannot start its reading
    Control<QPushButton>(&f, "ButtonPozStart")->click();
    ASSERT_TRUE(MeasurementRunning);
    EXPECT_EQ(TMainForm::ChartTitle(Control<platform::TChart>(&f, "wykres")), Msg("stPomiarProsto") + "\n" + Msg("stMapaOs") + " 2");
    instrument::PointAcceptance& acceptance = f.Acceptance();
    for (double v : {0.0, 3.0, 1.0, 2.0}) {
        Control<QPushButton>(&f, "ButtonZaliczeniepunktu")->click();
        acceptance.AcceptStraightness(v);
    }
    EXPECT_EQ(f.Points().StraightnessSampleCount, 4);
    Control<QPushButton>(&f, "ButtonPozStart")->click();
    EXPECT_FALSE(MeasurementRunning);
    EXPECT_EQ(f.StraightnessControl().FlatnessLinesDone, 0x2);
    EXPECT_GT((*f.FlatnessLines)[1].Punkt.Count(), 0);
    EXPECT_FALSE(FlatnessDataSaved);
    EXPECT_TRUE(QFile::exists(QDir(dir.path()).filePath("KopiaZapasowa.dt5")));

    const size_t asked = messages.size();
    Control<QPushButton>(&f, "ButtonPozMainMenu")->click();
    EXPECT_EQ(f.NotebookMainForm->currentIndex(), 8);
    EXPECT_EQ(messages.size(), asked) << "leaving a line's page never asks";

    SetFlatnessLineChoice(f, [&f](int current) {
        return DefaultFlatnessLine(f.FlatnessMethod, f.FlatnessHLines, f.FlatnessVLines,
                                   f.StraightnessControl().FlatnessLinesDone, current);
    });
    Control<QPushButton>(&f, "ButtonMapaPlaskosciStart")->click();
    EXPECT_EQ(f.StraightnessControl().FlatnessLine, 1);
    Control<QPushButton>(&f, "ButtonPozMainMenu")->click();
    ASSERT_EQ(f.NotebookMainForm->currentIndex(), 8);

    Control<QPushButton>(&f, "Button27")->click();
    EXPECT_GT(messages.size(), asked) << "the unsaved map is asked about";
    EXPECT_EQ(f.NotebookMainForm->currentIndex(), 1);
    EXPECT_EQ(f.StraightnessControl().FlatnessLinesDone, 0);
    EXPECT_TRUE(FlatnessDataSaved);
}

// The hand-entered environment values show the stored defaults and store what is typed, in °C
// and hPa whatever unit they show.
TEST_F(RunCommandsWindow, HandEnteredEnvironmentValues) {
    start();
    TMainForm& f = *form();
    EXPECT_DOUBLE_EQ(DefaultPressure, 1013.0) << "showing the value does not change it";
    EXPECT_DOUBLE_EQ(Control<TRealSpinEdit>(&f, "seCisnienie")->Value(), 1013.0);
    EXPECT_DOUBLE_EQ(Control<TRealSpinEdit>(&f, "SETempPow")->Value(), 20.0);
    f.TemperatureUnit = 1;
    f.PressureUnit = 2;
    f.SettingsToControls();
    EXPECT_DOUBLE_EQ(DefaultAirTemperature, 20.0);
    EXPECT_DOUBLE_EQ(Control<TRealSpinEdit>(&f, "SETempPow")->Value(), 68.0);
    Control<TRealSpinEdit>(&f, "SETempPow")->SetValue(77.0);
    EXPECT_DOUBLE_EQ(DefaultAirTemperature, 25.0);
    Control<TRealSpinEdit>(&f, "seCisnienie")->SetValue(29.92);
    EXPECT_NEAR(DefaultPressure, 29.92 * 1.33322 * 25.4, 1e-9);

    // The header takes the hand entries where the station is off, the readings elsewhere.
    Control<QCheckBox>(&f, "CBTemp")->setChecked(false);
    Control<QCheckBox>(&f, "CBWilg")->setChecked(true);
    Humidity = 45.4;
    f.FillHeaderEnvironment();
    EXPECT_EQ(f.MeasurementHeader().AirTemperature, Control<TRealSpinEdit>(&f, "SETempPow")->text());
    EXPECT_EQ(f.MeasurementHeader().Humidity, QStringLiteral("45 %"));
}

// The reset pulse on a line with modem lines: DTR up, the parser waiting for the start-up text,
// DTR down after 50 ms.
TEST_F(RunCommandsWindow, HardwareResetPulsesDtr) {
    start();
    TMainForm& f = *form();
    auto line = std::make_unique<testsupport::SimSerialLine>();
    testsupport::SimSerialLine* sim = line.get();
    QElapsedTimer clock;
    clock.start();
    sim->setTickSource([&clock] { return uint32_t(clock.elapsed()); });
    TCommPortDriver port(nullptr, std::move(line));
    ASSERT_TRUE(port.Connect());
    const size_t before = sim->modemCalls().size();
    TCommPortDriver* windowPort = f.CommPortDriver1;
    f.CommPortDriver1 = &port;
    ReadingStopped = false;
    SignalMonitorStopped = false;
    ReplyText = "old";
    f.PSListBox2->addItem("old");
    f.ResetSprzetowy->click();
    f.CommPortDriver1 = windowPort;

    const auto calls = sim->modemCalls();
    ASSERT_EQ(calls.size(), before + 2);
    EXPECT_EQ(calls[before].line, 'D');
    EXPECT_TRUE(calls[before].on);
    EXPECT_EQ(calls[before + 1].line, 'D');
    EXPECT_FALSE(calls[before + 1].on);
    EXPECT_GE(calls[before + 1].tick - calls[before].tick, 50u);
    EXPECT_TRUE(ReadingStopped);
    EXPECT_TRUE(SignalMonitorStopped);
    EXPECT_TRUE(TextLineMode);
    EXPECT_EQ(instrument::LinkState().ReceiveState.load(), 0);
    EXPECT_EQ(PendingReply, 1);
    EXPECT_TRUE(ReplyText.isEmpty());
    EXPECT_EQ(f.PSListBox2->count(), 0);
}

}  // namespace
