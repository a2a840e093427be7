// The positioning reports on their page models: columns, numbers, unit labels, last-row lines.
#include <gtest/gtest.h>

#include "reports/PositioningReports.h"

using namespace reports;

namespace {

// A run of `cycles` cycles with `points` points at 0, 100, 200... mm; the reading of cycle c at
// point k is c + k / 10 forward and -(c + k / 10) backward.
struct TestRun {
    TCykl cycles;
    TPunkt means, sigmas;
    TestRun(int ncycles, int points) {
        for (int c = 0; c < ncycles; ++c) {
            TCyklItem& cy = cycles.Add();
            for (int k = 0; k < points; ++k) {
                TPunktItem& p = cy.Punkt.Add();
                p.Dystans = 100.0 * k;
                p.Xa = c + 1 + k / 10.0;
                p.Xr = -(c + 1 + k / 10.0);
            }
        }
        for (int k = 0; k < points; ++k) {
            TPunktItem& m = means.Add();
            m.Dystans = 100.0 * k;
            m.Xa = 1.0;
            m.Xr = 3.0;
            TPunktItem& s = sigmas.Add();
            s.Xa = 0.2;
            s.Xr = 1.0 / 6.0;
            s.Dystans = 0.5;
        }
    }
    PositioningRunData data() const { return {&cycles, &means, &sigmas}; }
};

ReportSheet sheet(int unit = 0) {
    ReportSheet s;
    s.header.MachineType = QStringLiteral("FV-580");
    s.header.SerialNumber = QStringLiteral("1234");
    s.header.Axis = QStringLiteral("X");
    s.header.Operator = QStringLiteral("Kowalski");
    s.measurementName = QStringLiteral("os_x.dt2");
    s.standardName = QStringLiteral("ISO 230-2");
    s.reportNumber = QStringLiteral("07");
    s.dateText = QStringLiteral("2026-12-10");
    s.lengthUnit = unit;
    return s;
}

std::vector<QString> texts(const PageModel& m, const QString& name) {
    std::vector<QString> out;
    for (const Page& p : m.pages)
        for (const PlacedItem* it : p.Named(name)) out.push_back(it->text);
    return out;
}

// Horizontal lines at the bottom edge of the rows of a band.
int bottomLines(const Page& page, const QString& band, double rowHeight) {
    int n = 0;
    std::vector<double> rowTops;
    for (const PlacedItem& it : page.items)
        if (it.band == band && it.name == QStringLiteral("QRLabelPos")) rowTops.push_back(it.rect.top() - 4);
    for (const PlacedItem* l : page.Lines()) {
        if (l->band != band || l->line.dy() != 0) continue;
        for (double top : rowTops)
            if (std::abs(l->line.y1() - (top + rowHeight)) < 0.01) ++n;
    }
    return n;
}

}  // namespace

TEST(PositioningReports, ListColumnsShareTheBlocksByCycleCount) {
    struct Case {
        int cycles;
        std::vector<double> forwardCentres;  // of the printed columns
        std::vector<double> reverseCentres;
    };
    const double fl = TqrLista::kLeftSeparator, rl = TqrLista::kMiddleSeparator;
    const Case cases[] = {
        // Three cycles: one sixth, one half, five sixths of each block (integer steps).
        {3, {fl + 50, fl + 150, fl + 250}, {rl + 54, rl + 162, rl + 270}},
        {2, {fl + 76, fl + 228}, {rl + 81, rl + 243}},
        // Seven cycles keep the positions as laid out.
        {7,
         {88 + 19, 128 + 19, 168 + 19, 208 + 19, 248 + 19, 288 + 19, 336 + 19},
         {400 + 19, 444 + 19, 486 + 19, 529 + 19, 570 + 19, 618 + 19, 666 + 19}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cycles);
        TestRun run(c.cycles, 4);
        TqrLista list(sheet(), run.data());
        const PageModel m = list.Layout();
        ASSERT_EQ(m.PageCount(), 1);
        const Page& p = m.pages[0];
        for (int j = 0; j < 7; ++j) {
            const QString n = QString::number(j + 1);
            const bool printed = j < c.cycles;
            EXPECT_EQ(p.Named("QROF" + n).size(), printed ? 1u : 0u) << j;
            EXPECT_EQ(p.Named("QRF" + n).size(), printed ? 4u : 0u) << j;
            EXPECT_EQ(p.Named("QRR" + n).size(), printed ? 4u : 0u) << j;
            if (!printed) continue;
            EXPECT_NEAR(p.First("QROF" + n)->rect.center().x(), kMarginLeft + c.forwardCentres[size_t(j)], 0.01) << j;
            EXPECT_NEAR(p.First("QROR" + n)->rect.center().x(), kMarginLeft + c.reverseCentres[size_t(j)], 0.01) << j;
            // Each reading sits under its heading.
            EXPECT_EQ(p.First("QRF" + n)->rect.left(), p.First("QROF" + n)->rect.left());
        }
        // Row 2 of cycle 2 reads 2.2 forward and -2.2 backward.
        EXPECT_EQ(texts(m, "QRF2")[2], "2.2");
        EXPECT_EQ(texts(m, "QRR2")[2], "-2.2");
    }
}

