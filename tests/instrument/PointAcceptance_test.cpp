#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "instrument/PointAcceptance.h"
#include "support/AcceptanceSinkDouble.h"

using namespace instrument;

namespace {

struct Stored {
    int i, cycle;
    double v;
    bool forward;
    bool operator==(const Stored& o) const {
        return i == o.i && cycle == o.cycle && std::fabs(v - o.v) < 1e-9 && forward == o.forward;
    }
};
std::ostream& operator<<(std::ostream& os, const Stored& s) {
    return os << "{" << s.i << "," << s.cycle << "," << s.v << "," << (s.forward ? "F" : "B") << "}";
}

// Records what acceptance asks of the main window, and does what the main window's routines do
// to the state they own (taught targets, cycle starts).
class RecordingSink : public testsupport::AcceptanceSinkDouble {
public:
    PointAcceptance* engine = nullptr;
    TPunkt* targets = nullptr;
    std::vector<Stored> stored;
    std::vector<std::string> calls;
    std::vector<QString> infos;
    int cycles = 1;
    int beeps = 0;
    double motorTolerance = 1.0;

    void MessageBeep() override { ++beeps; }
    void TurnBack(int cyclePoint, int rows) override {
        calls.push_back("turnback " + std::to_string(cyclePoint) + " " + std::to_string(rows));
    }
    void StorePositioningPoint(int i, int cycle, double v, bool forward) override {
        stored.push_back({i, cycle, v, forward});
        if (forward && engine->TeachingCycle()) targets->Add().Dystans = std::nearbyint(v);
    }
    void FillPositioningGrid(int i, int cycle, double v, bool forward) override { stored.push_back({i, cycle, v, forward}); }
    int PositioningCycleCount() override { return cycles; }
    void SaveBackupCopy() override { calls.push_back("backup"); }
    void ShowReturnToStart(double start) override { calls.push_back("return to " + std::to_string(int(start))); }
    void HideReturnToStart() override { calls.push_back("returned"); }
    void StartPositioningCycle() override {
        calls.push_back("startcycle");
        ++cycles;
        engine->state.currentCycle = cycles;
        engine->ResetForCycle(false);
    }
    void FinishPositioningMeasurement() override { calls.push_back("finish"); }
    void SpeedButtonZnakClick() override { calls.push_back("sign"); }
    void ShowStraightnessInfo(const QString& s) override { infos.push_back(s); }
    void StoreStraightnessPoint(double v) override { stored.push_back({0, 0, v, true}); }
    void EndMeasurementRun() override { calls.push_back("end"); }
    bool MotorToTarget(int, double target, double v) override { return std::fabs(v - target) < motorTolerance; }
    void RestartCounting() override { calls.push_back("restart"); }
    void ShowAngularInfo(const QString& s) override { infos.push_back(s); }
    void AddAngularPoint(int i) override { calls.push_back("angular " + std::to_string(i)); }
    void FinishAngularMeasurement() override { calls.push_back("finishangular"); }
};

struct Rig {
    RecordingSink sink;
    TPunkt targets, angularTargets, angularPoints;
    std::atomic<bool> head{false};
    PointAcceptance eng{sink, targets, angularTargets, angularPoints, head};
    int method = 0;

    Rig(std::vector<double> list, int method_ = 0) : method(method_) {
        sink.engine = &eng;
        sink.targets = &targets;
        for (double t : list) targets.Add().Dystans = t;
        eng.settings.errorWindow = 100;    // ±0.1 mm
        eng.settings.vibration = 5;
        eng.settings.pointNumber = 3;
        eng.settings.pointDistance = 1000;
        eng.settings.cycleCount = 1;
        eng.settings.pointsFromList = !list.empty();
        eng.ResetForCycle(true);
    }
    void rest(double mm, int samples = 6) {
        for (int k = 0; k < samples; ++k) eng.AcceptPositioning(method, mm);
    }
    int count(const std::string& call) const {
        int n = 0;
        for (const auto& c : sink.calls) n += c == call;
        return n;
    }
};

}  // namespace

