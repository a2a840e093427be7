#include "support/SimSerialLine.h"

#include <algorithm>

namespace testsupport {

using Lock = std::lock_guard<std::recursive_mutex>;

bool SimSerialLine::open(const std::string& device) {
    Lock l(m_);
    opened_.push_back(device);
    if (openFails_) {
        lastError_ = device + ": cannot open";
        return false;
    }
    open_ = true;
    return true;
}

void SimSerialLine::close() {
    Lock l(m_);
    open_ = false;
}

bool SimSerialLine::isOpen() const {
    Lock l(m_);
    return open_;
}

bool SimSerialLine::apply(const platform::SerialLineSettings& settings) {
    Lock l(m_);
    applied_.push_back(settings);
    return open_;
}

bool SimSerialLine::purge(bool input, bool output) {
    Lock l(m_);
    purges_.push_back({input, output});
    if (input) incoming_.clear();
    return open_;
}

int SimSerialLine::outputQueued() {
    Lock l(m_);
    return open_ ? outQueued_ : -1;
}

int SimSerialLine::read(uint8_t* buffer, int max) {
    Lock l(m_);
    ++reads_;
    if (!open_) return -1;
    const int n = std::min<int>(max, static_cast<int>(incoming_.size()));
    for (int i = 0; i < n; ++i) {
        buffer[i] = incoming_.front();
        incoming_.pop_front();
    }
    return n;
}

int SimSerialLine::write(const uint8_t* data, int size) {
    std::function<void(SimSerialLine&, int)> after;
    int n;
    {
        Lock l(m_);
        if (!open_ || writeLimit_ < 0) {
            lastError_ = "write failed";
            return -1;
        }
        n = std::min(size, writeLimit_);
        written_.insert(written_.end(), data, data + n);
        after = onWrite_;
    }
    if (after) after(*this, n);
    return n;
}

bool SimSerialLine::setDtr(bool on) {
    Lock l(m_);
    modem_.push_back({'D', on, tick_ ? tick_() : 0});
    if (!modemWorks_) lastError_ = "DTR: no modem lines";
    return modemWorks_;
}

bool SimSerialLine::setRts(bool on) {
    Lock l(m_);
    modem_.push_back({'R', on, tick_ ? tick_() : 0});
    if (!modemWorks_) lastError_ = "RTS: no modem lines";
    return modemWorks_;
}

void SimSerialLine::setOpenFails(bool fails) { Lock l(m_); openFails_ = fails; }
void SimSerialLine::queueIncoming(const std::vector<uint8_t>& bytes) {
    Lock l(m_);
    incoming_.insert(incoming_.end(), bytes.begin(), bytes.end());
}
void SimSerialLine::setOutputQueued(int n) { Lock l(m_); outQueued_ = n; }
void SimSerialLine::setWriteLimit(int n) { Lock l(m_); writeLimit_ = n; }
void SimSerialLine::setOnWrite(std::function<void(SimSerialLine&, int)> fn) { Lock l(m_); onWrite_ = std::move(fn); }
void SimSerialLine::setModemLinesWork(bool works) { Lock l(m_); modemWorks_ = works; }
void SimSerialLine::setTickSource(std::function<uint32_t()> tick) { Lock l(m_); tick_ = std::move(tick); }

std::vector<std::string> SimSerialLine::opened() const { Lock l(m_); return opened_; }
std::vector<platform::SerialLineSettings> SimSerialLine::applied() const { Lock l(m_); return applied_; }
std::vector<std::pair<bool, bool>> SimSerialLine::purges() const { Lock l(m_); return purges_; }
std::vector<SimSerialLine::ModemCall> SimSerialLine::modemCalls() const { Lock l(m_); return modem_; }
std::vector<uint8_t> SimSerialLine::written() const { Lock l(m_); return written_; }
int SimSerialLine::reads() const { Lock l(m_); return reads_; }

}  // namespace testsupport
