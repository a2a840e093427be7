// The data of a positioning run through the real window: what a stopped run keeps, what the
// two-axis detector's cycles keep after the teaching cycle turns back, the prompt while a cycle
// waits for the axis at the start, the commands offered without data, and imports that fail or
// follow an opened file.
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <cmath>

#include "HeadWindowFixture.h"
#include "app/PositioningPage.h"
#include "app/PositioningRun.h"
#include "app/PunktyPoz.h"
#include "evaluation/MeasurementFiles.h"
#include "evaluation/PointStore.h"
#include "evaluation/TextImport.h"
#include "foundations/Display.h"
#include "foundations/ProgramMessages.h"
#include "instrument/PointAcceptance.h"
#include "platform/Chart.h"

namespace {

using testsupport::FrameSpec;

// Grabs the window for a look by eye when VKM30_TEST_SHOTS names a folder.
void shot(QWidget* w, const char* name) {
    const QString folder = qEnvironmentVariable("VKM30_TEST_SHOTS");
    if (!folder.isEmpty()) w->grab().save(folder + u'/' + QLatin1String(name) + QStringLiteral(".png"));
}

int seriesCount(QWidget* chartWidget, const char* series) {
    auto* chart = qobject_cast<platform::TChart*>(chartWidget);
    platform::TChartSeries* s = chart ? chart->SeriesByName(QString::fromLatin1(series)) : nullptr;
    return s ? s->Count() : -1;
}

class RunDataTest : public HeadWindowTest {
protected:
    void SetUp() override {
        HeadWindowTest::SetUp();
        // Confirmations ("przerwać pomiar?") are answered Yes, the save question as a test says.
        setMessageDlgHook([this](const MessageDlgRequest& r) {
            messages.push_back(r);
            if (r.text == Msg("stZmianaInfo")) return int(mrNo);
            if (r.type == TMsgDlgType::mtConfirmation) return int(mrYes);
            if (r.text.startsWith(Msg("stZachPoz"))) return saveAnswer;
            return int(mrOk);
        });
    }
    void TearDown() override {
        setFileDialogHook({});
        HeadWindowTest::TearDown();
    }
    static double mmPerCount() { return 0.25 * kDefaultLaserWavelength * 1000.0; }
    static int32_t countOf(double mm) { return int32_t(std::lround(mm / mmPerCount())); }
    // The detector reads `xa` µm horizontally and -1 µm vertically (18 counts a micrometre).
    static FrameSpec frameAt(double mm, double xa) {
        return FrameSpec::ready(countOf(mm)).withXy({0, 0, int16_t(18 * xa), int16_t(-18)}, 120, 120);
    }
    // The positioning page with a linear run of one or more cycles ready to start.
    // A taught run starts at the start point, which it takes as its first point at once.
    void enterPositioning(bool fromList, int cycles, bool posAndStr = false) {
        startWithHead();
        TMainForm* f = form();
        f->resize(1024, 768);
        f->PositioningMethod = 0;
        f->PosAndStr = posAndStr;
        LengthUnit = 0;
        const double ready = fromList ? -5.0 : 0.0;
        head.startStreaming(frameAt(ready, 1), std::chrono::milliseconds(10));
        Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
        ASSERT_EQ(f->MeasurementMode, 0);
        Control<QToolButton>(f, "SpeedButtonZnak")->setText("-");
        StartPoint = 0.0;
        f->PointsFromList = fromList;
        f->MenuCommand("PunktyZListy")->setChecked(fromList);
        f->TargetPoints->Clear();
        if (fromList)
            for (double t : {0.0, 10.0, 20.0}) f->TargetPoints->Add().Dystans = t;
        f->CycleCount = cycles;
        // The cycle ends when the axis is back at the start, not after its last point.
        f->MenuCommand("StopPoKazdymCyklu1")->setChecked(false);
        f->PointNumber = 3;
        f->ErrorWindow = 20;
        f->Vibration = 2;
        f->PointDistance = 1000;
        ASSERT_TRUE(pumpUntil([&] {
            return Control<QPushButton>(f, "ButtonPozStart")->isEnabled() &&
                   std::abs(Control<TDisplay>(f, "DispWarMierzona")->Value() - ready) < 1e-3;
        }));
        Control<QPushButton>(f, "ButtonPozStart")->click();
        ASSERT_TRUE(MeasurementRunning.load());
    }
    // The axis rests at `mm` until the run has taken `points` points in all, forward and back.
    bool restUntil(double mm, double xa, const std::function<bool()>& taken) {
        head.setStreamFrame(frameAt(mm, xa));
        return pumpUntil(taken);
    }
    const instrument::AcceptanceState& state() { return form()->Acceptance().state; }

