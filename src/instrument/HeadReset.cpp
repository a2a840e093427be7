#include "instrument/HeadReset.h"

#include "foundations/SharedGlobals.h"
#include "instrument/LinkPort.h"
#include "instrument/SerialFrameParser.h"
#include "instrument/ThreadHandOff.h"

namespace instrument {

void ExpectStartupText() {
    ReadingStopped = true;
    SignalMonitorStopped = true;
    RunOnUiThread([] {
        TextLineMode = true;
        ReplyText.clear();
        instrument::LinkState().ReceiveState = 0;
        PendingReply = 1;
    });
}

void PulseDtrReset(TCommPortDriver& comm, int pulseMs, bool purge) {
    comm.ToggleDTR(true);
    if (pulseMs > 0) Link()->clock.sleepMs(pulseMs);
    if (purge) comm.FlushBuffers(true, true);
    comm.ToggleDTR(false);
}

}  // namespace instrument
