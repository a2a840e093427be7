#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

#include "PositioningFixture.h"
#include "evaluation/CompensationTables.h"
#include "support/FileSizeLimit.h"

using namespace evaluation;
using positioning_fixture::makeRun;

namespace {

// Five points at 0, 100, 200, 300, 400 mm, two cycles (Xa, Xr):
//   point  cycle 1    cycle 2    f      r      m = (f + r)/2   f - r
//   0      (3, 1)     (4, 2)     3.5    1.5    2.5             2
//   1      (6, 3)     (7, 4)     6.5    3.5    5               3
//   2      (2, -2)    (3, -1)    2.5   -1.5    0.5             4
//   3      (-4, -6)   (-3, -7)  -3.5   -6.5   -5               3
//   4      (1, 0)     (2, 1)     1.5    0.5    1               1
// Mean reversal B = 13 / 5 = 2.6 -> 3. Relative to d0 = m0 = 2.5 (x:1:0 halves away from 0):
//   f - d0: 1, 4, 0, -6, -1    r - d0: -1, 1, -4, -9, -2    m - d0: 0, 2.5 -> 3, -2, -7.5 -> -8, -1.5 -> -2
TCykl fivePointRun() {
    return makeRun({{{3, 1}, {6, 3}, {2, -2}, {-4, -6}, {1, 0}},
                    {{4, 2}, {7, 4}, {3, -1}, {-3, -7}, {2, 1}}});
}

// Four points, every mean negative:
//   point  cycle 1      cycle 2      f     r     m     f - r
//   0      (-10, -12)   (-12, -14)  -11   -13   -12    2
//   1      (-20, -22)   (-22, -24)  -21   -23   -22    2
//   2      (-31, -33)   (-33, -35)  -32   -34   -33    2
//   3      (-40, -44)   (-42, -46)  -41   -45   -43    4
// B = 10 / 4 = 2.5 -> 3.
TCykl negativeRun() {
    return makeRun({{{-10, -12}, {-20, -22}, {-31, -33}, {-40, -44}},
                    {{-12, -14}, {-22, -24}, {-33, -35}, {-42, -46}}});
}

TMeasurementHeader header() {
    TMeasurementHeader h;
    h.Axis = "Y";
    h.Date = "06.05.2024 10:11";
    return h;
}

const QDateTime kNow(QDate(2024, 5, 7), QTime(13, 4, 5));

QByteArray crlf(const QStringList& lines) {
    QByteArray b;
    for (const QString& l : lines) b += l.toLatin1() + "\r\n";
    return b;
}

class CompensationTablesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file = QDir(dir.path()).absoluteFilePath("tabela.txt");
    CompTableRun run = CompTableRunFrom(fivePointRun(), header());

    QByteArray written() const {
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    QStringList heading(const char* title) const {
        return {QString(title) + " - Y-Axis", "Filename: " + file, "Acquisition date: 06.05.2024 10:11",
                "Current date: " + CompTableDateTimeText(kNow)};
    }
    QStringList errorPlotHeading(const char* title, const char* backlash) const {
        return heading(title) + QStringList{"Number of Target Positions: \t5",
                                            "",
                                            QString("Mean Backlash:\t") + backlash + " Machine Units",
                                            "",
                                            "Pos. #   Pos.Value (mm)     Fwd (um)  Rev.(um)  Mean (um)",
                                            ".."};
    }
};

}  // namespace

TEST_F(CompensationTablesTest, LinearTableRefersToTheFirstPoint) {
    ASSERT_TRUE(WriteCompTableLinear(file, run, kNow).ok());
    EXPECT_EQ(written(), crlf(errorPlotHeading("Vkm30 Linear Error Plot", "3") +
                              QStringList{"   1\t      0.0000       \t1\t -1       0",
                                          "   2\t    100.0000       \t4\t 1       3",
                                          "   3\t    200.0000       \t0\t -4       -2",
                                          "   4\t    300.0000       \t-6\t -9       -8",
                                          "   5\t    400.0000       \t-1\t -2       -2"}));
}

TEST_F(CompensationTablesTest, IncrementalTableStepsFromPointToPoint) {
    // Steps of the rounded running values of the Linear table:
    //   f: 1, 4, 0, -6, -1 -> 3, -4, -6, 5    r: -1, 1, -4, -9, -2 -> 2, -5, -5, 7
    //   m: 0, 3, -2, -8, -2 -> 3, -5, -6, 6
    ASSERT_TRUE(WriteCompTableIncremental(file, run, kNow).ok());
    EXPECT_EQ(written(), crlf(errorPlotHeading("Vkm30 Incremental Error Plot", "3") +
                              QStringList{"   1\t      0.0000       \t3\t 2       3",
                                          "   2\t    100.0000       \t-4\t -5       -5",
                                          "   3\t    200.0000       \t-6\t -5       -6",
                                          "   4\t    300.0000       \t5\t 7       6"}));
}

