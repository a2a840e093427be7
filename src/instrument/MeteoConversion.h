#pragma once
// Environment station: sample windows, conversion of the six raw words through the calibration
// table, range checks and the texts of the environment labels. Plain code; the environment
// thread and the main window call it.
#include <QChar>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "foundations/NumberFormat.h"

namespace instrument {

// Channel order everywhere: air temperature, material temperatures 1-3, humidity, pressure.
constexpr int kMeteoChannels = 6;
constexpr int kMeteoWindow = 50;
// Card command bytes of the channels, in channel order.
constexpr std::array<uint8_t, kMeteoChannels> kMeteoCommandBytes = {0x84, 0x85, 0x86, 0x87, 0x82, 0x83};

using MeteoWords = std::array<int32_t, kMeteoChannels>;

// The 50-reading window of each channel, oldest first. A reading within `threshold` raw units
// of the newest sample shifts the window; a larger jump refills it, so the shown value follows
// at once.
class MeteoAverager {
public:
    // Adds one round of raw values and replaces each by its window's mean (truncated).
    void average(MeteoWords& raw, int threshold);
    const std::array<int32_t, kMeteoWindow>& window(int channel) const { return samples_[channel]; }

private:
    std::array<std::array<int32_t, kMeteoWindow>, kMeteoChannels> samples_{};
};

// The windows keep their contents from one environment thread to the next.
MeteoAverager& sharedMeteoAverager();

// Raw value → physical value on the calibration segments of one channel (channel 0-5, table
// rows as in CalibrationTable[channel]). nullopt when the segment has no slope to speak of (two
// equal raw readings, as in an empty table) or the result is not finite.
std::optional<double> ConvertMeteoValue(const int32_t (&table)[2][10], int channel, int32_t raw);

// Valid ranges, inclusive.
bool TemperatureInRange(double t);  // 0..40 °C
bool HumidityInRange(double h);     // 5..95 %
bool PressureInRange(double p);     // 960..1040 hPa

// What one display update shows and stores.
struct MeteoReadout {
    std::array<std::optional<double>, kMeteoChannels> values;  // converted, nullopt when invalid
    // Valid (in range) values for the globals and the air correction; nullopt shows "--".
    std::optional<double> airTemperature;
    std::array<std::optional<double>, 3> materialSensors;
    std::optional<double> materialTemperature;  // mean of the valid sensors
    std::optional<double> humidity;
    std::optional<double> pressure;
    // Main window labels: Label25, Label11-13, Label19, Label23, Label24.
    QString airText;
    std::array<QString, 3> materialSensorTexts;
    QString materialText, humidityText, pressureText;
    // Service page labels PSLabel51..PSLabel56 (always in °C and hPa).
    std::array<QString, kMeteoChannels> serviceTexts;
};

MeteoReadout ComputeMeteoReadout(const MeteoWords& raw, const int32_t (&table)[6][2][10],
                                 uint8_t temperatureUnit, uint8_t pressureUnit,
                                 QChar separator = foundations::systemDecimalSeparator());

// Stores the valid values into AirTemperature, MaterialTemperature, Humidity and Pressure;
// an invalid one leaves its global as it was.
void StoreMeteoReadout(const MeteoReadout& r);

inline const QString kInvalidMeteoText = QStringLiteral("--");

}  // namespace instrument
