#include "support/SimHead.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace testsupport {

namespace {

void appendBlock(Bytes& out, const Bytes& block, bool broken) {
    unsigned sum = 0;
    for (uint8_t b : block) {
        out.push_back(b);
        sum += b;
    }
    uint8_t checksum = static_cast<uint8_t>(-static_cast<int>(sum & 0xFF));
    if (broken) checksum = static_cast<uint8_t>(checksum + 1);
    out.push_back(checksum);
}

}  // namespace

FrameSpec FrameSpec::ready(int32_t count) {
    FrameSpec f;
    f.count = count;
    return f;
}

FrameSpec& FrameSpec::withMeteo(std::array<uint16_t, 6> words) {
    status |= kStMeteo;
    meteo = words;
    return *this;
}

FrameSpec& FrameSpec::withXy(std::array<int16_t, 4> words, uint8_t px, uint8_t py) {
    flags |= kFlXy;
    xy = words;
    powerX = px;
    powerY = py;
    return *this;
}

FrameSpec& FrameSpec::notReady() {
    status &= static_cast<uint8_t>(~kStReady);
    return *this;
}

Bytes encodeFrame(const FrameSpec& f) {
    Bytes out{0xAA};
    appendBlock(out, {f.status, f.flags}, f.broken & kBreakFlags);
    appendBlock(out, {f.signal}, f.broken & kBreakSignal);
    if (f.status & kStReady) {
        const auto c = static_cast<uint32_t>(f.count);
        appendBlock(out, {uint8_t(c >> 24), uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)}, f.broken & kBreakCount);
    }
    if (f.status & kStMeteo) {
        Bytes block;
        for (uint16_t w : f.meteo) {
            block.push_back(uint8_t(w >> 8));
            block.push_back(uint8_t(w));
        }
        appendBlock(out, block, f.broken & kBreakMeteo);
    }
    if (f.flags & kFlXy) {
        Bytes block;
        for (int16_t w : f.xy) {
            block.push_back(uint8_t(uint16_t(w) >> 8));
            block.push_back(uint8_t(uint16_t(w)));
        }
        block.push_back(f.powerX);
        block.push_back(f.powerY);
        appendBlock(out, block, f.broken & kBreakXy);
    }
    return out;
}

Bytes encodeFftBlock(const std::array<int16_t, 8>& samples, bool broken) {
    Bytes out{0xAA};
    Bytes block;
    for (int16_t s : samples) {
        block.push_back(uint8_t(uint16_t(s)));
        block.push_back(uint8_t(uint16_t(s) >> 8));
    }
    appendBlock(out, block, broken);
    return out;
}

SimHead::SimHead() {
    const int m = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m < 0) return;
    if (grantpt(m) != 0 || unlockpt(m) != 0) {
        ::close(m);
        return;
    }
    char name[128];
    if (ptsname_r(m, name, sizeof name) != 0) {
        ::close(m);
        return;
    }
    slavePath_ = name;
    // Raw from the start, so nothing the head sends is echoed back or translated before the
    // program opens the line and sets it up itself.
    slaveKeep_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveKeep_ >= 0) {
        termios t{};
        if (tcgetattr(slaveKeep_, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(slaveKeep_, TCSANOW, &t);
        }
    }
    master_ = m;
    // The speed before any program opened the line, taken before the reader starts: on a loaded
    // machine the reader may first look after the program has already set its speed, and that
    // change must still count as one.
    seenSpeed_ = lineSpeed();
    reader_ = std::thread([this] { readerLoop(); });
}

SimHead::~SimHead() {
    stopStreaming();
    quit_ = true;
    if (reader_.joinable()) reader_.join();
    for (const auto& n : envNames_) unsetenv(n.c_str());
    if (slaveKeep_ >= 0) ::close(slaveKeep_);
    if (master_ >= 0) ::close(master_);
}

void SimHead::attachAsCom(int n) {
    const std::string name = "VKM30_COM" + std::to_string(n);
    setenv(name.c_str(), slavePath_.c_str(), 1);
    envNames_.push_back(name);
}

void SimHead::send(const Bytes& bytes) {
    std::lock_guard<std::mutex> lock(writeMutex_);
    size_t done = 0;
    while (done < bytes.size() && master_ >= 0) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno != EINTR && errno != EAGAIN) {
            return;
        } else if (n < 0 && errno == EAGAIN) {
            usleep(1000);
        }
    }
}

void SimHead::setAutoReply(std::function<Bytes(uint8_t)> reply) {
    std::lock_guard<std::mutex> lock(m_);
    autoReply_ = std::move(reply);
}

