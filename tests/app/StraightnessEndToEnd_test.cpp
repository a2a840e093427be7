// A straightness run end to end: the simulated head streams counts over a pseudo-terminal to the
// real main window, the inspector enters the straightness page, starts, accepts five points by
// hand, stops, and saves the line through the window's save command; the file reads back equal.
#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QThread>
#include <QToolButton>

#include "HeadWindowFixture.h"
#include "app/ModeSequences.h"
#include "app/ModeSequencesMainForm.h"
#include "app/PunktyPoz.h"
#include "app/Settings.h"
#include "evaluation/MeasurementFiles.h"
#include "evaluation/StraightnessEval.h"
#include "foundations/ProgramMessages.h"
#include "instrument/ComDrv32.h"
#include "instrument/PointAcceptance.h"
#include "instrument/RawConversion.h"
#include "instrument/UOdczyt.h"
#include "platform/Chart.h"
#include "platform/Registry.h"
#include "support/SimHead.h"

namespace {

using testsupport::FrameSpec;
using testsupport::SimHead;

class StraightnessEndToEnd : public HeadWindowTest {
protected:
    void TearDown() override {
        setFileDialogHook({});
        HeadWindowTest::TearDown();
    }
};

TEST_F(StraightnessEndToEnd, FivePointsAcceptedByHandAreFittedSavedAndReadBack) {
    setMessageDlgHook([this](const MessageDlgRequest& r) {
        messages.push_back(r);
        // The machine data stay as they are.
        if (r.text == Msg("stZmianaInfo")) return int(mrNo);
        return int(r.type == TMsgDlgType::mtConfirmation ? mrYes : mrOk);
    });
    startWithHead();
    TMainForm* f = form();
    const QString data = dir.filePath("prost");
    ASSERT_TRUE(QDir().mkpath(data));
    f->StraightnessDir = data;
    f->StraightnessMethod = 1;  // deflection: each reading is the deviation in µm
    f->StatisticsMethod = 0;
    f->BaseLength = 100.0;      // points 10 cm apart
    Control<QToolButton>(f, "SpeedButtonZnak")->setText("-");
    if (f->MenuCommand("Automatyczny1")->isChecked()) f->Automatyczny1Click();
    ASSERT_FALSE(f->MenuCommand("Automatyczny1")->isChecked());

    head.startStreaming(FrameSpec::ready(0), std::chrono::milliseconds(10));
    f->NotebookMainForm->setCurrentIndex(1);
    Control<QPushButton>(f, "BitBtnProstolinowosc")->click();
    EXPECT_EQ(f->MeasurementMode, 2);
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 3);
    EXPECT_EQ(f->windowTitle(), f->ModeCaptions[2]);
    EXPECT_EQ(TMainForm::ChartAxisTitle(Control<platform::TChart>(f, "wykres"), TMainForm::ChartAxis::Left), Msg("stBladProsto") + " [ µm ]");
    EXPECT_EQ(TMainForm::ChartAxisTitle(Control<platform::TChart>(f, "wykres"), TMainForm::ChartAxis::Bottom), Msg("stOdleglosc") + " [ cm ]");
    EXPECT_TRUE(TMainForm::ChartTitle(Control<platform::TChart>(f, "wykres")).startsWith(Msg("stPomiarProsto") + " - "));
    EXPECT_TRUE(Control<platform::TChart>(f, "WykresOsY")->isHidden());
    // The page starts the reading itself once the head is ready; without its entry it is
    // started here as the signal monitor would.
    if (!f->ReadingThread().Running()) modes::StartLinearReading(f->ModeHost());
    ASSERT_TRUE(pumpUntil([&] { return f->ReadingThread().Running() && Control<QPushButton>(f, "ButtonPozStart")->isEnabled(); }));

    Control<QPushButton>(f, "ButtonPozStart")->click();
    ASSERT_TRUE(MeasurementRunning.load());
    EXPECT_EQ(Control<QPushButton>(f, "ButtonPozStart")->text(), "&Stop");
    ASSERT_FALSE(Control<QPushButton>(f, "ButtonZaliczeniepunktu")->isHidden());
    ASSERT_TRUE(Control<QPushButton>(f, "ButtonZaliczeniepunktu")->isEnabled());
    EXPECT_EQ(Control<QLabel>(f, "Label124")->text(), Msg("stZaliczPunkt") + " 1.");

