#include "support/SimCard.h"

namespace testsupport {

SimCard::SimCard()
    : status_(kCardReady | kCardNoCpuWarning | kCardNoReqK1 | kCardNoDataError | kCardLevelOk | kCardNotFull |
              kCardCommandFree) {
    setAnswer(0x88, 30, 20);
}

uint8_t SimCard::inPort(uint16_t port) {
    std::lock_guard<std::recursive_mutex> lock(m_);
    switch (port) {
        case platform::kCardDataPort: {
            if (data_.empty()) return 0xFF;
            const uint8_t b = data_.front();
            data_.pop_front();
            return b;
        }
        case platform::kCardStatusPort: {
            ++statusReads_;
            uint8_t s = static_cast<uint8_t>(status_ & ~kCardFifoNotEmpty);
            if (!data_.empty()) s |= kCardFifoNotEmpty;
            if (busyLeft_ > 0) {
                --busyLeft_;
                s &= static_cast<uint8_t>(~kCardCommandFree);
            }
            return s;
        }
        case platform::kCardHighPort: return high_;
        case platform::kCardCommandPort: return low_;
        default: return 0xFF;
    }
}

void SimCard::outPort(uint16_t port, uint8_t value) {
    std::function<void(SimCard&, uint8_t)> react;
    {
        std::lock_guard<std::recursive_mutex> lock(m_);
        if (port == platform::kCardHighPort) {
            dataOut_.push_back(value);
            return;
        }
        if (port != platform::kCardCommandPort) return;
        commands_.push_back(value);
        busyLeft_ = busyAfterCommand_;
        for (const auto& a : answers_)
            if (a.first == value) {
                high_ = a.second.first;
                low_ = a.second.second;
            }
        react = onCommand_;
    }
    if (react) react(*this, value);
}

void SimCard::setStatus(uint8_t status) {
    std::lock_guard<std::recursive_mutex> lock(m_);
    status_ = status;
}

uint8_t SimCard::status() const {
    std::lock_guard<std::recursive_mutex> lock(m_);
    return status_;
}

void SimCard::setBusyReadsAfterCommand(int reads) {
    std::lock_guard<std::recursive_mutex> lock(m_);
    busyAfterCommand_ = reads;
}

void SimCard::queueData(const std::vector<uint8_t>& bytes) {
    std::lock_guard<std::recursive_mutex> lock(m_);
    data_.insert(data_.end(), bytes.begin(), bytes.end());
}

void SimCard::queueFrame(uint8_t status, uint8_t flags, int32_t count, std::optional<uint8_t> signal,
                         bool badCountChecksum, bool badSignalChecksum) {
    const auto c = static_cast<uint32_t>(count);
    std::vector<uint8_t> f{0xAA, status, flags, uint8_t(c >> 24), uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)};
    uint8_t sum = static_cast<uint8_t>(f[3] + f[4] + f[5] + f[6]);
    f.push_back(static_cast<uint8_t>(-sum + (badCountChecksum ? 1 : 0)));
    if (signal) {
        f.push_back(*signal);
        f.push_back(static_cast<uint8_t>(-*signal + (badSignalChecksum ? 1 : 0)));
    }
    queueData(f);
}

size_t SimCard::queued() const {
    std::lock_guard<std::recursive_mutex> lock(m_);
    return data_.size();
}

void SimCard::setAnswer(uint8_t command, uint8_t high, uint8_t low) {
    std::lock_guard<std::recursive_mutex> lock(m_);
    answers_.push_back({command, {high, low}});
}

void SimCard::setOnCommand(std::function<void(SimCard&, uint8_t)> fn) {
    std::lock_guard<std::recursive_mutex> lock(m_);
    onCommand_ = std::move(fn);
}

std::vector<uint8_t> SimCard::commands() const {
    std::lock_guard<std::recursive_mutex> lock(m_);
    return commands_;
}

std::vector<uint8_t> SimCard::dataWritten() const {
    std::lock_guard<std::recursive_mutex> lock(m_);
    return dataOut_;
}

int SimCard::statusReads() const {
    std::lock_guard<std::recursive_mutex> lock(m_);
    return statusReads_;
}

}  // namespace testsupport
