#include <random>

#include "LinkFixture.h"
#include "instrument/OdczytMeteo.h"
#include "support/SimHead.h"

using instrument::LinkList;
using instrument::SerialFrameParser;
using testsupport::Bytes;
using testsupport::encodeFftBlock;
using testsupport::encodeFrame;
using testsupport::FrameSpec;

namespace {

class FrameParser : public LinkGlobalsFixture {
protected:
    void feed(const Bytes& b) { parser.feed(reinterpret_cast<const char*>(b.data()), static_cast<int>(b.size())); }
    void feedAll(std::initializer_list<Bytes> parts) {
        for (const auto& p : parts) feed(p);
    }

    TMemoryFifo fifo;
    RecordingSink sink;
    SerialFrameParser parser{&fifo, &sink};
};

const std::array<uint16_t, 6> kMeteo = {0x1234, 0xFFFF, 0, 0x8000, 513, 42};
const instrument::MeteoWords kMeteoWords = {0x1234, 0xFFFF, 0, 0x8000, 513, 42};
const std::array<int16_t, 4> kXy = {-2, 300, -32768, 32767};

Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

}  // namespace

// Each combination of blocks, followed at once by a plain count frame: the blocks are taken
// and the parser is back at the start of a frame exactly where the next one begins.
TEST_F(FrameParser, EveryBlockCombination) {
    struct Case {
        const char* name;
        bool count, meteo, xy;
        bool xyTaken;  // the XY block is read only after a count or an environment block
    };
    const Case cases[] = {
        {"signal only", false, false, false, false}, {"count", true, false, false, false},
        {"meteo", false, true, false, false},        {"count meteo", true, true, false, false},
        {"count xy", true, false, true, true},       {"meteo xy", false, true, true, true},
        {"all", true, true, true, true},             {"xy without count or meteo", false, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        instrument::ResetLinkState();
        fifo.Clear();
        sink = RecordingSink();
        sample.reset();
        meteo.reset();
        OffsetX = 10;
        OffsetY = -20;
        FrameSpec f = FrameSpec::ready(-123456789);
        f.signal = 77;
        if (!c.count) f.notReady();
        if (c.meteo) f.withMeteo(kMeteo);
        if (c.xy) f.withXy(kXy, 200, 9);
        feed(cat({encodeFrame(f), encodeFrame(FrameSpec::ready(5))}));

        std::vector<uint32_t> want;
        if (c.count) want.push_back(static_cast<uint32_t>(-123456789));
        want.push_back(5);
        EXPECT_EQ(drain(fifo), want);
        EXPECT_EQ(sink.flagShows, 2);
        EXPECT_TRUE(sample.isSet());
        EXPECT_EQ(instrument::LinkState().SerialSignalLevel.load(), 80);  // the second frame's
        EXPECT_EQ(meteo.isSet(), c.meteo);
        EXPECT_EQ(instrument::LoadMeteoRaw(), c.meteo ? kMeteoWords : instrument::MeteoWords{});
        EXPECT_EQ(sink.alignmentEnabled, c.xyTaken ? 1 : 0);
        if (c.xyTaken) {
            EXPECT_EQ(instrument::LinkState().AlignX.load(), -12);
            EXPECT_EQ(instrument::LinkState().AlignY.load(), 320);
            EXPECT_EQ(DetectorX.load(), -32768);
            EXPECT_EQ(DetectorY.load(), 32767);
            EXPECT_EQ(instrument::LinkState().DetectorPowerX.load(), 200);
            EXPECT_EQ(instrument::LinkState().DetectorPowerY.load(), 9);
        }
        EXPECT_EQ(instrument::LinkState().ReceiveState.load(), 1);
    }
}

TEST_F(FrameParser, FlagsAndSignalOfTheLastGoodFrame) {
    FrameSpec f = FrameSpec::ready(1);
    f.status = 0x5D;
    f.flags = 0x07;
    f.signal = 33;
    feed(encodeFrame(f));
    EXPECT_EQ(instrument::LinkState().HeadStatus.load(), 0x5D);
    EXPECT_EQ(instrument::LinkState().HeadFlags.load(), 0x07);
    EXPECT_EQ(instrument::LinkState().SerialSignalLevel.load(), 33);
    EXPECT_EQ(LinkWatchdogTicks, 0);
}

// A frame cut into two reads at every position gives the same result as one read.
TEST_F(FrameParser, FramesSplitAcrossReadsAtEveryPosition) {
    FrameSpec f = FrameSpec::ready(0x01020304);
    f.withMeteo(kMeteo).withXy(kXy, 1, 2);
    const Bytes stream = cat({encodeFrame(f), encodeFrame(FrameSpec::ready(-1))});
    for (size_t cut = 0; cut <= stream.size(); ++cut) {
        SCOPED_TRACE(cut);
        instrument::ResetLinkState();
        fifo.Clear();
        instrument::StoreMeteoRaw({});
        feed(Bytes(stream.begin(), stream.begin() + cut));
        feed(Bytes(stream.begin() + cut, stream.end()));
        EXPECT_EQ(drain(fifo), (std::vector<uint32_t>{0x01020304u, 0xFFFFFFFFu}));
        EXPECT_EQ(instrument::LoadMeteoRaw(), kMeteoWords);
        EXPECT_EQ(DetectorY.load(), 32767);
    }
    // Byte by byte through the single-byte entry.
    instrument::ResetLinkState();
    for (uint8_t b : stream) parser.ReceiveFrameByte(b);
    EXPECT_EQ(drain(fifo), (std::vector<uint32_t>{0x01020304u, 0xFFFFFFFFu}));
}

// A spoilt checksum drops that block and the rest of the frame; earlier blocks stand.
TEST_F(FrameParser, BrokenChecksums) {
    struct Case {
        uint8_t broken;
        bool flagsTaken, signalTaken, countTaken, meteoTaken;
    };
    const Case cases[] = {
        {testsupport::kBreakFlags, false, false, false, false},
        {testsupport::kBreakSignal, true, false, false, false},
        {testsupport::kBreakCount, true, true, false, false},
        {testsupport::kBreakMeteo, true, true, true, false},
        {testsupport::kBreakXy, true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.broken));
        instrument::ResetLinkState();
        fifo.Clear();
        sink = RecordingSink();
        sample.reset();
        meteo.reset();
        FrameSpec f = FrameSpec::ready(99);
        f.signal = 55;
        f.flags = 0x02;
        f.withMeteo(kMeteo).withXy(kXy, 3, 4);
        f.broken = c.broken;
        feed(encodeFrame(f));
        EXPECT_EQ(instrument::LinkState().HeadFlags.load(), c.flagsTaken ? 0x0A : 0);
        EXPECT_EQ(sample.isSet(), c.flagsTaken);
        EXPECT_EQ(instrument::LinkState().SerialSignalLevel.load(), c.signalTaken ? 55 : 0);
        EXPECT_EQ(drain(fifo), c.countTaken ? std::vector<uint32_t>{99} : std::vector<uint32_t>{});
        EXPECT_EQ(meteo.isSet(), c.meteoTaken);
        EXPECT_EQ(sink.alignmentEnabled, 0);
        // The next frame is found whatever was left of this one.
        feed(Bytes(40, 0x00));
        feed(encodeFrame(FrameSpec::ready(7)));
        EXPECT_EQ(drain(fifo), std::vector<uint32_t>{7});
    }
}