    int saveAnswer = int(mrCancel);
};

// A run stopped inside its first cycle keeps the accepted points as unsaved data: they can be
// reviewed and saved, and leaving or closing asks first.
TEST_F(RunDataTest, PointsOfAStoppedRunAreOfferedForSavingBeforeTheyGo) {
    enterPositioning(true, 2);
    TMainForm* f = form();
    ASSERT_TRUE(restUntil(0.0, 1, [&] { return state().pointIndex == 1; }));
    ASSERT_TRUE(restUntil(10.0, 3, [&] { return state().pointIndex == 2; }));
    f->MenuCommand("Stop1")->trigger();
    ASSERT_FALSE(MeasurementRunning.load());
    head.stopStreaming();
    auto* pages = Control<QStackedWidget>(f, "NotebookButton");
    EXPECT_EQ(pages->currentIndex(), 3);
    EXPECT_FALSE(DataSaved);
    EXPECT_TRUE(f->MenuCommand("Zapisz1")->isEnabled());
    EXPECT_TRUE(Control<QPushButton>(f, "ZakonczeniePozPrzegladaj")->isEnabled());

    // "Koniec" and closing the window ask; Cancel keeps the points and the window.
    messages.clear();
    Control<QPushButton>(f, "ZakonczeniePozKoniec")->click();
    EXPECT_EQ(pages->currentIndex(), 3);
    EXPECT_FALSE(f->close());
    int asked = 0;
    for (const MessageDlgRequest& r : messages) asked += r.text.startsWith(Msg("stZachPoz"));
    EXPECT_EQ(asked, 2);
    ASSERT_EQ(f->PositioningCycles->Count(), 1);
    EXPECT_EQ((*f->PositioningCycles)[0].Punkt.Count(), 2);

    // The review shows them.
    Control<QPushButton>(f, "ZakonczeniePozPrzegladaj")->click();
    EXPECT_EQ(pages->currentIndex(), 1);
    ASSERT_EQ(f->PositioningCycles->Count(), 1);
    EXPECT_EQ(seriesCount(f->Positioning().Chart(), "DoPrzodu"), 2);
    shot(f, "stopped-run-review");

    // Saved, they are asked about no more.
    const QString path = dir.filePath("stopped.dt2");
    setFileDialogHook([&](const FileDialogSettings&, bool save) -> std::optional<QString> {
        if (save) return path;
        return std::nullopt;
    });
    f->MenuCommand("Zapisz1")->trigger();
    EXPECT_TRUE(DataSaved);
    MeasurementData back;
    ASSERT_FALSE(LoadMeasurementFile(back, path, mfPositioning).has_value());
    ASSERT_EQ(back.PositioningCycles.Count(), 1);
    EXPECT_EQ(back.PositioningCycles[0].Punkt.Count(), 2);
}

// The teaching cycle's overshoot is dropped from the second axis as from the positioning cycle;
// the cycle's end waits for the axis at the start and says so; the two-axis review is in mm and
// its straightness figures go with it.
TEST_F(RunDataTest, TwoAxisCyclesKeepThePointsOfThePositioningCycle) {
    enterPositioning(false, 1, true);
    TMainForm* f = form();
    ASSERT_EQ(f->CyclesY->Count(), 1);

    ASSERT_TRUE(restUntil(0.0, 1, [&] { return f->TargetPoints->Count() == 1; }));
    ASSERT_TRUE(restUntil(10.0, 3, [&] { return f->TargetPoints->Count() == 2; }));
    ASSERT_TRUE(restUntil(20.0, 5, [&] { return f->TargetPoints->Count() == 3; }));
    ASSERT_TRUE(restUntil(25.0, 50, [&] { return f->TargetPoints->Count() == 4; }));  // the overshoot
    ASSERT_TRUE(restUntil(20.0, 5, [&] { return !state().forwardPass; }));  // turns back
    ASSERT_TRUE(restUntil(10.0, 3, [&] { return state().pointIndex == 0; }));
    QLabel* prompt = f->Positioning().UpperPrompt();
    EXPECT_TRUE(prompt->isHidden());
    ASSERT_TRUE(restUntil(0.0, 1, [&] { return state().passFinished; }))
        << state().pointIndex << " " << state().forwardPass << " " << state().lastAcceptedValue << " "
        << (*f->PositioningCycles)[0].Punkt.Count() << " " << f->TargetPoints->Count() << " " << MeasurementRunning.load();
    EXPECT_FALSE(prompt->isHidden());
    EXPECT_EQ(prompt->text(), ReturnToStartPrompt(0.0, 0));
    EXPECT_TRUE(prompt->text().contains(QStringLiteral("(0,000 mm)"))) << prompt->text().toStdString();
    shot(f, "waiting-for-start");
    ASSERT_TRUE(restUntil(-2.0, 1, [&] { return state().lastAcceptedValue < -1.0; }));
    ASSERT_TRUE(restUntil(0.0, 1, [&] { return !MeasurementRunning.load(); }));
    head.stopStreaming();
    EXPECT_TRUE(prompt->isHidden());

    ASSERT_EQ(f->PositioningCycles->Count(), 1);
    ASSERT_EQ((*f->PositioningCycles)[0].Punkt.Count(), 3);
    ASSERT_EQ((*f->CyclesY)[0].Punkt.Count(), 3);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ((*f->CyclesY)[0].Punkt[k].Dystans, 10.0 * k);
        EXPECT_NEAR((*f->CyclesY)[0].Punkt[k].Xa, 1.0 + 2 * k, 1e-9) << k;
    }

