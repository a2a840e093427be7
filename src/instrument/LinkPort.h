#pragma once
// The command and status layer: one command byte to the head, the status predicates, and the
// card's ports, the same on the measuring card (InterfaceMode 0) and the serial link (1).
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "instrument/ComDrv32.h"
#include "instrument/HeadLinkState.h"

namespace platform {
class CardPorts;
}


// Command bytes to the head; the same values go to the card and over the serial link.
namespace HeadCommand {
constexpr uint8_t RecordingOn = 0x20;
constexpr uint8_t RecordingOff = 0x21;
constexpr uint8_t ModeSetup2 = 0x32, ModeSetup3 = 0x33, ModeSetup5 = 0x35, ModeSetup6 = 0x36,
                  ModeSetup7 = 0x37;
constexpr uint8_t SignalLevelOn = 0x38;
constexpr uint8_t ReactToLowLevel = 0x3A;
constexpr uint8_t IgnoreLowLevel = 0x3B;
constexpr uint8_t ProgramReset = 0x3C;
constexpr uint8_t Idle3D = 0x3D, Idle3F = 0x3F, Idle41 = 0x41, Idle46 = 0x46;
constexpr uint8_t Acknowledge = 0x40;
constexpr uint8_t ZeemanTestOn = 0x49;
constexpr uint8_t ZeemanTestOff = 0x4A;
constexpr uint8_t ClockInternal = 0x4C, ClockExternalT = 0x4D, ClockExternalT2 = 0x4E;
constexpr uint8_t BiosReset = 0x50;
constexpr uint8_t ResetFifo = 0x52;
constexpr uint8_t StartFifo = 0x53;
constexpr uint8_t StopFifo = 0x54;  // also the BIOS test
constexpr uint8_t BiosTest = 0x54;
constexpr uint8_t ModeSetupW = 0x57;
constexpr uint8_t XyOn = 0x58, XyOff = 0x59;
constexpr uint8_t DynamicXyOn = 0x5A, DynamicXyOff = 0x5B;
constexpr uint8_t Test1MHz = 0x64;
constexpr uint8_t ResolutionHalf = 0x65;     // "L/2", the 10 nm resolution
constexpr uint8_t ResolutionQuarter = 0x66;  // "L/4", the 100 nm resolution
constexpr uint8_t MotorPowerOn = 0x73, MotorPowerOff = 0x74;
constexpr uint8_t MotorStepRight = 0x75, MotorStepLeft = 0x76;
constexpr uint8_t MotorTurnOn = 0x77, MotorTurnOff = 0x78;
constexpr uint8_t FftStart = 0x7A;
constexpr uint8_t FftSendBlocks = 0x7C;
constexpr uint8_t FftEnd = 0x7D;
constexpr uint8_t MeteoOn = 0x80;
constexpr uint8_t MeteoChannelFirst = 0x82, MeteoChannelLast = 0x87;  // card: one channel each
constexpr uint8_t ProgramTest = 0x88;
constexpr uint8_t ModeSetup89 = 0x89;
constexpr uint8_t ModeSetup8C = 0x8C;
constexpr uint8_t SignalLevelRequest = 0x8F;  // card: answer on port 0x303
}  // namespace HeadCommand

namespace instrument {

// What the layer shows. The layer calls it on the user-interface thread only: calls made on a
// worker are queued there, so an implementation may touch widgets directly.
class LinkSink {
public:
    virtual ~LinkSink();
    // Service-panel label PSLabel13 (Windows colour value: 0x008000 ready, 0x0000FF busy).
    virtual void SetCommandReadyColour(uint32_t colour) = 0;
    // Switch the link watchdog timer PSTimer2 off.
    virtual void StopLinkWatchdog() = 0;
    virtual void SetStatusText(const QString& text) = 0;
    // A message box ("Port zajety").
    virtual void ShowMessage(const QString& text) = 0;
};

// Which link the program talks to the head through (the registry's InterfaceMode values).
enum class LinkKind : uint8_t { Card = 0, Serial = 1, None = 2 };

// What the layer talks through. Any part may be null: no serial port, no card (the card
// predicates then read 0 and sending to the card takes the interface-error path at once).
struct LinkSetup {
    TCommPortDriver* comm = nullptr;
    platform::CardPorts* card = nullptr;
    LinkSink* sink = nullptr;
    LinkClock clock = LinkClock::system();
    // Left unset, SetLink takes the kind from InterfaceMode once, when the link is installed.
    std::optional<LinkKind> kind;
};

// The head's status as one link reads it and the one command byte it sends: the card's
// ports or the serial link's last frame. The routines below go through the installed one.
class HeadLink {
public:
    virtual ~HeadLink();
    virtual LinkKind Kind() const = 0;
    virtual uint8_t InterfaceStatus() = 0;
    virtual bool MeasureLevelLost() = 0;
    virtual bool HeadReady() = 0;
    virtual bool DataErrorActive() = 0;
    virtual void SendCommandByte(uint8_t byte) = 0;
};

// Installs what the routines below use and chooses the link implementation (the main window
// in ConfigureLink, tests per case).
void SetLink(LinkSetup setup);
std::shared_ptr<const LinkSetup> Link();
// The installed link's kind; the serial link is the chosen one.
LinkKind ChosenLink();
bool SerialLinkChosen();
// No link, as before the program chooses one (the window's end; tests' clean state).
void ResetLink();
std::shared_ptr<HeadLink> headLinkNow();

// Holds the link's send lock while it lives. A command of several bytes goes out whole and in
// order under it: bytes that another thread sends meanwhile (the reading thread's per-frame
// bytes) wait until it ends. SendCommandByte takes the same lock, and a thread may nest
// sequences. Never hold one across a blocking hand-off to another thread.
class CommandSequence {
public:
    CommandSequence();
    ~CommandSequence();
    CommandSequence(const CommandSequence&) = delete;
    CommandSequence& operator=(const CommandSequence&) = delete;

private:
    std::unique_lock<std::recursive_mutex> lock_;
};

}  // namespace instrument

// Card status byte (port 0x301) with the card, HeadStatus on the serial link, else 0.
uint8_t ReadInterfaceStatus();
uint8_t ReadCardData();
bool CardCommandReady();   // card status bit 7 set; colours PSLabel13
bool CardFifoEmpty();      // card status bit 0 clear
bool SerialFlagBit0();     // velocity too high (HeadFlags bit 0) unless ignored
bool TakeRemoteEvent();    // HeadFlags bit 1: acknowledge; True unless within 200 ms of the last
bool SerialFlagBit2();     // Zeeman frequency too low (HeadFlags bit 2)
bool MeasureLevelLost();
bool HeadReady();
bool DataErrorActive();
// Card only: waits for the card FIFO and reads one byte. False after 1,000,000 empty polls
// ("Odczyt trwa za długo") or when there is no card.
bool ReadDataByte(uint8_t& out);
void OutPort(uint16_t port, uint8_t value);
uint8_t InPort(uint16_t port);
// One command byte to the head; at least 10 ms on either link. Waits while another thread
// holds a CommandSequence.
void SendCommandByte(uint8_t byte);
