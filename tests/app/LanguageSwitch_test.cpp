// Switching the language on the real window with the shipped English file: the open page, its
// charts, summary and results follow at once, the title keeps its page, the configuration
// dialog marks the language in use, every figure shows the one separator of the language, and
// F1 opens the help page of the page shown. Pictures in Polish and English are saved when
// VKM30_SCREENSHOTS names a folder.
#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "MainWindowFixture.h"
#include "app/HelpWindow.h"
#include "app/PunktyPoz.h"
#include "app/opcje.h"
#include "foundations/Display.h"
#include "foundations/HeadList.h"
#include "foundations/NumberFormat.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RadioGroup.h"
#include "foundations/RealSpinEdit.h"
#include "foundations/Transl.h"
#include "platform/Chart.h"
#include "platform/HelpFiles.h"
#include "platform/Registry.h"
#include "support/HelpProbe.h"
#include "support/ModalDialog.h"

using testsupport::TakeHelpPage;
using testsupport::whenModalShown;

namespace {

QString screenshotDir() { return qEnvironmentVariable("VKM30_SCREENSHOTS"); }

void saveShot(QWidget* w, const QString& name) {
    if (screenshotDir().isEmpty()) return;
    QDir().mkpath(screenshotDir());
    w->grab().save(QDir(screenshotDir()).filePath(name));
}

// Two cycles of six points 100 mm apart, with a reversal of 1 µm at every point.
void FillRun(TCykl& cycles) {
    cycles.Clear();
    for (int c = 0; c < 2; ++c) {
        TPunkt& p = cycles.Add().Punkt;
        for (int k = 0; k < 6; ++k) {
            TPunktItem& it = p.Add();
            it.Dystans = 100.0 * k;
            it.Xa = k + 2.0 * c;
            it.Xr = k - 1.0 + 2.0 * c;
        }
    }
}

class LanguageSwitchTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(QFile::copy(QCoreApplication::applicationDirPath() + "/Vkm30.EN", dir.filePath("Vkm30.EN")));
    }
    void TearDown() override {
        CloseHelpWindow();
        MainWindowTest::TearDown();
    }
    // Plik > Język: "[default]" (the system's language, here Polish) or "English".
    void chooseFromMenu(const char* itemName) {
        QAction* item = nullptr;
        for (QAction* a : form()->Jezyk1->actions())
            if (a->objectName() == QLatin1String(itemName)) item = a;
        ASSERT_NE(item, nullptr) << itemName;
        item->trigger();
    }
    QString chartTitle(const char* name) const { return TMainForm::ChartTitle(Control<platform::TChart>(form(), name)); }
    QString axisTitle(const char* name, bool left) const {
        auto* c = Control<platform::TChart>(form(), name);
        return c ? (left ? c->LeftAxis() : c->BottomAxis()).Title() : QString();
    }
    QString statusText() const {
        QStringList parts;
        for (QLabel* l : Control<QStatusBar>(form(), "StatusBar1")->findChildren<QLabel*>()) parts << l->text();
        return parts.join(u'|');
    }
    QStringList results() const { return Control<THeaderListbox>(form(), "ListboxWyniki")->Items(); }
};

TEST(LanguageList, StoredChoiceFindsItsItem) {
    const QStringList codes{"Dflt", "EN", "ENU"};
    const struct {
        const char* stored;
        int index;
    } rows[] = {{"", 0}, {"  ", 0}, {"EN", 1}, {"en", 1}, {"ENU", 2}, {"DEU", -1}};
    for (const auto& r : rows) EXPECT_EQ(LanguageListIndex(codes, QString::fromLatin1(r.stored)), r.index) << r.stored;
    EXPECT_EQ(LanguageListIndex({}, QString()), -1);
}

