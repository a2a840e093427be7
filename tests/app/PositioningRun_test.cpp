#include "app/PositioningRun.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "evaluation/MeasurementFiles.h"
#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "support/AcceptanceSinkDouble.h"
#include "support/RunViewDoubles.h"

namespace {

class RecordingRunView : public testsupport::PositioningRunViewDouble {
public:
    std::vector<QString> errors;
    std::vector<int> shown;  // cycles shown
    int page = -1;
    int resets = 0;
    int saveAnswer = 7;
    bool saveSucceeds = true;
    int insertAnswer = 0;
    QString insertFile;
    bool confirm = true;
    QString title;

    void ReportError(const QString& m) override { errors.push_back(m); }
    void ShowPositioningCycle(int c) override { shown.push_back(c); }
    void ShowButtonPage(int p) override { page = p; }
    void ResetChartAndGrid() override { ++resets; }
    int AskSaveChanges() override { return saveAnswer; }
    bool SaveWithDialog() override { return saveSucceeds; }
    int AskInsertSource() override { return insertAnswer; }
    QString ChooseInsertFile() override { return insertFile; }
    bool ConfirmDeleteCycle(int) override { return confirm; }
    void SetChartTitle(const QString& t) override { title = t; }
};

struct RunFixture : ::testing::Test {
    TCykl cycles, cyclesY;
    TPunkt targets, angularTargets, angularPoints;
    std::atomic<bool> headRequest{false};
    testsupport::AcceptanceSinkDouble sink;
    instrument::PointAcceptance engine{sink, targets, angularTargets, angularPoints, headRequest};
    TSettings settings;
    RecordingRunView view;
    PositioningRun run{cycles, cyclesY, targets, engine, settings, view};
    QTemporaryDir dir;

    void SetUp() override {
        settings.PositioningDir = dir.path();
        MeasurementRunning = false;
        DataSaved = true;
        DeviationJumpSeen = false;
    }
    // Fills the cycle being measured with `n` points whose forward values carry the cycle.
    void fillCurrent(int n) {
        TPunkt& p = cycles[run.CurrentCycle() - 1].Punkt;
        for (int i = 0; i < n; ++i) {
            auto& it = p.Add();
            it.Dystans = 10.0 * i;
            it.Xa = run.CurrentCycle() + 0.1 * i;
            it.Xr = -run.CurrentCycle();
        }
    }
    // A linear pass to its end, as the reading thread ends it.
    void measureLinearCycle(int n) {
        fillCurrent(n);
        run.SaveBackupCopy();
    }
    // The stop inside a linear cycle, as the run end does it.
    void stopInsideCycle() {
        run.EndPage.next = false;
        run.EnableControlsAfterMeasurement();
    }
    std::vector<int> counts(const TCykl& c) const {
        std::vector<int> r;
        for (int i = 0; i < c.Count(); ++i) r.push_back(c[i].Punkt.Count());
        return r;
    }
};

TEST_F(RunFixture, StartCreatesTheCyclesOfTheMethod) {
    struct Case { int method, cycleCount; bool posAndStr; int cycles, cyclesY; const char* title; };
    const Case cases[] = {
        {0, 3, false, 1, 0, "Cykl 1"},
        {0, 3, true, 1, 1, "Cykl 1"},
        {1, 4, false, 4, 0, "Punkt 0"},
        {2, 2, true, 2, 1, "Punkt 0"},
        {1, 0, false, 1, 0, "Punkt 0"},
    };
    for (const Case& c : cases) {
        settings.PositioningMethod = c.method;
        settings.CycleCount = c.cycleCount;
        settings.PosAndStr = c.posAndStr;
        cycles.Add();
        targets.Add();
        engine.state.pointIndex = 5;
        engine.state.acceptState = 3;
        run.StartRun();
        EXPECT_EQ(cycles.Count(), c.cycles) << c.method << " " << c.cycleCount;
        EXPECT_EQ(cyclesY.Count(), c.cyclesY);
        EXPECT_EQ(run.CurrentCycle(), 1);
        EXPECT_EQ(targets.Count(), 0);
        EXPECT_EQ(engine.state.pointIndex, 0);
        EXPECT_EQ(engine.state.acceptState, 0);
        EXPECT_TRUE(engine.state.forwardPass);
        EXPECT_TRUE(MeasurementRunning);
        EXPECT_TRUE(DataSaved);
        EXPECT_EQ(view.title, QString::fromUtf8(c.title));
    }
    settings.PointsFromList = true;
    targets.Add();
    run.StartRun();
    EXPECT_EQ(targets.Count(), 1) << "a list of targets is kept";
}

TEST_F(RunFixture, LinearPassesWriteTheBackupThatReadsBack) {
    run.StartRun();
    measureLinearCycle(3);
    EXPECT_FALSE(MeasurementRunning);
    EXPECT_FALSE(DataSaved);
    EXPECT_EQ(view.page, 3);
    EXPECT_TRUE(run.EndPage.next);
    EXPECT_TRUE(run.EndPage.review);
    EXPECT_FALSE(run.EndPage.results) << "results need two cycles";

    run.ZakonczeniePozNastepnyClick();
    EXPECT_EQ(run.CurrentCycle(), 2);
    EXPECT_EQ(view.title, QStringLiteral("Cykl 2"));
    EXPECT_TRUE(MeasurementRunning);
    measureLinearCycle(3);
    EXPECT_TRUE(run.EndPage.results);

    TCykl back;
    LoadPositioningFile(back, QDir(dir.path()).filePath("KopiaZapasowa.dt2"), nullptr);
    ASSERT_EQ(counts(back), (std::vector<int>{3, 3}));
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 3; ++i) {
            EXPECT_DOUBLE_EQ(back[c].Punkt[i].Xa, cycles[c].Punkt[i].Xa);
            EXPECT_DOUBLE_EQ(back[c].Punkt[i].Xr, -(c + 1));
        }
    EXPECT_TRUE(view.errors.empty());
}

