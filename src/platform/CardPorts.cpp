#include "platform/CardPorts.h"

#include <cerrno>
#include <cstring>

#if defined(__linux__) && (defined(__x86_64__) || defined(__i386__))
#include <sys/io.h>
#define VKM30_HAVE_PORT_IO 1
#endif

namespace platform {

CardPorts::~CardPorts() = default;

#ifdef VKM30_HAVE_PORT_IO
namespace {

class HardwareCardPorts final : public CardPorts {
public:
    ~HardwareCardPorts() override { ioperm(kCardDataPort, 4, 0); }
    uint8_t inPort(uint16_t port) override { return inb(port); }
    void outPort(uint16_t port, uint8_t value) override { outb(value, port); }
};

}  // namespace
#endif

std::unique_ptr<CardPorts> openHardwareCardPorts(std::string* error) {
#ifdef VKM30_HAVE_PORT_IO
    if (ioperm(kCardDataPort, 4, 1) != 0) {
        if (error) *error = std::string("card ports 0x300-0x303: ") + std::strerror(errno);
        return nullptr;
    }
    return std::make_unique<HardwareCardPorts>();
#else
    if (error) *error = "card ports 0x300-0x303: no port I/O on this machine";
    return nullptr;
#endif
}

}  // namespace platform
