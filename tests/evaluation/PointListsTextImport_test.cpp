#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "evaluation/MeasurementFiles.h"
#include "evaluation/PointLists.h"
#include "evaluation/TextImport.h"

namespace {

class ImportTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file(const QString& name, const QByteArray& bytes) {
        const QString p = dir.filePath(name);
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return p;
    }
};

QByteArray le32(int32_t v) {
    unsigned char p[4];
    foundations::putInt32LE(p, v);
    return QByteArray(reinterpret_cast<char*>(p), 4);
}
QByteArray le64(double v) {
    unsigned char p[8];
    foundations::putDoubleLE(p, v);
    return QByteArray(reinterpret_cast<char*>(p), 8);
}

std::vector<double> column(const TPunkt& p, double TPunktItem::*f) {
    std::vector<double> out;
    for (int i = 0; i < p.Count(); ++i) out.push_back(p[i].*f);
    return out;
}

}  // namespace

TEST_F(ImportTest, PointListsAreBarePunktStreams) {
    TPunkt pts;
    auto& a = pts.Add();
    a.Dystans = 25.4;
    a.Xa = 1;
    a.Xr = -1;
    pts.Add().Dystans = 50;
    const QString p = dir.filePath("list.dtp");
    SavePointList(pts, p);
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), le32(2) + le64(25.4) + le64(1) + le64(-1) + le64(50) + le64(0) + le64(0));
    TPunkt back;
    LoadPointList(back, p);
    EXPECT_EQ(column(back, &TPunktItem::Dystans), (std::vector<double>{25.4, 50}));
    EXPECT_EQ(column(back, &TPunktItem::Xr), (std::vector<double>{-1, 0}));

    // an empty list is a 4-byte file and loads empty
    SavePointList(TPunkt(), dir.filePath("empty.dtk"));
    EXPECT_EQ(QFile(dir.filePath("empty.dtk")).size(), 4);
    LoadPointList(back, dir.filePath("empty.dtk"));
    EXPECT_EQ(back.Count(), 0);

    // missing and short files throw and keep the list
    TPunkt keep = pts;
    EXPECT_ANY_THROW(LoadPointList(keep, dir.filePath("none.dtp")));
    EXPECT_ANY_THROW(LoadPointList(keep, file("short.dtp", le32(3) + le64(1))));
    EXPECT_EQ(keep.Count(), 2);
    EXPECT_THROW(SavePointList(pts, dir.filePath("no/dir.dtp")), MeasurementFileError);
}

TEST(PascalTextReader, ReadsTheWayTheFilesExpect) {
    PascalTextReader r(QByteArray("  Name that is long\r\n\r\n  -1.5e2\t+3.\r\n.5 7\nrest"));
    EXPECT_EQ(r.ReadString(4), "  Na");
    r.ReadLn();
    EXPECT_EQ(r.ReadString(10), "");
    r.ReadLn();
    EXPECT_EQ(r.ReadReal(), -150.0);
    EXPECT_EQ(r.ReadReal(), 3.0);
    EXPECT_EQ(r.ReadReal(), 0.5);  // line ends are skipped
    EXPECT_EQ(r.ReadInteger(), 7);
    EXPECT_EQ(r.ReadChar(), '\n');
    r.ReadLn();
    EXPECT_TRUE(r.AtEof());
    EXPECT_THROW(r.ReadChar(), TextFormatError);
    EXPECT_THROW(r.ReadReal(), TextFormatError);

    for (const char* bad : {"1,5", "abc", "1.2.3", "--1", "1e", "1/", "inf", "nan"}) {
        PascalTextReader b{QByteArray(bad)};
        EXPECT_THROW(b.ReadReal(), TextFormatError) << bad;
    }
    PascalTextReader i{QByteArray("2.5")};
    EXPECT_THROW(i.ReadInteger(), TextFormatError);
}

