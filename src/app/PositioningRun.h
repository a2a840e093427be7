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

// The prompt while a linear cycle waits for the axis back at the start point (mm; shown in
// inches with length unit 1).
QString ReturnToStartPrompt(double startPointMm, int lengthUnit);

// The main window's side of a positioning run; the window implements every hook, a test's view
// records them.
class PositioningRunView {
public:
    virtual ~PositioningRunView() = default;
    // Chart and grid (point store routines).
    virtual void ResetChartAndGrid() = 0;
    virtual void SetChartTitle(const QString&) = 0;
    virtual void PlotPositioningCycles() = 0;
    virtual void ShowPositioningCycle(int /*cycle, 1-based*/) = 0;
    virtual void ClearChartBackground() = 0;
    // Chart title with today's date and the background picture of the method.
    virtual void PrepareNewRunChart() = 0;
    // LabelLuzZwrotny: hidden, or shown with the reversal error of the current cycle.
    virtual void HideBacklash() = 0;
    virtual void ShowBacklash() = 0;
    // Counting from zero, the reading filter and the raw count cleared.
    virtual void RestartCounting() = 0;
    virtual void ResetHeadFlags() = 0;
    // MenuOsX and PunktStartowy.
    virtual void SetSetupControlsEnabled(bool) = 0;
    virtual void ShowButtonPage(int /*NotebookButton page*/) = 0;
    virtual void SetTableEnabled(bool) = 0;  // TabelaPomiarow
    virtual void EnableMenuItemsByTag(const std::vector<int>&, bool) = 0;
    virtual void SetStopEnabled(bool) = 0;  // Stop1
    virtual void SetStart1Enabled(bool) = 0; // Start1
    virtual void SetAcceptButtonEnabled(bool) = 0;  // ButtonZaliczeniepunktu
    virtual void HideAcceptLabels() = 0;  // LabZal, LabOkno
    virtual void SetStartCaption(const QString&) = 0;  // ButtonPozStart
    virtual bool StartButtonEnabled() = 0;
    virtual void ShowPositioningPanels() = 0;
    virtual void HidePositioningPanels() = 0;
    virtual void ShowPositioningOnEnd() = 0;
    // Results page (evaluation of the run).
    virtual void ShowResults() = 0;
    // Back from the results: Parametry1 off, legend hidden, LabelLuzZwrotny shown, PanelWyniki
    // hidden.
    virtual void ReturnToReviewControls() = 0;
    virtual void ShowLargeErrorAdvice() = 0;
    // Messages and questions.
    virtual void ReportError(const QString&) = 0;
    virtual bool ConfirmDeleteCycle(int cycle) = 0;
    // 2 Cancel, 6 Yes, 7 No.
    virtual int AskSaveChanges() = 0;
    // Saves with the file dialog; false when it was cancelled or failed.
    virtual bool SaveWithDialog() = 0;
    // Insert dialog: 1 measure, 7 from a file, anything else nothing.
    virtual int AskInsertSource() = 0;
    // The ".dt2" file to insert from; empty when the dialog was cancelled.
    virtual QString ChooseInsertFile() = 0;
    virtual TMeasurementHeader MeasurementHeader() = 0;
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
    void dropUnfinishedCycle(bool keepStoppedFirstCycle);
    bool stoppedCycleHoldsPoints() const;
    bool stoppedFirstCycleHoldsPoints() const;
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
