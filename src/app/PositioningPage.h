#pragma once
// The positioning and straightness page ("Pozycjonowanie", page 3) of the main window. It owns
// the page's controls: the chart wykres with the second-axis chart WykresOsY, the measured and
// target readouts, the straightness and two-axis readouts, the signal gauges, the deviation
// table GridOdchylka, the results panel (standard, machine, results list), the reversal and
// acceptance labels, the resolution switch, the run's button pages NotebookButton with the
// waiting time of automatic acceptance, the prompts over the chart and the status bar
// StatusBar1. It builds them and holds the page's handlers: the run's start, stop and way back,
// the end-of-run, review and results buttons (the run's steps are PositioningRun's), the manual
// acceptance, the waiting time of automatic acceptance with its two timers and the prompts over
// the chart on a straightness line, the chart's x axis choice and the standard and machine
// choice of the results. It reaches the rest of the window through PositioningPageCalls.
#include <QObject>
#include <QString>
#include <cstdint>

class QComboBox;
class QFrame;
class QLabel;
class QPoint;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QStackedWidget;
class QTableWidget;
class QTimer;
class QWidget;
class PositioningRun;
struct WarmUpControls;
namespace modes {
enum class ModeControl;
}
class TDisplay;
class THeaderListbox;
namespace pagecontrols {
class PanelStatusBar;
}
namespace platform {
class TChart;
}

// What the positioning page asks of the window.
class PositioningPageCalls {
public:
    virtual ~PositioningPageCalls() = default;
    // The chart's pop-up menu was asked for at this point of the screen.
    virtual void ChartMenuRequested(const QPoint& globalPos) = 0;
    // The positioning run's control.
    virtual PositioningRun& Run() = 0;
    // "&Start" / "&Stop", as the menu's "Start".
    virtual void StartOrStop() = 0;
    // "&Główne Menu": the measuring page is left (after its save question).
    virtual void LeaveMeasurementPage() = 0;
    // The inspector (or the end of the waiting time) accepts the current point.
    virtual void AcceptPoint() = 0;
    // The results by standard of the run ("&Raport" of the review page).
    virtual void ShowResults() = 0;
    // The choice of plotted characteristics ("Kreślone parametry").
    virtual void ChooseCharacteristics() = 0;
    // 10 nm <-> 100 nm.
    virtual void ToggleResolution() = 0;
    // The results list again for the chosen standard and machine.
    virtual void FillResults() = 0;
    // The pop-up menu's x axis commands ticked: by distance or by point number.
    virtual void TickXAxisChoice(bool byDistance) = 0;
    // The results evaluated again with the new x values; the current cycle drawn again.
    virtual void RedrawResults() = 0;
    virtual void RedrawCurrentCycle() = 0;
    virtual int CycleCount() = 0;
    // Automatic acceptance is chosen ("&Automatyczny"); points accepted on the current line.
    virtual bool AutomaticAccept() = 0;
    virtual int AcceptedPointCount() = 0;
};

class PositioningPage final : public QObject {
public:
    PositioningPage(QObject* owner, PositioningPageCalls& calls);

    QWidget* Build();
    // Connects the page's buttons, choices, scroll bar and timers.
    void Connect();

    // --- handlers ---
    void ButtonPozStartClick();
    void ButtonPozMainMenuClick();
    void ButtonZaliczeniePunktuClick();
    void ZakonczeniePozNastepnyClick();
    void ZakonczeniePozPowtorzClick();
    void ZakonczeniePozPrzegladajClick();
    void ZakonczeniePozRaportClick();
    void ZakonczeniePozKoniecClick();
    void ButtonPozNastepnyClick();
    void ButtonPozPoprzedniClick();
    void ButtonPozUsunClick();
    void ButtonPozWstawClick();
    void ButtonPozPoprzednieClick();
    void ButtonRaportPoprzednieClick();
    void ButtonPozRaportClick();
    void ButtonKresParametryClick();
    void BRozdzielClick();
    void ComboBoxNormaChange();
    // The waiting time of automatic acceptance: the bar's position, tenths of a second.
    void ScrollBar16Change();
    // The chart's x axis by point number or by distance (the chart pop-up's commands).
    void Numerpunktu1Click();
    void Dystans1Click();
    // 100 ms while the axis stands on a straightness line: the point is accepted when the
    // waiting time has passed.
    void TimerZaliczeniePunktuTimer();
    // 500 ms after a point was accepted: the prompt to move the reflector on.
    void TimerProstoliniowosc1Timer();

