#include <QAction>
#include <QDate>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableWidget>

#include "MainWindowFixture.h"
#include "TypeCallsStandIn.h"
#include "app/PointStoreWidgets.h"
#include "evaluation/PointStore.h"
#include "foundations/Display.h"
#include "foundations/NumberFormat.h"
#include "foundations/ProgramMessages.h"
#include "platform/Chart.h"
#include <cmath>

namespace {

// Every command carrying a Tag of `tags` is visible exactly when `shown`.
void expectTags(TMainForm* f, std::initializer_list<int> tags, bool shown, const char* page) {
    for (const MenuTagEntry& e : MainMenuTagTable()) {
        if (std::find(tags.begin(), tags.end(), e.tag) == tags.end()) continue;
        QAction* a = f->MenuCommand(QString::fromLatin1(e.name));
        ASSERT_NE(nullptr, a) << e.name;
        EXPECT_EQ(shown, a->isVisible()) << page << ": " << e.name << " Tag " << e.tag;
    }
}

TCykl cyclesOf(std::vector<int> counts) {
    TCykl c;
    for (int n : counts) {
        TPunkt& p = c.Add().Punkt;
        for (int k = 0; k < n; ++k) p.Add().Dystans = 10.0 * k;
    }
    return c;
}

}  // namespace

class TypePagesTest : public MainWindowTest {
protected:
    void startWindow() {
        start();
        f = form();
        messages.clear();
        stand.reset();
        stand = std::make_unique<TypeCallsStandIn>(*f);
        stand->headReady = [this] { return headReady; };
        stand->startLinearReading = [this] { calls.push_back("StartLinearReading"); };
        stand->startVelocityReading = [this] { calls.push_back("StartVelocityReading"); };
        stand->startSignalMonitor = [this] { calls.push_back("StartSignalMonitor"); };
        stand->restartMeteoReading = [this] { calls.push_back("RestartMeteoReading"); };
        stand->openMeasurement = [this](int mode) {
            calls.push_back("Open" + std::to_string(mode) + " mode " + std::to_string(f->MeasurementMode));
            return true;
        };
        stand->saveMeasurement = [this](int mode) {
            calls.push_back("Save" + std::to_string(mode));
            return saveSucceeds;
        };
        stand->storeFlatnessLine = [this] { calls.push_back("StoreFlatnessLine"); };
        stand->returnToMainMenuFromVelocity = [this] { calls.push_back("ReturnFromVelocity"); };
        stand->askSaveChanges = [this] { return answer; };
        stand->endMeasurementRun = [this] { calls.push_back("EndMeasurementRun"); };
        stand->editTargetPoints = [this] { return editorOk; };
    }
    void TearDown() override {
        stand.reset();  // before the window goes
        MainWindowTest::TearDown();
    }
    std::vector<QString> messageTexts() const {
        std::vector<QString> t;
        for (const auto& m : messages) t.push_back(m.text);
        return t;
    }

    TMainForm* f = nullptr;
    std::unique_ptr<TypeCallsStandIn> stand;
    bool headReady = true;
    bool saveSucceeds = true;
    bool editorOk = true;
    int answer = mrNo;
    std::vector<std::string> calls;
};

