// An angular division run end to end on the real window: the simulated head on a
// pseudo-terminal reads the table's turns, the reflector is set up and driven back by the motor
// bytes, each division is accepted automatically, the run ends ready for a new one, and the run
// saved through the window's save command opens again.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableWidget>
#include <QtTest/QTest>
#include <algorithm>
#include <cmath>
#include <functional>

#include "foundations/LocaleTable.h"
#include "app/AngularPage.h"
#include "HeadWindowFixture.h"
#include "app/PunktyPoz.h"
#include "evaluation/MeasurementFiles.h"
#include "foundations/ProgramMessages.h"
#include "instrument/MotorDrive.h"
#include "instrument/UOdczyt.h"
#include "instrument/PointAcceptance.h"
#include "instrument/RawConversion.h"
#include "platform/Chart.h"
#include "platform/ChartSeries.h"

namespace {

using testsupport::Bytes;
using testsupport::FrameSpec;

class AngularEndToEndTest : public HeadWindowTest {
protected:
    void SetUp() override {
        HeadWindowTest::SetUp();
        setMessageDlgHook([this](const MessageDlgRequest& r) {
            messages.push_back(r);
            if (r.text == Msg("stZmianaInfo")) return int(mrNo);
            if (r.text == Msg("stKoniecPomiaru")) return stopAnswer;
            return int(r.type == TMsgDlgType::mtConfirmation ? mrYes : mrOk);
        });
        setFileDialogHook([this](const FileDialogSettings&, bool save) -> std::optional<QString> {
            return save ? saveAnswer : openAnswer;
        });
    }
    void TearDown() override {
        setFileDialogHook({});
        HeadWindowTest::TearDown();
    }
    // Arc seconds of one count, as the window converts an angle reading.
    static double secPerCount() {
        instrument::ConversionSettings c;
        c.mode = kModeAngular;
        c.wavelength = kDefaultLaserWavelength;
        double filter = 0.0;
        return *instrument::ConvertRawCount(1000000, c, filter) / 1e6;
    }
    static int32_t countOf(double sec) { return int32_t(std::lround(sec / secPerCount())); }
    static double readSec(double sec) { return std::fabs(countOf(sec) * secPerCount()); }

    // Enters the angular page with a ready head and waits for its start button.
    void enterPage() {
        head.startStreaming(FrameSpec::ready(0), std::chrono::milliseconds(10));
        head.clearReceived();
        Control<QPushButton>(form(), "BitBtnPodzKatowe")->click();
        ASSERT_EQ(form()->MeasurementMode, 4);
        ASSERT_EQ(form()->NotebookMainForm->currentIndex(), 5);
        ASSERT_TRUE(pumpUntil([&] { return Control<QPushButton>(form(), "BStartPK")->isEnabled(); }));
    }
    size_t countOfByte(uint8_t b) {
        const Bytes r = head.receivedCommands();
        return size_t(std::count(r.begin(), r.end(), b));
    }

    int stopAnswer = mrYes;
    std::optional<QString> saveAnswer, openAnswer;
};

TEST_F(AngularEndToEndTest, EnteringThePagePowersTheMotorAndStartsTheAngularReading) {
    startWithHead();
    enterPage();
    // The motor's power first, then the measuring head of the angle mode.
    const Bytes sent = head.receivedCommands();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), 's');
    const Bytes measuring{':', '8', '7', '5', '2', sent.size() > 8 ? sent[8] : uint8_t(0), '[', 'W', 0x8C, '8', 'L'};
    EXPECT_NE(std::search(sent.begin(), sent.end(), measuring.begin(), measuring.end()), sent.end())
        << ::testing::PrintToString(sent);
    TMainForm* f = form();
    EXPECT_EQ(f->windowTitle(), f->ModeCaptions[4]);
    EXPECT_EQ(Control<QPushButton>(f, "BStartPK")->text(), "&Start");
    EXPECT_TRUE(f->MenuCommand("UstawSilnik1")->isVisible());
    // The status bar names the direction, the last target angle and the acceptance.
    f->AngularTargetPoints->Clear();
    for (double a : {0.0, 30.0, 45.5}) f->AngularTargetPoints->Add().Dystans = a;
    f->Angular().ShowAngularParameters();
    auto panel = [&](int i) {
        return Control<QStatusBar>(f, "StatusBar2")->findChild<QLabel*>(QStringLiteral("StatusBar2Panel") + QString::number(i))->text();
    };
    EXPECT_EQ(panel(0), Msg("stKierunekObrotu") + " - " + RotationDirectionNames[f->RotationDirection]);
    EXPECT_EQ(panel(1), Msg("stKat") + " - 45" + foundations::systemLocale().decimalPoint() + QString::fromUtf8("5 °"));
    EXPECT_EQ(panel(2), Msg("stZalAuto"));
}

