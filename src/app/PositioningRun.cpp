#include "app/PositioningRun.h"

#include <algorithm>
#include <exception>

#include "evaluation/MeasurementFiles.h"
#include "evaluation/PointStore.h"
#include "foundations/NumberFormat.h"
#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"

const std::vector<int>& PositioningDataTags() {
    static const std::vector<int> tags{2, 3, 4, 5, 28, 42};
    return tags;
}

QString ReturnToStartPrompt(double startPointMm, int lengthUnit) {
    const bool inch = lengthUnit == 1;
    const QString value = foundations::formatFixed(inch ? startPointMm * 0.03937007874015748 : startPointMm, 15, inch ? 4 : 3,
                                                   foundations::systemDecimalSeparator()) +
                          (inch ? QStringLiteral(" in") : QStringLiteral(" mm"));
    return FillPlaceholder(Msg("stWrocDoStartu"), value);
}

namespace {
QString CycleTitle(int cycle) { return Msg("stCykl") + QStringLiteral(" ") + QString::number(cycle); }
QString PointZeroTitle() { return Msg("stPunkt") + QStringLiteral(" 0"); }
}  // namespace

PositioningRun::PositioningRun(TCykl& cycles, TCykl& cyclesY, TPunkt& targets,
                               instrument::PointAcceptance& engine, const TSettings& settings,
                               PositioningRunView& view)
    : cycles_(cycles), cyclesY_(cyclesY), targets_(targets), engine_(engine), settings_(settings),
      view_(view) {}

void PositioningRun::addCycle() {
    cycles_.Add();
    if (settings_.PosAndStr) cyclesY_.Add();
}

void PositioningRun::resetAcceptance(bool resetAcceptState) {
    engine_.ResetForCycle(resetAcceptState);
}

void PositioningRun::beginRunning() {
    // Next is offered again only when this cycle's pass ends.
    EndPage.next = false;
    MeasurementRunning = true;
    view_.SetSetupControlsEnabled(false);
    view_.ShowButtonPage(0);
    view_.SetTableEnabled(false);
}

void PositioningRun::StartRun() {
    view_.RestartCounting();
    CurrentCycle() = 1;
    view_.SetAcceptButtonEnabled(true);
    cycles_.Clear();
    cycles_.Add();
    cyclesY_.Clear();
    if (settings_.PosAndStr) cyclesY_.Add();
    const bool pilgrim = settings_.PositioningMethod != 0;
    if (pilgrim)
        for (int i = 1; i < settings_.CycleCount; ++i) cycles_.Add();
    if (!settings_.PointsFromList) targets_.Clear();
    resetAcceptance(true);
    DeviationJumpSeen = false;
    view_.SetChartTitle(pilgrim ? PointZeroTitle() : CycleTitle(1));
    MeasurementRunning = true;
    EndPage.next = false;
    view_.SetSetupControlsEnabled(false);
    DataSaved = true;
    cycleUnfinished_ = !pilgrim;
    backupFailureReported_ = false;
}

void PositioningRun::RestartPositioningRun() {
    view_.HideBacklash();
    view_.ResetChartAndGrid();
    const bool pilgrim = settings_.PositioningMethod != 0;
    if (pilgrim) {
        CurrentCycle() = 1;
        cycles_.Clear();
        if (!settings_.PointsFromList) targets_.Clear();
        for (int i = 0; i < std::max(1, settings_.CycleCount); ++i) cycles_.Add();
        view_.SetChartTitle(PointZeroTitle());
        backupFailureReported_ = false;
    } else {
        // Repeating with no cycle left (all dropped or deleted) measures a fresh first cycle.
        if (cycles_.Count() == 0 || CurrentCycle() < 1) CurrentCycle() = 1;
        else if (CurrentCycle() > cycles_.Count()) CurrentCycle() = cycles_.Count();
        if (CurrentCycle() - 1 < cycles_.Count()) cycles_.Delete(CurrentCycle() - 1);
        if (CurrentCycle() - 1 < cyclesY_.Count()) cyclesY_.Delete(CurrentCycle() - 1);
        if (!settings_.PointsFromList && CurrentCycle() == 1) targets_.Clear();
        addCycle();
        // The repeated cycle is measured into the one just added.
        CurrentCycle() = cycles_.Count();
        if (CurrentCycle() == 1) backupFailureReported_ = false;
        view_.SetChartTitle(CycleTitle(CurrentCycle()));
    }
    view_.PlotPositioningCycles();
    resetAcceptance(pilgrim);
    view_.RestartCounting();
    cycleUnfinished_ = !pilgrim;
    beginRunning();
}

void PositioningRun::StartPositioningCycle() {
    view_.HideBacklash();
    CurrentCycle() = cycles_.Count() + 1;
    view_.ResetChartAndGrid();
    resetAcceptance(false);
    addCycle();
    view_.SetChartTitle(CycleTitle(CurrentCycle()));
    view_.PlotPositioningCycles();
    cycleUnfinished_ = settings_.PositioningMethod == 0;
    beginRunning();
}

