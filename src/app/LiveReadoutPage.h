#pragma once
// The live readout page ("Wyswietlacz") of the main window. It owns the page's controls (the
// readout DisplayWys with its units, the message page and the two signal gauges, the
// measurement, display and alignment switches, the zeroing and main-menu buttons, the running
// panel Panel6 and the set-up picture FotoPomiaru), builds them, and hands its switches to the
// mode sequences through the window's mode host. The window reaches the page only through the
// calls below.
#include <QObject>
#include <QString>

struct WarmUpControls;
namespace modes {
enum class ModeControl;
}
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPixmap;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QToolButton;
class QWidget;
class TDisplay;
class TMainForm;
namespace alignment {
struct Target;
}
namespace modes {
enum class EscAction;
}
namespace platform {
class TChart;
class TChartShape;
class TPointSeries;
}

class LiveReadoutPage final : public QObject {
public:
    explicit LiveReadoutPage(TMainForm& shell);

    // Makes the page's controls; the notebook takes the returned page.
    QWidget* Build();
    // Connects the page's buttons and the window's keys.
    void Connect();

    // --- handlers ---
    void BitBtnWyswietlaczClick();
    void ButtonTypPomiaruClick();
    void SpeedButton1Click();
    void SpeedButtonZnakClick();
    void ButtonOsClick();
    void ButZerowanieWynikuClick();
    void UpDown2Click();
    // The set-up picture clicked: the help on alignment.
    void FotoPomiaruClick();
    static constexpr int kAlignmentHelpContext = 126;
    // "Justowanie": the alignment target in place of the set-up picture while it is ticked.
    void CBJustowanieClick();
    // The glyph button at the top left: starts the desktop's spreadsheet program.
    void BitBtn1Click();
    // "&Rejestracja": the recording window, modal.
    void ButRejestracjaClick();
    // The keys the mode sequences act on (Esc, R); gives back the way back that is still to go.
    modes::EscAction FormKeyDown(int virtualKey);

    // --- what the window and the reading path show on the page ---
    void ShowReading(double value);
    double ReadingValue() const;
    int ReadingPrecision() const;
    // The sign switch shows "+": readings are shown with their sign turned.
    bool SignPlus() const;
    // The readout in place of the message page (the first sample after a wait).
    void ShowReadoutGauges();
    // The message page's text (no interface, no card, the signal monitor's states).
    void SetMessage(const QString& text);
    void ShowReadoutPage(int page);
    // The decimals of the readout and the most its digit switch offers.
    void SetReadoutDecimals(int decimals);
    // Panel6: shown while a velocity run records.
    void ShowRunPanel(bool on);
    void ShowSetupPicture(const QPixmap& picture);
    // "Justowanie": the alignment view is on; offered once the head reports an XY system.
    bool AlignmentChecked() const;
    void EnableAlignment();
    // Places the two spots and their lines on chJustowanie.
    void DrawAlignmentTarget(const alignment::Target& target);
    platform::TChart* AlignmentChart() const { return chJustowanie; }
    // The readout's unit labels and decimals (the window's ApplyDisplayUnit).
    void SetLengthUnitLabel(const QString& text);
    void SetVelocityUnitLabel(const QString& text);
    QProgressBar* ReadoutGauge() const { return Gauge1; }
    QProgressBar* MonitorGauge() const { return Gauge3; }
    // What the signal monitor shows the warm-up on while the page waits for the laser.
    WarmUpControls SignalWarmUpControls() const;
    // The page's controls the mode sequences act on; null for one it does not own.
    QObject* ModeControlOf(modes::ModeControl c) const;
    // The start point row of this page goes in front of "&Rejestracja".
    QWidget* StartPointAnchor() const;

private:
    TMainForm& shell_;
    QStackedWidget* NotebookWyswietlacz = nullptr;
    TDisplay* DisplayWys = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label32 = nullptr;
    QLabel* FotoPomiaru = nullptr;
    QProgressBar* Gauge1 = nullptr;
    QProgressBar* Gauge3 = nullptr;
    QGroupBox* GroupBox6 = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QPushButton* ButtonTypPomiaru = nullptr;
    QPushButton* ButtonOs = nullptr;
    QPushButton* ButZerowanieWyniku = nullptr;
    QPushButton* ButRejestracja = nullptr;
    QPushButton* Button1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButtonZnak = nullptr;
    QSpinBox* UpDown2 = nullptr;
    QCheckBox* CBJustowanie = nullptr;
    QFrame* Panel6 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    platform::TChart* chJustowanie = nullptr;
    platform::TPointSeries* PointBlue = nullptr;
    platform::TPointSeries* PointRed = nullptr;
    platform::TChartShape* HorBlue = nullptr;
    platform::TChartShape* VerBlue = nullptr;
    platform::TChartShape* HorRed = nullptr;
    platform::TChartShape* VerRed = nullptr;
};
