// The configuration window: its values to and from the settings, and the whole command answered
// as an inspector would. Each page is saved as a picture when VKM30_SCREENSHOTS names a folder.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <string>
#include <vector>

#include "app/DialogParts.h"
#include "app/Settings.h"
#include "app/opcje.h"
#include "foundations/LocaleTable.h"
#include "foundations/MessageDlg.h"
#include "foundations/RadioGroup.h"
#include "foundations/RealSpinEdit.h"
#include "foundations/SharedGlobals.h"
#include "app/dialogs/UWykCom.h"
#include "support/HelpProbe.h"
#include "support/InstrumentSinkDoubles.h"
#include "support/ModalDialog.h"

using testsupport::whenModalShown;

namespace {

class RecordingHost : public OptionsDialogHost {
public:
    TSettings settings;
    int mode = 0;
    std::vector<std::string> calls;
    TSettings& OptionsSettings() override { return settings; }
    int OptionsMeasurementMode() const override { return mode; }
    void ShowStoredChoices() override { calls.push_back("choices"); }
    void ApplyEnvironmentEntryUnits() override { calls.push_back("environment"); }
    void ApplyLengthUnit() override { calls.push_back("length " + std::to_string(LengthUnit)); }
    void RefreshPageAfterOptions() override { calls.push_back("page"); }
    void RememberSerialLink() override {}
    void SettleSerialLink(bool keepFound) override { calls.push_back(keepFound ? "keep link" : "restore link"); }
    instrument::PortSearchThreads& PortSearch() override { return searches; }
    testsupport::PortSearchThreadsDouble searches;
};

// Polish number display, boxes and help recorded, the shared globals the window touches put
// back afterwards, and every COM port naming a missing device so no real port is tried.
class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        foundations::setSystemLocaleOverride(QLocale(QLocale::Polish, QLocale::Poland));
        setMessageDlgHook([this](const MessageDlgRequest& r) {
            messages.push_back(r.text);
            return int(mrOk);
        });
        savedReference = ReferenceTemperature;
        savedLengthUnit = LengthUnit;
        savedInterface = InterfaceMode.load();
        ReferenceTemperature = 20.0;
        LengthUnit = 0;
        InterfaceMode = 1;
        for (int n = 1; n <= 10; ++n)
            qputenv(("VKM30_COM" + std::to_string(n)).c_str(), dir.filePath(QString("missing%1").arg(n)).toUtf8());
    }
    void TearDown() override {
        for (int n = 1; n <= 10; ++n) qunsetenv(("VKM30_COM" + std::to_string(n)).c_str());
        ReferenceTemperature = savedReference;
        LengthUnit = savedLengthUnit;
        InterfaceMode = savedInterface;
        setMessageDlgHook({});
        foundations::setSystemLocaleOverride(std::nullopt);
    }
    QTemporaryDir dir;
    std::vector<QString> messages;
    testsupport::PortSearchThreadsDouble searches;
    double savedReference = 0;
    int32_t savedLengthUnit = 0;
    uint8_t savedInterface = 0;
};

TEST_F(OptionsTest, AcceptanceTimesShowInSecondsAndStoreSamples) {
    struct {
        int32_t samples;
        QString shown;
        double typed;
        int32_t stored;
    } cases[] = {
        {25, "1,000", 1.0, 25},
        {500, "20,000", 20.0, 500},
        {3, "0,120", 0.1, 2},     // 2.5 samples: ties go to the even count
        {38, "1,520", 1.5, 38},   // 37.5 samples
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.samples);
        TSettings s;
        s.PointNumber = c.samples;
        s.PointNumberPK = c.samples;
        TFOpcje dlg(searches);
        dlg.Load(OptionsFromSettings(s, 20.0, 0), false);
        EXPECT_EQ(dlg.PointTimeEdit->text(), c.shown);
        EXPECT_EQ(dlg.RSECzasPK->text(), c.shown);
        dlg.PointTimeEdit->SetValue(c.typed);
        dlg.RSECzasPK->SetValue(c.typed);
        StoreOptionsFirst(dlg.Values(), s);
        EXPECT_EQ(s.PointNumber, c.stored);
        EXPECT_EQ(s.PointNumberPK, c.stored);
    }
}