    // The reflector stops at five places; each is accepted with the button.
    const int32_t counts[] = {0, 12, 19, 15, 8};  // a few µm each
    instrument::ConversionSettings conv;
    conv.mode = 2;
    conv.straightnessMethod = 1;
    auto microns = [&](int32_t count) {
        conv.wavelength = LaserWavelength;
        conv.airCorrection = AirCorrection;
        conv.materialTemperature = MaterialTemperature;
        conv.referenceTemperature = ReferenceTemperature;
        conv.expansionCoefficient = ExpansionCoefficient;
        double filter = 0.0;
        return *instrument::ConvertRawCount(count, conv, filter);
    };
    TPunkt expected;
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        head.setStreamCount(counts[i]);
        ASSERT_TRUE(pumpUntil([&] { return RawCount.load() == counts[i]; }));
        TPunktItem& e = expected.Add();
        e.Dystans = 10.0 * i;
        e.Xa = microns(counts[i]);
        Control<QPushButton>(f, "ButtonZaliczeniepunktu")->click();
        ASSERT_TRUE(pumpUntil([&] { return f->StraightnessPoints->Count() == i + 1; }));
        EXPECT_EQ(Control<QLabel>(f, "Label124")->text(), FillPlaceholder(Msg("stPunktZaliczony"), i + 1));
    }
    ASSERT_EQ(f->StraightnessPoints->Count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR((*f->StraightnessPoints)[i].Dystans, expected[i].Dystans, 1e-12);
        EXPECT_NEAR((*f->StraightnessPoints)[i].Xa, expected[i].Xa, 1e-9);
    }

    // Stop: the line is fitted and its straightness shown.
    Control<QPushButton>(f, "ButtonPozStart")->click();
    EXPECT_FALSE(MeasurementRunning.load());
    EXPECT_EQ(Control<QPushButton>(f, "ButtonPozStart")->text(), "&Start");
    EXPECT_TRUE(Control<QLabel>(f, "Label124")->isHidden());
    EXPECT_FALSE(Control<QTimer>(f, "TimerProstoliniowosc1")->isActive());
    EXPECT_FALSE(DataSaved);
    const evaluation::StraightnessPlot plot =
        evaluation::PlotStraightness(*f->StraightnessPoints, {}, foundations::systemDecimalSeparator());
    EXPECT_FALSE(Control<QLabel>(f, "LabelLuzZwrotny")->isHidden());
    EXPECT_EQ(Control<QLabel>(f, "LabelLuzZwrotny")->text(), plot.horizontalCaption);
    auto* chart = static_cast<platform::TChart*>(Control<platform::TChart>(f, "wykres"));
    platform::TChartSeries* curve = chart->SeriesByName("DoPrzodu");
    ASSERT_NE(curve, nullptr);
    ASSERT_EQ(curve->Count(), 5);
    EXPECT_DOUBLE_EQ(curve->YValue(0), 0.0);  // end-point line residuals
    EXPECT_NEAR(curve->YValue(4), 0.0, 1e-9);
    // The vertical plane is drawn on its own chart, not over the horizontal one.
    EXPECT_EQ(chart->SeriesByName("ProstoOsY"), nullptr);
    EXPECT_NE(static_cast<platform::TChart*>(Control<platform::TChart>(f, "WykresOsY"))->SeriesByName("ProstoOsY"), nullptr);
    EXPECT_TRUE(f->MenuCommand("Zapisz1")->isEnabled());

    // The picture an inspector looks at after the run, in the inspector's locale.
    const QLocale locale;
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    f->resize(1280, 800);
    f->show();
    QCoreApplication::processEvents();
    f->grab().save("/tmp/straightness_page.png");
    QLocale::setDefault(locale);

    // Saved through the window's save command.
    const QString file = QDir(data).filePath("linia.dt4");
    setFileDialogHook([&](const FileDialogSettings&, bool save) -> std::optional<QString> {
        EXPECT_TRUE(save);
        return file;
    });
    f->MenuCommand("Zapisz1")->trigger();
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_TRUE(DataSaved);

    MeasurementData back;
    ASSERT_EQ(::LoadMeasurementFile(back, file, 2), std::nullopt);
    ASSERT_EQ(back.StraightnessPoints.Count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(back.StraightnessPoints[i].Dystans, (*f->StraightnessPoints)[i].Dystans);
        EXPECT_EQ(back.StraightnessPoints[i].Xa, (*f->StraightnessPoints)[i].Xa);
        EXPECT_EQ(back.StraightnessPoints[i].Xr, (*f->StraightnessPoints)[i].Xr);
    }
    // The run's start wrote the environment into the header.
    EXPECT_EQ(back.Header.Date, QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).left(17));
    EXPECT_EQ(back.Header.ReferenceTemperature, foundations::formatFixed(ReferenceTemperature, 15, 1).left(4));
    EXPECT_EQ(back.Header, f->MeasurementHeader());
}

// The service panel's command buttons reach the head over the link, one byte each.
TEST_F(StraightnessEndToEnd, ServiceButtonsReachTheHead) {
    startWithHead();
    TMainForm* f = form();
    QCoreApplication::processEvents();
    head.clearReceived();
    for (const char* name : {"PSButtonPowerOn", "PSButtonPowerOff", "PSButtonTurnOn", "PSButtonTurnOff",
                             "PSButtonKrokP", "PSButtonKrokL", "Button30", "Button31", "Button32", "ResetProgramu"}) {
        auto* b = f->findChild<QPushButton*>(name);
        ASSERT_NE(b, nullptr) << name;
        b->click();
    }
    ASSERT_TRUE(head.waitForCommands(10));
    const testsupport::Bytes got = head.receivedCommands();
    EXPECT_EQ(std::string(got.begin(), got.end()), "stwxuvLMN<");
}

}  // namespace