TEST_F(RunFixture, UnfinishedCycleIsDroppedOnceHoweverOftenPressed) {
    // Each row: the buttons pressed after a stop inside cycle 3 of a linear run.
    enum Press { Review, Results };
    const std::vector<std::vector<Press>> rows = {
        {Review}, {Results}, {Review, Review}, {Results, Review, Results, Review},
    };
    for (const auto& presses : rows) {
        cycles.Clear();
        run.StartRun();
        measureLinearCycle(3);
        run.ZakonczeniePozNastepnyClick();
        measureLinearCycle(3);
        run.ZakonczeniePozNastepnyClick();
        fillCurrent(1);
        stopInsideCycle();
        for (Press p : presses) {
            if (p == Review) run.ZakonczeniePozPrzegladajClick();
            else run.ZakonczeniePozRaportClick();
        }
        EXPECT_EQ(counts(cycles), (std::vector<int>{3, 3})) << presses.size();
        EXPECT_EQ(run.CurrentCycle(), 2);
    }
    // A finished pass is never dropped: reviewing after it keeps every cycle.
    run.ZakonczeniePozNastepnyClick();
    measureLinearCycle(3);
    run.EndPage.next = false;
    run.ZakonczeniePozPrzegladajClick();
    EXPECT_EQ(cycles.Count(), 3);
    // Next of the previous pass does not make the cycle started with it finished.
    run.ZakonczeniePozNastepnyClick();
    fillCurrent(1);
    run.EnableControlsAfterMeasurement();
    run.ZakonczeniePozPrzegladajClick();
    EXPECT_EQ(cycles.Count(), 3);
}

TEST_F(RunFixture, RepeatWithNoCycleLeftStartsAFreshFirstCycle) {
    run.StartRun();
    fillCurrent(2);
    stopInsideCycle();
    run.ZakonczeniePozRaportClick();  // drops the only cycle
    ASSERT_EQ(cycles.Count(), 0);
    ASSERT_EQ(run.CurrentCycle(), 0);
    targets.Add();
    run.ZakonczeniePozPowtorzClick();
    EXPECT_EQ(cycles.Count(), 1);
    EXPECT_EQ(run.CurrentCycle(), 1);
    EXPECT_EQ(targets.Count(), 0) << "the first cycle teaches the targets again";
    EXPECT_TRUE(MeasurementRunning);
    EXPECT_EQ(view.page, 0);
    EXPECT_EQ(view.title, QStringLiteral("Cykl 1"));
}

