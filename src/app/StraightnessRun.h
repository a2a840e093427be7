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
    virtual void HideValueLabels() = 0;
    virtual void ClearChartBackground() = 0;
    // 2 Cancel, 6 Yes, 7 No.
    virtual int AskSaveChanges() = 0;
    // Saves the current measurement; false when cancelled or failed.
    virtual bool SaveMeasurement() = 0;
    // The interface's data-error flag.
    virtual bool DataErrorActive() = 0;
    // ResetChartAndGrid on wykres and on WykresOsY; the environment into the header.
    virtual void ResetCharts() = 0;
    virtual void FillHeaderEnvironment() = 0;
    // Automatyczny1 checked; ScrollBar16 position (tenths of a second).
    virtual bool AutomaticAccept() = 0;
    virtual int WaitingTime() = 0;
    // ProgressBar2.
    virtual void SetProgress(int min, int max, int position) = 0;
    // ButtonZaliczeniepunktu.
    virtual void ShowAcceptButton() = 0;
    virtual void SetAcceptButtonEnabled(bool) = 0;
    // Label124 (text shown) above and Label20 below the chart's middle; hiding takes both.
    virtual void ShowAcceptPrompt(const QString&) = 0;
    virtual void HidePrompts() = 0;
    // Title lines of wykres and the title of WykresOsY.
    virtual void SetChartTitles(const QStringList& wykres, const QString& WykresOsY) = 0;
    virtual void RestartCounting() = 0;
    virtual void SetMenuOsXEnabled(bool) = 0;
    virtual void SetStartPointEnabled(bool) = 0;  // PunktStartowy
    virtual void SetAcceptTimerEnabled(bool) = 0;  // TimerZaliczeniePunktu
    virtual void SetMoveTimerEnabled(bool) = 0;  // TimerProstoliniowosc1
    virtual void SetStart1Enabled(bool) = 0;
    virtual void SetStop1Enabled(bool) = 0;
    virtual void SetBaseLengthEnabled(bool) = 0;  // Dlugoscpodstawki
    virtual void SetStartCaption(const QString&) = 0;  // ButtonPozStart
    // "stKoniecPomiaru" with Yes and No.
    virtual bool ConfirmEndRun() = 0;
    // The straightness evaluation of the points (chart, results labels).
    virtual void PlotStraightness() = 0;
    virtual void BuildFlatnessMap() = 0;
    virtual void EnableNewMap() = 0;  // NowaMapa
    virtual void EnableMenuItemsByTag(const std::vector<int>&, bool) = 0;
    virtual void ShowMenuItemsByTag(const std::vector<int>&, bool) = 0;
    virtual TMeasurementHeader MeasurementHeader() = 0;
    virtual void ReportError(const QString&) = 0;
    virtual void ShowMessage(const QString&) = 0;
    // Leaving: PSTimer2, reading stop, pages, captions, menus.
    virtual void SetLinkWatchdogEnabled(bool on) = 0;
    virtual void StopReading() = 0;
    virtual void ShowMainPage(int) = 0;
    virtual void UpdateCaption() = 0;
    virtual void ShowModeCaption() = 0;  // ModeCaptions of the current mode
    virtual void UpdateRecentFlatnessMenu() = 0;
    virtual void HideStraightnessMenuItem() = 0;  // PomiarProstoliniowosc
    virtual void SetBackButtonCaption(const QString&) = 0;  // ButtonPozMainMenu
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
