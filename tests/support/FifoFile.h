#pragma once
// A fifo where a test hands the program a file name. A reader that opens it without care blocks
// for good; after `patience` the guard opens the fifo for writing and closes it again, so such a
// reader gets an empty file and the test ends with a failure (Unblocked()) instead of hanging.
#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace testsupport {

class FifoFile {
public:
    explicit FifoFile(const QString& path, std::chrono::seconds patience = std::chrono::seconds(30))
        : path_(path.toLocal8Bit()) {
        made_ = ::mkfifo(path_.constData(), 0600) == 0;
        if (!made_) return;
        guard_ = std::thread([this, patience] {
            std::unique_lock lock(m_);
            if (cv_.wait_for(lock, patience, [this] { return done_; })) return;
            unblocked_ = true;
            // Whoever waits in open() for a writer is let through, then sees the end of the file.
            for (int i = 0; i < 100 && !done_; ++i) {
                const int fd = ::open(path_.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    ::close(fd);
                    return;
                }
                cv_.wait_for(lock, std::chrono::milliseconds(50), [this] { return done_; });
            }
        });
    }
    ~FifoFile() {
        {
            std::lock_guard lock(m_);
            done_ = true;
        }
        cv_.notify_all();
        if (guard_.joinable()) guard_.join();
        if (made_) ::unlink(path_.constData());
    }
    FifoFile(const FifoFile&) = delete;
    FifoFile& operator=(const FifoFile&) = delete;

    bool Made() const { return made_; }
    // True when a reader had to be let out of the fifo.
    bool Unblocked() const { return unblocked_; }

private:
    QByteArray path_;
    bool made_ = false;
    std::atomic<bool> unblocked_{false};
    std::mutex m_;
    std::condition_variable cv_;
    bool done_ = false;
    std::thread guard_;
};

}  // namespace testsupport
