// The main window's file commands: save and open through the menu with the file dialogs
// answered by the test, the save question, damaged files, recent files, the command line and
// the target points editor.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <optional>

#include "MainWindowFixture.h"
#include "app/PunktyPoz.h"
#include "evaluation/MeasurementFiles.h"
#include "foundations/RealSpinEdit.h"
#include "app/dialogs/Unit_Komunikaty.h"
#include "support/FifoFile.h"

namespace {

TCykl cycles(int count, int points, double offset = 0.0) {
    TCykl c;
    for (int k = 0; k < count; ++k) {
        TPunkt& p = c.Add().Punkt;
        for (int j = 0; j < points; ++j) {
            TPunktItem& it = p.Add();
            it.Dystans = 100.0 * j + offset;
            it.Xa = 0.5 * j + k + 0.25;
            it.Xr = -0.75 * j - k;
        }
    }
    return c;
}

bool same(const TPunkt& a, const TPunkt& b) {
    if (a.Count() != b.Count()) return false;
    for (int j = 0; j < a.Count(); ++j)
        if (a[j].Dystans != b[j].Dystans || a[j].Xa != b[j].Xa || a[j].Xr != b[j].Xr) return false;
    return true;
}

bool same(const TCykl& a, const TCykl& b) {
    if (a.Count() != b.Count()) return false;
    for (int k = 0; k < a.Count(); ++k)
        if (!same(a[k].Punkt, b[k].Punkt)) return false;
    return true;
}

TPunkt points(std::initializer_list<std::array<double, 3>> values) {
    TPunkt p;
    for (const auto& v : values) {
        TPunktItem& it = p.Add();
        it.Dystans = v[0];
        it.Xa = v[1];
        it.Xr = v[2];
    }
    return p;
}

}  // namespace

class MainFilesTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        setFileDialogHook([this](const FileDialogSettings& s, bool save) {
            dialogs.push_back({s, save});
            const std::optional<QString> a = save ? saveAnswer : openAnswer;
            if (save && saveAnswer) saveAnswer = saveAnswerNext;
            return a;
        });
        setMessageDlgHook([this](const MessageDlgRequest& r) {
            messages.push_back(r);
            // The save question (Yes, No, Cancel) gets the test's answer; others their first.
            if (r.buttons == (mbYes | mbNo | mbCancel)) return saveQuestionAnswer;
            return r.buttons & mbOK ? int(mrOk) : int(mrNo);
        });
    }
    void TearDown() override {
        setFileDialogHook({});
        MainWindowTest::TearDown();
    }
    void startWindow() {
        start();
        f = form();
        messages.clear();
        DataSaved = VelocityDataSaved = FlatnessDataSaved = ExtraDataSaved = true;
    }
    // The current type of the window, as its page entry would leave it.
    void onType(int mode) {
        f->MeasurementMode = uint8_t(mode);
        const int pages[] = {3, 4, 3, 8, 5, 9};
        f->NotebookMainForm->setCurrentIndex(pages[mode]);
    }
    void trigger(const char* command) {
        QAction* a = f->MenuCommand(QString::fromLatin1(command));
        ASSERT_NE(a, nullptr) << command;
        a->trigger();
    }
    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    int messagesOfType(TMsgDlgType type) const {
        int n = 0;
        for (const auto& m : messages) n += m.type == type;
        return n;
    }

    struct Dialog {
        FileDialogSettings settings;
        bool save;
    };
    TMainForm* f = nullptr;
    std::vector<Dialog> dialogs;
    std::optional<QString> openAnswer, saveAnswer, saveAnswerNext;
    int saveQuestionAnswer = mrNo;
};