TEST_F(ImportTest, PositioningTextImport) {
    const QByteArray text =
        "Tokarka TUR 560 bardzo dluga nazwa maszyny\r\n"
        "seria 7\r\n"
        "Y\r\n"
        "12\r\n"
        "20.36 19.94\r\n"
        "/ 1.5 -1.5\r\n"
        " x/2 -2\r\n"       // characters before the marker are skipped
        "$3 -3 comment\r\n"
        "/4 -4\r\n"
        "/5 -5\r\n"
        "#6 -6\r\n"
        "/99 99\r\n";       // after "#" nothing more is read
    TCykl cycles;
    cycles.Add();
    cycles.Add();
    cycles.Add();
    TMeasurementHeader h;
    h.Operator = "kept";
    QString caption;
    EXPECT_EQ(ImportMeasurementText(file("run.dta", text), cycles, h, &caption), std::nullopt);
    EXPECT_EQ(caption, " Tokarka TUR 560 bardzo dluga n seria 7");
    EXPECT_EQ(h.MachineType, "Tokarka TUR 560 bard");
    EXPECT_EQ(h.Axis, "Y");
    EXPECT_EQ(h.AirTemperature, QString::fromUtf8("20.0°C"));
    EXPECT_EQ(h.MaterialTemperature, QString::fromUtf8("20.0°C"));
    EXPECT_EQ(h.Humidity, "50 %");
    EXPECT_EQ(h.Pressure, "1000 hPa");
    EXPECT_EQ(h.Operator, "kept");
    ASSERT_EQ(cycles.Count(), 2);
    // the second cycle is longer than the first; positions restart at 0 in each
    EXPECT_EQ(column(cycles[0].Punkt, &TPunktItem::Dystans), (std::vector<double>{0, 100, 200}));
    EXPECT_EQ(column(cycles[1].Punkt, &TPunktItem::Dystans), (std::vector<double>{0, 100, 200}));
    EXPECT_EQ(column(cycles[0].Punkt, &TPunktItem::Xa), (std::vector<double>{1.5, 2, 3}));
    EXPECT_EQ(column(cycles[1].Punkt, &TPunktItem::Xr), (std::vector<double>{-4, -5, -6}));
}

