#include "app/StraightnessRun.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "evaluation/MeasurementFiles.h"
#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "instrument/LinkPort.h"
#include "support/AcceptanceSinkDouble.h"
#include "support/RunViewDoubles.h"

namespace {

class RecordingStraightnessView : public testsupport::StraightnessRunViewDouble {
public:
    void SetLinkWatchdogEnabled(bool) override {}
    std::string sent;
    std::vector<std::string> log;
    int saveAnswer = 7;
    bool saveOk = true;
    bool dataError = false;
    bool confirm = true;
    int asked = 0;
    int mainPage = -1;
    int maps = 0;
    QString caption, prompt;
    QStringList titles;
    std::vector<QString> messages, errors;

    void SendCommandByte(uint8_t b) override { sent.push_back(static_cast<char>(b)); }
    int AskSaveChanges() override { ++asked; return saveAnswer; }
    bool SaveMeasurement() override { return saveOk; }
    bool DataErrorActive() override { return dataError; }
    bool ConfirmEndRun() override { ++asked; return confirm; }
    void SetStartCaption(const QString& c) override { caption = c; }
    void ShowAcceptPrompt(const QString& p) override { prompt = p; }
    void SetChartTitles(const QStringList& t, const QString&) override { titles = t; }
    void ShowMainPage(int p) override { mainPage = p; }
    void BuildFlatnessMap() override { ++maps; }
    void ShowMessage(const QString& m) override { messages.push_back(m); }
    void ReportError(const QString& m) override { errors.push_back(m); }
    void StopReading() override { log.push_back("stop"); }
    void PlotStraightness() override { log.push_back("plot"); }
};

struct StraightnessFixture : ::testing::Test {
    TCykl cycles, cyclesY, flatness;
    TPunkt targets, angularTargets, angularPoints, points;
    std::atomic<bool> headRequest{false};
    testsupport::AcceptanceSinkDouble sink;
    instrument::PointAcceptance engine{sink, targets, angularTargets, angularPoints, headRequest};
    TSettings settings;
    testsupport::PositioningRunViewDouble posView;
    PositioningRun positioning{cycles, cyclesY, targets, engine, settings, posView};
    uint8_t mode = 2;
    int samples = 0;
    RecordingStraightnessView view;
    StraightnessRun run{positioning, points, flatness, engine, settings, mode, samples, view};
    QTemporaryDir dir;