    // A point was accepted: the wait for the next starts once the prompt to move on has shown.
    void StartMoveHint();
    // Label124 alone over the chart, just above its middle, with `text`.
    void ShowUpperPrompt(const QString& text);
    void SetAcceptTimerEnabled(bool on);
    void SetMoveTimerEnabled(bool on);
    bool AcceptTimerActive() const;
    bool MoveTimerActive() const;
    // The end-of-run and review buttons follow the run's state.
    void ShowRunButtons(const PositioningRun& run);
    // What the signal monitor shows the warm-up on while the page waits for the laser.
    WarmUpControls SignalWarmUpControls() const;
    // The page's controls the mode sequences act on; null for one it does not own.
    QObject* ModeControlOf(modes::ModeControl c) const;

    // The page's controls the window still drives.
    platform::TChart* Chart() const { return wykres; }  // the positioning or straightness chart
    platform::TChart* YChart() const { return WykresOsY; }  // the second axis of a two-axis straightness run
    QWidget* ChartsPanel() const { return PanelWykresyProsto; }  // the panel holding both charts
    TDisplay* MeasuredDisplay() const { return DispWarMierzona; }  // measured value
    TDisplay* TargetDisplay() const { return DispWarZadana; }  // target value
    QFrame* TargetPanel() const { return PanelWarZadana; }
    QFrame* StraightnessPanel() const { return PanelWarProsto; }
    QFrame* StraightnessYPanel() const { return PanelWarProstoY; }
    QFrame* PositionPanel() const { return Panel2OsWar; }
    TDisplay* PositionDisplay() const { return Disp2oswar; }  // position of a straightness run
    QLabel* PositionUnitLabel() const { return Label38; }  // its unit
    TDisplay* StraightnessDisplay() const { return DisplayProst; }  // two-axis detector X
    TDisplay* StraightnessYDisplay() const { return DispProstoY; }  // two-axis detector Y
    QProgressBar* PositioningGauge() const { return GaugePozycjonowanie; }
    QProgressBar* StraightnessGauge() const { return GaugeProsto; }
    QTableWidget* DeviationGrid() const { return GridOdchylka; }
    QLabel* BacklashLabel() const { return LabelLuzZwrotny; }  // reversal error line
    QLabel* StraightnessYErrorLabel() const { return LabBladProsY; }  // second-axis straightness error
    QLabel* AcceptedLabel() const { return LabZal; }  // the point is accepted
    QLabel* InWindowLabel() const { return LabOkno; }  // the reading is in the target window
    QPushButton* ResolutionButton() const { return BRozdziel; }  // 10 nm / 100 nm
    QFrame* ResultsPanel() const { return PanelWyniki; }
    QComboBox* StandardChoice() const { return ComboBoxNorma; }  // standard of the results
    QComboBox* MachineChoice() const { return CBMaszyna; }  // machine of the results
    THeaderListbox* ResultsList() const { return ListboxWyniki; }
    // The results list's columns as wide as their headings and widest texts need, sharing the
    // rest of the list; the list asks the layout for at least their sum.
    void FitResultsColumns();
    QStackedWidget* ButtonPages() const { return NotebookButton; }  // running, review, results, end of run (the two-axis review adds its own)
    QPushButton* StartButton() const { return ButtonPozStart; }  // running page
    QPushButton* AcceptPointButton() const { return ButtonZaliczeniepunktu; }  // manual acceptance
    QProgressBar* WaitProgress() const { return ProgressBar2; }  // automatic acceptance wait
    QScrollBar* WaitTimeBar() const { return ScrollBar16; }  // its waiting time, tenths of a second
    QLabel* WaitTimeLabel() const { return Label139; }  // its caption
    QPushButton* MainMenuButton() const { return ButtonPozMainMenu; }
    QPushButton* DeleteCycleButton() const { return ButtonPozUsun; }
    QPushButton* EndNextButton() const { return ZakonczeniePozNastepny; }  // end of run page
    pagecontrols::PanelStatusBar* StatusBar() const { return StatusBar1; }
    QLabel* UpperPrompt() const { return Label124; }  // straightness prompt above the chart middle
    QLabel* LowerPrompt() const { return Label20; }  // and below it
    QLabel* StraightnessUnitLabel() const { return LabelJedProsto; }  // unit of the straightness readout

private:
    // The prompts over the chart and the straightness unit.
    void BuildPrompts();
    // The prompts just above and just below the chart's middle.
    void PlacePrompts();
    // A run button's handler: the run's step, then the buttons follow its state.
    void RunStep(void (PositioningRun::*step)());
    void ChooseXAxis(bool byDistance);
    // The readouts column as wide as the results need while they show.
    void FitSideToResults();

