#pragma once
// The measuring card's four I/O ports (0x300-0x303): an interface, so that a simulated card
// can stand in for the real one.
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

constexpr uint16_t kCardDataPort = 0x300;     // in: frame bytes, start-up text, answers
constexpr uint16_t kCardStatusPort = 0x301;   // in: status byte
constexpr uint16_t kCardHighPort = 0x302;     // out: firmware data byte; in: answer high byte
constexpr uint16_t kCardCommandPort = 0x303;  // out: command byte; in: answer low byte

class CardPorts {
public:
    virtual ~CardPorts();
    virtual uint8_t inPort(uint16_t port) = 0;
    virtual void outPort(uint16_t port, uint8_t value) = 0;
};

// Direct port access (x86, needs the I/O privilege, normally root). Null when the ports cannot
// be reached, with the reason in *error: callers then take the interface-error path at once.
std::unique_ptr<CardPorts> openHardwareCardPorts(std::string* error = nullptr);

}  // namespace platform
