#pragma once
#include "foundations/MeasurementModes.h"
// Measurement files ".dt2" to ".dt7": the 646-byte header, then the body of the measurement
// type. Writers replace the target only once the whole file is written (temporary file beside
// it, then renamed); readers read into temporaries and change nothing unless the whole file
// was read.
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>

#include "evaluation/MeasurementHeader.h"
#include "foundations/PomiarCol.h"

// A file that cannot be created, written or read as a measurement; what() is the text to show.
struct MeasurementFileError : std::runtime_error {
    explicit MeasurementFileError(const QString& message)
        : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

namespace platform {
struct FileRead;
}

// "Nie można otworzyć pliku %s" with the name.
QString CannotOpenFileMessage(const QString& FileName);
// What to say of a user's file that could not be read: the system's reason, or the "cannot
// open" message for a file that is no regular file.
QString UserFileReadFailure(const QString& FileName, const platform::FileRead& read);

// A file holding more than a run of this program can make: refused before it is read whole,
// with its own reason shown after the "cannot open" message.
struct MeasurementFileTooLarge : MeasurementFileError {
    MeasurementFileTooLarge();
};

// Measurement types that have a file (TMainForm.MeasurementMode 0..5).
enum MeasurementFileType : int {
    mfPositioning = kModePositioning,
    mfVelocity = kModeVelocity,
    mfStraightness = kModeStraightness,
    mfFlatness = kModeFlatness,
    mfAngular = kModeAngular,
    mfVibration = kModeVibration,
};
bool HasMeasurementFile(int mode);
// ".dt2" .. ".dt7" (empty for a mode without a file).
QString MeasurementFileExtension(int mode);

constexpr int kFftSampleBytes = 32768;   // 8192 signed 32-bit samples
constexpr int kFlatnessMaxLines = 16;
constexpr int kFlatnessMinGridLines = 3;
constexpr int kFlatnessMaxGridLines = 8;
// The most a positioning or angular run makes: the cycle on screen is a byte (cycles beyond 255
// cannot be shown), and a run has at most 256 points (the target points editor makes up to 254;
// the evaluation by standard is defined up to 256).
constexpr int kMaxRunCycles = 255;
constexpr int kMaxRunPoints = 256;
// The largest positioning file those limits allow: header, cycle count, and every cycle full.
constexpr qint64 kMaxPositioningFileBytes =
    TMeasurementHeader::Size + 4 + qint64(kMaxRunCycles) * (4 + qint64(kMaxRunPoints) * TPunktItem::kMinBytes);
constexpr qint64 kMaxAngularFileBytes = TMeasurementHeader::Size + 4 + qint64(kMaxRunPoints) * TPunktItem::kMinBytes;

// Writes a file through a temporary one beside it, renamed over FileName once Body has written
// it whole. Body reports a short write with foundations::StreamWriteError; every error throws
// MeasurementFileError and leaves the previous file untouched.
void SaveFileThroughTemporary(const QString& FileName,
                              const std::function<void(QIODevice&)>& Body);

// Writers. Errors throw MeasurementFileError; the previous file stays untouched.
void SavePositioningFile(const QString& FileName, const TMeasurementHeader& Header,
                         const TCykl& Cycles);
void SaveVelocityFile(const QString& FileName, const TMeasurementHeader& Header,
                      const TVelValue& Samples);
void SavePointSeriesFile(const QString& FileName, const TMeasurementHeader& Header,
                         const TPunkt& Points);
void SaveFlatnessFile(const QString& FileName, const TMeasurementHeader& Header,
                      const TCykl& Lines, int32_t HLines, int32_t VLines, uint8_t Method);
// Samples must hold kFftSampleBytes bytes (std::invalid_argument otherwise).
void SaveFftFile(const QString& FileName, const TMeasurementHeader& Header,
                 const QByteArray& Samples);

// Readers. On success the target (and, when given, the header) is replaced; on any error
// (MeasurementFileError, foundations::StreamReadError) nothing is changed. Only a regular file is
// opened (a fifo or device is refused as a file that cannot be opened).
// More than kMaxRunCycles cycles or kMaxRunPoints points in a cycle: MeasurementFileTooLarge,
// thrown before a larger file is read.
void LoadPositioningFile(TCykl& Cycles, const QString& FileName, TMeasurementHeader* Header);
void LoadVelocityFile(const QString& FileName, TVelValue& Samples, TMeasurementHeader& Header);
void LoadPointSeriesFile(const QString& FileName, TPunkt& Points, TMeasurementHeader* Header);
// An angular divisions file: a point series of at most kMaxRunPoints points
// (MeasurementFileTooLarge beyond).
void LoadAngularFile(const QString& FileName, TPunkt& Points, TMeasurementHeader* Header);
// A file with more than 16 lines, or line counts outside 3..8, is refused. The lines are
// filled up with empty ones to 16.
void LoadFlatnessFile(TCykl& Lines, const QString& FileName, int32_t& HLines, uint8_t& Method,
                      int32_t& VLines, TMeasurementHeader& Header);
// Reads the first kFftSampleBytes bytes after the header; a shorter file is an error.
void LoadFftFile(const QString& FileName, QByteArray& Samples, TMeasurementHeader& Header);

// Everything a measurement file can hold, as the main window keeps it.
struct MeasurementData {
    TMeasurementHeader Header;
    TCykl PositioningCycles;
    TVelValue VelocitySamples;
    TPunkt StraightnessPoints;
    TCykl FlatnessLines;
    uint8_t FlatnessMethod = 0;
    int32_t FlatnessHLines = 3;
    int32_t FlatnessVLines = 3;
    TPunkt AngularPoints;
    QByteArray FftSamples = QByteArray(kFftSampleBytes, '\0');
};

// Reads the file of the given type into Data. nullopt on success; otherwise the message to
// show ("Nie można otworzyć pliku %s", with the limits of a run on a further line for a file
// too large), after LoadFailureReset has been applied.
std::optional<QString> LoadMeasurementFile(MeasurementData& Data, const QString& FileName,
                                           int Mode);
// What a failed open leaves: positioning and straightness data are emptied, the flatness lines
// become 16 empty lines with the line counts bounded to 3..8; the other types keep their data.
void LoadFailureReset(MeasurementData& Data, int Mode);
// Writes the type's body from Data (MeasurementFileError on failure).
void SaveMeasurementBody(const MeasurementData& Data, const QString& FileName, int Mode);

// Backup copies: the type's folder + "KopiaZapasowa" + the extension.
QString BackupFileName(const QString& Dir, int Mode);
void SavePositioningBackup(const QString& PositioningDir, const TMeasurementHeader& Header,
                           const TCykl& Cycles);
void SaveFlatnessBackup(const QString& FlatnessDir, const TMeasurementHeader& Header,
                        const TCykl& Lines, int32_t HLines, int32_t VLines, uint8_t Method);

// A folder and a file name joined with one separator (a folder may end with "/" or "\").
QString JoinDirFile(const QString& Dir, const QString& Name);
// The name less its extension (from the last "." of the file name part).
QString RemoveFileExt(const QString& Name);
// Blank, '"', '*', '.', '/', ':', '<', '>', '?', '\' and '|' become '_'; all else stays.
QString SanitizeFileName(const QString& Name);
// The save dialog's proposal: machine type + serial number (cut to 40) + axis (cut to 43),
// sanitized.
QString ProposedMeasurementFileName(const TMeasurementHeader& Header);
