#pragma once
// The serial link's watchdog (the main window's timer PSTimer2, every 200 ms) and the one way a
// lost link ends the reading: StopReason 7, the reading thread told to end, and its end handler
// (the link status window) showing "stConnectionError".
#include <cstdint>

namespace instrument {

class LinkWatchdog {
public:
    static constexpr int kPeriodMs = 200;
    static constexpr uint8_t kTicksWithoutFrame = 3;  // 600 ms

    // One tick of the timer: LinkWatchdogTicks + 1 (every frame of the parser sets it back to
    // 0). True once the third tick passes without a frame: the counter starts over and the
    // caller stops the timer and reports the link lost.
    static bool Tick();
    // The timer starts: the count starts from nothing.
    static void Restart();
};

// The head is gone. StopReason := 7 and a running reading thread is told to end (its end
// handler shows the link status window). False when no reading thread ran: the caller shows
// the window itself.
bool EndReadingForLostLink();

}  // namespace instrument
