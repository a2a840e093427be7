#pragma once
// The shared start/stop button of the positioning, straightness and flatness-line pages, the
// end of a straightness or flatness run, the storing of a flatness line and the ways out of a
// measuring page. Plain code: the command bytes go through the view's ICommandLink, the
// controls through its hooks, so a test checks both against a recording view.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "app/PositioningRun.h"
#include "app/Settings.h"
#include "evaluation/MeasurementHeader.h"
#include "foundations/PomiarCol.h"
#include "instrument/CommandLink.h"
#include "instrument/PointAcceptance.h"

class StraightnessRunView : public ICommandLink {
public:
    // LabelLuzZwrotny and LabBladProsY.
    virtual void HideValueLabels() {}
    virtual void ClearChartBackground() {}
    // 2 Cancel, 6 Yes, 7 No.
    virtual int AskSaveChanges() { return 7; }
    // Saves the current measurement; false when cancelled or failed.
    virtual bool SaveMeasurement() { return false; }
    // The interface's data-error flag.
    virtual bool DataErrorActive() { return false; }
    // ResetChartAndGrid on wykres and on WykresOsY; the environment into the header.
    virtual void ResetCharts() {}
    virtual void FillHeaderEnvironment() {}
    // Automatyczny1 checked; ScrollBar16 position (tenths of a second).
    virtual bool AutomaticAccept() { return false; }
    virtual int WaitingTime() { return 70; }
    // ProgressBar2.
    virtual void SetProgress(int /*min*/, int /*max*/, int /*position*/) {}
    // ButtonZaliczeniepunktu.
    virtual void ShowAcceptButton() {}
    virtual void SetAcceptButtonEnabled(bool) {}
    // Label124 (text shown) above and Label20 below the chart's middle; hiding takes both.
    virtual void ShowAcceptPrompt(const QString&) {}
    virtual void HidePrompts() {}
    // Title lines of wykres and the title of WykresOsY.
    virtual void SetChartTitles(const QStringList& /*wykres*/, const QString& /*WykresOsY*/) {}
    virtual void RestartCounting() {}
    virtual void SetMenuOsXEnabled(bool) {}
    virtual void SetStartPointEnabled(bool) {}  // PunktStartowy
    virtual void SetAcceptTimerEnabled(bool) {}  // TimerZaliczeniePunktu
    virtual void SetMoveTimerEnabled(bool) {}    // TimerProstoliniowosc1
    virtual void SetStart1Enabled(bool) {}
    virtual void SetStop1Enabled(bool) {}
    virtual void SetBaseLengthEnabled(bool) {}   // Dlugoscpodstawki
    virtual void SetStartCaption(const QString&) {}  // ButtonPozStart
    // "stKoniecPomiaru" with Yes and No.
    virtual bool ConfirmEndRun() { return true; }
    // The straightness evaluation of the points (chart, results labels).
    virtual void PlotStraightness() {}
    virtual void BuildFlatnessMap() {}
    virtual void EnableNewMap() {}  // NowaMapa
    virtual void EnableMenuItemsByTag(const std::vector<int>&, bool) {}
    virtual void ShowMenuItemsByTag(const std::vector<int>&, bool) {}
    virtual TMeasurementHeader MeasurementHeader() { return {}; }
    virtual void ReportError(const QString&) {}
    virtual void ShowMessage(const QString&) {}
    // Leaving: PSTimer2, reading stop, pages, captions, menus.
    virtual void SetLinkWatchdogEnabled(bool on) = 0;
    virtual void StopReading() {}
    virtual void ShowMainPage(int) {}
    virtual void UpdateCaption() {}
    virtual void ShowModeCaption() {}            // ModeCaptions of the current mode
    virtual void UpdateRecentFlatnessMenu() {}
    virtual void HideStraightnessMenuItem() {}   // PomiarProstoliniowosc
    virtual void SetBackButtonCaption(const QString&) {}  // ButtonPozMainMenu
};

class StraightnessRun {
public:
    StraightnessRun(PositioningRun& positioning, TPunkt& straightnessPoints, TCykl& flatnessLines,
                    instrument::PointAcceptance& engine, const TSettings& settings,
                    uint8_t& measurementMode, int& straightnessSampleCount,
                    StraightnessRunView& view);

    // Readings taken into the current line (the point store's counter, which raises it).
    int& StraightnessSampleCount;
    // Line of the flatness map being measured (1-based) and the measured lines (bit n-1).
    uint8_t FlatnessLine = 1;
    uint16_t FlatnessLinesDone = 0;

    // ButtonPozStart: starts a run, or ends the one in progress.
    void StartStraightnessRun();
    void EndMeasurementRun();
    // Stores the measured points as line FlatnessLine; false (and nothing stored) when the
    // line number does not name a line of the map.
    bool StoreFlatnessLine();
    void ExitMeasurementMode();
    void LeaveMeasurementPage();
    void StopMeasurementUi();
    void LeaveFlatnessPage();

    // The wykres title lines of a straightness or flatness line run.
    QStringList RunChartTitle() const;

private:
    bool askSave(bool& savedFlag);

    PositioningRun& positioning_;
    TPunkt& points_;
    TCykl& flatnessLines_;
    instrument::PointAcceptance& engine_;
    const TSettings& settings_;
    uint8_t& mode_;
    StraightnessRunView& view_;
};

// The second title line of flatness line `line`: "<stMapaOs> 2" for the envelope layout,
// "<stMapaOs> H3" or "<stMapaOs> V2" for the grid.
QString FlatnessLineTitle(int line, uint8_t flatnessMethod, int32_t hLines);
