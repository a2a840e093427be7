// The frame parser fed the same bytes whole and in pieces must end in the same state and tell
// the window the same things: a frame split over two reads is common on a real port.
//
// Input: byte 0 chooses the route (FFT block, reply, start-up text, frames) and the window's
// state, byte 1 the reply awaited and where an FFT transfer starts, byte 2 seeds the piece
// sizes; the rest is what the head sent.
#include <QString>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "foundations/SharedGlobals.h"
#include "instrument/LinkPort.h"
#include "instrument/MemoryFifo.h"
#include "instrument/OdczytMeteo.h"
#include "instrument/SerialFrameParser.h"

namespace {

// The link state the parser writes.
instrument::HeadLinkState& st = instrument::LinkState();

using instrument::LinkList;

class RecordingSink : public instrument::SerialFrameSink {
public:
    explicit RecordingSink(uint8_t config) : config_(config), samples_(kFftSampleCount, 0) {}

    bool ServicePageShown() override { return config_ & 0x04; }
    bool ServiceTraceOn() override { return config_ & 0x08; }
    bool ZeemanTestOn() override { return config_ & 0x10; }
    bool CalibrationFormOpen() override { return config_ & 0x20; }
    bool AlignmentViewOn() override { return config_ & 0x40; }

    int ListCount(LinkList list) override { return counts_[int(list)]; }
    void AddListLine(LinkList list, const QString& line) override {
        ++counts_[int(list)];
        log("add", int(list), line);
    }
    void DeleteOldestLines(LinkList list, int n) override {
        FUZZ_CHECK(n > 0 && n <= counts_[int(list)]);
        counts_[int(list)] -= n;
        log("delete", int(list), QString::number(n));
    }
    void ShowFlagBits() override { log("flags", st.HeadStatus.load(), QString::number(st.HeadFlags.load())); }
    void BlinkMeteoLabels() override { log("meteo", 0, {}); }
    void SetStatusText(const QString& text) override { log("status", 0, text); }
    void Beep() override { log("beep", 0, {}); }
    void EnableAlignment() override { log("align", 0, {}); }
    void ShowCalibrationOffsets(int32_t x, int32_t y) override { log("offsets", x, QString::number(y)); }
    void DrawAlignmentTarget(int32_t ax, int32_t ay, int32_t dx, int32_t dy, uint8_t px, uint8_t py) override {
        log("target", ax, QStringLiteral("%1 %2 %3 %4 %5").arg(ay).arg(dx).arg(dy).arg(px).arg(py));
    }
    void ShowXyValues(int32_t ax, int32_t ay, int32_t dx, int32_t dy, uint8_t px, uint8_t py) override {
        log("xy", ax, QStringLiteral("%1 %2 %3 %4 %5").arg(ay).arg(dx).arg(dy).arg(px).arg(py));
    }
    int32_t* FftSampleBuffer() override { return (config_ & 0x80) ? samples_.data() : nullptr; }
    void SetFftGauge(int32_t count) override {
        FUZZ_CHECK(count >= 0 && count < kFftSampleCount);
        log("gauge", count, {});
    }
    void FftTransferComplete() override { log("fftdone", 0, {}); }

    std::string record;
    const std::vector<int32_t>& samples() const { return samples_; }
    int count(LinkList list) const { return counts_[int(list)]; }

private:
    void log(const char* what, int n, const QString& text) {
        record += what;
        record += ' ';
        record += std::to_string(n);
        record += ' ';
        record += text.toStdString();
        record += '\n';
    }

    uint8_t config_;
    int counts_[3] = {0, 0, 0};
    std::vector<int32_t> samples_;
};

// Everything the parser can leave behind, as text.
std::string snapshot(RecordingSink& sink, TMemoryFifo& fifo) {
    std::string s = sink.record;
    auto add = [&s](long long v) { s += std::to_string(v) + ','; };
    add(st.ReceiveState.load()); add(st.HeadStatus.load()); add(st.HeadFlags.load());
    add(st.SerialSignalLevel.load()); add(st.AlignX.load()); add(st.AlignY.load());
    add(DetectorX.load()); add(DetectorY.load()); add(st.DetectorPowerX.load()); add(st.DetectorPowerY.load());
    add(st.ProbeAnswered.load()); add(st.FftByteCount.load()); add(FftTransfer.load());
    add(st.SkipSamples.load()); add(st.SkippedSamples.load()); add(TextLineMode); add(PendingReply);
    add(DataSaved);
    for (uint16_t w : instrument::LoadMeteoRaw()) add(w);
    s += ReplyText.toStdString() + '|';
    while (!fifo.Empty()) add(fifo.Get());
    for (int32_t v : sink.samples()) add(v);
    return s;
}

void startState(const uint8_t* head) {
    instrument::ResetLinkState();
    const int route = head[0] & 0x03;
    FftTransfer = route == 0;
    ReadingStopped = route == 1 || route == 2;
    SignalMonitorStopped = route == 1 || route == 2;
    TextLineMode = route == 2;
    if (route == 2) st.ReceiveState = 0;
    PendingReply = head[1] % 6;
    ReplyText.clear();
    // FFT transfers may start anywhere, also right before the end of the buffer.
    st.FftByteCount = kFftSampleCount - 1 - (head[1] >> 3) * 260;
    OffsetX = 0;
    OffsetY = 0;
    DataSaved = true;
    st.SkipSamples = (head[1] & 0x80) != 0;
}

std::string run(const uint8_t* head, const uint8_t* body, size_t size, bool split) {
    startState(head);
    TMemoryFifo fifo;
    RecordingSink sink(head[0]);
    instrument::SerialFrameParser parser(&fifo, &sink);
    if (!split) {
        parser.feed(body, static_cast<int>(size));
    } else {
        uint32_t r = head[2] | 1u;
        for (size_t at = 0; at < size;) {
            r = r * 1103515245u + 12345u;
            const size_t n = std::min<size_t>(size - at, 1 + (r >> 16) % 19);
            parser.feed(body + at, static_cast<int>(n));
            at += n;
        }
    }
    FUZZ_CHECK(sink.count(LinkList::PSListBox1) <= 15);
    FUZZ_CHECK(sink.count(LinkList::RSListBox) <= 500);
    FUZZ_CHECK(sink.count(LinkList::PSListBox2) <= 500);
    FUZZ_CHECK(ReplyText.size() <= kReplyTextLimit);
    FUZZ_CHECK(st.FftByteCount.load() >= 0 && st.FftByteCount.load() <= kFftSampleCount);
    return snapshot(sink, fifo);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3 || size > 1 << 16) return 0;
    const std::string whole = run(data, data + 3, size - 3, false);
    const std::string pieces = run(data, data + 3, size - 3, true);
    FUZZ_CHECK(whole == pieces);
    instrument::ResetLinkState();
    ResetSharedGlobals();
    return 0;
}
