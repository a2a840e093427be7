// Known answers of the unit rules: each row a case to check by hand.
#include "app/UnitConversions.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(UnitConversionsTest, HandEnteredValuesAreStoredInCelsiusAndHectopascal) {
    struct {
        const char* what;
        std::optional<double> stored;
        std::optional<double> expected;
    } cases[] = {
        {"20 °C", TemperatureToCelsius(20.0, 0), 20.0},
        {"68 °F", TemperatureToCelsius(68.0, 1), 20.0},
        {"50 °F", TemperatureToCelsius(50.0, 1), 10.0},
        {"unknown temperature unit", TemperatureToCelsius(50.0, 2), std::nullopt},
        {"1013.2 hPa", PressureToHectopascal(1013.2, 0), 1013.2},
        {"760 mmHg", PressureToHectopascal(760.0, 1), 760.0 * 1.33322},
        {"29.92 inHg", PressureToHectopascal(29.92, 2), 29.92 * 1.33322 * 25.4},
        {"unknown pressure unit", PressureToHectopascal(29.92, 3), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(c.stored.has_value(), c.expected.has_value());
        if (c.expected) EXPECT_NEAR(*c.stored, *c.expected, 1e-12);
    }
    EXPECT_NEAR(*PressureToHectopascal(29.92, 2), 1013.2, 0.05);
}

TEST(UnitConversionsTest, EntryFieldsShowTheStoredValueInTheUnit) {
    const EntryField f = TemperatureEntry(20.0, 1);
    EXPECT_DOUBLE_EQ(f.value, 68.0);
    EXPECT_DOUBLE_EQ(f.minimum, -17.0);
    EXPECT_DOUBLE_EQ(f.maximum, 104.0);
    EXPECT_DOUBLE_EQ(TemperatureEntry(20.0, 0).value, 20.0);
    EXPECT_DOUBLE_EQ(TemperatureEntry(20.0, 0).maximum, 40.0);

    struct {
        int unit;
        double value, lo, hi;
        int decimals;
    } pressure[] = {
        {0, 1013.25, 900, 1060, 1},
        {1, 1013.25 * 0.7500637554192107, 675, 795, 2},
        {2, 1013.25 * 0.7500637554192107 / 25.4, 26.6, 31.3, 3},
    };
    for (const auto& c : pressure) {
        SCOPED_TRACE(c.unit);
        const auto p = PressureEntry(1013.25, c.unit);
        ASSERT_TRUE(p);
        EXPECT_NEAR(p->value, c.value, 1e-9);
        EXPECT_DOUBLE_EQ(p->minimum, c.lo);
        EXPECT_DOUBLE_EQ(p->maximum, c.hi);
        EXPECT_EQ(p->decimals, c.decimals);
    }
    EXPECT_FALSE(PressureEntry(1013.25, 3));
}

TEST(UnitConversionsTest, LengthUnitSetsStartPointsLabelsAxisAndReadoutUnits) {
    const std::array<double, 3> mm{254.0, 90.0, -25.4};
    struct {
        int lengthUnit, mode;
        uint8_t dlu, dvu;
        std::array<double, 3> shown;
        const char* label;
        const char* axis;
        uint8_t newDlu, newDvu;
    } cases[] = {
        {0, 0, 1, 2, {254.0, 90.0, -25.4}, "[mm]", "Odległość [ mm ]", 1, 2},
        {0, 3, 4, 5, {254.0, 90.0, -25.4}, "[mm]", "Odległość [ cm ]", 0, 0},  // inch units go back
        {1, 0, 1, 2, {10.0, 90.0 / 25.4, -1.0}, "[in]", "Odległość [ in ]", 4, 5},  // µm turns into inch
        {1, 6, 5, 4, {10.0, 90.0 / 25.4, -1.0}, "[in]", "Odległość [ in ]", 5, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lengthUnit << " mode " << c.mode);
        const auto v = LengthUnitRules(c.lengthUnit, c.mode, mm, c.dlu, c.dvu);
        ASSERT_TRUE(v);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(v->startPoints[i], c.shown[i], 1e-12);
        EXPECT_EQ(v->unitLabel, c.label);
        EXPECT_EQ(v->axisTitle, QString::fromUtf8(c.axis));
        EXPECT_EQ(v->displayLengthUnit, c.newDlu);
        EXPECT_EQ(v->displayVelocityUnit, c.newDvu);
    }
    EXPECT_FALSE(LengthUnitRules(2, 0, mm, 0, 0));
}

TEST(UnitConversionsTest, ReadoutDecimalsByUnit) {
    const std::array<uint8_t, 10> p{4, 1, 5, 2, 3, 1, 6, 2, 0, 0};
    struct {
        int mode;
        uint8_t dlu, dvu;
        std::optional<int> decimals;
        std::optional<QString> length, velocity;
    } cases[] = {
        {0, 0, 0, 4, "mm", std::nullopt},
        {6, 1, 0, 1, QString::fromUtf8("µm"), std::nullopt},
        {6, 4, 0, 5, "in", std::nullopt},
        {0, 5, 0, 2, "mils", std::nullopt},
        {0, 2, 0, std::nullopt, std::nullopt, std::nullopt},  // no such length unit
        {7, 0, 0, 1, std::nullopt, "mm/s"},
        {7, 0, 1, 3, std::nullopt, "m/s"},
        {7, 0, 2, 2, std::nullopt, "m/min"},  // one decimal less than m/s
        {7, 0, 3, std::nullopt, std::nullopt, "mm/min"},
        {7, 0, 4, 6, std::nullopt, "in/s"},
        {7, 0, 5, 2, std::nullopt, "in/min"},
        {7, 0, 9, std::nullopt, std::nullopt, std::nullopt},  // out of the name table: nothing
        {2, 0, 0, std::nullopt, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " " << int(c.dlu) << "/" << int(c.dvu));
        const DisplayUnitView v = DisplayUnitRules(c.mode, c.dlu, c.dvu, p);
        EXPECT_EQ(v.decimals, c.decimals);
        EXPECT_EQ(v.lengthLabel, c.length);
        EXPECT_EQ(v.velocityLabel, c.velocity);
    }
    // m/s shown without decimals: m/min cannot go below none.
    std::array<uint8_t, 10> none{};
    EXPECT_EQ(DisplayUnitRules(7, 0, 2, none).decimals, 0);
}

}  // namespace
