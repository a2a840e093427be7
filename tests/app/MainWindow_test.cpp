#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QProgressBar>
#include <QRadioButton>
#include <QPushButton>
#include <QScrollBar>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableWidget>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

#include "MainWindowFixture.h"
#include "app/VelocityPage.h"
#include "support/SimHead.h"
#include "support/ModalDialog.h"
#include "support/SimCard.h"
#include "app/opcje.h"
#include "instrument/HeadLinkState.h"
#include "instrument/LinkPort.h"
#include "instrument/OdczytMeteo.h"
#include "support/InstrumentSinkDoubles.h"
#include "app/ModeSequencesMainForm.h"
#include "instrument/ComDrv32.h"
#include "instrument/MemoryFifo.h"
#include "instrument/SerialFrameParser.h"
#include "app/UPoczatek.h"
#include "app/dialogs/Unit_Komunikaty.h"
#include "foundations/Display.h"
#include "foundations/RadioGroup.h"
#include "foundations/ProgramMessages.h"
#include "platform/Registry.h"
#include "platform/Sync.h"

namespace {

QByteArray le32(int32_t v) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i) b[i] = char((uint32_t(v) >> (8 * i)) & 0xFF);
    return b;
}
QByteArray table() {
    QByteArray b;
    for (int i = 0; i < 120; ++i) b += le32(i * 10 - 300);
    return b;
}

}  // namespace

TEST_F(MainWindowTest, StartUpBuildsObjectsInOrderAndShowsStartPage) {
    start();
    TMainForm* f = form();
    EXPECT_EQ(MainForm, f);
    EXPECT_EQ(Komunikaty, program.komunikaty);
    ASSERT_NE(program.dataModule, nullptr);
    EXPECT_EQ(QCoreApplication::applicationName(), "VKM30");
    EXPECT_EQ(app::ApplicationHelpFile(), "VKM30.HLP");
    // The splash form is gone once start-up has handed over.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(qApp->findChildren<TPoczatekForm*>().isEmpty());
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_EQ(qobject_cast<TPoczatekForm*>(w), nullptr);

    ASSERT_EQ(f->NotebookMainForm->count(), 11);
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 0);
    EXPECT_EQ(f->NotebookMainForm->widget(0)->objectName(), "Wstep");
    EXPECT_EQ(Control<QStackedWidget>(f, "NotebookButton")->count(), 5);  // running, review, results, end of run, two-axis review
    EXPECT_EQ(f->FlatnessLines->Count(), 16);
    EXPECT_EQ(f->PositioningCycles->Count(), 0);
    EXPECT_EQ(f->FirstSheetNumber, 1);
    EXPECT_EQ(f->SheetCount, 0);
    EXPECT_TRUE(f->ProgramDir.endsWith('/'));
    EXPECT_EQ((std::array<uint8_t, 10>(f->DisplayPrecision)), (std::array<uint8_t, 10>{6, 3, 5, 2, 7, 4, 5, 4, 0, 2}));

    // Serial link (the default): all six events exist, and no thread may run.
    for (auto* e : {MeteoDataEvent, MeteoQuitEvent, ComCheckEvent, SampleEvent, ReadQuitEvent, ProgramLoadEvent}) {
        ASSERT_NE(e, nullptr);
        EXPECT_FALSE(e->isSet());
    }
    EXPECT_EQ(CardSemaphore, nullptr);
    EXPECT_EQ(PendingReply, 3);
    EXPECT_EQ(ReadWaitHandles[0], SampleEvent);
    EXPECT_EQ(ReadWaitHandles[1], ReadQuitEvent);
    EXPECT_EQ(MeteoWaitHandles[0], MeteoDataEvent);
    EXPECT_EQ(MeteoWaitHandles[1], MeteoQuitEvent);
    EXPECT_TRUE(ReadingStopped && MeteoStopped && SignalMonitorStopped);
    EXPECT_TRUE(DataSaved && VelocityDataSaved && FlatnessDataSaved && ExtraDataSaved && WaitingForLaser);
    EXPECT_DOUBLE_EQ(AirCorrection, 1.0);
    EXPECT_DOUBLE_EQ(ExpansionCoefficient, 1.17e-5);
    EXPECT_EQ(Control<QComboBox>(f, "ComboBox1")->currentIndex(), 3);
    EXPECT_EQ(Control<QLabel>(f, "Label32")->text(), Msg("stBrakInterfejs"));
    EXPECT_EQ(f->NotebookFlagi->currentIndex(), 1);

    // Gauges take the registry bounds; the deviation grids their headings.
    for (QProgressBar* g : f->SignalGauges()) {
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(g->maximum(), 175);
        EXPECT_EQ(g->minimum(), 100);
    }
    EXPECT_EQ(Control<QTableWidget>(f, "GridOdchylka")->item(0, 0)->text(), "Punkt");
    EXPECT_EQ(Control<QTableWidget>(f, "GridOdchylka")->item(0, 2)->text(), "Xr");
    EXPECT_EQ(Control<QTableWidget>(f, "GridOdchylkaPK")->item(0, 1)->text(), "Dc");
    EXPECT_EQ(Control<QTableWidget>(f, "GridOdchylka")->item(0, 1)->data(Qt::UserRole).value<QObject*>(), f->Numerpunktu1);
    EXPECT_EQ(f->LWolaston->text(), "41,42");
}

