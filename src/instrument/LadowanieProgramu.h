#pragma once
// The firmware loader: checks whether the measuring interface already runs its program, tests
// its BIOS, waits for the load invitation and sends the firmware file line by line, through the
// card's ports ("l_system.hex") or over the serial link ("r_sys16w.hex"). On the serial link it
// also finds the head's speed among the main and the alternative speed.
#include <QString>
#include <atomic>
#include <chrono>
#include <functional>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "instrument/ThreadHandOff.h"

namespace instrument {

constexpr const char* kCardFirmwareFile = "l_system.hex";
constexpr const char* kSerialFirmwareFile = "r_sys16w.hex";

// How a load ended. Cleared (None) at each start.
enum class LoadOutcome { None, AlreadyRunning, Loaded, Failed };

struct LoadResult {
    LoadOutcome outcome = LoadOutcome::None;
    QString message;  // the failure text (empty otherwise)
};

// Waits and poll counts of the loader; tests shorten them.
struct LoaderTimings {
    int serialSettleMs = 500;       // before the serial link test
    int programTestWaitMs = 500;    // wait for the answer to the serial link test
    int dtrPulseMs = 50;
    int probePolls = 50;            // polls for the serial invitation ...
    int probePollMs = 50;           // ... this far apart
    int cardAnswerMs = 90;          // after the card link and BIOS tests
    int biosResetMs = 200;          // after the BIOS reset, before the start-up text is read
    int invitationMs = 1200;        // after the start-up text, before the invitation is read
    int invitationSecondByteMs = 10;
    int cardReadyPolls = 1000000;   // status polls before a card write times out
};

// What the loader shows and asks of the main window. Always called on the user-interface thread.
class LoadProgramSink {
public:
    virtual ~LoadProgramSink();
    virtual void AddMessageLine(const QString& line) = 0;  // PSListBox2
    virtual void ShowErrorBox(const QString& text) = 0;  // message box, hand icon
    virtual void SetStatusText(const QString& text) = 0;  // PSStatusBar1
    // PSProgressBar1, and ProgressBar1 too when the start page is shown.
    virtual void SetProgress(int percent) = 0;
    virtual void ShowCommandError() = 0;  // PSLabel13 "błąd"
    virtual bool ServicePageShown() = 0;  // the main window shows the service panel
    // The serial port is open (RSButton_Polacz disabled). Default: the link's port is connected.
    virtual bool SerialPortOpen();
    // Selects the speed in BaudRateRG and reconnects the port (RSButton_PolaczClick).
    virtual void Reconnect(uint8_t speedIndex) = 0;
    // The speed that worked becomes the main one (TMainForm.BaudRateIndex/AltBaudRateIndex).
    virtual void RememberBaudRates(uint8_t mainIndex, uint8_t altIndex) = 0;
    // The link status window's loader-end entry; failed: the loader itself failed.
    virtual void ReportLoadEnd(bool failed) = 0;
    // The loader has ended. Default: ReportLoadEnd, and a failed load stays an interface error.
    virtual void LoaderEnded(const LoadResult& result);
};

// One record of the firmware file: a leading character followed by pairs of characters.
struct HexFile {
    std::vector<std::string> lines;   // without line ends; empty lines are kept and not sent
    int64_t size = 0;                 // bytes of the file
};
// Reads a firmware file. False with a message naming the file when it is missing, unreadable
// or empty.
bool ReadHexFile(const QString& path, HexFile& out, QString& error);

// Baud-table indexes of the serial link's main and alternative speed.
struct LoaderSpeeds {
    uint8_t main = 6;   // BaudRateIndex
    uint8_t alt = 11;   // AltBaudRateIndex
};

// TLoadProgram: runs once per Start and keeps its result (the object outlives the thread).
class TLoadProgram {
public:
    using Speeds = LoaderSpeeds;

    explicit TLoadProgram(LoadProgramSink& sink, LoaderTimings timings = {});
    ~TLoadProgram();

    // Starts the loader for the current InterfaceMode (after a previous run has ended).
    void Start(Speeds speeds = {});
    bool Running() const { return worker_.running(); }
    // Asks a running load to end at its next pause (shutdown); it then ends without a box and
    // without the end report.
    void Terminate() { worker_.requestTerminate(); }
    bool WaitForEnd(std::chrono::milliseconds timeout = std::chrono::milliseconds(-1)) {
        return worker_.waitForEnd(timeout);
    }
    LoadResult Result() const;
    Speeds SpeedsAfter() const;

    // The thread body (public so that a test may run it on its own thread).
    void Execute();

    // Card write routines (status bit 7 first, up to cardReadyPolls polls).
    bool CardReadyForData();
    bool WaitCardReady();
    bool WriteCardPort(uint16_t port, uint8_t value);
    bool WriteCardCommand(uint8_t value);
    bool WriteCardData(uint8_t value);
    bool SendHexLine(const std::string& line);
    int Column() const { return column_; }

private:
    void executeCard();
    void executeSerial();
    bool LoadHexFileCard();
    bool LoadHexFileSerial();
    bool openFirmware(const char* name, HexFile& file);
    void fail(const QString& message);
    void toUi(const std::function<void(LoadProgramSink&)>& f);
    void sleepMs(int ms);
    void AddMessageLine(const QString& text);
    void ShowErrorBox(const QString& text);
    void showProgress(int64_t sent, int64_t size, int& shown);

    LoadProgramSink& sink_;
    LoaderTimings timings_;
    WorkerThread worker_;
    mutable std::mutex m_;
    LoadResult result_;
    Speeds speeds_;
    int32_t column_ = 0;
};

}  // namespace instrument
