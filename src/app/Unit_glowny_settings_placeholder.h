#pragma once
// Stand-in for the settings fields until the settings unit lands (then this file goes away and
// TMainForm takes TSettings from app/Settings.h).
#include <cstdint>

struct TSettings {
    uint8_t SignalGaugeMax = 175;
    uint8_t SignalGaugeMin = 100;
    uint8_t VelocityChartUnit = 0;
};