// Every page, the service panel too, fits the smallest screen the program serves: the window's
// least size, with its menu and status bars, is within 1024 x 768 less a window frame.
TEST_F(MainWindowTest, EveryPageFitsA1024By768Screen) {
    start();
    const QSize least = form()->minimumSizeHint();
    EXPECT_LE(least.width(), 1024);
    EXPECT_LE(least.height(), 768 - 40);
    for (int i = 0; i < form()->NotebookMainForm->count(); ++i) {
        const QSize page = form()->NotebookMainForm->widget(i)->minimumSizeHint();
        EXPECT_LE(page.width(), 1024) << i;
        EXPECT_LE(page.height(), 768 - 100) << i;
    }
}

TEST_F(MainWindowTest, CardLinkMakesTheSemaphore) {
    platform::appRegistry().writeString(QString(kSettingsKey) + "\\Service Parameter", "Transmision", "0");
    start();
    EXPECT_EQ(InterfaceMode, 0);
    EXPECT_NE(CardSemaphore, nullptr);
    EXPECT_EQ(Control<QLabel>(form(), "Label32")->text(), Msg("stBarkKarty"));
    EXPECT_EQ(form()->NotebookFlagi->currentIndex(), 0);
    EXPECT_EQ(form()->PSTransmisja2->ItemIndex(), 0);
    EXPECT_FALSE(form()->ComPortUstawienia->isEnabled());
    // Choosing the serial link switches the flags page and offers the port.
    form()->PSTransmisja2->SetItemIndex(1);
    EXPECT_EQ(InterfaceMode, 1);
    EXPECT_EQ(form()->NotebookFlagi->currentIndex(), 1);
    EXPECT_TRUE(form()->ComPortUstawienia->isEnabled());
}

TEST_F(MainWindowTest, EveryTaggedCommandIsPresentWithItsTag) {
    start();
    TMainForm* f = form();
    int tagged = 0;
    for (const MenuTagEntry& e : MainMenuTagTable()) {
        QAction* a = f->MenuCommand(e.name);
        ASSERT_NE(a, nullptr) << e.name;
        EXPECT_EQ(TMainForm::TagOf(a), e.tag) << e.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(e.caption)) << e.name;
        if (*e.parent) {
            EXPECT_EQ(f->MenuOf(e.parent)->actions().contains(a), true) << e.name;
        } else {
            EXPECT_FALSE(a->isVisible()) << e.name << ": top-level commands start hidden";
        }
        ++tagged;
    }
    // Every Tag from 1 to 44 but 17 has a command; 19 has two.
    std::vector<int> seen(45, 0);
    for (const MenuTagEntry& e : MainMenuTagTable()) ++seen[e.tag];
    for (int t = 1; t <= 44; ++t) EXPECT_EQ(seen[t], t == 17 ? 0 : t == 19 ? 2 : 1) << "Tag " << t;
    for (const char* service : {"Opcje1", "Funkcje1"}) {
        ASSERT_NE(f->MenuCommand(service), nullptr);
        EXPECT_EQ(TMainForm::TagOf(f->MenuCommand(service)), 0);
    }
}

