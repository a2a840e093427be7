#include "support/SimHeadReset.h"

namespace testsupport {

namespace {

class ResetWatchingBackend : public platform::SerialBackend {
public:
    ResetWatchingBackend(std::unique_ptr<platform::SerialBackend> inner, std::function<void()> onPulse)
        : inner_(std::move(inner)), onPulse_(std::move(onPulse)) {}

    bool open(const std::string& device) override { return forward(inner_->open(device)); }
    void close() override { inner_->close(); }
    bool isOpen() const override { return inner_->isOpen(); }
    bool apply(const platform::SerialLineSettings& s) override { return forward(inner_->apply(s)); }
    bool purge(bool in, bool out) override { return forward(inner_->purge(in, out)); }
    int outputQueued() override { return inner_->outputQueued(); }
    int read(uint8_t* buffer, int max) override { return inner_->read(buffer, max); }
    int write(const uint8_t* data, int size) override { return inner_->write(data, size); }
    bool setDtr(bool on) override {
        if (on) {
            raised_ = true;
        } else if (raised_) {
            raised_ = false;
            if (onPulse_) onPulse_();
        }
        return true;
    }
    bool setRts(bool on) override {
        (void)on;
        return true;
    }

private:
    bool forward(bool ok) {
        lastError_ = inner_->lastError();
        return ok;
    }
    std::unique_ptr<platform::SerialBackend> inner_;
    std::function<void()> onPulse_;
    bool raised_ = false;
};

}  // namespace

std::unique_ptr<platform::SerialBackend> makeResetWatchingBackend(std::function<void()> onResetPulse) {
    return std::make_unique<ResetWatchingBackend>(platform::makeTtyBackend(), std::move(onResetPulse));
}

}  // namespace testsupport