TEST_F(MainFilesTest, PositioningRunSavedThroughTheMenuOpensWithTheSameData) {
    startWindow();
    onType(0);
    const TCykl run = cycles(2, 6, 10.0);
    *f->PositioningCycles = run;
    f->MeasurementHeader().MachineType = "VMC 800";
    f->MeasurementHeader().SerialNumber = "12/34";
    f->MeasurementHeader().Axis = "X";
    DataSaved = false;

    const QString file = path("run1.dt2");
    saveAnswer = file;
    trigger("Zapisz1");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(dialogs[0].save);
    EXPECT_EQ(dialogs[0].settings.FileName, "VMC_80012_34X");
    EXPECT_EQ(dialogs[0].settings.DefaultExt, ".dt2");
    EXPECT_EQ(dialogs[0].settings.InitialDir, f->PositioningDir);
    EXPECT_TRUE(dialogs[0].settings.Filter.contains("*.dt2")) << dialogs[0].settings.Filter.toStdString();
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_TRUE(DataSaved);
    EXPECT_EQ(f->windowTitle(), f->ModeCaptions[0] + " - run1.dt2");
    EXPECT_EQ(f->RecentPositioning.Entry(0), file);
    EXPECT_FALSE(f->MenuCommand("Zapisz1")->isEnabled());

    // Another run in the window, then the saved one opened again.
    *f->PositioningCycles = cycles(3, 7);
    f->MeasurementHeader() = TMeasurementHeader{};
    openAnswer = file;
    trigger("Otworz1");
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_FALSE(dialogs[1].save);
    EXPECT_EQ(dialogs[1].settings.InitialDir, f->PositioningDir);
    EXPECT_TRUE(same(*f->PositioningCycles, run));
    EXPECT_EQ(f->MeasurementHeader().MachineType, "VMC 800");
    EXPECT_EQ(f->MeasurementHeader().Axis, "X");
    EXPECT_TRUE(same(*f->TargetPoints, run[1].Punkt));
    EXPECT_EQ(StartPoint, 10.0);
    EXPECT_EQ(Control<QStackedWidget>(f, "NotebookButton")->currentIndex(), 1);  // the review page
    EXPECT_TRUE(Control<QPushButton>(f, "ButtonPozUsun")->isEnabled());
    EXPECT_TRUE(f->MenuCommand("Zapiszjako1")->isEnabled());
    EXPECT_EQ(f->windowTitle(), f->ModeCaptions[0] + " - run1.dt2");
    EXPECT_EQ(messagesOfType(TMsgDlgType::mtError), 0);
}

