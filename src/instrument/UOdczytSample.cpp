#include "instrument/UOdczytSample.h"

#include <cmath>

namespace instrument {

namespace {
constexpr double kInch = 0.03937007874015748;
}  // namespace

void ProcessSample(int32_t raw, const SampleInputs& in, const ConversionSettings& conv, double& filterPrevious,
                   double& currentValue, PointAcceptance& acceptance, SampleOutputs& out,
                   std::atomic<bool>& headAcceptRequest) {
    if (in.servicePanelShown) out.AddServiceCount(raw);

    // ConvertRawCount with its displays.
    out.ShowEffectiveWavelength(EffectiveWavelengthNm(conv));
    if (auto v = ConvertRawCount(raw, conv, filterPrevious)) currentValue = *v;
    const uint8_t mode = conv.mode;
    if (!in.measureLevelLost) {
        if (auto shown = ReadoutDisplayValue(mode, currentValue, in.displayLengthUnit, in.displayVelocityUnit,
                                             in.startPointDisp))
            out.ShowReadout(*shown);
    }

    double v = currentValue;
    switch (mode) {
    case kModePositioning:
        if (!in.measureLevelLost) out.ShowMeasuredPosition(in.lengthUnit == 1 ? (in.startPoint + v) * kInch : in.startPoint + v);
        if (in.measurementRunning) currentValue = acceptance.AcceptPositioning(in.positioningMethod, v);
        break;
    case kModeVelocity:
        if (auto shown = VelocityInUnit(v, in.velocityChartUnit)) out.ShowVelocity(*shown);
        out.AddVelocitySample();
        break;
    case kModeStraightness:
    case kModeFlatness:
        if (!in.measureLevelLost) {
            if (conv.straightnessMethod == 2) {
                if (in.calibrationXY != 0.0)
                    out.ShowDetector(in.detectorX / in.calibrationXY, in.detectorY / in.calibrationXY);
                if (in.lengthUnit == 1) {
                    out.ShowStraightnessValue(v * kInch);
                    out.ShowStraightnessUnit(QStringLiteral("in"));
                } else {
                    out.ShowStraightnessValue(v);
                    out.ShowStraightnessUnit(QStringLiteral("mm"));
                }
            } else {
                out.ShowStraightnessValue(v);
            }
        }
        if (in.measurementRunning) acceptance.AcceptStraightness(v);
        break;
    case kModeAngular:
        v = std::fabs(v);
        currentValue = v;
        out.ShowAngle(v, acceptance.state.angleBase + v);
        if (in.measurementRunning) acceptance.AcceptAngular(v);
        break;
    case kModeVibration:
        if (in.measurementRunning) out.FftSample();
        break;
    case kModeDistanceReadout:
    case kModeVelocityReadout:
    case kModeAngleReadout:
    case kModeWollastonReadout:
        if (in.recordingOn) out.RecordValue(v);
        if (headAcceptRequest.exchange(false)) out.SendValueToExcel();
        break;
    default:
        break;
    }
}

}  // namespace instrument

namespace instrument {

QString SignalGaugeForMode(uint8_t mode) {
    switch (mode) {
    case kModePositioning: return QStringLiteral("GaugePozycjonowanie");
    case kModeVelocity: return QStringLiteral("Gauge4");
    case kModeStraightness:
    case kModeFlatness: return QStringLiteral("GaugeProsto");
    case kModeAngular: return QStringLiteral("GaugePodzKat");
    case kModeVibration: return QStringLiteral("GaugeFFT");
    case kModeDistanceReadout:
    case kModeVelocityReadout:
    case kModeAngleReadout:
    case kModeWollastonReadout: return QStringLiteral("Gauge1");
    default: return {};
    }
}

void ShowStatus(uint8_t level, uint8_t mode, bool servicePanelShown, bool statusByteEnabled, double& smoothedLevel,
                SampleOutputs& out) {
    if (!statusByteEnabled) return;
    if (servicePanelShown) out.AddServiceSignal(level);
    const QString gauge = SignalGaugeForMode(mode);
    if (gauge.isEmpty()) return;
    if (mode >= kModeDistanceReadout) out.ShowReadoutGauges();
    out.ShowSignalLevel(gauge, SmoothSignal(level, smoothedLevel));
}

}  // namespace instrument
