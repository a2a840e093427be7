#include <gtest/gtest.h>

#include <QString>
#include <vector>

#include "app/AskSave.h"

namespace {

struct Case {
    int mode;
    SavedFlags saved;
    bool asks;
    const char* firstLine;
};

}  // namespace

// Each mode tests its own flag; the live readout and above never ask.
TEST(AskSaveChangesRule, ModeAndFlagDecideWhetherToAsk) {
    const SavedFlags none{false, false, false};
    const std::vector<Case> cases = {
        {0, none, true, "Nie zachowane pozycjonowanie"},
        {1, none, true, "Nie zachowany wykres prędkości"},
        {2, none, true, "Nie zachowany wykres prostoliniowości"},
        {3, none, true, "Nie zachowana mapa płaskości"},
        {4, none, true, "Nie zachowane pozycjonowanie kątowe"},
        {5, none, true, "Nie zachowana analiza FFT"},
        {6, none, false, nullptr},
        {10, none, false, nullptr},
        // Only the mode's own flag counts.
        {0, {true, false, false}, false, nullptr},
        {1, {false, true, false}, false, nullptr},
        {1, {true, false, true}, true, "Nie zachowany wykres prędkości"},
        {3, {false, false, true}, false, nullptr},
        {3, {true, true, false}, true, "Nie zachowana mapa płaskości"},
        {2, {true, false, false}, false, nullptr},
        {4, {false, true, true}, true, "Nie zachowane pozycjonowanie kątowe"},
    };
    for (const Case& c : cases) {
        std::vector<QString> asked;
        const int r = AskSaveChangesRule(uint8_t(c.mode), c.saved,
                                         [&](const QString& caption, const QString& line1, const QString& line2) {
                                             EXPECT_EQ(caption, QStringLiteral("Ostrzeżenie"));
                                             asked.push_back(line1 + u'\n' + line2);
                                             return 6;
                                         });
        SCOPED_TRACE(c.mode);
        if (c.asks) {
            ASSERT_EQ(asked.size(), 1u);
            EXPECT_EQ(asked[0], QString::fromUtf8(c.firstLine) + QStringLiteral("\nZachować?"));
            EXPECT_EQ(r, 6);
        } else {
            EXPECT_TRUE(asked.empty());
            EXPECT_EQ(r, 7);
        }
    }
}

// Yes and No pass through; a box closed any other way keeps the data (Cancel).
TEST(AskSaveChangesRule, AnswersOtherThanYesOrNoCountAsCancel) {
    const SavedFlags none{false, false, false};
    for (auto [answer, expected] : std::vector<std::pair<int, int>>{{6, 6}, {7, 7}, {2, 2}, {0, 2}, {1, 2}}) {
        EXPECT_EQ(AskSaveChangesRule(0, none, [&](const QString&, const QString&, const QString&) { return answer; }), expected)
            << answer;
    }
}