TEST_F(MainWindowTest, ShowAndEnableByTagReachOneLevel) {
    start();
    TMainForm* f = form();
    auto visible = [f](const char* n) { return f->MenuCommand(n)->isVisible(); };
    auto enabled = [f](const char* n) { return f->MenuCommand(n)->isEnabled(); };

    // A set holding 11 shows the top-level "P&omiar" and nothing else.
    f->ShowMenuItemsByTag(TagSet({11}), true);
    EXPECT_TRUE(visible("Pomiar1"));
    EXPECT_FALSE(visible("PomiarProstoliniowosc"));
    EXPECT_FALSE(visible("Plik1"));

    // Entering positioning: its shown and hidden sets.
    f->ShowMenuItemsByTag(TagSet({9, 10, 11, 15, 17, 18, 19, 20, 23, 26, 27, 28, 29, 30, 31, 43}), true);
    f->ShowMenuItemsByTag(TagSet({13, 21, 37, 38, 39, 40, 41, 44}), false);
    for (const char* n : {"Plik1", "Edycja1", "Pomiar1", "MenuItemWidok", "Pomoc1", "TabelaPomiarow",
                          "PunktyPozycjonowania1", "Puntyautomatycznie1", "PunktyZListy", "ReczneZaliczeniePunktu",
                          "TabelaKompensacji1", "KorekcjaWartosciZadanej"})
        EXPECT_TRUE(visible(n)) << n;
    for (const char* n : {"PomiarProstoliniowosc", "Dlugoscpodstawki", "Prostopadlosc", "UstawSilnik1",
                          "MenuItemKatCalkowity", "MenuItemTabelkaOdchylekPK", "ReczneZaliczeniePunktuPK", "Widok3D1"})
        EXPECT_FALSE(visible(n)) << n;

    // Leaving velocity: save, save as, print, preview and export off; the top level untouched.
    f->EnableMenuItemsByTag(TagSet({2, 3, 4, 5, 42}), false);
    for (const char* n : {"Zapisz1", "Zapiszjako1", "Drukuj1", "Podgladwydruku1", "Eksport1"}) EXPECT_FALSE(enabled(n)) << n;
    EXPECT_TRUE(enabled("Otworz1"));
    f->EnableMenuItemsByTag(TagSet({26, 11}), false);
    EXPECT_TRUE(enabled("Plik1"));
    EXPECT_TRUE(enabled("Pomiar1"));
    f->EnableMenuItemsByTag(TagSet({2, 3, 4, 5, 42}), true);
    EXPECT_TRUE(enabled("Zapisz1"));

    // The language submenu below Plik is one level deeper than the routines reach.
    QMenu* languages = f->Jezyk1;
    ASSERT_NE(languages, nullptr);
    for (QAction* a : languages->actions()) a->setProperty("Tag", 26);
    f->ShowMenuItemsByTag(TagSet({26}), false);
    for (QAction* a : languages->actions()) EXPECT_TRUE(a->isVisible());
    EXPECT_FALSE(visible("Plik1"));
}

TEST_F(MainWindowTest, LanguageChangeRebuildsCaptionsAndFilters) {
    writeProgramFile("Vkm30.EN",
                     "[Strings]\nstCap=Veldrasta EN\nStCapPoz=Positioning\nstPlikiPoz=Positioning files\n"
                     "stAllFiles=All files\nstMPK=End points\nstLewo=Left\nstAmplituda=Amplitude\nstStal=Steel\n"
                     "stPunkt=Point\nstRozdzielczosc=Resolution\nstWykresPred=Velocity chart\n"
                     "[MainForm]\nOtworz1.Caption=&Open\nBitBtnKoniec.Caption=&Exit\n");
    start();
    TMainForm* f = form();
    EXPECT_EQ(f->ModeCaptions[0], "Veldrasta - " + BuiltInMessage("StCapPoz"));
    EXPECT_EQ(f->ModeFilters[0], "Pliki pozycjonowania (*%s)|*%s|Wszystkie pliki (*.*)|*.*");
    QAction* english = nullptr;
    for (QAction* a : f->Jezyk1->actions())
        if (a->objectName() == "EN1") english = a;
    ASSERT_NE(english, nullptr);
    english->trigger();

    EXPECT_EQ(f->ModeCaptions[0], "Veldrasta EN - Positioning");
    EXPECT_EQ(f->ModeFilters[0], "Positioning files (*%s)|*%s|All files (*.*)|*.*");
    EXPECT_EQ(f->ModeCaptions[1], "Veldrasta EN - " + BuiltInMessage("StCapPred"));
    EXPECT_EQ(StatisticsMethodNames.value(0), "End points");
    EXPECT_EQ(RotationDirectionNames.value(0), "Left");
    EXPECT_EQ(FftOutputNames.value(0), "Amplitude");
    EXPECT_EQ(Control<QComboBox>(f, "ComboBox1")->itemText(3), "Steel");
    EXPECT_EQ(f->PointColumnCaption, "Point");
    EXPECT_EQ(Control<QTableWidget>(f, "GridOdchylka")->item(0, 0)->text(), "Point");
    EXPECT_EQ(Control<QPushButton>(f, "BRozdziel")->text(), "Resolution 100 nm");
    EXPECT_EQ(TMainForm::ChartTitle(Control<platform::TChart>(f, "WykresPredkosci")), "Velocity chart");
    EXPECT_EQ(f->MenuCommand("Otworz1")->text(), "&Open");
    EXPECT_EQ(Control<QPushButton>(f, "BitBtnKoniec")->text(), "&Exit");
}