TEST_F(FrameParser, BytesBetweenFramesAreIgnored) {
    feed(cat({Bytes{0x00, 0x55, 0xFF, 0x13}, encodeFrame(FrameSpec::ready(1)), Bytes{0x01, 0x02},
              encodeFrame(FrameSpec::ready(2))}));
    EXPECT_EQ(drain(fifo), (std::vector<uint32_t>{1, 2}));
}

// A head that is not ready still wakes the reader, so the reading ends with its stop reason.
TEST_F(FrameParser, GoodFlagBlockSetsSampleEventWithoutACount) {
    FrameSpec f;
    f.notReady();
    feed(encodeFrame(f));
    EXPECT_TRUE(sample.isSet());
    EXPECT_TRUE(fifo.Empty());
    EXPECT_FALSE(HeadReady());
}

TEST_F(FrameParser, FullFifoDropsTheCountButWakesTheReader) {
    fifo.SetSize(2);
    for (int i = 1; i <= 3; ++i) feed(encodeFrame(FrameSpec::ready(i)));
    sample.reset();
    feed(encodeFrame(FrameSpec::ready(4)));
    EXPECT_TRUE(sample.isSet());
    EXPECT_EQ(drain(fifo), (std::vector<uint32_t>{1, 2}));
}

TEST_F(FrameParser, SkipSamplesDropsFiveThenClearsOnTheSixth) {
    instrument::LinkState().SkipSamples = true;
    instrument::LinkState().SkippedSamples = 0;
    for (int i = 1; i <= 8; ++i) {
        feed(encodeFrame(FrameSpec::ready(i)));
        EXPECT_EQ(instrument::LinkState().SkipSamples.load(), i < 6) << i;
    }
    EXPECT_EQ(drain(fifo), (std::vector<uint32_t>{7, 8}));
}

