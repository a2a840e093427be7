#include <gtest/gtest.h>

#include "evaluation/TargetPoints.h"

namespace {

std::vector<double> values(const TPunkt& p) {
    std::vector<double> v;
    for (int i = 0; i < p.Count(); ++i) v.push_back(p[i].Dystans);
    return v;
}

void expectNear(const std::vector<double>& got, const std::vector<double>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], 1e-9) << i;
}

TPunkt listOf(std::initializer_list<double> v) {
    TPunkt p;
    for (double d : v) p.Add().Dystans = d;
    return p;
}

}  // namespace

TEST(TargetPoints, SpacingMode) {
    TPunkt p;
    GenerateResult r = GenerateBySpacing(p, 100, 50, 10);
    ASSERT_TRUE(r.Generated);
    expectNear(values(p), {100, 110, 120, 130, 140, 150});
    EXPECT_EQ(r.PointCount, 6);

    // an end point hit exactly by the spacing stays although 3 × 0.1 > 0.3 in binary
    r = GenerateBySpacing(p, 0, 0.3, 0.1);
    EXPECT_EQ(r.PointCount, 4);
    r = GenerateBySpacing(p, 0, 0.7, 0.1);
    EXPECT_EQ(r.PointCount, 8);
    r = GenerateBySpacing(p, 0, 10, 3);  // 9 ≤ 10 < 12
    expectNear(values(p), {0, 3, 6, 9});

    // refusals leave the list alone
    const TPunkt before = listOf({1, 2, 3});
    struct Case {
        double D, O;
        TargetField focus;
        bool tooMany;
    } cases[] = {
        {0, 10, TargetField::Distance, false},
        {50, 0, TargetField::Spacing, false},
        {50, 50, TargetField::Spacing, false},  // spacing equal to the distance
        {50, 60, TargetField::Spacing, false},
        {30000, 0.001, TargetField::Spacing, true},  // 30 000 001 points
        {253, 1, TargetField::Spacing, false},       // 254 points: allowed
    };
    for (const Case& c : cases) {
        TPunkt q = before;
        r = GenerateBySpacing(q, 0, c.D, c.O);
        if (c.D == 253) {
            EXPECT_TRUE(r.Generated);
            EXPECT_EQ(q.Count(), 254);
            continue;
        }
        EXPECT_FALSE(r.Generated) << c.D << " " << c.O;
        EXPECT_EQ(r.Focus, c.focus);
        EXPECT_EQ(r.TooMany, c.tooMany);
        EXPECT_EQ(values(q), values(before));
    }
    TPunkt q;
    EXPECT_TRUE(GenerateBySpacing(q, 0, 254, 1).TooMany);  // 255 points
}

TEST(TargetPoints, CountMode) {
    TPunkt p;
    // step 16.6667; 6 × 16.6667 = 100.0002 lies beyond the distance
    GenerateResult r = GenerateByCount(p, 0, 100, 0, 7);
    ASSERT_TRUE(r.Generated);
    EXPECT_DOUBLE_EQ(r.Step, 16.6667);
    expectNear(values(p), {0, 16.6667, 33.3334, 50.0001, 66.6668, 83.3335});

    r = GenerateByCount(p, 10, 100, 0, 5);
    expectNear(values(p), {10, 35, 60, 85, 110});  // 4 × 25 = 100 exactly: kept
    EXPECT_DOUBLE_EQ(r.Step, 25);

    // no distance: N points from 0 by the spacing, the start point not added
    r = GenerateByCount(p, 10, 0, 25, 5);
    expectNear(values(p), {0, 25, 50, 75, 100});
    EXPECT_DOUBLE_EQ(r.Distance, 100);

    TPunkt q = listOf({7});
    r = GenerateByCount(q, 0, 0, 0, 5);
    EXPECT_FALSE(r.Generated);
    EXPECT_EQ(r.Focus, TargetField::Spacing);
    // a step that rounds to 0 or gives more than 254 points is refused, never looped over
    r = GenerateByCount(q, 0, 0.001, 0, 254);
    EXPECT_FALSE(r.Generated);
    r = GenerateByCount(q, 0, 0.03, 0, 254);  // step 0.0001: 301 points
    EXPECT_TRUE(r.TooMany);
    EXPECT_EQ(values(q), std::vector<double>{7});
}

TEST(TargetPoints, EditingByValue) {
    TPunkt p = listOf({0, 10, 20});
    EXPECT_TRUE(EditTargetPoint(p, 4, "15"));     // the "Nowy" row adds in order
    expectNear(values(p), {0, 10, 15, 20});
    EXPECT_TRUE(EditTargetPoint(p, 5, "15.0000005"));  // within 1e-6: nothing added
    EXPECT_EQ(p.Count(), 4);
    EXPECT_TRUE(EditTargetPoint(p, 1, "25,5"));   // an edited point moves to its place
    expectNear(values(p), {10, 15, 20, 25.5});
    EXPECT_TRUE(EditTargetPoint(p, 1, "20"));     // duplicates another: it disappears
    expectNear(values(p), {15, 20, 25.5});
    EXPECT_FALSE(EditTargetPoint(p, 1, "1x"));
    EXPECT_FALSE(EditTargetPoint(p, 4, ""));
    expectNear(values(p), {15, 20, 25.5});

    TPunkt full;
    for (int i = 0; i < 254; ++i) full.Add().Dystans = i;
    EXPECT_FALSE(EditTargetPoint(full, 255, "1000"));
    EXPECT_EQ(full.Count(), 254);
    EXPECT_TRUE(EditTargetPoint(full, 1, "1000"));  // replacing stays within the limit
    EXPECT_EQ(full[253].Dystans, 1000);

    EXPECT_EQ(TargetNumberText(7), "  7");
    EXPECT_EQ(TargetNumberText(123), "123");
}