TEST_F(MainWindowTest, MissingCalibrationFileWarnsAndTurnsSensorsOff) {
    // The message waits for the end of the start-up: it comes on the main menu, never over the
    // splash form or the start picture.
    bool splashUp = false;
    int pageAtMessage = -1;
    setMessageDlgHook([&](const MessageDlgRequest& r) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<TPoczatekForm*>(w) && w->isVisible()) splashUp = true;
        if (form()) pageAtMessage = form()->NotebookMainForm->currentIndex();
        messages.push_back(r);
        return int(mrOk);
    });
    writeProgramFile("Kalibracja.dat", QByteArray());  // empty counts as damaged
    start();
    TMainForm* f = form();
    EXPECT_EQ(messageCount(Msg("stBrakKalibracji")), 0);
    ASSERT_TRUE(finishStartup());
    EXPECT_FALSE(splashUp);
    EXPECT_EQ(pageAtMessage, 1);
    ASSERT_EQ(messageCount(Msg("stBrakKalibracji")), 1);
    const MessageDlgRequest& m =
        *std::find_if(messages.begin(), messages.end(), [](auto& r) { return r.text == Msg("stBrakKalibracji"); });
    EXPECT_TRUE(m.text.startsWith("Brak lub uszkodzony plik kalibracji stacji meteo - Kalibracja.dat\r"));
    EXPECT_EQ(m.type, TMsgDlgType::mtError);
    EXPECT_EQ(m.buttons, unsigned(mbOK));
    EXPECT_EQ(m.helpContext, 133);
    for (QCheckBox* b : {Control<QCheckBox>(f, "CBWilg"), Control<QCheckBox>(f, "CBCis"), Control<QCheckBox>(f, "CBTemp"), Control<QCheckBox>(f, "CBTMat")}) {
        EXPECT_FALSE(b->isChecked()) << b->objectName().toStdString();
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    }
    EXPECT_EQ(f->LNazwaLas->text(), "Belgia");
    EXPECT_EQ(f->LLambda->text(), "632,991253");
    EXPECT_DOUBLE_EQ(LaserWavelength, 6.329912526e-7);
}

TEST_F(MainWindowTest, SensorTableAloneGivesLaserDefaultsWithoutMessage) {
    LaserWavelength = 1.0;  // left over from elsewhere: the file's defaults replace it
    LaserName = "old";
    OffsetX = 9;
    writeProgramFile("Kalibracja.dat", table());
    start();
    TMainForm* f = form();
    EXPECT_EQ(messageCount(Msg("stBrakKalibracji")), 0);
    EXPECT_DOUBLE_EQ(LaserWavelength, 6.329912526e-7);
    EXPECT_EQ(LaserName, "Belgia");
    EXPECT_EQ(OffsetX, 0);
    EXPECT_EQ(OffsetY, 0);
    EXPECT_EQ(CalibrationTable[0][0][0], -300);
    EXPECT_EQ(CalibrationTable[5][1][9], 119 * 10 - 300);
    for (QCheckBox* b : {Control<QCheckBox>(f, "CBWilg"), Control<QCheckBox>(f, "CBCis"), Control<QCheckBox>(f, "CBTemp"), Control<QCheckBox>(f, "CBTMat")}) {
        EXPECT_TRUE(b->isChecked());
        EXPECT_TRUE(b->isEnabled());
    }
    EXPECT_EQ(f->LNazwaLas->text(), "Belgia");
}

