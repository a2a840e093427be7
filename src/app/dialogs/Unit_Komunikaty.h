#pragma once
// The link status window: why reading stopped, measure again or back to the main menu, the
// beam-lost timer, the service key sequence, and the end of the firmware loader. The window
// reaches the main window only through IKomunikatySink.
#include "foundations/FR_Utils.h"
#include "instrument/LinkPort.h"
#include "instrument/CommandLink.h"
#include "instrument/OdczytSygnaluPomiarowego.h"
#include "instrument/StopDecision.h"

#include <QString>
#include <cstdint>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

// What the window needs from the main window.
class IKomunikatySink : public ICommandLink {
public:
    // The command and status layer's SendCommandByte.
    void SendCommandByte(uint8_t b) override;
    virtual uint8_t MeasurementMode() const = 0;
    virtual bool RunInProgress() const;                 // MeasurementRunning
    virtual bool ResolutionOffered() const = 0;  // BRozdziel visible and Resolution10
    virtual bool MeasureLevelLost();                    // the layer's MeasureLevelLost
    virtual bool SerialLink() const;                    // the serial link is the chosen one
    virtual void Sleep(int ms);
    // Starts a new signal monitor (the caller has cleared SignalMonitorStopped).
    virtual void StartSignalMonitor() = 0;
    // Creates and runs the reading thread (TOdczyt) with this generation, newly taken from
    // ReadingThreadGeneration.
    virtual void CreateReadingThread(uint64_t generation) = 0;
    // Generation of the reading thread that runs or ran last.
    virtual uint64_t CurrentReadingGeneration() const;
    virtual void RestartCounting() = 0;
    virtual void SetHeadFlags(uint8_t flags);           // HeadFlags := flags
    virtual void AddRecordingErrorRow() = 0;  // when the recording window exists
    virtual bool MotorRunning() const = 0;
    virtual void ClearMotorRunning() = 0;
    // The per-mode steps of "&Pomiar" before the restart (run controls, chart picture, FIFO).
    virtual void RestartMeasurementPage(uint8_t mode) = 0;
    // The per-mode way back of "&Główne Menu".
    virtual void ReturnToMainMenu(uint8_t mode) = 0;
    // Head was off: disable ButtonStartV and show NotebookWyswietlacz page 1.
    virtual void ShowWaitingForLaser() = 0;
    virtual void StartLinkWatchdog() = 0;  // PSTimer2 (serial link)
    // A serial line that hung up was closed: open the port again before measuring again. False
    // (and the inspector told why) when it still cannot be opened.
    virtual bool ReopenFailedLink() = 0;
    virtual void EnterServicePanel() = 0;
    // Enables or disables the main window's contents while this window is shown (not the
    // window that parents this one, which would disable this window too).
    virtual void SetMainWindowEnabled(bool) = 0;
    // Signal gauge of the current measurement type.
    virtual void ShowTypeGaugeLevel(int) = 0;
    // Firmware loader end.
    virtual uint8_t ReadCardDataPort();                 // port 0x300
    virtual void SetStatusText(const QString&) = 0;
    virtual void ShowErrorMessage(const QString&) = 0;
    virtual void AppendServiceLog(const QString&) = 0;  // PSListBox2
    virtual int MainPage() const = 0;
    virtual void ShowMainPage(int) = 0;
    virtual QString CommandLineParameter() const = 0;
    // Clicks the mode's page button, then loads the file.
    virtual void OpenCommandLineFile(int mode, const QString& path) = 0;
};

class TKomunikaty : public TSSForm, public ILinkStatusView {
    Q_OBJECT
public:
    // Without a sink the window does nothing towards the main window until SetSink.
    explicit TKomunikaty(IKomunikatySink* sink = nullptr, QWidget* parent = nullptr);
    void SetSink(IKomunikatySink* sink);

    // The reading thread of this generation ended (user-interface thread). An older thread's
    // end changes nothing.
    void KoniecPrzerwaniaOdczyt(uint64_t generation);
    // loadFailed: the loader itself failed (and has said why); the end then claims no loaded
    // program.
    void KoniecPrzerwaniaLadowanieP(bool loadFailed = false);
    void RestartAfterStop();
    void OpenFileFromCommandLine(const QString& path);

    void Button1Click();
    void Button2Click();
    void Timer1Timer();
    void Button1KeyPress(QChar key);

    // The signal monitor's feed while the window is shown.
    void UpdateKomunikatySignal(int level, int threshold) override;
    void SetMeasureEnabled(bool on) override;
    bool Shown() const override { return isVisible(); }
    // Copies the main window's gauge range (FormCreate).
    void CopyGaugeRange(int minimum, int maximum);

    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QProgressBar* Gauge1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void restartMonitorIfStopped();
    void setTexts(const QString& label1Key, const QString& label3Key);

    IKomunikatySink* sink_;
    ServiceKeySequence keys_;
    uint8_t lostTicks_ = 0;
};

// The one instance, made at start-up right after the main window.
extern TKomunikaty* Komunikaty;
