#pragma once
// A disk that fills up, for tests: while this lives, files of this process may grow to `bytes`
// only, and a write past that fails (EFBIG) instead of raising SIGXFSZ.
#include <csignal>
#include <sys/resource.h>

namespace testsupport {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        if (getrlimit(RLIMIT_FSIZE, &saved_) != 0) return;
        savedSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved_;
        small.rlim_cur = bytes;
        ok_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit() {
        if (ok_) setrlimit(RLIMIT_FSIZE, &saved_);
        if (savedSignal_ != SIG_ERR) std::signal(SIGXFSZ, savedSignal_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool ok() const { return ok_; }

private:
    rlimit saved_{};
    void (*savedSignal_)(int) = SIG_ERR;
    bool ok_ = false;
};

}  // namespace testsupport