TEST_F(TypePagesTest, EntriesShowTheirPageTagsAndTitles) {
    startWindow();
    LengthUnit = 1;
    f->Numerpunktu1->setChecked(false);
    f->PositioningCycles->Add();
    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    EXPECT_EQ(3, f->NotebookMainForm->currentIndex());
    EXPECT_EQ(0, f->MeasurementMode);
    EXPECT_EQ(4, f->DisplayLengthUnit);
    EXPECT_EQ(0, f->PositioningCycles->Count());
    expectTags(f, {9, 10, 11, 15, 17, 18, 19, 20, 23, 26, 27, 28, 29, 30, 31, 43}, true, "positioning");
    expectTags(f, {13, 21, 37, 38, 39, 40, 41, 44}, false, "positioning");
    EXPECT_EQ(Msg("stWykresPoz") + " - " + QLocale().toString(QDate::currentDate(), QLocale::ShortFormat),
              TMainForm::ChartTitle(Control<platform::TChart>(f, "wykres")));
    EXPECT_EQ(QStringLiteral("Błąd [ µm ]"), TMainForm::ChartAxisTitle(Control<platform::TChart>(f, "wykres"), TMainForm::ChartAxis::Left));
    EXPECT_EQ(QStringLiteral("Odległość [ in ]"), TMainForm::ChartAxisTitle(Control<platform::TChart>(f, "wykres"), TMainForm::ChartAxis::Bottom));
    EXPECT_EQ(f->ModeCaptions[0], f->windowTitle());
    EXPECT_EQ((std::vector<std::string>{"StartLinearReading", "RestartMeteoReading"}), calls);

    calls.clear();
    headReady = false;
    Control<QPushButton>(f, "BitBtnpredkosc")->click();
    EXPECT_EQ(4, f->NotebookMainForm->currentIndex());
    EXPECT_EQ(1, f->MeasurementMode);
    expectTags(f, {11, 15, 23, 26}, true, "velocity");
    expectTags(f, {6, 9, 10, 13, 17, 18, 19, 20, 21, 27, 28, 37, 38, 41, 43, 44}, false, "velocity");
    EXPECT_TRUE(Control<QPushButton>(f, "ButtonStartV")->isVisibleTo(f->NotebookMainForm->currentWidget()));
    EXPECT_FALSE(Control<QPushButton>(f, "ButtonStartV")->isEnabled());  // head not ready: waits for the signal monitor
    EXPECT_EQ((std::vector<std::string>{"StartSignalMonitor", "RestartMeteoReading"}), calls);
    EXPECT_EQ(f->ModeCaptions[1], f->windowTitle());

    calls.clear();
    Control<QPushButton>(f, "BitBtnMapaPlaskosci")->click();
    EXPECT_EQ(8, f->NotebookMainForm->currentIndex());
    EXPECT_EQ(3, f->MeasurementMode);
    expectTags(f, {13, 15, 23, 26}, true, "flatness");
    expectTags(f, {9, 10, 27, 28, 37, 38, 41, 44}, false, "flatness");
    EXPECT_EQ(Msg("stMapaPlaskosci"), Control<QPushButton>(f, "ButtonPozMainMenu")->text());
    EXPECT_TRUE(calls.empty());  // each line starts its reading from the straightness page

    // An interface error: no reading is started, the start command is off.
    calls.clear();
    InterfaceError = true;
    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    EXPECT_TRUE(calls.empty());
    EXPECT_FALSE(Control<QPushButton>(f, "ButtonPozStart")->isEnabled());
    EXPECT_FALSE(f->MenuCommand("Start1")->isEnabled());
}

TEST_F(TypePagesTest, BackgroundPictureByMethodOrNone) {
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::white);
    ASSERT_TRUE(img.save(dir.filePath("pilgrim.png")));
    EXPECT_EQ(QString(), PositioningBackgroundFile(dir.path() + "/", 0));
    EXPECT_EQ(dir.path() + "/pilgrim.png", PositioningBackgroundFile(dir.path() + "/", 1));
    EXPECT_EQ(QString(), PositioningBackgroundFile(dir.path() + "/", 2));
    EXPECT_EQ(QString(), PositioningBackgroundFile(dir.path() + "/", 7));
}

TEST_F(TypePagesTest, OpenAndSaveRefusedWhileRunning) {
    startWindow();
    struct Case {
        int mode;
        int page;
        bool measuring, velocity;
        std::vector<std::string> open, save;
        bool refused;
    };
    const std::vector<Case> cases = {
        {0, 3, true, false, {}, {}, true},
        {0, 3, false, true, {"Open0 mode 0"}, {"Save0"}, false},
        {1, 4, true, false, {"Open1 mode 1"}, {"Save1"}, false},  // velocity looks at its own run
        {1, 4, false, true, {}, {}, true},
        {5, 9, true, false, {}, {}, true},
        // a flatness line on the straightness page: a straightness file, then the current line
        {3, 3, false, false, {"Open2 mode 2", "StoreFlatnessLine"}, {"Save2"}, false},
        {3, 3, true, false, {}, {}, true},
        {3, 8, false, false, {"Open3 mode 3"}, {"Save3"}, false},
    };
    for (const auto& c : cases) {
        f->MeasurementMode = uint8_t(c.mode);
        f->NotebookMainForm->setCurrentIndex(c.page);
        MeasurementRunning = c.measuring;
        VelocityRunning = c.velocity;
        calls.clear();
        messages.clear();
        f->Otworz1Click();
        EXPECT_EQ(c.open, calls) << c.mode << " page " << c.page;
        EXPECT_EQ(c.mode, f->MeasurementMode);
        calls.clear();
        f->MenuCommand("Zapiszjako1")->trigger();
        EXPECT_EQ(c.save, calls) << c.mode << " page " << c.page;
        const std::vector<QString> refusals(c.refused ? 2 : 0, Msg("stTrwaPomiar"));
        EXPECT_EQ(refusals, messageTexts());
    }
}

