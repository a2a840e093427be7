#include <QDir>
#include <QFile>
#include <QLocale>
#include <gtest/gtest.h>


#include <functional>
#include <limits>

#include "evaluation/TextExports.h"
#include "foundations/LanguageFixture.h"
#include "support/FileSizeLimit.h"

namespace {

// Lines of an expected file, each ended by CR LF; Polish letters are written as their code
// page 1250 bytes.
QByteArray crlf(std::initializer_list<const char*> lines) {
    QByteArray b;
    for (const char* l : lines) b += QByteArray(l) + "\r\n";
    return b;
}

void addPoint(TPunkt& points, double d, double xa, double xr) {
    TPunktItem& p = points.Add();
    p.Dystans = d;
    p.Xa = xa;
    p.Xr = xr;
}

TVelValue samples(std::initializer_list<double> values) {
    TVelValue v;
    for (double x : values) v.Add().Value = x;
    return v;
}

// The program folder of the language fixture holds the exports too; the system locale is Polish,
// whose decimal separator is ",", so every "." below also shows the files ignore the locale.
class TextExportTest : public LanguageTest {
protected:
    void SetUp() override {
        LanguageTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    }
    void TearDown() override {
        QLocale::setDefault(QLocale::c());
        LanguageTest::TearDown();
    }
    QString path(const QString& name = "export.txt") { return dir.filePath(name); }
    static QByteArray read(const QString& p) {
        QFile f(p);
        if (!f.open(QIODevice::ReadOnly)) return "<missing>";
        return f.readAll();
    }
    void writeOld(const QString& p, const QByteArray& bytes) {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

TEST_F(TextExportTest, PositioningCyclesOfDifferentLengths) {
    TCykl cycles;
    TPunkt& c1 = cycles.Add().Punkt;
    addPoint(c1, 0.0, 1.25, -0.75);
    addPoint(c1, 100.5, -1234.5, 12.4);
    TPunkt& c2 = cycles.Add().Punkt;
    addPoint(c2, 1000.125, 0.05, 99999.9);
    ExportPositioningText(cycles, path());
    EXPECT_EQ(read(path()), crlf({
        "Pozycjonowanie Liniowe",
        "Cykl ,Punkt ,Dystans [mm], Xa [um], Xr [um]",
        " 1,   0,     0.000,   1.3,  -0.8",
        " 1,   1,   100.500, -1234.5,  12.4",
        " 2,   0,  1000.125,   0.1, 99999.9",
    }));
}

TEST_F(TextExportTest, VelocityAndRecordingSamplesAreFourHundredthsApart) {
    const TVelValue v = samples({0.5, -12.3456, 1234.5});
    ExportVelocityText(v, path("v.txt"));
    EXPECT_EQ(read(path("v.txt")), crlf({
        "Pr\xEA" "dko\x9C\xE6",
        "Czas [s], Pr\xEA" "dko\x9C\xE6 [mm/s]",
        "0.00,  0.500",
        "0.04, -12.346",
        "0.08, 1234.500",
    }));
    ExportRecordingText(v, path("r.txt"));
    EXPECT_EQ(read(path("r.txt")), crlf({
        "0.00, 0.5000",
        "0.04, -12.3456",
        "0.08, 1234.5000",
    }));
}

TEST_F(TextExportTest, AngularPoints) {
    TPunkt points;
    addPoint(points, 0.0, 1.5, -2.25);
    addPoint(points, 360.0, -1234.56, 0.0);
    ExportAngularText(points, path());
    EXPECT_EQ(read(path()), crlf({
        "Podzia\xB3y K\xB9towe",
        "K\xB9t [deg], Dc [sek], Ds [sek]",
        "    0.000,    1.5,   -2.3",
        "  360.000, -1234.6,    0.0",
    }));
}

TEST_F(TextExportTest, StraightnessWritesOnlyTheFirstMeasuredValue) {
    TPunkt points;
    addPoint(points, 0.0, 0.0, 5.0);
    addPoint(points, 150.5, -3.14, 9.0);
    addPoint(points, 123456.0, 0.04, 9.0);
    ExportStraightnessText(points, path());
    EXPECT_EQ(read(path()), crlf({
        "Pomiar Prostoliniowo\x9C" "ci",
        "Dystans [cm], B\xB3\xB9" "d [um]",
        "    0.000,    0.0",
        "  150.500,   -3.1",
        "123456.000,    0.0",
    }));
}

TEST_F(TextExportTest, FlatnessLinesKeepTheirNumbersOverAnEmptyLine) {
    TCykl lines;
    TPunkt& l1 = lines.Add().Punkt;
    addPoint(l1, 0.0, 1.0, 7.0);
    addPoint(l1, 25.5, -0.35, 7.0);
    lines.Add();
    addPoint(lines.Add().Punkt, 50.0, 2.0, 7.0);
    ExportFlatnessText(lines, path());
    EXPECT_EQ(read(path()), crlf({
        "Mapa P\xB3" "asko\x9C" "ci",
        "O\x9C, Dystans [cm], B\xB3\xB9" "d [um]",
        " 1,     0.000,    1.0",
        " 1,    25.500,   -0.3",
        " 3,    50.000,    2.0",
    }));
}

TEST_F(TextExportTest, VibrationChartsAsShown) {
    ChartExportValues time{QString::fromUtf8("Czas [ms]"), QString::fromUtf8("Amplituda [µm]"),
                           {{0.0, 1.5}, {1.0, -0.1234}, {12345678.5, 2.0}}};
    ExportFftTimeText(time, path("t.txt"));
    EXPECT_EQ(read(path("t.txt")), crlf({
        "Analiza cz\xEA" "stotliwo\x9C" "ciowa - Wykres czasowy",
        "Czas [ms], Amplituda [\xB5m]",
        "     0.000    1.5000",
        "     1.000   -0.1234",
        "12345678.500    2.0000",
    }));

    ChartExportValues spectrum{"Hz", QString::fromUtf8("µm"), {{0.0, 1.0}, {500.25, -0.00125}, {1000.0, 0.0}}};
    ExportFftSpectrumText(spectrum, path("s.txt"));
    EXPECT_EQ(read(path("s.txt")), crlf({
        "Analiza cz\xEA" "stotliwo\x9C" "ciowa - Wykres cz\xEA" "stotliwo\x9C" "ciowy",
        "Hz, \xB5m",
        "     0.000 1.00000000000000E+0000",
        "   500.250-1.25000000000000E-0003",
        "  1000.000 0.00000000000000E+0000",
    }));
}

TEST_F(TextExportTest, TitlesComeFromTheLanguageFileInCodePage1250) {
    writeFile("PLK", "[Strings]\r\n"
                     "stCapPoz=Dok\xB3" "adno\x9C\xE6 pozycjonowania\r\n"
                     "stPunkt=Pozycja\r\n"
                     "stCapFFT=Drgania \xBF\xF3\xB3te\r\n");
    LoadLanguageFile();
    TCykl cycles;
    addPoint(cycles.Add().Punkt, 10.0, -1.0, 1.0);
    ExportPositioningText(cycles, path());
    EXPECT_EQ(read(path()), crlf({
        "Dok\xB3" "adno\x9C\xE6 pozycjonowania",
        "Cykl ,Pozycja ,Dystans [mm], Xa [um], Xr [um]",
        " 1,   0,    10.000,  -1.0,   1.0",
    }));
    ExportFftTimeText({"x", "y", {}}, path());
    EXPECT_EQ(read(path()), crlf({"Drgania \xBF\xF3\xB3te - Wykres czasowy", "x, y"}));
}

// Every writer with nothing to write: the two header lines only, the recording an empty file.
TEST_F(TextExportTest, EmptyCollectionsGiveTheHeaderLinesOnly) {
    struct Case {
        const char* name;
        std::function<void(const QString&)> write;
        QByteArray expected;
    };
    TCykl emptyCycles;
    emptyCycles.Add();  // a cycle without points writes no line either
    const Case cases[] = {
        {"positioning", [&](const QString& p) { ExportPositioningText(emptyCycles, p); },
         crlf({"Pozycjonowanie Liniowe", "Cykl ,Punkt ,Dystans [mm], Xa [um], Xr [um]"})},
        {"velocity", [](const QString& p) { ExportVelocityText(TVelValue(), p); },
         crlf({"Pr\xEA" "dko\x9C\xE6", "Czas [s], Pr\xEA" "dko\x9C\xE6 [mm/s]"})},
        {"recording", [](const QString& p) { ExportRecordingText(TVelValue(), p); }, QByteArray()},
        {"angular", [](const QString& p) { ExportAngularText(TPunkt(), p); },
         crlf({"Podzia\xB3y K\xB9towe", "K\xB9t [deg], Dc [sek], Ds [sek]"})},
        {"straightness", [](const QString& p) { ExportStraightnessText(TPunkt(), p); },
         crlf({"Pomiar Prostoliniowo\x9C" "ci", "Dystans [cm], B\xB3\xB9" "d [um]"})},
        {"flatness", [](const QString& p) { ExportFlatnessText(TCykl(), p); },
         crlf({"Mapa P\xB3" "asko\x9C" "ci", "O\x9C, Dystans [cm], B\xB3\xB9" "d [um]"})},
        {"fft time", [](const QString& p) { ExportFftTimeText({"t", "a", {}}, p); },
         crlf({"Analiza cz\xEA" "stotliwo\x9C" "ciowa - Wykres czasowy", "t, a"})},
        {"fft spectrum", [](const QString& p) { ExportFftSpectrumText({"f", "a", {}}, p); },
         crlf({"Analiza cz\xEA" "stotliwo\x9C" "ciowa - Wykres cz\xEA" "stotliwo\x9C" "ciowy", "f, a"})},
    };
    for (const Case& c : cases) {
        const QString p = path(QString::fromLatin1(c.name) + ".txt");
        writeOld(p, "an older and longer file that must not survive");
        c.write(p);
        EXPECT_EQ(read(p), c.expected) << c.name;
    }
}

TEST_F(TextExportTest, FailedWritesAreFailuresAndKeepTheOldFile) {
    const QString missing = dir.filePath("no such folder/export.txt");
    EXPECT_THROW(ExportVelocityText(samples({1.0}), missing), MeasurementFileError);
    EXPECT_THROW(ExportRecordingText(TVelValue(), missing), MeasurementFileError);
    EXPECT_FALSE(QDir(dir.filePath("no such folder")).exists());

    // A disk that fills up halfway: files may grow to 64 bytes only.
    const QByteArray old = "the previous export\r\n";
    writeOld(path(), old);
    QString message = "<no error>";
    {
        testsupport::FileSizeLimit full(64);
        ASSERT_TRUE(full.ok());
        try {
            ExportRecordingText(samples({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), path());
        } catch (const MeasurementFileError& e) {
            message = e.message();
        }
    }
    EXPECT_EQ(message, "File too large");
    EXPECT_EQ(read(path()), old);
    EXPECT_EQ(QDir(dir.path()).entryList({"export.txt*"}, QDir::Files), QStringList{"export.txt"});
}

// A non-finite value is refused before anything is written, naming its line in the file.
TEST_F(TextExportTest, NonFiniteValueLeavesTheOldFileIntact) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const QByteArray old = "the previous export\r\n";
    TCykl cycles;
    addPoint(cycles.Add().Punkt, 0.0, 1.0, 1.0);
    addPoint(cycles.Add().Punkt, 10.0, 1.0, nan);
    writeOld(path(), old);
    try {
        ExportPositioningText(cycles, path());
        ADD_FAILURE() << "no error";
    } catch (const MeasurementFileError& e) {
        EXPECT_EQ(e.message(), QString::fromUtf8("Wartość nieliczbowa w wierszu 4: plik nie został zapisany."));
    }
    EXPECT_EQ(read(path()), old);

    EXPECT_THROW(ExportRecordingText(samples({0.0, -inf}), path()), MeasurementFileError);
    EXPECT_THROW(ExportFftSpectrumText({"f", "a", {{0.0, 1.0}, {inf, 1.0}}}, path()), MeasurementFileError);
    EXPECT_THROW(ExportFftSpectrumText({"f", "a", {{0.0, nan}}}, path()), MeasurementFileError);
    EXPECT_EQ(read(path()), old);
    EXPECT_EQ(QDir(dir.path()).entryList({"export.txt*"}, QDir::Files), QStringList{"export.txt"});
}

}  // namespace