void PositioningRun::ZakonczeniePozPowtorzClick() {
    view_.ResetHeadFlags();
    view_.ClearChartBackground();
    RestartPositioningRun();
}

void PositioningRun::deleteCycle(int index) {
    if (index >= 0 && index < cycles_.Count()) cycles_.Delete(index);
    // The second axis stays in step with the first.
    if (index >= 0 && index < cyclesY_.Count()) cyclesY_.Delete(index);
}

bool PositioningRun::stoppedCycleHoldsPoints() const {
    const int index = CurrentCycle() - 1;
    return cycleUnfinished_ && index >= 0 && index < cycles_.Count() && cycles_[index].Punkt.Count() > 0;
}

bool PositioningRun::stoppedFirstCycleHoldsPoints() const {
    return CurrentCycle() == 1 && stoppedCycleHoldsPoints();
}

void PositioningRun::dropUnfinishedCycle(bool keepStoppedFirstCycle) {
    // A linear run stopped inside a cycle: that cycle is dropped, once. The review keeps a
    // stopped first cycle with accepted points: they are all the run has measured.
    if (settings_.PositioningMethod != 0 || EndPage.next || !cycleUnfinished_) return;
    if (keepStoppedFirstCycle && stoppedFirstCycleHoldsPoints()) return;
    cycleUnfinished_ = false;
    if (CurrentCycle() < 1) return;
    deleteCycle(CurrentCycle() - 1);
    --CurrentCycle();
}

void PositioningRun::ZakonczeniePozRaportClick() {
    dropUnfinishedCycle(false);
    view_.ShowResults();
}

void PositioningRun::showCurrentCycle() {
    if (CurrentCycle() >= 1 && CurrentCycle() <= cycles_.Count()) {
        view_.ShowPositioningCycle(CurrentCycle());
        view_.ShowBacklash();
    }
}

void PositioningRun::ZakonczeniePozPrzegladajClick() {
    dropUnfinishedCycle(true);
    if (CurrentCycle() == 0) {
        CurrentCycle() = 1;
        return;
    }
    view_.HidePositioningPanels();
    DeleteEnabled = cycles_.Count() > 0;
    showCurrentCycle();
    view_.ShowButtonPage(1);
}

void PositioningRun::ButtonPozNastepnyClick() {
    if (CurrentCycle() < cycles_.Count()) ++CurrentCycle();
    showCurrentCycle();
}

void PositioningRun::ButtonPozPoprzedniClick() {
    if (CurrentCycle() > 1) --CurrentCycle();
    showCurrentCycle();
}

void PositioningRun::ButtonRaportPoprzednieClick() {
    view_.ReturnToReviewControls();
    view_.ShowButtonPage(1);
    view_.SetTableEnabled(true);
    showCurrentCycle();
}

void PositioningRun::ButtonPozUsunClick() {
    if (!view_.ConfirmDeleteCycle(CurrentCycle())) return;
    if (cycles_.Count() > 0) deleteCycle(CurrentCycle() - 1);
    if (cycles_.Count() > 0) {
        if (CurrentCycle() >= cycles_.Count()) CurrentCycle() = cycles_.Count();
        if (CurrentCycle() < 1) CurrentCycle() = 1;
        showCurrentCycle();
    } else {
        view_.ResetChartAndGrid();
        view_.HideBacklash();
        DeleteEnabled = false;
    }
}

void PositioningRun::ButtonPozWstawClick() {
    if (settings_.PositioningMethod != 0) return;
    switch (view_.AskInsertSource()) {
    case 1:
        if (view_.StartButtonEnabled()) {
            view_.RestartCounting();
            view_.SetStartCaption(QStringLiteral("&Stop"));
            view_.ShowPositioningPanels();
            StartPositioningCycle();
        }
        break;
    case 7:
        InsertCyclesFromFile();
        break;
    default:
        break;
    }
}

void PositioningRun::InsertCyclesFromFile() {
    const QString path = view_.ChooseInsertFile();
    if (path.isEmpty()) return;
    MeasurementData data;
    if (auto error = LoadMeasurementFile(data, path, mfPositioning)) {
        view_.ReportError(*error);
        return;
    }
    const TCykl& loaded = data.PositioningCycles;
    const bool fits = loaded.Count() > 0 &&
                      (cycles_.Count() == 0 ||
                       loaded[0].Punkt.Count() == cycles_[0].Punkt.Count());
    if (!fits) {
        view_.ReportError(Msg("stRoznePunkty"));
        return;
    }
    // The run, saved, must open again: it keeps to the cycles a file may hold.
    if (cycles_.Count() + loaded.Count() > kMaxRunCycles) {
        view_.ReportError(MeasurementFileTooLarge().message());
        return;
    }
    for (int i = 0; i < loaded.Count(); ++i) cycles_.Add().Assign(loaded[i]);
    // The file has no second axis; empty cycles keep it in step.
    if (cyclesY_.Count() > 0)
        while (cyclesY_.Count() < cycles_.Count()) cyclesY_.Add();
    CurrentCycle() = cycles_.Count();
    DeleteEnabled = true;
    showCurrentCycle();
    DataSaved = false;
}