TEST_F(MainFilesTest, EachTypeOpensOnItsPage) {
    startWindow();
    TMeasurementHeader h;
    h.MachineType = "Tokarka";
    const TPunkt line = points({{0, 1.5, 0}, {10, -2.25, 0}, {20, 0.5, 0}, {30, 3, 0}});
    TVelValue velocity;
    for (double v : {12.5, 13.0, 12.75}) velocity.Add().Value = v;
    TCykl lines = cycles(5, 4);
    QByteArray samples(kFftSampleBytes, '\0');
    for (int i = 0; i < samples.size(); ++i) samples[i] = char(i * 7);

    SaveVelocityFile(path("v.dt3"), h, velocity);
    SavePointSeriesFile(path("s.dt4"), h, line);
    SaveFlatnessFile(path("m.dt5"), h, lines, 4, 5, 1);
    SavePointSeriesFile(path("a.dt6"), h, points({{0, 1, 2}, {90, 3, 4}, {180, 5, 6}}));
    SaveFftFile(path("f.dt7"), h, samples);

    struct Row {
        int mode;
        const char* file;
        std::function<void()> check;
    };
    const std::vector<Row> rows = {
        {1, "v.dt3", [&] {
             ASSERT_EQ(f->VelocitySamples->Count(), 3);
             EXPECT_EQ((*f->VelocitySamples)[2].Value, 12.75);
         }},
        {2, "s.dt4", [&] { EXPECT_TRUE(same(*f->StraightnessPoints, line)); }},
        {3, "m.dt5", [&] {
             EXPECT_EQ(f->FlatnessLines->Count(), kFlatnessMaxLines);
             EXPECT_TRUE(same((*f->FlatnessLines)[4].Punkt, lines[4].Punkt));
             EXPECT_EQ(f->FlatnessHLines, 4);
             EXPECT_EQ(f->FlatnessVLines, 5);
             EXPECT_EQ(f->FlatnessMethod, 1);
         }},
        {4, "a.dt6", [&] {
             EXPECT_EQ(f->AngularPoints->Count(), 3);
             EXPECT_TRUE(same(*f->AngularTargetPoints, *f->AngularPoints));
             EXPECT_EQ(Control<QPushButton>(f, "BStartPK")->text(), "&Pomiar");
         }},
        {5, "f.dt7", [&] { EXPECT_EQ(f->FftSamples(), samples); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.file);
        onType(r.mode);
        f->MeasurementHeader() = TMeasurementHeader{};
        openAnswer = path(r.file);
        trigger("Otworz1");
        r.check();
        EXPECT_EQ(f->MeasurementHeader().MachineType, "Tokarka");
        EXPECT_EQ(f->windowTitle(), f->ModeCaptions[size_t(r.mode)] + " - " + r.file);
        EXPECT_EQ(f->RecentFiles(r.mode).Entry(0), path(r.file));
        EXPECT_TRUE(dialogs.back().settings.Filter.contains(MeasurementFileExtension(r.mode)));
    }
    EXPECT_EQ(dialogs[1].settings.InitialDir, f->StraightnessDir);
    EXPECT_EQ(dialogs[3].settings.InitialDir, f->AngularDir);
    EXPECT_EQ(messagesOfType(TMsgDlgType::mtError), 0);
}

TEST_F(MainFilesTest, CancelledSaveDialogLeavesTheDataUnsavedAndThePendingOpenUndone) {
    startWindow();
    onType(0);
    const TCykl run = cycles(2, 6);
    *f->PositioningCycles = run;
    DataSaved = false;
    const QString title = f->windowTitle();

    // The save command, its dialog cancelled.
    trigger("Zapisz1");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_FALSE(DataSaved);
    EXPECT_EQ(f->windowTitle(), title);
    EXPECT_TRUE(f->MenuCommand("Zapisz1")->isEnabled());

    // A file that cannot be written: its message, then the dialog again (cancelled here).
    saveAnswer = path("no-such-folder/run.dt2");
    trigger("Zapisz1");
    ASSERT_EQ(dialogs.size(), 3u);
    EXPECT_EQ(messagesOfType(TMsgDlgType::mtError), 1);
    EXPECT_EQ(dialogs[2].settings.FileName, path("no-such-folder/run.dt2"));
    EXPECT_FALSE(DataSaved);
    dialogs.erase(dialogs.begin() + 1, dialogs.end());

    // Open while unsaved: Yes to the question, the save dialog cancelled: nothing is opened.
    saveQuestionAnswer = mrYes;
    openAnswer = path("other.dt2");
    SavePositioningFile(*openAnswer, TMeasurementHeader{}, cycles(3, 7));
    trigger("Otworz1");
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_TRUE(dialogs[1].save);
    EXPECT_FALSE(DataSaved);
    EXPECT_TRUE(same(*f->PositioningCycles, run));
    EXPECT_EQ(f->windowTitle(), title);
    EXPECT_EQ(f->RecentPositioning.Entry(0), QString());

    // Cancel to the question: no dialog at all. No: opened without saving.
    saveQuestionAnswer = mrCancel;
    trigger("Otworz1");
    EXPECT_EQ(dialogs.size(), 2u);
    saveQuestionAnswer = mrNo;
    trigger("Otworz1");
    ASSERT_EQ(dialogs.size(), 3u);
    EXPECT_FALSE(dialogs[2].save);
    EXPECT_TRUE(same(*f->PositioningCycles, cycles(3, 7)));
    EXPECT_TRUE(DataSaved);
}

TEST_F(MainFilesTest, YesToTheQuestionSavesThenOpens) {
    startWindow();
    onType(2);
    *f->StraightnessPoints = points({{0, 1, 0}, {5, 2, 0}});
    DataSaved = false;
    SavePointSeriesFile(path("next.dt4"), TMeasurementHeader{}, points({{0, 7, 0}}));
    saveQuestionAnswer = mrYes;
    saveAnswer = path("first");  // the default extension is added
    openAnswer = path("next.dt4");
    trigger("Otworz1");
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_TRUE(dialogs[0].save);
    TPunkt saved;
    LoadPointSeriesFile(path("first.dt4"), saved, nullptr);
    EXPECT_TRUE(same(saved, points({{0, 1, 0}, {5, 2, 0}})));
    EXPECT_TRUE(same(*f->StraightnessPoints, points({{0, 7, 0}})));
    EXPECT_EQ(f->RecentStraightness.Entries(), (QStringList{path("next.dt4"), path("first.dt4"), "", ""}));
}

TEST_F(MainFilesTest, DamagedFileTakesTheFailurePath) {
    startWindow();
    onType(0);
    *f->PositioningCycles = cycles(2, 6);
    // A header and a stream that says 2 cycles and ends inside the first.
    QByteArray bytes = TMeasurementHeader{}.toBytes();
    bytes.append(QByteArray::fromHex("02000000" "06000000" "0000000000002440"));
    const QString file = path("damaged.dt2");
    writeProgramFile("damaged.dt2", bytes);
    openAnswer = file;
    trigger("Otworz1");
    ASSERT_EQ(messagesOfType(TMsgDlgType::mtError), 1);
    const QString text = messages.back().text;
    EXPECT_TRUE(text.startsWith(QString::fromUtf8("Nie można otworzyć pliku"))) << text.toStdString();
    EXPECT_TRUE(text.contains("damaged.dt2")) << text.toStdString();
    EXPECT_EQ(f->PositioningCycles->Count(), 0);
    EXPECT_EQ(f->windowTitle(), f->ModeCaptions[0]);
    EXPECT_FALSE(Control<QPushButton>(f, "ButtonPozUsun")->isEnabled());
    for (const char* c : {"Zapiszjako1", "Drukuj1", "Eksport1", "TabelaKompensacji1"})
        EXPECT_FALSE(f->MenuCommand(c)->isEnabled()) << c;
    EXPECT_EQ(f->RecentPositioning.Entry(0), QString());

    // A failed angular file keeps the angular data.
    onType(4);
    *f->AngularPoints = points({{0, 1, 1}});
    writeProgramFile("damaged.dt6", TMeasurementHeader{}.toBytes().left(100));
    openAnswer = path("damaged.dt6");
    trigger("Otworz1");
    EXPECT_EQ(messagesOfType(TMsgDlgType::mtError), 2);
    EXPECT_EQ(f->AngularPoints->Count(), 1);
}

TEST_F(MainFilesTest, RecentFilesListTheSavedFileAndOpenIt) {
    startWindow();
    onType(0);
    const TCykl run = cycles(2, 6);
    *f->PositioningCycles = run;
    DataSaved = false;
    saveAnswer = path("r.dt2");
    trigger("Zapisz1");

    QAction* first = f->MenuCommand("File01");
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->text(), "&1 " + path("r.dt2"));
    EXPECT_FALSE(f->MenuCommand("File11")->isVisible());

    f->PositioningCycles->Clear();
    first->trigger();
    EXPECT_TRUE(same(*f->PositioningCycles, run));
    EXPECT_EQ(f->windowTitle(), f->ModeCaptions[0] + " - r.dt2");

    // During a run the command only says so.
    MeasurementRunning = true;
    f->PositioningCycles->Clear();
    first->trigger();
    MeasurementRunning = false;
    EXPECT_EQ(messageCount(QString::fromUtf8("        Trwa Pomiar!!!!   ")), 1);
    EXPECT_EQ(f->PositioningCycles->Count(), 0);

    // The velocity page shows its own (empty) list.
    f->UpdateRecentFilesMenu(1);
    EXPECT_FALSE(first->isVisible());
}