Bytes SimHead::receivedCommands() const {
    std::lock_guard<std::mutex> lock(m_);
    return received_;
}

void SimHead::clearReceived() {
    std::lock_guard<std::mutex> lock(m_);
    received_.clear();
}

bool SimHead::waitForCommands(size_t n, std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(m_);
    return cv_.wait_for(lock, timeout, [&] { return received_.size() >= n; });
}

int SimHead::lineSpeed() const { return master_ >= 0 ? terminalSpeed(master_) : -1; }

bool SimHead::speedAccepted() const {
    const int want = requiredSpeed_;
    return want == 0 || lineSpeed() == want;
}

void SimHead::setRestartOnSpeed(int baud, Bytes bytes, std::chrono::milliseconds delay) {
    std::lock_guard<std::mutex> lock(m_);
    restartSpeed_ = baud;
    restartBytes_ = std::move(bytes);
    restartDelay_ = delay;
}

void SimHead::checkRestart() {
    int target;
    Bytes bytes;
    std::chrono::milliseconds delay;
    {
        std::lock_guard<std::mutex> lock(m_);
        target = restartSpeed_;
        bytes = restartBytes_;
        delay = restartDelay_;
    }
    if (target == 0) return;
    const int speed = lineSpeed();
    const auto now = std::chrono::steady_clock::now();
    if (speed != seenSpeed_) {
        if (speed == target && seenSpeed_ != -1) {
            restartDue_ = true;
            restartAt_ = now + delay;
        }
        seenSpeed_ = speed;
    }
    if (restartDue_ && now >= restartAt_) {
        restartDue_ = false;
        ++restarts_;
        send(bytes);
    }
}

void SimHead::readerLoop() {
    uint8_t buf[512];
    while (!quit_) {
        checkRestart();
        pollfd p{master_, POLLIN, 0};
        const int r = ::poll(&p, 1, 10);
        if (r <= 0 || !(p.revents & POLLIN)) {
            // POLLHUP while no slave is open: nothing to read, do not spin.
            if (r > 0) usleep(5000);
            continue;
        }
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0) {
            usleep(5000);
            continue;
        }
        if (!speedAccepted()) continue;
        for (ssize_t i = 0; i < n; ++i) {
            std::function<Bytes(uint8_t)> reply;
            {
                std::lock_guard<std::mutex> lock(m_);
                received_.push_back(buf[i]);
                reply = autoReply_;
            }
            cv_.notify_all();
            if (reply) {
                const Bytes answer = reply(buf[i]);
                if (!answer.empty()) send(answer);
            }
        }
    }
}

void SimHead::startStreaming(const FrameSpec& base, std::chrono::milliseconds period) {
    stopStreaming();
    {
        std::lock_guard<std::mutex> lock(streamMutex_);
        stream_ = base;
    }
    streaming_ = true;
    streamer_ = std::thread([this, period] { streamLoop(period); });
}

void SimHead::vanish() {
    stopStreaming();
    quit_ = true;
    if (reader_.joinable()) reader_.join();
    std::lock_guard<std::mutex> lock(writeMutex_);
    if (master_ >= 0) ::close(master_);
    master_ = -1;
}

void SimHead::stopStreaming() {
    streaming_ = false;
    if (streamer_.joinable()) streamer_.join();
}

void SimHead::streamLoop(std::chrono::milliseconds period) {
    auto next = std::chrono::steady_clock::now();
    while (streaming_) {
        FrameSpec f;
        {
            std::lock_guard<std::mutex> lock(streamMutex_);
            f = stream_;
            stream_.count += streamStep_;
        }
        if (speedAccepted()) {
            sendFrame(f);
            ++framesStreamed_;
        }
        next += period;
        std::this_thread::sleep_until(next);
    }
}

void SimHead::setStreamFrame(const FrameSpec& f) {
    std::lock_guard<std::mutex> lock(streamMutex_);
    stream_ = f;
}

void SimHead::setStreamCount(int32_t count) {
    std::lock_guard<std::mutex> lock(streamMutex_);
    stream_.count = count;
}

void SimHead::setStreamStep(int32_t step) {
    std::lock_guard<std::mutex> lock(streamMutex_);
    streamStep_ = step;
}

void SimHead::setStreamStatus(uint8_t status) {
    std::lock_guard<std::mutex> lock(streamMutex_);
    stream_.status = status;
}

void SimHead::setStreamFlags(uint8_t flags) {
    std::lock_guard<std::mutex> lock(streamMutex_);
    stream_.flags = flags;
}

FrameSpec SimHead::streamFrame() const {
    std::lock_guard<std::mutex> lock(streamMutex_);
    return stream_;
}

}  // namespace testsupport
