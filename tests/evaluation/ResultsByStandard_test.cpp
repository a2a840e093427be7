#include <gtest/gtest.h>

#include <set>

#include "evaluation/PositioningFixture.h"
#include "evaluation/ResultsByStandard.h"
#include "foundations/HeadList.h"

using namespace evaluation;
using namespace positioning_fixture;

namespace {

struct Evaluated {
    TCykl cycles;
    TPunkt means, sigmas;
    explicit Evaluated(TCykl c) : cycles(std::move(c)) {
        ComputePointMeans(cycles, means);
        ComputePointSigmas(cycles, sigmas);
    }
    PositioningResults results(int standard, const std::optional<MachineLimits>& limits = std::nullopt) const {
        auto r = FillPositioningResults(standard, cycles, means, sigmas, limits, u'.');
        if (!r) throw std::runtime_error("no results");
        return *r;
    }
};

QStringList texts(const PositioningResults& r) {
    QStringList out;
    for (const auto& row : r.rows) out << row.text;
    return out;
}

QStringList u8(std::initializer_list<const char*> rows) {
    QStringList out;
    for (const char* r : rows) out << QString::fromUtf8(r);
    return out;
}

}  // namespace

TEST(ResultsByStandard, ResultLine) {
    EXPECT_EQ(ResultLine("P", 12.34, 0.0, u'.'), QString::fromUtf8("P * -- * 12.3 µm"));
    EXPECT_EQ(ResultLine("P", -1.25, 8.0, u','), QString::fromUtf8("P * 8,0 * -1,3 µm"));
    EXPECT_EQ(ResultLine("P", 0.0, std::nan(""), u'.'), QString::fromUtf8("P * -- * 0.0 µm"));
}

// Every standard for the hand-worked bidirectional run (figures in PositioningFixture.h),
// without a machine record: every limit "--".
TEST(ResultsByStandard, RowsOfEveryStandardForBidirectionalRun) {
    const Evaluated e(bidirectionalRun());
    const QStringList want[6] = {
        u8({"Dokładność:", "w przód * -- * 12.0 µm", "w tył * -- * 20.0 µm", "dwukierunkowa * -- * 20.5 µm", "",
            "Powtarzalność:", "w przód * -- * 6.0 µm", "w tył * -- * 6.0 µm", "dwukierunkowa * -- * 9.2 µm", "",
            "Luz zwrotny:", "średni * -- * 1.5 µm", "maksymalny * -- * 5.0 µm"}),
        u8({"Dokładność:", "w przód * -- * 12.0 µm", "w tył * -- * 20.0 µm", "całkowita A * -- * 20.0 µm", "",
            "Powtarzalność:", "w przód R * -- * 12.0 µm", "w tył R * -- * 12.0 µm",
            "dwukierunkowa R * -- * 14.0 µm", "", "Błąd powrotu:", "średni B * -- * 1.5 µm",
            "maksymalny * -- * 5.0 µm"}),
        u8({"Dokładność:", "w przód * -- * 12.0 µm", "w tył * -- * 20.0 µm", "Pa * -- * 7.5 µm", "P * -- * 15.0 µm",
            "", "Powtarzalność:", "w przód * -- * 12.0 µm", "w tył * -- * 12.0 µm", "Ps * -- * 9.0 µm",
            "Ps+U * -- * 14.0 µm", "", "Błąd powrotu:", "średni * -- * 1.5 µm", "maksymalny U * -- * 5.0 µm"}),
        u8({"Dokładność:", "w przód * -- * 12.0 µm", "w tył * -- * 20.0 µm", "całkowita A * -- * 20.0 µm",
            "D * -- * 7.5 µm", "", "Powtarzalność:", "RU+ * -- * 12.0 µm", "RU- * -- * 12.0 µm", "RB * -- * 14.0 µm",
            "", "Błąd powrotu:", "średni B * -- * 1.5 µm", "maksymalny * -- * 5.0 µm"}),
        u8({"Dokładność:", "Mar * -- * 20.0 µm", "", "Powtarzalność:", "Rpmax * -- * 12.0 µm", "", "Luz zwrotny:",
            "Nmax * -- * 5.0 µm"}),
        u8({"Dokładność:", "w przód * -- * 6.0 µm", "w tył * -- * 12.0 µm", "", "Powtarzalność:",
            "maksymalny * -- * 12.0 µm", "", "Błąd powrotu:", "maksymalny * -- * 5.0 µm"}),
    };
    for (int s = 0; s < 6; ++s) {
        SCOPED_TRACE(s);
        const PositioningResults r = e.results(s);
        EXPECT_EQ(texts(r), want[s]);
        for (const auto& row : r.rows) EXPECT_EQ(row.flag, 0);
    }
}