TEST_F(FrameParser, ZeemanTestListsCountsInsteadOfQueuing) {
    sink.zeeman = true;
    for (int i = 1; i <= 20; ++i) feed(encodeFrame(FrameSpec::ready(-i)));
    EXPECT_TRUE(fifo.Empty());
    const QStringList& l = sink.lists[LinkList::PSListBox1];
    ASSERT_EQ(l.size(), 15);
    EXPECT_EQ(l.first(), "-6");
    EXPECT_EQ(l.last(), "-20");
}

TEST_F(FrameParser, StatesOutsideAFrameRestartTheSearch) {
    for (uint8_t s : {uint8_t(0), uint8_t(36), uint8_t(200), uint8_t(255)}) {
        instrument::LinkState().ReceiveState = s;
        feed(encodeFrame(FrameSpec::ready(s)));
        EXPECT_EQ(drain(fifo), std::vector<uint32_t>{s}) << int(s);
    }
}

TEST_F(FrameParser, MeteoAndXyOnTheServicePage) {
    sink.servicePage = true;
    sink.calibrationOpen = true;
    sink.alignmentOn = true;
    OffsetX = 100;
    OffsetY = 1;
    FrameSpec f = FrameSpec::ready(0);
    f.withMeteo(kMeteo).withXy(kXy, 5, 6);
    feed(encodeFrame(f));
    EXPECT_EQ(sink.meteoBlinks, 1);
    EXPECT_EQ(sink.calibration, (std::vector<std::pair<int32_t, int32_t>>{{-2, 300}}));
    const std::array<int32_t, 6> want = {-102, 299, -32768, 32767, 5, 6};
    const std::vector<std::array<int32_t, 6>> wantList{want};
    EXPECT_EQ(sink.targets, wantList);
    EXPECT_EQ(sink.xyShown, wantList);
}

TEST_F(FrameParser, ServiceTraceLinesStayBounded) {
    sink.servicePage = true;
    sink.trace = true;
    feed(Bytes{0xAA, 0x19});
    const QStringList& l = sink.lists[LinkList::RSListBox];
    EXPECT_EQ(l, (QStringList{"170 index2", "25 index3"}));
    Bytes junk(600, 0x01);
    feed(junk);
    EXPECT_LE(sink.lists[LinkList::RSListBox].size(), 500);
    EXPECT_GT(sink.lists[LinkList::RSListBox].size(), 440);
}

// Random bytes, frames cut short, spoilt checksums and good frames, fed in reads of random
// length: exactly the good frames' counts arrive, in order.
TEST_F(FrameParser, RandomStreamYieldsExactlyTheGoodCounts) {
    std::mt19937 rng(20261210);
    std::uniform_int_distribution<int> byte(0, 255), pick(0, 5), len(1, 60);
    fifo.SetSize(255);
    Bytes stream;
    std::vector<uint32_t> want;
    for (int i = 0; i < 3000; ++i) {
        FrameSpec f = FrameSpec::ready(0x40000000 + i * 7919);
        if (i % 3 == 0) f.withMeteo(kMeteo);
        if (i % 5 == 0) f.withXy(kXy, 1, 1);
        const Bytes good = encodeFrame(f);
        switch (pick(rng)) {
            case 0: {  // random noise
                const int n = len(rng);
                for (int k = 0; k < n; ++k) stream.push_back(static_cast<uint8_t>(byte(rng)));
                break;
            }
            case 1: {  // a frame cut short: its count counts when the count block is whole
                FrameSpec cut = f;
                cut.count = -1 - i;
                const Bytes b = encodeFrame(cut);
                const size_t n = 1 + byte(rng) % (b.size() - 1);
                stream.insert(stream.end(), b.begin(), b.begin() + n);
                if (n >= 11) want.push_back(static_cast<uint32_t>(cut.count));
                break;
            }
            case 2: {  // a spoilt block
                FrameSpec bad = f;
                bad.count = -2;
                bad.broken = static_cast<uint8_t>(1 << (byte(rng) % 5));
                if (bad.broken >= testsupport::kBreakMeteo) bad.broken = testsupport::kBreakCount;
                const Bytes b = encodeFrame(bad);
                stream.insert(stream.end(), b.begin(), b.end());
                break;
            }
            default: break;
        }
        // After any damage the parser may still be inside a frame; 35 bytes without a sync take
        // it out whatever state it is in.
        stream.insert(stream.end(), 35, 0x5A);
        stream.insert(stream.end(), good.begin(), good.end());
        want.push_back(static_cast<uint32_t>(f.count));
    }
    std::vector<uint32_t> got;
    for (size_t at = 0; at < stream.size();) {
        const size_t n = std::min<size_t>(stream.size() - at, static_cast<size_t>(len(rng)));
        parser.feed(reinterpret_cast<const char*>(stream.data() + at), static_cast<int>(n));
        at += n;
        for (uint32_t v : drain(fifo)) got.push_back(v);
    }
    EXPECT_EQ(got, want);
}