TEST_F(CompensationTablesTest, HpTableInCodePage1250) {
    ASSERT_TRUE(WriteCompTableHP(file, run, kNow).ok());
    QByteArray expected = crlf(heading("Vkm30 Trivane D  Linear Error Plot"));
    expected += "Expansion Coefficient:\t 11.7 PPM/\xB0" "C\r\n";
    expected += crlf({"Compensation: \tAbsolute / Recorded Error / Algebraic Sign Convention",
                      "Machine Zero Pt target value:\t 0 mm", "Independent Forward and Reverse Compensation",
                      "Machine units - \t1 micrometers", "Number of Target Positions: \t5",
                      "Mean Backlash:\t3 Machine Units", "",
                      "Pos. #   Pos.Value (mm)        Forward Rev. Comp. (1 micrometers)", "..",
                      "   1\t      0.0000\t 1\t -1", "   2\t    100.0000\t 4\t 1", "   3\t    200.0000\t 0\t -4",
                      "   4\t    300.0000\t -6\t -9", "   5\t    400.0000\t -1\t -2"});
    EXPECT_EQ(written(), expected);
}

TEST_F(CompensationTablesTest, SiemensTableRefersToTheBasePoint) {
    // m = 2.5, 5, 0.5, -5, 1 µm; values (m - m_b) in mm with 4 decimals.
    struct {
        int base;
        QStringList values;
    } cases[] = {
        {0, {"0.0000", "0.0025", "-0.0020", "-0.0075", "-0.0015"}},
        {2, {"0.0020", "0.0045", "0.0000", "-0.0055", "0.0005"}},
        {4, {"0.0015", "0.0040", "-0.0005", "-0.0060", "0.0000"}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteCompTableSiemens(file, run, c.base, "AX2", "1").ok()) << c.base;
        QStringList lines{"%_N_AX2_EEC_INI", "", "METRIC", "", "CHANDATA(1)"};
        for (int i = 0; i < 5; ++i) lines << QString("$AA_ENC_COMP[1,%1,AX2]=%2").arg(i).arg(c.values[i]);
        lines << "$AA_ENC_COMP_STEP[1,AX2]=100" << "$AA_ENC_COMP_MIN[1,AX2]=0" << "$AA_ENC_COMP_MAX[1,AX2]=400"
              << "$AA_ENC_COMP_IS_MODULO[1,AX2]=0" << "M17";
        EXPECT_EQ(written(), crlf(lines)) << c.base;
    }
}

TEST_F(CompensationTablesTest, FanucTableStartsAbsoluteThenSteps) {
    // nearest(m - m_b), ties to even, then the steps of those rounded values:
    //   b = 0: 0, 2.5 -> 2, -2, -7.5 -> -8, -1.5 -> -2      steps 2, -4, -6, 6
    //   b = 2: 2, 4.5 -> 4, 0, -5.5 -> -6, 0.5 -> 0         steps 2, -4, -6, 6
    //   b = 4: 1.5 -> 2, 4, -0.5 -> 0, -6, 0                steps 2, -4, -6, 6
    struct {
        int base;
        const char* first;
    } cases[] = {{0, "0"}, {2, "2"}, {4, "2"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteCompTableFanuc(file, run, c.base, "3").ok()) << c.base;
        EXPECT_EQ(written(), crlf({"G10L50;", "N3605P3R0;", QString("N3620P3R%1;").arg(c.base), "N3621P3R0;",
                                   "N3622P3R4;", "N3623P3R1;", "N3624P3R100;", QString("N10000P3R") + c.first + ";",
                                   "N10001P3R2;", "N10002P3R-4;", "N10003P3R-6;", "N10004P3R6;", "G11;"}))
            << c.base;
    }
}

