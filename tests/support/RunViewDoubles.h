#pragma once
// Test doubles of the main window's side of the runs and of the mode sequences: every call a
// test does not care about is answered and otherwise ignored. Tests derive from them and record
// what they check.
#include "app/ModeSequences.h"
#include "app/PositioningRun.h"
#include "app/StraightnessRun.h"
#include "evaluation/PointStore.h"

namespace testsupport {

class PositioningRunViewDouble : public PositioningRunView {
public:
    void ResetChartAndGrid() override {}
    void SetChartTitle(const QString&) override {}
    void PlotPositioningCycles() override {}
    void ShowPositioningCycle(int) override {}
    void ClearChartBackground() override {}
    void PrepareNewRunChart() override {}
    void HideBacklash() override {}
    void ShowBacklash() override {}
    void RestartCounting() override {}
    void ResetHeadFlags() override {}
    void SetSetupControlsEnabled(bool) override {}
    void ShowButtonPage(int) override {}
    void SetTableEnabled(bool) override {}
    void EnableMenuItemsByTag(const std::vector<int>&, bool) override {}
    void SetStopEnabled(bool) override {}
    void SetStart1Enabled(bool) override {}
    void SetAcceptButtonEnabled(bool) override {}
    void HideAcceptLabels() override {}
    void SetStartCaption(const QString&) override {}
    bool StartButtonEnabled() override { return true; }
    void ShowPositioningPanels() override {}
    void HidePositioningPanels() override {}
    void ShowPositioningOnEnd() override {}
    void ShowResults() override {}
    void ReturnToReviewControls() override {}
    void ShowLargeErrorAdvice() override {}
    void ReportError(const QString&) override {}
    bool ConfirmDeleteCycle(int) override { return true; }
    int AskSaveChanges() override { return 7; }
    bool SaveWithDialog() override { return false; }
    int AskInsertSource() override { return 0; }
    QString ChooseInsertFile() override { return {}; }
    TMeasurementHeader MeasurementHeader() override { return {}; }
};

class StraightnessRunViewDouble : public StraightnessRunView {
public:
    void HideValueLabels() override {}
    void ClearChartBackground() override {}
    int AskSaveChanges() override { return 7; }
    bool SaveMeasurement() override { return false; }
    bool DataErrorActive() override { return false; }
    void ResetCharts() override {}
    void FillHeaderEnvironment() override {}
    bool AutomaticAccept() override { return false; }
    int WaitingTime() override { return 70; }
    void SetProgress(int, int, int) override {}
    void ShowAcceptButton() override {}
    void SetAcceptButtonEnabled(bool) override {}
    void ShowAcceptPrompt(const QString&) override {}
    void HidePrompts() override {}
    void SetChartTitles(const QStringList&, const QString&) override {}
    void RestartCounting() override {}
    void SetMenuOsXEnabled(bool) override {}
    void SetStartPointEnabled(bool) override {}
    void SetAcceptTimerEnabled(bool) override {}
    void SetMoveTimerEnabled(bool) override {}
    void SetStart1Enabled(bool) override {}
    void SetStop1Enabled(bool) override {}
    void SetBaseLengthEnabled(bool) override {}
    void SetStartCaption(const QString&) override {}
    bool ConfirmEndRun() override { return true; }
    void PlotStraightness() override {}
    void BuildFlatnessMap() override {}
    void EnableNewMap() override {}
    void EnableMenuItemsByTag(const std::vector<int>&, bool) override {}
    void ShowMenuItemsByTag(const std::vector<int>&, bool) override {}
    TMeasurementHeader MeasurementHeader() override { return {}; }
    void ReportError(const QString&) override {}
    void ShowMessage(const QString&) override {}
    void StopReading() override {}
    void ShowMainPage(int) override {}
    void UpdateCaption() override {}
    void ShowModeCaption() override {}
    void UpdateRecentFlatnessMenu() override {}
    void HideStraightnessMenuItem() override {}
    void SetBackButtonCaption(const QString&) override {}
};

// The controls stay those of the window the host names (none by default).
class ModeHostDouble : public modes::IModeHost {
public:
    int StraightnessMethod() const override { return 0; }
    QWidget* MainWindowWidget() const override { return nullptr; }
    QObject* Control(modes::ModeControl) const override { return nullptr; }
    void StartSignalMonitor() override {}
    void RestartMeteoReading() override {}
    void ClearFifo() override {}
    void EnableMenuItemsByTag(const std::vector<int>&, bool) override {}
    void ShowSetupPicture() override {}
};

class PlotChartDouble : public evaluation::IPlotChart {
public:
    void Repaint() override {}
    bool VisibleXRange(double&, double&) const override { return false; }
};

class DeviationGridDouble : public evaluation::IDeviationGrid {
public:
    bool IsVisible() const override { return true; }
};

}  // namespace testsupport