TEST_F(AngularEndToEndTest, NoInterfaceLeavesTheStartDisabledAndSendsNothing) {
    startWithHead();
    InterfaceError = true;
    head.clearReceived();
    Control<QPushButton>(form(), "BitBtnPodzKatowe")->click();
    for (int i = 0; i < 20; ++i) pumpUntil([] { return false; }, 5);
    EXPECT_FALSE(Control<QPushButton>(form(), "BStartPK")->isEnabled());
    EXPECT_FALSE(form()->MenuCommand("Start1")->isEnabled());
    EXPECT_TRUE(head.receivedCommands().empty());
    InterfaceError = false;
}

TEST_F(AngularEndToEndTest, RunOverFullTurnAcceptsEachDivisionDrivesTheMotorAndEnds) {
    startWithHead();
    TMainForm* f = form();
    const QString data = dir.filePath("kat");
    ASSERT_TRUE(QDir().mkpath(data));
    f->AngularDir = data;
    enterPage();

    const std::vector<double> targets{0, 90, 180, 270, 360};
    f->AngularTargetPoints->Clear();
    for (double a : targets) f->AngularTargetPoints->Add().Dystans = a;
    f->PointNumberPK = 5;
    f->VibrationPK = 10;
    f->ErrorWindowPK = 1000;
    f->RotationDirection = 0;
    // The table's errors at each division, arc seconds.
    const std::vector<double> errors{0.0, 12.0, -7.5, 20.0, 3.0};

    head.clearReceived();
    Control<QPushButton>(f, "BStartPK")->click();
    ASSERT_TRUE(MeasurementRunning.load());
    EXPECT_EQ(Control<QPushButton>(f, "BStartPK")->text(), "&Stop");
    const instrument::AcceptanceState& st = f->Acceptance().state;
    EXPECT_TRUE(st.awaitingRotation);
    EXPECT_DOUBLE_EQ(st.rotationStartValue, 90.0 * 3600 * 0.5);
    auto* info = f->findChild<QLabel*>("LabelInfoPK");
    EXPECT_TRUE(info->isVisibleTo(f));
    EXPECT_EQ(info->text(), Msg("stWUstawSilnik"));

    // Set-up: far from half the first step the motor runs ('u' then 'w'); at it, it stops and
    // counting restarts.
    ASSERT_TRUE(pumpUntil([&] { return countOfByte('w') >= 1; }));
    EXPECT_TRUE(MotorRunning.load());
    head.setStreamCount(countOf(st.rotationStartValue));
    ASSERT_TRUE(pumpUntil([&] { return !st.awaitingRotation; }));
    EXPECT_FALSE(MotorRunning.load());
    // The stop byte reaches the simulated head on its own thread: wait for it, do not assume it.
    EXPECT_TRUE(pumpUntil([&] { return countOfByte('x') >= 1; }));

    double base = 0.0;
    std::vector<double> read;
    for (size_t k = 0; k < targets.size(); ++k) {
        SCOPED_TRACE(k);
        const double step = k == 0 ? 0.0 : (targets[k] - targets[k - 1]) * 3600;
        // The drive-back starts with the acceptance, so the motor's bytes are counted before it.
        const size_t runs = countOfByte('w'), stops = countOfByte('x');
        // The counter restarted: the head reads the turn since the last division.
        head.setStreamCount(countOf(step + errors[k]));
        ASSERT_TRUE(pumpUntil([&] { return f->AngularPoints->Count() == int(k + 1); }));
        read.push_back(readSec(step + errors[k]));
        base += read.back();
        if (k + 1 == targets.size()) break;
        // The reflector is driven back to its zero: the motor runs while the reading is far.
        const bool far = step + errors[k] > instrument::kMotorRunDistance;
        if (far) {
            ASSERT_TRUE(pumpUntil([&] { return countOfByte('w') > runs; }));
        }
        head.setStreamCount(0);
        ASSERT_TRUE(pumpUntil([&] { return !st.awaitingRotation; }));
        if (far) {
            EXPECT_TRUE(pumpUntil([&] { return countOfByte('x') > stops; }));
        }
    }
    ASSERT_TRUE(pumpUntil([&] { return !MeasurementRunning.load(); }));

    // The points: the division's error and the accumulated error against the target.
    ASSERT_EQ(f->AngularPoints->Count(), int(targets.size()));
    double sum = 0.0;
    for (size_t k = 0; k < targets.size(); ++k) {
        const double step = k == 0 ? 0.0 : (targets[k] - targets[k - 1]) * 3600;
        sum += read[k];
        const TPunktItem& p = (*f->AngularPoints)[int(k)];
        EXPECT_DOUBLE_EQ(p.Dystans, targets[k]) << k;
        EXPECT_NEAR(p.Xa, read[k] - step, 1e-6) << k;
        EXPECT_NEAR(p.Xr, sum - targets[k] * 3600, 1e-6) << k;
        EXPECT_NEAR(p.Xa, errors[k], secPerCount()) << k;
    }
    EXPECT_NEAR(st.angleBase, base, 1e-6);

    // The end of the run: ready for a new one, the data commands on, the chart plotted.
    EXPECT_EQ(Control<QPushButton>(f, "BStartPK")->text(), "&Pomiar");
    EXPECT_EQ(Control<QPushButton>(f, "BStartPK")->property("Tag").toInt(), 1);
    EXPECT_FALSE(DataSaved);
    EXPECT_TRUE(f->MenuCommand("Start1")->isEnabled());
    EXPECT_FALSE(f->MenuCommand("Stop1")->isEnabled());
    EXPECT_FALSE(info->isVisibleTo(f));
    for (const char* name : {"Zapisz1", "Zapiszjako1"}) EXPECT_TRUE(f->MenuCommand(name)->isEnabled()) << name;
    auto* chart = qobject_cast<platform::TChart*>(Control<platform::TChart>(f, "WykresPK"));
    ASSERT_NE(chart, nullptr);
    int plotted = 0;
    for (int s = 0; s < chart->SeriesCount(); ++s) plotted = std::max(plotted, chart->Series(s)->Count());
    EXPECT_EQ(plotted, int(targets.size()));
    EXPECT_EQ(Control<QTableWidget>(f, "GridOdchylkaPK")->rowCount(), int(targets.size()) + 1);

    // The chart by angle: the bottom axis names the angle and the points stand at the targets.
    f->Kat1->trigger();
    EXPECT_FALSE(f->Numerpunktu2->isChecked());
    EXPECT_EQ(chart->BottomAxis().Title(), Msg("stKat") + " [deg]");
    for (int s = 0; s < chart->SeriesCount(); ++s)
        if (chart->Series(s)->Count() == int(targets.size()))
            EXPECT_DOUBLE_EQ(chart->Series(s)->XValue(4), 360.0);
    EXPECT_EQ(Control<QStatusBar>(f, "StatusBar2")->findChild<QLabel*>("StatusBar2Panel1")->text(),
              Msg("stKat") + QString::fromUtf8(" - 360,0 °"));

    if (!qEnvironmentVariableIsEmpty("VKM30_SCREENSHOTS")) {
        f->resize(1280, 800);
        f->show();
        QCoreApplication::processEvents();
        f->grab().save(QDir(qEnvironmentVariable("VKM30_SCREENSHOTS")).filePath("angular_after_run.png"));
    }

    // Saved, then opened again into an emptied run.
    const QString file = QDir(data).filePath("podzial" + MeasurementFileExtension(4));
    saveAnswer = file;
    f->MenuCommand("Zapisz1")->trigger();
    ASSERT_TRUE(QFileInfo::exists(file));
    EXPECT_TRUE(DataSaved);
    const TPunkt saved = *f->AngularPoints;
    f->AngularPoints->Clear();
    openAnswer = file;
    f->MenuCommand("Otworz1")->trigger();
    ASSERT_EQ(f->AngularPoints->Count(), saved.Count());
    for (int k = 0; k < saved.Count(); ++k) {
        EXPECT_NEAR((*f->AngularPoints)[k].Xa, saved[k].Xa, 1e-3) << k;
        EXPECT_NEAR((*f->AngularPoints)[k].Xr, saved[k].Xr, 1e-3) << k;
    }
    EXPECT_EQ(Control<QPushButton>(f, "BStartPK")->text(), "&Pomiar");
    EXPECT_EQ(Control<QTableWidget>(f, "GridOdchylkaPK")->rowCount(), saved.Count() + 1);

    // "Pomiar" after a saved run: ready, the data cleared.
    Control<QPushButton>(f, "BStartPK")->click();
    EXPECT_EQ(Control<QPushButton>(f, "BStartPK")->text(), "&Start");
    EXPECT_EQ(f->AngularPoints->Count(), 0);
    EXPECT_FALSE(MeasurementRunning.load());
}