TEST(MainWindowRules, AdjustToScreen) {
    struct Case {
        int w, h;
        double scale;
        bool centre;
    };
    const Case cases[] = {
        {640, 480, 1.0, false},   {1024, 768, 1.6, false},  {800, 600, 1.25, false}, {1280, 1024, 2.0, false},
        {1280, 720, 1.5, true},   {1280, 800, 800.0 / 480, true}, {854, 480, 1.0, true},
    };
    for (const Case& c : cases) {
        const ScreenAdjustment a = AdjustToScreenRule(c.w, c.h);
        EXPECT_DOUBLE_EQ(a.scale, c.scale) << c.w << "x" << c.h;
        EXPECT_EQ(a.centre, c.centre) << c.w << "x" << c.h;
    }
}

TEST(MainWindowRules, MachineSelectionAfterFilling) {
    const QStringList names{"FUS 25", "DMU 50", "HAAS"};
    EXPECT_EQ(MachineComboIndex(names, "DMU 50"), 1);
    EXPECT_EQ(MachineComboIndex(names, "not in the table"), 0);
    EXPECT_EQ(MachineComboIndex(names, ""), 0);
    EXPECT_EQ(MachineComboIndex({}, "DMU 50"), -1);
}

TEST_F(MainWindowTest, VelocityUnitCaptionsAndDecimals) {
    start();
    TMainForm* f = form();
    const struct {
        uint8_t unit;
        const char* name;
        int decimals;
    } cases[] = {{0, "mm/s", 3}, {1, "m/s", 6}, {2, "m/min", 4}, {3, "mm/min", 1}, {4, "in/s", 4}, {5, "in/min", 2}};
    for (const auto& c : cases) {
        f->VelocityChartUnit = c.unit;
        f->Velocity().UpdateVelocityUnitCaptions();
        EXPECT_EQ(Control<QLabel>(f, "LabVelUnit1")->text(), QString(" ") + c.name);
        EXPECT_EQ(Control<QLabel>(f, "LabVelUnit2")->text(), QString("  ") + c.name);
        EXPECT_EQ(Control<TDisplay>(f, "DisplayPredkosc")->Precision(), c.decimals);
        EXPECT_EQ(Control<TDisplay>(f, "DispPredkoscSr")->Precision(), c.decimals);
        EXPECT_EQ(TMainForm::ChartAxisTitle(Control<platform::TChart>(f, "WykresPredkosci"), TMainForm::ChartAxis::Left),
                  Msg("stPredkosc") + " [" + c.name + "]");
    }
}

TEST_F(MainWindowTest, ServiceHintsFollowTheScrollBars) {
    start();
    TMainForm* f = form();
    // Moving a bar shows its own caption; the start-up refresh has the spaced form.
    EXPECT_EQ(f->PSLabel46->text(), "Próg - Głowica wył./Wygrzewanie ( 20 ).");
    f->ScrollBar4->setValue(17);
    f->ScrollBar5->setValue(40);
    EXPECT_EQ(f->PSLabel46->text(), "Próg - Głowica wył./Wygrzewanie (17).");
    EXPECT_EQ(f->PSLabel57->text(), "Odchylka nie większa niż 0,40 mm");
}

// A signal monitor sampling when the window closes: destruction tells it to stop and lets it
// end (its last hand-off to this thread included, no deadlock) before the events go.
TEST_F(MainWindowTest, DestructionEndsTheSignalMonitorBeforeFreeingEvents) {
    start();
    struct Sampling : testsupport::SignalSourceDouble {
        int SampleSignalLevel() override {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));  // one sampling period
            ++samples;
            return 0;
        }
        bool HeadReady() override { return false; }
        std::atomic<int> samples{0};
    };
    auto source = std::make_shared<Sampling>();
    WaitingForLaser = false;  // the samples change no page
    ASSERT_TRUE(form()->Threads().StartSignalMonitor(source, form()->ModeHost()));
    ASSERT_TRUE(pumpUntil([&] { return source->samples.load() > 0; }));
    app::EndProgram(program);
    EXPECT_FALSE(OdczytSygPomiarowego::Running());
    EXPECT_EQ(SampleEvent, nullptr);
    EXPECT_EQ(CardSemaphore, nullptr);
    EXPECT_EQ(MainForm, nullptr);
}

