// The configuration command on the real window, answered as an inspector would: both ways in,
// what it shows of the window's settings, what OK changes in the running program (the next
// positioning run, the language, the units of the readout and start points) and what Cancel
// leaves alone. Also the beam-alignment view fed by the simulated head's two-axis detector.
// Pictures of the dialog's pages, the alignment view and the inch readout are saved when
// VKM30_SCREENSHOTS names a folder.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <string>

#include "HeadWindowFixture.h"
#include "app/AlignmentTarget.h"
#include "app/ModeSequences.h"
#include "app/ModeSequencesMainForm.h"
#include "app/opcje.h"
#include "foundations/Display.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RadioGroup.h"
#include "foundations/RealSpinEdit.h"
#include "instrument/PointAcceptance.h"
#include "platform/Chart.h"
#include "platform/ChartSeries.h"
#include "support/ModalDialog.h"

using testsupport::FrameSpec;
using testsupport::whenModalShown;

namespace {

QString screenshotDir() { return qEnvironmentVariable("VKM30_SCREENSHOTS"); }

void saveShot(QWidget* w, const QString& name) {
    if (screenshotDir().isEmpty()) return;
    QDir().mkpath(screenshotDir());
    w->grab().save(QDir(screenshotDir()).filePath(name));
}

class OptionsWindowTest : public HeadWindowTest {
protected:
    void SetUp() override {
        HeadWindowTest::SetUp();
        // No port but a test's own head is there: the port search finds nothing at once.
        for (int n = 2; n <= 10; ++n)
            qputenv(("VKM30_COM" + std::to_string(n)).c_str(), dir.filePath(QString("none%1").arg(n)).toUtf8());
    }
    void TearDown() override {
        for (int n = 2; n <= 10; ++n) qunsetenv(("VKM30_COM" + std::to_string(n)).c_str());
        HeadWindowTest::TearDown();
    }
    // Runs the command the way the inspector chose, with `drive` answering the dialog.
    void configure(bool fromButton, std::function<void(TFOpcje&)> drive) {
        whenModalShown<TFOpcje>(std::move(drive));
        if (fromButton) {
            Control<QPushButton>(form(), "BitBtnKonfiguracja")->click();
        } else {
            QAction* a = form()->MenuCommand("Konfiguracja1");
            ASSERT_NE(a, nullptr);
            ASSERT_TRUE(a->isEnabled());
            a->trigger();
        }
    }
    // A sensor table the station's readings can be converted with.
    void writeCalibrationTable() {
        QByteArray b;
        for (int i = 0; i < 120; ++i) {
            const int32_t v = i * 10 - 300;
            for (int k = 0; k < 4; ++k) b += char((uint32_t(v) >> (8 * k)) & 0xFF);
        }
        writeProgramFile("Kalibracja.dat", b);
    }
    static QString tab(TFOpcje& d) { return d.PageControl1->tabText(d.PageControl1->currentIndex()); }
};

TEST_F(OptionsWindowTest, BothCommandsOpenOnTheirFirstPage) {
    start();
    TMainForm* f = form();
    QString caption;
    f->MeasurementMode = kModeFlatness;  // the flatness page is shown
    configure(false, [&](TFOpcje& d) {
        caption = tab(d);
        d.ButtonAnuluj->click();
    });
    EXPECT_EQ(caption, QString::fromUtf8("Mapa płaskości"));
    configure(true, [&](TFOpcje& d) {
        caption = tab(d);
        d.ButtonAnuluj->click();
    });
    EXPECT_EQ(caption, "Interfejs");
    f->MeasurementMode = kModeNone;
}

// What the window holds shown in the dialog's units, and stored back in the program's own.
TEST_F(OptionsWindowTest, ValuesShownInTheDialogsUnitsAndStoredInTheProgramsOwn) {
    start();
    TMainForm* f = form();
    f->PointNumber = 25;
    f->TemperatureUnit = 1;  // °F
    ReferenceTemperature = 20.0;
    f->SystemXY = false;
    f->PosAndStr = true;
    DefaultAirTemperature = 20.0;
    QString pointTime, reference;
    bool simultaneousOffered = true;
    configure(false, [&](TFOpcje& d) {
        pointTime = d.PointTimeEdit->text();
        reference = d.RSETRef->text();
        simultaneousOffered = d.cbPozycIProsto->isEnabled();
        d.PointTimeEdit->setText("1,0");
        d.RSETRef->setText("50");
        d.ButtonOk->click();
    });
    EXPECT_EQ(pointTime, "1,000");
    EXPECT_EQ(reference, "68,0");
    EXPECT_FALSE(simultaneousOffered);
    EXPECT_EQ(f->PointNumber, 25);
    EXPECT_DOUBLE_EQ(ReferenceTemperature, 10.0);
    EXPECT_FALSE(f->PosAndStr);  // without the two-axis system
    // The hand entries follow the unit: 20 °C shows as 68 °F, typing 50 °F stores 10 °C.
    EXPECT_DOUBLE_EQ(Control<TRealSpinEdit>(f, "SETempPow")->Value(), 68.0);
    Control<TRealSpinEdit>(f, "SETempPow")->setText("50");
    EXPECT_DOUBLE_EQ(DefaultAirTemperature, 10.0);
    // Pressure in inHg: 29.92 typed is kept as about 1013.2 hPa.
    configure(false, [&](TFOpcje& d) {
        d.rgPresUnit->SetItemIndex(2);
        d.ButtonOk->click();
    });
    EXPECT_EQ(f->PressureUnit, 2);
    Control<TRealSpinEdit>(f, "seCisnienie")->setText("29,92");
    EXPECT_NEAR(DefaultPressure, 29.92 * 1.33322 * 25.4, 1e-9);
    EXPECT_NEAR(DefaultPressure, 1013.2, 0.05);
}

TEST_F(OptionsWindowTest, CancelAfterPortDetectionChangesNothing) {
    writeProgramFile("Vkm30.EN", "[MainForm]\nBitBtnKoniec.Caption=&Exit\n");
    start();
    TMainForm* f = form();
    f->ComPortUstawienia->SetItemIndex(1);
    f->CycleCount = 3;
    const int connectedPort = int(f->CommPortDriver1->ComPort());
    bool portEnabled = false;
    configure(true, [&](TFOpcje& d) {
        portEnabled = d.RadioGroupCom->isEnabled();
        d.bWykCom->click();                // nothing answers: "Nie wykryto Vkm30"
        d.RadioGroupCom->SetItemIndex(4);  // as a found port would
        d.RGJezyk->SetItemIndex(int(d.LanguageCodes().indexOf("EN")));
        d.SpinEditLiczbaCykli->setValue(9);
        d.rgUnit->SetItemIndex(1);
        d.ButtonAnuluj->click();
    });
    EXPECT_TRUE(portEnabled);
    EXPECT_EQ(messageCount(QString::fromUtf8("Nie wykryto Vkm30\n\rSprawdź poprawność połączeń")), 1);
    EXPECT_EQ(f->ComPortUstawienia->ItemIndex(), 1);
    EXPECT_EQ(int(f->CommPortDriver1->ComPort()), connectedPort);
    EXPECT_EQ(f->CycleCount, 3);
    EXPECT_EQ(LengthUnit, 0);
    EXPECT_EQ(Control<QPushButton>(f, "BitBtnKoniec")->text(), "&Koniec");
}

TEST_F(OptionsWindowTest, MeasuringCardDisablesThePortChoice) {
    start();
    InterfaceMode = 0;
    bool portEnabled = true;
    configure(true, [&](TFOpcje& d) {
        portEnabled = d.RadioGroupCom->isEnabled();
        d.ButtonAnuluj->click();
    });
    EXPECT_FALSE(portEnabled);
}

// OK: the port choice waits for the next connection; the language and the sensor ticks apply
// to the open window at once.
TEST_F(OptionsWindowTest, OkAppliesLanguageAndTicksAndKeepsTheOpenPort) {
    writeProgramFile("Vkm30.EN", "[MainForm]\nBitBtnKoniec.Caption=&Exit\nCBWilg.Caption=Humidity sensor\n");
    writeCalibrationTable();
    startWithHead();
    TMainForm* f = form();
    const int connectedPort = int(f->CommPortDriver1->ComPort());
    Control<QCheckBox>(f, "CBWilg")->setChecked(true);
    bool humidityTicked = false;
    configure(true, [&](TFOpcje& d) {
        humidityTicked = d.CBW->isChecked();
        d.RGJezyk->SetItemIndex(int(d.LanguageCodes().indexOf("EN")));
        d.RadioGroupCom->SetItemIndex(6);
        d.CBW->setChecked(false);
        d.ButtonOk->click();
    });
    EXPECT_TRUE(humidityTicked);
    EXPECT_EQ(Control<QPushButton>(f, "BitBtnKoniec")->text(), "&Exit");
    EXPECT_EQ(Control<QCheckBox>(f, "CBWilg")->text(), "Humidity sensor");
    EXPECT_FALSE(Control<QCheckBox>(f, "CBWilg")->isChecked());
    EXPECT_TRUE(Control<QSpinBox>(f, "SEWilgotnosc")->isVisibleTo(Control<QFrame>(f, "PanelMeteo")));
    EXPECT_FALSE(Control<QLabel>(f, "Label23")->isVisibleTo(Control<QFrame>(f, "PanelMeteo")));
    EXPECT_EQ(f->ComPortUstawienia->ItemIndex(), 6);
    EXPECT_EQ(int(f->CommPortDriver1->ComPort()), connectedPort);
    EXPECT_TRUE(f->SerialLinkOpen());
    // The connect command applies the choice before it opens the port.
    f->RSButton_PolaczClick();
    EXPECT_EQ(int(f->CommPortDriver1->ComPort()), 6);
}

// Without the calibration file the station cannot be read: OK keeps the boxes off whatever the
// dialog says, and the choice is kept for when the file is back.
TEST_F(OptionsWindowTest, SensorsStayOffWithoutCalibration) {
    start();
    TMainForm* f = form();
    ASSERT_FALSE(Control<QCheckBox>(f, "CBTemp")->isEnabled());
    bool offered = false;
    configure(true, [&](TFOpcje& d) {
        offered = d.CBT->isChecked();  // the stored choice
        d.CBT->setChecked(true);
        d.ButtonOk->click();
    });
    EXPECT_TRUE(offered);
    EXPECT_FALSE(Control<QCheckBox>(f, "CBTemp")->isChecked());
    EXPECT_TRUE(f->AirTempFromSensor);
}

TEST_F(OptionsWindowTest, InchUnitOnTheReadoutAndTheStartPoints) {
    startWithHead();
    TMainForm* f = form();
    head.startStreaming(FrameSpec::ready(80000), std::chrono::milliseconds(10));
    Control<QPushButton>(f, "BitBtnWyswietlacz")->click();
    ASSERT_EQ(f->MeasurementMode, kModeDistanceReadout);
    StartPoint = 25.4;
    StartPointDisp = 50.8;
    configure(false, [&](TFOpcje& d) {
        d.rgUnit->SetItemIndex(1);
        d.ButtonOk->click();
    });
    EXPECT_EQ(LengthUnit, 1);
    EXPECT_DOUBLE_EQ(f->PunktStartowy->Value(), 1.0);
    EXPECT_DOUBLE_EQ(f->PunktStartowyWysw->Value(), 2.0);
    EXPECT_EQ(f->Label68->text(), "[in]");
    EXPECT_EQ(f->Label89->text(), "[in]");
    EXPECT_EQ(TMainForm::ChartAxisTitle(Control<platform::TChart>(f, "wykres"), TMainForm::ChartAxis::Bottom),
              Msg("stOdleglosc") + QStringLiteral(" [ in ]"));
    EXPECT_EQ(f->DisplayLengthUnit, 4);
    EXPECT_EQ(Control<QLabel>(f, "Label2")->text(), "in");
    auto* readout = Control<TDisplay>(f, "DisplayWys");
    EXPECT_EQ(readout->Precision(), f->DisplayPrecision[2]);
    // 80000 counts are about 12.66 mm, shown in inches from the start point of 2 in (the sign
    // switch shows "+": the reading's sign turned).
    const double inch = 2.0 - 80000 * 0.25 * kDefaultLaserWavelength * 1000.0 / 25.4;
    EXPECT_TRUE(pumpUntil([&] { return std::abs(readout->Value() - inch) < 1e-4; })) << readout->Value();
    saveShot(f, "readout_inch.png");
    // Back to millimetres: the start point in mm again.
    configure(false, [&](TFOpcje& d) {
        d.rgUnit->SetItemIndex(0);
        d.ButtonOk->click();
    });
    EXPECT_DOUBLE_EQ(f->PunktStartowy->Value(), 25.4);
    EXPECT_EQ(Control<QLabel>(f, "Label2")->text(), "mm");
}

// Changed on the positioning page: its summary shows the change at once, and the next run is
// made with it.
TEST_F(OptionsWindowTest, CycleCountAndPatternUsedByTheNextPositioningRun) {
    startWithHead();
    TMainForm* f = form();
    f->CycleCount = 2;
    f->PositioningMethod = 0;
    head.startStreaming(FrameSpec::ready(0), std::chrono::milliseconds(10));
    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    ASSERT_EQ(f->MeasurementMode, kModePositioning);
    auto panels = [f] {
        QStringList t;
        for (int i = 0; i < 5; ++i) t << Control<QStatusBar>(f, "StatusBar1")->findChild<QLabel*>("StatusBar1Panel" + QString::number(i))->text();
        return t;
    };
    ASSERT_FALSE(panels().contains(Msg("stPielgrzym")));
    configure(false, [&](TFOpcje& d) {
        d.SpinEditLiczbaCykli->setValue(4);
        d.SBPielgrzym->click();
        d.ButtonOk->click();
    });
    EXPECT_EQ(f->CycleCount, 4);
    EXPECT_EQ(f->PositioningMethod, 1);
    EXPECT_TRUE(panels().contains(Msg("stPielgrzym"))) << panels().join(" | ").toStdString();
    EXPECT_TRUE(panels().join(' ').contains("4")) << panels().join(" | ").toStdString();

    f->TargetPoints->Clear();
    for (int k = 0; k < 5; ++k) f->TargetPoints->Add().Dystans = 10.0 * k;
    f->PointsFromList = true;
    f->MenuCommand("PunktyZListy")->setChecked(true);
    ASSERT_TRUE(pumpUntil([&] { return Control<QPushButton>(f, "ButtonPozStart")->isEnabled(); }));
    Control<QPushButton>(f, "ButtonPozStart")->click();
    ASSERT_TRUE(MeasurementRunning.load());
    EXPECT_EQ(f->Acceptance().settings.cycleCount, 4);
    Control<QPushButton>(f, "ButtonPozStart")->click();  // stop
}

// On the straightness page the method takes effect at once: the second chart for "3 D", the
// 10 nm byte to the head for "Uchyleń".
TEST_F(OptionsWindowTest, StraightnessMethodTakesEffectOnItsPage) {
    startWithHead();
    TMainForm* f = form();
    f->StraightnessMethod = 0;
    head.startStreaming(FrameSpec::ready(0), std::chrono::milliseconds(10));
    Control<QPushButton>(f, "BitBtnProstolinowosc")->click();
    ASSERT_EQ(f->MeasurementMode, kModeStraightness);
    configure(false, [&](TFOpcje& d) {
        d.RadioGroupMetoda->SetItemIndex(2);
        d.ButtonOk->click();
    });
    EXPECT_FALSE(Control<platform::TChart>(f, "WykresOsY")->isHidden());
    head.clearReceived();
    configure(false, [&](TFOpcje& d) {
        d.RadioGroupMetoda->SetItemIndex(1);
        d.ButtonOk->click();
    });
    EXPECT_TRUE(Control<platform::TChart>(f, "WykresOsY")->isHidden());
    EXPECT_TRUE(pumpUntil([&] {
        const testsupport::Bytes sent = head.receivedCommands();
        return std::find(sent.begin(), sent.end(), uint8_t('e')) != sent.end();
    }));
}

TEST_F(OptionsWindowTest, AlignmentViewFollowsTheTwoAxisDetector) {
    const alignment::Target t = alignment::TargetFor(32767, 0, -32767, 16384, 11, 10);
    EXPECT_DOUBLE_EQ(t.blue.x, 100.0);
    EXPECT_DOUBLE_EQ(t.blue.y, 0.0);
    EXPECT_EQ(t.blue.color, alignment::kBlue);
    EXPECT_DOUBLE_EQ(t.red.x, 0.0);
    EXPECT_EQ(t.red.color, alignment::kRed);  // a level of exactly 10 is too little light
    EXPECT_EQ(alignment::TargetFor(0, 0, 0, 0, 10, 11).red.color, alignment::kLime);
    // The extreme words cannot overflow their sum.
    EXPECT_DOUBLE_EQ(alignment::TargetFor(INT32_MAX, 0, INT32_MAX, 0, 0, 0).red.x, 2.0 * INT32_MAX / 32767.0 * 100.0);

    startWithHead();
    TMainForm* f = form();
    head.startStreaming(FrameSpec::ready(4000).withXy({8192, -16384, 4096, 8192}, 40, 5),
                        std::chrono::milliseconds(10));
    Control<QPushButton>(f, "BitBtnWyswietlacz")->click();
    auto* box = Control<QCheckBox>(f, "CBJustowanie");
    EXPECT_FALSE(Control<QCheckBox>(f, "cbSystemXY")->isChecked());
    ASSERT_TRUE(pumpUntil([&] { return box->isEnabled(); }));
    // The head's XY blocks tick the two-axis system on the service panel.
    EXPECT_TRUE(pumpUntil([&] { return Control<QCheckBox>(f, "cbSystemXY")->isChecked(); }));
    EXPECT_TRUE(f->SystemXY);
    auto* view = Control<platform::TChart>(f, "chJustowanie");
    auto* photo = Control<QLabel>(f, "FotoPomiaru");
    EXPECT_FALSE(view->isVisibleTo(f));
    box->click();
    EXPECT_TRUE(view->isVisibleTo(f));
    EXPECT_FALSE(photo->isVisibleTo(f));
    auto* blue = view->SeriesByName("PointBlue");
    auto* red = view->SeriesByName("PointRed");
    auto* horRed = static_cast<platform::TChartShape*>(view->SeriesByName("HorRed"));
    ASSERT_TRUE(blue && red && horRed);
    const double s = 100.0 / 32767.0;
    ASSERT_TRUE(pumpUntil([&] { return std::abs(blue->XValue(0) - 8192 * s) < 1e-9; }));
    EXPECT_DOUBLE_EQ(blue->YValue(0), -16384 * s);
    EXPECT_DOUBLE_EQ(red->XValue(0), (8192 + 4096) * s);
    EXPECT_DOUBLE_EQ(red->YValue(0), (-16384 + 8192) * s);
    EXPECT_DOUBLE_EQ(horRed->Y0(), (-16384 + 8192) * s);
    EXPECT_DOUBLE_EQ(horRed->X0(), -100.0);
    EXPECT_EQ(blue->SeriesColor(), platform::colorFromWin(alignment::kBlue));
    EXPECT_EQ(red->SeriesColor(), platform::colorFromWin(alignment::kRed));  // level 5
    f->resize(1100, 900);
    f->show();
    QCoreApplication::processEvents();
    saveShot(f, "alignment_view.png");
    box->click();
    EXPECT_FALSE(view->isVisibleTo(f));
    EXPECT_TRUE(photo->isVisibleTo(f));
}

// The speed choice sets the port's speed (item "300" is the port component's second speed) and
// shows the speed the link was opened with.
TEST_F(OptionsWindowTest, SpeedChoiceSetsThePortsSpeed) {
    startWithHead();
    TMainForm* f = form();
    EXPECT_EQ(f->BaudRateRG->ItemIndex(), int(br57600) - 1);
    f->BaudRateRG->SetItemIndex(0);
    EXPECT_EQ(f->CommPortDriver1->ComPortSpeed(), br300);
    f->BaudRateRG->SetItemIndex(11);
    EXPECT_EQ(f->CommPortDriver1->ComPortSpeed(), br115200);
}

TEST_F(OptionsWindowTest, Screenshots) {
    if (screenshotDir().isEmpty()) GTEST_SKIP();
    start();
    configure(true, [&](TFOpcje& d) {
        d.show();
        for (int i = 0; i < d.PageControl1->count(); ++i) {
            d.PageControl1->setCurrentIndex(i);
            QCoreApplication::processEvents();
            saveShot(&d, QStringLiteral("window_opcje_%1.png").arg(d.PageControl1->widget(i)->objectName()));
        }
        d.ButtonAnuluj->click();
    });
}

}  // namespace