TEST_F(OptionsTest, EveryValueGoesBackWhereItCameFrom) {
    TSettings s;
    s.PositioningDir = "/p/";
    s.FlatnessDir = "/f/";
    s.StraightnessDir = "/s/";
    s.VelocityDir = "/v/";
    s.AngularDir = "/a/";
    s.FftDir = "/t/";
    s.PointDistance = 200;
    s.Vibration = 7;
    s.ErrorWindow = 2300;
    s.CycleCount = 7;
    s.ErrorWindowPK = 900;
    s.VibrationPK = 33;
    s.ComPortIndex = 9;
    s.StraightnessMethod = 2;
    s.StatisticsMethod = 1;
    s.RotationDirection = 1;
    s.VelocityChartUnit = 5;
    s.PositioningMethod = 2;
    s.UniDirectional = true;
    s.FlatnessMethod = 1;
    s.FlatnessHLines = 5;
    s.FlatnessVLines = 8;
    s.StraightnessPointCount = 150;
    s.HumidityFromSensor = false;
    s.MaterialTempFromSensor = false;
    s.PressureUnit = 2;
    TFOpcje dlg(searches);
    dlg.Load(OptionsFromSettings(s, 21.5, 1), false);
    EXPECT_TRUE(dlg.SBPielgrzymJS->isChecked());
    EXPECT_TRUE(dlg.SELiczbaPozimych->isEnabled());  // the grid enables the line counts
    TSettings back;
    double reference = 0;
    int32_t unit = 0;
    StoreOptionsFirst(dlg.Values(), back);
    StoreOptionsRest(dlg.Values(), back, reference, unit);
    EXPECT_EQ(back.PositioningDir, "/p/");
    EXPECT_EQ(back.FlatnessDir, "/f/");
    EXPECT_EQ(back.StraightnessDir, "/s/");
    EXPECT_EQ(back.VelocityDir, "/v/");
    EXPECT_EQ(back.AngularDir, "/a/");
    EXPECT_EQ(back.FftDir, "/t/");
    EXPECT_EQ(back.PointDistance, 200);
    EXPECT_EQ(back.Vibration, 7);
    EXPECT_EQ(back.ErrorWindow, 2300);
    EXPECT_EQ(back.CycleCount, 7);
    EXPECT_EQ(back.ErrorWindowPK, 900);
    EXPECT_EQ(back.VibrationPK, 33);
    EXPECT_EQ(back.ComPortIndex, 9);
    EXPECT_EQ(back.StraightnessMethod, 2);
    EXPECT_EQ(back.StatisticsMethod, 1);
    EXPECT_EQ(back.RotationDirection, 1);
    EXPECT_EQ(back.VelocityChartUnit, 5);
    EXPECT_EQ(back.PositioningMethod, 2);
    EXPECT_TRUE(back.UniDirectional);
    EXPECT_EQ(back.FlatnessMethod, 1);
    EXPECT_EQ(back.FlatnessHLines, 5);
    EXPECT_EQ(back.FlatnessVLines, 8);
    EXPECT_EQ(back.StraightnessPointCount, 150);
    EXPECT_FALSE(back.HumidityFromSensor);
    EXPECT_TRUE(back.PressureFromSensor);
    EXPECT_FALSE(back.MaterialTempFromSensor);
    EXPECT_EQ(back.PressureUnit, 2);
    EXPECT_DOUBLE_EQ(reference, 21.5);
    EXPECT_EQ(unit, 1);
}

TEST_F(OptionsTest, UnknownStoredPatternOpensOnLinear) {
    TSettings s;
    s.PositioningMethod = 7;
    TFOpcje dlg(searches);
    dlg.Load(OptionsFromSettings(s, 20.0, 0), false);
    EXPECT_TRUE(dlg.SBLiniowa->isChecked());
    StoreOptionsFirst(dlg.Values(), s);
    EXPECT_EQ(s.PositioningMethod, 0);
}