TEST_F(FrameParser, EmptyOrNegativeSizeDoesNothing) {
    const Bytes f = encodeFrame(FrameSpec::ready(1));
    parser.feed(reinterpret_cast<const char*>(f.data()), 0);
    parser.feed(reinterpret_cast<const char*>(f.data()), -5);
    parser.feed(static_cast<const char*>(nullptr), 10);
    EXPECT_EQ(instrument::LinkState().ReceiveState.load(), 1);
    EXPECT_EQ(sink.flagShows, 0);
}

TEST(MakeSignedWord, SignExtendsFromBit15) {
    EXPECT_EQ(MakeSignedWord(0x34, 0x12), 0x1234);
    EXPECT_EQ(MakeSignedWord(0xFF, 0xFF), -1);
    EXPECT_EQ(MakeSignedWord(0x00, 0x80), -32768);
    EXPECT_EQ(MakeSignedWord(0xFF, 0x7F), 32767);
}

// ---- Replies and start-up text (no reading thread, no signal monitor) ----

class ReplyParser : public FrameParser {
protected:
    void SetUp() override {
        FrameParser::SetUp();
        ReadingStopped = true;
        SignalMonitorStopped = true;
    }
};

TEST_F(ReplyParser, ProbeAnswers) {
    for (uint8_t second : {uint8_t(0xB1), uint8_t(0xB3), uint8_t(0xB4)}) {
        PendingReply = 1;
        ReplyText.clear();
        comCheck.reset();
        instrument::LinkState().ProbeAnswered = false;
        feed(Bytes{'M', second});
        EXPECT_TRUE(comCheck.isSet());
        EXPECT_TRUE(instrument::LinkState().ProbeAnswered.load());
        EXPECT_EQ(PendingReply, 0);
        EXPECT_TRUE(ReplyText.isEmpty());
        EXPECT_EQ(sink.status.last(), QString::fromUtf8("Zaproszenie do załadowania programu."));
    }
}

TEST_F(ReplyParser, UnmatchedProbeKeepsTheTextAndNoLaterPairFires) {
    PendingReply = 1;
    instrument::LinkState().ProbeAnswered = true;
    feed(Bytes{'M', 'X'});
    EXPECT_FALSE(instrument::LinkState().ProbeAnswered.load());
    EXPECT_EQ(ReplyText.size(), 2);
    EXPECT_EQ(PendingReply, 1);
    feed(Bytes{'M', 0xB1});
    EXPECT_EQ(ReplyText.size(), 4);
    EXPECT_FALSE(comCheck.isSet());
    // However long it runs, the text stays capped.
    feed(Bytes(5000, 'z'));
    EXPECT_EQ(ReplyText.size(), kReplyTextLimit);
    EXPECT_LE(sink.lists[LinkList::RSListBox].size(), 500);
}

