// The live readout page of the real window with the simulated head over a pseudo-terminal: the
// start-up finds the head's program, the main-menu button enters the readout with the head's
// bytes in their order, the display follows the streamed counts, the type and unit switches
// send their bytes and change the decimals, and Esc goes back to the main menu.
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest/QTest>
#include <QDir>
#include <algorithm>
#include <utility>
#include <cstdio>

#include "MainWindowFixture.h"
#include "app/Settings.h"
#include "foundations/Display.h"
#include "foundations/ProgramMessages.h"
#include "instrument/UOdczyt.h"
#include "app/dialogs/Unit_Komunikaty.h"
#include "platform/Registry.h"
#include "support/SimHead.h"

namespace {

using testsupport::Bytes;
using testsupport::FrameSpec;
using testsupport::SimHead;

// Millimetres of one raw count at the default wavelength, no air or thermal correction.
double mmOf(int32_t count) { return count * 0.25 * kDefaultLaserWavelength * 1000.0; }

bool shows(const TDisplay* d, double v) {
    return std::abs(d->Value() - TDisplay::RoundValue(v, d->Precision())) < 1e-9;
}

std::string hex(const Bytes& b) {
    std::string s;
    for (uint8_t c : b) {
        char buf[8];
        std::snprintf(buf, sizeof buf, c >= 0x21 && c < 0x7F ? "%c " : "%02X ", c);
        s += buf;
    }
    return s;
}

class LiveReadoutTest : public MainWindowTest {
protected:
    // The window shown with the head on COM1 at 57600 b/s, its program running: the start-up
    // ends on the main menu.
    void startWithHead() {
        ASSERT_TRUE(head.ok());
        head.attachAsCom(1);
        head.setAutoReply([](uint8_t c) { return c == 0x88 ? Bytes{0x14, 0x1E} : Bytes{}; });
        platform::appRegistry().writeString(QString(kSettingsKey) + "\\Service Parameter", "BaudRate", "11");
        start();
        TMainForm* f = form();
        ASSERT_TRUE(f->SerialLinkOpen());
        f->ProgramLoadTimings.serialSettleMs = 10;
        f->ProgramLoadTimings.programTestWaitMs = 3000;  // ends at the answer; slack for a loaded machine
        f->resize(1024, 768);
        f->show();
        ASSERT_TRUE(pumpUntil([&] {
            return f->Threads().Loader() && !f->Threads().Loader()->Running() && f->NotebookMainForm->currentIndex() == 1;
        }));
        messages.clear();  // the creation's own, shown as the start-up ends (no calibration file here)
        ASSERT_EQ(f->Threads().Loader()->Result().outcome, instrument::LoadOutcome::AlreadyRunning);
        ASSERT_FALSE(InterfaceError.load());
        LaserWavelength = kDefaultLaserWavelength;
        AirCorrection = 1.0;
        ExpansionCoefficient = 0.0;
        StartPointDisp = 0.0;
    }
    void TearDown() override {
        head.stopStreaming();
        MainWindowTest::TearDown();
    }
    // The bytes the head has received since the last call.
    Bytes take() {
        const Bytes b = head.receivedCommands();
        head.clearReceived();
        return b;
    }
    // The bytes the head has received once `n` have arrived (the window's writes cross the
    // pseudo-terminal to the head's thread), and a little later so that a surplus shows too.
    Bytes take(size_t n) {
        pumpUntil([&] { return head.receivedCommands().size() >= n; }, 3000);
        pumpUntil([] { return false; }, 30);
        return take();
    }

