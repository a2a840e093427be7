#include "evaluation/MeasurementFiles.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <functional>

#include "foundations/FR_Utils.h"
#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "foundations/StreamIO.h"
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

namespace {

// Writes header and body into a temporary file beside FileName and renames it over the target.
void writeMeasurement(const QString& FileName, const TMeasurementHeader& Header,
                      const std::function<void(QIODevice&)>& body) {
    SaveFileThroughTemporary(FileName, [&](QIODevice& d) {
        foundations::writeExact(d, Header.toBytes().constData(), TMeasurementHeader::Size);
        body(d);
    });
}

// Reads the whole file into memory, so the body can be parsed without touching the target.
QByteArray readWholeFile(const QString& FileName) {
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly)) throw MeasurementFileError(f.errorString());
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) throw MeasurementFileError(f.errorString());
    return bytes;
}

// Opens the file's bytes for parsing and reads the header.
struct Reader {
    QByteArray bytes;
    QBuffer buf;
    TMeasurementHeader header;
    explicit Reader(const QString& FileName) : bytes(readWholeFile(FileName)), buf(&bytes) {
        buf.open(QIODevice::ReadOnly);
        if (bytes.size() < TMeasurementHeader::Size)
            throw foundations::StreamReadError("file shorter than its header");
        header = TMeasurementHeader::fromBytes(bytes.left(TMeasurementHeader::Size));
        buf.seek(TMeasurementHeader::Size);
    }
};

template <class Collection>
void saveStreamFile(const QString& FileName, const TMeasurementHeader& Header,
                    const Collection& c) {
    writeMeasurement(FileName, Header, [&](QIODevice& d) { c.SaveToStream(d); });
}

template <class Collection>
void loadStreamFile(const QString& FileName, Collection& target, TMeasurementHeader* Header) {
    Reader r(FileName);
    Collection tmp;
    tmp.LoadFromStream(r.buf);
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
    writeMeasurement(FileName, Header, [&](QIODevice& d) {
        foundations::writeByte(d, Method);
        foundations::writeInt32(d, HLines);
        foundations::writeInt32(d, VLines);
        Lines.SaveToStream(d);
    });
}

void SaveFftFile(const QString& FileName, const TMeasurementHeader& Header,
                 const QByteArray& Samples) {
    if (Samples.size() != kFftSampleBytes)
        throw std::invalid_argument("vibration samples must be 32768 bytes");
    writeMeasurement(FileName, Header, [&](QIODevice& d) {
        foundations::writeExact(d, Samples.constData(), kFftSampleBytes);
    });
}

void LoadPositioningFile(TCykl& Cycles, const QString& FileName, TMeasurementHeader* Header) {
    loadStreamFile(FileName, Cycles, Header);
}

void LoadVelocityFile(const QString& FileName, TVelValue& Samples, TMeasurementHeader& Header) {
    loadStreamFile(FileName, Samples, &Header);
}

void LoadPointSeriesFile(const QString& FileName, TPunkt& Points, TMeasurementHeader* Header) {
    loadStreamFile(FileName, Points, Header);
}

void LoadFlatnessFile(TCykl& Lines, const QString& FileName, int32_t& HLines, uint8_t& Method,
                      int32_t& VLines, TMeasurementHeader& Header) {
    Reader r(FileName);
    const uint8_t method = foundations::readByte(r.buf);
    const int32_t h = foundations::readInt32(r.buf);
    const int32_t v = foundations::readInt32(r.buf);
    if (!gridLinesInRange(h) || !gridLinesInRange(v))
        throw MeasurementFileError(QStringLiteral("flatness line counts out of range"));
    // The stream's line count is checked before any line is read.
    const qint64 countPos = r.buf.pos();
    const int32_t n = foundations::readInt32(r.buf);
    if (n < 0 || n > kFlatnessMaxLines)
        throw MeasurementFileError(QStringLiteral("flatness line count out of range"));
    r.buf.seek(countPos);
    TCykl tmp;
    tmp.LoadFromStream(r.buf);
    fillFlatnessLines(tmp);
    Lines = std::move(tmp);
    Method = method;
    HLines = h;
    VLines = v;
    ApplyMeasurementHeader(Header, r.header);
}

void LoadFftFile(const QString& FileName, QByteArray& Samples, TMeasurementHeader& Header) {
    Reader r(FileName);
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
            LoadPointSeriesFile(FileName, Data.AngularPoints, &Data.Header);
            break;
        case mfVibration:
            LoadFftFile(FileName, Data.FftSamples, Data.Header);
            break;
        default:
            throw MeasurementFileError(QStringLiteral("no measurement type"));
        }
        return std::nullopt;
    } catch (const std::exception&) {
        LoadFailureReset(Data, Mode);
        return FillPlaceholder(
            TranslateString(QStringLiteral("stNieMoznaOtworzycPliku"),
                            QString::fromUtf8("Nie można otworzyć pliku %s")),
            FileName);
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
