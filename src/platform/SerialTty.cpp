// The serial backend over a Linux tty. termios2 sets any speed with BOTHER, so 14400 and
// 56000 work on the same path as the standard ones. <termios.h> would clash with the kernel's
// termbits, so this file speaks ioctl directly.
#include <asm/termbits.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/SerialBackend.h"

namespace platform {

SerialBackend::~SerialBackend() = default;

std::string comPortDevice(int n) {
    const std::string var = "VKM30_COM" + std::to_string(n);
    if (const char* v = std::getenv(var.c_str()); v && *v) return v;
    return "/dev/ttyS" + std::to_string(n - 1);
}

namespace {

class TtyBackend final : public SerialBackend {
public:
    ~TtyBackend() override { close(); }

    bool open(const std::string& device) override {
        close();
        const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return fail(device);
        if (!isatty(fd)) {
            ::close(fd);
            lastError_ = device + ": not a serial device";
            return false;
        }
        // Not shared: a second open of the line (by us or anyone but root) is refused.
        if (ioctl(fd, TIOCEXCL) != 0) {
            const int e = errno;
            ::close(fd);
            errno = e;
            return fail(device);
        }
        fd_ = fd;
        return true;
    }

    void close() override {
        if (fd_ >= 0) {
            ioctl(fd_, TIOCNXCL);
            ::close(fd_);
            fd_ = -1;
        }
    }

    bool isOpen() const override { return fd_ >= 0; }

    bool apply(const SerialLineSettings& s) override {
        if (fd_ < 0) return false;
        struct termios2 t;
        if (ioctl(fd_, TCGETS2, &t) != 0) return fail("TCGETS2");
        // Binary mode: no translation, no echo, no signals.
        t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF |
                       IXANY | INPCK);
        t.c_oflag &= ~OPOST;
        t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
        t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | CBAUD | (CBAUD << IBSHIFT));
        t.c_cflag |= CREAD | CLOCAL | BOTHER | (BOTHER << IBSHIFT);
        t.c_ispeed = t.c_ospeed = static_cast<speed_t>(s.baud);
        switch (s.dataBits) {
            case 5: t.c_cflag |= CS5; break;
            case 6: t.c_cflag |= CS6; break;
            case 7: t.c_cflag |= CS7; break;
            default: t.c_cflag |= CS8; break;
        }
        switch (s.parity) {
            case 1: t.c_cflag |= PARENB | PARODD; break;
            case 2: t.c_cflag |= PARENB; break;
            case 3: t.c_cflag |= PARENB | PARODD | CMSPAR; break;
            case 4: t.c_cflag |= PARENB | CMSPAR; break;
            default: break;
        }
        // One and a half stop bits has no tty setting; two is the nearest.
        if (s.stopBits != 0) t.c_cflag |= CSTOPB;
        if (s.rtsCts) t.c_cflag |= CRTSCTS;
        if (s.xonXoff) t.c_iflag |= IXON | IXOFF;
        t.c_cc[VSTART] = static_cast<cc_t>(s.xonChar);
        t.c_cc[VSTOP] = static_cast<cc_t>(s.xoffChar);
        t.c_cc[VMIN] = 0;
        t.c_cc[VTIME] = 0;
        if (ioctl(fd_, TCSETS2, &t) != 0) return fail("TCSETS2");
        return true;
    }

    bool purge(bool input, bool output) override {
        if (fd_ < 0) return false;
        if (!input && !output) return true;
        const int what = input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH;
        if (ioctl(fd_, TCFLSH, what) != 0) return fail("flush");
        return true;
    }

    int outputQueued() override {
        if (fd_ < 0) return -1;
        int n = 0;
        if (ioctl(fd_, TIOCOUTQ, &n) != 0) {
            fail("TIOCOUTQ");
            return -1;
        }
        return n;
    }

    int read(uint8_t* buffer, int max) override {
        if (fd_ < 0 || max <= 0) return fd_ < 0 ? -1 : 0;
        for (;;) {
            const ssize_t n = ::read(fd_, buffer, static_cast<size_t>(max));
            if (n > 0) return static_cast<int>(n);
            if (n == 0) {
                // Nothing, or a line that has hung up (an unplugged adapter, a closed
                // pseudo-terminal master): only poll tells them apart.
                if (!hungUp()) return 0;
                errno = EIO;
                fail("read (hang-up)");
                return -1;
            }
            if (errno == EINTR) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
            fail("read");
            return -1;
        }
    }

    int write(const uint8_t* data, int size) override {
        if (fd_ < 0) return -1;
        if (size <= 0) return 0;
        for (;;) {
            const ssize_t n = ::write(fd_, data, static_cast<size_t>(size));
            if (n >= 0) return static_cast<int>(n);
            if (errno == EINTR) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
            fail("write");
            return -1;
        }
    }

    bool setDtr(bool on) override { return modemLine(TIOCM_DTR, on, "DTR"); }
    bool setRts(bool on) override { return modemLine(TIOCM_RTS, on, "RTS"); }

private:
    bool hungUp() const {
        pollfd p{fd_, POLLIN, 0};
        return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    }

    bool modemLine(int bit, bool on, const char* name) {
        if (fd_ < 0) return false;
        if (ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bit) != 0) return fail(name);
        return true;
    }

    bool fail(const std::string& what) {
        lastError_ = what + ": " + std::strerror(errno);
        return false;
    }

    int fd_ = -1;
};

}  // namespace

std::unique_ptr<SerialBackend> makeTtyBackend() { return std::make_unique<TtyBackend>(); }

}  // namespace platform
