#include "app/UnitConversions.h"

#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "foundations/MeasurementModes.h"

namespace {
constexpr double kFiveNinths = 0.5555555555555556;
constexpr double kHpaPerMmHg = 1.33322;
constexpr double kMmHgPerHpa = 0.7500637554192107;
constexpr double kInchPerMm = 0.03937007874015748;
}  // namespace

std::optional<double> TemperatureToCelsius(double shown, int unit) {
    if (unit == 0) return shown;
    if (unit == 1) return (shown - 32.0) * kFiveNinths;
    return std::nullopt;
}

double TemperatureFromCelsius(double celsius, int unit) { return unit == 1 ? celsius * 1.8 + 32.0 : celsius; }

std::optional<double> PressureToHectopascal(double shown, int unit) {
    switch (unit) {
    case 0: return shown;
    case 1: return shown * kHpaPerMmHg;
    case 2: return shown * kHpaPerMmHg * 25.4;
    default: return std::nullopt;
    }
}

EntryField TemperatureEntry(double celsius, int unit) {
    if (unit == 1) return {celsius * 1.8 + 32.0, -17.0, 104.0, 2};
    return {celsius, 0.0, 40.0, 2};
}

std::optional<EntryField> PressureEntry(double hpa, int unit) {
    const double mmHg = hpa * kMmHgPerHpa;
    switch (unit) {
    case 0: return EntryField{hpa, 900.0, 1060.0, 1};
    case 1: return EntryField{mmHg, 675.0, 795.0, 2};
    case 2: return EntryField{mmHg * kInchPerMm, 26.6, 31.3, 3};
    default: return std::nullopt;
    }
}

std::optional<LengthUnitView> LengthUnitRules(int lengthUnit, int mode, const std::array<double, 3>& sp,
                                              uint8_t dlu, uint8_t dvu) {
    LengthUnitView v;
    const QString distance = Msg(QStringLiteral("stOdleglosc"));
    if (lengthUnit == 0) {
        v.startPoints = sp;
        v.unitLabel = QStringLiteral("[mm]");
        v.displayLengthUnit = (dlu == 0 || dlu == 1) ? dlu : 0;
        v.displayVelocityUnit = dvu <= 3 ? dvu : 0;
        v.axisTitle = distance + (mode == kModePositioning ? QStringLiteral(" [ mm ]") : QStringLiteral(" [ cm ]"));
    } else if (lengthUnit == 1) {
        for (size_t i = 0; i < sp.size(); ++i) v.startPoints[i] = sp[i] * kInchPerMm;
        v.unitLabel = QStringLiteral("[in]");
        v.displayLengthUnit = (dlu == 4 || dlu == 5) ? dlu : 4;
        v.displayVelocityUnit = (dvu == 4 || dvu == 5) ? dvu : 5;
        v.axisTitle = distance + QStringLiteral(" [ in ]");
    } else {
        return std::nullopt;
    }
    return v;
}

DisplayUnitView DisplayUnitRules(int mode, uint8_t dlu, uint8_t dvu, const std::array<uint8_t, 10>& p) {
    DisplayUnitView v;
    if (mode == kModePositioning || mode == kModeDistanceReadout) {
        switch (dlu) {
        case 0: v.lengthLabel = QStringLiteral("mm"), v.decimals = p[0]; break;
        case 1: v.lengthLabel = QString::fromUtf8("µm"), v.decimals = p[1]; break;
        case 4: v.lengthLabel = QStringLiteral("in"), v.decimals = p[2]; break;
        case 5: v.lengthLabel = QStringLiteral("mils"), v.decimals = p[3]; break;
        default: break;
        }
    } else if (mode == kModeVelocityReadout && dvu < VelocityUnitNames.size()) {
        switch (dvu) {
        case 0: v.decimals = p[5]; break;
        case 1: v.decimals = p[4]; break;
        // One decimal less than m/s, but never below none: a precision of 0 would otherwise
        // give the readout -1 decimals.
        case 2: v.decimals = p[4] > 0 ? p[4] - 1 : 0; break;
        case 4: v.decimals = p[6]; break;
        case 5: v.decimals = p[7]; break;
        default: break;  // mm/min keeps its decimals
        }
        v.velocityLabel = QString::fromUtf8(VelocityUnitNames[dvu]);
    }
    return v;
}
