#pragma once
// A simulated laser head on the far side of a pseudo-terminal. The program's real serial port
// component opens the terminal's slave side (VKM30_COM<n> points at it); the head records every
// command byte it receives and sends what a test scripts: measurement frames, FFT blocks,
// start-up text and replies, or a stream of frames every 40 ms.
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

using Bytes = std::vector<uint8_t>;

// Status bits of a frame (HeadStatus) and flag bits (HeadFlags).
constexpr uint8_t kStReady = 0x01, kStCpuWarning = 0x02, kStNotFull = 0x04, kStLevelOk = 0x08,
                  kStNoDataError = 0x10, kStMeteo = 0x20;
constexpr uint8_t kFlVelocity = 0x01, kFlRemote = 0x02, kFlZeeman = 0x04, kFlXy = 0x08;

// Which checksums to spoil (bit per block).
enum BrokenBlock : uint8_t {
    kBreakFlags = 0x01, kBreakSignal = 0x02, kBreakCount = 0x04, kBreakMeteo = 0x08, kBreakXy = 0x10
};

// One measurement frame. The blocks present follow the bits, as the head sends them: the
// count with status bit 0, the environment words with status bit 5, the XY block with flag
// bit 3.
struct FrameSpec {
    uint8_t status = kStReady | kStLevelOk | kStNoDataError | kStNotFull;
    uint8_t flags = 0;
    uint8_t signal = 80;
    int32_t count = 0;
    std::array<uint16_t, 6> meteo{};
    std::array<int16_t, 4> xy{};      // X, Y, third, fourth
    uint8_t powerX = 0, powerY = 0;
    uint8_t broken = 0;               // BrokenBlock bits

    // A ready head with its count (and nothing else).
    static FrameSpec ready(int32_t count);
    FrameSpec& withMeteo(std::array<uint16_t, 6> words);
    FrameSpec& withXy(std::array<int16_t, 4> words, uint8_t px, uint8_t py);
    FrameSpec& notReady();            // clears status bit 0 (no count block)
};

Bytes encodeFrame(const FrameSpec& f);
// FFT block: 0xAA, eight samples low byte first, checksum over the 16 data bytes.
Bytes encodeFftBlock(const std::array<int16_t, 8>& samples, bool broken = false);

class SimHead {
public:
    SimHead();
    ~SimHead();
    SimHead(const SimHead&) = delete;
    SimHead& operator=(const SimHead&) = delete;

    bool ok() const { return master_ >= 0; }
    const std::string& slavePath() const { return slavePath_; }
    // COMn of the program opens this head (sets VKM30_COM<n>; the destructor removes it).
    void attachAsCom(int n);

    void send(const Bytes& bytes);
    void sendFrame(const FrameSpec& f) { send(encodeFrame(f)); }
    void sendFft(const std::array<int16_t, 8>& samples, bool broken = false) {
        send(encodeFftBlock(samples, broken));
    }
    void sendText(const std::string& text) { send(Bytes(text.begin(), text.end())); }
    void sendReply(uint8_t a, uint8_t b) { send(Bytes{a, b}); }

    // Answer to each command byte received (empty: no answer).
    void setAutoReply(std::function<Bytes(uint8_t command)> reply);
    Bytes receivedCommands() const;
    void clearReceived();
    // Waits until at least n command bytes have arrived in all.
    bool waitForCommands(size_t n, std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));

    // Speed the program has set on the line (read back from the terminal).
    int lineSpeed() const;
    // Answer only at this speed (0: any): commands at another speed are garbage to the head and
    // are neither recorded nor answered, and no frames are streamed.
    void setRequiredSpeed(int baud) { requiredSpeed_ = baud; }
    // A pseudo-terminal carries no DTR reset pulse. With this set, the head restarts when the
    // program changes the line to `baud`: after `delay` it sends `bytes` (its start-up text and
    // load invitation), once per change. Any other speed disarms nothing.
    void setRestartOnSpeed(int baud, Bytes bytes, std::chrono::milliseconds delay);
    int restarts() const { return restarts_; }

    // A frame every period on the head's own thread. The count of each frame adds the step to
    // the one before (an axis moving); setStreamFrame changes everything at once.
    void startStreaming(const FrameSpec& base, std::chrono::milliseconds period = std::chrono::milliseconds(40));
    void stopStreaming();
    void setStreamFrame(const FrameSpec& f);
    void setStreamCount(int32_t count);
    void setStreamStep(int32_t step);
    void setStreamStatus(uint8_t status);
    void setStreamFlags(uint8_t flags);
    FrameSpec streamFrame() const;
    int framesStreamed() const { return framesStreamed_; }

    // The head vanishes as an unplugged adapter does: streaming and answering stop and the
    // terminal's master side closes, so the program's side of the line hangs up.
    void vanish();

private:
    void readerLoop();
    void streamLoop(std::chrono::milliseconds period);
    bool speedAccepted() const;

    int master_ = -1;
    int slaveKeep_ = -1;  // keeps the terminal alive between the program's opens
    std::string slavePath_;
    std::vector<std::string> envNames_;

    mutable std::mutex m_;
    std::condition_variable cv_;
    Bytes received_;
    std::function<Bytes(uint8_t)> autoReply_;
    std::mutex writeMutex_;

    std::atomic<bool> quit_{false};
    std::thread reader_;

    mutable std::mutex streamMutex_;
    FrameSpec stream_;
    int32_t streamStep_ = 0;
    std::atomic<bool> streaming_{false};
    std::atomic<int> framesStreamed_{0};
    std::thread streamer_;
    std::atomic<int> requiredSpeed_{0};

    void checkRestart();
    int restartSpeed_ = 0;              // under m_
    Bytes restartBytes_;                // under m_
    std::chrono::milliseconds restartDelay_{0};
    int seenSpeed_ = -1;                // set before the reader starts, then the reader's only
    bool restartDue_ = false;           // reader thread only
    std::chrono::steady_clock::time_point restartAt_;
    std::atomic<int> restarts_{0};
};

// Speed of a terminal in bit/s (termios2, so 14400 and 56000 read back too); -1 on failure.
int terminalSpeed(int fd);

}  // namespace testsupport
