// Entering a measurement page with the simulated head on a pseudo-terminal: the page waits with
// the signal monitor while the head warms up, the monitor hands over to the page's reading once
// the head is ready, and the reading shows positions, velocities and environment values on the
// page; a head stop reaches the link status window.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "HeadWindowFixture.h"
#include "app/ModeSequencesMainForm.h"
#include "foundations/Display.h"
#include "foundations/ProgramMessages.h"
#include "instrument/AirCorrection.h"
#include "instrument/LinkPort.h"
#include "instrument/SerialFrameParser.h"
#include "instrument/OdczytSygnaluPomiarowego.h"
#include "instrument/UOdczyt.h"
#include "app/dialogs/Unit_Komunikaty.h"
#include "platform/Chart.h"
#include "platform/ChartSeries.h"

namespace {

using testsupport::Bytes;
using testsupport::FrameSpec;

// Millimetres of one raw count at the default wavelength with the air correction k.
double mmOf(int32_t count, double k = 1.0) { return count * 0.25 * kDefaultLaserWavelength * k * 1000.0; }
// Velocity of one raw count, mm/s.
double velocityOf(int32_t count) { return count * 0.25 * kDefaultLaserWavelength * 1e6 * 0.025; }

bool shows(const TDisplay* d, double v) {
    return d && std::abs(d->Value() - TDisplay::RoundValue(v, d->Precision())) < 1e-9;
}

// A head that is switched on and warming up: its level is well above the on/off threshold, but
// it is not ready and sends no count.
FrameSpec warmingUp() { return FrameSpec::ready(0).notReady(); }

class PageEntryTest : public HeadWindowTest {
protected:
    void startWithHead() {
        HeadWindowTest::startWithHead();
        f = form();
        StartPoint = 0.0;
        instrument::LinkState().HeadStatus = 0;  // nothing heard from the head yet
        instrument::LinkState().HeadFlags = 0;
        Control<QToolButton>(f, "SpeedButtonZnak")->setText("-");  // readings keep their sign
    }
    // Lets the window run for a while (the head keeps streaming).
    void pumpFor(int ms) {
        pumpUntil([] { return false; }, ms);
    }
    bool sentInOrder(const Bytes& sequence) const {
        const Bytes r = head.receivedCommands();
        return std::search(r.begin(), r.end(), sequence.begin(), sequence.end()) != r.end();
    }
    template <class T = QWidget>
    T* named(const char* name) const {
        return f->findChild<T*>(QString::fromLatin1(name));
    }

