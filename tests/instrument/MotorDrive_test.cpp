// The reflector drive: which bytes one reading leads to, a drive back over several samples, and
// the hand-turning dialog, against a recording link and over the simulated head.
#include "instrument/MotorDrive.h"

#include <QApplication>
#include <QToolButton>
#include <cmath>
#include <limits>

#include "HeadOnPort.h"
#include "app/dialogs/UUstawSilnik.h"

using instrument::DecideMotorStep;
using instrument::MotorDecision;

namespace {

struct RecordingLink : ICommandLink {
    std::string sent;
    void SendCommandByte(uint8_t b) override { sent.push_back(static_cast<char>(b)); }
};

struct MotorRow {
    const char* what;
    uint8_t direction;
    double target, value;
    bool running;
    MotorDecision expected;
};

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

}  // namespace

TEST(MotorDecision, Table) {
    const MotorRow rows[] = {
        {"49 from the target: arrived, nothing sent", 0, 0, 49, false, {"", false, true}},
        {"49 from the target, motor running: stopped, arrived", 0, 0, 49, true, {"x", false, true}},
        {"at the target", 1, 1000, 1000, false, {"", false, true}},
        {"negative reading by its absolute value", 0, 1000, -1030, false, {"", false, true}},
        {"exactly 50 below is outside the window: a step", 0, 1000, 950, false, {"u", false, false}},
        {"exactly 50 above: a step", 1, 1000, 1050, false, {"v", false, false}},
        {"just inside the window above", 0, 1000, 1049.9, false, {"", false, true}},
        {"exactly 1500 from the target is stepped, not run", 0, 0, 1500, false, {"u", false, false}},
        {"exactly 1500, direction left", 1, 0, -1500, false, {"v", false, false}},
        {"within 1500 while running: stop, then a step", 1, 0, 1400, true, {"xv", false, false}},
        {"reading below the target, far: run right", 0, 3000, 100, false, {"uw", true, false}},
        {"reading above the target, far: run left", 1, 0, 1500.5, false, {"vw", true, false}},
        {"far and already running: nothing more", 0, 0, -5000, true, {"", true, false}},
        {"reading above the target, near: same direction byte", 0, 3000, 4400, false, {"u", false, false}},
        {"no number, running: stopped, not arrived", 0, 0, kNaN, true, {"x", false, false}},
        {"no number, idle: nothing", 1, 0, kNaN, false, {"", false, false}},
        {"infinite reading never starts the motor", 0, 0, kInf, false, {"", false, false}},
    };
    for (const MotorRow& r : rows) {
        EXPECT_EQ(DecideMotorStep(r.direction, r.target, r.value, r.running), r.expected) << r.what;
    }
}

// A drive back from a division: run, coast, stop and step, step, arrive; then nothing more.
TEST(MotorToTarget, DrivesBackOverSamples) {
    MotorRunning = false;
    RecordingLink link;
    std::vector<bool> arrived;
    for (double v : {5000.0, 3000.0, 1200.0, 600.0, 30.0, -20.0})
        arrived.push_back(instrument::MotorToTarget(0, 0.0, v, link));
    EXPECT_EQ(link.sent, "uwxuu");
    EXPECT_EQ(arrived, (std::vector<bool>{false, false, false, false, true, true}));
    EXPECT_FALSE(MotorRunning.load());
}

class UstawSilnik : public ::testing::Test {
protected:
    void SetUp() override { MotorRunning = false; }
    void TearDown() override { MotorRunning = false; }
    RecordingLink link;
};

TEST_F(UstawSilnik, ButtonsSendTheirBytesAndStayDown) {
    TFUstawSilnik f(&link);
    EXPECT_EQ(f.windowTitle(), QString::fromUtf8("Wstępne ustawienie odbłyśnika "));
    EXPECT_EQ(link.sent, "s");  // power on at creation
    ASSERT_EQ(f.findChild<QToolButton*>("SBLewo"), f.SBLewo);
    ASSERT_EQ(f.findChild<QToolButton*>("SBPrawo"), f.SBPrawo);
    ASSERT_EQ(f.findChild<QToolButton*>("SBStop"), f.SBStop);
    EXPECT_EQ(f.SBLewo->text(), QString::fromUtf8("Obrót w &lewo"));

    f.SBLewo->click();
    EXPECT_EQ(link.sent, "svw");
    EXPECT_TRUE(f.SBLewo->isChecked());
    EXPECT_TRUE(MotorRunning.load());
    f.SBPrawo->click();
    EXPECT_EQ(link.sent, "svwuw");
    EXPECT_TRUE(f.SBPrawo->isChecked());
    EXPECT_FALSE(f.SBLewo->isChecked());
    f.SBStop->click();
    EXPECT_EQ(link.sent, "svwuwx");
    EXPECT_TRUE(f.SBStop->isChecked());
    EXPECT_FALSE(MotorRunning.load());
}

// Losing focus stops the motor (always, as the stop button does); hiding stops a turning motor.
TEST_F(UstawSilnik, DeactivationAndClosingStopTheMotor) {
    TFUstawSilnik f(&link);
    f.show();
    f.SBPrawoClick();
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(&f, &deactivate);
    EXPECT_EQ(link.sent, "suwx");
    EXPECT_TRUE(f.SBStop->isChecked());
    EXPECT_FALSE(MotorRunning.load());

    f.SBLewoClick();
    f.close();
    EXPECT_EQ(link.sent.substr(0, 7), "suwxvwx");
    EXPECT_EQ(link.sent.back(), 'x');
    EXPECT_FALSE(MotorRunning.load());
}

TEST_F(UstawSilnik, Screenshot) {
    TFUstawSilnik f(&link);
    f.show();
    f.SBLewoClick();
    QApplication::processEvents();
    const QPixmap shot = f.grab();
    EXPECT_FALSE(shot.isNull());
    if (const QByteArray dir = qgetenv("VKM30_SCREENSHOT_DIR"); !dir.isEmpty())
        shot.save(QString::fromLocal8Bit(dir) + "/UstawSilnik.png");
}

namespace {

class MotorOverHead : public HeadOnPort {
protected:
    void SetUp() override {
        HeadOnPort::SetUp();
        MotorRunning = false;
    }
    void TearDown() override {
        MotorRunning = false;
        HeadOnPort::TearDown();
    }
};

}  // namespace

// The program's own link carries the bytes to the head: the dialog and a drive back.
TEST_F(MotorOverHead, BytesReachTheHead) {
    {
        TFUstawSilnik f;
        f.SBLewoClick();
        f.SBStopClick();
    }
    EXPECT_TRUE(instrument::MotorToTarget(1, 0.0, 2000.0) == false);
    EXPECT_TRUE(instrument::MotorToTarget(1, 0.0, 10.0));
    ASSERT_TRUE(head.waitForCommands(7));
    EXPECT_EQ(received(), "svwxvwx");
}