TEST(PositioningReports, ListOfManyCyclesPrintsEveryCycleInBlocksOfSeven) {
    TestRun run(9, 3);
    TqrLista list(sheet(), run.data());
    const PageModel m = list.Layout();
    ASSERT_EQ(m.PageCount(), 2);
    EXPECT_EQ(m.pages[0].Named("QRF7").size(), 3u);
    EXPECT_EQ(m.pages[0].First("QROF7")->text, "7");
    // The second page holds cycles 8 and 9 under their own numbers.
    const Page& p2 = m.pages[1];
    EXPECT_EQ(p2.First("QROF1")->text, "8");
    EXPECT_EQ(p2.First("QROF2")->text, "9");
    EXPECT_TRUE(p2.Named("QROF3").empty());
    EXPECT_EQ(p2.Named("QRF1")[0]->text, "8.0");
    EXPECT_EQ(p2.Named("QRR2")[2]->text, "-9.2");
    EXPECT_EQ(p2.First("QRSysData3")->text, "2");
    EXPECT_EQ(p2.First("QRLPN")->text, "of 2");
}

TEST(PositioningReports, ListOfOneCycleDoesNotReachForASecond) {
    TestRun run(1, 2);
    TqrLista list(sheet(), run.data());
    const PageModel m = list.Layout();
    EXPECT_EQ(texts(m, "QRF1"), (std::vector<QString>{"1.0", "1.1"}));
    EXPECT_TRUE(texts(m, "QRF2").empty());
}

TEST(PositioningReports, PositionColumnByLengthUnit) {
    struct Case {
        int unit;
        QString unitLabel, position;
    };
    const Case cases[] = {{0, "in mm", "100.0"}, {1, "in inch", "3.94"}};
    for (const Case& c : cases) {
        TestRun run(2, 2);
        TQRTabISO iso(sheet(c.unit), run.data());
        const PageModel m = iso.Layout();
        EXPECT_EQ(m.pages[0].First("QRUnit")->text, c.unitLabel);
        EXPECT_EQ(texts(m, "QRLabelPos")[1], c.position);
        // The deviations stay in µm.
        EXPECT_EQ(texts(m, "QRXa")[1], "1.0");
    }
    EXPECT_FALSE(PositionText(100, 2, u'.').has_value());
}

TEST(PositioningReports, TableValuesOfEachStandard) {
    // x̄↑ 1.0, x̄↓ 3.0 (B = -2.0), s↑ 0.2, s↓ 1/6, pooled s 0.5.
    TestRun run(2, 4);
    const PageModel iso = TQRTabISO(sheet(), run.data()).Layout();
    const PageModel nmtba = TQRNMTBA(sheet(), run.data()).Layout();
    const PageModel vdi = TTabLista2(sheet(), run.data()).Layout();
    struct Case {
        const PageModel* m;
        const char* label;
        QString text;
    };
    const Case cases[] = {
        {&iso, "QRXa", "1.0"},       {&iso, "QRXr", "3.0"},        {&iso, "QRXp3S", "1.6"},
        {&iso, "QRXm3S", "0.4"},     {&iso, "QRXrp3S", "3.5"},     {&iso, "QRXrm3S", "2.5"},
        {&iso, "QR6Sf", "1.2"},      {&iso, "QR6Sr", "1.0"},
        // The bidirectional repeatability takes the reversal's size: 0.6 + 0.5 + 2.0.
        {&iso, "QRBdir", "3.1"},     {&iso, "QRRevError", "-2.0"}, {&nmtba, "QRAverageX", "2.0"},
        {&nmtba, "QR3Sigma", "1.5"}, {&nmtba, "QRXp3S", "3.5"},    {&nmtba, "QRXm3S", "0.5"},
        {&vdi, "QRU", "-2.00"},      {&vdi, "QRPs", "1.10"},       {&vdi, "QRA", "-0.45"},
        {&vdi, "QRAverage", "2.00"}, {&vdi, "QApA", "1.55"},       {&vdi, "QAmA", "2.45"},
    };
    for (const Case& c : cases) {
        const std::vector<QString> col = texts(*c.m, c.label);
        ASSERT_EQ(col.size(), 4u) << c.label;
        EXPECT_EQ(col[3], c.text) << c.label;
    }
}