TEST_F(CompensationTablesTest, RunOfOneSignKeepsItsSignsRelativeToTheReference) {
    run = CompTableRunFrom(negativeRun(), header());
    ASSERT_TRUE(WriteCompTableLinear(file, run, kNow).ok());
    const QList<QByteArray> linear = written().split('\n');
    ASSERT_EQ(linear.size(), 15);
    EXPECT_EQ(linear[6], "Mean Backlash:\t3 Machine Units\r");
    // d0 = -12: f - d0 = 1, -9, -20, -29; r - d0 = -1, -11, -22, -33; m - d0 = 0, -10, -21, -31.
    EXPECT_EQ(linear[10], "   1\t      0.0000       \t1\t -1       0\r");
    EXPECT_EQ(linear[13], "   4\t    300.0000       \t-29\t -33       -31\r");

    // Base at the last point (m = -43): every value above it.
    ASSERT_TRUE(WriteCompTableSiemens(file, run, 3, "AX1", "0").ok());
    const QList<QByteArray> siemens = written().split('\n');
    EXPECT_EQ(siemens[5], "$AA_ENC_COMP[0,0,AX1]=0.0310\r");
    EXPECT_EQ(siemens[6], "$AA_ENC_COMP[0,1,AX1]=0.0210\r");
    EXPECT_EQ(siemens[7], "$AA_ENC_COMP[0,2,AX1]=0.0100\r");
    EXPECT_EQ(siemens[8], "$AA_ENC_COMP[0,3,AX1]=0.0000\r");

    ASSERT_TRUE(WriteCompTableFanuc(file, run, 3, "1").ok());
    EXPECT_EQ(written(), crlf({"G10L50;", "N3605P1R0;", "N3620P1R3;", "N3621P1R0;", "N3622P1R3;", "N3623P1R1;",
                               "N3624P1R100;", "N10000P1R31;", "N10001P1R-10;", "N10002P1R-11;", "N10003P1R-10;",
                               "G11;"}));
}

TEST_F(CompensationTablesTest, UnidirectionalRunCompensatesTheWholeForwardError) {
    // Forward means 3, 8, 0; no backward readings, so r = f, m = f and B = 0.
    run = CompTableRunFrom(makeRun({{{2, 0}, {7, 0}, {-1, 0}}, {{4, 0}, {9, 0}, {1, 0}}}), header());
    ASSERT_TRUE(WriteCompTableLinear(file, run, kNow).ok());
    const QList<QByteArray> linear = written().split('\n');
    EXPECT_EQ(linear[6], "Mean Backlash:\t0 Machine Units\r");
    EXPECT_EQ(linear[11], "   2\t    100.0000       \t5\t 5       5\r");
    EXPECT_EQ(linear[12], "   3\t    200.0000       \t-3\t -3       -3\r");
    ASSERT_TRUE(WriteCompTableFanuc(file, run, 0, "1").ok());
    const QList<QByteArray> fanuc = written().split('\n');
    EXPECT_EQ(fanuc[8], "N10001P1R5;\r");
    EXPECT_EQ(fanuc[9], "N10002P1R-8;\r");
}

TEST_F(CompensationTablesTest, IncrementsAddUpWithoutRoundingDrift) {
    // Means 0, 0.5, 1, 1.5, 2 µm (f = r): steps of 0.5 rounded one by one would add up to
    // 0 (ties to even) or 4 (halves away) instead of the 2 µm the axis is off at the end.
    run = CompTableRunFrom(makeRun({{{0, 0}, {0.5, 0.5}, {1, 1}, {1.5, 1.5}, {2, 2}}}), header());
    ASSERT_TRUE(WriteCompTableIncremental(file, run, kNow).ok());
    const QList<QByteArray> inc = written().split('\n');
    // Running values x:1:0: 0, 1, 1, 2, 2.
    EXPECT_EQ(inc[10], "   1\t      0.0000       \t1\t 1       1\r");
    EXPECT_EQ(inc[11], "   2\t    100.0000       \t0\t 0       0\r");
    EXPECT_EQ(inc[12], "   3\t    200.0000       \t1\t 1       1\r");
    EXPECT_EQ(inc[13], "   4\t    300.0000       \t0\t 0       0\r");
    // Running values nearest(): 0, 0, 1, 2, 2.
    ASSERT_TRUE(WriteCompTableFanuc(file, run, 0, "1").ok());
    const QList<QByteArray> fanuc = written().split('\n');
    EXPECT_EQ(fanuc[7], "N10000P1R0;\r");
    EXPECT_EQ(fanuc[8], "N10001P1R0;\r");
    EXPECT_EQ(fanuc[9], "N10002P1R1;\r");
    EXPECT_EQ(fanuc[10], "N10003P1R1;\r");
    EXPECT_EQ(fanuc[11], "N10004P1R0;\r");
}

