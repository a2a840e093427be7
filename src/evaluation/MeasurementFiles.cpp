#include "evaluation/MeasurementFiles.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <functional>

#include "foundations/FR_Utils.h"
#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "foundations/StreamIO.h"
#include "platform/ReadFile.h"
#include "platform/SafeSave.h"

void SaveFileThroughTemporary(const QString& FileName,
                              const std::function<void(QIODevice&)>& Body) {
    const QString failure = platform::SaveThroughTemporary(FileName, [&](QIODevice& d) {
        try {
            Body(d);
        } catch (const foundations::StreamWriteError&) {
            return false;
        }
        return true;
    });
    if (!failure.isEmpty()) throw MeasurementFileError(failure);
}

QString CannotOpenFileMessage(const QString& FileName) {
    return FillPlaceholder(TranslateString(QStringLiteral("stNieMoznaOtworzycPliku"),
                                           QString::fromUtf8("Nie można otworzyć pliku %s")),
                           FileName);
}

QString UserFileReadFailure(const QString& FileName, const platform::FileRead& read) {
    if (read.status == platform::FileRead::NotRegular || read.reason.isEmpty()) return CannotOpenFileMessage(FileName);
    return read.reason;
}

MeasurementFileTooLarge::MeasurementFileTooLarge()
    : MeasurementFileError(FillPlaceholder(
          FillPlaceholder(TranslateString(QStringLiteral("stPlikZaDuzy"),
                                          QString::fromUtf8("Plik zawiera więcej, niż może zmierzyć program: "
                                                            "najwyżej %d cykli po %d punktów.")),
                          kMaxRunCycles),
          kMaxRunPoints)) {}

namespace {

// Encodes header and body into one buffer and writes it once through the safe-save routine
// (a temporary file beside FileName, renamed over it when whole).
void writeMeasurement(const QString& FileName, const TMeasurementHeader& Header, qsizetype bodySize,
                      const std::function<void(foundations::ByteWriter&)>& body) {
    QByteArray bytes = Header.toBytes();
    bytes.reserve(TMeasurementHeader::Size + bodySize);
    foundations::ByteWriter w(bytes);
    body(w);
    w.flush();
    const QString failure = platform::SaveBytes(FileName, bytes);
    if (!failure.isEmpty()) throw MeasurementFileError(failure);
}

// Reads the whole file into memory, so the body can be parsed without touching the target.
// maxBytes < 0: no limit; a larger file is refused as too large before it is read.
QByteArray readWholeFile(const QString& FileName, qint64 maxBytes = -1) {
    platform::FileRead r = platform::ReadRegularFile(FileName, maxBytes);
    if (r.status == platform::FileRead::TooLarge) throw MeasurementFileTooLarge();
    if (!r.ok()) throw MeasurementFileError(UserFileReadFailure(FileName, r));
    return std::move(r.bytes);
}

// The file's bytes, its header read, the body decoded from memory.
struct Reader {
    QByteArray bytes;
    TMeasurementHeader header;
    foundations::ByteReader body;
    explicit Reader(const QString& FileName, qint64 maxBytes = -1) : Reader(readWholeFile(FileName, maxBytes)) {}
    explicit Reader(QByteArray read) : bytes(std::move(read)), body(bytes) {
        if (bytes.size() < TMeasurementHeader::Size)
            throw foundations::StreamReadError("file shorter than its header");
        header = TMeasurementHeader::fromBytes(bytes.left(TMeasurementHeader::Size));
        body = foundations::ByteReader(bytes.constData() + TMeasurementHeader::Size,
                                       bytes.size() - TMeasurementHeader::Size);
    }
};

// A point count of the stream at the reader, checked before the points are read.
void checkPointCount(const foundations::ByteReader& r, int32_t maxPoints) {
    const int32_t n = foundations::ByteReader(r).readInt32();
    if (n > maxPoints) throw MeasurementFileTooLarge();
}

// Bytes of a collection's stream, for setting the buffer aside once.
qsizetype streamSize(const TPunkt& p) { return 4 + qsizetype(p.Count()) * TPunktItem::kMinBytes; }
qsizetype streamSize(const TVelValue& v) { return 4 + qsizetype(v.Count()) * TVelValueItem::kMinBytes; }
qsizetype streamSize(const TCykl& c) {
    qsizetype n = 4;
    for (int i = 0; i < c.Count(); ++i) n += streamSize(c[i].Punkt);
    return n;
}

template <class Collection>
void saveStreamFile(const QString& FileName, const TMeasurementHeader& Header,
                    const Collection& c) {
    writeMeasurement(FileName, Header, streamSize(c), [&](foundations::ByteWriter& w) { c.SaveToBytes(w); });
}

template <class Collection>
void loadStreamFile(const QString& FileName, Collection& target, TMeasurementHeader* Header) {
    Reader r(FileName);
    Collection tmp;
    tmp.LoadFromBytes(r.body);
    target = std::move(tmp);
    if (Header) ApplyMeasurementHeader(*Header, r.header);
}

bool gridLinesInRange(int32_t n) {
    return n >= kFlatnessMinGridLines && n <= kFlatnessMaxGridLines;
}

void fillFlatnessLines(TCykl& lines) {
    while (lines.Count() < kFlatnessMaxLines) lines.Add();
}

}  // namespace

