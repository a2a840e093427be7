// Plain rules of the main window, kept apart from its widgets so that tests drive them directly.
#include <QFile>

#include "app/Unit_glowny.h"
#include "foundations/Cp1250.h"
#include <algorithm>
#include <cmath>
#include <cstring>

TTagSet TagSet(std::initializer_list<int> tags) {
    TTagSet s;
    for (int t : tags)
        if (t >= 0 && t < 256) s.set(size_t(t));
    return s;
}

ScreenAdjustment AdjustToScreenRule(int w, int h) {
    ScreenAdjustment a;
    if (w <= 0 || h <= 0) return a;
    // width / height <= 4 / 3, in integers so that 1024 x 768 counts as 4:3 exactly
    if (int64_t(w) * 3 <= int64_t(h) * 4) {
        if (w != 640) a.scale = double(w) / 640.0;
    } else {
        if (h != 480) a.scale = double(h) / 480.0;
        a.centre = true;
    }
    return a;
}

LaserCalibration ReadLaserCalibrationFile(const QString& path) {
    LaserCalibration c;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return c;
    const QByteArray bytes = f.readAll();
    if (bytes.size() < kCalibrationTableBytes) return c;  // damaged: not even the sensor table
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.constData());
    auto int32At = [p](qsizetype at) {
        return int32_t(uint32_t(p[at]) | uint32_t(p[at + 1]) << 8 | uint32_t(p[at + 2]) << 16 |
                       uint32_t(p[at + 3]) << 24);
    };
    qsizetype at = 0;
    for (auto& sensor : c.table)
        for (auto& row : sensor)
            for (int32_t& v : row) {
                v = int32At(at);
                at += 4;
            }
    const qsizetype size = bytes.size();
    if (at + 8 <= size) {
        double w;
        std::memcpy(&w, p + at, 8);  // little-endian IEEE double, as on the writing machine
        // A value that is no wavelength at all would poison every reading: keep the default.
        if (std::isfinite(w) && w > 0.0) c.wavelength = w;
    }
    at += 8;
    if (at + 9 <= size) {
        // A short string of capacity 8: a length byte above 8 is cut to the capacity.
        const int len = std::min<int>(p[at], 8);
        c.name = foundations::fromCp1250(QByteArray(reinterpret_cast<const char*>(p + at + 1), len));
    }
    at += 9;
    if (at + 4 <= size) c.offsetX = int32At(at);
    at += 4;
    if (at + 4 <= size) c.offsetY = int32At(at);
    c.ok = true;
    return c;
}

int MachineComboIndex(const QStringList& names, const QString& remembered) {
    if (names.isEmpty()) return -1;
    const int i = int(names.indexOf(remembered));
    return i < 0 ? 0 : i;
}

int VelocityDisplayDecimals(int unit) {
    static constexpr int decimals[6] = {3, 6, 4, 1, 4, 2};
    return unit >= 0 && unit < 6 ? decimals[unit] : decimals[0];
}