TEST_F(AngularEndToEndTest, StopAsksAndNoKeepsTheRunGoing) {
    startWithHead();
    TMainForm* f = form();
    enterPage();
    f->AngularTargetPoints->Clear();
    for (double a : {0.0, 15.0, 30.0}) f->AngularTargetPoints->Add().Dystans = a;
    Control<QPushButton>(f, "BStartPK")->click();
    ASSERT_TRUE(MeasurementRunning.load());
    EXPECT_DOUBLE_EQ(f->Acceptance().state.rotationStartValue, 27000.0);

    stopAnswer = mrNo;
    Control<QPushButton>(f, "BStartPK")->click();
    EXPECT_TRUE(MeasurementRunning.load());
    EXPECT_EQ(Control<QPushButton>(f, "BStartPK")->text(), "&Stop");

    stopAnswer = mrYes;
    f->MenuCommand("Stop1")->trigger();
    EXPECT_FALSE(MeasurementRunning.load());
    EXPECT_EQ(Control<QPushButton>(f, "BStartPK")->text(), "&Start");
    EXPECT_FALSE(f->findChild<QLabel*>("LabelInfoPK")->isVisibleTo(f));
    EXPECT_TRUE(f->MenuCommand("Start1")->isEnabled());
}

TEST_F(AngularEndToEndTest, ManualAcceptanceShowsItsButtonAndIsLockedDuringARun) {
    startWithHead();
    TMainForm* f = form();
    enterPage();
    QAction* manual = f->MenuCommand("ReczneZaliczeniePunktuPK");
    manual->setChecked(false);
    manual->trigger();
    ASSERT_TRUE(manual->isChecked());
    auto* accept = f->findChild<QPushButton*>("ButtonZaliczeniePK");
    EXPECT_TRUE(accept->isVisibleTo(f));
    EXPECT_EQ(Control<QStatusBar>(f, "StatusBar2")->findChild<QLabel*>("StatusBar2Panel2")->text(), QString::fromUtf8("Ręczne zaliczenie punktu"));

    f->AngularTargetPoints->Clear();
    for (double a : {0.0, 10.0}) f->AngularTargetPoints->Add().Dystans = a;
    Control<QPushButton>(f, "BStartPK")->click();
    ASSERT_TRUE(MeasurementRunning.load());
    EXPECT_TRUE(accept->isEnabled());
    messages.clear();
    manual->trigger();
    EXPECT_TRUE(manual->isChecked());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, Msg("stTrwaPomiar"));

    // The reflector set up, the button accepts the point where the reading stands.
    head.setStreamCount(countOf(f->Acceptance().state.rotationStartValue));
    ASSERT_TRUE(pumpUntil([&] { return !f->Acceptance().state.awaitingRotation; }));
    head.setStreamCount(countOf(5.0));
    ASSERT_TRUE(pumpUntil([&] { return std::abs(f->Acceptance().state.lastValue - readSec(5.0)) < 1e-6; }));
    accept->click();
    ASSERT_TRUE(pumpUntil([&] { return f->AngularPoints->Count() == 1; }));
    EXPECT_NEAR((*f->AngularPoints)[0].Xa, readSec(5.0), 1e-6);
}

