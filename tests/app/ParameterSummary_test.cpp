// The status bar summary, the zero line rule and the start point rules, without a window.
#include <gtest/gtest.h>

#include <QString>
#include <vector>

#include "app/ParameterSummary.h"
#include "foundations/FR_Utils.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

using summary::SummaryInput;

namespace {

const QStringList kStatisticsNames = {"Metoda punktów końcowych", "Metoda najmniejszych kwadratów", "Brak"};

SummaryInput positioning() {
    SummaryInput in;
    in.measurementMode = 0;
    in.handAcceptCaption = QString::fromUtf8("Ręczne zaliczenie punktu");
    in.pointsFromListCaption = QStringLiteral("Punkty z listy");
    in.stopAfterCycleCaption = QString::fromUtf8("Stop po każdym cyklu");
    in.cycleCount = 2;
    in.decimalSeparator = u',';
    return in;
}

SummaryInput straightness(uint8_t method) {
    SummaryInput in;
    in.measurementMode = 2;
    in.straightnessMethod = method;
    in.baseLength = 100.0;
    in.straightnessPointCount = 5;
    in.statisticsMethodNames = kStatisticsNames;
    in.decimalSeparator = u',';
    return in;
}

struct Case {
    const char* name;
    SummaryInput in;
    std::array<const char*, 5> panels;
};

}  // namespace

class ParameterSummaryTexts : public ::testing::Test {
protected:
    // The built-in Polish texts, whatever language file another test left open.
    void SetUp() override { CloseLanguageFile(); }
};

TEST_F(ParameterSummaryTexts, EachTypeAndSettingFillsItsPanels) {
    std::vector<Case> cases;
    {
        // Points from a list ending at 500 mm, linear one-direction runs.
        SummaryInput in = positioning();
        in.pointsFromList = true;
        in.lastTarget = 500.0;
        in.uniDirectional = true;
        cases.push_back({"list, linear one-direction", in,
                         {"Zaliczanie automatyczne", "Punkty z listy, Dystans: 500,0 mm", "Liczba cykli w serii: 2",
                          "Liniowe-Jednokierunkowy", ""}});
    }
    {
        SummaryInput in = positioning();
        in.handAccept = true;
        in.stopAfterCycle = true;
        in.cycleCount = 5;
        cases.push_back({"manual acceptance, automatic points, both directions, stop", in,
                         {"Ręczne zaliczenie punktu", "Punkty automatycznie", "Liczba cykli w serii: 5",
                          "Liniowe-Dwukierunkowy", "Stop po każdym cyklu"}});
    }
    {
        SummaryInput in = positioning();
        in.positioningMethod = 1;
        in.cycleCount = 3;
        in.uniDirectional = true;  // the pilgrim patterns have no direction choice
        cases.push_back({"pilgrim", in,
                         {"Zaliczanie automatyczne", "Punkty automatycznie", "Liczba pomiarów punktu: 3", "Pielgrzym", ""}});
        in.positioningMethod = 2;
        cases.push_back({"pilgrim 2", in,
                         {"Zaliczanie automatyczne", "Punkty automatycznie", "Liczba pomiarów punktu: 3", "Pielgrzym 2", ""}});
    }
    {
        // The distance is the last target, in mm, with one decimal (five significant digits).
        SummaryInput in = positioning();
        in.pointsFromList = true;
        in.lastTarget = 1234.56;
        cases.push_back({"distance rounded", in,
                         {"Zaliczanie automatyczne", "Punkty z listy, Dystans: 1234,6 mm", "Liczba cykli w serii: 2",
                          "Liniowe-Dwukierunkowy", ""}});
        in.lastTarget.reset();
        cases.push_back({"list still empty", in,
                         {"Zaliczanie automatyczne", "Punkty z listy", "Liczba cykli w serii: 2", "Liniowe-Dwukierunkowy", ""}});
    }
    {
        // A translated caption may carry an accelerator mark; the status bar shows none.
        SummaryInput in = positioning();
        in.handAccept = true;
        in.handAcceptCaption = QStringLiteral("&Manual point acceptance");
        in.decimalSeparator = u'.';
        in.pointsFromList = true;
        in.lastTarget = -20.25;
        cases.push_back({"accelerator and point separator", in,
                         {"Manual point acceptance", "Punkty z listy, Dystans: -20.3 mm", "Liczba cykli w serii: 2",
                          "Liniowe-Dwukierunkowy", ""}});
    }
    {
        SummaryInput in = straightness(0);
        in.baseLength = 100.5;  // rounded, ties to even
        in.statisticsMethod = 1;
        cases.push_back({"angular method", in,
                         {"Metoda kątowa", "Długość podstawki: 100 mm", "Liczba punktów: 5", "",
                          "Metoda najmniejszych kwadratów"}});
        in.straightnessMethod = 1;
        in.baseLength = 49.5;
        in.statisticsMethod = 0;
        cases.push_back({"deflection method", in,
                         {"Metoda uchyleń", "Odstęp miądzy punktami: 50 mm", "Liczba punktów: 5", "",
                          "Metoda punktów końcowych"}});
        in.straightnessMethod = 2;
        in.statisticsMethod = 2;
        cases.push_back({"3-D method", in, {"3 D", "", "", "", "Brak"}});
    }
    {
        // A flatness line is a straightness line of the map.
        SummaryInput in = straightness(0);
        in.measurementMode = 3;
        in.straightnessPointCount = 12;
        cases.push_back({"flatness line", in,
                         {"Metoda kątowa", "Długość podstawki: 100 mm", "Liczba punktów: 12", "",
                          "Metoda punktów końcowych"}});
    }
    {
        // Indexes the settings should never hold show nothing rather than a wrong name.
        SummaryInput in = straightness(7);
        in.statisticsMethod = 3;
        cases.push_back({"unknown methods", in, {"", "", "", "", ""}});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::array<QString, 5> got = summary::MeasurementParameterTexts(c.in);
        for (int i = 0; i < 5; ++i) EXPECT_EQ(got[size_t(i)], QString::fromUtf8(c.panels[size_t(i)])) << "panel " << i;
    }
}