TEST_F(TypePagesTest, VelocityStartStopStopCommandAndBackButton) {
    startWindow();
    headReady = true;
    Control<QPushButton>(f, "BitBtnpredkosc")->click();
    Control<QPushButton>(f, "ButtonStartV")->setEnabled(true);
    f->VelocitySamples->Add().Value = 99;
    VelocitySampleCount = 7;
    Control<QPushButton>(f, "ButtonStartV")->click();
    EXPECT_TRUE(VelocityRunning);
    EXPECT_EQ(0, VelocitySampleCount);
    EXPECT_EQ(0, f->VelocitySamples->Count());
    EXPECT_EQ(QStringLiteral("&Stop"), Control<QPushButton>(f, "ButtonStartV")->text());
    EXPECT_FALSE(f->MenuCommand("Zapisz1")->isEnabled());
    EXPECT_TRUE(f->MenuCommand("Stop1")->isEnabled());
    EXPECT_FALSE(f->MenuCommand("Konfiguracja1")->isEnabled());
    EXPECT_TRUE(VelocityDataSaved);  // nothing to save while the run lasts

    // Readings arrive; the back button is refused while the run lasts.
    for (double v : {10.0, 20.0, 30.0}) f->Points().AddVelocitySample(v);
    Control<QPushButton>(Control(f, "Predkosc"), "Button2")->click();
    EXPECT_EQ(std::vector<QString>{Msg("stZakoncz")}, messageTexts());

    // "Stop" on the velocity page is the velocity button.
    f->MenuCommand("Stop1")->trigger();
    EXPECT_FALSE(VelocityRunning);
    EXPECT_FALSE(VelocityDataSaved);
    EXPECT_EQ(QStringLiteral("&Start"), Control<QPushButton>(f, "ButtonStartV")->text());
    EXPECT_TRUE(f->MenuCommand("Zapisz1")->isEnabled());
    EXPECT_EQ(3, f->VelocitySamples->Count());
    EXPECT_DOUBLE_EQ(20.0, Control<TDisplay>(f, "DispPredkoscSr")->Value());

    // Back: Cancel stays, Yes with a cancelled save stays, Yes with a save leaves, No leaves.
    calls.clear();
    answer = mrCancel;
    Control<QPushButton>(Control(f, "Predkosc"), "Button2")->click();
    answer = mrYes;
    saveSucceeds = false;
    Control<QPushButton>(Control(f, "Predkosc"), "Button2")->click();
    EXPECT_EQ((std::vector<std::string>{"Save1"}), calls);
    saveSucceeds = true;
    Control<QPushButton>(Control(f, "Predkosc"), "Button2")->click();
    EXPECT_EQ((std::vector<std::string>{"Save1", "Save1", "ReturnFromVelocity"}), calls);
    calls.clear();
    answer = mrNo;
    Control<QPushButton>(Control(f, "Predkosc"), "Button2")->click();
    EXPECT_TRUE(VelocityDataSaved);
    EXPECT_EQ((std::vector<std::string>{"ReturnFromVelocity"}), calls);

    // Stop in the other types: the angular page's start button (here refused for want of
    // targets), the run's end elsewhere.
    calls.clear();
    messages.clear();
    f->MeasurementMode = 4;
    f->Stop1Click();
    EXPECT_EQ(std::vector<QString>{Msg("stZaMaloPunktow")}, messageTexts());
    f->MeasurementMode = 2;
    f->Stop1Click();
    EXPECT_EQ((std::vector<std::string>{"EndMeasurementRun"}), calls);
}

