#pragma once
// The velocity page ("Predkosc") of the main window. It owns the page's controls (the chart
// WykresPredkosci, the current and mean velocity with their units, the signal gauge, the start
// and the way back), builds them, and holds the page's entry, the run toggle and the return
// to the main menu. The run's samples and series stay in the window's point store.
#include <QObject>
#include <QString>

struct WarmUpControls;
namespace modes {
enum class ModeControl;
}
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;
class TDisplay;
class TMainForm;
namespace platform {
class TChart;
class TChartAxis;
}

class VelocityPage final : public QObject {
public:
    explicit VelocityPage(TMainForm& shell);

    QWidget* Build();
    // Connects the page's buttons and its chart.
    void Connect();

    // --- handlers ---
    void BitBtnpredkoscClick();
    // Starts or stops a velocity run.
    void ButtonStartVClick();
    // "&Główne Menu": refused during a run, then the save question.
    void Button2Click();
    // After the chart drew its values: outside a run the mean of the visible part again (a zoom
    // changes it).
    void Series2AfterDrawValues();
    // A click on an axis of the chart: its scale, the velocity axis or the time axis.
    void WykresPredkosciClickAxis(platform::TChartAxis* axis);

    // The start is off until the head is ready (with the menu's "Start").
    void DisableVelocityStart();
    // The link status window waits for the laser: the start button is off meanwhile.
    void DisableStartButton();
    // The run has been stopped from outside: the toggle offers "&Start" again.
    void ShowRunStopped();
    // Units, decimals and the chart's value axis title by the chosen velocity unit.
    void UpdateVelocityUnitCaptions();
    // Chart title and time axis in the current language.
    void TranslateCaptions();

    void ShowVelocity(double value);
    void ShowMeanVelocity(double value);
    // What a printed report of the page shows: the mean's caption, value, decimals and unit.
    QString MeanVelocityCaption() const;
    double MeanVelocity() const;
    int MeanVelocityPrecision() const;
    QString MeanVelocityUnit() const;
    platform::TChart* Chart() const { return WykresPredkosci; }
    QProgressBar* SignalGauge() const { return Gauge4; }
    // What the signal monitor shows the warm-up on while the page waits for the laser.
    WarmUpControls SignalWarmUpControls() const;
    // The page's controls the mode sequences act on; null for one it does not own.
    QObject* ModeControlOf(modes::ModeControl c) const;

private:
    TMainForm& shell_;
    platform::TChart* WykresPredkosci = nullptr;
    TDisplay* DisplayPredkosc = nullptr;
    TDisplay* DispPredkoscSr = nullptr;
    QLabel* LabVelUnit1 = nullptr;
    QLabel* LabVelUnit2 = nullptr;
    QLabel* LabPredkoscSr = nullptr;
    QLabel* LabPoczPredkosc = nullptr;
    QProgressBar* Gauge4 = nullptr;
    QFrame* Panel19 = nullptr;
    QPushButton* ButtonStartV = nullptr;
    QPushButton* Button2 = nullptr;
    // The visible time range and sample count the mean was last shown for: the mean's own
    // series redraws the chart, which must not start the mean again.
    struct MeanShownFor {
        double lo = 0, hi = 0;
        int samples = -1;
        bool operator==(const MeanShownFor&) const = default;
    } meanShownFor_;
};
