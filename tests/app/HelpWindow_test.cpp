// The program's help: the pages beside the program, the help window at a context's page with its
// contents, index, back and forward, every "Pomoc" button at its page, F1, and the message when
// the help files are missing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <functional>
#include <vector>

#include "app/CoRysowac.h"
#include "app/HelpWindow.h"
#include "app/Podstawka.h"
#include "app/PunktyPoz.h"
#include "app/SkalowanieOsi.h"
#include "app/Stol.h"
#include "app/UProstopa.h"
#include "app/Unit_DaneMaszyny.h"
#include "app/opcje.h"
#include "app/dialogs/Unit_Komunikaty.h"
#include "foundations/MessageDlg.h"
#include "platform/AppPaths.h"
#include "platform/HelpFiles.h"
#include "platform/Registry.h"
#include "MainWindowFixture.h"
#include "support/HelpProbe.h"
#include "support/InstrumentSinkDoubles.h"
#include "support/ModalDialog.h"

using testsupport::ShownHelpPage;
using testsupport::TakeHelpPage;

namespace {

// The pages as the build ships them; message boxes recorded; the settings in a file of the
// test's own (some dialogs keep their last values there).
class HelpTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setAppRegistryFile(dir.filePath("settings.ini"));
        // The built-in texts, whatever the machine's language.
        platform::appRegistry().writeString(kLanguageChoiceKey, kLanguageChoiceValue, QStringLiteral("PLK"));
        setMessageDlgHook([this](const MessageDlgRequest& r) {
            messages.push_back(r.text);
            return int(mrOk);
        });
    }
    void TearDown() override {
        CloseHelpWindow();
        platform::setHelpFolder(QString());
        setMessageDlgHook({});
        platform::setAppRegistryFile(QTemporaryDir().filePath("unused.ini"));
    }
    static HelpWindow& window() {
        HelpWindow* w = OpenHelpWindow();
        EXPECT_NE(w, nullptr);
        return *w;
    }
    QTemporaryDir dir;
    std::vector<QString> messages;
};