TEST_F(TypePagesTest, ResultsGate) {
    const std::vector<std::pair<std::vector<int>, bool>> cases = {
        {{6, 6}, true}, {{6, 6, 6}, true}, {{5, 5}, false}, {{6, 7}, false}, {{6}, false}, {{}, false}, {{7, 6}, false},
    };
    for (const auto& [counts, usable] : cases) EXPECT_EQ(usable, PositioningRunUsable(cyclesOf(counts)));

    startWindow();
    bool evaluated = false;
    stand->evaluatePositioningRun = [&] { evaluated = true; };
    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    messages.clear();  // the entry's own notice: this folder has no background picture
    f->PositioningCycles->Assign(cyclesOf({6, 7}));
    Control<QPushButton>(f, "ButtonPozRaport")->click();
    EXPECT_EQ(std::vector<QString>{Msg("stZaMaloCykli")}, messageTexts());
    EXPECT_FALSE(evaluated);
    f->PositioningCycles->Assign(cyclesOf({6, 6}));
    Control<QPushButton>(f, "ButtonPozRaport")->click();
    EXPECT_TRUE(evaluated);
    EXPECT_EQ(2, Control<QStackedWidget>(f, "NotebookButton")->currentIndex());
    EXPECT_EQ(Msg("stWykresRap"), TMainForm::ChartTitle(Control<platform::TChart>(f, "wykres")));
}

TEST_F(TypePagesTest, PointListCommandAndServicePanel) {
    startWindow();
    QAction* fromList = f->MenuCommand("PunktyZListy");
    fromList->setChecked(false);
    MeasurementRunning = true;
    fromList->trigger();
    EXPECT_FALSE(fromList->isChecked());
    EXPECT_EQ(std::vector<QString>{Msg("stTrwaPomiar")}, messageTexts());
    MeasurementRunning = false;
    editorOk = false;
    fromList->trigger();
    EXPECT_FALSE(fromList->isChecked());  // editor cancelled: the tick stays as it was
    editorOk = true;
    fromList->trigger();
    EXPECT_TRUE(fromList->isChecked());
    EXPECT_TRUE(f->MenuCommand("PunktyPozycjonowania1")->isEnabled());

    f->NotebookMainForm->setCurrentIndex(4);
    f->EnterServicePanel();
    f->EnterServicePanel();  // already there: the page to return to is kept
    EXPECT_EQ(6, f->NotebookMainForm->currentIndex());
    EXPECT_EQ(4, f->SavedServicePage);
    EXPECT_TRUE(f->MenuOf("Opcje1")->menuAction()->isVisible());
    EXPECT_TRUE(f->MenuOf("Funkcje1")->menuAction()->isVisible());
    f->HideServiceMenus();
    EXPECT_FALSE(f->MenuOf("Opcje1")->menuAction()->isVisible());
}

TEST_F(TypePagesTest, SetupPictureFromBundleOrOneWarning) {
    const std::vector<std::tuple<int, int, QString>> names = {
        {6, 0, "liniowex"}, {6, 2, "liniowez"}, {8, 2, "katowez"}, {9, 1, "wollastonx"}, {9, 2, "wollastonz"}, {0, 1, "liniowey"},
    };
    for (const auto& [mode, axis, name] : names) EXPECT_EQ(name, SetupPictureName(mode, axis));

    startWindow();
    f->MeasurementMode = 8;
    EXPECT_FALSE(f->ShowSetupPicture());
    EXPECT_EQ(std::vector<QString>{Msg("stBrakFoto")}, messageTexts());
    // Later visits say it in the status bar, no box to click away.
    f->statusBar()->clearMessage();
    EXPECT_FALSE(f->ShowSetupPicture());
    EXPECT_EQ(std::vector<QString>{Msg("stBrakFoto")}, messageTexts());
    EXPECT_EQ(f->statusBar()->currentMessage(), Msg("stBrakFoto"));
}

// The positioning chart's background of the cycle pattern: a missing picture is said in a box on
// the first entry and in the status bar on the next; a picture placed beside the program is shown.
TEST_F(TypePagesTest, MissingPositioningBackgroundSaidOnceThenInTheStatusBar) {
    EXPECT_EQ(MissingBackgroundText(2), QString::fromUtf8("Brak obrazu tła wykresu: pilgrim2 (plik .png lub .svg "
                                                          "w folderze programu)"));
    startWindow();
    f->PositioningMethod = 0;
    auto* chart = Control<platform::TChart>(f, "wykres");
    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    EXPECT_EQ(std::vector<QString>{MissingBackgroundText(0)}, messageTexts());
    EXPECT_TRUE(chart->BackImage().isNull());
    // The entry went on without it.
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 3);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "RestartMeteoReading");

    f->statusBar()->clearMessage();
    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(f->statusBar()->currentMessage(), MissingBackgroundText(0));

    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(dir.filePath("pilgrim.png")));
    f->PositioningMethod = 1;
    f->statusBar()->clearMessage();
    f->ShowPositioningBackground();
    EXPECT_FALSE(chart->BackImage().isNull());
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_TRUE(f->statusBar()->currentMessage().isEmpty());
}

