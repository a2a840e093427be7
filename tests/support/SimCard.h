#pragma once
// A simulated measuring card behind the CardPorts interface. The data port serves a queue of
// bytes (frames, start-up text, answers); the status port reports the card status byte with
// bit 0 following the queue; command bytes are recorded and can queue their answers.
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "platform/CardPorts.h"

namespace testsupport {

// Card status bits (port 0x301). Bit 0 ("EMPTY FIFO", active low) is set by the card itself
// while its queue holds data.
constexpr uint8_t kCardFifoNotEmpty = 0x01, kCardReady = 0x02, kCardNoCpuWarning = 0x04,
                  kCardNoReqK1 = 0x08, kCardNoDataError = 0x10, kCardLevelOk = 0x20,
                  kCardNotFull = 0x40, kCardCommandFree = 0x80;

class SimCard : public platform::CardPorts {
public:
    SimCard();

    uint8_t inPort(uint16_t port) override;
    void outPort(uint16_t port, uint8_t value) override;

    // Status bits other than bit 0 (default: ready, level good, no errors, command port free).
    void setStatus(uint8_t status);
    uint8_t status() const;
    // After each command byte the command port stays busy (bit 7 clear) for this many reads
    // of the status port.
    void setBusyReadsAfterCommand(int reads);

    // Bytes for the data port, in order.
    void queueData(const std::vector<uint8_t>& bytes);
    // A card frame: 0xAA, two flag bytes, the count most significant byte first, its checksum,
    // and with a signal byte also the byte and its checksum.
    void queueFrame(uint8_t status, uint8_t flags, int32_t count, std::optional<uint8_t> signal = std::nullopt,
                    bool badCountChecksum = false, bool badSignalChecksum = false);
    size_t queued() const;

    // Answers put on ports 0x302 (high) and 0x303 (low) when a command byte arrives. The
    // defaults answer the program test 0x88 with 30/20.
    void setAnswer(uint8_t command, uint8_t high, uint8_t low);
    // Free-form reaction to a command byte (runs after the stored answer is put up).
    void setOnCommand(std::function<void(SimCard&, uint8_t)> fn);

    std::vector<uint8_t> commands() const;       // bytes written to 0x303
    std::vector<uint8_t> dataWritten() const;    // bytes written to 0x302
    int statusReads() const;

private:
    mutable std::recursive_mutex m_;
    uint8_t status_;
    int busyAfterCommand_ = 0;
    int busyLeft_ = 0;
    std::deque<uint8_t> data_;
    std::vector<std::pair<uint8_t, std::pair<uint8_t, uint8_t>>> answers_;
    std::function<void(SimCard&, uint8_t)> onCommand_;
    uint8_t high_ = 0, low_ = 0;
    std::vector<uint8_t> commands_, dataOut_;
    int statusReads_ = 0;
};

}  // namespace testsupport
