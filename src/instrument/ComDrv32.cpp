#include "instrument/ComDrv32.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/Sync.h"

const std::array<int, 13> ComPortBaudTable = {110,   300,   600,   1200,  2400,  4800,  9600,
                                              14400, 19200, 38400, 56000, 57600, 115200};

LinkClock LinkClock::system() {
    return {[] { return platform::tickCount(); },
            [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }};
}

TCommPortDriver::TCommPortDriver(QObject* parent, std::unique_ptr<platform::SerialBackend> backend)
    : QObject(parent),
      backend_(backend ? std::move(backend) : platform::makeTtyBackend()),
      receiveBuffer_(inBufSize_),
      clock_(LinkClock::system()) {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, this, &TCommPortDriver::Poll);
}

TCommPortDriver::~TCommPortDriver() {
    Disconnect();
}

void TCommPortDriver::SetClock(LinkClock clock) {
    std::lock_guard<std::mutex> lock(m_);
    clock_ = std::move(clock);
}

std::string TCommPortDriver::DeviceName() const {
    return platform::comPortDevice(static_cast<int>(comPort_) + 1);
}

std::string TCommPortDriver::LastError() const {
    std::lock_guard<std::mutex> lock(m_);
    return lastError_;
}

bool TCommPortDriver::Connected() const {
    std::lock_guard<std::mutex> lock(m_);
    return backend_->isOpen();
}

bool TCommPortDriver::Connect() {
    {
        std::lock_guard<std::mutex> lock(m_);
        if (backend_->isOpen()) return true;
        if (!backend_->open(DeviceName())) {
            lastError_ = backend_->lastError();
            return false;
        }
        lineFailed_ = false;
        applySettingsLocked();
    }
    startTimer();
    return true;
}

void TCommPortDriver::Disconnect() {
    {
        std::lock_guard<std::mutex> lock(m_);
        if (!backend_->isOpen()) return;
        backend_->close();
    }
    stopTimer();
}

// The timer belongs to the thread that made the component (the user-interface thread); a
// worker that connects or disconnects has the change queued there.
void TCommPortDriver::startTimer() {
    const int period = pollingDelay_;
    if (QThread::currentThread() == timer_.thread()) {
        timer_.start(period);
    } else {
        QMetaObject::invokeMethod(&timer_, [this, period] { if (Connected()) timer_.start(period); },
                                  Qt::QueuedConnection);
    }
}

void TCommPortDriver::stopTimer() {
    if (QThread::currentThread() == timer_.thread()) {
        timer_.stop();
    } else {
        QMetaObject::invokeMethod(&timer_, [this] { if (!Connected()) timer_.stop(); },
                                  Qt::QueuedConnection);
    }
}

void TCommPortDriver::applySettingsLocked() {
    platform::SerialLineSettings s;
    s.baud = ComPortBaudTable[speed_];
    s.dataBits = static_cast<int>(dataBits_) + 5;
    s.stopBits = static_cast<int>(stopBits_);
    s.parity = static_cast<int>(parity_);
    s.rtsCts = hw_ == hhRTSCTS;
    s.xonXoff = sw_ == shXONXOFF;
    s.xonLimit = inBufSize_ / 4;
    s.xoffLimit = 1;
    if (!backend_->apply(s)) lastError_ = backend_->lastError();
    // DTR follows EnableDTROnOpen; RTS is held low unless the handshake drives it. A line
    // without modem lines (a pseudo-terminal) refuses both, which does no harm.
    if (!backend_->setDtr(enableDtrOnOpen_)) lastError_ = backend_->lastError();
    if (!s.rtsCts && !backend_->setRts(false)) lastError_ = backend_->lastError();
    backend_->purge(true, true);
}

void TCommPortDriver::FlushBuffers(bool inBuffer, bool outBuffer) {
    std::lock_guard<std::mutex> lock(m_);
    if (backend_->isOpen()) backend_->purge(inBuffer, outBuffer);
}

int16_t TCommPortDriver::outFreeSpaceLocked() {
    if (!backend_->isOpen()) return -1;
    const int queued = backend_->outputQueued();
    if (queued < 0) return -1;
    return static_cast<int16_t>(std::clamp(static_cast<int>(outBufSize_) - queued, -32768, 32767));
}

int16_t TCommPortDriver::OutFreeSpace() {
    std::lock_guard<std::mutex> lock(m_);
    return outFreeSpaceLocked();
}