TEST(ParameterSummaryRules, StraightnessUnitFollowsTheMethod) {
    EXPECT_EQ(summary::StraightnessUnitCaption(0), "sek");
    EXPECT_EQ(summary::StraightnessUnitCaption(1), QString::fromUtf8("µm"));
    EXPECT_EQ(summary::StraightnessUnitCaption(2), QString::fromUtf8("µm"));
}

TEST(ParameterSummaryRules, ZeroLineOnlyWhenZeroIsInsideTheRange) {
    struct Range {
        double lo, hi;
        bool shown;
    };
    for (const Range& r : std::vector<Range>{{0, 5, false}, {-2, 3, true}, {-5, 0, false}, {-1, -0.5, false},
                                             {0, 0, false}, {-1e-6, 1e-6, true}}) {
        EXPECT_EQ(summary::ZeroLineShown(r.lo, r.hi), r.shown) << r.lo << " .. " << r.hi;
    }
}

TEST(ParameterSummaryRules, StartPointIsStoredInMillimetres) {
    struct Edit {
        double stored;
        const char* text;
        int unit;
        double expected;
    };
    const int mm = summary::StartPointDecimals(0), in = summary::StartPointDecimals(1);
    for (const Edit& e : std::vector<Edit>{
             {0.0, "1", 1, 25.4},              // 1 in is 25.4 mm
             {0.0, "1,5", 0, 1.5},             // mm as typed, either separator
             {0.0, "-2.25", 0, -2.25},
             {10.0, "0,3937", 1, 10.0},        // the text the stored value is shown with keeps it
             {10.0, "0,3940", 1, 0.394 * 25.4},
             {12.3456, "12,346", 0, 12.3456},  // shown rounded, kept exact
             {12.3456, "12,3", 0, 12.3},
             {5.0, "", 0, 0.0},                // no number: the edit's value is 0
         }) {
        SCOPED_TRACE(e.text);
        EXPECT_DOUBLE_EQ(summary::StartPointFromEdit(e.stored, QString::fromUtf8(e.text), e.unit == 1 ? in : mm, e.unit, u','),
                         e.expected);
    }
    EXPECT_EQ(summary::StartPointText(25.4, in, 1, u','), "1,0000");
    EXPECT_EQ(summary::StartPointText(-3.0, mm, 0, u'.'), "-3.000");
}
