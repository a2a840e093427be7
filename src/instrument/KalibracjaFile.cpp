#include "instrument/KalibracjaFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cmath>
#include <cstring>
#include <limits>

#include "foundations/Cp1250.h"
#include "foundations/FR_Utils.h"
#include "foundations/ProgramMessages.h"
#include "platform/ReadFile.h"
#include "platform/SafeSave.h"

namespace {

constexpr int kWavelengthAt = 480;
constexpr int kNameAt = 488;
constexpr int kOffsetXAt = 497;
constexpr int kOffsetYAt = 501;
constexpr int kScaleAt = 505;
constexpr double kTwo39 = 549755813888.0;  // 2^39

}  // namespace

bool TCalibrationData::operator==(const TCalibrationData& o) const {
    return std::memcmp(Table, o.Table, sizeof Table) == 0 && LaserWavelength == o.LaserWavelength &&
           LaserName == o.LaserName && OffsetX == o.OffsetX && OffsetY == o.OffsetY &&
           CalibrationXY == o.CalibrationXY;
}

QByteArray EncodeReal48(double value) {
    QByteArray out(6, '\0');
    if (!std::isfinite(value) || value == 0.0) return out;
    const bool negative = value < 0;
    int exp2 = 0;
    const double f = std::frexp(std::fabs(value), &exp2);  // f in [0.5, 1)
    int biased = exp2 - 1 + 129;
    double mant = std::nearbyint((f * 2.0 - 1.0) * kTwo39);
    if (mant >= kTwo39) {  // rounding carried into the leading 1
        mant = 0;
        ++biased;
    }
    if (biased < 1) return out;  // below the smallest magnitude: 0
    if (biased > 255) {          // above the largest: the largest
        biased = 255;
        mant = kTwo39 - 1;
    }
    uint64_t m = static_cast<uint64_t>(mant);
    out[0] = char(biased);
    for (int i = 1; i <= 5; ++i) {
        out[i] = char(m & 0xFF);
        m >>= 8;
    }
    if (negative) out[5] = char(uchar(out[5]) | 0x80);
    return out;
}

double DecodeReal48(const unsigned char b[6]) {
    if (b[0] == 0) return 0.0;
    uint64_t m = b[5] & 0x7F;
    for (int i = 4; i >= 1; --i) m = (m << 8) | b[i];
    const double v = std::ldexp(1.0 + double(m) / kTwo39, int(b[0]) - 129);
    return (b[5] & 0x80) ? -v : v;
}

double DecodeReal48(const QByteArray& bytes) {
    if (bytes.size() < 6) return 0.0;
    return DecodeReal48(reinterpret_cast<const unsigned char*>(bytes.constData()));
}

QByteArray EncodeCalibration(const TCalibrationData& d) {
    QByteArray out(kCalibrationFileSize, '\0');
    char* p = out.data();
    for (int c = 0; c < 6; ++c)
        for (int row = 0; row < 2; ++row)
            for (int i = 0; i < 10; ++i) qToLittleEndian<qint32>(d.Table[c][row][i], p + 80 * c + 40 * row + 4 * i);
    qToLittleEndian<double>(d.LaserWavelength, p + kWavelengthAt);
    const QByteArray name = foundations::toCp1250(d.LaserName.left(kLaserNameCapacity));
    p[kNameAt] = char(name.size());
    std::memcpy(p + kNameAt + 1, name.constData(), size_t(name.size()));
    qToLittleEndian<qint32>(d.OffsetX, p + kOffsetXAt);
    qToLittleEndian<qint32>(d.OffsetY, p + kOffsetYAt);
    const QByteArray xy = EncodeReal48(d.CalibrationXY);
    std::memcpy(p + kScaleAt, xy.constData(), 6);
    return out;
}