    PositioningPageCalls& calls_;
    QTimer* TimerZaliczeniePunktu = nullptr;
    QTimer* TimerProstoliniowosc1 = nullptr;
    // Ticks of TimerProstoliniowosc1 since the last accepted point.
    uint8_t MoveHintTicks = 0;
    platform::TChart* wykres = nullptr;
    platform::TChart* WykresOsY = nullptr;
    QWidget* PanelWykresyProsto = nullptr;
    TDisplay* DispWarMierzona = nullptr;
    TDisplay* DispWarZadana = nullptr;
    QFrame* PanelWarMierzona = nullptr;
    QFrame* PanelWarZadana = nullptr;
    QFrame* PanelWarProsto = nullptr;
    QFrame* PanelWarProstoY = nullptr;
    QFrame* Panel2OsWar = nullptr;
    TDisplay* Disp2oswar = nullptr;
    QLabel* Label38 = nullptr;
    TDisplay* DisplayProst = nullptr;
    TDisplay* DispProstoY = nullptr;
    QProgressBar* GaugePozycjonowanie = nullptr;
    QProgressBar* GaugeProsto = nullptr;
    QTableWidget* GridOdchylka = nullptr;
    QLabel* LabelLuzZwrotny = nullptr;
    QLabel* LabBladProsY = nullptr;
    QLabel* LabZal = nullptr;
    QLabel* LabOkno = nullptr;
    QLabel* Label26 = nullptr;
    QPushButton* BRozdziel = nullptr;
    QFrame* PanelWyniki = nullptr;
    QWidget* SideBox = nullptr;
    QComboBox* ComboBoxNorma = nullptr;
    QComboBox* CBMaszyna = nullptr;
    THeaderListbox* ListboxWyniki = nullptr;
    QStackedWidget* NotebookButton = nullptr;
    QPushButton* ButtonPozStart = nullptr;
    QPushButton* ButtonZaliczeniepunktu = nullptr;
    QProgressBar* ProgressBar2 = nullptr;
    QScrollBar* ScrollBar16 = nullptr;
    QLabel* Label139 = nullptr;
    QPushButton* ButtonPozMainMenu = nullptr;
    QPushButton* ButtonPozPoprzedni = nullptr;
    QPushButton* ButtonPozNastepny = nullptr;
    QPushButton* ButtonPozUsun = nullptr;
    QPushButton* ButtonPozWstaw = nullptr;
    QPushButton* ButtonPozRaport = nullptr;
    QPushButton* ButtonPozPoprzednie = nullptr;
    QPushButton* ButtonRaportPoprzednie = nullptr;
    QPushButton* ButtonKresParametry = nullptr;
    QPushButton* ZakonczeniePozNastepny = nullptr;
    QPushButton* ZakonczeniePozPowtorz = nullptr;
    QPushButton* ZakonczeniePozPrzegladaj = nullptr;
    QPushButton* ZakonczeniePozRaport = nullptr;
    QPushButton* ZakonczeniePozKoniec = nullptr;
    pagecontrols::PanelStatusBar* StatusBar1 = nullptr;
    QLabel* Label124 = nullptr;
    QLabel* Label20 = nullptr;
    QLabel* LabelJedProsto = nullptr;
};
