#pragma once
// The card's start-up text after a BIOS reset, read on a small worker thread into the
// service panel's list.
#include <QString>
#include <chrono>

#include "instrument/SerialFrameParser.h"
#include "instrument/ThreadHandOff.h"

namespace instrument {

constexpr int kBiosTextLength = 226;

// Called on the user-interface thread.
class BiosTextSink {
public:
    virtual ~BiosTextSink();
    virtual void ClearList(LinkList list) = 0;
    virtual void AddListLine(LinkList list, const QString& line) = 0;
};

class TOdczytBiosu {
public:
    explicit TOdczytBiosu(BiosTextSink& sink);
    ~TOdczytBiosu();

    void Start();
    bool Running() const { return worker_.running(); }
    bool WaitForEnd(std::chrono::milliseconds timeout = std::chrono::milliseconds(-1)) {
        return worker_.waitForEnd(timeout);
    }
    // The thread body. A card that stops sending ends the text early: what came is kept.
    void Execute();

private:
    BiosTextSink& sink_;
    WorkerThread worker_;
};

}  // namespace instrument