bool HasMeasurementFile(int mode) { return mode >= 0 && mode < int(FileExtensions.size()); }

QString MeasurementFileExtension(int mode) {
    return HasMeasurementFile(mode) ? QString::fromLatin1(FileExtensions[size_t(mode)]) : QString();
}

void SavePositioningFile(const QString& FileName, const TMeasurementHeader& Header,
                         const TCykl& Cycles) {
    saveStreamFile(FileName, Header, Cycles);
}

void SaveVelocityFile(const QString& FileName, const TMeasurementHeader& Header,
                      const TVelValue& Samples) {
    saveStreamFile(FileName, Header, Samples);
}

void SavePointSeriesFile(const QString& FileName, const TMeasurementHeader& Header,
                         const TPunkt& Points) {
    saveStreamFile(FileName, Header, Points);
}

void SaveFlatnessFile(const QString& FileName, const TMeasurementHeader& Header,
                      const TCykl& Lines, int32_t HLines, int32_t VLines, uint8_t Method) {
    writeMeasurement(FileName, Header, 9 + streamSize(Lines), [&](foundations::ByteWriter& w) {
        w.writeByte(Method);
        w.writeInt32(HLines);
        w.writeInt32(VLines);
        Lines.SaveToBytes(w);
    });
}

void SaveFftFile(const QString& FileName, const TMeasurementHeader& Header,
                 const QByteArray& Samples) {
    if (Samples.size() != kFftSampleBytes)
        throw std::invalid_argument("vibration samples must be 32768 bytes");
    writeMeasurement(FileName, Header, kFftSampleBytes, [&](foundations::ByteWriter& w) {
        w.writeRaw(Samples.constData(), kFftSampleBytes);
    });
}

void LoadPositioningFile(TCykl& Cycles, const QString& FileName, TMeasurementHeader* Header) {
    Reader r(FileName, kMaxPositioningFileBytes);
    // Every count is held to what a run makes before anything is read on from it.
    const int32_t n = r.body.readInt32();
    if (n < 0) throw foundations::StreamReadError("negative item count");
    if (n > kMaxRunCycles) throw MeasurementFileTooLarge();
    TCykl tmp;
    for (int32_t i = 0; i < n; ++i) {
        checkPointCount(r.body, kMaxRunPoints);
        tmp.Add().ReadItem(r.body);
    }
    Cycles = std::move(tmp);
    if (Header) ApplyMeasurementHeader(*Header, r.header);
}

void LoadVelocityFile(const QString& FileName, TVelValue& Samples, TMeasurementHeader& Header) {
    loadStreamFile(FileName, Samples, &Header);
}

void LoadPointSeriesFile(const QString& FileName, TPunkt& Points, TMeasurementHeader* Header) {
    loadStreamFile(FileName, Points, Header);
}

void LoadAngularFile(const QString& FileName, TPunkt& Points, TMeasurementHeader* Header) {
    Reader r(FileName, kMaxAngularFileBytes);
    checkPointCount(r.body, kMaxRunPoints);
    TPunkt tmp;
    tmp.LoadFromBytes(r.body);
    Points = std::move(tmp);
    if (Header) ApplyMeasurementHeader(*Header, r.header);
}

void LoadFlatnessFile(TCykl& Lines, const QString& FileName, int32_t& HLines, uint8_t& Method,
                      int32_t& VLines, TMeasurementHeader& Header) {
    Reader r(FileName);
    const uint8_t method = r.body.readByte();
    const int32_t h = r.body.readInt32();
    const int32_t v = r.body.readInt32();
    if (!gridLinesInRange(h) || !gridLinesInRange(v))
        throw MeasurementFileError(QStringLiteral("flatness line counts out of range"));
    // The stream's line count is checked before any line is read.
    const int32_t n = foundations::ByteReader(r.body).readInt32();
    if (n < 0 || n > kFlatnessMaxLines)
        throw MeasurementFileError(QStringLiteral("flatness line count out of range"));
    TCykl tmp;
    tmp.LoadFromBytes(r.body);
    fillFlatnessLines(tmp);
    Lines = std::move(tmp);
    Method = method;
    HLines = h;
    VLines = v;
    ApplyMeasurementHeader(Header, r.header);
}

void LoadFftFile(const QString& FileName, QByteArray& Samples, TMeasurementHeader& Header) {
    // Only the samples are read, however long the file is.
    platform::FileRead read = platform::ReadRegularFileStart(FileName, TMeasurementHeader::Size + kFftSampleBytes);
    if (!read.ok()) throw MeasurementFileError(UserFileReadFailure(FileName, read));
    Reader r(std::move(read.bytes));
    if (r.bytes.size() - TMeasurementHeader::Size < kFftSampleBytes)
        throw foundations::StreamReadError("vibration file too short");
    Samples = r.bytes.mid(TMeasurementHeader::Size, kFftSampleBytes);
    ApplyMeasurementHeader(Header, r.header);
}