TEST_F(OptionsTest, SimultaneousMeasurementNeedsTheTwoAxisSystem) {
    for (bool xy : {false, true}) {
        SCOPED_TRACE(xy);
        TSettings s;
        s.SystemXY = xy;
        s.PosAndStr = true;
        TFOpcje dlg(searches);
        dlg.Load(OptionsFromSettings(s, 20.0, 0), false);
        EXPECT_EQ(dlg.cbPozycIProsto->isEnabled(), xy);
        EXPECT_EQ(!dlg.cbPozycIProsto->isHidden(), xy);  // offered where it can be chosen
        TOptionsValues v = dlg.Values();
        v.posAndStr = true;  // even a tick left from an earlier set-up
        double reference = 0;
        int32_t unit = 0;
        StoreOptionsRest(v, s, reference, unit);
        EXPECT_EQ(s.PosAndStr, xy);
    }
}

TEST_F(OptionsTest, ReferenceTemperatureFollowsItsUnit) {
    TSettings s;
    s.TemperatureUnit = 1;
    TFOpcje dlg(searches);
    dlg.Load(OptionsFromSettings(s, 20.0, 0), false);
    EXPECT_EQ(dlg.RSETRef->text(), "68,0");
    EXPECT_DOUBLE_EQ(dlg.RSETRef->MinValue(), -17.0);
    dlg.RSETRef->setText("50");  // typed
    EXPECT_DOUBLE_EQ(dlg.Values().referenceTemperatureC, 10.0);
    dlg.rgTempUnit->SetItemIndex(0);
    EXPECT_EQ(dlg.RSETRef->text(), "10,0");
    EXPECT_DOUBLE_EQ(dlg.RSETRef->MaxValue(), 40.0);
    dlg.RSETRef->setText("25");
    dlg.rgTempUnit->SetItemIndex(1);
    EXPECT_EQ(dlg.RSETRef->text(), "77,0");
}

TEST_F(OptionsTest, DefaultButtonsAndFlatnessMethod) {
    TFOpcje dlg(searches);
    dlg.Load(OptionsFromSettings(TSettings{}, 20.0, 0), false);
    dlg.ButtonDom->click();
    EXPECT_EQ(dlg.SpinEditOdstep->value(), 100);
    EXPECT_EQ(dlg.SpinEditDrgania->value(), 10);
    EXPECT_EQ(dlg.PointTimeEdit->text(), "1,000");
    EXPECT_EQ(dlg.SpinEditDopBlad->value(), 1000);
    dlg.Button1->click();
    EXPECT_EQ(dlg.SEDopDladPK->value(), 1800);
    EXPECT_EQ(dlg.SEDrganiaPK->value(), 10);
    EXPECT_EQ(dlg.RSECzasPK->text(), "1,000");

    EXPECT_FALSE(dlg.SELiczbaPinowych->isEnabled());
    dlg.SBSiatka->click();
    EXPECT_TRUE(dlg.SELiczbaPinowych->isEnabled());
    EXPECT_TRUE(dlg.LabPozime->isEnabled());
    dlg.SBKoperta->click();
    EXPECT_FALSE(dlg.SELiczbaPozimych->isEnabled());
    EXPECT_EQ(dlg.Values().flatnessGrid, false);

    dlg.ButtonPomoc->click();
    EXPECT_EQ(testsupport::TakeHelpPage(), "konfiguracja.html");
}

TEST_F(OptionsTest, PortDetectionResults) {
    const PortDetectionOutcome found = PortDetectionResult(mrOk, 2);
    EXPECT_EQ(found.portIndex, 2);
    EXPECT_EQ(found.message, "Wykryto Vkm30 na Com3");
    const PortDetectionOutcome none = PortDetectionResult(TfWykCom::kNoPortAnswered, 0);
    EXPECT_FALSE(none.portIndex);
    EXPECT_EQ(none.message, QString::fromUtf8("Nie wykryto Vkm30\n\rSprawdź poprawność połączeń"));
    const PortDetectionOutcome cancelled = PortDetectionResult(mrCancel, 4);
    EXPECT_FALSE(cancelled.portIndex);
    EXPECT_TRUE(cancelled.message.isEmpty());
}

