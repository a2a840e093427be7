#pragma once
// "Kalibracja.dat": calibration of the six environment sensors, the laser's vacuum wavelength
// and name, and the offsets and scale of the two-axis detector. 511 bytes, little-endian.
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

#include "foundations/SharedGlobals.h"

inline constexpr const char* kCalibrationFileName = "Kalibracja.dat";
inline constexpr int kCalibrationTableSize = 480;
inline constexpr int kCalibrationFileSize = 511;
inline constexpr int kLaserNameCapacity = 8;
inline constexpr double kDefaultCalibrationXY = 18.0;
inline constexpr const char* kDefaultLaserName = "Belgia";

struct TCalibrationData {
    // [channel 0..5][0 raw readings (row A), 1 physical values (row B)][point 0..9]
    int32_t Table[6][2][10] = {};
    double LaserWavelength = kDefaultLaserWavelength;  // metres
    QString LaserName = kDefaultLaserName;             // at most 8 characters
    int32_t OffsetX = 0;
    int32_t OffsetY = 0;
    double CalibrationXY = kDefaultCalibrationXY;

    bool operator==(const TCalibrationData& o) const;
};

// The 6-byte real: byte 0 the exponent biased by 129 (0: the value 0), bytes 1-5 the mantissa
// without its leading 1, least significant first, the top bit of byte 5 the sign.
// Values too large for the format are stored as its largest magnitude, too small ones as 0;
// a non-finite value is stored as 0.
QByteArray EncodeReal48(double value);
double DecodeReal48(const unsigned char bytes[6]);
double DecodeReal48(const QByteArray& bytes);  // fewer than 6 bytes: 0

enum class CalibrationStatus {
    Loaded,      // the file was read (a short one gives its missing fields their defaults)
    Missing,     // no such file
    Empty,       // nothing in it
    Damaged,     // part of a sensor table, a name longer than 8, a wavelength not finite or
                 // not above 0, or a detector scale of 0
    Unreadable,  // the file exists but could not be opened or read
};

// The 511 bytes of Data.
QByteArray EncodeCalibration(const TCalibrationData& data);
// Reads Bytes in file order; each field the bytes are too short to hold gets its default.
// Out is changed only when the result is Loaded.
CalibrationStatus DecodeCalibration(const QByteArray& bytes, TCalibrationData& out);

CalibrationStatus ReadCalibrationFile(const QString& path, TCalibrationData& out);
// Writes through a temporary file beside Path, renamed over it. False with Error on failure,
// the previous file then untouched.
bool WriteCalibrationFile(const QString& path, const TCalibrationData& data, QString* error = nullptr);

// The calibration held by the shared globals, and back.
TCalibrationData CalibrationFromGlobals();
void ApplyCalibrationToGlobals(const TCalibrationData& data);

// Start-up reading of ProgramDir/Kalibracja.dat into the globals. A file shorter than a full
// record gives the missing fields their defaults. False when the file is missing, empty,
// damaged or unreadable: every calibration global then holds its default and the caller shows
// CalibrationMissingMessage() and switches the environment readings to manual entry.
bool ReadLaserCalibration(const QString& programDir);
QString CalibrationMissingMessage();

// Stabilisation points of the laser on the iodine lines, as offered by the calibration form.
struct TStabilisationPoint {
    const char* Item;  // UTF-8
    double MHz;        // frequency of the named component relative to kIodineReferenceHz
};
inline constexpr double kIodineReferenceHz = 473612214705000.0;
extern const std::array<TStabilisationPoint, 12> StabilisationPoints;

// Vacuum wavelength in nm of a laser stabilised at point Index (0..11) with a frequency
// offset of OffsetMHz from the named component: even items lie below it, odd ones above.
// An index out of range gives NaN.
double StabilisationWavelengthNm(int index, double offsetMHz);
