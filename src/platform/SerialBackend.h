#pragma once
// The serial line under the port component: an interface so that tests can put a fake line
// under it, and the real one over a POSIX tty.
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// Line settings in plain terms (the component maps its enumerations onto these).
struct SerialLineSettings {
    int baud = 9600;
    int dataBits = 8;        // 5..8
    int stopBits = 0;        // 0 one, 1 one and a half, 2 two
    int parity = 0;          // 0 none, 1 odd, 2 even, 3 mark, 4 space
    bool rtsCts = false;
    bool xonXoff = false;
    int xonLimit = 512;      // kept for the record; a tty has no such limit
    int xoffLimit = 1;
    char xonChar = 17;
    char xoffChar = 19;
};

class SerialBackend {
public:
    virtual ~SerialBackend();

    // Opens an existing device for reading and writing, exclusively. False with lastError().
    virtual bool open(const std::string& device) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    virtual bool apply(const SerialLineSettings& settings) = 0;
    virtual bool purge(bool input, bool output) = 0;
    // Bytes waiting in the output queue, or -1 when it cannot be told.
    virtual int outputQueued() = 0;
    // What has arrived, at most max bytes, without waiting: count, 0 nothing, -1 failure.
    virtual int read(uint8_t* buffer, int max) = 0;
    // Bytes taken by the driver: count, 0 when the queue is full, -1 failure.
    virtual int write(const uint8_t* data, int size) = 0;
    // Modem lines. Not every line has them (a pseudo-terminal has none): false, lastError().
    virtual bool setDtr(bool on) = 0;
    virtual bool setRts(bool on) = 0;

    const std::string& lastError() const { return lastError_; }

protected:
    std::string lastError_;
};

// The backend over a real tty (termios, termios2 for speeds outside the standard table).
std::unique_ptr<SerialBackend> makeTtyBackend();

// The device behind COMn (n from 1): the environment variable VKM30_COM<n> when it is set and
// not empty, else /dev/ttyS<n-1>.
std::string comPortDevice(int n);

}  // namespace platform
