#pragma once
// The values of TMainForm.MeasurementMode, shared by the acquisition, file and window code.
#include <cstdint>

enum MeasurementModeValue : uint8_t {
    kModePositioning = 0,
    kModeVelocity = 1,
    kModeStraightness = 2,
    kModeFlatness = 3,
    kModeAngular = 4,
    kModeVibration = 5,
    kModeDistanceReadout = 6,
    kModeVelocityReadout = 7,
    kModeAngleReadout = 8,
    kModeWollastonReadout = 9,
    kModeNone = 10,
};
