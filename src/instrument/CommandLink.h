#pragma once
// The one-byte command path to the head, as the mode sequences, the link status window and the
// signal monitor see it. The real link (card ports or serial port) satisfies it; tests record.
#include <cstdint>

class ICommandLink {
public:
    virtual ~ICommandLink() = default;
    virtual void SendCommandByte(uint8_t b) = 0;
};

// The program's link: SendCommandByte of the command and status layer.
ICommandLink& RealCommandLink();
