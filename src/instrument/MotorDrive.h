#pragma once
// The motorised reflector of the angular set-up, driven by command bytes: back to a target
// reading after each accepted division (MotorToTarget), and by hand before a run (the turn and
// stop commands of TFUstawSilnik). The decision is plain data, so a test reads it as a table.
#include <atomic>
#include <cstdint>
#include <string>

#include "instrument/CommandLink.h"

// The motor was started with 'w' and not yet stopped with 'x'. The link status window stops it
// when a reading ends.
extern std::atomic<bool> MotorRunning;

namespace instrument {

// Arc seconds: farther than this the reflector runs continuously, nearer it steps once per
// sample; within the arrival window either side of the target it has arrived.
constexpr double kMotorRunDistance = 1500.0;
constexpr double kMotorArrivalWindow = 50.0;

// What one sample leads to: the bytes to send in order, the motor state after them, arrival.
struct MotorDecision {
    std::string bytes;
    bool running = false;
    bool arrived = false;
    bool operator==(const MotorDecision&) const = default;
};

// The direction byte: step left 'v' when `direction` is not 0 (the table turned right), else
// step right 'u'.
uint8_t MotorDirectionByte(uint8_t direction);

// Decision for one reading `value` (arc seconds, compared by its absolute value) against
// `target` while the motor is `running`. A reading that is not a number moves nothing (a
// running motor is stopped) and never counts as arrived.
MotorDecision DecideMotorStep(uint8_t direction, double target, double value, bool running);

// Sends the decision's bytes through `link`, keeps MotorRunning, and returns arrival.
bool MotorToTarget(uint8_t direction, double target, double value, ICommandLink& link);
// The same through the program's link.
bool MotorToTarget(uint8_t direction, double target, double value);

// Turning by hand: power on 's'; turn left 'v' 'w' or right 'u' 'w' (running); stop 'x'.
void MotorPowerOn(ICommandLink& link);
void MotorTurnLeft(ICommandLink& link);
void MotorTurnRight(ICommandLink& link);
void MotorStop(ICommandLink& link);

}  // namespace instrument
