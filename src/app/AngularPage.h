#pragma once
// The angular division page ("PodzialyKatowe") of the main window. It owns the page's controls
// (the chart WykresPK, the signal gauge, the division and total angle readouts, the deviation
// table GridOdchylkaPK, the manual acceptance and start buttons, the prompt LabelInfoPK over the
// chart, the way back to the main menu and the status bar StatusBar2), builds them, and holds the page's entry, the start, stop
// and end of a run and the page's menu commands. The acceptance engine decides the points; the
// points stay in the window's AngularPoints.
#include <QObject>
#include <QString>

#include "app/PageControls.h"

class QLabel;
class QFrame;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTableWidget;
class QWidget;
class TDisplay;
class TMainForm;
struct WarmUpControls;
namespace modes {
enum class ModeControl;
}
namespace platform {
class TChart;
}

class AngularPage final : public QObject {
public:
    explicit AngularPage(TMainForm& shell);

    QWidget* Build();
    // Connects the page's buttons and its menu commands.
    void Connect();

    // --- handlers ---
    void BitBtnPodzKatoweClick();
    void BStartPKClick();
    // "&Główne Menu" (and Esc on the page): refused during a run, then the save question.
    void ButtonMainMenuPKClick();
    void ButtonZaliczeniePKClick();
    void ReczneZaliczeniePunktuPKClick();
    void UstawSilnik1Click();
    void MenuItemKatCalkowityClick();
    // What the signal monitor shows the warm-up on while the page waits for the laser.
    WarmUpControls SignalWarmUpControls() const;
    // The page's controls the mode sequences act on; null for one it does not own.
    QObject* ModeControlOf(modes::ModeControl c) const;
    void MenuItemTabelkaOdchylekPKClick();
    void Numerpunktu2Click();
    void Kat1Click();
    void WykresPKResize();

    // The chart again with the bottom axis of the pop-up menu's choice (not during a run).
    void RedrawAngularChart();
    // LabelInfoPK over the chart's middle; an empty text hides it.
    void ShowAngularInfo(const QString& text);
    // StatusBar2: rotation direction, last target angle and the acceptance.
    void ShowAngularParameters();
    // The run's last point is in: the start offers "&Pomiar" for the next run.
    void FinishAngularMeasurement();
    // The link status window stopped the run: the start offers "&Start", the prompt goes.
    void ShowRunStopped();
    // A loaded angular file: the start offers "&Pomiar" as after a run.
    void ShowLoadedRun();
    // The reading path's division and total angle, arc seconds.
    void ShowAngle(double division, double total);
    void ShowDeviationTable(bool on);

    platform::TChart* Chart() const { return WykresPK; }
    QTableWidget* DeviationGrid() const { return GridOdchylkaPK; }
    QProgressBar* SignalGauge() const { return GaugePodzKat; }
    QStatusBar* StatusBar() const { return StatusBar2; }
    // The page's start point row goes in front of the start button.
    QWidget* StartPointAnchor() const;

private:
    TMainForm& shell_;
    platform::TChart* WykresPK = nullptr;
    QProgressBar* GaugePodzKat = nullptr;
    QFrame* PanelWMierzonaPK = nullptr;
    QFrame* PanelWZadanaPK = nullptr;
    TDisplay* DisplayPodzKat = nullptr;
    TDisplay* DispKatCalkowity = nullptr;
    QLabel* LabPoczPK = nullptr;
    QTableWidget* GridOdchylkaPK = nullptr;
    QPushButton* ButtonZaliczeniePK = nullptr;
    QPushButton* BStartPK = nullptr;
    QPushButton* ButtonMainMenuPK = nullptr;
    QLabel* LabelInfoPK = nullptr;
    pagecontrols::PanelStatusBar* StatusBar2 = nullptr;
};