TEST(ResultsByStandard, RowsOfEveryStandardForUnidirectionalRun) {
    const Evaluated e(unidirectionalRun());
    const QStringList want[6] = {
        u8({"Dokładność:", "w przód * -- * 12.0 µm", "", "Powtarzalność:", "w przód * -- * 6.0 µm"}),
        u8({"Dokładność:", "w przód * -- * 12.0 µm", "", "Powtarzalność:", "w przód R * -- * 12.0 µm"}),
        u8({"Dokładność:", "w przód * -- * 12.0 µm", "", "Powtarzalność:", "w przód * -- * 12.0 µm"}),
        u8({"Dokładność:", "w przód * -- * 12.0 µm", "", "Powtarzalność:", "RU+ * -- * 12.0 µm"}),
        // PN lists every row; the backward line of zeros is taken in as it is.
        u8({"Dokładność:", "Mar * -- * 14.0 µm", "", "Powtarzalność:", "Rpmax * -- * 12.0 µm", "", "Luz zwrotny:",
            "Nmax * -- * 10.0 µm"}),
        u8({"Dokładność:", "w przód * -- * 6.0 µm", "", "Powtarzalność:", "maksymalny * -- * 10.0 µm"}),
    };
    for (int s = 0; s < 6; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(texts(e.results(s)), want[s]);
    }
}

TEST(ResultsByStandard, LimitsAndFlags) {
    const Evaluated e(bidirectionalRun());
    MachineLimits lim;
    lim.Iso_dok_p = 11.96;  // A↑ = 12 is 0.04 above: marked although both print 12.0
    lim.Iso_dok_t = 20.0;   // A↓ = 20 equal: not marked
    lim.Iso_pow_p = 12.5;   // below the limit
    lim.Iso_lzs = -1.0;     // a negative limit is printed but never marks
    lim.Iso_lzm = 4.0;      // Bmax = 5 above
    const PositioningResults r = e.results(1, lim);
    struct Row {
        int index;
        const char* text;
        int flag;
    } rows[] = {
        {1, "w przód * 12.0 * 12.0 µm", 1}, {2, "w tył * 20.0 * 20.0 µm", 0},
        {3, "całkowita A * -- * 20.0 µm", 0}, {6, "w przód R * 12.5 * 12.0 µm", 0},
        {11, "średni B * -1.0 * 1.5 µm", 0},   {12, "maksymalny * 4.0 * 5.0 µm", 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.index);
        EXPECT_EQ(r.rows[row.index].text, QString::fromUtf8(row.text));
        EXPECT_EQ(r.rows[row.index].flag, row.flag);
    }
    // Headings and blanks never marked.
    EXPECT_EQ(r.rows[0].flag, 0);
    EXPECT_EQ(r.rows[4].flag, 0);
}

TEST(ResultsByStandard, NmtbaRepeatabilityComparesHalvedValue) {
    const Evaluated e(bidirectionalRun());
    MachineLimits lim;
    lim.Ntba_pow_p = 11.0;  // R↑ = 12 would be over it; the row shows and compares 6.0
    lim.Ntba_pow_t = 5.99;
    const PositioningResults r = e.results(0, lim);
    EXPECT_EQ(r.rows[6], (ResultRow{QString::fromUtf8("w przód * 11.0 * 6.0 µm"), 0}));
    EXPECT_EQ(r.rows[7], (ResultRow{QString::fromUtf8("w tył * 6.0 * 6.0 µm"), 1}));
}