    TMainForm* f = nullptr;
};

// Each page waits for the head with the monitor, then the monitor hands over to the page's own
// reading, whose counts reach the page's display.
TEST_F(PageEntryTest, PagesWaitForTheWarmingHeadThenReadItsCounts) {
    struct Case {
        const char* name;
        std::function<void(TMainForm*)> enter;
        int page;
        uint8_t mode;
        const char* waitLabel;     // shows the warm-up text
        const char* startControl;  // hidden while warming up, offered once reading
        Bytes startBytes;          // the page's sequence and the reading start
        const char* display;
        int32_t count;
        double value;
    };
    const Bytes linear = {':', '8', '7', '5', '2', 'f', '[', 'W', 0x8C, '8', 'L', 'X', 'R', 0x89, 'S'};
    Bytes straightness3d = linear;
    straightness3d.push_back('X');
    Bytes deflection = linear;
    deflection.push_back('e');
    const std::vector<Case> cases = {
        {"positioning", [](TMainForm* w) { Control<QPushButton>(w, "BitBtnpozycjonowanie")->click(); }, 3, 0, "Label26", "ButtonPozStart",
         linear, "DispWarMierzona", -20000, mmOf(-20000)},
        {"velocity", [](TMainForm* w) { Control<QPushButton>(w, "BitBtnpredkosc")->click(); }, 4, 1, "LabPoczPredkosc", "ButtonStartV",
         {':', 'f', '3', '6', 'R', 0x89, 'S'}, "DisplayPredkosc", 400000, velocityOf(400000)},
        // The deflection method of straightness asks for 'e' after the reading's start.
        {"straightness",
         [](TMainForm* w) {
             w->StraightnessMethod = 1;
             Control<QPushButton>(w, "BitBtnProstolinowosc")->click();
         },
         3, 2, "Label26", "ButtonPozStart", deflection, "Disp2oswar", 30000,
         30000 * 0.25 * kDefaultLaserWavelength * 1e6 * 41.42 * 0.125},
        // A flatness line is measured on the straightness page, which the flatness page's
        // "P&omiar" opens for each line; the 3-D method shows the axis position in mm.
        {"flatness line",
         [](TMainForm* w) {
             Control<QPushButton>(w, "BitBtnMapaPlaskosci")->click();
             EXPECT_EQ(w->NotebookMainForm->currentIndex(), 8);
             EXPECT_FALSE(OdczytSygPomiarowego::Running());  // the map page itself reads nothing
             w->StraightnessMethod = 2;
             SetFlatnessLineChoice(*w, [](int) { return 1; });
             Control<QPushButton>(w, "ButtonMapaPlaskosciStart")->click();
         },
         3, 3, "Label26", "ButtonPozStart", straightness3d, "Disp2oswar", 30000, mmOf(30000)},
    };
    startWithHead();
    f->VelocityChartUnit = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The head was switched off and on again: its last status is gone, and while neither a
        // reading nor the monitor runs its frames are not read.
        instrument::LinkState().HeadStatus = 0;
        head.startStreaming(warmingUp());
        head.clearReceived();
        QWidget* start = named(c.startControl);
        ASSERT_NE(start, nullptr);
        c.enter(f);
        EXPECT_EQ(f->NotebookMainForm->currentIndex(), c.page);
        EXPECT_EQ(f->MeasurementMode, c.mode);
        auto* label = named<QLabel>(c.waitLabel);
        ASSERT_NE(label, nullptr);
        ASSERT_TRUE(pumpUntil([&] { return start->isHidden() && label->text() == Msg("stWygrzewanie"); }))
            << label->text().toStdString();
        EXPECT_FALSE(label->isHidden());
        EXPECT_TRUE(OdczytSygPomiarowego::Running());
        EXPECT_FALSE(f->ReadingThread().Running());

        // Still warming up a while later: nothing starts.
        pumpFor(150);
        EXPECT_FALSE(f->ReadingThread().Running());

        head.setStreamFrame(FrameSpec::ready(c.count));
        auto* display = named<TDisplay>(c.display);
        ASSERT_NE(display, nullptr);
        ASSERT_TRUE(pumpUntil([&] { return shows(display, c.value); })) << display->Value();
        EXPECT_TRUE(f->ReadingThread().Running());
        EXPECT_TRUE(pumpUntil([] { return !OdczytSygPomiarowego::Running(); }));
        EXPECT_FALSE(WaitingForLaser.load());
        EXPECT_TRUE(sentInOrder(c.startBytes));
        EXPECT_TRUE(label->isHidden());
        EXPECT_FALSE(start->isHidden());
        EXPECT_TRUE(start->isEnabled());

        // The way back ends the reading before the next page.
        modes::StopReading(f->ModeHost());
        ASSERT_TRUE(pumpUntil([&] { return !f->ReadingThread().Running(); }));
        head.stopStreaming();
    }
}

