// The parser works on its own copy of the receive state while it goes through a buffer: what
// the link state shows after the buffer, and a receive state set by someone else meanwhile.
#include "LinkFixture.h"
#include "support/SimHead.h"

using instrument::SerialFrameParser;
using testsupport::Bytes;
using testsupport::encodeFrame;
using testsupport::FrameSpec;

namespace {

class FrameParserState : public LinkGlobalsFixture {
protected:
    void feed(const Bytes& b) { parser->feed(reinterpret_cast<const char*>(b.data()), static_cast<int>(b.size())); }
    TMemoryFifo fifo;
    SerialFrameParser* parser = nullptr;
};

// Shows the flag bits once and then, like a page that resets the head, sets the receive state
// for the start-up text.
class ResettingSink : public RecordingSink {
public:
    void ShowFlagBits() override {
        if (++flagShows == resetAt) instrument::LinkState().ReceiveState = 0;
    }
    int resetAt = 1;
};

}  // namespace

// A buffer that ends inside a frame leaves its position in the link state by the time the
// waiting reader is woken, and the next buffer goes on from there.
TEST_F(FrameParserState, PositionInsideAFrameIsOutWhenTheReaderWakes) {
    RecordingSink sink;
    SerialFrameParser own{&fifo, &sink};
    parser = &own;
    const Bytes frame = encodeFrame(FrameSpec::ready(4321));
    feed(Bytes(frame.begin(), frame.begin() + 5));  // sync, flags, their checksum, the signal level
    EXPECT_TRUE(sample.isSet());
    EXPECT_EQ(instrument::LinkState().ReceiveState.load(), 6);
    EXPECT_EQ(instrument::LinkState().HeadStatus.load(), FrameSpec::ready(4321).status);
    feed(Bytes(frame.begin() + 5, frame.end()));
    EXPECT_EQ(drain(fifo), std::vector<uint32_t>{4321});
    EXPECT_EQ(instrument::LinkState().ReceiveState.load(), 1);
}

// A receive state set while a buffer is parsed (here by the window, from the flag display) is
// not overwritten when the parser publishes its own at the end of the buffer.
TEST_F(FrameParserState, ReceiveStateSetDuringABufferIsKept) {
    ResettingSink sink;
    SerialFrameParser own{&fifo, &sink};
    parser = &own;
    Bytes two = encodeFrame(FrameSpec::ready(1));
    const Bytes second = encodeFrame(FrameSpec::ready(2));
    two.insert(two.end(), second.begin(), second.end());
    feed(two);
    EXPECT_EQ(instrument::LinkState().ReceiveState.load(), 0);
    // The rest of that buffer was still read as the frames it held.
    EXPECT_EQ(drain(fifo), (std::vector<uint32_t>{1, 2}));
    EXPECT_EQ(sink.flagShows, 2);
}