    // The review: positions in mm, no spike in the mean, its straightness figure from 1, 3, 5.
    f->BProst2->click();
    auto* chart = qobject_cast<platform::TChart*>(f->Positioning().Chart());
    EXPECT_EQ(chart->BottomAxis().Title(), Msg("stOdleglosc") + QStringLiteral(" [ mm ]"));
    f->bRaoprtXY->click();
    ASSERT_EQ(f->StraightnessPoints->Count(), 3);
    EXPECT_NEAR((*f->StraightnessPoints)[2].Xa, 5.0, 1e-9);
    QLabel* vertical = Control<QLabel>(f, "LabBladProsY");
    EXPECT_FALSE(vertical->isHidden());
    shot(f, "two-axis-mean");

    // Back to positioning and on to a new run: the review's figures do not stay.
    f->BPowrotDoPoz->click();
    EXPECT_TRUE(vertical->isHidden());
    EXPECT_FALSE(Control<QLabel>(f, "LabelLuzZwrotny")->text().startsWith(Msg("stCapProsto")));
    saveAnswer = int(mrNo);
    Control<QPushButton>(f, "ButtonPozPoprzednie")->click();
    EXPECT_TRUE(vertical->isHidden());
    EXPECT_TRUE(Control<QLabel>(f, "LabelLuzZwrotny")->isHidden());
}

}  // namespace

// Without a head: the commands of an empty positioning page, and the imports.
class EmptyPageAndImportTest : public MainWindowTest {
protected:
    void TearDown() override {
        setFileDialogHook({});
        MainWindowTest::TearDown();
    }
    void writeFile(const QString& path, const QByteArray& bytes) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    void import(const QString& path) {
        setFileDialogHook([path](const FileDialogSettings&, bool save) -> std::optional<QString> {
            if (save) return std::nullopt;
            return path;
        });
        form()->MenuCommand("ImportDanych")->setEnabled(true);
        form()->MenuCommand("ImportDanych")->trigger();
    }
};

TEST_F(EmptyPageAndImportTest, NothingToSavePrintOrStopOnAFreshPositioningPage) {
    start();
    TMainForm* f = form();
    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    for (const char* name : {"Zapisz1", "Zapiszjako1", "Drukuj1", "Podgladwydruku1", "TabelaKompensacji1", "Eksport1", "Stop1"})
        EXPECT_FALSE(f->MenuCommand(name)->isEnabled()) << name;
    // A Stop that reaches the window anyway asks nothing and stays on the start page.
    messages.clear();
    f->Stop1Click();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Control<QStackedWidget>(f, "NotebookButton")->currentIndex(), 0);
}