TEST(LanguageTexts, MessagesOfOneLanguageBecomeTheOthers) {
    const MessageTexts pl{{"stWykresPoz", "Pozycjonowanie"}, {"StCapPoz", "Pozycjonowanie Liniowe"},
                          {"stCykl", "Cykl"}, {"stBlad", "Błąd"}, {"stNr", "Nr"}, {"stDoPunktu", "do punktu %d"},
                          {"stOs", "Oś"}, {"stKat", "Kąt"}, {"stLuz", "Luz zwrotny:"}};
    const MessageTexts en{{"stWykresPoz", "Positioning"}, {"StCapPoz", "Linear Positioning"},
                          {"stCykl", "Cycle"}, {"stBlad", "Error"}, {"stNr", "No."}, {"stDoPunktu", "to point %d"},
                          {"stOs", "Axis"}, {"stKat", "Kąt"}, {"stLuz", "Backlash:"}};
    const struct {
        const char* before;
        const char* after;
    } rows[] = {
        {"Pozycjonowanie - 11.12.2026", "Positioning - 11.12.2026"},
        {"Pozycjonowanie Liniowe", "Linear Positioning"},  // the longer text whole
        {"Cykl 3", "Cycle 3"},
        {"Błąd [ µm ]", "Error [ µm ]"},
        {"Cykle 3", "Cykle 3"},          // not inside a longer word
        {"Nrx", "Nrx"},
        {"do punktu 4", "do punktu 4"},  // a text with a place for a number stays
        {"Oś: Kąt", "Axis: Kąt"},        // a text both languages share stays
        {"Luz zwrotny: - 1,00 µm", "Backlash: - 1,00 µm"},
        {"Luz zwrotny", "Backlash"},     // a heading's words as a legend entry
        {"", ""},
    };
    for (const auto& r : rows)
        EXPECT_EQ(RetranslateText(QString::fromUtf8(r.before), pl, en), QString::fromUtf8(r.after)) << r.before;
}

TEST(LanguageTexts, WindowTitleKeepsItsPageAndFile) {
    const MessageTexts pl{{"stCap", "Veldrasta"}, {"stCapMenu", "Menu Główne"}, {"StCapPoz", "Pozycjonowanie Liniowe"}};
    const MessageTexts en{{"stCap", "Veldrasta"}, {"stCapMenu", "Main Menu"}, {"StCapPoz", "Linear Positioning"}};
    EXPECT_EQ(RetranslateWindowTitle(QString::fromUtf8("Veldrasta - Menu Główne"), pl, en), "Veldrasta - Main Menu");
    EXPECT_EQ(RetranslateWindowTitle("Veldrasta - Pozycjonowanie Liniowe - Cykl.dt2", pl, en),
              "Veldrasta - Linear Positioning - Cykl.dt2");
    EXPECT_EQ(RetranslateWindowTitle("Veldrasta", pl, en), "Veldrasta");
}

// The configuration dialog's "Interfejs" page marks the language in use, the system's too.
TEST_F(LanguageSwitchTest, ConfigurationMarksTheLanguageInUse) {
    start();
    QStringList marked;
    auto look = [&] {
        whenModalShown<TFOpcje>([&](TFOpcje& d) {
            const int i = d.RGJezyk->ItemIndex();
            marked << (i >= 0 ? d.RGJezyk->Items().value(i) : QString());
            d.show();
            saveShot(&d, QStringLiteral("language_opcje_%1.png").arg(marked.size()));
            d.ButtonAnuluj->click();
        });
        Control<QPushButton>(form(), "BitBtnKonfiguracja")->click();
    };
    look();
    chooseFromMenu("EN1");
    look();
    EXPECT_EQ(marked, QStringList({"[default]", "English"}));
}