TEST_F(CompensationTablesTest, OnePointRun) {
    run = CompTableRunFrom(makeRun({{{3, 1}}, {{5, 1}}}), header());  // f 4, r 1, m 2.5
    ASSERT_TRUE(WriteCompTableLinear(file, run, kNow).ok());
    QList<QByteArray> lines = written().split('\n');
    ASSERT_EQ(lines.size(), 12);  // ten heading lines, one row, nothing after the last CR LF
    EXPECT_EQ(lines[10], "   1\t      0.0000       \t2\t -2       0\r");  // 1.5 and -1.5 away from 0
    ASSERT_TRUE(WriteCompTableHP(file, run, kNow).ok());
    EXPECT_EQ(written().split('\n').size(), 16);
    ASSERT_TRUE(WriteCompTableIncremental(file, run, kNow).ok());
    EXPECT_EQ(written().split('\n').size(), 11);  // no interval, no row

    for (const CompTableResult& r :
         {WriteCompTableSiemens(file, run, 0, "AX1", "0"), WriteCompTableFanuc(file, run, 0, "1")}) {
        EXPECT_EQ(r.Status, CompTableStatus::TooFewPoints);
        EXPECT_FALSE(r.Message.isEmpty());
    }
}

TEST_F(CompensationTablesTest, RefusedRunsLeaveTheFileAlone) {
    auto runOf = [](const TCykl& cycles) { return CompTableRunFrom(cycles, header()); };
    TCykl noPoints;
    noPoints.Add();
    TCykl nan = fivePointRun();
    nan[1].Punkt[2].Xr = std::nan("");
    TCykl uneven = fivePointRun();
    uneven[0].Punkt[3].Dystans = uneven[1].Punkt[3].Dystans = 310;
    TCykl descending = fivePointRun();
    for (int c = 0; c < 2; ++c)
        for (int k = 0; k < 5; ++k) descending[c].Punkt[k].Dystans = 400 - 100 * k;
    TCykl fractional = fivePointRun();
    for (int c = 0; c < 2; ++c)
        for (int k = 0; k < 5; ++k) fractional[c].Punkt[k].Dystans = -2.5 + 12.5 * k;

    using S = CompTableStatus;
    struct {
        const char* what;
        CompTableRun run;
        CompTableChoice choice;
        S status;
    } cases[] = {
        {"no cycle, Linear", runOf(TCykl()), {ctfLinear}, S::NoPoints},
        {"no cycle, Fanuc", runOf(TCykl()), {ctfFanuc}, S::NoPoints},
        {"no point, HP", runOf(noPoints), {ctfHP}, S::NoPoints},
        {"no point, Siemens", runOf(noPoints), {ctfSiemens}, S::NoPoints},
        {"not a number, Incremental", runOf(nan), {ctfIncremental}, S::NotFinite},
        {"not a number, Fanuc", runOf(nan), {ctfFanuc}, S::NotFinite},
        {"base point past the end", run, {ctfSiemens, 0, 0, 5}, S::BasePointOutOfRange},
        {"base point negative", run, {ctfFanuc, 0, 0, -1}, S::BasePointOutOfRange},
        {"uneven spacing, Siemens", runOf(uneven), {ctfSiemens}, S::UnevenSpacing},
        {"uneven spacing, Fanuc", runOf(uneven), {ctfFanuc}, S::UnevenSpacing},
        {"falling targets", runOf(descending), {ctfSiemens}, S::UnevenSpacing},
        {"spacing of 12.5 mm, Fanuc", runOf(fractional), {ctfFanuc}, S::FractionalSpacing},
        {"Siemens axis 4", run, {ctfSiemens, 0, 3, 0}, S::UnknownChoice},
        {"Siemens system 2", run, {ctfSiemens, 2, 0, 0}, S::UnknownChoice},
        {"Fanuc axis 9", run, {ctfFanuc, 0, 8, 0}, S::UnknownChoice},
        {"format 6", run, {6}, S::UnknownChoice},
        {"dialog cancelled", run, {ctfNone}, S::NotWritten},
    };
    for (const auto& c : cases) {
        {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("old table\r\n");
        }
        const CompTableResult r = WriteCompTable(file, c.run, c.choice, kNow);
        EXPECT_EQ(r.Status, c.status) << c.what;
        EXPECT_EQ(r.Message.isEmpty(), c.status == S::NotWritten) << c.what;
        EXPECT_EQ(written(), "old table\r\n") << c.what;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1) << c.what;
    }
    // The same runs suit the tables that neither step nor use a base point.
    EXPECT_TRUE(WriteCompTable(file, runOf(uneven), {ctfLinear}, kNow).ok());
    EXPECT_TRUE(WriteCompTable(file, run, {ctfHP, 0, 0, 9}, kNow).ok());
}