TEST(PointAcceptance, LinearRunWithListedTargets) {
    Rig r({0, 10, 20});
    r.eng.settings.cycleCount = 2;
    r.rest(0);
    r.rest(10.002);
    r.rest(20.001);
    r.rest(22);  // overshoot: the reference moves above the last target
    r.rest(20.0);
    r.rest(10.0);
    r.rest(0.003);
    EXPECT_TRUE(r.eng.state.passFinished);
    // The run now waits for the axis at the start, and says so.
    EXPECT_EQ(r.sink.calls, (std::vector<std::string>{"return to 0"}));
    r.rest(-2);  // away from the start and back again ends the pass
    r.rest(0.0);
    const std::vector<Stored> expected = {{0, 1, 0, true},    {1, 1, 10.002, true}, {2, 1, 20.001, true},
                                          {2, 1, 20.0, false}, {1, 1, 10.0, false},  {0, 1, 0.003, false}};
    EXPECT_EQ(r.sink.stored, expected);
    EXPECT_EQ(r.sink.calls, (std::vector<std::string>{"return to 0", "returned", "backup", "startcycle"}));
    EXPECT_EQ(r.eng.state.currentCycle, 2);
    r.rest(0.01);
    ASSERT_EQ(r.sink.stored.size(), 7u);
    EXPECT_EQ(r.sink.stored.back(), (Stored{0, 2, 0.01, true}));
    EXPECT_EQ(r.sink.beeps, 7);
}

TEST(PointAcceptance, LinearDistanceAndWindowRules) {
    {  // a stop within PointDistance of the last point is never accepted, however long it rests
        Rig r({0, 0.5});
        r.rest(0);
        r.rest(0.5, 2000);
        EXPECT_EQ(r.sink.stored.size(), 1u);
    }
    {  // a stop outside the window moves the reference: 10 is then only 0.5 mm from it
        Rig r({0, 10});
        r.rest(0);
        r.rest(9.5);
        r.rest(10.0, 100);
        EXPECT_EQ(r.sink.stored.size(), 1u);
        EXPECT_NEAR(r.eng.state.lastAcceptedValue, 9.5, 1e-12);
    }
    {  // without that stop the same point is accepted
        Rig r({0, 10});
        r.rest(0);
        r.rest(10.0);
        EXPECT_EQ(r.sink.stored.size(), 2u);
    }
    {  // the start point shifts every reading
        Rig r({100, 110});
        r.eng.settings.startPoint = 100;
        EXPECT_DOUBLE_EQ(r.eng.AcceptLinear(0.25), 100.25);
        r.rest(0.0);
        ASSERT_EQ(r.sink.stored.size(), 1u);
        EXPECT_EQ(r.sink.stored[0], (Stored{0, 1, 100.0, true}));
    }
}

TEST(PointAcceptance, LinearSettleTimesAndUnsettledReadings) {
    {  // more than 255 stable samples needed
        Rig r({0, 10});
        r.eng.settings.pointNumber = 300;
        r.rest(5, 1);
        r.rest(0, 300);  // the first sample at 0 is a move
        EXPECT_TRUE(r.sink.stored.empty());
        r.rest(0, 1);
        EXPECT_EQ(r.sink.stored.size(), 1u);
    }
    {  // a reading that keeps swinging by more than the band never settles
        Rig r({0, 10});
        for (int k = 0; k < 2000; ++k) r.eng.AcceptLinear(k % 2 ? 0.006 : -0.006);
        EXPECT_TRUE(r.sink.stored.empty());
    }
}

TEST(PointAcceptance, LinearTeachingCycleTurnsBack) {
    Rig r({});
    r.rest(0.2);
    r.rest(10.1);
    r.rest(20.3);
    r.rest(25);  // taught as a point first, dropped when the axis turns back
    ASSERT_EQ(r.targets.Count(), 4);
    r.rest(20.3 - 0.004);
    EXPECT_EQ(r.sink.calls, (std::vector<std::string>{"turnback 3 4"}));
    ASSERT_EQ(r.targets.Count(), 3);
    EXPECT_EQ(r.targets[2].Dystans, 20.0);
    r.rest(10.1);
    r.rest(0.2);
    const std::vector<Stored> expected = {{0, 1, 0.2, true},   {1, 1, 10.1, true},  {2, 1, 20.3, true}, {3, 1, 25, true},
                                          {2, 1, 20.296, false}, {1, 1, 10.1, false}, {0, 1, 0.2, false}};
    EXPECT_EQ(r.sink.stored, expected);
    EXPECT_TRUE(r.eng.state.passFinished);
}

