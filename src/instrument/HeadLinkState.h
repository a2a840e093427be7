#pragma once
// What the link last heard from the head and where its frame parser stands: one object that the
// link layer owns for the program's life. The serial link's frame parser writes it; the card's
// reading thread stores its flag bytes in it; the status predicates, the reading, the loader and
// the service panel read it. Every field is shared between threads, hence atomic.
#include <atomic>
#include <cstdint>

namespace instrument {

struct HeadLinkState {
    // Status and flag bytes of the last good frame (bits: see the status predicates).
    std::atomic<uint8_t> HeadStatus{0};
    std::atomic<uint8_t> HeadFlags{0};
    // Mirror of the check box CheckBoxIgnorujZaDuzaPredkosc: "velocity too high" is ignored.
    std::atomic<bool> IgnoreVelocityTooHigh{false};
    // Tick of the last remote accept request of the head.
    std::atomic<uint32_t> RemoteEventTick{0};
    // Parser state: 1 waits for 0xAA, 2..35 frame positions, 1..18 in an FFT block, and the
    // character counter of the start-up text. Worker threads set it (to 1, or to 0 before the
    // start-up text).
    std::atomic<uint8_t> ReceiveState{1};
    // Drop the next position samples (RestartCounting); SkippedSamples counts them.
    std::atomic<bool> SkipSamples{false};
    std::atomic<uint8_t> SkippedSamples{0};
    // Signal-level byte of the last good frame.
    std::atomic<uint8_t> SerialSignalLevel{0};
    // XY block of the last good frame: words 1 and 2 less OffsetX/OffsetY, and the power bytes.
    std::atomic<int32_t> AlignX{0}, AlignY{0};
    std::atomic<uint8_t> DetectorPowerX{0}, DetectorPowerY{0};
    // The last probe reply was accepted.
    std::atomic<bool> ProbeAnswered{false};
    // FFT samples received so far in the current transfer.
    std::atomic<int32_t> FftByteCount{0};

    // What the head and the parser said back to their start values (the check box mirror and
    // the remote event's tick are no part of it).
    void Reset();
};

// The link layer's one state object.
HeadLinkState& LinkState();

}  // namespace instrument
