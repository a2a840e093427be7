#pragma once
// The units the inspector works in against the fixed units the system keeps: hand-entered
// environment values (stored in °C and hPa), and what follows the main length unit (start
// points, unit labels, the position chart's axis title, the live readout's unit and decimals).
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// A shown temperature (0 °C, 1 °F) in °C; nullopt for another unit (the stored value stays).
std::optional<double> TemperatureToCelsius(double shown, int unit);
double TemperatureFromCelsius(double celsius, int unit);
// A shown pressure (0 hPa, 1 mmHg, 2 inHg) in hPa; nullopt for another unit.
std::optional<double> PressureToHectopascal(double shown, int unit);

// What a hand-entry edit shows in a unit: its value, range and decimals.
struct EntryField {
    double value = 0, minimum = 0, maximum = 0;
    int decimals = 1;
};
// Temperatures: °C 0..40, °F −17..104, the edit's own decimals kept (nullopt decimals = keep).
EntryField TemperatureEntry(double celsius, int unit);
// Pressure: hPa 900..1060 (1 decimal), mmHg 675..795 (2), inHg 26.6..31.3 (3); nullopt for
// another unit.
std::optional<EntryField> PressureEntry(double hectopascal, int unit);

// What the main length unit sets.
struct LengthUnitView {
    std::array<double, 3> startPoints{};  // StartPoint, StartPointPK, StartPointDisp as shown
    QString unitLabel;                    // "[mm]" or "[in]"
    QString axisTitle;                    // the position chart's horizontal axis
    uint8_t displayLengthUnit = 0;        // 0 mm, 1 µm, 4 inch, 5 mils
    uint8_t displayVelocityUnit = 0;      // index into VelocityUnitNames
};
// LengthUnit 0 (mm) or 1 (inch); nullopt for another value (nothing changes). Start points
// are held in mm; a readout unit of the other system turns into this system's own.
std::optional<LengthUnitView> LengthUnitRules(int lengthUnit, int measurementMode,
                                              const std::array<double, 3>& startPointsMm,
                                              uint8_t displayLengthUnit, uint8_t displayVelocityUnit);

// What the readout's unit sets: its decimals (nullopt: unchanged) and the unit label of the
// length (mode 0 or 6) or velocity (mode 7) readout; nothing in other modes.
struct DisplayUnitView {
    std::optional<int> decimals;
    std::optional<QString> lengthLabel;    // Label2
    std::optional<QString> velocityLabel;  // Label5
};
// Precision: DisplayPrecision (0 mm, 1 µm, 2 inch, 3 mils, 4-7 velocity units).
DisplayUnitView DisplayUnitRules(int measurementMode, uint8_t displayLengthUnit, uint8_t displayVelocityUnit,
                                 const std::array<uint8_t, 10>& precision);