bool PositioningRun::prepareNewRun(bool fromReview) {
    switch (view_.AskSaveChanges()) {
    case 2:
        return false;
    case 6:
        // A save that was cancelled or failed keeps the data, as Cancel does.
        if (!view_.SaveWithDialog()) return false;
        break;
    default:
        DataSaved = true;
        break;
    }
    view_.ResetChartAndGrid();
    view_.PrepareNewRunChart();
    if (fromReview) {
        cycles_.Clear();
        cyclesY_.Clear();
        view_.PrepareNewRunChart();
        view_.ShowPositioningOnEnd();
    }
    view_.SetStartCaption(QStringLiteral("&Start"));
    if (!fromReview) view_.HideBacklash();
    view_.ShowButtonPage(0);
    view_.SetTableEnabled(false);
    if (!fromReview) {
        view_.SetStart1Enabled(true);
        view_.SetAcceptButtonEnabled(false);
    }
    view_.EnableMenuItemsByTag(PositioningDataTags(), false);
    return true;
}

void PositioningRun::ButtonPozPoprzednieClick() { prepareNewRun(true); }
void PositioningRun::ZakonczeniePozKoniecClick() { prepareNewRun(false); }

void PositioningRun::EnableControlsAfterMeasurement() {
    MeasurementRunning = false;
    view_.SetSetupControlsEnabled(true);
    // Points accepted before a stop are measured data like a finished pass: offered for saving
    // and asked about before they are dropped.
    if (stoppedCycleHoldsPoints()) {
        DataSaved = false;
        view_.EnableMenuItemsByTag(PositioningDataTags(), true);
    }
    EndPage.review = EndPage.next || CurrentCycle() >= 2 || stoppedFirstCycleHoldsPoints();
    EndPage.results = CurrentCycle() >= 2;
    EndPage.repeat = true;
    if (DeviationJumpSeen && !settings_.PointsFromList) view_.ShowLargeErrorAdvice();
    view_.SetStopEnabled(false);
    view_.ShowButtonPage(3);
    view_.SetTableEnabled(true);
    view_.HideAcceptLabels();
}

void PositioningRun::writeBackup() {
    QString failure;
    try {
        SavePositioningBackup(settings_.PositioningDir, view_.MeasurementHeader(), cycles_);
        return;
    } catch (const MeasurementFileError& e) {
        failure = e.message();
    } catch (const std::exception& e) {
        failure = QString::fromStdString(e.what());
    }
    // One message per run: a folder that cannot be written would otherwise interrupt every pass.
    if (!backupFailureReported_) {
        backupFailureReported_ = true;
        view_.ReportError(failure);
    }
}

void PositioningRun::SaveBackupCopy() {
    EndPage.next = true;
    DataSaved = false;
    view_.EnableMenuItemsByTag(PositioningDataTags(), true);
    cycleUnfinished_ = false;
    writeBackup();
    view_.ShowBacklash();
    EnableControlsAfterMeasurement();
}

void PositioningRun::FinishPositioningMeasurement() {
    MeasurementRunning = false;
    cycleUnfinished_ = false;
    view_.SetSetupControlsEnabled(true);
    EndPage.review = true;
    EndPage.results = true;
    EndPage.repeat = true;
    EndPage.next = false;
    view_.SetStopEnabled(false);
    view_.ShowButtonPage(3);
    view_.SetTableEnabled(true);
    view_.HideAcceptLabels();

    // Cycles of unequal length would pair points of different targets in the evaluation.
    evaluation::TrimCyclesToShortest(cycles_);
    // The second axis keeps the points its positioning cycle keeps.
    for (int c = 0; c < cyclesY_.Count() && c < cycles_.Count(); ++c) {
        TPunkt& y = cyclesY_[c].Punkt;
        while (y.Count() > cycles_[c].Punkt.Count()) y.Delete(y.Count() - 1);
    }
    CurrentCycle() = cycles_.Count();

    const int firstCount = cycles_.Count() > 0 ? cycles_[0].Punkt.Count() : 0;
    if (firstCount >= 3) {
        DataSaved = false;
        view_.EnableMenuItemsByTag(PositioningDataTags(), true);
        writeBackup();
        view_.ShowBacklash();
        EndPage.review = true;
    } else {
        EndPage.review = false;
    }
    EndPage.results = firstCount >= 6;
}
