#include "instrument/SerialFrameParser.h"

#include <algorithm>
#include <array>

#include "foundations/Cp1250.h"
#include "foundations/SharedGlobals.h"
#include "instrument/LinkPort.h"
#include "instrument/MemoryFifo.h"
#include "instrument/OdczytMeteo.h"
#include "platform/Sync.h"

int32_t MakeSignedWord(uint8_t low, uint8_t high) {
    return static_cast<int16_t>(static_cast<uint16_t>(low | (high << 8)));
}

namespace instrument {

void ResetLinkState() {
    LinkState().Reset();
    StoreMeteoRaw({});
}

SerialFrameSink::~SerialFrameSink() = default;

namespace {

// Stands in while no window is connected: the frames are parsed and their values stored, and
// nothing is shown.
class NullFrameSink final : public SerialFrameSink {
public:
    bool ServicePageShown() override { return false; }
    bool ServiceTraceOn() override { return false; }
    bool ZeemanTestOn() override { return false; }
    bool CalibrationFormOpen() override { return false; }
    bool AlignmentViewOn() override { return false; }
    int ListCount(LinkList) override { return 0; }
    void AddListLine(LinkList, const QString&) override {}
    void DeleteOldestLines(LinkList, int) override {}
    void ShowFlagBits() override {}
    void BlinkMeteoLabels() override {}
    void SetStatusText(const QString&) override {}
    void Beep() override {}
    void EnableAlignment() override {}
    void ShowCalibrationOffsets(int32_t, int32_t) override {}
    void DrawAlignmentTarget(int32_t, int32_t, int32_t, int32_t, uint8_t, uint8_t) override {}
    void ShowXyValues(int32_t, int32_t, int32_t, int32_t, uint8_t, uint8_t) override {}
    int32_t* FftSampleBuffer() override { return nullptr; }
    void SetFftGauge(int32_t) override {}
    void FftTransferComplete() override {}
};

SerialFrameSink& nullSink() {
    static NullFrameSink sink;
    return sink;
}

constexpr int kServiceListMax = 500;   // above this many lines ...
constexpr int kServiceListTrim = 51;   // ... the oldest 51 go
constexpr int kZeemanListMax = 15;

inline bool checksumOk(const uint8_t* first, int n, uint8_t checksum) {
    unsigned sum = checksum;
    for (int i = 0; i < n; ++i) sum += first[i];
    return (sum & 0xFF) == 0;
}

// Characters of ReplyText are the received bytes, one per character, so that replies compare
// by byte value; lines for the lists are decoded from code page 1250.
inline QChar byteChar(uint8_t b) { return QChar(static_cast<char16_t>(b)); }

QString cp1250Text(const QString& bytes) { return foundations::fromCp1250(bytes.toLatin1()); }

}  // namespace

namespace {
// Slot that a byte of a frame goes into, by receive state; 0 for the states that wait for the
// sync byte or close a block.
constexpr std::array<uint8_t, 36> kFrameSlot = [] {
    std::array<uint8_t, 36> slot{};
    slot[2] = 1;  // the flag bytes, slots 1..2
    slot[3] = 2;
    slot[5] = 1;  // the signal level
    for (int s = 7; s <= 10; ++s) slot[std::size_t(s)] = uint8_t(s - 6);   // the count, most significant first
    for (int s = 12; s <= 23; ++s) slot[std::size_t(s)] = uint8_t(s - 11);  // environment bytes, slots 1..12
    for (int s = 25; s <= 34; ++s) slot[std::size_t(s)] = uint8_t(s - 24);  // XY bytes, slots 1..10
    return slot;
}();
// Data bytes of the block left from a state on (kFrameSlot's runs).
constexpr std::array<uint8_t, 36> kFrameRun = [] {
    std::array<uint8_t, 36> run{};
    for (int s = 35; s >= 1; --s)
        if (kFrameSlot[std::size_t(s)]) run[std::size_t(s)] = uint8_t(1 + (s < 35 ? run[std::size_t(s) + 1] : 0));
    return run;
}();
}  // namespace

SerialFrameParser::SerialFrameParser(TMemoryFifo* fifo, SerialFrameSink* sink)
    : fifo_(fifo), sink_(sink ? sink : &nullSink()), link_(LinkState()) {}

void SerialFrameParser::SetSink(SerialFrameSink* sink) { sink_ = sink ? sink : &nullSink(); }

void SerialFrameParser::feed(const char* data, int size) {
    feed(reinterpret_cast<const uint8_t*>(data), size);
}

void SerialFrameParser::feed(const uint8_t* data, int size) {
    if (!data || size < 1) return;
    // The window cannot change page while a buffer is parsed on its thread.
    traceOn_ = sink_->ServicePageShown() && sink_->ServiceTraceOn();
    takeState();
    // The frame route, by far the most bytes, keeps the state in a register and takes the data
    // bytes of a block in one step (without the service trace, which lists every byte).
    uint8_t state = state_;
    for (int i = 0; i < size;) {
        if (!FftTransfer.load(std::memory_order_relaxed) &&
            !(ReadingStopped.load(std::memory_order_relaxed) && SignalMonitorStopped.load(std::memory_order_relaxed))) {
            if (!traceOn_ && state < kFrameRun.size() && kFrameRun[state] > 0) {
                const int n = std::min<int>(kFrameRun[state], size - i);
                uint8_t* slot = &slots_[kFrameSlot[state]];
                for (int k = 0; k < n; ++k) slot[k] = data[i + k];
                state = static_cast<uint8_t>(state + n);
                i += n;
                continue;
            }
            state = frameByte(state, data[i++]);
            continue;
        }
        state_ = state;
        route(data[i++]);
        state = state_;
    }
    state_ = state;
    // The threads the events wake read the state: it is out before they are.
    publishState();
    flushEvents();
}

void SerialFrameParser::takeState() {
    state_ = takenState_ = link_.ReceiveState.load(std::memory_order_relaxed);
    status_ = link_.HeadStatus.load(std::memory_order_relaxed);
    flags_ = link_.HeadFlags.load(std::memory_order_relaxed);
}

void SerialFrameParser::publishState() {
    uint8_t expected = takenState_;
    link_.ReceiveState.compare_exchange_strong(expected, state_, std::memory_order_relaxed);
}

void SerialFrameParser::route(uint8_t b) {
    if (FftTransfer.load(std::memory_order_relaxed)) {
        fftByte(b);
    } else if (ReadingStopped.load(std::memory_order_relaxed) &&
               SignalMonitorStopped.load(std::memory_order_relaxed)) {
        if (TextLineMode)
            textByte(b);
        else
            replyByte(b);
    } else {
        state_ = frameByte(state_, b);
    }
}

void SerialFrameParser::ReceiveFftSampleByte(uint8_t b) {
    takeState();
    fftByte(b);
    publishState();
    flushEvents();
}

void SerialFrameParser::ReceiveReplyByte(uint8_t b) { replyByte(b); }

void SerialFrameParser::ReceiveTextByte(uint8_t b) {
    takeState();
    textByte(b);
    publishState();
}

void SerialFrameParser::ReceiveFrameByte(uint8_t b) {
    traceOn_ = sink_->ServicePageShown() && sink_->ServiceTraceOn();
    takeState();
    state_ = frameByte(state_, b);
    publishState();
    flushEvents();
}

void SerialFrameParser::flushEvents() {
    if (sampleEventDue_) {
        sampleEventDue_ = false;
        if (SampleEvent) SampleEvent->set();
    }
    if (meteoEventDue_) {
        meteoEventDue_ = false;
        if (MeteoDataEvent) MeteoDataEvent->set();
    }
}

void SerialFrameParser::addLine(LinkList list, const QString& line) {
    sink_->AddListLine(list, line);
    // Every list the parser fills stays bounded, whichever page is shown.
    const int n = sink_->ListCount(list);
    if (list == LinkList::PSListBox1) {
        if (n > kZeemanListMax) sink_->DeleteOldestLines(list, n - kZeemanListMax);
    } else if (n > kServiceListMax) {
        sink_->DeleteOldestLines(list, kServiceListTrim);
    }
}

void SerialFrameParser::fftByte(uint8_t b) {
    uint8_t state = state_;
    if (state < 1 || state > 18) state = 1;
    if (state == 1) {
        if (b == 0xAA) {
            LinkWatchdogTicks = 0;
            state = 2;
        }
    } else if (state <= 17) {
        slots_[state - 1] = b;  // slots 1..16
        ++state;
    } else {
        state = 1;
        if (checksumOk(&slots_[1], 16, b)) {
            int32_t* samples = sink_->FftSampleBuffer();
            for (int k = 0; k < 8 && FftTransfer.load(std::memory_order_relaxed); ++k) {
                const int32_t index = link_.FftByteCount.load(std::memory_order_relaxed);
                if (index < 0 || index >= kFftSampleCount) break;
                if (samples) samples[index] = MakeSignedWord(slots_[1 + 2 * k], slots_[2 + 2 * k]);
                sink_->SetFftGauge(index);
                link_.FftByteCount.store(index + 1, std::memory_order_relaxed);
                if (index + 1 > kFftSampleCount - 1) {
                    FftTransfer = false;
                    sink_->FftTransferComplete();
                    DataSaved = false;
                }
            }
        } else {
            sink_->Beep();
        }
    }
    state_ = state;
}

void SerialFrameParser::replyByte(uint8_t b) {
    addLine(LinkList::RSListBox, QString::number(b) + QStringLiteral("    ") + cp1250Text(QString(byteChar(b))));
    if (ReplyText.size() < kReplyTextLimit) ReplyText.append(byteChar(b));
    if (ReplyText.size() == 2) {
        const char16_t c0 = ReplyText[0].unicode();
        const char16_t c1 = ReplyText[1].unicode();
        switch (PendingReply) {
            case 1:
                if (c0 == u'M' && (c1 == 0xB1 || c1 == 0xB3 || c1 == 0xB4)) {
                    if (ComCheckEvent) ComCheckEvent->set();
                    sink_->SetStatusText(QString::fromUtf8("Zaproszenie do załadowania programu."));
                    link_.ProbeAnswered = true;
                    PendingReply = 0;
                    ReplyText.clear();
                } else {
                    link_.ProbeAnswered = false;
                }
                break;
            case 2:
                sink_->SetStatusText(c0 == 0x16 && c1 == u'!' ? QStringLiteral("Bios OK.") : QStringLiteral("Bios Bad."));
                ReplyText.clear();
                PendingReply = 0;
                break;
            case 3:
                if (c0 == 0x14 && c1 == 0x1E) {
                    sink_->SetStatusText(QStringLiteral("Program OK."));
                    addLine(LinkList::PSListBox2, QString::fromUtf8("Program załadowany"));
                    if (ProgramLoadEvent) ProgramLoadEvent->set();
                } else {
                    sink_->SetStatusText(QStringLiteral("Program Bad."));
                }
                PendingReply = 0;
                ReplyText.clear();
                break;
            default: break;
        }
    }
    if (PendingReply == 5 && ReplyText == QStringLiteral("c")) {
        sink_->SetStatusText(QString::fromUtf8("Program załadowany po RS"));
        ReplyText.clear();
        PendingReply = 0;
    }
}

void SerialFrameParser::textByte(uint8_t b) {
    const uint8_t counter = static_cast<uint8_t>(state_ + 1);
    state_ = counter;
    if (b == 13) {
        addLine(LinkList::PSListBox2, cp1250Text(ReplyText));
        ReplyText.clear();
    } else if (b != 10 && ReplyText.size() < kReplyTextLimit) {
        ReplyText.append(byteChar(b));
    }
    if (counter == 226) {
        addLine(LinkList::PSListBox2, cp1250Text(ReplyText));
        ReplyText.clear();
        TextLineMode = false;
    }
}

void SerialFrameParser::goodCount(int32_t count) {
    if (sink_->ZeemanTestOn()) {
        addLine(LinkList::PSListBox1, QString::number(count));
        return;
    }
    if (!link_.SkipSamples.load(std::memory_order_relaxed)) {
        if (fifo_ && !fifo_->Full()) fifo_->Put(static_cast<uint32_t>(count));
        sampleEventDue_ = true;  // also when the queue was full: the reader must drain it
    } else if (link_.SkippedSamples.load(std::memory_order_relaxed) < 5) {
        link_.SkippedSamples.fetch_add(1, std::memory_order_relaxed);
    } else {
        link_.SkipSamples = false;
    }
}

void SerialFrameParser::goodMeteo() {
    MeteoWords w;
    for (int k = 0; k < 6; ++k) w[k] = (slots_[1 + 2 * k] << 8) | slots_[2 + 2 * k];  // unsigned words
    StoreMeteoRaw(w);
    meteoEventDue_ = true;
    if (sink_->ServicePageShown()) sink_->BlinkMeteoLabels();
}

void SerialFrameParser::goodXy() {
    auto word = [this](int k) { return MakeSignedWord(slots_[2 + 2 * k], slots_[1 + 2 * k]); };
    const int32_t w1 = word(0), w2 = word(1), w3 = word(2), w4 = word(3);
    const uint8_t px = slots_[9], py = slots_[10];
    sink_->EnableAlignment();
    const int32_t ax = w1 - OffsetX, ay = w2 - OffsetY;
    link_.AlignX = ax;
    link_.AlignY = ay;
    DetectorX = w3;
    DetectorY = w4;
    link_.DetectorPowerX = px;
    link_.DetectorPowerY = py;
    if (sink_->CalibrationFormOpen()) sink_->ShowCalibrationOffsets(w1, w2);
    if (sink_->AlignmentViewOn()) sink_->DrawAlignmentTarget(ax, ay, w3, w4, px, py);
    if (sink_->ServicePageShown()) sink_->ShowXyValues(ax, ay, w3, w4, px, py);
}


inline uint8_t SerialFrameParser::frameByte(uint8_t state, uint8_t b) {
    // Any position outside a frame (0 after the start-up text, or above 35) restarts the search.
    if (state < 1 || state > 35) state = 1;
    if (const uint8_t slot = kFrameSlot[state]) {
        slots_[slot] = b;
        ++state;
    } else if (state == 1) {
        if (b == 0xAA) {
            LinkWatchdogTicks = 0;
            state = 2;
        }
    } else {
        state = frameBlockEnd(state, b);
    }
    if (traceOn_) traceLine(b, state);
    return state;
}

void SerialFrameParser::traceLine(uint8_t b, uint8_t state) {
    state_ = state;
    addLine(LinkList::RSListBox, QString::number(b) + QStringLiteral(" index") + QString::number(state));
}

uint8_t SerialFrameParser::frameBlockEnd(uint8_t state, uint8_t b) {
    const uint8_t status = status_;
    const uint8_t flags = flags_;
    switch (state) {
        case 4:
            if (!checksumOk(&slots_[1], 2, b)) return 1;
            status_ = slots_[1];
            flags_ = slots_[2];
            link_.HeadStatus.store(status_, std::memory_order_relaxed);
            link_.HeadFlags.store(flags_, std::memory_order_relaxed);
            sink_->ShowFlagBits();
            // A head that drops READY sends no count; the reader must still look at the status.
            sampleEventDue_ = true;
            return 5;
        case 6: {
            uint8_t next = 7;
            if ((status & 0x20) && !(status & 0x01)) next = 12;
            if (!(status & 0x20) && !(status & 0x01)) next = 1;
            if (!checksumOk(&slots_[1], 1, b)) return 1;
            link_.SerialSignalLevel.store(slots_[1], std::memory_order_relaxed);
            return next;
        }
        case 11:
            if (!checksumOk(&slots_[1], 4, b)) return 1;
            goodCount(static_cast<int32_t>((uint32_t(slots_[1]) << 24) | (uint32_t(slots_[2]) << 16) |
                                           (uint32_t(slots_[3]) << 8) | uint32_t(slots_[4])));
            return (status & 0x20) ? 12 : (flags & 0x08) ? 25 : 1;
        case 24:
            if (!checksumOk(&slots_[1], 12, b)) return 1;
            goodMeteo();
            return (flags & 0x08) ? 25 : 1;
        default:  // 35
            if (checksumOk(&slots_[1], 10, b)) goodXy();
            return 1;
    }
}

}  // namespace instrument