TEST_F(RunFixture, RepeatReplacesTheCurrentCycleOrTheWholePilgrimRun) {
    settings.PosAndStr = true;
    run.StartRun();
    measureLinearCycle(3);
    run.ZakonczeniePozNastepnyClick();
    measureLinearCycle(4);
    targets.Add();
    run.ZakonczeniePozPowtorzClick();
    ASSERT_EQ(counts(cycles), (std::vector<int>{3, 0}));
    EXPECT_DOUBLE_EQ(cycles[0].Punkt[0].Xa, 1.0);
    EXPECT_EQ(cyclesY.Count(), 2);
    EXPECT_EQ(run.CurrentCycle(), 2);
    EXPECT_EQ(targets.Count(), 1) << "targets are taught in the first cycle only";

    settings.PositioningMethod = 1;
    settings.CycleCount = 3;
    fillCurrent(2);
    engine.state.acceptState = 4;
    run.ZakonczeniePozPowtorzClick();
    EXPECT_EQ(counts(cycles), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(run.CurrentCycle(), 1);
    EXPECT_EQ(engine.state.acceptState, 0);
    EXPECT_EQ(view.title, QStringLiteral("Punkt 0"));
}

TEST_F(RunFixture, ReviewMovesAndDeletesWithTheSecondAxisInStep) {
    struct Case { int cyclesBefore, current; int currentAfter; double shownXa; };
    const Case cases[] = {
        {3, 3, 2, 2.0},  // last deleted: the one before is shown
        {3, 1, 1, 2.0},  // first deleted: the former second is shown
        {3, 2, 2, 3.0},
    };
    settings.PosAndStr = true;
    for (const Case& c : cases) {
        cycles.Clear();
        cyclesY.Clear();
        for (int i = 1; i <= c.cyclesBefore; ++i) {
            cycles.Add().Punkt.Add().Xa = i;
            cyclesY.Add().Punkt.Add().Xa = 10 * i;
        }
        run.CurrentCycle() = c.current;
        run.ButtonPozUsunClick();
        ASSERT_EQ(cycles.Count(), c.cyclesBefore - 1);
        ASSERT_EQ(cyclesY.Count(), c.cyclesBefore - 1);
        EXPECT_EQ(run.CurrentCycle(), c.currentAfter);
        EXPECT_DOUBLE_EQ(cycles[run.CurrentCycle() - 1].Punkt[0].Xa, c.shownXa);
        EXPECT_DOUBLE_EQ(cyclesY[run.CurrentCycle() - 1].Punkt[0].Xa, 10 * c.shownXa);
        EXPECT_EQ(view.shown.back(), c.currentAfter);
    }
    // Next on the last and previous on the first stay where they are.
    run.CurrentCycle() = 2;
    run.ButtonPozNastepnyClick();
    EXPECT_EQ(run.CurrentCycle(), 2);
    run.CurrentCycle() = 1;
    run.ButtonPozPoprzedniClick();
    EXPECT_EQ(run.CurrentCycle(), 1);

    view.confirm = false;
    run.ButtonPozUsunClick();
    EXPECT_EQ(cycles.Count(), 2) << "No keeps the cycle";
    view.confirm = true;
    run.ButtonPozUsunClick();
    run.ButtonPozUsunClick();
    EXPECT_EQ(cycles.Count(), 0);
    EXPECT_EQ(cyclesY.Count(), 0);
    EXPECT_FALSE(run.DeleteEnabled);
    const int resets = view.resets;
    run.ButtonPozUsunClick();  // nothing left: no crash, nothing shown
    run.ButtonPozNastepnyClick();
    EXPECT_EQ(view.resets, resets + 1);
}

TEST_F(RunFixture, InsertAppendsCyclesOfAFileWithTheSamePointCount) {
    TCykl fileCycles;
    for (int c = 0; c < 2; ++c) {
        TPunkt& p = fileCycles.Add().Punkt;
        for (int i = 0; i < 3; ++i) p.Add().Xa = 100 + 10 * c + i;
    }
    const QString good = QDir(dir.path()).filePath("good.dt2");
    SavePositioningFile(good, TMeasurementHeader{}, fileCycles);
    fileCycles[0].Punkt.Add();
    const QString other = QDir(dir.path()).filePath("other.dt2");
    SavePositioningFile(other, TMeasurementHeader{}, fileCycles);

    TPunkt& own = cycles.Add().Punkt;
    for (int i = 0; i < 3; ++i) own.Add().Xa = i;
    view.insertAnswer = 7;

    view.insertFile = other;
    run.ButtonPozWstawClick();
    EXPECT_EQ(cycles.Count(), 1);
    ASSERT_EQ(view.errors.size(), 1u);
    EXPECT_EQ(view.errors[0], Msg("stRoznePunkty"));

    view.insertFile = QDir(dir.path()).filePath("missing.dt2");
    run.ButtonPozWstawClick();
    EXPECT_EQ(cycles.Count(), 1);
    EXPECT_EQ(view.errors.size(), 2u);

    view.insertFile = good;
    run.ButtonPozWstawClick();
    ASSERT_EQ(counts(cycles), (std::vector<int>{3, 3, 3}));
    EXPECT_DOUBLE_EQ(cycles[2].Punkt[2].Xa, 112.0);
    EXPECT_EQ(run.CurrentCycle(), 3);
    EXPECT_EQ(view.shown.back(), 3);
    EXPECT_FALSE(DataSaved);

    // No more cycles than a positioning file may hold, or the saved run would not open again.
    while (cycles.Count() < kMaxRunCycles - 1) cycles.Add().Assign(cycles[0]);
    run.ButtonPozWstawClick();
    EXPECT_EQ(cycles.Count(), kMaxRunCycles - 1);
    EXPECT_EQ(view.errors.back(), MeasurementFileTooLarge().message());
    cycles.Delete(0);
    run.ButtonPozWstawClick();
    EXPECT_EQ(cycles.Count(), kMaxRunCycles);

    settings.PositioningMethod = 1;
    cycles.Delete(0);
    run.ButtonPozWstawClick();
    EXPECT_EQ(cycles.Count(), kMaxRunCycles - 1) << "cycles are inserted only into a linear run";
}

TEST_F(RunFixture, FinishTrimsToTheShortestCycleAndSetsTheEndPage) {
    struct Case { std::vector<int> before, after; bool backup, review, results; };
    const Case cases[] = {
        {{7, 7, 6}, {6, 6, 6}, true, true, true},
        {{8, 6}, {6, 6}, true, true, true},
        {{5, 5}, {5, 5}, true, true, false},
        {{2, 3}, {2, 2}, false, false, false},
        {{}, {}, false, false, false},
    };
    settings.PositioningMethod = 1;
    for (const Case& c : cases) {
        QFile::remove(BackupFileName(dir.path(), mfPositioning));
        cycles.Clear();
        for (int n : c.before) {
            TPunkt& p = cycles.Add().Punkt;
            for (int i = 0; i < n; ++i) p.Add().Xa = i;
        }
        MeasurementRunning = true;
        DataSaved = true;
        run.FinishPositioningMeasurement();
        EXPECT_EQ(counts(cycles), c.after);
        EXPECT_EQ(run.CurrentCycle(), static_cast<int>(c.after.size()));
        EXPECT_FALSE(MeasurementRunning);
        EXPECT_EQ(DataSaved, !c.backup);
        EXPECT_EQ(QFile::exists(BackupFileName(dir.path(), mfPositioning)), c.backup);
        EXPECT_EQ(run.EndPage.review, c.review);
        EXPECT_EQ(run.EndPage.results, c.results);
        EXPECT_FALSE(run.EndPage.next);
        EXPECT_EQ(view.page, 3);
    }
    TCykl back;
    cycles.Clear();
    for (int n : {7, 7, 6}) {
        TPunkt& p = cycles.Add().Punkt;
        for (int i = 0; i < n; ++i) p.Add().Xa = i;
    }
    run.FinishPositioningMeasurement();
    LoadPositioningFile(back, BackupFileName(dir.path(), mfPositioning), nullptr);
    EXPECT_EQ(counts(back), (std::vector<int>{6, 6, 6}));
}

TEST_F(RunFixture, BackupThatCannotBeWrittenIsReportedOnceAndTheRunEnds) {
    settings.PositioningDir = QDir(dir.path()).filePath("no/such/folder");
    run.StartRun();
    measureLinearCycle(3);
    EXPECT_EQ(view.errors.size(), 1u);
    EXPECT_FALSE(MeasurementRunning);
    EXPECT_EQ(view.page, 3);
    EXPECT_TRUE(run.EndPage.next);
    run.ZakonczeniePozNastepnyClick();
    measureLinearCycle(3);
    EXPECT_EQ(view.errors.size(), 1u) << "one message per run";
    EXPECT_EQ(view.page, 3);
    EXPECT_TRUE(run.EndPage.results);
    // A new run reports again.
    run.StartRun();
    measureLinearCycle(3);
    EXPECT_EQ(view.errors.size(), 2u);
}

TEST_F(RunFixture, NewRunAsksToSaveFirst) {
    struct Case { int answer; bool saveSucceeds; bool prepared; bool savedAfter; };
    const Case cases[] = {
        {2, true, false, false},
        {6, false, false, false},  // a cancelled save dialog acts as Cancel
        {6, true, true, false},
        {7, true, true, true},
    };
    for (const Case& c : cases) {
        for (bool fromReview : {false, true}) {
            cycles.Clear();
            cycles.Add();
            DataSaved = false;
            view.page = 3;
            view.saveAnswer = c.answer;
            view.saveSucceeds = c.saveSucceeds;
            if (fromReview) run.ButtonPozPoprzednieClick();
            else run.ZakonczeniePozKoniecClick();
            EXPECT_EQ(view.page, c.prepared ? 0 : 3) << c.answer;
            EXPECT_EQ(DataSaved, c.savedAfter);
            EXPECT_EQ(cycles.Count(), (c.prepared && fromReview) ? 0 : 1);
        }
    }
}

}  // namespace