TEST_F(ReplyParser, BiosAndProgramTests) {
    struct Case {
        uint8_t pending;
        Bytes reply;
        const char* status;
        bool loadEvent;
    };
    const Case cases[] = {
        {2, {0x16, '!'}, "Bios OK.", false},
        {2, {0x16, '?'}, "Bios Bad.", false},
        {3, {0x14, 0x1E}, "Program OK.", true},
        {3, {0x1E, 0x14}, "Program Bad.", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        PendingReply = c.pending;
        ReplyText.clear();
        programLoad.reset();
        sink = RecordingSink();
        feed(c.reply);
        EXPECT_EQ(sink.status, QStringList{c.status});
        EXPECT_EQ(programLoad.isSet(), c.loadEvent);
        EXPECT_EQ(sink.lists[LinkList::PSListBox2].size(), c.loadEvent ? 1 : 0);
        EXPECT_EQ(PendingReply, 0);
        EXPECT_TRUE(ReplyText.isEmpty());
    }
}

TEST_F(ReplyParser, ReplyTraceAndLoadedOverSerial) {
    PendingReply = 5;
    feed(Bytes{'c'});
    EXPECT_EQ(sink.status, QStringList{QString::fromUtf8("Program załadowany po RS")});
    EXPECT_EQ(PendingReply, 0);
    EXPECT_EQ(sink.lists[LinkList::RSListBox], QStringList{"99    c"});
    // No frame parsing meanwhile.
    feed(encodeFrame(FrameSpec::ready(3)));
    EXPECT_TRUE(fifo.Empty());
}

TEST_F(ReplyParser, StartUpTextBecomesLinesUntil226Characters) {
    TextLineMode = true;
    instrument::LinkState().ReceiveState = 0;
    feed(Bytes{'B', 'I', 'O', 'S', '\r', '\n', 'v', '1', '\r', '\n'});
    EXPECT_EQ(sink.lists[LinkList::PSListBox2], (QStringList{"BIOS", "v1"}));
    EXPECT_TRUE(TextLineMode);
    feed(Bytes(215, 'x'));  // 225 characters so far
    EXPECT_TRUE(TextLineMode);
    feed(Bytes{'y'});
    EXPECT_FALSE(TextLineMode);
    EXPECT_EQ(sink.lists[LinkList::PSListBox2].size(), 3);
    EXPECT_EQ(sink.lists[LinkList::PSListBox2].last(), QString(215, 'x') + "y");
    EXPECT_TRUE(ReplyText.isEmpty());
}

// ---- FFT sample blocks ----

class FftParser : public FrameParser {
protected:
    void SetUp() override {
        FrameParser::SetUp();
        FftTransfer = true;
        instrument::LinkState().FftByteCount = 0;
        DataSaved = true;
    }
};

TEST_F(FftParser, BlocksFillTheSamplesUntil8192) {
    feed(encodeFftBlock({1, -1, 256, -32768, 32767, 0, 2, 3}));
    EXPECT_EQ(std::vector<int32_t>(sink.fftSamples.begin(), sink.fftSamples.begin() + 8),
              (std::vector<int32_t>{1, -1, 256, -32768, 32767, 0, 2, 3}));
    EXPECT_EQ(instrument::LinkState().FftByteCount.load(), 8);
    EXPECT_EQ(sink.lastGauge, 7);
    EXPECT_EQ(LinkWatchdogTicks, 0);

    feed(encodeFftBlock({9, 9, 9, 9, 9, 9, 9, 9}, true));
    EXPECT_EQ(sink.beeps, 1);
    EXPECT_EQ(instrument::LinkState().FftByteCount.load(), 8);

    Bytes rest;
    for (int i = 1; i < 1024; ++i) {
        const auto v = static_cast<int16_t>(i);
        const Bytes b = encodeFftBlock({v, v, v, v, v, v, v, v});
        rest.insert(rest.end(), b.begin(), b.end());
    }
    feed(rest);
    EXPECT_EQ(instrument::LinkState().FftByteCount.load(), 8192);
    EXPECT_EQ(sink.fftSamples[8191], 1023);
    EXPECT_EQ(sink.fftDone, 1);
    EXPECT_FALSE(FftTransfer.load());
    EXPECT_FALSE(DataSaved);
}

TEST_F(FftParser, NoSampleBeyond8192) {
    instrument::LinkState().FftByteCount = 8188;
    feed(encodeFftBlock({1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(instrument::LinkState().FftByteCount.load(), 8192);
    EXPECT_EQ(sink.fftSamples[8191], 4);
    EXPECT_EQ(sink.fftDone, 1);
    // Even with the transfer flag forced on, a 1025th block stores nothing.
    FftTransfer = true;
    feed(encodeFftBlock({1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(instrument::LinkState().FftByteCount.load(), 8192);
    // Without a buffer the samples are counted and discarded.
    sink.withFftBuffer = false;
    instrument::LinkState().FftByteCount = 0;
    feed(encodeFftBlock({1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(instrument::LinkState().FftByteCount.load(), 8);
}