TEST_F(ImportTest, PositioningImportErrorsKeepWhatWasRead) {
    const QByteArray head = "M\r\nS\r\nX\r\n0\r\n21 22\r\n";
    struct Case {
        const char* name;
        QByteArray body;
        int cycles, lastPoints;
    };
    const Case cases[] = {
        {"comma", "/1 1\r\n/2,5 2\r\n#3 3\r\n", 1, 1},
        {"no end marker", "/1 1\r\n$2 2\r\n/3 3\r\n", 2, 1},
        {"cut number", "/1 1\r\n/2", 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TCykl cycles;
        TMeasurementHeader h;
        EXPECT_EQ(ImportMeasurementText(file("bad.dta", head + c.body), cycles, h),
                  QString::fromUtf8("Zły format danych!"));
        ASSERT_EQ(cycles.Count(), c.cycles);
        EXPECT_EQ(cycles[c.cycles - 1].Punkt.Count(), c.lastPoints);
        EXPECT_EQ(h.MachineType, "M");
    }
    // a bad temperature line stops before the data are touched
    TCykl cycles;
    cycles.Add();
    TMeasurementHeader h;
    EXPECT_TRUE(ImportMeasurementText(file("t.dta", "M\r\nS\r\nX\r\n0\r\n2O 1\r\n/1 1\r\n#1 1\r\n"),
                                      cycles, h).has_value());
    EXPECT_EQ(cycles.Count(), 1);
    EXPECT_EQ(h.MachineType, "");
}

TEST_F(ImportTest, PositioningImportCountsBeyond255) {
    QByteArray text = "M\r\nS\r\nX\r\n0\r\n20 20\r\n";
    for (int i = 0; i < 299; ++i) text += "/0 0\r\n";
    text += "$0 0\r\n";
    for (int c = 0; c < 300; ++c) text += "$1 1\r\n";
    text += "#2 2\r\n";
    TCykl cycles;
    TMeasurementHeader h;
    ASSERT_EQ(ImportMeasurementText(file("big.dta", text), cycles, h), std::nullopt);
    ASSERT_EQ(cycles.Count(), 302);
    ASSERT_EQ(cycles[0].Punkt.Count(), 300);
    EXPECT_EQ(cycles[0].Punkt[299].Dystans, 29900.0);
    EXPECT_EQ(cycles[301].Punkt.Count(), 1);
    EXPECT_EQ(cycles[301].Punkt[0].Xa, 2.0);
}

TEST_F(ImportTest, StraightnessTextImport) {
    TPunkt pts;
    pts.Add();
    TMeasurementHeader h;
    h.Feed = "kept";
    ImportTextReadings(file("a.lda", "Frezarka\r\nx\r\nZ\r\n50\r\n/1.5\r\n  /-2\r\n#3\r\n/4\r\n"), pts, h);
    EXPECT_EQ(column(pts, &TPunktItem::Dystans), (std::vector<double>{0, 5, 10}));  // cm
    EXPECT_EQ(column(pts, &TPunktItem::Xa), (std::vector<double>{1.5, -2, 3}));
    EXPECT_EQ(column(pts, &TPunktItem::Xr), (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(h.MachineType, "Frezarka");
    EXPECT_EQ(h.Axis, "Z");
    EXPECT_EQ(h.AirTemperature, "--");
    EXPECT_EQ(h.Pressure, "--");
    EXPECT_EQ(h.Feed, "kept");

    // without "#" the import stops after 256 points
    QByteArray many = "M\r\n\r\nX\r\n10\r\n";
    for (int i = 0; i < 300; ++i) many += "/1\r\n";
    ImportTextReadings(file("many.lda", many), pts, h);
    EXPECT_EQ(pts.Count(), 256);

    // errors reach the caller; the points are empty and the header unchanged
    TMeasurementHeader before = h;
    EXPECT_THROW(ImportTextReadings(file("bad.lda", "N\r\n\r\nX\r\n10\r\n/1\r\n/1,5\r\n#2\r\n"), pts, h),
                 TextFormatError);
    EXPECT_EQ(pts.Count(), 0);
    EXPECT_EQ(h, before);
    EXPECT_ANY_THROW(ImportTextReadings(file("cut.lda", "N\r\n\r\nX\r\n10\r\n/1\r\n"), pts, h));
}

TEST_F(ImportTest, FlatnessTextImport) {
    QByteArray text = "Plyta\r\nabc\r\n25\r\n";
    for (int line = 0; line < 8; ++line) text += QByteArray("/") + QByteArray::number(line) + "\r\n/1\r\n#2\r\n";
    TCykl lines;
    for (int i = 0; i < 16; ++i) lines.Add().Punkt.Add().Dystans = 99;
    TMeasurementHeader h;
    h.Axis = "Q";
    EXPECT_EQ(LoadFlatnessText(file("a.fda", text), lines, h), std::nullopt);
    ASSERT_EQ(lines.Count(), 16);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(column(lines[i].Punkt, &TPunktItem::Dystans), (std::vector<double>{0, 25, 50}));
        EXPECT_EQ(lines[i].Punkt[0].Xa, double(i));
    }
    for (int i = 8; i < 16; ++i) EXPECT_EQ(lines[i].Punkt.Count(), 0);
    EXPECT_EQ(h.MachineType, "Plyta");
    EXPECT_EQ(h.AirTemperature, QString::fromUtf8("20.0°C"));
    EXPECT_EQ(h.MaterialTemperature, QString::fromUtf8("20.0°C"));
    EXPECT_EQ(h.Humidity, "--");
    EXPECT_EQ(h.Axis, "Q");

    // fewer than eight "#": the format error, with the lines read so far kept
    TCykl part;
    EXPECT_EQ(LoadFlatnessText(file("b.fda", "P\r\n\r\n10\r\n/1\r\n#2\r\n/3\r\n"), part, h),
              QString::fromUtf8("Zły format danych!"));
    ASSERT_EQ(part.Count(), 8);
    EXPECT_EQ(part[0].Punkt.Count(), 2);
    EXPECT_EQ(part[1].Punkt.Count(), 1);
    // a spacing that is no integer is a format error too
    EXPECT_TRUE(LoadFlatnessText(file("c.fda", "P\r\n\r\n2.5\r\n#1\r\n"), part, h).has_value());
    EXPECT_EQ(part[0].Punkt.Count(), 0);
}
