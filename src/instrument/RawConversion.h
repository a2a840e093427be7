#pragma once
// Raw interferometer counts into readings: conversion for every measurement mode, the count
// filter, the signal-level smoothing, the stop decision after each frame and the reader of
// the measuring card's frames. Plain code; the reading thread only moves samples through it.
#include <cstdint>
#include <optional>

#include "foundations/MeasurementModes.h"

namespace instrument {

using enum ::MeasurementModeValue;

struct ConversionSettings {
    uint8_t mode = kModePositioning;
    double wavelength = 6.329912526e-7;  // vacuum, m
    double airCorrection = 1.0;          // k = 1/n
    double materialTemperature = 20.0;   // °C
    double referenceTemperature = 20.0;  // °C
    double expansionCoefficient = 0.0;   // 1/K
    bool filterOn = false;               // Filtr1 ticked
    bool resolution10 = false;           // resolution button visible and the 10 nm option set
    int straightnessMethod = 0;          // 0 angular optics, 1 Wollaston, 2 XY detector
    bool signPlus = false;               // sign button caption reads "+": readings are negated
    int32_t filterThreshold = 8;         // raw counts
};

// The expansion divisor D = 1 + (material − reference temperature) × coefficient.
double ExpansionDivisor(const ConversionSettings& s);
// λ × k ÷ D in nm, as DispLambda shows it.
double EffectiveWavelengthNm(const ConversionSettings& s);

// Smoothing of counts inside the band: |n − p| < threshold → p + (n − p) × 0.01, otherwise n
// unchanged (a jump resets the filter). `previous` becomes the result.
double ApplyFilter(double& previous, double n, int32_t threshold);

// One raw count in the unit of the mode: mm (positioning, distance), µm/s-scaled velocity,
// arc seconds (angle, straightness methods 0 and 1, Wollaston), mm (straightness method 2).
// Modes 5 and 10 convert nothing: nullopt, and the current value stays. `filterPrevious` is the
// filter's memory, touched only where the filter applies.
std::optional<double> ConvertRawCount(int32_t raw, const ConversionSettings& s, double& filterPrevious);

// A velocity v in the unit of the velocity displays and charts: 0 as is, 1 × 0.001, 2 × 0.06,
// 3 × 60, 4 × inch, 5 × 60 × inch. Other units: nullopt.
std::optional<double> VelocityInUnit(double v, int unit);
// What DisplayWys shows in a readout mode for the converted value v; nullopt: no display
// (another mode, or a unit without a display).
std::optional<double> ReadoutDisplayValue(uint8_t mode, double v, int displayLengthUnit,
                                          int displayVelocityUnit, double startPointDisp);

// Gauge smoothing: |b − L| < 20 → L += (b − L) × 0.1, otherwise L := b; returns L truncated.
int SmoothSignal(uint8_t b, double& level);
// Gauge colours by percentage (0x00BBGGRR): below 11 red, up to 30 orange, above lime.
uint32_t SignalGaugeColour(int percent);

// The stop check after each frame.
struct StopCheckInput {
    uint8_t mode = kModeNone;
    bool measurementRunning = false;
    bool velocityRunning = false;
    bool dataErrorActive = false;
    bool serialFlagBit0 = false;   // velocity too high
    bool measureLevelLost = false;
    bool serialFlagBit2 = false;   // Zeeman frequency too low
    bool headReady = true;
    bool takeRemoteEvent = false;  // the head's accept key was pressed
    int32_t stopReason = 0;
};
struct StopDecision {
    bool resetHeadFlags = false;   // idle: send the idle sequence instead of checking
    bool stopReading = false;
    int32_t stopReason = 0;        // the (possibly unchanged) StopReason
    bool headAcceptRequest = false;
};
StopDecision CheckStopConditions(const StopCheckInput& in);
// No run is in progress for the mode (modes 0 and 2-5 without MeasurementRunning, mode 1
// without VelocityRunning): the stop check only sends the idle sequence. Readout modes never are.
bool StopCheckIdle(uint8_t mode, bool measurementRunning, bool velocityRunning);

// Stop reason codes.
enum StopReasonCode : int32_t {
    kStopNone = 0,
    kStopBeam = 2,
    kStopDataError = 3,
    kStopStabilisation = 4,
    kStopVelocity = 5,
    kStopZeeman = 6,
    // The head is gone: the port failed or hung up, or no frame came for 600 ms.
    kStopLinkLost = 7,
    kStopService = 10,        // "Odczyt OFF" on the service panel
    // The user left the mode: the link status window shows no message for these.
    kStopLeftVelocity = 20,   // the way back from the velocity page
    kStopLeftReadout = 21,    // the way back from the live readout page
    kStopLeftStraightness = 23,  // a straightness line of the flatness map ended
};

// Frames of the measuring card, fed one byte at a time: sync 0xAA, two flag bytes, four count
// bytes (most significant first), the count checksum (count bytes + checksum ≡ 0 mod 256) and,
// while the signal byte is enabled, the signal level and its checksum (level + checksum ≡ 0).
class CardFrameReader {
public:
    struct Frame {
        uint8_t status = 0, flags = 0;
        int32_t count = 0;
        bool countValid = false;
        bool hasSignal = false;   // a signal byte with a good checksum came with the frame
        uint8_t signal = 0;
    };
    explicit CardFrameReader(bool statusByteEnabled = false) : statusByteEnabled_(statusByteEnabled) {}
    // The setting is read at the start of each frame.
    void setStatusByteEnabled(bool on) { statusByteEnabled_ = on; }
    // A finished frame, or nullopt while one is still being read (or bytes are skipped).
    std::optional<Frame> feed(uint8_t byte);

private:
    bool statusByteEnabled_;
    bool frameWithSignal_ = false;
    int pos_ = 0;  // 0: waiting for the sync byte
    Frame f_;
    uint8_t countSum_ = 0;
};

}  // namespace instrument