TEST_F(MainFilesTest, CommandLineFileOpensOnItsPage) {
    startWindow();
    TVelValue velocity;
    for (double v : {1.0, 2.0}) velocity.Add().Value = v;
    SaveVelocityFile(path("cmd.dt3"), TMeasurementHeader{}, velocity);
    f->CommandLineFile = path("cmd.dt3");
    program.komunikaty->KoniecPrzerwaniaLadowanieP();
    EXPECT_EQ(f->MeasurementMode, 1);
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 4);
    EXPECT_EQ(f->VelocitySamples->Count(), 2);
    EXPECT_EQ(f->windowTitle(), f->ModeCaptions[1] + " - cmd.dt3");

    // Another extension is not a measurement file.
    f->MeasurementMode = 10;
    f->CommandLineFile = path("notes.txt");
    program.komunikaty->KoniecPrzerwaniaLadowanieP();
    EXPECT_EQ(f->MeasurementMode, 10);
}

TEST_F(MainFilesTest, CommandLineFifoOrOversizedFileIsRefusedAndTheWindowGoesOn) {
    startWindow();
    // A fifo: refused at once as a file that cannot be opened, the window on its page.
    testsupport::FifoFile fifo(path("fifo.dt2"));
    ASSERT_TRUE(fifo.Made());
    f->CommandLineFile = path("fifo.dt2");
    program.komunikaty->KoniecPrzerwaniaLadowanieP();
    EXPECT_FALSE(fifo.Unblocked()) << "the window waited in the fifo";
    EXPECT_EQ(messageCount(QString::fromUtf8("Nie można otworzyć pliku ") + path("fifo.dt2")), 1);
    EXPECT_EQ(f->MeasurementMode, 0);
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 3);
    EXPECT_EQ(f->windowTitle(), f->ModeCaptions[0]);

    // More points than a run makes: the usual line, then why; the run in the window is emptied.
    const QString limits = QString::fromUtf8("\nPlik zawiera więcej, niż może zmierzyć program: "
                                             "najwyżej 255 cykli po 256 punktów.");
    SavePositioningFile(path("257.dt2"), TMeasurementHeader{}, cycles(1, kMaxRunPoints + 1));
    {
        // One cycle claiming every point a file of the largest run's size and more could hold.
        SavePositioningFile(path("huge.dt2"), TMeasurementHeader{}, cycles(1, 1));
        QFile huge(path("huge.dt2"));
        ASSERT_TRUE(huge.open(QIODevice::ReadWrite));
        huge.seek(TMeasurementHeader::Size + 4);
        const int32_t claimed = 8000000;
        huge.write(reinterpret_cast<const char*>(&claimed), 4);
        ASSERT_TRUE(huge.resize(kMaxPositioningFileBytes + 24));
    }
    for (const char* name : {"257.dt2", "huge.dt2"}) {
        SCOPED_TRACE(name);
        *f->PositioningCycles = cycles(2, 6);
        messages.clear();
        f->CommandLineFile = path(name);
        program.komunikaty->KoniecPrzerwaniaLadowanieP();
        EXPECT_EQ(messageCount(QString::fromUtf8("Nie można otworzyć pliku ") + path(name) + limits), 1);
        EXPECT_EQ(f->PositioningCycles->Count(), 0);
    }

    // The largest run opens whole.
    SavePositioningFile(path("largest.dt2"), TMeasurementHeader{}, cycles(kMaxRunCycles, kMaxRunPoints));
    messages.clear();
    f->CommandLineFile = path("largest.dt2");
    program.komunikaty->KoniecPrzerwaniaLadowanieP();
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(same(*f->PositioningCycles, cycles(kMaxRunCycles, kMaxRunPoints)));
    EXPECT_EQ(f->windowTitle(), f->ModeCaptions[0] + " - largest.dt2");
}