TEST_F(TypePagesTest, GridCellsFollowTheirPointsByIndex) {
    startWindow();
    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    // The deviation table is on, as the reading's start shows it (the stand-in start does not).
    f->MenuCommand("MenuItemTabelkaOdchylek")->setChecked(true);
    f->TypeCalls().ShowPositioningPanels();
    f->Numerpunktu1->setChecked(false);
    LengthUnit = 0;
    f->PositioningCycles->Assign(cyclesOf({2, 2}));
    (*f->PositioningCycles)[1].Punkt[1].Xa = -3.14159;
    (*f->PositioningCycles)[1].Punkt[1].Xr = 2.0;
    (*f->PositioningCycles)[0].Punkt[0].Xr = 1.0;  // the run has a backward pass
    f->Points().ShowPositioningCycle(2);
    QTableWidget* g = Control<QTableWidget>(f, "GridOdchylka");
    ASSERT_EQ(3, g->rowCount());
    const QChar sep = foundations::systemDecimalSeparator();
    EXPECT_EQ(QString("-3") + sep + "1", g->item(2, 1)->text());
    EXPECT_EQ(QString("10") + sep + "0", g->item(2, 0)->text());
    EXPECT_EQ((evaluation::GridCellRef{1, 1}), *GridCellPoint(g->item(2, 2)));

    // The point goes away: the cell keeps only indexes, and shows nothing for a missing point.
    (*f->PositioningCycles)[1].Punkt.Delete(1);
    f->PointStoreParts->grid->RefreshTexts();
    EXPECT_EQ(QString(), g->item(2, 1)->text());
}

// The pages with a plotted run, as a user sees them (pictures in the temporary folder).
TEST_F(TypePagesTest, PagesWithPlottedDataRender) {
    startWindow();
    f->resize(1280, 800);
    f->show();
    LengthUnit = 0;
    f->Numerpunktu1->setChecked(false);
    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    TCykl run;
    for (int c = 0; c < 3; ++c) {
        TPunkt& p = run.Add().Punkt;
        for (int k = 0; k < 11; ++k) {
            TPunktItem& it = p.Add();
            it.Dystans = 50.0 * k;
            it.Xa = 0.8 * k + 0.6 * c - 0.03 * k * k;
            it.Xr = it.Xa - 2.5 + 0.2 * c;
        }
    }
    f->PositioningCycles->Assign(run);
    f->Points().ShowPositioningCycle(2);
    auto* chart = qobject_cast<platform::TChart*>(Control<platform::TChart>(f, "wykres"));
    ASSERT_NE(nullptr, chart);
    EXPECT_EQ(11, chart->SeriesByName("DoPrzodu")->Count());
    EXPECT_EQ(33, chart->SeriesByName("PoprzednieWTyl")->Count());
    QCoreApplication::processEvents();
    EXPECT_TRUE(f->grab().save(QDir::temp().filePath("vkm30_positioning_page.png")));

    VelocityRunning = false;
    Control<QPushButton>(f, "BitBtnpredkosc")->click();
    Control<QPushButton>(f, "ButtonStartV")->setEnabled(true);
    Control<QPushButton>(f, "ButtonStartV")->click();
    for (int k = 0; k < 250; ++k) f->Points().AddVelocitySample(k < 25 ? k * 4.0 : 100.0 + 2.0 * std::sin(k * 0.3));
    Control<QPushButton>(f, "ButtonStartV")->click();
    auto* v = qobject_cast<platform::TChart*>(Control<platform::TChart>(f, "WykresPredkosci"));
    ASSERT_NE(nullptr, v);
    EXPECT_EQ(250, v->SeriesByName("Series2")->Count());
    EXPECT_EQ(2, v->SeriesByName("Series6")->Count());
    QCoreApplication::processEvents();
    EXPECT_TRUE(f->grab().save(QDir::temp().filePath("vkm30_velocity_page.png")));
}