std::optional<QString> LoadMeasurementFile(MeasurementData& Data, const QString& FileName,
                                           int Mode) {
    try {
        switch (Mode) {
        case mfPositioning:
            LoadPositioningFile(Data.PositioningCycles, FileName, &Data.Header);
            break;
        case mfVelocity:
            LoadVelocityFile(FileName, Data.VelocitySamples, Data.Header);
            break;
        case mfStraightness:
            LoadPointSeriesFile(FileName, Data.StraightnessPoints, &Data.Header);
            break;
        case mfFlatness:
            LoadFlatnessFile(Data.FlatnessLines, FileName, Data.FlatnessHLines,
                             Data.FlatnessMethod, Data.FlatnessVLines, Data.Header);
            break;
        case mfAngular:
            LoadAngularFile(FileName, Data.AngularPoints, &Data.Header);
            break;
        case mfVibration:
            LoadFftFile(FileName, Data.FftSamples, Data.Header);
            break;
        default:
            throw MeasurementFileError(QStringLiteral("no measurement type"));
        }
        return std::nullopt;
    } catch (const MeasurementFileTooLarge& e) {
        LoadFailureReset(Data, Mode);
        return CannotOpenFileMessage(FileName) + QLatin1Char('\n') + e.message();
    } catch (const std::exception&) {
        LoadFailureReset(Data, Mode);
        return CannotOpenFileMessage(FileName);
    }
}

void LoadFailureReset(MeasurementData& Data, int Mode) {
    switch (Mode) {
    case mfPositioning:
        Data.PositioningCycles.Clear();
        break;
    case mfStraightness:
        Data.StraightnessPoints.Clear();
        break;
    case mfFlatness:
        Data.FlatnessHLines = std::clamp(Data.FlatnessHLines, kFlatnessMinGridLines, kFlatnessMaxGridLines);
        Data.FlatnessVLines = std::clamp(Data.FlatnessVLines, kFlatnessMinGridLines, kFlatnessMaxGridLines);
        Data.FlatnessLines.Clear();
        fillFlatnessLines(Data.FlatnessLines);
        break;
    default:
        break;  // velocity samples, angular points and vibration samples stay
    }
}

void SaveMeasurementBody(const MeasurementData& Data, const QString& FileName, int Mode) {
    switch (Mode) {
    case mfPositioning: SavePositioningFile(FileName, Data.Header, Data.PositioningCycles); break;
    case mfVelocity: SaveVelocityFile(FileName, Data.Header, Data.VelocitySamples); break;
    case mfStraightness: SavePointSeriesFile(FileName, Data.Header, Data.StraightnessPoints); break;
    case mfFlatness:
        SaveFlatnessFile(FileName, Data.Header, Data.FlatnessLines, Data.FlatnessHLines,
                         Data.FlatnessVLines, Data.FlatnessMethod);
        break;
    case mfAngular: SavePointSeriesFile(FileName, Data.Header, Data.AngularPoints); break;
    case mfVibration: SaveFftFile(FileName, Data.Header, Data.FftSamples); break;
    default: throw MeasurementFileError(QStringLiteral("no measurement type"));
    }
}

QString BackupFileName(const QString& Dir, int Mode) {
    return JoinDirFile(Dir, QStringLiteral("KopiaZapasowa") + MeasurementFileExtension(Mode));
}

void SavePositioningBackup(const QString& PositioningDir, const TMeasurementHeader& Header,
                           const TCykl& Cycles) {
    SavePositioningFile(BackupFileName(PositioningDir, mfPositioning), Header, Cycles);
}

void SaveFlatnessBackup(const QString& FlatnessDir, const TMeasurementHeader& Header,
                        const TCykl& Lines, int32_t HLines, int32_t VLines, uint8_t Method) {
    SaveFlatnessFile(BackupFileName(FlatnessDir, mfFlatness), Header, Lines, HLines, VLines,
                     Method);
}

QString JoinDirFile(const QString& Dir, const QString& Name) {
    if (Dir.isEmpty() || Dir.endsWith(u'/') || Dir.endsWith(u'\\')) return Dir + Name;
    return Dir + u'/' + Name;
}

QString RemoveFileExt(const QString& Name) {
    for (qsizetype i = Name.size() - 1; i >= 0; --i) {
        const QChar c = Name[i];
        if (c == u'.') return Name.left(i);
        if (c == u'/' || c == u'\\') break;
    }
    return Name;
}

QString SanitizeFileName(const QString& Name) {
    static const QString bad = QStringLiteral(" \"*./:<>?\\|");
    QString out = Name;
    for (QChar& c : out)
        if (bad.contains(c)) c = u'_';
    return out;
}

QString ProposedMeasurementFileName(const TMeasurementHeader& Header) {
    QString name = (Header.MachineType + Header.SerialNumber).left(40);
    name = (name + Header.Axis).left(43);
    return SanitizeFileName(name);
}