TEST_F(OptionsTest, FirstPageByModeAndByButton) {
    struct {
        bool fromButton;
        int mode;
        OptionsPage page;
    } cases[] = {
        {true, 3, OptionsPage::Interfejs},        {false, 0, OptionsPage::Pozycjonowanie},
        {false, 1, OptionsPage::Predkosc},        {false, 2, OptionsPage::Prostoliniowosc},
        {false, 3, OptionsPage::Mapa},            {false, 4, OptionsPage::PodzialyKatowe},
        {false, 5, OptionsPage::TSFFT},           {false, 6, OptionsPage::Predkosc},
    };
    for (const auto& c : cases) EXPECT_EQ(OptionsFirstPage(c.fromButton, c.mode), c.page) << c.mode;

    // Through the command, with the page's caption the inspector sees.
    RecordingHost host;
    host.mode = 3;
    QString caption;
    whenModalShown<TFOpcje>([&](TFOpcje& d) {
        caption = d.PageControl1->tabText(d.PageControl1->currentIndex());
        d.ButtonAnuluj->click();
    });
    EXPECT_FALSE(RunOptionsDialog(host, false));
    EXPECT_EQ(caption, QString::fromUtf8("Mapa płaskości"));
    whenModalShown<TFOpcje>([&](TFOpcje& d) {
        caption = d.PageControl1->tabText(d.PageControl1->currentIndex());
        d.ButtonAnuluj->click();
    });
    RunOptionsDialog(host, true);
    EXPECT_EQ(caption, "Interfejs");
}

TEST_F(OptionsTest, CancelChangesNothingEvenAfterPortDetection) {
    RecordingHost host;
    host.settings.ComPortIndex = 1;
    host.settings.CycleCount = 3;
    const TSettings before = host.settings;
    bool portEnabled = false;
    whenModalShown<TFOpcje>([&](TFOpcje& d) {
        portEnabled = d.RadioGroupCom->isEnabled();
        d.bWykCom->click();  // no port answers: the second message
        d.RadioGroupCom->SetItemIndex(4);  // as a found port would
        d.SpinEditLiczbaCykli->setValue(9);
        d.rgUnit->SetItemIndex(1);
        d.rgTempUnit->SetItemIndex(1);
        d.ButtonAnuluj->click();
    });
    EXPECT_FALSE(RunOptionsDialog(host, true));
    EXPECT_TRUE(portEnabled);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith("Nie wykryto Vkm30"));
    EXPECT_EQ(host.settings.ComPortIndex, before.ComPortIndex);
    EXPECT_EQ(host.settings.CycleCount, before.CycleCount);
    EXPECT_EQ(host.settings.TemperatureUnit, before.TemperatureUnit);
    EXPECT_EQ(LengthUnit, 0);
    EXPECT_DOUBLE_EQ(ReferenceTemperature, 20.0);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"restore link"}));
}

TEST_F(OptionsTest, OkStoresTheChangesAndRefreshesInOrder) {
    RecordingHost host;
    host.settings.TemperatureUnit = 1;
    InterfaceMode = 0;  // the measuring card
    bool portEnabled = true;
    whenModalShown<TFOpcje>([&](TFOpcje& d) {
        portEnabled = d.RadioGroupCom->isEnabled();
        d.SpinEditLiczbaCykli->setValue(5);
        d.SBPielgrzym->click();
        d.rgUnit->SetItemIndex(1);
        d.RSETRef->setText("50");
        d.ButtonOk->click();
    });
    EXPECT_TRUE(RunOptionsDialog(host, false));
    EXPECT_FALSE(portEnabled);
    EXPECT_EQ(host.settings.CycleCount, 5);
    EXPECT_EQ(host.settings.PositioningMethod, 1);
    EXPECT_DOUBLE_EQ(ReferenceTemperature, 10.0);
    EXPECT_EQ(LengthUnit, 1);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"choices", "environment", "length 1", "page"}));
}

TEST_F(OptionsTest, Screenshots) {
    if (qEnvironmentVariableIsEmpty("VKM30_SCREENSHOTS")) GTEST_SKIP();
    TSettings s;
    s.PositioningDir = "/home/pomiary/pozycjonowanie/";
    TFOpcje dlg(searches);
    dlg.Load(OptionsFromSettings(s, 20.0, 0), false);
    dlg.show();
    for (int i = 0; i < dlg.PageControl1->count(); ++i) {
        dlg.PageControl1->setCurrentIndex(i);
        dlg.grab().save(QDir(qEnvironmentVariable("VKM30_SCREENSHOTS"))
                            .filePath(QStringLiteral("opcje_%1.png").arg(dlg.PageControl1->widget(i)->objectName())));
    }
}

}  // namespace