    void SetUp() override {
        settings.FlatnessDir = dir.path();
        MeasurementRunning = false;
        DataSaved = true;
        FlatnessDataSaved = true;
        InterfaceMode = 1;
        instrument::SetLink({});  // the link chosen by the setting
        SignalMonitorStopped = false;
        StopReason = 0;
    }
    void TearDown() override { instrument::ResetLink(); }
    // Readings along a line that is not straight: 0, 3, 1, 4, ... at 10 cm steps.
    void takeReadings(int n) {
        for (int i = 0; i < n; ++i) {
            auto& p = points.Add();
            p.Dystans = 10.0 * i;
            p.Xa = (i % 2) ? 3.0 + i : 1.0 * i;
        }
        run.StraightnessSampleCount = n;
    }
};

TEST_F(StraightnessFixture, StartAndStopSendTheirBytes) {
    struct Case { uint8_t mode; int link; bool dataError; int method; const char* start; const char* stop; };
    const Case cases[] = {
        {2, 1, false, 0, "@", ""},
        {2, 0, true, 0, "RF@", ""},
        {3, 1, true, 0, "F@", ""},
        {0, 1, false, 0, "@", "L"},   // linear positioning, cycle 1 under way
        {0, 0, true, 1, "RF@", "L"},  // pilgrim
    };
    for (const Case& c : cases) {
        mode = c.mode;
        InterfaceMode = c.link;
        instrument::SetLink({});  // the link chosen by the setting
        settings.PositioningMethod = c.method;
        view.dataError = c.dataError;
        view.sent.clear();
        view.asked = 0;
        MeasurementRunning = false;
        SignalMonitorStopped = false;
        run.StartStraightnessRun();
        EXPECT_EQ(view.sent, c.start) << int(c.mode) << " " << c.link;
        EXPECT_TRUE(MeasurementRunning);
        EXPECT_EQ(bool(SignalMonitorStopped), c.dataError);
        EXPECT_EQ(view.caption, QStringLiteral("&Stop"));
        view.sent.clear();
        const int askedAtStart = view.asked;
        run.StartStraightnessRun();  // the second press ends the run
        EXPECT_EQ(view.sent, c.stop);
        EXPECT_FALSE(MeasurementRunning);
        EXPECT_EQ(view.asked - askedAtStart, c.mode == 0 ? 1 : 0) << "only positioning asks";
    }
}

TEST_F(StraightnessFixture, PositioningEndAsksAndCycleZeroOnlyResets) {
    mode = 0;
    run.StartStraightnessRun();
    view.sent.clear();
    view.confirm = false;
    run.StartStraightnessRun();
    EXPECT_EQ(view.sent, "");
    EXPECT_TRUE(MeasurementRunning) << "No keeps the run going";

    view.confirm = true;
    positioning.CurrentCycle() = 0;
    run.StartStraightnessRun();
    EXPECT_EQ(view.sent, "RL");
    EXPECT_FALSE(MeasurementRunning);

    // A linear stop inside cycle 1 goes to the end page with Next disabled.
    run.StartStraightnessRun();
    view.sent.clear();
    run.StartStraightnessRun();
    EXPECT_EQ(view.sent, "L");
    EXPECT_FALSE(positioning.EndPage.next);
    EXPECT_TRUE(positioning.EndPage.repeat);
}

TEST_F(StraightnessFixture, RunTitlesAndPrompt) {
    struct Case { uint8_t mode; int method, flatMethod, hLines, line; QStringList title; };
    const QString p = Msg("stPomiarProsto"), m = Msg("stMapaOs");
    const Case cases[] = {
        {2, 0, 0, 3, 1, {p}},
        {2, 2, 0, 3, 1, {p + " - " + Msg("stOsPozioma") + " <->"}},
        {3, 0, 0, 3, 5, {p, m + " 5"}},
        {3, 0, 1, 3, 5, {p, m + " V2"}},
        {3, 0, 1, 3, 3, {p, m + " H3"}},
    };
    for (const Case& c : cases) {
        mode = c.mode;
        settings.StraightnessMethod = c.method;
        settings.FlatnessMethod = c.flatMethod;
        settings.FlatnessHLines = c.hLines;
        run.FlatnessLine = c.line;
        MeasurementRunning = false;
        run.StartStraightnessRun();
        EXPECT_EQ(view.titles, c.title);
        EXPECT_EQ(view.prompt, Msg("stZaliczPunkt") + " 1.");
        MeasurementRunning = false;
    }
}

TEST_F(StraightnessFixture, StartInStraightnessModeAsksToSaveFirst) {
    DataSaved = false;
    view.saveAnswer = 2;
    run.StartStraightnessRun();
    EXPECT_EQ(view.sent, "");
    EXPECT_FALSE(MeasurementRunning);
    view.saveAnswer = 6;
    view.saveOk = false;
    run.StartStraightnessRun();
    EXPECT_FALSE(MeasurementRunning) << "a cancelled save does not start the run";
    view.saveOk = true;
    run.StartStraightnessRun();
    EXPECT_TRUE(MeasurementRunning);
    mode = 3;
    MeasurementRunning = false;
    view.asked = 0;
    run.StartStraightnessRun();
    EXPECT_EQ(view.asked, 0) << "a flatness line never asks";
}

TEST_F(StraightnessFixture, StoreFlatnessLineChecksTheLineNumber) {
    struct Case { int method, h, v, line; bool stored; };
    const Case cases[] = {
        {0, 3, 3, 1, true},   {0, 3, 3, 16, true}, {0, 3, 3, 0, false},
        {0, 3, 3, 17, false}, {1, 3, 3, 6, true},  {1, 3, 3, 7, false},
        {1, 8, 8, 16, true},
    };
    takeReadings(5);
    for (const Case& c : cases) {
        flatness.Clear();
        flatness.Add();  // a short map is filled up to 16 lines
        run.FlatnessLinesDone = 0;
        view.errors.clear();
        settings.FlatnessMethod = c.method;
        settings.FlatnessHLines = c.h;
        settings.FlatnessVLines = c.v;
        run.FlatnessLine = c.line;
        EXPECT_EQ(run.StoreFlatnessLine(), c.stored) << c.line;
        ASSERT_EQ(flatness.Count(), 16);
        EXPECT_EQ(view.errors.size(), c.stored ? 0u : 1u);
        if (c.stored) {
            const TPunkt& l = flatness[c.line - 1].Punkt;
            ASSERT_EQ(l.Count(), 5);
            EXPECT_DOUBLE_EQ(l[0].Xa, 0.0);  // end-point line residuals
            EXPECT_DOUBLE_EQ(l[4].Xa, 0.0);
            EXPECT_DOUBLE_EQ(l[1].Xa, 3.0);
            EXPECT_EQ(run.FlatnessLinesDone, 1u << (c.line - 1));
        } else {
            EXPECT_EQ(run.FlatnessLinesDone, 0u);
        }
    }
}

TEST_F(StraightnessFixture, EndingAFlatnessLineStoresItAndWritesTheBackup) {
    mode = 3;
    run.FlatnessLine = 2;
    for (int readings : {3, 4}) {
        run.StartStraightnessRun();
        takeReadings(readings);
        run.StartStraightnessRun();
        const bool stored = readings > 3;
        EXPECT_EQ(FlatnessDataSaved, !stored);
        EXPECT_EQ(DataSaved, !stored);
        EXPECT_EQ(view.maps, stored ? 1 : 0);
        EXPECT_EQ(QFile::exists(QDir(dir.path()).filePath("KopiaZapasowa.dt5")), stored);
        EXPECT_EQ(view.caption, QStringLiteral("&Start"));
    }
    TCykl lines;
    int32_t h = 0, v = 0;
    uint8_t method = 9;
    TMeasurementHeader header;
    LoadFlatnessFile(lines, QDir(dir.path()).filePath("KopiaZapasowa.dt5"), h, method, v, header);
    ASSERT_EQ(lines.Count(), 16);
    EXPECT_EQ(lines[1].Punkt.Count(), 4);
    EXPECT_EQ(lines[0].Punkt.Count(), 0);
    EXPECT_EQ(method, 0);
    EXPECT_EQ(h, 3);
}

TEST_F(StraightnessFixture, LeavingPagesAndTheMode) {
    // Straightness: unsaved data are asked about; Cancel stays.
    DataSaved = false;
    view.saveAnswer = 2;
    run.LeaveMeasurementPage();
    EXPECT_EQ(view.sent, "");
    EXPECT_EQ(mode, 2);
    view.saveAnswer = 7;
    settings.StraightnessMethod = 2;
    run.LeaveMeasurementPage();
    EXPECT_EQ(view.sent, "tRY");
    EXPECT_EQ(mode, 10);
    EXPECT_EQ(StopReason.load(), 23);
    EXPECT_EQ(view.mainPage, 1);
    EXPECT_TRUE(DataSaved);

    // Any page during a run: refused with the message, nothing sent.
    for (uint8_t m : {0, 2, 3, 4}) {
        mode = m;
        MeasurementRunning = true;
        view.sent.clear();
        run.LeaveMeasurementPage();
        EXPECT_EQ(view.sent, "");
        EXPECT_EQ(view.messages.back(), Msg("stZakoncz"));
        EXPECT_EQ(mode, m);
    }
    MeasurementRunning = false;

    // A flatness line's page goes back to the flatness page without a question.
    mode = 3;
    DataSaved = false;
    view.asked = 0;
    view.sent.clear();
    run.LeaveMeasurementPage();
    EXPECT_EQ(view.asked, 0);
    EXPECT_EQ(view.sent, "R");
    EXPECT_EQ(view.mainPage, 8);
    EXPECT_TRUE(DataSaved);

    // The flatness page asks about an unsaved map and clears the measured lines.
    FlatnessDataSaved = false;
    run.FlatnessLinesDone = 0x15;
    view.saveAnswer = 2;
    run.LeaveFlatnessPage();
    EXPECT_EQ(run.FlatnessLinesDone, 0x15);
    EXPECT_EQ(view.mainPage, 8);
    view.saveAnswer = 7;
    run.LeaveFlatnessPage();
    EXPECT_EQ(run.FlatnessLinesDone, 0);
    EXPECT_TRUE(FlatnessDataSaved);
    EXPECT_EQ(view.mainPage, 1);
}

}  // namespace
