#pragma once
// The parser of everything the head sends over the serial link, fed byte by byte: FFT sample
// blocks, two-character replies, the start-up text and the measurement frames. It owns no port;
// the port component hands it each received buffer (feed), and it reaches the window only
// through SerialFrameSink.
#include <QString>
#include <array>
#include <atomic>
#include <cstdint>

#include "instrument/HeadLinkState.h"

class TMemoryFifo;

constexpr int kFftSampleCount = 8192;
// Longest ReplyText the parser builds; further characters are dropped.
constexpr int kReplyTextLimit = 1024;


// low + high * 256, sign-extended from bit 15.
int32_t MakeSignedWord(uint8_t low, uint8_t high);


namespace instrument {

// The link state and the last environment words back to their start values.
void ResetLinkState();

enum class LinkList {
    RSListBox,   // service trace and replies
    PSListBox1,  // counts while the Zeeman test runs
    PSListBox2,  // start-up text and loader lines
};

// Everything the parser shows or calls. Called on the parser's (user-interface) thread.
class SerialFrameSink {
public:
    virtual ~SerialFrameSink();

    // State of the window that the parser asks about.
    virtual bool ServicePageShown() = 0;  // NotebookMainForm on page 6
    virtual bool ServiceTraceOn() = 0;  // CheckBox3 ticked
    virtual bool ZeemanTestOn() = 0;  // menu item ZeemanTestON checked
    virtual bool CalibrationFormOpen() = 0;
    virtual bool AlignmentViewOn() = 0;  // CBJustowanie ticked

    virtual int ListCount(LinkList list) = 0;
    virtual void AddListLine(LinkList list, const QString& line) = 0;
    virtual void DeleteOldestLines(LinkList list, int n) = 0;

    virtual void ShowFlagBits() = 0;
    virtual void BlinkMeteoLabels() = 0;
    virtual void SetStatusText(const QString& text) = 0;
    virtual void Beep() = 0;

    // XY block: enable CBJustowanie and tick cbSystemXY.
    virtual void EnableAlignment() = 0;
    // Calibration form displays DispOfsetX/DispOfsetY: words 1 and 2 without the offsets.
    virtual void ShowCalibrationOffsets(int32_t x, int32_t y) = 0;
    virtual void DrawAlignmentTarget(int32_t alignX, int32_t alignY, int32_t detectorX,
                                     int32_t detectorY, uint8_t powerX, uint8_t powerY) = 0;
    // Service page displays DispX, DispY, DispDeltaX, DispDeltaY, DispPowX, DispPowY.
    virtual void ShowXyValues(int32_t alignX, int32_t alignY, int32_t detectorX, int32_t detectorY,
                              uint8_t powerX, uint8_t powerY) = 0;

    // FFT transfer: the sample buffer (kFftSampleCount entries, or null to discard), the FFT
    // form's second gauge, and the end of the transfer (close the FFT form, enable the
    // vibration menu items again, compute the spectrum).
    virtual int32_t* FftSampleBuffer() = 0;
    virtual void SetFftGauge(int32_t count) = 0;
    virtual void FftTransferComplete() = 0;
};

class SerialFrameParser {
public:
    // fifo and sink may be null (no queue: counts are dropped; no sink: nothing shown).
    SerialFrameParser(TMemoryFifo* fifo, SerialFrameSink* sink);

    // One received buffer (the port component's OnReceiveData); size below 1 does nothing.
    void feed(const char* data, int size);
    void feed(const uint8_t* data, int size);

    void SetFifo(TMemoryFifo* fifo) { fifo_ = fifo; }
    void SetSink(SerialFrameSink* sink);

    // Single-byte entry points of the four routes (feed picks one per byte).
    void ReceiveFftSampleByte(uint8_t b);
    void ReceiveReplyByte(uint8_t b);
    void ReceiveTextByte(uint8_t b);
    void ReceiveFrameByte(uint8_t b);

private:
    void route(uint8_t b);
    void fftByte(uint8_t b);
    void replyByte(uint8_t b);
    void textByte(uint8_t b);
    // One byte of a measurement frame at receive state `state`; the state after it.
    uint8_t frameByte(uint8_t state, uint8_t b);
    // The bytes that close a block (states 4, 6, 11, 24, 35).
    uint8_t frameBlockEnd(uint8_t state, uint8_t b);
    void traceLine(uint8_t b, uint8_t state);
    void addLine(LinkList list, const QString& line);
    void goodCount(int32_t count);
    void goodMeteo();
    void goodXy();
    void flushEvents();
    // The link state's parser fields taken in before a buffer and published after it.
    void takeState();
    void publishState();

    TMemoryFifo* fifo_;
    SerialFrameSink* sink_;
    HeadLinkState& link_;
    // The receive state and the last good flag bytes, worked on here while a buffer is parsed:
    // the shared link state is read once before the buffer and written once after it (and the
    // flag bytes at every good flag block, which the window shows at once), not at every byte.
    // A receive state that someone else set meanwhile is kept: it counts from the next buffer.
    uint8_t state_ = 1;
    uint8_t takenState_ = 1;
    uint8_t status_ = 0;
    uint8_t flags_ = 0;
    std::array<uint8_t, 18> slots_{};  // slots_[1..17] as the frame buffer
    // Events are set once per fed buffer: the waiting threads can act only after the buffer
    // is through (their hand-offs run on this thread), so waking them per frame gains nothing.
    bool sampleEventDue_ = false;
    bool meteoEventDue_ = false;
    bool traceOn_ = false;
};

}  // namespace instrument