    SimHead head;
};

// The head is not yet known to be ready when the page opens: the signal monitor goes first and
// starts the readout once the frames say ready. 100 nm resolution throughout ('f').
TEST_F(LiveReadoutTest, EntrySwitchesAndEscSendTheirBytesAndTheDisplayFollows) {
    startWithHead();
    TMainForm* f = form();
    FrameSpec frame = FrameSpec::ready(4000);
    frame.signal = 150;  // a good level, inside the gauge's range
    head.startStreaming(frame);
    take();

    Control<QPushButton>(f, "BitBtnWyswietlacz")->click();
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 2);
    EXPECT_EQ(f->windowTitle(), QString::fromUtf8("Veldrasta - Wyświetlacz"));
    ASSERT_TRUE(pumpUntil([&] { return f->ReadingThread().Running(); }));
    // The readout starts negated while the sign button reads "+".
    ASSERT_TRUE(pumpUntil([&] { return shows(Control<TDisplay>(f, "DisplayWys"), -mmOf(4000)); })) << Control<TDisplay>(f, "DisplayWys")->Value();
    // The entry and its distance display; then the environment reading's 0x80 and the signal
    // monitor's 'S', which come from two threads in either order; then the readout's start.
    Bytes got = take(22);
    ASSERT_EQ(got.size(), 22u) << hex(got);
    if (got[6] == 'S') std::swap(got[6], got[7]);
    EXPECT_EQ(hex(got), hex(Bytes{'F', '?', '7', '5', 'f', 0x8C,
                                  0x80, 'S',
                                  ':', '8', '2', 'f', '[', 0x8C, 'W', '5', '2', '8', 'X', 'R', 0x89, 'S'}));
    EXPECT_EQ(Control<QStackedWidget>(f, "NotebookWyswietlacz")->currentIndex(), 0);
    EXPECT_EQ(f->MeasurementMode, 6);
    EXPECT_EQ(Control<QLabel>(f, "Label2")->text(), "mm");
    EXPECT_EQ(Control<TDisplay>(f, "DisplayWys")->Precision(), 5);

    Control<QToolButton>(f, "SpeedButtonZnak")->click();
    EXPECT_EQ(Control<QToolButton>(f, "SpeedButtonZnak")->text(), "-");
    head.setStreamCount(8000);
    ASSERT_TRUE(pumpUntil([&] { return shows(Control<TDisplay>(f, "DisplayWys"), mmOf(8000)); })) << Control<TDisplay>(f, "DisplayWys")->Value();

    // Units and types, in the order an inspector steps through them.
    struct Step {
        QAbstractButton* button;
        Bytes bytes;
        const char* typeCaption;
        const char* unitLabel;  // Label2, or Label5 in the velocity readout
        bool velocityLabel;
        int decimals;
        uint8_t mode;
    };
    const Step steps[] = {
        {Control<QToolButton>(f, "SpeedButton1"), {}, "Dystans", "µm", false, 2, 6},
        {Control<QPushButton>(f, "ButtonTypPomiaru"), {'3', '6'}, "Prędkość", "mm/s", true, 3, 7},
        {Control<QToolButton>(f, "SpeedButton1"), {}, "Prędkość", "m/s", true, 6, 7},
        {Control<QPushButton>(f, "ButtonTypPomiaru"), {0x8C, '7', '2'}, "Kąt", "sek", false, 1, 8},
        {Control<QPushButton>(f, "ButtonTypPomiaru"), {'e', 0x8C, '2'}, "Wollaston", "µm", false, 1, 9},
        {Control<QPushButton>(f, "ButtonTypPomiaru"), {'f', 0x8C}, "Dystans", "mm", false, 5, 6},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(QString(s.typeCaption + QStringLiteral(" ") + QString::fromUtf8(s.unitLabel)).toStdString());
        s.button->click();
        QCoreApplication::processEvents();
        EXPECT_EQ(hex(take(s.bytes.size())), hex(s.bytes));
        EXPECT_EQ(f->MeasurementMode, s.mode);
        EXPECT_EQ(Control<QPushButton>(f, "ButtonTypPomiaru")->text(), QString::fromUtf8(s.typeCaption));
        const QLabel* unit = s.velocityLabel ? Control<QLabel>(f, "Label5") : Control<QLabel>(f, "Label2");
        EXPECT_FALSE(unit->isHidden());
        EXPECT_TRUE((s.velocityLabel ? Control<QLabel>(f, "Label2") : Control<QLabel>(f, "Label5"))->isHidden());
        EXPECT_EQ(unit->text(), QString::fromUtf8(s.unitLabel));
        EXPECT_EQ(Control<TDisplay>(f, "DisplayWys")->Precision(), s.decimals);
        EXPECT_EQ(Control<QSpinBox>(f, "UpDown2")->maximum(), s.decimals);
        if (s.mode == 6 && s.decimals == 2) {  // micrometres
            EXPECT_TRUE(pumpUntil([&] { return shows(Control<TDisplay>(f, "DisplayWys"), mmOf(8000) * 1000.0); })) << Control<TDisplay>(f, "DisplayWys")->Value();
        }
    }
    // Back in millimetres the readout follows the head again.
    head.setStreamCount(-12000);
    ASSERT_TRUE(pumpUntil([&] { return shows(Control<TDisplay>(f, "DisplayWys"), mmOf(-12000)); })) << Control<TDisplay>(f, "DisplayWys")->Value();
    QCoreApplication::processEvents();
    EXPECT_TRUE(f->grab().save(QDir::temp().filePath("vkm30_live_readout.png")));
    // The reading's signal gauge under the readout shows the head's level within its range.
    EXPECT_GT(Control<QProgressBar>(f, "Gauge1")->value(), Control<QProgressBar>(f, "Gauge1")->minimum());
    EXPECT_TRUE(Control<QProgressBar>(f, "Gauge1")->isVisible());
    // The gauge follows the level down as well as up, a level below the gauge's range shows empty.
    {
        QProgressBar* g = Control<QProgressBar>(f, "Gauge1");
        FrameSpec frame = head.streamFrame();
        frame.signal = uint8_t(std::clamp(g->maximum() - 5, 0, 255));
        head.setStreamFrame(frame);
        EXPECT_TRUE(pumpUntil([&] { return g->value() == frame.signal; })) << g->value();
        frame.signal = uint8_t(std::max(g->minimum() - 20, 0));
        head.setStreamFrame(frame);
        EXPECT_TRUE(pumpUntil([&] { return g->value() == g->minimum(); })) << g->value();
    }