TEST_F(MainWindowTest, SettingsReachTheControlsAndGoBackAtTheEnd) {
    auto& reg = platform::appRegistry();
    const QString options = QString(kSettingsKey) + "\\Options";
    reg.writeString(QString(kSettingsKey) + "\\Point Parameter", "Head On/Off", "30");
    reg.writeString(options, "Norm", "2");
    reg.writeString(options, "HandControl", "1");
    reg.writeString(options, "CBTemp", "0");
    writeProgramFile("Kalibracja.dat", table());
    start();
    TMainForm* f = form();
    EXPECT_EQ(f->ScrollBar4->value(), 30);
    EXPECT_EQ(f->PSLabel46->text(), "Próg - Głowica wył./Wygrzewanie ( 30 ).");
    EXPECT_EQ(Control<QComboBox>(f, "ComboBoxNorma")->currentIndex(), 2);
    EXPECT_TRUE(f->MenuCommand("ReczneZaliczeniePunktu")->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(f, "CBTemp")->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(f, "CBWilg")->isChecked());
    EXPECT_EQ(Control<QPushButton>(f, "BRozdziel")->text(), Msg("stRozdzielczosc") + " 100 nm");

    f->ScrollBar5->setValue(77);
    Control<QCheckBox>(f, "CBWilg")->setChecked(false);
    app::EndProgram(program);
    EXPECT_EQ(reg.readString(QString(kSettingsKey) + "\\Point Parameter", "Max Error").value_or(""), "77");
    EXPECT_EQ(reg.readString(options, "CBWilg").value_or(""), "0");
    EXPECT_EQ(reg.readString(options, "Norm").value_or(""), "2");
}

TEST_F(MainWindowTest, StoredSettingsOutOfRangeAreBroughtIntoRangeAndNamedOnceAtStart) {
    auto& reg = platform::appRegistry();
    const QString points = QString(kSettingsKey) + "\\Point Parameter";
    const QString options = QString(kSettingsKey) + "\\Options";
    reg.writeString(points, "Point number", "2147483647");
    reg.writeString(points, "Point numberPK", "-2147483648");
    reg.writeString(options, "FFTCzas", "-1");
    writeProgramFile("in-the-way", "a file, not a folder");
    const QString impossible = dir.filePath("in-the-way/Pozycjonowanie/");
    reg.writeString(QString(kSettingsKey) + "\\Directory", "Poz Dir", impossible);
    reg.writeString(QString(kSettingsKey) + "\\Directory", "Vel Dir", dir.filePath("unplugged/Predkosc/"));
    writeProgramFile("Kalibracja.dat", table());
    start();
    TMainForm* f = form();
    ASSERT_TRUE(finishStartup());
    EXPECT_EQ(f->PointNumber, 500);
    EXPECT_EQ(f->PointNumberPK, 2);
    EXPECT_EQ(f->FftSignalIndex, 0);
    EXPECT_EQ(f->PositioningDir, f->ProgramDir + "Pozycjonowanie/");
    EXPECT_TRUE(QFileInfo(f->PositioningDir).isDir());
    EXPECT_EQ(f->VelocityDir, dir.filePath("unplugged/Predkosc/"));  // only missing: kept

    const QString said = QString::fromUtf8(
        "Zapisane ustawienia poza zakresem zostały zastąpione:\n"
        "\"Point number\": 2147483647 → 500\n"
        "\"Point numberPK\": -2147483648 → 2\n"
        "\"FFTCzas\": -1 → 0\n"
        "\"Poz Dir\": %1 → %2").arg(impossible, f->ProgramDir + "Pozycjonowanie/");
    auto settingsMessages = [&] {
        return std::count_if(messages.begin(), messages.end(),
                             [](const MessageDlgRequest& m) { return m.text.startsWith("Zapisane ustawienia"); });
    };
    EXPECT_EQ(messageCount(said), 1);
    EXPECT_EQ(settingsMessages(), 1);
    for (const MessageDlgRequest& m : messages)
        if (m.text == said) EXPECT_EQ(m.type, TMsgDlgType::mtWarning);

    // Reading the settings again from the service panel corrects without a word.
    reg.writeString(points, "Point number", "0");
    f->Button19Click();
    EXPECT_EQ(f->PointNumber, 2);
    EXPECT_EQ(settingsMessages(), 1);

    // What is kept at the end is in range.
    app::EndProgram(program);
    EXPECT_EQ(reg.readString(points, "Point numberPK").value_or(""), "2");
    EXPECT_EQ(reg.readString(options, "FFTCzas").value_or(""), "0");
}

