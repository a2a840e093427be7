#pragma once
// The serial port component: one port, its line settings, reception by polling on the
// user-interface thread, and sending with an output time-out.
#include <QObject>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SerialBackend.h"

enum TComPortNumber : uint8_t { pnCOM1, pnCOM2, pnCOM3, pnCOM4, pnCOM5, pnCOM6, pnCOM7, pnCOM8, pnCOM9, pnCOM10 };
enum TComPortBaudRate : uint8_t {
    br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200, br38400, br56000, br57600, br115200
};
enum TComPortDataBits : uint8_t { db5BITS, db6BITS, db7BITS, db8BITS };
enum TComPortStopBits : uint8_t { sb1BITS, sb1HALFBITS, sb2BITS };
enum TComPortParity : uint8_t { ptNONE, ptODD, ptEVEN, ptMARK, ptSPACE };
enum TComPortHwHandshaking : uint8_t { hhNONE, hhRTSCTS };
enum TComPortSwHandshaking : uint8_t { shNONE, shXONXOFF };

// Bit/s by TComPortBaudRate ordinal.
extern const std::array<int, 13> ComPortBaudTable;

// Millisecond tick and sleep of the link layer; tests put a fake clock here so that time-outs
// and pauses take no real time.
struct LinkClock {
    std::function<uint32_t()> tick;
    std::function<void(int ms)> sleepMs;
    static LinkClock system();
};

class TCommPortDriver : public QObject {
    Q_OBJECT
public:
    using TComPortReceiveDataEvent =
        std::function<void(TCommPortDriver* sender, const uint8_t* dataPtr, int32_t dataSize)>;

    // Without a backend the real tty backend is used.
    explicit TCommPortDriver(QObject* parent = nullptr,
                             std::unique_ptr<platform::SerialBackend> backend = nullptr);
    ~TCommPortDriver() override;

    bool Connect();
    void Disconnect();
    bool Connected() const;
    void FlushBuffers(bool inBuffer, bool outBuffer);
    // -1 when not connected; else the output queue size minus the bytes queued.
    int16_t OutFreeSpace();
    // Bytes sent; minus the bytes sent when the queue stayed full beyond OutputTimeout, the
    // port closed or a write failed; 0 on a closed port or for no data.
    int32_t SendData(const void* dataPtr, int32_t dataSize);
    bool SendString(std::string_view text);
    // False (and LastError) when the line cannot be changed; a pseudo-terminal has no modem
    // lines, which is harmless.
    bool ToggleDTR(bool on);
    bool ToggleRTS(bool on);

    TComPortNumber ComPort() const { return comPort_; }
    void SetComPort(TComPortNumber port);
    TComPortBaudRate ComPortSpeed() const { return speed_; }
    void SetComPortSpeed(TComPortBaudRate speed);
    TComPortDataBits ComPortDataBits() const { return dataBits_; }
    void SetComPortDataBits(TComPortDataBits bits);
    TComPortStopBits ComPortStopBits() const { return stopBits_; }
    void SetComPortStopBits(TComPortStopBits bits);
    TComPortParity ComPortParity() const { return parity_; }
    void SetComPortParity(TComPortParity parity);
    TComPortHwHandshaking ComPortHwHandshaking() const { return hw_; }
    void SetComPortHwHandshaking(TComPortHwHandshaking hw);
    TComPortSwHandshaking ComPortSwHandshaking() const { return sw_; }
    void SetComPortSwHandshaking(TComPortSwHandshaking sw);
    uint16_t ComPortInBufSize() const { return inBufSize_; }
    void SetComPortInBufSize(uint16_t size);
    uint16_t ComPortOutBufSize() const { return outBufSize_; }
    void SetComPortOutBufSize(uint16_t size);
    uint16_t ComPortPollingDelay() const { return pollingDelay_; }
    void SetComPortPollingDelay(uint16_t ms);
    bool EnableDTROnOpen() const { return enableDtrOnOpen_; }
    void SetEnableDTROnOpen(bool on) { enableDtrOnOpen_ = on; }
    uint16_t OutputTimeout() const { return outputTimeout_; }
    void SetOutputTimeout(uint16_t ms) { outputTimeout_ = ms; }
    void SetOnReceiveData(TComPortReceiveDataEvent handler) { onReceiveData_ = std::move(handler); }
    // A read failed or the line hung up (the device is gone): the port closes (Connected is
    // false, LineFailed true), polling stops and the handler runs once, on the polling thread;
    // LastError says why. A new Connect opens the device again and clears LineFailed.
    void SetOnLineFailure(std::function<void(TCommPortDriver* sender)> handler) {
        onLineFailure_ = std::move(handler);
    }
    bool LineFailed() const;

    // One polling tick (what the timer runs): deliver what has arrived to OnReceiveData.
    void Poll();
    // The device that Connect opens for ComPort.
    std::string DeviceName() const;
    std::string LastError() const;
    bool PollingActive() const { return timer_.isActive(); }
    void SetClock(LinkClock clock);

private:
    void applySettingsLocked();
    int16_t outFreeSpaceLocked();
    void startTimer();
    void stopTimer();

    mutable std::mutex m_;  // the backend and the settings it gets; SendData runs on workers
    std::unique_ptr<platform::SerialBackend> backend_;
    TComPortNumber comPort_ = pnCOM1;
    TComPortBaudRate speed_ = br9600;
    TComPortDataBits dataBits_ = db8BITS;
    TComPortStopBits stopBits_ = sb1BITS;
    TComPortParity parity_ = ptNONE;
    TComPortHwHandshaking hw_ = hhNONE;
    TComPortSwHandshaking sw_ = shNONE;
    uint16_t inBufSize_ = 2048;
    uint16_t outBufSize_ = 2048;
    TComPortReceiveDataEvent onReceiveData_;
    std::function<void(TCommPortDriver*)> onLineFailure_;
    bool lineFailed_ = false;  // under m_
    uint16_t pollingDelay_ = 50;
    bool enableDtrOnOpen_ = true;
    uint16_t outputTimeout_ = 4000;
    std::vector<uint8_t> receiveBuffer_;
    QTimer timer_;
    LinkClock clock_;
    std::string lastError_;
};