// From the menu, on the main menu page and on an open positioning page with its results: the
// title keeps its page, the chart, its axes, the summary and the results list follow at once
// and come back with the built-in language.
TEST_F(LanguageSwitchTest, OpenPageFollowsAMenuSwitchAtOnce) {
    start();
    TMainForm* f = form();
    f->NotebookMainForm->setCurrentIndex(1);
    f->setWindowTitle(QString::fromUtf8("Veldrasta - Menu Główne"));
    chooseFromMenu("EN1");
    EXPECT_EQ(f->windowTitle(), "Veldrasta - Main Menu");
    chooseFromMenu("Dflt1");
    EXPECT_EQ(f->windowTitle(), QString::fromUtf8("Veldrasta - Menu Główne"));

    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    ASSERT_EQ(f->NotebookMainForm->currentIndex(), 3);
    f->Numerpunktu1->setChecked(false);
    FillRun(*f->PositioningCycles);
    Control<QComboBox>(f, "ComboBoxNorma")->setCurrentIndex(1);  // ISO 230-2
    ASSERT_TRUE(f->ShowPositioningResults());
    const QString polishStatus = statusText();
    ASSERT_TRUE(results().contains(QString::fromUtf8("Błąd powrotu:")));
    f->resize(1024, 768);
    saveShot(f, "language_positioning_pl.png");

    chooseFromMenu("EN1");
    EXPECT_EQ(f->windowTitle(), "Veldrasta - Linear Positioning");
    EXPECT_EQ(chartTitle("wykres"), TranslateString("stWykresRap", QString()));
    EXPECT_EQ(axisTitle("wykres", true), "Error [ µm ]");
    EXPECT_EQ(axisTitle("wykres", false), "Point number");
    EXPECT_NE(statusText(), polishStatus);
    EXPECT_TRUE(statusText().contains("Number of cycles in the series: 2")) << statusText().toStdString();
    const QStringList english = results();
    EXPECT_TRUE(english.contains("Reversal error:"));
    EXPECT_TRUE(english.contains("Accuracy:"));
    EXPECT_FALSE(english.contains(QString::fromUtf8("Błąd powrotu:")));
    EXPECT_EQ(Control<platform::TChart>(f, "wykres")->SeriesByName("LuzZwrotny")->Title(), "Backlash");
    saveShot(f, "language_positioning_en.png");

    Control<QComboBox>(f, "ComboBoxNorma")->setCurrentIndex(0);  // NMTBA names its reversal "backlash"
    EXPECT_TRUE(results().contains("Backlash:"));
    Control<QComboBox>(f, "ComboBoxNorma")->setCurrentIndex(1);

    chooseFromMenu("Dflt1");
    EXPECT_EQ(chartTitle("wykres"), BuiltInMessage("stWykresRap"));
    EXPECT_EQ(axisTitle("wykres", true), QString::fromUtf8("Błąd [ µm ]"));
    EXPECT_EQ(statusText(), polishStatus);
    EXPECT_TRUE(results().contains(QString::fromUtf8("Błąd powrotu:")));
}

// The straightness page's chart title (with its date) follows too.
TEST_F(LanguageSwitchTest, StraightnessChartFollowsTheSwitch) {
    start();
    TMainForm* f = form();
    Control<QPushButton>(f, "BitBtnProstolinowosc")->click();
    ASSERT_EQ(f->NotebookMainForm->currentIndex(), 3);
    const QString date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    ASSERT_EQ(chartTitle("wykres"), BuiltInMessage("stPomiarProsto") + " - " + date);
    chooseFromMenu("EN1");
    EXPECT_EQ(chartTitle("wykres"), TranslateString("stPomiarProsto", QString()) + " - " + date);
    EXPECT_NE(TranslateString("stPomiarProsto", QString()), BuiltInMessage("stPomiarProsto"));
    EXPECT_EQ(f->windowTitle(), f->ModeCaptions[kModeStraightness]);
}

// The target points editor in English names its distance field in English.
TEST_F(LanguageSwitchTest, PointsEditorNamesItsFieldsInTheLanguage) {
    start();
    chooseFromMenu("EN1");
    TFPunktyPoz positioning;
    positioning.Prepare(TPunkt(), 0.0, 1, 0, 0, dir.path());
    EXPECT_EQ(Control<QLabel>(&positioning, "Label6")->text(), "D&istance");
    TFPunktyPoz angular;
    angular.Prepare(TPunkt(), 0.0, 0, 0, 0, dir.path());
    EXPECT_EQ(Control<QLabel>(&angular, "Label6")->text(), "&Angle");
    positioning.show();
    saveShot(&positioning, "language_punktypoz_en.png");
}

// English chosen on a Polish system writes its figures with a point everywhere, the readouts,
// the fields and the chart labels alike; the system's language goes back to the comma.
TEST_F(LanguageSwitchTest, OneDecimalSeparatorPerLanguage) {
    start();
    TMainForm* f = form();
    auto* startPoint = Control<TRealSpinEdit>(f, "PunktStartowy");
    auto* readout = Control<TDisplay>(f, "DisplayWys");
    auto* chart = Control<platform::TChart>(f, "wykres");
    ASSERT_EQ(foundations::systemDecimalSeparator(), u',');
    EXPECT_EQ(readout->DecSep(), u',');
    EXPECT_TRUE(startPoint->text().contains(u',')) << startPoint->text().toStdString();
    EXPECT_EQ(chart->BottomAxis().LabelText(1.5, 0.5), "1,5");

    chooseFromMenu("EN1");
    EXPECT_EQ(foundations::systemDecimalSeparator(), u'.');
    EXPECT_EQ(readout->DecSep(), u'.');
    EXPECT_TRUE(startPoint->text().contains(u'.')) << startPoint->text().toStdString();
    EXPECT_FALSE(startPoint->text().contains(u','));
    EXPECT_EQ(chart->BottomAxis().LabelText(1.5, 0.5), "1.5");
    platform::TChart printout;  // the chart copied for a report writes its figures alike
    printout.Assign(*chart);
    EXPECT_EQ(printout.BottomAxis().LabelText(1.5, 0.5), "1.5");
    QString acceptAfter, reference;
    whenModalShown<TFOpcje>([&](TFOpcje& d) {
        acceptAfter = d.PointTimeEdit->text();
        d.rgTempUnit->SetItemIndex(1);
        reference = d.RSETRef->text();
        d.show();
        d.PageControl1->setCurrentIndex(1);
        saveShot(&d, "language_opcje_pozycjonowanie_en.png");
        d.ButtonAnuluj->click();
    });
    Control<QPushButton>(f, "BitBtnKonfiguracja")->click();
    EXPECT_EQ(acceptAfter, "1.000");
    EXPECT_EQ(reference, "68.0");

    chooseFromMenu("Dflt1");
    EXPECT_EQ(foundations::systemDecimalSeparator(), u',');
    EXPECT_TRUE(startPoint->text().contains(u','));
    EXPECT_EQ(chart->BottomAxis().LabelText(1.5, 0.5), "1,5");
}