// A ready head: the page reads at once after the monitor's first look; the environment words of
// its frames become the environment labels and the air correction, which the positions then
// carry.
TEST_F(PageEntryTest, EnvironmentWordsBecomeLabelsAndTheAirCorrection) {
    startWithHead();
    // A linear calibration: temperatures in hundredths of a degree (raw 2000 is 20 °C), humidity
    // raw / 100 %, pressure raw / 5 hPa.
    for (int c = 0; c < 6; ++c)
        for (int i = 0; i < 7; ++i) {
            CalibrationTable[c][0][i] = 1000 * i;
            CalibrationTable[c][1][i] = c < 4 ? 1000 * i : c == 4 ? 10 * i : 200 * i;
        }
    for (QCheckBox* box : {Control<QCheckBox>(f, "CBTemp"), Control<QCheckBox>(f, "CBTMat"), Control<QCheckBox>(f, "CBWilg"), Control<QCheckBox>(f, "CBCis")}) box->setChecked(true);
    const int32_t count = 50000;
    head.startStreaming(FrameSpec::ready(count).withMeteo({2000, 2100, 2200, 2300, 4500, 5065}));
    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    ASSERT_TRUE(pumpUntil([&] { return f->ReadingThread().Running(); }));

    ASSERT_TRUE(pumpUntil([] { return AirCorrection != 1.0; }));
    const std::vector<std::pair<const char*, QString>> labels = {
        {"Label25", QStringLiteral("20,00 °C")}, {"Label11", QStringLiteral("21,00 °C")},
        {"Label12", QStringLiteral("22,00 °C")}, {"Label13", QStringLiteral("23,00 °C")},
        {"Label19", QStringLiteral("22,00 °C")}, {"Label23", QStringLiteral("45 %")},
        {"Label24", QStringLiteral("1013,0 hPa")},
    };
    for (const auto& [name, text] : labels) {
        auto* l = named<QLabel>(name);
        ASSERT_NE(l, nullptr) << name;
        EXPECT_EQ(l->text(), text) << name;
    }
    EXPECT_DOUBLE_EQ(AirTemperature, 20.0);
    EXPECT_DOUBLE_EQ(MaterialTemperature, 22.0);
    EXPECT_DOUBLE_EQ(Humidity, 45.0);
    EXPECT_DOUBLE_EQ(Pressure, 1013.0);
    const double k = instrument::AirCorrectionFactor(1013.0, 20.0, 45.0);
    EXPECT_NEAR(AirCorrection, k, 1e-12);
    EXPECT_LT(AirCorrection, 1.0);
    ASSERT_TRUE(pumpUntil([&] { return shows(Control<TDisplay>(f, "DispWarMierzona"), mmOf(count, k)); })) << Control<TDisplay>(f, "DispWarMierzona")->Value();
}