TEST_F(CompensationTablesTest, SiemensKeepsFractionalPositions) {
    TCykl cycles = fivePointRun();
    for (int c = 0; c < 2; ++c)
        for (int k = 0; k < 5; ++k) cycles[c].Punkt[k].Dystans = -2.5 + 12.5 * k;
    ASSERT_TRUE(WriteCompTable(file, CompTableRunFrom(cycles, header()), {ctfSiemens, 0, 2, 1}, kNow).ok());
    const QList<QByteArray> lines = written().split('\n');
    EXPECT_EQ(lines[5], "$AA_ENC_COMP[0,0,AX3]=-0.0025\r");  // m_0 - m_1 = -2.5 µm
    EXPECT_EQ(lines[10], "$AA_ENC_COMP_STEP[0,AX3]=12.5\r");
    EXPECT_EQ(lines[11], "$AA_ENC_COMP_MIN[0,AX3]=-2.5\r");
    EXPECT_EQ(lines[12], "$AA_ENC_COMP_MAX[0,AX3]=47.5\r");
}

TEST_F(CompensationTablesTest, DispatchByChoiceNamesAxisAndSystem) {
    ASSERT_TRUE(WriteCompTable(file, run, {ctfSiemens, 1, 2, 0}, kNow).ok());
    EXPECT_TRUE(written().startsWith("%_N_AX3_EEC_INI\r\n\r\nMETRIC\r\n\r\nCHANDATA(1)\r\n$AA_ENC_COMP[1,0,AX3]="));
    ASSERT_TRUE(WriteCompTable(file, run, {ctfFanuc, 1, 7, 2}, kNow).ok());
    EXPECT_TRUE(written().startsWith("G10L50;\r\nN3605P8R0;\r\nN3620P8R2;\r\n"));
}

TEST_F(CompensationTablesTest, UnwritableFileIsReported) {
    const QString missing = QDir(dir.path()).absoluteFilePath("brak/tabela.txt");
    const CompTableResult r = WriteCompTableLinear(missing, run, kNow);
    EXPECT_EQ(r.Status, CompTableStatus::FileError);
    EXPECT_TRUE(r.Message.contains(missing)) << r.Message.toStdString();
    EXPECT_FALSE(QFile::exists(missing));
}

// A disk that fills up during the write keeps the previous table and says so, leaving no temporary.
TEST_F(CompensationTablesTest, FullDiskKeepsThePreviousTable) {
    const QByteArray old = "the previous table\r\n";
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    CompTableResult r;
    {
        testsupport::FileSizeLimit full(64);
        ASSERT_TRUE(full.ok());
        r = WriteCompTableLinear(file, run, kNow);
    }
    EXPECT_EQ(r.Status, CompTableStatus::FileError);
    EXPECT_TRUE(r.Message.endsWith("File too large")) << r.Message.toStdString();
    EXPECT_EQ(written(), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"tabela.txt"});
}

TEST(CompTableSaveDialog, ProposesTheMeasurementFileName) {
    struct {
        const char* caption;
        const char* proposed;
    } cases[] = {
        {"Pozycjonowanie - FUS25_123_X.dt2", "FUS25_123_X"},
        {"Pozycjonowanie - os.x.dt2", "os.x"},
        {"Pozycjonowanie", ""},  // no file yet
    };
    for (const auto& c : cases) {
        const FileDialogSettings s = CompTableSaveDialog(c.caption, "Pozycjonowanie", "/dane/poz");
        EXPECT_EQ(s.FileName, c.proposed) << c.caption;
        EXPECT_EQ(s.InitialDir, "/dane/poz");
        EXPECT_EQ(s.Filter, "Tabela kompensacji (*.txt)|*.txt|Wszystkie pliki (*.*)|*.*");
        EXPECT_EQ(s.FilterIndex, 1);
        EXPECT_EQ(s.DefaultExt, ".txt");
    }
}

TEST(CompTableDateTimeText, ShortDateAndTimeWithoutZone) {
    const QString t = CompTableDateTimeText(QDateTime(QDate(2024, 5, 7), QTime(13, 4, 5)));
    EXPECT_TRUE(t.startsWith(QLocale::system().toString(QDate(2024, 5, 7), QLocale::ShortFormat) + " ")) << t.toStdString();
    EXPECT_TRUE(t.contains("04:05")) << t.toStdString();
    EXPECT_FALSE(t.contains("UTC") || t.contains("GMT") || t.contains("CET")) << t.toStdString();
}
