#pragma once
// A pseudo-terminal carries no modem lines, so the simulated head cannot see a DTR reset pulse.
// This serial backend wraps the real tty backend and reports each pulse (DTR on, then off) to
// the test, which lets the head restart as a real one would.
#include <functional>
#include <memory>

#include "platform/SerialBackend.h"

namespace testsupport {

std::unique_ptr<platform::SerialBackend> makeResetWatchingBackend(std::function<void()> onResetPulse);

}  // namespace testsupport