TEST(PointAcceptance, LinearTurnBackWithOneTaughtPointStoresNothing) {
    Rig r({});
    r.rest(10);
    r.rest(5);  // below the only taught point
    EXPECT_EQ(r.sink.stored.size(), 1u);
    EXPECT_EQ(r.targets.Count(), 1);
    EXPECT_TRUE(r.eng.state.forwardPass);
    EXPECT_TRUE(r.sink.calls.empty());
    r.rest(15);
    ASSERT_EQ(r.sink.stored.size(), 2u);
    EXPECT_EQ(r.sink.stored[1], (Stored{1, 1, 15, true}));
}

TEST(PointAcceptance, LinearUnidirectionalManualAndSign) {
    {
        Rig r({0, 10});
        r.eng.settings.uniDirectional = true;
        r.rest(0);
        r.rest(10);
        EXPECT_EQ(r.sink.calls, (std::vector<std::string>{"backup"}));
        EXPECT_FALSE(r.eng.state.forwardPass);
    }
    {  // manual: a request counts only inside the window; the head's key works too
        Rig r({0, 10});
        r.eng.settings.manualAccept = true;
        r.rest(0, 100);
        EXPECT_TRUE(r.sink.stored.empty());
        r.eng.state.manualAcceptRequest = true;
        r.rest(0, 1);
        EXPECT_EQ(r.sink.stored.size(), 1u);
        r.head = true;
        r.rest(5, 1);
        EXPECT_EQ(r.sink.stored.size(), 1u);
        EXPECT_TRUE(r.head);
        r.rest(10.05, 1);
        EXPECT_EQ(r.sink.stored.size(), 2u);
        EXPECT_FALSE(r.head);
    }
    {  // a negative reading past the first point flips the sign button
        Rig r({0, 10});
        r.eng.AcceptLinear(-3);
        EXPECT_EQ(r.count("sign"), 0);
        r.rest(0);
        r.eng.AcceptLinear(-3);
        EXPECT_EQ(r.count("sign"), 1);
    }
}

namespace {
// Drives a pilgrim run over listed targets: each approach rests beside the target (below or
// above) and then on it.
void approach(Rig& r, double t, bool fromBelow) {
    r.rest(fromBelow ? t - 1 : t + 1);
    r.rest(t + 0.004);
}
}  // namespace

TEST(PointAcceptance, PilgrimOrders) {
    struct Case {
        int method, cycles;
    } cases[] = {{1, 1}, {1, 2}, {1, 3}, {2, 1}, {2, 2}, {2, 3}};
    const std::vector<double> list = {0, 10, 20};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "method " << c.method << " cycles " << c.cycles);
        Rig r(list, c.method);
        r.eng.settings.cycleCount = c.cycles;
        std::vector<Stored> expected;
        for (int i = 0; i < 3; ++i) {
            for (int k = 0; k < 2 * c.cycles; ++k) {
                // Pilgrim: below, above, below, above...; pilgrim 2: all below, then all above.
                const bool fromBelow = c.method == 1 ? k % 2 == 0 : k < c.cycles;
                const int cycle = c.method == 1 ? k / 2 + 1 : k % c.cycles + 1;
                approach(r, list[i], fromBelow);
                expected.push_back({i, cycle, list[i] + 0.004, fromBelow});
            }
        }
        EXPECT_EQ(r.sink.stored, expected);
        EXPECT_EQ(r.sink.stored.size(), 6u * c.cycles);
        EXPECT_EQ(r.count("finish"), 1);
        EXPECT_EQ(r.sink.beeps, 6 * c.cycles);
    }
}

TEST(PointAcceptance, PilgrimLeavesTheWindowUpwardsPilgrim2EitherWay) {
    for (int method : {1, 2}) {
        Rig r({0, 10}, method);
        approach(r, 0, true);  // with one cycle pilgrim 2 now wants the backward approach too
        r.rest(-1);            // leave downwards
        r.rest(0);
        EXPECT_EQ(r.sink.stored.size(), method == 1 ? 1u : 2u) << method;
        if (method == 2) {
            EXPECT_FALSE(r.sink.stored[1].forward);
        }
    }
}

