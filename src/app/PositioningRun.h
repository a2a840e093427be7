#pragma once
// Positioning run control: starting and repeating runs and cycles, the end-of-run page, the
// backup copy after each pass, the finish of a run and the review of single cycles. Plain code
// over the run's collections and the acceptance engine; what it shows goes out through
// PositioningRunView, which the main window implements over its controls.
#include <QString>
#include <vector>

#include "app/Settings.h"
#include "evaluation/MeasurementHeader.h"
#include "foundations/PomiarCol.h"
#include "instrument/PointAcceptance.h"

// The commands that need data to act on: save, save as, print, preview, compensation table,
// export.
const std::vector<int>& PositioningDataTags();

// The main window's side of a positioning run. Every hook defaults to doing nothing, so a test
// implements only what it checks.
class PositioningRunView {
public:
    virtual ~PositioningRunView() = default;
    // Chart and grid (point store routines).
    virtual void ResetChartAndGrid() {}
    virtual void SetChartTitle(const QString&) {}
    virtual void PlotPositioningCycles() {}
    virtual void ShowPositioningCycle(int /*cycle, 1-based*/) {}
    virtual void ClearChartBackground() {}
    // Chart title with today's date and the background picture of the method.
    virtual void PrepareNewRunChart() {}
    // LabelLuzZwrotny: hidden, or shown with the reversal error of the current cycle.
    virtual void HideBacklash() {}
    virtual void ShowBacklash() {}
    // Counting from zero, the reading filter and the raw count cleared.
    virtual void RestartCounting() {}
    virtual void ResetHeadFlags() {}
    // MenuOsX and PunktStartowy.
    virtual void SetSetupControlsEnabled(bool) {}
    virtual void ShowButtonPage(int /*NotebookButton page*/) {}
    virtual void SetTableEnabled(bool) {}  // TabelaPomiarow
    virtual void EnableMenuItemsByTag(const std::vector<int>&, bool) {}
    virtual void SetStopEnabled(bool) {}   // Stop1
    virtual void SetStart1Enabled(bool) {} // Start1
    virtual void SetAcceptButtonEnabled(bool) {}  // ButtonZaliczeniepunktu
    virtual void HideAcceptLabels() {}     // LabZal, LabOkno
    virtual void SetStartCaption(const QString&) {}  // ButtonPozStart
    virtual bool StartButtonEnabled() { return true; }
    virtual void ShowPositioningPanels() {}
    virtual void HidePositioningPanels() {}
    virtual void ShowPositioningOnEnd() {}
    virtual void SetWindowCaption(const QString&) {}
    // Results page (evaluation of the run).
    virtual void ShowResults() {}
    // Back from the results: Parametry1 off, legend hidden, LabelLuzZwrotny shown, PanelWyniki
    // hidden.
    virtual void ReturnToReviewControls() {}
    virtual void ShowLargeErrorAdvice() {}
    // Messages and questions.
    virtual void ReportError(const QString&) {}
    virtual bool ConfirmDeleteCycle(int /*cycle*/) { return true; }
    // 2 Cancel, 6 Yes, 7 No.
    virtual int AskSaveChanges() { return 7; }
    // Saves with the file dialog; false when it was cancelled or failed.
    virtual bool SaveWithDialog() { return false; }
    // Insert dialog: 1 measure, 7 from a file, anything else nothing.
    virtual int AskInsertSource() { return 0; }
    // The ".dt2" file to insert from; empty when the dialog was cancelled.
    virtual QString ChooseInsertFile() { return {}; }
    virtual TMeasurementHeader MeasurementHeader() { return {}; }
};

// The buttons of the end-of-run page.
struct EndPageButtons {
    bool next = false;     // ZakonczeniePozNastepny
    bool repeat = false;   // ZakonczeniePozPowtorz
    bool review = false;   // ZakonczeniePozPrzegladaj
    bool results = false;  // ZakonczeniePozRaport
};

class PositioningRun {
public:
    PositioningRun(TCykl& cycles, TCykl& cyclesY, TPunkt& targets,
                   instrument::PointAcceptance& engine, const TSettings& settings,
                   PositioningRunView& view);

    // CurrentCycle (1-based) lives in the acceptance engine, which stores points by it.
    int& CurrentCycle() { return engine_.state.currentCycle; }
    int CurrentCycle() const { return engine_.state.currentCycle; }

    // MeasurementRunning, DataSaved and DeviationJumpSeen are the shared globals.
    EndPageButtons EndPage;
    bool DeleteEnabled = true;  // ButtonPozUsun

    // Start (the shared start button): all cycles of a pilgrim run exist from the start.
    void StartRun();
    void RestartPositioningRun();
    void StartPositioningCycle();

    // End-of-run page.
    void ZakonczeniePozNastepnyClick() { StartPositioningCycle(); }
    void ZakonczeniePozPowtorzClick();
    void ZakonczeniePozRaportClick();
    void ZakonczeniePozPrzegladajClick();
    void ZakonczeniePozKoniecClick();

    // Review page.
    void ButtonPozNastepnyClick();
    void ButtonPozPoprzedniClick();
    void ButtonRaportPoprzednieClick();
    void ButtonPozUsunClick();
    void ButtonPozWstawClick();
    void InsertCyclesFromFile();
    void ButtonPozPoprzednieClick();

    // Called at the end of a pass, a stop and the end of the run.
    void EnableControlsAfterMeasurement();
    void SaveBackupCopy();
    void FinishPositioningMeasurement();

    // Whether the current cycle was started and has not ended its pass.
    bool CycleUnfinished() const { return cycleUnfinished_; }

private:
    void addCycle();
    void resetAcceptance(bool resetAcceptState);
    void beginRunning();
    void dropUnfinishedCycle();
    void deleteCycle(int index);
    void writeBackup();
    void showCurrentCycle();
    bool prepareNewRun(bool fromReview);

    TCykl& cycles_;
    TCykl& cyclesY_;
    TPunkt& targets_;
    instrument::PointAcceptance& engine_;
    const TSettings& settings_;
    PositioningRunView& view_;
    bool cycleUnfinished_ = false;
    bool backupFailureReported_ = false;
};
