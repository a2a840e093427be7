// Window controls that change what the live reading shows, with the simulated head streaming
// counts to the real window.
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <algorithm>
#include <QToolButton>

#include "HeadWindowFixture.h"
#include "app/ModeSequences.h"
#include "app/ModeSequencesMainForm.h"
#include "foundations/Display.h"
#include "foundations/RealSpinEdit.h"
#include "instrument/UOdczyt.h"

namespace {

using testsupport::FrameSpec;

double mmOf(int32_t count) { return count * 0.25 * kDefaultLaserWavelength * 1000.0; }
bool shows(const TDisplay* d, double v) { return std::abs(d->Value() - TDisplay::RoundValue(v, d->Precision())) < 1e-9; }

class WindowWiringHeadTest : public HeadWindowTest {
protected:
    // The distance readout over a head standing at `count`, readings with their own sign.
    void startReadout(int32_t count) {
        startWithHead();
        StartPointDisp = 0.0;
        Control<QToolButton>(form(), "SpeedButtonZnak")->setText("-");
        head.startStreaming(FrameSpec::ready(count));
        modes::StartDisplayReading(form()->ModeHost());
        ASSERT_TRUE(form()->ReadingThread().Running());
    }
};

// At 25 °C with a 20 °C reference a length is referred back by the material's expansion.
TEST_F(WindowWiringHeadTest, MaterialChoiceSetsTheExpansionOfTheReadout) {
    constexpr int32_t count = 400000;  // about 63 mm
    startReadout(count);
    TMainForm* f = form();
    MaterialTemperature = 25.0;
    ReferenceTemperature = 20.0;
    struct Case {
        int item;
        double coefficient;
        double field;  // RSEWspRoz, µm/m K
    } cases[] = {{0, 2.45e-5, 24.5}, {1, 1.74e-5, 17.4}, {2, 2.26e-5, 22.6}, {3, 1.17e-5, 11.7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        Control<QComboBox>(f, "ComboBox1")->setCurrentIndex(c.item);
        EXPECT_DOUBLE_EQ(ExpansionCoefficient, c.coefficient);
        EXPECT_DOUBLE_EQ(Control<TRealSpinEdit>(f, "RSEWspRoz")->Value(), c.field);
        EXPECT_FALSE(Control<TRealSpinEdit>(f, "RSEWspRoz")->isEnabled());
        const double expected = mmOf(count) / (1.0 + 5.0 * c.coefficient);
        EXPECT_TRUE(pumpUntil([&] { return shows(Control<TDisplay>(f, "DisplayWys"), expected); })) << Control<TDisplay>(f, "DisplayWys")->Value();
    }
    // Aluminium against steel: 64 µm per metre apart at 5 K, which the readout shows.
    EXPECT_GT(mmOf(count) / (1.0 + 5.0 * 1.17e-5) - mmOf(count) / (1.0 + 5.0 * 2.45e-5), 0.004);

    // The user's own value: the field opens with the last material's value, typing takes over.
    Control<QComboBox>(f, "ComboBox1")->setCurrentIndex(4);
    EXPECT_TRUE(Control<TRealSpinEdit>(f, "RSEWspRoz")->isEnabled());
    EXPECT_DOUBLE_EQ(ExpansionCoefficient, 1.17e-5);
    Control<TRealSpinEdit>(f, "RSEWspRoz")->SetValue(12.0);
    EXPECT_DOUBLE_EQ(ExpansionCoefficient, 1.2e-5);
    EXPECT_TRUE(pumpUntil([&] { return shows(Control<TDisplay>(f, "DisplayWys"), mmOf(count) / (1.0 + 5.0 * 1.2e-5)); }))
        << Control<TDisplay>(f, "DisplayWys")->Value();
}

// The resolution button switches the head between 100 nm and 10 nm and the readout's decimals
// and the filter threshold with it.
TEST_F(WindowWiringHeadTest, ResolutionButtonSwitchesHeadAndReadout) {
    startReadout(4000);
    TMainForm* f = form();
    ASSERT_EQ(f->MeasurementMode, 6);
    struct Step {
        bool tenNm;
        const char* caption;
        uint8_t byte;
        int mmDecimals;
        int32_t threshold;
    } steps[] = {{true, "Rozdzielczość 10 nm", 'e', 6, 128}, {false, "Rozdzielczość 100 nm", 'f', 5, 8}};
    // The readout's own start has reached the head before the first switch.
    ASSERT_TRUE(pumpUntil([&] {
        const testsupport::Bytes r = head.receivedCommands();
        return std::find(r.begin(), r.end(), uint8_t('S')) != r.end();
    }));
    for (const Step& s : steps) {
        SCOPED_TRACE(s.caption);
        head.clearReceived();
        Control<QPushButton>(f, "BRozdziel")->click();
        EXPECT_EQ(f->Resolution10, s.tenNm);
        EXPECT_EQ(Control<QPushButton>(f, "BRozdziel")->text(), QString::fromUtf8(s.caption));
        EXPECT_EQ(Control<TDisplay>(f, "DisplayWys")->Precision(), s.mmDecimals);
        EXPECT_EQ(f->FilterThreshold, s.threshold);
        // The resolution byte, then the count starts again ('S').
        auto byteThenRestart = [&] {
            const testsupport::Bytes sent = head.receivedCommands();
            const auto at = std::find(sent.begin(), sent.end(), s.byte);
            return at != sent.end() && std::find(at, sent.end(), uint8_t('S')) != sent.end();
        };
        EXPECT_TRUE(pumpUntil(byteThenRestart));
    }
}

// The wavelength display shows what the counts are converted with; the filter switch smooths
// small count changes (less than 8 counts at 100 nm move 1 % a sample) and lets them through
// when it is off.
TEST_F(WindowWiringHeadTest, FilterSwitchAndWavelengthDisplay) {
    startReadout(4000);
    TMainForm* f = form();
    MaterialTemperature = 25.0;
    ReferenceTemperature = 20.0;
    Control<QComboBox>(f, "ComboBox1")->setCurrentIndex(0);  // aluminium
    ASSERT_NE(Control<TDisplay>(f, "DispLambda"), nullptr);
    const double nm = kDefaultLaserWavelength * 1e9 / (1.0 + 5.0 * 2.45e-5);
    EXPECT_TRUE(pumpUntil([&] { return shows(Control<TDisplay>(f, "DispLambda"), nm); })) << Control<TDisplay>(f, "DispLambda")->Value();
    const double mm = [](int32_t c) { return mmOf(c) / (1.0 + 5.0 * 2.45e-5); }(4000);
    ASSERT_TRUE(pumpUntil([&] { return shows(Control<TDisplay>(f, "DisplayWys"), mm); }));

    ASSERT_NE(Control<QCheckBox>(f, "Filtr1"), nullptr);
    EXPECT_FALSE(Control<QCheckBox>(f, "Filtr1")->isChecked());
    Control<QCheckBox>(f, "Filtr1")->setChecked(true);
    pumpUntil([] { return false; }, 100);  // the filter takes up the current count
    head.setStreamCount(4006);
    const double stepMm = mmOf(4006) / (1.0 + 5.0 * 2.45e-5) - mm;
    pumpUntil([] { return false; }, 200);  // some 20 samples: the step has crept in a little
    EXPECT_LT(Control<TDisplay>(f, "DisplayWys")->Value() - mm, stepMm / 2) << Control<TDisplay>(f, "DisplayWys")->Value();
    Control<QCheckBox>(f, "Filtr1")->setChecked(false);
    EXPECT_TRUE(pumpUntil([&] { return shows(Control<TDisplay>(f, "DisplayWys"), mm + stepMm); })) << Control<TDisplay>(f, "DisplayWys")->Value();
}

}  // namespace
