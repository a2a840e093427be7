// The calibration file "Kalibracja.dat": any bytes either are refused or decode to data that
// encode and decode again to the same data, and the file written from them reads back equal.
#include "FuzzSupport.h"
#include "instrument/KalibracjaFile.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    TCalibrationData decoded;
    if (DecodeCalibration(bytes, decoded) != CalibrationStatus::Loaded) return 0;

    const QByteArray encoded = EncodeCalibration(decoded);
    FUZZ_CHECK(encoded.size() == kCalibrationFileSize);
    TCalibrationData again;
    FUZZ_CHECK(DecodeCalibration(encoded, again) == CalibrationStatus::Loaded);
    FUZZ_CHECK(again == decoded);
    FUZZ_CHECK(EncodeCalibration(again) == encoded);

    const QString path = fuzz::scratchPath(QString::fromLatin1(kCalibrationFileName));
    QString error;
    FUZZ_CHECK(WriteCalibrationFile(path, decoded, &error));
    TCalibrationData fromFile;
    FUZZ_CHECK(ReadCalibrationFile(path, fromFile) == CalibrationStatus::Loaded);
    FUZZ_CHECK(fromFile == decoded);
    return 0;
}