TEST_F(AngularEndToEndTest, OneTargetIsNotARun) {
    startWithHead();
    TMainForm* f = form();
    enterPage();
    f->AngularTargetPoints->Clear();
    f->AngularTargetPoints->Add().Dystans = 0.0;
    Control<QPushButton>(f, "BStartPK")->click();
    EXPECT_FALSE(MeasurementRunning.load());
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().text, Msg("stZaMaloPunktow"));
}

// The page's way back, by its button and by Esc: refused with the run's message while a run
// lasts, then the mode is left for the main menu and the reading ends.
TEST_F(AngularEndToEndTest, WayBackIsRefusedDuringARunAndThenLeavesForTheMainMenu) {
    startWithHead();
    TMainForm* f = form();
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"button", [&] { Control<QPushButton>(f, "ButtonMainMenuPK")->click(); }},
        {"Esc", [&] { QTest::keyClick(f, Qt::Key_Escape); }},
    };
    for (const auto& [name, goBack] : ways) {
        SCOPED_TRACE(name);
        enterPage();
        f->AngularTargetPoints->Clear();
        for (double a : {0.0, 15.0, 30.0}) f->AngularTargetPoints->Add().Dystans = a;
        Control<QPushButton>(f, "BStartPK")->click();
        ASSERT_TRUE(MeasurementRunning.load());

        messages.clear();
        goBack();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, Msg("stZakoncz"));
        EXPECT_EQ(f->NotebookMainForm->currentIndex(), 5);
        EXPECT_TRUE(MeasurementRunning.load());

        stopAnswer = mrYes;
        Control<QPushButton>(f, "BStartPK")->click();
        ASSERT_FALSE(MeasurementRunning.load());
        head.clearReceived();
        goBack();
        EXPECT_EQ(f->NotebookMainForm->currentIndex(), 1);
        EXPECT_EQ(f->windowTitle(), QString::fromUtf8("Veldrasta - Menu Główne"));
        EXPECT_EQ(f->MeasurementMode, 10);
        const Bytes leave{'t', 'R'};
        EXPECT_TRUE(pumpUntil([&] {
            const Bytes sent = head.receivedCommands();
            return std::search(sent.begin(), sent.end(), leave.begin(), leave.end()) != sent.end();
        })) << ::testing::PrintToString(head.receivedCommands());
        EXPECT_TRUE(pumpUntil([&] { return !f->ReadingThread().Running(); }));
    }
}

}  // namespace