int32_t TCommPortDriver::SendData(const void* dataPtr, int32_t dataSize) {
    if (dataSize < 1 || !dataPtr || !Connected()) return 0;
    const auto* p = static_cast<const uint8_t*>(dataPtr);
    LinkClock clock;
    {
        std::lock_guard<std::mutex> lock(m_);
        clock = clock_;
    }
    int32_t sent = 0;
    uint32_t since = clock.tick();
    while (sent < dataSize) {
        int16_t space;
        int written = 0;
        {
            std::lock_guard<std::mutex> lock(m_);
            space = outFreeSpaceLocked();
            if (space > 0) {
                written = backend_->write(p + sent, std::min<int32_t>(space, dataSize - sent));
                if (written < 0) lastError_ = backend_->lastError();
            }
        }
        // A closed port, a queue that cannot be told or is over-full, or a failed write will
        // not get better by waiting.
        if (space < 0 || written < 0) return -sent;
        if (written > 0) {
            sent += written;
            since = clock.tick();
            continue;
        }
        if (clock.tick() - since > outputTimeout_) return -sent;
        clock.sleepMs(1);
    }
    return sent;
}

bool TCommPortDriver::SendString(std::string_view text) {
    return SendData(text.data(), static_cast<int32_t>(text.size())) == static_cast<int32_t>(text.size());
}

bool TCommPortDriver::ToggleDTR(bool on) {
    std::lock_guard<std::mutex> lock(m_);
    if (!backend_->isOpen()) return false;
    if (backend_->setDtr(on)) return true;
    lastError_ = backend_->lastError();
    return false;
}

bool TCommPortDriver::ToggleRTS(bool on) {
    std::lock_guard<std::mutex> lock(m_);
    if (!backend_->isOpen()) return false;
    if (backend_->setRts(on)) return true;
    lastError_ = backend_->lastError();
    return false;
}

void TCommPortDriver::Poll() {
    int n;
    {
        std::lock_guard<std::mutex> lock(m_);
        if (!backend_->isOpen() || lineFailed_ || receiveBuffer_.empty()) return;
        n = backend_->read(receiveBuffer_.data(), static_cast<int>(receiveBuffer_.size()));
        if (n < 0) {
            // The device is gone: more reads would only fail again. The dead descriptor is
            // closed, so that the next Connect opens the device anew (a head plugged back in).
            lineFailed_ = true;
            lastError_ = backend_->lastError();
            backend_->close();
        }
    }
    if (n < 0) {
        stopTimer();
        if (onLineFailure_) onLineFailure_(this);
        return;
    }
    if (n > 0 && onReceiveData_) onReceiveData_(this, receiveBuffer_.data(), n);
}

bool TCommPortDriver::LineFailed() const {
    std::lock_guard<std::mutex> lock(m_);
    return lineFailed_;
}

#define VKM30_LINE_SETTER(Name, Type, field)          \
    void TCommPortDriver::Set##Name(Type value) {     \
        std::lock_guard<std::mutex> lock(m_);         \
        field = value;                                \
        if (backend_->isOpen()) applySettingsLocked(); \
    }
VKM30_LINE_SETTER(ComPortSpeed, TComPortBaudRate, speed_)
VKM30_LINE_SETTER(ComPortDataBits, TComPortDataBits, dataBits_)
VKM30_LINE_SETTER(ComPortStopBits, TComPortStopBits, stopBits_)
VKM30_LINE_SETTER(ComPortParity, TComPortParity, parity_)
VKM30_LINE_SETTER(ComPortHwHandshaking, TComPortHwHandshaking, hw_)
VKM30_LINE_SETTER(ComPortSwHandshaking, TComPortSwHandshaking, sw_)
#undef VKM30_LINE_SETTER

void TCommPortDriver::SetComPort(TComPortNumber port) {
    std::lock_guard<std::mutex> lock(m_);
    if (!backend_->isOpen() && port <= pnCOM10) comPort_ = port;
}

void TCommPortDriver::SetComPortInBufSize(uint16_t size) {
    std::lock_guard<std::mutex> lock(m_);
    if (backend_->isOpen()) return;
    inBufSize_ = size;
    receiveBuffer_.assign(size, 0);
}

void TCommPortDriver::SetComPortOutBufSize(uint16_t size) {
    std::lock_guard<std::mutex> lock(m_);
    outBufSize_ = size;
}

void TCommPortDriver::SetComPortPollingDelay(uint16_t ms) {
    if (ms == pollingDelay_) return;
    const bool connected = Connected();
    if (connected) stopTimer();
    pollingDelay_ = ms;
    if (connected) startTimer();
}