    // Fewer decimals by the spin box; R zeroes the reading.
    Control<QSpinBox>(f, "UpDown2")->setValue(3);
    EXPECT_EQ(Control<TDisplay>(f, "DisplayWys")->Precision(), 3);
    take();
    QTest::keyClick(f, Qt::Key_R);
    EXPECT_EQ(hex(take(2)), hex(Bytes{0x89, 'S'}));
    // The samples right after the zeroing are dropped; then the readout goes on.
    EXPECT_TRUE(pumpUntil([] { return !instrument::LinkState().SkipSamples.load(); }));

    // Esc: back to the main menu, the reading ends.
    QTest::keyClick(f, Qt::Key_Escape);
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 1);
    EXPECT_EQ(f->windowTitle(), QString::fromUtf8("Veldrasta - Menu Główne"));
    EXPECT_EQ(hex(take(2)), hex(Bytes{'Y', 'R'}));
    EXPECT_TRUE(pumpUntil([&] { return !f->ReadingThread().Running(); }));
    EXPECT_TRUE(ReadingStopped.load());
    EXPECT_FALSE(Komunikaty->isVisible());
    // The test's program folder has no set-up pictures: said once, nothing else is asked.
    EXPECT_EQ(messageCount(Msg("stBrakFoto")), 1);
    EXPECT_EQ(messages.size(), 1u);
}

// With the interface missing the page shows its message and sends nothing; Esc there and the
// page's own button both lead back.
TEST_F(LiveReadoutTest, WithoutTheInterfaceThePageShowsItsMessageAndSendsNothing) {
    start();
    TMainForm* f = form();
    f->show();
    ASSERT_TRUE(pumpUntil([&] {
        return f->Threads().Loader() && !f->Threads().Loader()->Running() && f->NotebookMainForm->currentIndex() == 1;
    }));
    ASSERT_TRUE(InterfaceError.load());
    Control<QPushButton>(f, "BitBtnWyswietlacz")->click();
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 2);
    EXPECT_EQ(Control<QStackedWidget>(f, "NotebookWyswietlacz")->currentIndex(), 1);
    EXPECT_FALSE(Control<QLabel>(f, "Label32")->text().isEmpty());
    EXPECT_FALSE(Control<QPushButton>(f, "ButZerowanieWyniku")->isEnabled());
    EXPECT_TRUE(ReadingStopped.load());
    Control<QPushButton>(f, "Button1")->click();
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 1);
}

}  // namespace
