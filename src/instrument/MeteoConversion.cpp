#include "instrument/MeteoConversion.h"

#include <cmath>
#include <cstdlib>

#include "foundations/SharedGlobals.h"
#include "instrument/AirCorrection.h"

namespace instrument {

void MeteoAverager::average(MeteoWords& raw, int threshold) {
    for (int c = 0; c < kMeteoChannels; ++c) {
        auto& w = samples_[c];
        const int32_t r = raw[c];
        if (std::llabs(static_cast<long long>(w.back()) - r) <= threshold) {
            for (int i = 0; i + 1 < kMeteoWindow; ++i) w[i] = w[i + 1];
            w.back() = r;
        } else {
            w.fill(r);
        }
        long long sum = 0;
        for (int32_t s : w) sum += s;
        raw[c] = static_cast<int32_t>(sum / kMeteoWindow);
    }
}

MeteoAverager& sharedMeteoAverager() {
    static MeteoAverager averager;
    return averager;
}

std::optional<double> ConvertMeteoValue(const int32_t (&table)[2][10], int channel, int32_t raw) {
    const int32_t* a = table[0];
    const int32_t* b = table[1];
    int j = 1;
    while (j < 6 && a[j] < raw) ++j;
    const double da = static_cast<double>(a[j - 1]) - a[j];
    if (da == 0.0) return std::nullopt;
    double slope = (static_cast<double>(b[j - 1]) - b[j]) / da;
    double bj = b[j];
    // Temperature tables whose top point exceeds 100 hold hundredths of a degree.
    if (channel < 4 && b[6] > 100) {
        slope *= 0.01;
        bj *= 0.01;
    }
    const double intercept = bj - slope * a[j];
    const double value = slope * raw + intercept;
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

bool TemperatureInRange(double t) { return t >= 0.0 && t <= 40.0; }
bool HumidityInRange(double h) { return !(h > 95.0 || h < 5.0) && std::isfinite(h); }
bool PressureInRange(double p) { return !(p < 960.0 || p > 1040.0) && std::isfinite(p); }

MeteoReadout ComputeMeteoReadout(const MeteoWords& raw, const int32_t (&table)[6][2][10],
                                 uint8_t temperatureUnit, uint8_t pressureUnit, QChar separator) {
    MeteoReadout r;
    for (int c = 0; c < kMeteoChannels; ++c) r.values[c] = ConvertMeteoValue(table[c], c, raw[c]);

    auto validTemperature = [&](int c) -> std::optional<double> {
        if (r.values[c] && TemperatureInRange(*r.values[c])) return r.values[c];
        return std::nullopt;
    };
    auto temperatureText = [&](const std::optional<double>& t) {
        return t ? FormatTemperature(temperatureUnit, *t, separator) : kInvalidMeteoText;
    };

    r.airTemperature = validTemperature(0);
    r.airText = temperatureText(r.airTemperature);

    double sum = 0.0;
    int count = 0;
    for (int i = 0; i < 3; ++i) {
        r.materialSensors[i] = validTemperature(1 + i);
        r.materialSensorTexts[i] = temperatureText(r.materialSensors[i]);
        if (r.materialSensors[i]) {
            sum += *r.materialSensors[i];
            ++count;
        }
    }
    if (count > 0) r.materialTemperature = sum / count;
    r.materialText = temperatureText(r.materialTemperature);

    if (r.values[4] && HumidityInRange(*r.values[4])) r.humidity = r.values[4];
    r.humidityText = r.humidity ? foundations::formatFixed(*r.humidity, 2, 0, separator) + QStringLiteral(" %")
                                : kInvalidMeteoText;

    if (r.values[5] && PressureInRange(*r.values[5])) r.pressure = r.values[5];
    r.pressureText = r.pressure ? FormatPressure(pressureUnit, *r.pressure, separator) : kInvalidMeteoText;

    for (int c = 0; c < 4; ++c)
        r.serviceTexts[c] = r.values[c] ? foundations::formatFixed(*r.values[c], 3, 1, separator) + QStringLiteral(" °C")
                                        : kInvalidMeteoText;
    r.serviceTexts[4] = r.values[4] ? foundations::formatFixed(*r.values[4], 2, 0, separator) + QStringLiteral(" %")
                                    : kInvalidMeteoText;
    r.serviceTexts[5] = r.values[5] ? foundations::formatFixed(*r.values[5], 4, 0, separator) + QStringLiteral(" hPa")
                                    : kInvalidMeteoText;
    return r;
}

void StoreMeteoReadout(const MeteoReadout& r) {
    if (r.airTemperature) AirTemperature = *r.airTemperature;
    if (r.materialTemperature) MaterialTemperature = *r.materialTemperature;
    if (r.humidity) Humidity = *r.humidity;
    if (r.pressure) Pressure = *r.pressure;
}

}  // namespace instrument
