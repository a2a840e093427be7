#include "instrument/RawConversion.h"

#include <cmath>

namespace instrument {

namespace {
constexpr double kInch = 0.03937007874015748;
constexpr double kResolution10 = 0.0625;
// Angular optics: mm of path difference per radian of tilt, and arc seconds per radian.
constexpr double kAngularOptics = 0.019619383951343928;
constexpr double kArcSecondsPerRadian = 206264.8;
constexpr double kWollaston = 41.42;
}  // namespace

double ExpansionDivisor(const ConversionSettings& s) {
    return 1.0 + (s.materialTemperature - s.referenceTemperature) * s.expansionCoefficient;
}

double EffectiveWavelengthNm(const ConversionSettings& s) {
    return s.wavelength * s.airCorrection * 1e9 / ExpansionDivisor(s);
}

double ApplyFilter(double& previous, double n, int32_t threshold) {
    if (std::fabs(n - previous) < threshold) n = previous + (n - previous) * 0.01;
    previous = n;
    return n;
}

std::optional<double> ConvertRawCount(int32_t raw, const ConversionSettings& s, double& filterPrevious) {
    const double lk_d = s.wavelength * s.airCorrection / ExpansionDivisor(s);
    // Velocity is never filtered; modes without a conversion leave the filter alone too.
    const bool filtered = s.filterOn && s.mode != kModeVelocity && s.mode != kModeVelocityReadout &&
                          s.mode != kModeVibration && s.mode <= kModeWollastonReadout;
    const double x = filtered ? ApplyFilter(filterPrevious, raw, s.filterThreshold) : static_cast<double>(raw);
    const double r10 = s.resolution10 ? kResolution10 : 1.0;
    double v = 0.0;
    switch (s.mode) {
    case kModePositioning:
    case kModeDistanceReadout:
        v = x * 0.25 * lk_d * 1000 * r10;
        break;
    case kModeVelocity:
    case kModeVelocityReadout:
        v = raw * 0.25 * lk_d * 1e6 * 0.025 * r10;
        break;
    case kModeStraightness:
    case kModeFlatness: {
        const double u = x * 0.25 * lk_d;
        switch (s.straightnessMethod) {
        case 0:
            v = std::atan(u * r10 * 1000 * kAngularOptics) * kArcSecondsPerRadian;
            break;
        case 1:
            v = u * 1e6 * kWollaston * 0.125;
            break;
        default:
            v = u * 1000 * r10;
            break;
        }
        break;
    }
    case kModeAngular:
    case kModeAngleReadout:
        v = x * 0.25 * lk_d * r10 * 1000 * kAngularOptics * kArcSecondsPerRadian;
        break;
    case kModeWollastonReadout:
        v = x * 0.03125 * lk_d * 1e6 * kWollaston;
        break;
    default:
        return std::nullopt;
    }
    if (s.signPlus) v = -v;
    // A nonsense divisor or wavelength must not put an infinity into the readings.
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<double> VelocityInUnit(double v, int unit) {
    switch (unit) {
    case 0: return v;
    case 1: return v * 0.001;
    case 2: return v * 60 * 0.001;
    case 3: return v * 60;
    case 4: return v * kInch;
    case 5: return v * 60 * kInch;
    default: return std::nullopt;
    }
}

std::optional<double> ReadoutDisplayValue(uint8_t mode, double v, int displayLengthUnit, int displayVelocityUnit,
                                          double startPointDisp) {
    switch (mode) {
    case kModeDistanceReadout:
        switch (displayLengthUnit) {
        case 0: return startPointDisp + v;
        case 1: return (startPointDisp + v) * 1000;
        case 4: return (startPointDisp + v) * kInch;
        case 5: return (startPointDisp + v) * 1000 * kInch;
        default: return std::nullopt;
        }
    case kModeVelocityReadout:
        return VelocityInUnit(v, displayVelocityUnit);
    case kModeAngleReadout:
    case kModeWollastonReadout:
        return v;
    default:
        return std::nullopt;
    }
}

int SmoothSignal(uint8_t b, double& level) {
    if (std::fabs(b - level) < 20)
        level = level + (b - level) * 0.1;
    else
        level = b;
    return static_cast<int>(std::trunc(level));
}

uint32_t SignalGaugeColour(int percent) {
    if (percent < 11) return 0x0000FF;
    if (percent <= 30) return 0x0079FF;
    return 0x00FF00;
}

bool StopCheckIdle(uint8_t mode, bool measurementRunning, bool velocityRunning) {
    const bool running = mode == kModeVelocity ? velocityRunning : measurementRunning;
    return mode <= kModeVibration && !running;
}

StopDecision CheckStopConditions(const StopCheckInput& in) {
    StopDecision d;
    d.stopReason = in.stopReason;
    if (StopCheckIdle(in.mode, in.measurementRunning, in.velocityRunning)) {
        d.resetHeadFlags = true;
        // The service panel's "Odczyt OFF" ends the reading on a page without a run too.
        d.stopReading = in.stopReason == kStopService;
        return d;
    }
    // Later conditions overwrite earlier ones: the last that holds is reported.
    auto stop = [&](int32_t code) {
        d.stopReading = true;
        d.stopReason = code;
    };
    if (in.dataErrorActive) stop(kStopDataError);
    if (in.serialFlagBit0) stop(kStopVelocity);
    if (in.measureLevelLost) stop(kStopBeam);
    if (in.serialFlagBit2) stop(kStopZeeman);
    if (!in.headReady) stop(kStopStabilisation);
    if (in.takeRemoteEvent) d.headAcceptRequest = true;
    if (d.stopReason == kStopService) d.stopReading = true;
    // A lost link outranks what the last frame before it said.
    if (in.stopReason == kStopLinkLost) {
        d.stopReason = kStopLinkLost;
        d.stopReading = true;
    }
    return d;
}

std::optional<CardFrameReader::Frame> CardFrameReader::feed(uint8_t byte) {
    switch (pos_) {
    case 0:
        if (byte != 0xAA) return std::nullopt;
        f_ = Frame{};
        countSum_ = 0;
        frameWithSignal_ = statusByteEnabled_;
        pos_ = 1;
        return std::nullopt;
    case 1:
        f_.status = byte;
        pos_ = 2;
        return std::nullopt;
    case 2:
        f_.flags = byte;
        pos_ = 3;
        return std::nullopt;
    case 3:
    case 4:
    case 5:
    case 6:
        f_.count = static_cast<int32_t>((static_cast<uint32_t>(f_.count) << 8) | byte);
        countSum_ = static_cast<uint8_t>(countSum_ + byte);
        ++pos_;
        return std::nullopt;
    case 7:
        f_.countValid = static_cast<uint8_t>(countSum_ + byte) == 0;
        if (!frameWithSignal_) {
            pos_ = 0;
            return f_;
        }
        pos_ = 8;
        return std::nullopt;
    case 8:
        f_.signal = byte;
        pos_ = 9;
        return std::nullopt;
    default:
        f_.hasSignal = static_cast<uint8_t>(f_.signal + byte) == 0;
        pos_ = 0;
        return f_;
    }
}

}  // namespace instrument