// A velocity run stores and plots every reading; a frame with a data error ends the run's reading
// and the link status window says why.
TEST_F(PageEntryTest, VelocityRunStoresSamplesAndADataErrorIsReported) {
    startWithHead();
    f->VelocityChartUnit = 0;
    const int32_t count = 400000;
    head.startStreaming(FrameSpec::ready(count));
    Control<QPushButton>(f, "BitBtnpredkosc")->click();
    ASSERT_TRUE(pumpUntil([&] { return f->ReadingThread().Running(); }));
    ASSERT_TRUE(Control<QPushButton>(f, "ButtonStartV")->isEnabled());
    pumpFor(120);
    EXPECT_EQ(f->VelocitySamples->Count(), 0);  // nothing is stored before the start

    Control<QPushButton>(f, "ButtonStartV")->click();
    ASSERT_TRUE(VelocityRunning.load());
    ASSERT_TRUE(pumpUntil([&] { return f->VelocitySamples->Count() >= 8; }));
    auto* chart = qobject_cast<platform::TChart*>(Control<platform::TChart>(f, "WykresPredkosci"));
    ASSERT_NE(chart, nullptr);
    platform::TChartSeries* series = chart->SeriesByName("Series2");
    ASSERT_NE(series, nullptr);
    const int n = f->VelocitySamples->Count();
    EXPECT_EQ(series->Count(), n);
    EXPECT_EQ(VelocitySampleCount, n);
    for (int i = 0; i < n; ++i) {
        EXPECT_NEAR((*f->VelocitySamples)[i].Value, velocityOf(count), 1e-9);
        EXPECT_NEAR(series->XValue(i), i * 0.04, 1e-9);
        EXPECT_NEAR(series->YValue(i), velocityOf(count), 1e-9);
    }

    // Stopped, the page shows the mean over the plotted run; a new run starts afresh.
    Control<QPushButton>(f, "ButtonStartV")->click();
    ASSERT_FALSE(VelocityRunning.load());
    EXPECT_TRUE(shows(Control<TDisplay>(f, "DispPredkoscSr"), velocityOf(count))) << Control<TDisplay>(f, "DispPredkoscSr")->Value();
    pumpFor(100);
    EXPECT_EQ(f->VelocitySamples->Count(), n);  // nothing is added after the stop
    Control<QPushButton>(f, "ButtonStartV")->click();
    ASSERT_TRUE(VelocityRunning.load());
    ASSERT_TRUE(pumpUntil([&] { return f->VelocitySamples->Count() >= 3; }));
    EXPECT_NEAR(series->XValue(0), 0.0, 1e-12);
    const int second = f->VelocitySamples->Count();

    FrameSpec bad = FrameSpec::ready(count);
    bad.status &= uint8_t(~testsupport::kStNoDataError);
    head.setStreamFrame(bad);
    ASSERT_TRUE(pumpUntil([&] { return Komunikaty->isVisible(); })) << StopReason.load();
    EXPECT_FALSE(f->ReadingThread().Running());
    EXPECT_EQ(Komunikaty->Label1->text(), Msg("stWolnaTrans"));
    EXPECT_EQ(Komunikaty->Label3->text(), Msg("stPowPomiar"));
    EXPECT_GE(f->VelocitySamples->Count(), second);  // what was read stays

    // "&Główne Menu" leaves the page; the run is over.
    Komunikaty->Button2->click();
    EXPECT_FALSE(Komunikaty->isVisible());
    EXPECT_FALSE(VelocityRunning.load());
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 1);
}

// Closing the window while a page waits for the laser ends the monitor as well.
TEST_F(PageEntryTest, ShutdownWhileThePageWaitsForTheLaser) {
    startWithHead();
    head.startStreaming(warmingUp());
    Control<QPushButton>(f, "BitBtnpredkosc")->click();
    ASSERT_TRUE(pumpUntil([&] { return named<QLabel>("LabPoczPredkosc")->text() == Msg("stWygrzewanie"); }));
    ASSERT_TRUE(OdczytSygPomiarowego::Running());
    ASSERT_TRUE(f->StopThreadsAndWait(3000));
    EXPECT_FALSE(OdczytSygPomiarowego::Running());
    EXPECT_FALSE(f->ReadingThread().Running());
}

// The tick of "Punkty z listy" is what the setting says, whichever command changes it.
TEST_F(MainWindowTest, PointListTickAndSettingAreOne) {
    start();
    TMainForm* w = form();
    QAction* fromList = w->MenuCommand("PunktyZListy");
    QAction* automatic = w->MenuCommand("Puntyautomatycznie1");
    ASSERT_NE(fromList, nullptr);
    ASSERT_NE(automatic, nullptr);
    fromList->setChecked(true);
    EXPECT_TRUE(w->PointsFromList);
    EXPECT_FALSE(automatic->isChecked());

    // Refused while a run lasts: nothing changes.
    MeasurementRunning = true;
    automatic->trigger();
    EXPECT_TRUE(fromList->isChecked());
    EXPECT_TRUE(w->PointsFromList);
    EXPECT_EQ(messageCount(Msg("stTrwaPomiar")), 1);

    MeasurementRunning = false;
    automatic->trigger();
    EXPECT_FALSE(fromList->isChecked());
    EXPECT_TRUE(automatic->isChecked());
    EXPECT_FALSE(w->PointsFromList);
    EXPECT_FALSE(w->MenuCommand("PunktyPozycjonowania1")->isEnabled());
    automatic->trigger();  // already chosen: stays chosen
    EXPECT_TRUE(automatic->isChecked());
}

}  // namespace