// A failed import of each kind changes nothing: data, header, chart and title stay.
TEST_F(EmptyPageAndImportTest, AFailedImportChangesNothing) {
    start();
    TMainForm* f = form();
    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    const struct {
        uint8_t mode;
        const char* name;
        QByteArray text;
    } cases[] = {
        {kModePositioning, "bad.dta", "Wiertarka\r\nx\r\nZ\r\n1\r\n20 20\r\n/1.5 -1.5\r\n/2,5 -2\r\n#3 -3\r\n"},
        {kModeStraightness, "bad.lda", "Wiertarka\r\nx\r\nZ\r\n50\r\n/1.5\r\n/zle\r\n#3\r\n"},
        {kModeFlatness, "bad.fda", "Wiertarka\r\nabc\r\n25\r\n/1\r\n#2\r\n"},  // one line of eight
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        f->MeasurementMode = c.mode;
        // Data of every kind that an import could replace.
        f->PositioningCycles->Clear();
        for (int cycle = 0; cycle < 2; ++cycle) {
            TPunkt& pts = f->PositioningCycles->Add().Punkt;
            for (int k = 0; k < 6; ++k) pts.Add().Dystans = 10.0 * k;
        }
        f->Points().ShowPositioningCycle(1);
        f->StraightnessPoints->Clear();
        f->StraightnessPoints->Add().Xa = 7.0;
        (*f->FlatnessLines)[0].Punkt.Clear();
        (*f->FlatnessLines)[0].Punkt.Add().Xa = 9.0;
        f->MeasurementHeader().MachineType = QStringLiteral("Tokarka");
        f->setWindowTitle(QStringLiteral("before"));
        DataSaved = FlatnessDataSaved = true;
        const int shown = seriesCount(f->Positioning().Chart(), "DoPrzodu");
        messages.clear();
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        writeFile(path, c.text);
        import(path);
        EXPECT_EQ(messageCount(TextImportFormatMessage()), 1);
        EXPECT_EQ(f->PositioningCycles->Count(), 2);
        EXPECT_EQ((*f->PositioningCycles)[0].Punkt.Count(), 6);
        EXPECT_EQ(seriesCount(f->Positioning().Chart(), "DoPrzodu"), shown);
        ASSERT_EQ(f->StraightnessPoints->Count(), 1);
        EXPECT_EQ((*f->StraightnessPoints)[0].Xa, 7.0);
        ASSERT_EQ((*f->FlatnessLines)[0].Punkt.Count(), 1);
        EXPECT_EQ((*f->FlatnessLines)[0].Punkt[0].Xa, 9.0);
        EXPECT_EQ(f->MeasurementHeader().MachineType, QStringLiteral("Tokarka"));
        EXPECT_EQ(f->windowTitle(), QStringLiteral("before"));
        EXPECT_TRUE(FlatnessDataSaved);
    }
}

// After an opened file, an import is titled by what it shows, and saving it asks where: the
// opened file is never written over.
TEST_F(EmptyPageAndImportTest, AnImportAfterAnOpenedFileIsTitledByItselfAndSavedThroughTheDialog) {
    start();
    TMainForm* f = form();
    f->resize(1024, 768);
    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    // An opened run of two cycles.
    const QString opened = dir.filePath("earlier.dt2");
    {
        TCykl cycles;
        for (int c = 0; c < 2; ++c) {
            TPunkt& pts = cycles.Add().Punkt;
            for (int k = 0; k < 6; ++k) pts.Add().Dystans = 10.0 * k;
        }
        SavePositioningFile(opened, TMeasurementHeader(), cycles);
    }
    QFile earlier(opened);
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    const QByteArray earlierBytes = earlier.readAll();
    earlier.close();
    ASSERT_TRUE(f->LoadMeasurementFile(opened, kModePositioning));
    ASSERT_TRUE(f->windowTitle().endsWith(QStringLiteral("earlier.dt2")));

    const QString text = dir.filePath("run.dta");
    writeFile(text, "Tokarka\r\nseria 7\r\nY\r\n12\r\n20.36 19.94\r\n/1.5 -1.5\r\n/2 -2\r\n$3 -3\r\n/4 -4\r\n/5 -5\r\n#6 -6\r\n");
    import(text);
    ASSERT_EQ(f->PositioningCycles->Count(), 2);
    EXPECT_EQ(f->windowTitle(), f->ModeCaptions[kModePositioning] + QStringLiteral(" Tokarka seria 7"));
    shot(f, "after-import");

    std::vector<FileDialogSettings> asked;
    setFileDialogHook([&](const FileDialogSettings& s, bool save) -> std::optional<QString> {
        if (save) asked.push_back(s);
        return std::nullopt;
    });
    setMessageDlgHook([this](const MessageDlgRequest& r) {
        messages.push_back(r);
        return int(r.type == TMsgDlgType::mtConfirmation ? mrNo : mrOk);
    });
    for (const char* command : {"Zapisz1", "Zapiszjako1"}) {
        f->MenuCommand(command)->setEnabled(true);
        f->MenuCommand(command)->trigger();
    }
    ASSERT_EQ(asked.size(), 2u);
    for (const FileDialogSettings& s : asked) EXPECT_NE(QFileInfo(s.FileName).fileName(), QStringLiteral("earlier.dt2"));
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), earlierBytes);
    EXPECT_EQ(f->windowTitle(), f->ModeCaptions[kModePositioning] + QStringLiteral(" Tokarka seria 7"));
}
