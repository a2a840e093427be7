#include "instrument/MotorDrive.h"

#include <cmath>

#include "instrument/LinkPort.h"

std::atomic<bool> MotorRunning{false};

namespace instrument {

uint8_t MotorDirectionByte(uint8_t direction) {
    return direction != 0 ? HeadCommand::MotorStepLeft : HeadCommand::MotorStepRight;
}

MotorDecision DecideMotorStep(uint8_t direction, double target, double value, bool running) {
    MotorDecision d;
    d.running = running;
    const double a = std::fabs(value);
    const double distance = std::fabs(a - target);
    if (!std::isfinite(distance)) {
        // A broken reading must not start or keep the reflector turning.
        if (running) d.bytes.push_back(static_cast<char>(HeadCommand::MotorTurnOff));
        d.running = false;
        return d;
    }
    if (distance <= kMotorRunDistance) {
        if (running) {
            d.bytes.push_back(static_cast<char>(HeadCommand::MotorTurnOff));
            d.running = false;
        }
        if (a > target - kMotorArrivalWindow && a < target + kMotorArrivalWindow) {
            d.arrived = true;
            return d;
        }
        d.bytes.push_back(static_cast<char>(MotorDirectionByte(direction)));
        return d;
    }
    if (!running) {
        d.bytes.push_back(static_cast<char>(MotorDirectionByte(direction)));
        d.bytes.push_back(static_cast<char>(HeadCommand::MotorTurnOn));
        d.running = true;
    }
    return d;
}

bool MotorToTarget(uint8_t direction, double target, double value, ICommandLink& link) {
    const MotorDecision d = DecideMotorStep(direction, target, value, MotorRunning.load());
    {
        const instrument::CommandSequence sequence;  // direction and turn-on as one command
        for (char b : d.bytes) link.SendCommandByte(static_cast<uint8_t>(b));
    }
    MotorRunning = d.running;
    return d.arrived;
}

bool MotorToTarget(uint8_t direction, double target, double value) {
    return MotorToTarget(direction, target, value, RealCommandLink());
}

void MotorPowerOn(ICommandLink& link) { link.SendCommandByte(HeadCommand::MotorPowerOn); }

void MotorTurnLeft(ICommandLink& link) {
    const instrument::CommandSequence sequence;
    link.SendCommandByte(HeadCommand::MotorStepLeft);
    link.SendCommandByte(HeadCommand::MotorTurnOn);
    MotorRunning = true;
}

void MotorTurnRight(ICommandLink& link) {
    const instrument::CommandSequence sequence;
    link.SendCommandByte(HeadCommand::MotorStepRight);
    link.SendCommandByte(HeadCommand::MotorTurnOn);
    MotorRunning = true;
}

void MotorStop(ICommandLink& link) {
    link.SendCommandByte(HeadCommand::MotorTurnOff);
    MotorRunning = false;
}

}  // namespace instrument
