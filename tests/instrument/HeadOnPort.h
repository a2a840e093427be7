#pragma once
// The simulated head on a pseudo-terminal opened by the real port component (as COM5), whose
// received buffers go to a frame parser, with the program's link set to that port.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>
#include <string>

#include "LinkFixture.h"
#include "support/SimHead.h"

// Runs the event loop (the port's polling timer, deferred deletes) until done or ms pass.
inline bool pumpUntil(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

class HeadOnPort : public LinkGlobalsFixture {
protected:
    void SetUp() override {
        LinkGlobalsFixture::SetUp();
        ASSERT_TRUE(head.ok());
        head.attachAsCom(5);
        port.SetComPort(pnCOM5);
        port.SetComPortInBufSize(4096);
        port.SetEnableDTROnOpen(false);
        port.SetOnReceiveData([this](TCommPortDriver*, const uint8_t* p, int32_t n) { parser.feed(p, n); });
        ASSERT_TRUE(port.Connect()) << port.LastError();
        InterfaceMode = 1;
        instrument::SetLink({&port, nullptr, nullptr, LinkClock::system()});
    }
    void TearDown() override {
        head.stopStreaming();
        LinkGlobalsFixture::TearDown();
    }
    // The command bytes the head has received, as characters.
    std::string received() const {
        const testsupport::Bytes b = head.receivedCommands();
        return std::string(b.begin(), b.end());
    }

    testsupport::SimHead head;
    TCommPortDriver port;
    TMemoryFifo fifo;
    RecordingSink sink;
    instrument::SerialFrameParser parser{&fifo, &sink};
};
