#pragma once
// A scripted serial line for the port component: it records what the component does to the
// line (opens, settings, purges, modem-line changes with their ticks, bytes written) and serves
// what a test queues. Unlike a pseudo-terminal it has DTR and RTS, so pulses can be checked.
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/SerialBackend.h"

namespace testsupport {

class SimSerialLine : public platform::SerialBackend {
public:
    struct ModemCall {
        char line;  // 'D' DTR, 'R' RTS
        bool on;
        uint32_t tick;
    };

    bool open(const std::string& device) override;
    void close() override;
    bool isOpen() const override;
    bool apply(const platform::SerialLineSettings& settings) override;
    bool purge(bool input, bool output) override;
    int outputQueued() override;
    int read(uint8_t* buffer, int max) override;
    int write(const uint8_t* data, int size) override;
    bool setDtr(bool on) override;
    bool setRts(bool on) override;

    // Script.
    void setOpenFails(bool fails);
    void queueIncoming(const std::vector<uint8_t>& bytes);
    // Bytes queued for output as the driver would report them (-1: cannot be told).
    void setOutputQueued(int n);
    // At most this many bytes taken per write (0: the queue is full; -1: the write fails).
    void setWriteLimit(int n);
    // Called after every write with the bytes taken (to change the script as time goes on).
    void setOnWrite(std::function<void(SimSerialLine&, int taken)> fn);
    void setModemLinesWork(bool works);
    void setTickSource(std::function<uint32_t()> tick);

    // Record.
    std::vector<std::string> opened() const;
    std::vector<platform::SerialLineSettings> applied() const;
    std::vector<std::pair<bool, bool>> purges() const;
    std::vector<ModemCall> modemCalls() const;
    std::vector<uint8_t> written() const;
    int reads() const;

private:
    mutable std::recursive_mutex m_;
    bool open_ = false, openFails_ = false, modemWorks_ = true;
    std::deque<uint8_t> incoming_;
    int outQueued_ = 0, writeLimit_ = 1 << 20, reads_ = 0;
    std::function<void(SimSerialLine&, int)> onWrite_;
    std::function<uint32_t()> tick_;
    std::vector<std::string> opened_;
    std::vector<platform::SerialLineSettings> applied_;
    std::vector<std::pair<bool, bool>> purges_;
    std::vector<ModemCall> modem_;
    std::vector<uint8_t> written_;
};

}  // namespace testsupport
