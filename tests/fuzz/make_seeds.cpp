// Writes the seed corpus of every harness: small valid inputs made by the program's own writers
// and frame layout, so the fuzzers start from files and frames the program really meets.
// usage: fuzz_make_seeds <corpus folder>
#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "app/Settings.h"
#include "evaluation/MeasurementFiles.h"
#include "evaluation/PointLists.h"
#include "instrument/KalibracjaFile.h"
#include "platform/Registry.h"

namespace {

QString root;

void put(const char* harness, const char* name, const QByteArray& bytes) {
    QDir().mkpath(root + u'/' + QString::fromLatin1(harness));
    QFile f(root + u'/' + QString::fromLatin1(harness) + u'/' + QString::fromLatin1(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s/%s\n", harness, name);
        std::exit(1);
    }
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// A block followed by the byte that makes its sum 0 modulo 256.
QByteArray checked(QByteArray block) {
    unsigned sum = 0;
    for (char c : block) sum += static_cast<uint8_t>(c);
    block.append(static_cast<char>((256 - (sum & 0xFF)) & 0xFF));
    return block;
}

QByteArray frame(uint8_t status, uint8_t flags, int32_t count, bool meteo, bool xy) {
    QByteArray f(1, char(0xAA));
    f += checked(QByteArray{} + char(status) + char(flags));
    f += checked(QByteArray(1, char(0x55)));
    const uint32_t c = static_cast<uint32_t>(count);
    f += checked(QByteArray{} + char(c >> 24) + char(c >> 16) + char(c >> 8) + char(c));
    if (meteo) f += checked(QByteArray("\x10\x20\x30\x40\x50\x60\x70\x80\x11\x22\x33\x44", 12));
    if (xy) f += checked(QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A", 10));
    return f;
}

void frameSeeds() {
    // Header: route and window state, awaited reply, piece seed.
    QByteArray frames = frame(0x01, 0x00, 1234, false, false) + frame(0x21, 0x00, -5, true, false) +
                        frame(0x21, 0x08, 99, true, true) + frame(0x00, 0x00, 0, false, false);
    put("frame_parser", "frames", QByteArray("\x03\x00\x07", 3) + frames);
    put("frame_parser", "frames_service_trace", QByteArray("\x6f\x00\x2b", 3) + frames);
    put("frame_parser", "frames_zeeman", QByteArray("\x17\x00\x05", 3) + frames + frames);
    QByteArray fft;
    for (int b = 0; b < 4; ++b) {
        QByteArray block;
        for (int k = 0; k < 16; ++k) block += char(b * 16 + k);
        fft += char(0xAA) + checked(block);
    }
    put("frame_parser", "fft_end", QByteArray("\x80\x00\x03", 3) + fft);
    put("frame_parser", "fft_middle", QByteArray("\x80\x40\x09", 3) + fft);
    put("frame_parser", "replies", QByteArray("\x01\x01\x01", 3) + QByteArray("M\xB1\x16!\x14\x1E" "c", 7));
    put("frame_parser", "startup_text", QByteArray("\x06\x00\x0d", 3) + QByteArray("VKM30 v1.2\r\nHead ready\r\n"));
}

TMeasurementHeader header() {
    TMeasurementHeader h;
    h.MachineType = QStringLiteral("Tokarka");
    h.SerialNumber = QStringLiteral("S-7");
    h.Axis = QStringLiteral("X");
    return h;
}

TPunkt points(int n, double step) {
    TPunkt p;
    for (int i = 0; i < n; ++i) {
        auto& item = p.Add();
        item.Dystans = i * step;
        item.Xa = 0.5 * i - 1.0;
        item.Xr = 0.25 * i;
    }
    return p;
}

void measurementSeeds(const QString& scratch) {
    const QString path = scratch + QStringLiteral("/m");
    auto seed = [&](const char* name, int mode) {
        put("measurement_files", name, QByteArray(1, char(mode)) + fileBytes(path));
    };
    TCykl cycles;
    for (int c = 0; c < 3; ++c) cycles.Add().Punkt = points(5, 100.0);
    SavePositioningFile(path, header(), cycles);
    seed("positioning", mfPositioning);
    TVelValue velocity;
    for (int i = 0; i < 6; ++i) velocity.Add().Value = 100.0 + i;
    SaveVelocityFile(path, header(), velocity);
    seed("velocity", mfVelocity);
    SavePointSeriesFile(path, header(), points(6, 50.0));
    seed("straightness", mfStraightness);
    SavePointSeriesFile(path, header(), points(8, 45.0));
    seed("angular", mfAngular);
    TCykl lines;
    for (int l = 0; l < 8; ++l) lines.Add().Punkt = points(4, 20.0);
    SaveFlatnessFile(path, header(), lines, 3, 3, 0);
    seed("flatness_envelope", mfFlatness);
    SaveFlatnessFile(path, header(), lines, 4, 4, 1);
    seed("flatness_grid", mfFlatness);
    QByteArray samples(kFftSampleBytes, '\0');
    for (int i = 0; i < kFftSampleBytes; i += 4) samples[i] = char(i / 4 % 100);
    SaveFftFile(path, header(), samples);
    seed("vibration", mfVibration);
    // A line with a point at 2e-311: the envelope fit's positions go non-finite.
    const QByteArray tinyLine = QByteArray::fromHex(
        "00030000000300000003000000000000000000000002000000000000000000244000000000000000000000000000000000a2c74982ae03000000000000000000000000000000000000");
    put("measurement_files", "flatness_subnormal_point",
        QByteArray(1, char(mfFlatness)) + header().toBytes() + tinyLine);
}

void calibrationSeeds() {
    TCalibrationData d;
    for (int ch = 0; ch < 6; ++ch)
        for (int k = 0; k < 10; ++k) {
            d.Table[ch][0][k] = 100 * k + ch;
            d.Table[ch][1][k] = 10 * k - ch;
        }
    d.OffsetX = -12;
    d.OffsetY = 40;
    put("calibration", "full", EncodeCalibration(d));
    put("calibration", "short", EncodeCalibration(d).left(kCalibrationTableSize + 3));
    put("calibration", "defaults", EncodeCalibration(TCalibrationData{}));
}

QByteArray stream(const auto& collection) {
    QByteArray b;
    QBuffer buf(&b);
    buf.open(QIODevice::WriteOnly);
    collection.SaveToStream(buf);
    return b;
}

void collectionSeeds(const QString& scratch) {
    put("collections", "points", QByteArray(1, 0) + stream(points(3, 1.5)));
    TCykl cycles;
    cycles.Add().Punkt = points(2, 10.0);
    cycles.Add().Punkt = points(3, 10.0);
    put("collections", "cycles", QByteArray(1, 1) + stream(cycles));
    TVelValue v;
    v.Add().Value = 3.5;
    v.Add().Value = -1.0;
    put("collections", "velocity", QByteArray(1, 2) + stream(v));
    SavePointList(points(4, 25.0), scratch + QStringLiteral("/list.dtp"));
    put("collections", "point_list", QByteArray(1, 3) + fileBytes(scratch + QStringLiteral("/list.dtp")));
    put("collections", "negative_count", QByteArray("\x01\xff\xff\xff\xff", 5));
}

void textSeeds() {
    put("text_imports", "positioning.dta",
        QByteArray(1, 0) + "Tokarka TUR 560\r\nseria 7\r\nY\r\n12\r\n20.36 19.94\r\n/ 1.5 -1.5\r\n x/2 -2\r\n"
                           "$3 -3 comment\r\n/4 -4\r\n#6 -6\r\n");
    put("text_imports", "line.lda", QByteArray(1, 1) + "Frezarka\r\nx\r\nZ\r\n50\r\n/1.5\r\n  /-2\r\n#3\r\n/4\r\n");
    QByteArray flat = QByteArray(1, 2) + "Plyta\r\nabc\r\n25\r\n";
    for (int line = 0; line < 8; ++line) flat += QByteArray("/") + QByteArray::number(line) + "\r\n/1\r\n#2\r\n";
    put("text_imports", "flatness.fda", flat);
}

void hexSeeds() {
    put("firmware_hex", "card.hex", ":1A2B\r\n:00FF\r\n");
    put("firmware_hex", "serial.hex", ":10000000\r\n:0C\r\n\r\n:00000001FF\r\n");
    put("firmware_hex", "bare_lf.hex", ":0C\n:00\r");
}

void iniSeeds(const QString& scratch) {
    const QByteArray language = "\xEF\xBB\xBF[Strings]\r\nstBrakFoto=Brak zdj\xC4\x99\x63ia %s\r\n"
                                "[TMainForm]\r\nCaption=VKM30\r\nButton1.Caption=Start\r\nKey=\r\n";
    put("ini_files", "language", QByteArray(1, 0) + language);
    put("ini_files", "language_cp1250", QByteArray(1, 2) + "[strings]\nstA=\xB9\xE6\xEA\n[Strings]\nstB=x\n");
    {
        const QString path = scratch + QStringLiteral("/settings.ini");
        {
            platform::Registry reg(path);
            TSettings settings;
            settings.PointDistance = 12;
            WriteSettings(reg, settings);
            WriteBinaryDouble(reg, QStringLiteral("Cisnienie"), 1001.5);
            reg.sync();
        }
        put("ini_files", "settings", QByteArray(1, 1) + fileBytes(path));
    }
    put("language_files", "form",
        "[Strings]\r\nstNieMoznaOtworzycPliku=Cannot open %d %s file\r\nstBrakFoto=100% %s\r\n"
        "[TFuzzForm]\r\nCaption=Form\r\nLabel1.Caption=L\r\nButton1.Caption=B\r\nButton1.Hint=tip\r\n"
        "GroupBox1.Caption=G\r\nEdit1.Caption=E\r\nTabSheet1.Caption=T\r\nRadioGroup1.Items1=one\r\n"
        "RadioGroup1.Item2=two\r\nRadioGroup1.Item999=x\r\nAction1.Caption=A\r\nMenu1.Caption=M\r\n");
    put("language_files", "cp1250", "[Strings]\nstZmianaInfo=Zmiana \xB9\xE6\nstBrakFoto=%\n");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_make_seeds <corpus folder>\n");
        return 2;
    }
    root = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir scratch;
    frameSeeds();
    measurementSeeds(scratch.path());
    calibrationSeeds();
    collectionSeeds(scratch.path());
    textSeeds();
    hexSeeds();
    iniSeeds(scratch.path());
    return 0;
}