TEST(PointAcceptance, PilgrimTeachesTargetsAndSettlesLong) {
    Rig r({}, 1);
    r.eng.settings.pointNumber = 400;
    r.rest(5.2, 402);  // state change, then 400 stable samples
    ASSERT_EQ(r.targets.Count(), 1);
    EXPECT_EQ(r.targets[0].Dystans, 5.0);
    r.rest(6.2, 3);
    r.rest(5.0, 402);
    r.rest(7.3, 404);  // leaves, then taught at once as the next point
    const std::vector<Stored> expected = {{0, 1, 5.2, true}, {0, 1, 5.0, false}, {1, 1, 7.3, true}};
    EXPECT_EQ(r.sink.stored, expected);
    ASSERT_EQ(r.targets.Count(), 2);
    EXPECT_EQ(r.targets[1].Dystans, 7.0);
    EXPECT_EQ(r.count("finish"), 0);  // taught runs end by the user's stop
}

TEST(PointAcceptance, PilgrimManualAcceptance) {
    Rig r({0, 10}, 1);
    r.eng.settings.manualAccept = true;
    r.eng.state.manualAcceptRequest = true;  // a request before the window is reached is dropped
    r.rest(0, 50);
    EXPECT_TRUE(r.sink.stored.empty());
    r.head = true;
    r.rest(0, 1);
    EXPECT_EQ(r.sink.stored.size(), 1u);
}

TEST(PointAcceptance, StraightnessOnRequest) {
    for (bool autoEnd : {true, false}) {
        Rig r({});
        r.eng.settings.autoEndLine = autoEnd;
        r.eng.settings.straightnessPointCount = 2;
        r.eng.settings.moveThreshold = 10;
        r.eng.AcceptStraightness(0.5);  // nothing asked
        EXPECT_TRUE(r.sink.infos.empty());
        r.eng.AcceptStraightness(2.0);  // moved by more than the threshold: prompt
        ASSERT_EQ(r.sink.infos.size(), 1u);
        EXPECT_EQ(r.sink.infos[0], QStringLiteral("Zalicz punkt 1."));
        r.head = true;
        r.eng.AcceptStraightness(2.0);
        EXPECT_FALSE(r.head);
        EXPECT_EQ(r.sink.infos.back(), QStringLiteral("Punkt 1 zaliczony."));
        for (int k = 0; k < 3; ++k) {
            r.eng.state.manualAcceptRequest = true;
            r.eng.AcceptStraightness(4.0 + k);
        }
        EXPECT_EQ(r.eng.state.acceptedPointCount, 4);
        EXPECT_EQ(r.sink.stored.size(), 4u);
        EXPECT_EQ(r.count("end"), autoEnd ? 3 : 0);  // once the count is reached, at every later point
    }
}

TEST(PointAcceptance, AngularDivisionsWithDriveBack) {
    Rig r({});
    for (double a : {30.0, 60.0, 90.0}) r.angularTargets.Add().Dystans = a;
    r.eng.settings.errorWindowPK = 10;
    r.eng.settings.vibrationPK = 2;
    r.eng.settings.pointNumberPK = 3;
    auto rest = [&](double v, int n = 5) {
        for (int k = 0; k < n; ++k) r.eng.AcceptAngular(v);
    };
    rest(108005);          // first division: always in the window
    EXPECT_TRUE(r.eng.state.awaitingRotation);
    rest(50000, 3);        // still driving back
    rest(0.5, 1);          // arrived
    EXPECT_FALSE(r.eng.state.awaitingRotation);
    EXPECT_EQ(r.sink.infos.back(), QStringLiteral("Wykonaj Obrót"));
    rest(107990, 300);     // exactly 10" off: outside the window
    EXPECT_EQ(r.angularPoints.Count(), 1);
    rest(107992);
    rest(0.2, 1);
    r.eng.state.manualAcceptRequest = true;  // manual request accepts even outside the window
    rest(100000, 1);
    ASSERT_EQ(r.angularPoints.Count(), 3);
    struct Expect {
        double d, xa, xr;
    } expected[] = {{30, 5, 5}, {60, -8, -3}, {90, 100000 - 108000, 108005 + 107992 + 100000 - 324000}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(r.angularPoints[i].Dystans, expected[i].d) << i;
        EXPECT_NEAR(r.angularPoints[i].Xa, expected[i].xa, 1e-9) << i;
        EXPECT_NEAR(r.angularPoints[i].Xr, expected[i].xr, 1e-9) << i;
    }
    EXPECT_EQ(r.count("finishangular"), 1);
    EXPECT_EQ(r.count("restart"), 2);
    EXPECT_EQ(r.count("angular 2"), 1);
    rest(0.0, 5);
    rest(108000, 10);  // after the last division nothing more is accepted
    EXPECT_EQ(r.angularPoints.Count(), 3);
}
