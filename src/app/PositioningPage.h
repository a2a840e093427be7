#pragma once
// The positioning and straightness page ("Pozycjonowanie", page 3) of the main window. It owns
// the page's controls: the chart wykres with the second-axis chart WykresOsY, the measured and
// target readouts, the straightness and two-axis readouts, the signal gauges, the deviation
// table GridOdchylka, the results panel (standard, machine, results list), the reversal and
// acceptance labels, the resolution switch, the run's button pages NotebookButton with the
// waiting time of automatic acceptance, the prompts over the chart and the status bar
// StatusBar1. It builds them and reaches the rest of the window through PositioningPageCalls.
#include <QObject>

class QComboBox;
class QFrame;
class QLabel;
class QPoint;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QStackedWidget;
class QTableWidget;
class QWidget;
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
};

class PositioningPage final : public QObject {
public:
    PositioningPage(QObject* owner, PositioningPageCalls& calls);

    QWidget* Build();

    // The page's controls the window still drives.
    platform::TChart* Chart() const { return wykres; }  // the positioning or straightness chart
    platform::TChart* YChart() const { return WykresOsY; }  // the second axis of a two-axis straightness run
    QWidget* ChartsPanel() const { return PanelWykresyProsto; }  // the panel holding both charts
    TDisplay* MeasuredDisplay() const { return DispWarMierzona; }  // measured value
    TDisplay* TargetDisplay() const { return DispWarZadana; }  // target value
    QFrame* MeasuredPanel() const { return PanelWarMierzona; }
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
    QLabel* WarmUpLabel() const { return Label26; }  // warm-up message
    QPushButton* ResolutionButton() const { return BRozdziel; }  // 10 nm / 100 nm
    QFrame* ResultsPanel() const { return PanelWyniki; }
    QComboBox* StandardChoice() const { return ComboBoxNorma; }  // standard of the results
    QComboBox* MachineChoice() const { return CBMaszyna; }  // machine of the results
    THeaderListbox* ResultsList() const { return ListboxWyniki; }
    QStackedWidget* ButtonPages() const { return NotebookButton; }  // running, review, results, end of run (the two-axis review adds its own)
    QPushButton* StartButton() const { return ButtonPozStart; }  // running page
    QPushButton* AcceptPointButton() const { return ButtonZaliczeniepunktu; }  // manual acceptance
    QProgressBar* WaitProgress() const { return ProgressBar2; }  // automatic acceptance wait
    QScrollBar* WaitTimeBar() const { return ScrollBar16; }  // its waiting time, tenths of a second
    QLabel* WaitTimeLabel() const { return Label139; }  // its caption
    QPushButton* MainMenuButton() const { return ButtonPozMainMenu; }
    QPushButton* PreviousCycleButton() const { return ButtonPozPoprzedni; }  // review page
    QPushButton* NextCycleButton() const { return ButtonPozNastepny; }
    QPushButton* DeleteCycleButton() const { return ButtonPozUsun; }
    QPushButton* InsertCyclesButton() const { return ButtonPozWstaw; }
    QPushButton* ReviewResultsButton() const { return ButtonPozRaport; }
    QPushButton* NewRunButton() const { return ButtonPozPoprzednie; }
    QPushButton* ResultsBackButton() const { return ButtonRaportPoprzednie; }  // results page
    QPushButton* CharacteristicsButton() const { return ButtonKresParametry; }
    QPushButton* EndNextButton() const { return ZakonczeniePozNastepny; }  // end of run page
    QPushButton* EndRepeatButton() const { return ZakonczeniePozPowtorz; }
    QPushButton* EndReviewButton() const { return ZakonczeniePozPrzegladaj; }
    QPushButton* EndResultsButton() const { return ZakonczeniePozRaport; }
    QPushButton* EndFinishButton() const { return ZakonczeniePozKoniec; }
    pagecontrols::PanelStatusBar* StatusBar() const { return StatusBar1; }
    QLabel* UpperPrompt() const { return Label124; }  // straightness prompt above the chart middle
    QLabel* LowerPrompt() const { return Label20; }  // and below it
    QLabel* StraightnessUnitLabel() const { return LabelJedProsto; }  // unit of the straightness readout

private:
    // The prompts over the chart and the straightness unit.
    void BuildPrompts();

    PositioningPageCalls& calls_;
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