TEST(PositioningReports, TablesEndWithALineUnderTheLastRowOnly) {
    TestRun run(2, 5);
    TQRTabISO iso(sheet(), run.data());
    TQRNMTBA nmtba(sheet(), run.data());
    TTabLista2 vdi(sheet(), run.data());
    struct Case {
        Report* r;
        QString band;
    };
    for (const Case& c : {Case{&iso, "QRBand5"}, Case{&nmtba, "QRBand3"}, Case{&vdi, "QRBand3"}}) {
        const PageModel m = c.r->Layout();
        ASSERT_EQ(m.PageCount(), 1);
        EXPECT_EQ(texts(m, "QRLabelPos").size(), 5u) << c.r->name.toStdString();
        EXPECT_EQ(bottomLines(m.pages[0], c.band, 27), 1) << c.r->name.toStdString();
        // The line is the last row's.
        const auto rows = m.pages[0].Named("QRLabelPos");
        double lowest = 0;
        for (const PlacedItem* l : m.pages[0].Lines())
            if (l->band == c.band && l->line.dy() == 0) lowest = std::max(lowest, l->line.y1());
        EXPECT_NEAR(lowest, rows.back()->rect.top() - 4 + 27, 0.01) << c.r->name.toStdString();
    }
    // The readings list closes with its summary band's line instead.
    TqrLista list(sheet(), run.data());
    const PageModel m = list.Layout();
    EXPECT_EQ(bottomLines(m.pages[0], "DetailBand1", 27), 0);
    EXPECT_FALSE(m.pages[0].Named("SummaryBand1").empty());
}

TEST(PositioningReports, SheetFieldsAndHeader) {
    TestRun run(2, 40);  // two pages of rows
    TQRNMTBA r(sheet(), run.data());
    const PageModel m = r.Layout();
    ASSERT_EQ(m.PageCount(), 2);
    EXPECT_EQ(texts(m, "QRSysData3"), (std::vector<QString>{"1", "2"}));
    EXPECT_EQ(texts(m, "QRLPN"), (std::vector<QString>{"of 2", "of 2"}));
    EXPECT_EQ(texts(m, "QRSysData1"), (std::vector<QString>{"2026-12-10", "2026-12-10"}));
    EXPECT_EQ(texts(m, "QRMachine")[1], "FV-580");
    EXPECT_EQ(texts(m, "QRFileName")[0], "os_x.dt2");
    EXPECT_EQ(texts(m, "QRRefStd")[0], "ISO 230-2");
    EXPECT_EQ(texts(m, "QROperator").size(), 2u);  // the footer on every page, the last one too
    EXPECT_EQ(texts(m, "QRLabelPos").size(), 40u);
    EXPECT_EQ(MeasurementNameFromCaption("Pomiar pozycjonowania - os_x.dt2", "Pomiar pozycjonowania"), "os_x.dt2");
}

TEST(PositioningReports, RunWithoutSigmasOrCyclesPrintsNoGarbage) {
    TestRun run(2, 3);
    run.sigmas.Clear();  // runs of three points have no deviations
    const PageModel m = TQRTabISO(sheet(), run.data()).Layout();
    EXPECT_EQ(texts(m, "QR6Sf"), (std::vector<QString>{"0.0", "0.0", "0.0"}));
    TCykl none;
    TPunkt empty;
    const PageModel e = TqrLista(sheet(), {&none, &empty, &empty}).Layout();
    EXPECT_EQ(e.PageCount(), 1);
    EXPECT_TRUE(texts(e, "QRLabelPos").empty());
}
