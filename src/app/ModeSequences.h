#pragma once
// How the main window puts the head into the state of a page: the command bytes in their fixed
// order, the start and stop of reading, the way back to the main menu, and the live readout
// page's switches. Plain code over IModeHost, so a test checks every byte against a recording
// host; the main window implements the host over its fields, controls and the real link.
#include "instrument/CommandLink.h"
#include "instrument/LinkPort.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class QWidget;

namespace modes {

constexpr uint8_t kResolution10nm = 'e';
constexpr uint8_t kResolution100nm = 'f';

// 'e' only when the resolution button is offered and 10 nm is chosen; otherwise 'f'.
uint8_t ResolutionByte(bool resolutionButtonVisible, bool resolution10);

// Decimals of the live readout by unit index (0 mm, 1 µm, 2 inch, 3 mils, 4 velocity x0.001,
// 5 velocity as measured, 6 in/s, 7 in/min, 8 unused, 9 angle and Wollaston).
using PrecisionTable = std::array<uint8_t, 10>;
PrecisionTable PrecisionTableFor(uint8_t resolutionByte);

// Which start routine a page runs once the head is ready.
// The main window's controls the sequences' default hooks act on, by their component names
// (Button1: the live readout page's).
enum class ModeControl {
    SpeedButtonZnak, UpDown2, DisplayWys, NotebookMainForm, NotebookWyswietlacz, CBJustowanie,
    DispWarZadana, PanelWarMierzona, PanelWarZadana, MenuItemWartosczadana, GridOdchylka,
    MenuItemTabelkaOdchylek, DispKatCalkowity, PanelWMierzonaPK, PanelWZadanaPK,
    MenuItemKatCalkowity, GaugeProsto, PanelWarProsto, PanelWarProstoY, Panel2OsWar,
    ButtonPozStart, Start1, Label26, Gauge4, Panel19, ButtonStartV, LabPoczPredkosc, LabPoczPK,
    BStartPK, Label31, GaugeFFT, FFTPom, ButtonZaliczeniepunktu, ReczneZaliczeniePunktu,
    Automatyczny1, ProgressBar2, ScrollBar16, Label139, ButtonTypPomiaru, Label2, Label5,
    FotoPomiaru, ButtonOs, ButZerowanieWyniku, Button1, Panel6, Label32, Gauge3,
};

enum class StartRoutine { None, Display, Linear, Velocity, Angular, Fft };
// By NotebookMainForm page: 2 display, 3 linear, 4 velocity, 5 angular, 9 FFT.
StartRoutine StartRoutineForPage(int page);

// What the live readout shows after a switch; unset members stay as they are.
struct ReadoutView {
    QString TypeCaption;                    // ButtonTypPomiaru
    std::optional<bool> LengthLabelShown;   // Label2
    std::optional<bool> VelocityLabelShown; // Label5
    QString LengthLabel;                    // Label2 text
    QString VelocityLabel;                  // Label5 text
    int Decimals = -1;                      // UpDown2 maximum and position, DisplayWys decimals
    std::optional<bool> PhotoShown;         // FotoPomiaru
};

// What the sequences need from the main window. Fields are handed out by reference. The
// control hooks act on the controls the host hands out (Control) and skip one it has not, so a
// host overrides only what it shows differently.
class IModeHost : public ICommandLink {
public:
    // The command and status layer's SendCommandByte.
    void SendCommandByte(uint8_t b) override;
    // --- main-window fields ---
    virtual uint8_t& MeasurementModeField() = 0;
    virtual PrecisionTable& DisplayPrecisionField() = 0;
    virtual uint8_t& DisplayLengthUnitField() = 0;
    virtual uint8_t& DisplayVelocityUnitField() = 0;
    virtual uint8_t& MeasuredAxisField() = 0;
    virtual bool ResolutionButtonVisible() const = 0;  // BRozdziel offered on this page
    virtual bool Resolution10() const = 0;
    virtual int StraightnessMethod() const = 0;
    // The main window (caption, menu bar); null: those hooks do nothing.
    virtual QWidget* MainWindowWidget() const = 0;
    // A control the default hooks act on; null where the host has none.
    virtual QObject* Control(ModeControl c) const = 0;
    virtual int MainPage() const;                          // NotebookMainForm page
    virtual bool AlignmentChecked() const;                 // CBJustowanie
    virtual bool HeadReady();                              // the layer's HeadReady
    virtual bool SerialLink() const;                       // the serial link is the chosen one

    // --- threads and link ---
    // Creates and runs the one reading thread (TOdczyt) with this generation, newly taken
    // from ReadingThreadGeneration.
    virtual void CreateReadingThread(uint64_t generation) = 0;
    virtual void StartSignalMonitor() = 0;
    virtual void RestartMeteoReading() = 0;
    virtual void Sleep(int ms);
    virtual void ClearFifo() = 0;
    virtual void ResetSampleSkip();    // SkipSamples := 1, SkippedSamples := 0
    virtual void SetHeadStatusBits(uint8_t mask);  // HeadStatus |= mask
    virtual void SetHeadFlags(uint8_t flags);      // HeadFlags := flags
    virtual void SetLinkWatchdogEnabled(bool on) = 0;  // PSTimer2