// Without raw port rights the card's ports cannot be opened: the link state lines name the cause
// and the remedy, a message says it once, and commands take the interface-error path at once.
TEST_F(MainWindowTest, CardWithoutPortRightsSaysTheCauseAndTheRemedy) {
    start();
    ASSERT_TRUE(finishStartup());
    TMainForm* f = form();
    // The serial link chosen: the card's ports were not tried.
    EXPECT_TRUE(f->CardPortsError.isEmpty());
    EXPECT_FALSE(f->CardPortsMessageShown);
    messages.clear();
    InterfaceError = false;
    InterfaceMode = 0;
    f->ConfigureLink(instrument::LinkKind::Card, nullptr);
    const QString cause = QStringLiteral("card ports 0x300-0x303: Operation not permitted");
    const QString text = app::CardPortsMissingText(cause);
    EXPECT_TRUE(text.contains(cause));
    EXPECT_TRUE(text.contains("CAP_SYS_RAWIO"));
    f->ReportCardPortsMissing(cause);
    ASSERT_TRUE(pumpUntil([&] { return messageCount(text) == 1; }));
    f->ReportCardPortsMissing(cause);
    QCoreApplication::processEvents();
    EXPECT_EQ(messageCount(text), 1);
    EXPECT_EQ(f->PSStatusBar1->Panel(0)->text(), text);
    EXPECT_EQ(Control<QLabel>(f, "LabStanLacza")->text(), text);
    SendCommandByte('R');
    EXPECT_TRUE(InterfaceError.load());
    // A card that is there again (a simulated one) clears the cause.
    testsupport::SimCard card;
    f->ConfigureLink(instrument::LinkKind::Card, &card);
    EXPECT_TRUE(f->CardPortsError.isEmpty());
    InterfaceMode = 1;
    f->ConfigureLink();  // the serial link again before the simulated card goes
}

// The service panel's setting controls act at once (the velocity flag, the environment thread's
// averaging, the two-axis choice of the configuration) and the stored ones come back after a
// restart.
TEST_F(MainWindowTest, ServicePanelSettingControlsActAndSurviveARestart) {
    start();
    TMainForm* f = form();
    auto* ignore = Control<QCheckBox>(f, "CheckBoxIgnorujZaDuzaPredkosc");
    auto* averaging = Control<TRadioGroup>(f, "RadioGroupUsrednianieMeteo");
    auto* bigError = Control<QCheckBox>(f, "CheckBox4");
    auto* systemXY = Control<QCheckBox>(f, "cbSystemXY");
    EXPECT_EQ(averaging->ItemIndex(), 0);
    EXPECT_FALSE(bigError->isChecked());
    EXPECT_FALSE(systemXY->isChecked());
    EXPECT_FALSE(ignore->isChecked());

    // "Velocity too high" counts until the box is ticked, whatever the flag byte holds then.
    instrument::LinkState().HeadFlags = 0x01;
    EXPECT_TRUE(SerialFlagBit0());
    ignore->click();
    EXPECT_FALSE(SerialFlagBit0());
    instrument::LinkState().HeadFlags = 0xFF;
    EXPECT_FALSE(SerialFlagBit0());
    ignore->click();
    EXPECT_TRUE(SerialFlagBit0());
    ignore->click();

    // The environment thread reads the averaging choice and the change threshold.
    averaging->button(1)->click();
    EXPECT_EQ(f->MeteoAveragingIndex, 1);
    EXPECT_FALSE(f->MeteoThreadChoices().averagingOn.load());
    averaging->button(0)->click();
    EXPECT_TRUE(f->MeteoThreadChoices().averagingOn.load());
    f->ScrollBar12->setValue(33);
    EXPECT_EQ(f->MeteoThreadChoices().changeThreshold.load(), 33);
    averaging->button(1)->click();

    // Positioning and straightness together are offered (and kept on OK) only with the
    // two-axis system.
    auto offeredTogether = [&] {
        bool offered = false;
        testsupport::whenModalShown<TFOpcje>([&](TFOpcje& d) {
            offered = d.cbPozycIProsto->isEnabled();
            d.cbPozycIProsto->setChecked(true);
            d.ButtonOk->click();
        });
        f->BitBtnKonfiguracjaClick(true);
        return offered;
    };
    EXPECT_FALSE(offeredTogether());
    EXPECT_FALSE(f->PosAndStr);
    systemXY->click();
    EXPECT_TRUE(f->SystemXY);
    EXPECT_TRUE(offeredTogether());
    EXPECT_TRUE(f->PosAndStr);
    bigError->click();

    auto& reg = platform::appRegistry();
    const QString service = QString(kSettingsKey) + "\\Service Parameter";
    app::EndProgram(program);
    EXPECT_EQ(reg.readString(service, "Avarge meteo").value_or(""), "1");
    EXPECT_EQ(reg.readString(service, "Big error warning").value_or(""), "1");
    EXPECT_EQ(reg.readString(service, "SystemXY").value_or(""), "1");
    EXPECT_EQ(reg.readString(service, "Avarge change <").value_or(""), "33");

    start();
    f = form();
    EXPECT_EQ(Control<TRadioGroup>(f, "RadioGroupUsrednianieMeteo")->ItemIndex(), 1);
    EXPECT_FALSE(f->MeteoThreadChoices().averagingOn.load());
    EXPECT_TRUE(Control<QCheckBox>(f, "CheckBox4")->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(f, "cbSystemXY")->isChecked());
    EXPECT_TRUE(f->PosAndStr);
    // Ignoring the velocity warning is not stored: a new run warns again.
    EXPECT_FALSE(Control<QCheckBox>(f, "CheckBoxIgnorujZaDuzaPredkosc")->isChecked());
    instrument::LinkState().HeadFlags = 0x01;
    EXPECT_TRUE(SerialFlagBit0());
}