TEST(ResultsByStandard, EveryStandardReadsItsOwnLimitFields) {
    // Each field set to a tiny limit marks exactly the row it belongs to (all figures here > 0).
    const Evaluated e(bidirectionalRun());
    const std::vector<std::pair<int, std::vector<const char*>>> fieldsByStandard = {
        {0, {"Ntba_dok_p", "Ntba_dok_t", "Ntba_dok_d", "Ntba_pow_p", "Ntba_pow_t", "Ntba_pow_d", "Ntba_lzs", "Ntba_lzm"}},
        {1, {"Iso_dok_p", "Iso_dok_t", "Iso_dok_d", "Iso_pow_p", "Iso_pow_t", "Iso_pow_d", "Iso_lzs", "Iso_lzm"}},
        {2, {"Vdi_dok_p", "Vdi_dok_t", "Vdi_pa", "Vdi_p", "Vdi_pow_p", "Vdi_pow_t", "Vdi_ps", "Vdi_ps+u", "Vdi_lzs",
             "Vdi_lzm"}},
        {3, {"Bsi_pow_p", "Bsi_pow_t", "Bsi_pow_d", "Bsi_d", "Bsi_ru+", "Bsi_ru-", "Bsi_rb", "Bsi_lzs", "Bsi_lzm"}},
        {4, {"Pn_mar", "Pn_rpmax", "Pn_nmax"}},
        {5, {"JIS_Aca", "JIS_ACR", "JIS_Rep", "JIS_LM"}},
    };
    size_t total = 0;
    for (const auto& [standard, fields] : fieldsByStandard) {
        std::vector<int> markedRows;
        for (const char* field : fields) {
            MachineLimits lim;
            bool found = false;
            for (const auto& f : MachineLimitFields())
                if (QString(f.name) == field) {
                    lim.*f.member = 0.01;
                    found = true;
                }
            ASSERT_TRUE(found) << field;
            const PositioningResults r = e.results(standard, lim);
            std::vector<int> marked;
            for (size_t i = 0; i < r.rows.size(); ++i)
                if (r.rows[i].flag) marked.push_back(static_cast<int>(i));
            ASSERT_EQ(marked.size(), 1u) << field;
            markedRows.push_back(marked[0]);
        }
        // Fields in table order mark the figure rows in list order.
        EXPECT_TRUE(std::is_sorted(markedRows.begin(), markedRows.end())) << standard;
        EXPECT_EQ(std::set<int>(markedRows.begin(), markedRows.end()).size(), fields.size()) << standard;
        total += fields.size();
    }
    EXPECT_EQ(total, MachineLimitFields().size());
}

TEST(ResultsByStandard, SeriesSwitchedByStandard) {
    const std::set<QString> F{"SredniaWPrzod", "SredniaPp3Sigma", "SredniaPm3Sigma",
                              "SredniaWTyl",   "SredniaTp3Sigma", "SredniaTm3Sigma"};
    const std::set<QString> D{"SredniaDwukier", "SredniaDp3Sigma", "SredniaDm3Sigma"};
    const std::set<QString> V{"SredniaVDI", "SredniaVDIpA", "SredniaVDImA", "SredniaVDIpU", "SredniaVDImU"};
    auto with = [](std::set<QString> s, const QString& n) {
        s.insert(n);
        return s;
    };
    const std::set<QString> want[6] = {D, with(F, "LuzZwrotny"), V, with(F, "LuzZwrotny"), with(F, "LuzZwrotny"),
                                       {"SredniaWPrzod", "SredniaWTyl"}};
    for (int s = 0; s < 6; ++s) {
        SCOPED_TRACE(s);
        const auto switches = StandardSeries(s);
        EXPECT_EQ(switches.size(), 15u);  // F, D, LuzZwrotny, V
        std::set<QString> on;
        for (const auto& sw : switches)
            if (sw.active) on.insert(sw.name);
        EXPECT_EQ(on, want[s]);
    }
}

TEST(ResultsByStandard, NothingToShowAndUnknownStandard) {
    const Evaluated e(bidirectionalRun());
    EXPECT_EQ(FillPositioningResults(1, e.cycles, TPunkt(), e.sigmas, std::nullopt), std::nullopt);
    const PositioningResults r = e.results(6);
    EXPECT_TRUE(r.rows.empty());
    EXPECT_TRUE(r.series.empty());
}

TEST(ResultsByStandard, NegativeMeanReversalPrintsItsSign) {
    // Forward and backward swapped: B̄ = -1.5, Bmax still 5.
    TCykl run = bidirectionalRun();
    for (int c = 0; c < run.Count(); ++c)
        for (int k = 0; k < run[c].Punkt.Count(); ++k) std::swap(run[c].Punkt[k].Xa, run[c].Punkt[k].Xr);
    const PositioningResults r = Evaluated(std::move(run)).results(1);
    EXPECT_EQ(r.rows[11].text, QString::fromUtf8("średni B * -- * -1.5 µm"));
    EXPECT_EQ(r.rows[12].text, QString::fromUtf8("maksymalny * -- * 5.0 µm"));
}

TEST(ResultsByStandard, FillsResultsListWithFlags) {
    const Evaluated e(bidirectionalRun());
    MachineLimits lim;
    lim.Pn_nmax = 1.0;
    THeaderListbox list;
    list.AddItem("old", 1);
    FillResultsList(list, e.results(4, lim));
    ASSERT_EQ(list.Count(), 8);
    EXPECT_EQ(list.Item(7), QString::fromUtf8("Nmax * 1.0 * 5.0 µm"));
    EXPECT_EQ(list.ItemFlag(7), 1);
    EXPECT_EQ(list.ItemFlag(1), 0);
}
