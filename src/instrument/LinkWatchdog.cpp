#include "instrument/LinkWatchdog.h"

#include "foundations/SharedGlobals.h"
#include "instrument/RawConversion.h"
#include "platform/Sync.h"

namespace instrument {

bool LinkWatchdog::Tick() {
    if (LinkWatchdogTicks < 255) ++LinkWatchdogTicks;
    if (LinkWatchdogTicks < kTicksWithoutFrame) return false;
    LinkWatchdogTicks = 0;
    return true;
}

void LinkWatchdog::Restart() { LinkWatchdogTicks = 0; }

bool EndReadingForLostLink() {
    StopReason = kStopLinkLost;
    if (ReadingStopped.exchange(true)) return false;
    if (ReadQuitEvent) ReadQuitEvent->set();
    return true;
}

}  // namespace instrument