// The sensor boxes forced off by a missing calibration file are not stored as the user's choice.
TEST_F(MainWindowTest, MissingCalibrationDoesNotStoreTheSensorsAsOff) {
    start();
    ASSERT_FALSE(Control<QCheckBox>(form(), "CBWilg")->isEnabled());
    // Reading the stored settings again ("Odczyt Konfiguracji") does not tick the uncalibrated
    // sensors back on.
    form()->LoadStoredSettings();
    for (const char* name : {"CBWilg", "CBCis", "CBTemp", "CBTMat"})
        EXPECT_FALSE(Control<QCheckBox>(form(), name)->isChecked()) << name;
    app::EndProgram(program);
    const QString options = QString(kSettingsKey) + "\\Options";
    for (const char* name : {"CBWilg", "CBCis", "CBTemp", "CBTMat"})
        EXPECT_EQ(platform::appRegistry().readString(options, name).value_or(""), "1") << name;
}

TEST_F(MainWindowTest, SerialPortThatCannotOpenIsReportedAndTheWindowOpens) {
    start();
    TMainForm* f = form();
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 0);
    EXPECT_EQ(messageCount(Msg("stNieMoznaOtworzyc")), 0);  // held back until the start-up ends
    ASSERT_TRUE(finishStartup());
    EXPECT_EQ(messageCount(Msg("stNieMoznaOtworzyc")), 1);
    EXPECT_FALSE(f->SerialLinkOpen());
    EXPECT_TRUE(f->RSButton_Polacz->isEnabled());
    EXPECT_EQ(f->PSStatusBar1->findChild<QLabel*>("PSStatusBar1Panel0")->text(),
              "Błąd nr 004. Niemożliwe połączenie. Sprawdź ustawienia portu!");
}

// On the serial link the window opens the port at start, sets the resolution, feeds what
// arrives to the frame parser and the queue, and sends 'R' when it goes.
TEST_F(MainWindowTest, SerialLinkWithAHead) {
    testsupport::SimHead head;
    ASSERT_TRUE(head.ok());
    head.attachAsCom(1);
    platform::appRegistry().writeString(QString(kSettingsKey) + "\\Service Parameter", "BaudRate", "11");
    start();
    TMainForm* f = form();
    EXPECT_EQ(messageCount(Msg("stNieMoznaOtworzyc")), 0);
    ASSERT_TRUE(f->SerialLinkOpen());
    EXPECT_EQ(f->PSStatusBar1->findChild<QLabel*>("PSStatusBar1Panel0")->text(), "Połączony");
    EXPECT_EQ(head.lineSpeed(), 57600);

    // While a reading runs the bytes are frames.
    ReadingStopped = false;
    instrument::LinkState().ReceiveState = 1;
    head.sendFrame(testsupport::FrameSpec::ready(1234));
    for (int i = 0; i < 100 && f->Fifo->Empty(); ++i) {
        QThread::msleep(10);
        f->CommPortDriver1->Poll();
    }
    ASSERT_FALSE(f->Fifo->Empty());
    EXPECT_EQ(int32_t(f->Fifo->Get()), 1234);
    EXPECT_TRUE(SampleEvent->isSet());

    head.clearReceived();
    app::EndProgram(program);
    ASSERT_TRUE(head.waitForCommands(1));
    EXPECT_EQ(head.receivedCommands().front(), 'R');
}
