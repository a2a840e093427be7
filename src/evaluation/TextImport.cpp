#include "evaluation/TextImport.h"

#include <QRegularExpression>

#include "evaluation/MeasurementFiles.h"
#include "foundations/Cp1250.h"
#include "foundations/FR_Utils.h"
#include "foundations/NumberFormat.h"
#include "platform/ReadFile.h"

namespace {

bool isBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

QByteArray readTextFile(const QString& FileName) {
    platform::FileRead read = platform::ReadRegularFile(FileName);
    if (!read.ok()) throw MeasurementFileError(UserFileReadFailure(FileName, read));
    return std::move(read.bytes);
}

// "20.0°C": one decimal, two significant digits, cut to the header's capacity.
QString temperatureText(double t) {
    return CutShortString(foundations::formatFixed(t, 2, 1) + QString::fromUtf8("°C"),
                          TMeasurementHeader::AirTemperatureCap);
}

}  // namespace

char PascalTextReader::ReadChar() {
    if (AtEof()) throw TextFormatError("unexpected end of file");
    return b_[pos_++];
}

QString PascalTextReader::ReadString(int capacity) {
    const qsizetype start = pos_;
    while (!AtEof() && pos_ - start < capacity && b_[pos_] != '\r' && b_[pos_] != '\n') ++pos_;
    return foundations::fromCp1250(b_.mid(start, pos_ - start));
}

QByteArray PascalTextReader::nextToken() {
    while (!AtEof() && isBlank(b_[pos_])) ++pos_;
    if (AtEof()) throw TextFormatError("unexpected end of file");
    const qsizetype start = pos_;
    while (!AtEof() && !isBlank(b_[pos_])) ++pos_;
    return b_.mid(start, pos_ - start);
}

double PascalTextReader::ReadReal() {
    static const QRegularExpression re(
        QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)([eE][+-]?\\d+)?$"));
    const QByteArray tok = nextToken();
    const QString text = QString::fromLatin1(tok);
    bool ok = false;
    const double v = re.match(text).hasMatch() ? text.toDouble(&ok) : 0.0;
    if (!ok || !std::isfinite(v)) throw TextFormatError("invalid number: " + tok.toStdString());
    return v;
}

int32_t PascalTextReader::ReadInteger() {
    static const QRegularExpression re(QStringLiteral("^[+-]?\\d+$"));
    const QByteArray tok = nextToken();
    const QString text = QString::fromLatin1(tok);
    bool ok = false;
    const int v = re.match(text).hasMatch() ? text.toInt(&ok) : 0;
    if (!ok) throw TextFormatError("invalid integer: " + tok.toStdString());
    return v;
}

void PascalTextReader::ReadLn() {
    while (!AtEof()) {
        const char c = b_[pos_++];
        if (c == '\n') return;
        if (c == '\r') {
            if (!AtEof() && b_[pos_] == '\n') ++pos_;
            return;
        }
    }
}

QString TextImportFormatMessage() {
    return TranslateString(QStringLiteral("stZlyFormatDanych"), QString::fromUtf8("Zły format danych!"));
}

std::optional<QString> ImportMeasurementText(const QString& FileName, TCykl& Cycles,
                                             TMeasurementHeader& Header,
                                             QString* CaptionAddition) {
    try {
        PascalTextReader r(readTextFile(FileName));
        const QString name = r.ReadString(30);
        r.ReadLn();
        const QString second = r.ReadString(10);
        r.ReadLn();
        const QString axis = r.ReadString(1);
        r.ReadLn();
        r.ReadReal();
        r.ReadLn();
        const double t1 = r.ReadReal();
        const double t2 = r.ReadReal();
        r.ReadLn();
        if (CaptionAddition) *CaptionAddition = QStringLiteral(" ") + name + QStringLiteral(" ") + second;
        Header.MachineType = CutShortString(name, TMeasurementHeader::MachineTypeCap);
        Header.AirTemperature = temperatureText(t1);
        Header.MaterialTemperature = temperatureText(t2);
        Header.Humidity = QStringLiteral("50 %");
        Header.Pressure = QStringLiteral("1000 hPa");
        Header.Axis = axis;

        Cycles.Clear();
        TPunkt* cycle = &Cycles.Add().Punkt;
        // Positions count on without wrapping, however long a cycle or the file is.
        long long k = 0;
        for (;;) {
            const char c = r.ReadChar();
            if (c != '/' && c != '$' && c != '#') continue;
            const double fwd = r.ReadReal();
            const double bwd = r.ReadReal();
            r.ReadLn();
            auto& p = cycle->Add();
            p.Dystans = double(k) * 100.0;
            p.Xa = fwd;
            p.Xr = bwd;
            ++k;
            if (c == '#') break;
            if (c == '$') {
                cycle = &Cycles.Add().Punkt;
                k = 0;
            }
        }
        return std::nullopt;
    } catch (const std::exception&) {
        return TextImportFormatMessage();
    }
}

void ImportTextReadings(const QString& FileName, TPunkt& Points, TMeasurementHeader& Header) {
    Points.Clear();
    PascalTextReader r(readTextFile(FileName));
    const QString name = r.ReadString(30);
    r.ReadLn();
    r.ReadString(10);
    r.ReadLn();
    const QString axis = r.ReadString(3);
    r.ReadLn();
    const double s = r.ReadReal();
    r.ReadLn();

    TPunkt tmp;
    for (int k = 0; k < 256;) {
        const char c = r.ReadChar();
        if (c != '/' && c != '#') continue;
        const double v = r.ReadReal();
        r.ReadLn();
        auto& p = tmp.Add();
        p.Dystans = s * k * 0.1;
        p.Xa = v;
        p.Xr = 0.0;
        ++k;
        if (c == '#') break;
    }
    Points = std::move(tmp);
    Header.MachineType = CutShortString(name, TMeasurementHeader::MachineTypeCap);
    Header.AirTemperature = Header.MaterialTemperature = QStringLiteral("--");
    Header.Humidity = Header.Pressure = QStringLiteral("--");
    Header.Axis = axis;
}

std::optional<QString> LoadFlatnessText(const QString& FileName, TCykl& Lines,
                                        TMeasurementHeader& Header) {
    for (int i = 0; i < Lines.Count(); ++i) Lines[i].Punkt.Clear();
    while (Lines.Count() < 8) Lines.Add();
    try {
        PascalTextReader r(readTextFile(FileName));
        const QString name = r.ReadString(30);
        r.ReadLn();
        r.ReadString(10);
        r.ReadLn();
        const int32_t s = r.ReadInteger();
        r.ReadLn();
        Header.MachineType = CutShortString(name, TMeasurementHeader::MachineTypeCap);
        Header.AirTemperature = Header.MaterialTemperature = temperatureText(20.0);
        Header.Humidity = Header.Pressure = QStringLiteral("--");

        int line = 0;
        long long k = 0;
        while (line < 8) {
            const char c = r.ReadChar();
            if (c != '/' && c != '#') continue;
            const double v = r.ReadReal();
            r.ReadLn();
            auto& p = Lines[line].Punkt.Add();
            p.Dystans = double(k) * s;
            p.Xa = v;
            ++k;
            if (c == '#') {
                ++line;
                k = 0;
            }
        }
        return std::nullopt;
    } catch (const std::exception&) {
        return TextImportFormatMessage();
    }
}