QStringList shippedPages() {
    return QDir(platform::helpFolder()).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

// The targets of the links of a page (file part only; in-page anchors and mail or web links left out).
QStringList linksOf(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QString text = QString::fromUtf8(f.readAll());
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    QStringList out;
    for (auto it = href.globalMatch(text); it.hasNext();) {
        QString target = it.next().captured(1);
        if (target.startsWith(u'#') || target.contains(u':')) continue;
        out << target.section(u'#', 0, 0);
    }
    return out;
}

TEST_F(HelpTest, EveryContextHasItsPageAndEveryLinkOfEveryPageResolves) {
    const QStringList pages = shippedPages();
    ASSERT_FALSE(pages.isEmpty()) << platform::helpFolder().toStdString();
    for (const platform::HelpTopic& t : platform::HelpTopics())
        EXPECT_TRUE(pages.contains(QString::fromLatin1(t.page))) << t.context << " " << t.page;
    EXPECT_TRUE(pages.contains(QString::fromLatin1(platform::kHelpIndexPage)));

    // Every link points at a shipped page, and every page can be reached from the contents.
    QSet<QString> reached{QString::fromLatin1(platform::kHelpContentsPage)};
    std::vector<QString> todo{QString::fromLatin1(platform::kHelpContentsPage)};
    for (const QString& page : pages)
        for (const QString& target : linksOf(QDir(platform::helpFolder()).filePath(page)))
            EXPECT_TRUE(pages.contains(target)) << page.toStdString() << " -> " << target.toStdString();
    while (!todo.empty()) {
        const QString page = todo.back();
        todo.pop_back();
        for (const QString& target : linksOf(QDir(platform::helpFolder()).filePath(page)))
            if (!reached.contains(target) && pages.contains(target)) {
                reached.insert(target);
                todo.push_back(target);
            }
    }
    for (const QString& page : pages) EXPECT_TRUE(reached.contains(page)) << page.toStdString() << " is an orphan";
}

TEST_F(HelpTest, OpensTheContextsPage) {
    const struct {
        int context;
        const char* page;
    } rows[] = {
        {0, "index.html"},           {113, "konfiguracja.html"}, {118, "punkty_pozycjonowania.html"},
        {123, "rejestracja.html"},   {126, "justowanie.html"},   {133, "kalibracja_meteo.html"},
        {4711, "index.html"},  // a context without a page of its own: the contents
    };
    for (const auto& r : rows) {
        ShowHelpContext(r.context);
        EXPECT_EQ(ShownHelpPage(), QString::fromLatin1(r.page)) << r.context;
        EXPECT_FALSE(window().HelpBrowser->documentTitle().isEmpty()) << r.context;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(HelpTest, BackForwardContentsAndIndex) {
    ShowHelpContext(113);
    HelpWindow& w = window();
    EXPECT_FALSE(w.ButtonWstecz->isEnabled());
    // A link followed inside the page, as a click resolves it.
    w.HelpBrowser->setSource(w.HelpBrowser->source().resolved(QUrl(QStringLiteral("konfiguracja_pozycjonowanie.html"))));
    EXPECT_EQ(ShownHelpPage(), "konfiguracja_pozycjonowanie.html");
    ShowHelpContext(125);
    EXPECT_EQ(ShownHelpPage(), "wybor_osi.html");

    w.ButtonWstecz->click();
    EXPECT_EQ(ShownHelpPage(), "konfiguracja_pozycjonowanie.html");
    w.ButtonWstecz->click();
    EXPECT_EQ(ShownHelpPage(), "konfiguracja.html");
    EXPECT_FALSE(w.ButtonWstecz->isEnabled());
    EXPECT_TRUE(w.ButtonDalej->isEnabled());
    w.ButtonDalej->click();
    w.ButtonDalej->click();
    EXPECT_EQ(ShownHelpPage(), "wybor_osi.html");
    EXPECT_FALSE(w.ButtonDalej->isEnabled());

    w.ButtonSpisTresci->click();
    EXPECT_EQ(ShownHelpPage(), "index.html");
    w.ButtonIndeks->click();
    EXPECT_EQ(ShownHelpPage(), "skorowidz.html");
    w.ButtonWstecz->click();
    EXPECT_EQ(ShownHelpPage(), "index.html");

    // Closing only hides it: opened again it keeps its history.
    w.ButtonZamknij->click();
    EXPECT_EQ(ShownHelpPage(), "");
    ShowHelpContext(122);
    EXPECT_EQ(OpenHelpWindow(), &w);
    EXPECT_EQ(ShownHelpPage(), "dlugosc_podstawki.html");
    EXPECT_TRUE(w.ButtonWstecz->isEnabled());
}

TEST_F(HelpTest, MissingHelpFilesSaySoAndOpenNoWindow) {
    QTemporaryDir empty;
    platform::setHelpFolder(empty.path());
    ShowHelpContext(113);
    ShowHelpContents();
    EXPECT_EQ(OpenHelpWindow(), nullptr);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], QString::fromUtf8("Pomoc nie jest dostępna."));

    // Only the context's page missing: the contents stand in for it.
    QFile::copy(QDir(QCoreApplication::applicationDirPath()).filePath("help/index.html"), empty.filePath("index.html"));
    ShowHelpContext(113);
    EXPECT_EQ(ShownHelpPage(), "index.html");
    EXPECT_EQ(messages.size(), 2u);
}

TEST_F(HelpTest, EveryDialogsPomocButtonOpensItsPage) {
    testsupport::PortSearchThreadsDouble searches;
    const struct {
        const char* page;
        const char* button;
        std::function<QWidget*()> make;
    } rows[] = {
        {"konfiguracja.html", "ButtonPomoc", [&searches] { return new TFOpcje(searches); }},
        {"punkty_pozycjonowania.html", "BitBtnPomoc", [] { return new TFPunktyPoz; }},
        {"parametry_wykresu.html", "ButtonPomoc", [] { return new TFCoRysowac; }},
        {"dane_maszyny.html", "ButtonPomoc", [] { return new TFormDaneMaszyny; }},
        {"dlugosc_podstawki.html", "BitBtnPomoc", [] { return new TFPodstawka; }},
        {"skalowanie_osi.html", "BitBtnPomoc", [] { return new TFSkalowanieOsi; }},
        {"wybor_osi.html", "BitBtnPomoc", [] { return new TWyborOsi; }},
        {"prostopadlosc.html", "BitBtnPomoc", [] { return new TFProstopa; }},
    };
    for (const auto& r : rows) {
        std::unique_ptr<QWidget> dialog(r.make());
        auto* pomoc = dialog->findChild<QPushButton*>(QString::fromLatin1(r.button));
        ASSERT_NE(pomoc, nullptr) << r.page;
        pomoc->click();
        EXPECT_EQ(TakeHelpPage(), QString::fromLatin1(r.page)) << dialog->objectName().toStdString();
        // F1 anywhere in the dialog opens the same page.
        dialog->show();
        InstallContextHelpKey();
        QTest::keyClick(pomoc, Qt::Key_F1);
        EXPECT_EQ(TakeHelpPage(), QString::fromLatin1(r.page)) << "F1 in " << dialog->objectName().toStdString();
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(HelpTest, F1OnAConfigurationPageOpensThatPagesHelp) {
    InstallContextHelpKey();
    testsupport::PortSearchThreadsDouble searches;
    TFOpcje dialog(searches);
    dialog.show();
    const struct {
        const char* control;
        const char* page;
    } rows[] = {
        {"RadioGroupCom", "konfiguracja.html"},
        {"SpinEditDopBlad", "konfiguracja_pozycjonowanie.html"},
        {"RadioGroupMetoda", "konfiguracja_predkosc_prostoliniowosc.html"},
        {"SEDopDladPK", "konfiguracja_mapa_podzialy.html"},
        {"RSETRef", "konfiguracja_fft_meteo.html"},
    };
    for (const auto& r : rows) {
        auto* control = dialog.findChild<QWidget*>(QString::fromLatin1(r.control));
        ASSERT_NE(control, nullptr) << r.control;
        QTest::keyClick(control, Qt::Key_F1);
        EXPECT_EQ(TakeHelpPage(), QString::fromLatin1(r.page)) << r.control;
    }
}

TEST_F(HelpTest, HelpFromAModalDialogTakesTheInput) {
    // Opened from a dialog shown modally, the help window must not be blocked by that dialog.
    QString page;
    bool helpIsTopModal = false;
    testsupport::whenModalShown<TFPodstawka>([&](TFPodstawka& d) {
        d.BitBtnPomoc->click();
        page = ShownHelpPage();
        helpIsTopModal = QApplication::activeModalWidget() == OpenHelpWindow();
        CloseHelpWindow();
        d.BitBtn2->click();
    });
    EXPECT_DOUBLE_EQ(AskBaseLength(0, 150.0), 150.0);
    EXPECT_EQ(page, "dlugosc_podstawki.html");
    EXPECT_TRUE(helpIsTopModal);
}

TEST_F(HelpTest, F1InAMessageBoxOpensItsContext) {
    InstallContextHelpKey();
    setMessageDlgHook({});  // the real box, answered below
    QString page;
    testsupport::whenModalShown<QMessageBox>([&](QMessageBox& box) {
        QTest::keyClick(&box, Qt::Key_F1);
        page = TakeHelpPage();
        box.buttons().first()->click();
    });
    MessageDlg(QStringLiteral("Brak pliku"), TMsgDlgType::mtError, mbOK, 133);
    EXPECT_EQ(page, "kalibracja_meteo.html");
}

// In the main window: the help menu's contents, the set-up picture's help on alignment and F1 on
// the material choice.
class HelpInMainWindowTest : public MainWindowTest {
protected:
    void TearDown() override {
        CloseHelpWindow();
        MainWindowTest::TearDown();
    }
};

TEST_F(HelpInMainWindowTest, MenuPictureAndMaterialOpenTheirPages) {
    start();
    form()->MenuCommand("Spistreciiindex1")->trigger();
    EXPECT_EQ(TakeHelpPage(), "index.html");

    QTest::mouseClick(Control<QLabel>(form(), "FotoPomiaru"), Qt::LeftButton);
    EXPECT_EQ(TakeHelpPage(), "justowanie.html");

    auto* material = Control<QComboBox>(form(), "ComboBox1");
    QTest::keyClick(material, Qt::Key_F1);
    EXPECT_EQ(TakeHelpPage(), "material.html");

    // The link status window's context: alignment and the signal faults.
    ASSERT_NE(Komunikaty, nullptr);
    QTest::keyClick(Control<QPushButton>(Komunikaty, "Button1"), Qt::Key_F1);
    EXPECT_EQ(TakeHelpPage(), "justowanie.html");
}

// Every table of every page reads across at the window's size: no cell is squeezed so narrow
// that its text runs down the page a few letters a line.
TEST_F(HelpTest, EveryTableOfEveryPageReadsAcross) {
    ShowHelpContext(0);
    HelpWindow& w = window();
    w.show();
    for (const QString& page : shippedPages()) {
        w.HelpBrowser->setSource(QUrl::fromLocalFile(QDir(platform::helpFolder()).filePath(page)));
        QCoreApplication::processEvents();
        QTextDocument* doc = w.HelpBrowser->document();
        doc->setTextWidth(w.HelpBrowser->viewport()->width());
        doc->documentLayout()->documentSize();  // laid out at that width
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
            if (!QTextCursor(b).currentTable() || !b.layout()) continue;
            const int chars = int(b.text().simplified().size());
            const int lines = b.layout()->lineCount();
            EXPECT_LE(lines, std::max(1, chars / 12))
                << page.toStdString() << ": \"" << b.text().left(40).toStdString() << "\" in " << lines << " lines";
        }
    }
}

// The help window as the inspector sees it; saved as a PNG when VKM30_SCREENSHOTS names a folder.
TEST_F(HelpTest, Screenshot) {
    ShowHelpContext(0);
    HelpWindow& w = window();
    w.HelpBrowser->setSource(w.HelpBrowser->source().resolved(QUrl(QStringLiteral("pomiar_pozycjonowania.html"))));
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("Pomoc VKM30 - Pozycjonowanie osi liniowej"));
    if (qEnvironmentVariableIsEmpty("VKM30_SCREENSHOTS")) return;
    QCoreApplication::processEvents();
    w.grab().save(QDir(qEnvironmentVariable("VKM30_SCREENSHOTS")).filePath("HelpWindow.png"));
}

}  // namespace