    // --- window ---
    virtual void ShowMainPage(int page);            // NotebookMainForm
    virtual void ShowReadoutPage(int page);         // NotebookWyswietlacz: 0 readout, 1 message
    virtual void SetWindowCaption(const QString& caption);
    virtual void HideTopLevelMenus();
    virtual void EnableMenuItemsByTag(const std::vector<int>&, bool) = 0;
    // The controls each start routine prepares before its bytes (panels, gauges, buttons).
    virtual void PrepareStartControls(StartRoutine r);
    // After the linear sequence: manual acceptance button or the automatic waiting controls.
    virtual void FinishLinearStartControls(uint8_t mode);
    virtual void ApplyReadoutView(const ReadoutView& v);
    virtual void ShowSetupPicture() = 0;
    // Live readout entry: ButtonTypPomiaru, ButtonOs, ButZerowanieWyniku and the page's Button1
    // enabled, Panel6 hidden.
    virtual void PrepareLiveReadoutPage();
    // Head off on entry: Label32 := text, zero button disabled.
    virtual void ShowLiveReadoutHeadOff(const QString& text);
    // Interface error: Gauge3 hidden, zero button disabled.
    virtual void ShowLiveReadoutInterfaceError();
};

// --- reading ---
// The block every start routine runs: status byte on; when no reading thread runs, 'R' 0x89 'S',
// ReadingStopped cleared, one new thread; on the serial link the watchdog restarted when asked.
void StartReadingBlock(IModeHost& h, bool withWatchdog);
void StartLinearReading(IModeHost& h);
void StartVelocityReading(IModeHost& h);
void StartDisplayReading(IModeHost& h);
void StartAngularReading(IModeHost& h);
void StartFftReading(IModeHost& h);
void RunStartRoutine(IModeHost& h, StartRoutine r);

// Sets the three stop flags, signals the two quit events and waits 200 ms; does not wait for
// the threads to end.
void StopReading(IModeHost& h);
void ResetHeadFlags(IModeHost& h);
void RestartCounting(IModeHost& h);
void ReturnToMainMenu(IModeHost& h);
void ReturnToMainMenuFromVelocity(IModeHost& h);
QString MainMenuCaption();
void UpdateCaption(IModeHost& h);

// Sets the text of a button of the main window (nothing when the host has none).
void SetButtonCaption(IModeHost& h, ModeControl button, const QString& caption);

// Panels of the positioning and angular pages, shown as their menu commands are checked.
void ShowPositioningPanels(IModeHost& h);
void HidePositioningPanels(IModeHost& h);
void ShowAngularPanels(IModeHost& h);
void HideAngularPanels(IModeHost& h);

// --- live readout page ---
void BitBtnWyswietlaczClick(IModeHost& h);
// Distance readout: resolution byte, decimal table, 0x8C, units by LengthUnit, optional 'X'.
ReadoutView SetDistanceDisplay(IModeHost& h);
// Distance -> velocity -> angle -> Wollaston -> distance.
ReadoutView ButtonTypPomiaruClick(IModeHost& h);
// Unit button of the length and velocity readouts.
ReadoutView SpeedButton1Click(IModeHost& h);
// Unit label and decimals of the current unit (length modes 0 and 6, velocity mode 7).
ReadoutView DisplayUnitView(uint8_t mode, uint8_t lengthUnit, uint8_t velocityUnit,
                            const PrecisionTable& precision);
// "+" <-> "-".
QString ToggleSignCaption(const QString& caption);
// Steps MeasuredAxis 0 -> 1 -> 2 -> 0, sets and gives the new ButtonOs caption.
QString ButtonOsClick(IModeHost& h);
// Toggles the caption of SpeedButtonZnak (the sign the readout shows) and gives it.
QString SpeedButtonZnakClick(IModeHost& h);
// The position of UpDown2 becomes the decimals of DisplayWys.
void UpDown2Click(IModeHost& h);
// Zeroes the reading.
void ButZerowanieWynikuClick(IModeHost& h);

// What Esc does on a page of the main window.
enum class EscAction { None, CloseMainWindow, ReturnToMainMenu, LeaveMeasurementPage,
                       ReturnFromVelocity, LeaveServicePanel, LeaveFlatnessPage };
EscAction EscActionForPage(int page);
constexpr int kKeyEscape = 27;
constexpr int kKeyR = 82;
// Key handling of the main window: runs what this module owns (main menu returns, R restart
// on page 2) and gives back the action the caller must still perform (close, leave pages).
EscAction FormKeyDown(IModeHost& h, int virtualKey);

}  // namespace modes