CalibrationStatus DecodeCalibration(const QByteArray& bytes, TCalibrationData& out) {
    const qsizetype n = bytes.size();
    if (n == 0) return CalibrationStatus::Empty;
    if (n < kCalibrationTableSize) return CalibrationStatus::Damaged;
    const char* p = bytes.constData();
    TCalibrationData d;  // defaults for every field the bytes do not hold
    for (int c = 0; c < 6; ++c)
        for (int row = 0; row < 2; ++row)
            for (int i = 0; i < 10; ++i) d.Table[c][row][i] = qFromLittleEndian<qint32>(p + 80 * c + 40 * row + 4 * i);
    if (n >= kWavelengthAt + 8) {
        d.LaserWavelength = qFromLittleEndian<double>(p + kWavelengthAt);
        if (!std::isfinite(d.LaserWavelength) || !(d.LaserWavelength > 0.0)) return CalibrationStatus::Damaged;
    }
    if (n >= kNameAt + 9) {
        const int len = uchar(p[kNameAt]);
        if (len > kLaserNameCapacity) return CalibrationStatus::Damaged;
        d.LaserName = foundations::fromCp1250(QByteArray(p + kNameAt + 1, len));
    }
    if (n >= kOffsetXAt + 4) d.OffsetX = qFromLittleEndian<qint32>(p + kOffsetXAt);
    if (n >= kOffsetYAt + 4) d.OffsetY = qFromLittleEndian<qint32>(p + kOffsetYAt);
    if (n >= kScaleAt + 6) {
        d.CalibrationXY = DecodeReal48(reinterpret_cast<const unsigned char*>(p + kScaleAt));
        // Detector readings are divided by the scale.
        if (d.CalibrationXY == 0.0) return CalibrationStatus::Damaged;
    }
    out = d;
    return CalibrationStatus::Loaded;
}

CalibrationStatus ReadCalibrationFile(const QString& path, TCalibrationData& out) {
    // Only the record is read, whatever may follow it.
    const platform::FileRead read = platform::ReadRegularFileStart(path, kCalibrationFileSize);
    if (read.status == platform::FileRead::Missing) return CalibrationStatus::Missing;
    if (!read.ok()) return CalibrationStatus::Unreadable;
    return DecodeCalibration(read.bytes, out);
}

bool WriteCalibrationFile(const QString& path, const TCalibrationData& data, QString* error) {
    const QString failure = platform::SaveBytes(path, EncodeCalibration(data));
    if (error) *error = failure;
    return failure.isEmpty();
}

TCalibrationData CalibrationFromGlobals() {
    TCalibrationData d;
    std::memcpy(d.Table, CalibrationTable, sizeof d.Table);
    d.LaserWavelength = LaserWavelength;
    d.LaserName = LaserName;
    d.OffsetX = OffsetX;
    d.OffsetY = OffsetY;
    d.CalibrationXY = CalibrationXY;
    return d;
}

void ApplyCalibrationToGlobals(const TCalibrationData& d) {
    std::memcpy(CalibrationTable, d.Table, sizeof d.Table);
    LaserWavelength = d.LaserWavelength;
    LaserName = d.LaserName;
    OffsetX = d.OffsetX;
    OffsetY = d.OffsetY;
    CalibrationXY = d.CalibrationXY;
}

bool ReadLaserCalibration(const QString& programDir) {
    TCalibrationData d;
    const CalibrationStatus st = ReadCalibrationFile(QDir(programDir).filePath(kCalibrationFileName), d);
    if (st != CalibrationStatus::Loaded) d = TCalibrationData();
    ApplyCalibrationToGlobals(d);
    return st == CalibrationStatus::Loaded;
}

QString CalibrationMissingMessage() { return Msg("stBrakKalibracji"); }

const std::array<TStabilisationPoint, 12> StabilisationPoints = {{
    {"d-e, odstęp do d", 165.116},
    {"d-e, odstęp do e", 152.255},
    {"e-f, odstęp do e", 152.255},
    {"e-f, odstęp do f", 138.892},
    {"f-g, odstęp do f", 138.892},
    {"f-g, odstęp do g", 125.694},
    {"g-h, odstęp do g", 125.694},
    {"g-h, odstęp do h", 21.939},
    {"h-i, odstęp do h", 21.939},
    {"h-i, odstęp do i", 0.0},
    {"j-j, odstęp do i", 0.0},
    {"i-j, odstęp do j", -21.565},
}};

double StabilisationWavelengthNm(int index, double offsetMHz) {
    if (index < 0 || index >= int(StabilisationPoints.size())) return std::numeric_limits<double>::quiet_NaN();
    double f = StabilisationPoints[size_t(index)].MHz * 1e6 + kIodineReferenceHz;
    if (index % 2 == 0)
        f -= offsetMHz * 1e6;
    else
        f += offsetMHz * 1e6;
    return 2.99792458e17 / f;
}
