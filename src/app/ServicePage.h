#pragma once
// The service panel (page 6 of NotebookMainForm, "PanelSerwisowy"): testing the interface by
// hand. It owns its controls (command bytes, card port reads, the reading and environment
// threads, the BIOS and program tests, the firmware reload, the flag pages, the environment
// channels and the two-axis values) and its two timers PSTimer1 (flag loop) and PSTimerMiganie
// (blinking). The link, the threads and the window it reaches through ServicePanelHost; the
// rules it applies are plain code in ServicePanel.h.
#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTimer;
class QWidget;
class TDisplay;

// What the panel needs of the window, the link and the threads.
class ServicePanelHost {
public:
    virtual ~ServicePanelHost() = default;
    virtual void SendCommand(uint8_t byte) = 0;
    virtual uint8_t ReadPort(uint16_t port) = 0;  // card ports 0x300..0x303
    virtual bool SerialLink() const = 0;          // InterfaceMode 1
    virtual bool ServicePageShown() const = 0;
    virtual void SetStatusText(const QString& text) = 0;  // PSStatusBar1
    virtual void ShowMessage(const QString& text) = 0;
    // The reading thread (TOdczyt) of the current mode.
    virtual bool ReadingThreadRunning() = 0;
    virtual void StartReadingThread() = 0;
    // The environment thread (TOdczytMeteo), started without the station's switch-on byte.
    virtual bool MeteoThreadRunning() = 0;
    virtual void StartMeteoThread() = 0;
    // The firmware loader and the card's BIOS text reader.
    virtual bool ProgramLoaderRunning() = 0;
    virtual void StartProgramLoader() = 0;
    virtual bool BiosReaderRunning() = 0;
    virtual void StartBiosReader() = 0;
    virtual void DisconnectAndClose() = 0;
    virtual void RestartCounting() = 0;
    // The service menus hidden and the page shown before the panel.
    virtual void ShowPageBeforeService() = 0;
    virtual void OpenCalibrationForm() = 0;
};

class ServicePage final : public QObject {
public:
    ServicePage(ServicePanelHost& host, QObject* parent);

    // Makes the page; `shell` receives the controls the rest of the window shows into (the
    // link choice, the lists, the status bar and the settings pages).
    QWidget* Build(class TMainForm& shell);
    // Connects the page's buttons, timers and the service menus' commands (once built).
    void Connect(QAction* zeemanOn, QAction* zeemanOff, QAction* flagLoop, QAction* calibration);

    // --- handlers ---
    void PSButton3Click();   // "Wyślij K0"
    void PSButton1Click();   // "T ON"
    void PSButton2Click();   // "T OFF"
    void PSButton4Click();   // "Odbior FIFO"
    void PSButton6Click();   // "Odbior K1"
    void PSButton7Click();   // "Odbior K0"
    void PSOdczytFLAGClick();
    void LadowanieProgramuClick();  // "Load program"
    void PSOdczytFifo_ONClick();
    void PSButton15Click();  // "Odczyt OFF"
    void PSButton31Click();  // "Koniec"
    void PSKasowanieWyniku();
    void ResetBiosuClick();
    void PSButton43Click();  // "Test Biosu"
    void PSButton46Click();  // "Test Programu"
    void OdczytMeteoClick();
    void bRejOnClick();
    void PSButtonKoniecTrybuSerwisowegoClick();
    void ZeemanTestONClick();
    void ZeemanTestOFFClick();
    void petlaprzyodczycieFLAGClick();
    void kalibracja1Click();
    void PSTimer1Timer();
    void PSTimerMiganieTimer();

    // --- routines the window and the frame parser call ---
    void ShowFlagBits();
    void RefreshFlagView();
    void BlinkMeteoLabels();
    // The panel is being shown (EnterServicePanel): blinking on, progress back to 0.
    void Entered();
    // LeaveServicePanel: the page before, the blinking off.
    void LeaveServicePanel();
    // Counts go to PSListBox1 instead of the conversion (menu ZeemanTestON checked).
    bool ZeemanTestOn() const;
    void ShowXyValues(int32_t alignX, int32_t alignY, int32_t detectorX, int32_t detectorY, uint8_t powerX,
                      uint8_t powerY);
    // Environment channels: a card channel just read (its raw value, the next one highlighted),
    // the six raw values of a serial block, and the six converted texts.
    void ShowMeteoChannel(int channel, int32_t raw);
    void ShowMeteoRawValues(const std::array<int32_t, 6>& raw);
    void ShowMeteoValues(const std::array<QString, 6>& texts);
    void SetProgress(int percent);  // PSProgressBar1
    void ShowCommandError();        // PSLabel13 "błąd"
    // PSLabel13's colour (Windows colour value) as the card's command port is found free or busy.
    void SetCommandReadyColour(uint32_t colour);

    QTimer* FlagTimer() const { return PSTimer1; }
    QTimer* BlinkTimer() const { return PSTimerMiganie; }
    // The motor and clock command buttons with their component names, in the order of
    // runcontrol::ServiceCommandButtons.
    const std::vector<std::pair<QString, QPushButton*>>& CommandButtons() const { return commandButtons_; }

private:
    void sendAndSay(uint8_t byte, const QString& status);
    void cardTest(uint8_t command, QString (*answer)(uint8_t, uint8_t));
    void serialReply(uint8_t kind);
    QLabel* cardValue(int bit) const { return cardValues_[size_t(bit)]; }
    std::vector<std::pair<QString, QPushButton*>> commandButtons_;

    ServicePanelHost& host_;
    QSpinBox* PSSpinEdit1 = nullptr;
    QStackedWidget* NotebookFlagi = nullptr;
    QLabel* Label1FIFO = nullptr;
    QLabel* Label1RS = nullptr;
    std::array<QLabel*, 8> cardValues_{};  // PSLabel30 (bit 0) .. PSLabel23 (bit 7)
    std::array<QLabel*, 8> cardNames_{};
    std::array<QLabel*, 8> serialValues_{};  // PSRSLabel30 .. PSRSLabel23
    std::array<QLabel*, 8> serialNames_{};
    std::array<QLabel*, 6> meteoNames_{};
    bool meteoStartTried_ = false;  // this visit's first environment block has been seen
    std::array<QLabel*, 6> meteoRaw_{};
    std::array<QLabel*, 6> meteoValues_{};
    std::array<TDisplay*, 6> xyDisplays_{};  // DispX, DispY, DispDeltaX, DispDeltaY, DispPowX, DispPowY
    QProgressBar* PSProgressBar1 = nullptr;
    QLabel* PSLabel13 = nullptr;
    QListWidget* PSListBox2 = nullptr;
    QTimer* PSTimer1 = nullptr;
    QTimer* PSTimerMiganie = nullptr;
    QAction* ZeemanTestON = nullptr;
    QAction* ZeemanTestOFF = nullptr;
    QAction* petlaprzyodczycieFLAG = nullptr;
    QWidget* page_ = nullptr;
    // The card status byte last shown, for the blinking.
    std::optional<uint8_t> cardStatus_;
    bool blinkOn_ = false;
};