// Which system's separator: the system's own with its own language, the chosen language's
// when the user picked another one.
TEST_F(LanguageSwitchTest, SeparatorOfTheSystemOrOfTheChosenLanguage) {
    QFile::copy(dir.filePath("Vkm30.EN"), dir.filePath("Vkm30.DEU"));
    const struct {
        QLocale system;
        const char* choice;
        char16_t separator;
    } rows[] = {
        {QLocale(QLocale::Polish, QLocale::Poland), "", u','},
        {QLocale(QLocale::Polish, QLocale::Poland), "EN", u'.'},
        {QLocale(QLocale::Polish, QLocale::Poland), "DEU", u','},
        {QLocale(QLocale::English, QLocale::UnitedStates), "", u'.'},
        {QLocale(QLocale::English, QLocale::UnitedStates), "EN", u'.'},
        {QLocale(QLocale::English, QLocale::UnitedStates), "DEU", u','},
        {QLocale(QLocale::German, QLocale::Switzerland), "DEU", u'.'},  // the system's own German
        {QLocale(QLocale::German, QLocale::Germany), "", u','},         // English by default: the system's
        {QLocale(QLocale::English, QLocale::UnitedStates), "ITA", u'.'},  // no such file: the system's
    };
    for (const auto& r : rows) {
        foundations::setSystemLocaleOverride(r.system);
        StoreLanguageChoice(QString::fromLatin1(r.choice));
        LoadLanguageFile();
        EXPECT_EQ(foundations::systemDecimalSeparator(), QChar(r.separator)) << r.system.name().toStdString() << " " << r.choice;
    }
}

// F1 anywhere on a page opens that page's help; the positioning chart's page serves the mode.
TEST_F(LanguageSwitchTest, F1OpensTheHelpOfThePageShown) {
    start();
    TMainForm* f = form();
    f->show();
    InstallContextHelpKey();
    const struct {
        int page;
        int mode;
        const char* control;
        const char* help;
    } rows[] = {
        {1, kModeNone, "BitBtnpozycjonowanie", "okno_glowne.html"},
        {2, 6, "DisplayWys", "wyswietlacz.html"},
        {3, kModePositioning, "ComboBoxNorma", "pomiar_pozycjonowania.html"},
        {3, kModeStraightness, "wykres", "pomiar_prostoliniowosci.html"},
        {3, kModeFlatness, "wykres", "mapa_plaskosci.html"},
        {4, kModeVelocity, "WykresPredkosci", "pomiar_predkosci.html"},
        {5, kModeAngular, "WykresPK", "podzialy_katowe.html"},
        {8, kModeFlatness, "WykresPlaskosci", "mapa_plaskosci.html"},
        {9, kModeVibration, "WykresFFT", "analiza_drgan.html"},
        {0, kModeNone, "ProgressBar1", "index.html"},
    };
    for (const auto& r : rows) {
        f->MeasurementMode = uint8_t(r.mode);
        f->NotebookMainForm->setCurrentIndex(r.page);
        auto* control = Control<QWidget>(f, r.control);
        ASSERT_NE(control, nullptr);
        QTest::keyClick(control, Qt::Key_F1);
        EXPECT_EQ(TakeHelpPage(), QString::fromLatin1(r.help)) << r.page << " " << r.control;
    }
    f->MeasurementMode = kModeNone;
}

}  // namespace