TEST_F(MainFilesTest, PositioningWithSecondAxisAlsoWritesTheMeanLine) {
    startWindow();
    onType(0);
    f->PosAndStr = true;
    *f->PositioningCycles = cycles(2, 6);
    f->CyclesY->Clear();
    for (const TPunkt& c : {points({{0, 1, 2}, {10, 3, 4}, {20, 5, 6}}),
                            points({{0, 3, 4}, {10, 5, 6}, {20, 7, 8}, {30, 100, 100}})})
        f->CyclesY->Add().Punkt = c;
    DataSaved = false;
    saveAnswer = path("xy.dt2");
    trigger("Zapisz1");
    const QString line = QDir(f->StraightnessDir).filePath("xy.dt4");
    TPunkt mean;
    LoadPointSeriesFile(line, mean, nullptr);
    EXPECT_TRUE(same(mean, points({{0, 2, 3}, {10, 4, 5}, {20, 6, 7}})));
    EXPECT_EQ(f->RecentStraightness.Entry(0), line);
    EXPECT_EQ(f->RecentPositioning.Entry(0), path("xy.dt2"));
    EXPECT_EQ(f->MenuCommand("File01")->text(), "&1 " + path("xy.dt2"));  // the menu keeps the run's list
}

TEST_F(MainFilesTest, TargetPointsEditedThroughTheWindowsCommand) {
    startWindow();
    onType(0);
    LengthUnit = 1;  // inches on screen, millimetres kept
    StartPoint = 25.4;
    f->TargetPoints->Clear();
    std::function<void()> drive = [&drive] {
        auto* e = qobject_cast<TFPunktyPoz*>(QApplication::activeModalWidget());
        if (!e) {
            QTimer::singleShot(10, drive);
            return;
        }
        EXPECT_DOUBLE_EQ(e->findChild<TRealSpinEdit*>("StartPointEdit")->Value(), 1.0);
        for (double v : {1.0, 2.0, 3.0, 4.0, 5.0})
            e->PunktyGridSetEditText(1, e->WorkPoints.Count() + 1, QString::number(v));
        e->findChild<TRealSpinEdit*>("StartPointEdit")->SetValue(2.0);
        e->BitBtnOkClick();
    };
    QTimer::singleShot(0, drive);
    f->PunktyZListyClick();
    LengthUnit = 0;
    ASSERT_EQ(f->TargetPoints->Count(), 5);
    EXPECT_DOUBLE_EQ((*f->TargetPoints)[0].Dystans, 25.4);
    EXPECT_DOUBLE_EQ((*f->TargetPoints)[4].Dystans, 127.0);
    EXPECT_DOUBLE_EQ(StartPoint, 50.8);
    EXPECT_TRUE(f->MenuCommand("PunktyZListy")->isChecked());
}
