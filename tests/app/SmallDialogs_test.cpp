// The small modal dialogs through their entry routines, answered as an inspector would; each
// window is saved as a picture when VKM30_SCREENSHOTS names a folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <vector>

#include "app/DialogParts.h"
#include "app/InfoForm.h"
#include "app/Informacje.h"
#include "app/LinearyzujWykres.h"
#include "app/Podstawka.h"
#include "app/SkalowanieOsi.h"
#include "app/WyborKatalogu.h"
#include "app/ZrWsDlg.h"
#include "foundations/LocaleTable.h"
#include "foundations/MessageDlg.h"
#include "foundations/RealSpinEdit.h"
#include "platform/Chart.h"
#include "platform/ChartSeries.h"
#include "support/HelpProbe.h"
#include "support/ModalDialog.h"

using testsupport::whenModalShown;

namespace {

void screenshot(QWidget& w, const char* name) {
    if (qEnvironmentVariableIsEmpty("VKM30_SCREENSHOTS")) return;
    w.grab().save(QDir(qEnvironmentVariable("VKM30_SCREENSHOTS")).filePath(QString::fromLatin1(name) + ".png"));
}

// Polish number display and the boxes recorded instead of shown (each test turns the hook off
// where it wants the real form).
class SmallDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        foundations::setSystemLocaleOverride(QLocale(QLocale::Polish, QLocale::Poland));
        setMessageDlgHook([this](const MessageDlgRequest& r) {
            messages.push_back(r);
            return hookAnswer;
        });
    }
    void TearDown() override {
        setMessageDlgHook({});
        CloseHelpWindow();
        foundations::setSystemLocaleOverride(std::nullopt);
    }
    std::vector<MessageDlgRequest> messages;
    QString helpPage;  // the page a dialog's "Pomoc" opened
    int hookAnswer = mrOk;
};

}  // namespace

TEST_F(SmallDialogsTest, InsertSourceAnswersMeasurementFileOrCancel) {
    struct {
        const char* what;
        std::function<void(TZrWsDlg&)> answer;
        int result;
    } cases[] = {
        {"Pomiar", [](TZrWsDlg& d) { d.OKBtn->click(); }, 1},
        {"Plik", [](TZrWsDlg& d) { d.PlikBtn->click(); }, 7},
        {"Anuluj", [](TZrWsDlg& d) { d.CancelBtn->click(); }, 2},
        {"Escape", [](TZrWsDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); }, 2},
        {"Enter: the default button", [](TZrWsDlg& d) { QTest::keyClick(d.OKBtn, Qt::Key_Return); }, 1},
    };
    for (const auto& c : cases) {
        whenModalShown<TZrWsDlg>([&c](TZrWsDlg& d) {
            EXPECT_EQ(d.objectName(), "ZrWsDlg");
            EXPECT_EQ(d.windowTitle(), "Vkm30");
            EXPECT_EQ(d.Label1->text(), QString::fromUtf8("Podaj źródło wstawienia."));
            EXPECT_EQ(d.OKBtn->text(), "&Pomiar");
            EXPECT_EQ(d.PlikBtn->text(), "Pli&k");
            EXPECT_EQ(d.CancelBtn->text(), "Anuluj");
            EXPECT_TRUE(d.OKBtn->isDefault());
            screenshot(d, "ZrWsDlg");
            c.answer(d);
        });
        EXPECT_EQ(TZrWsDlg::Execute(), c.result) << c.what;
    }
}

TEST_F(SmallDialogsTest, LargeErrorWarningShowsItsTwoLines) {
    const QString advice = QString::fromUtf8("Zalecane sprawdzenie pomiaru w modzie \"Pomiar/Punkty z listy\".");
    ShowLargeErrorWarning();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, QString::fromUtf8("Błąd"));
    EXPECT_EQ(messages[0].text, QString::fromUtf8("DUŻY BŁĄD MASZYNY\n") + advice);
    EXPECT_EQ(messages[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(messages[0].buttons, unsigned(mbOK));

    setMessageDlgHook({});
    bool shown = false;
    whenModalShown<TFormLinearyzujWykres>([&](TFormLinearyzujWykres& d) {
        shown = true;
        EXPECT_EQ(d.objectName(), "FormLinearyzujWykres");
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Błąd"));
        EXPECT_EQ(d.Label1->text(), QString::fromUtf8("DUŻY BŁĄD MASZYNY"));
        EXPECT_EQ(d.Label2->text(), advice);
        EXPECT_EQ(d.Button1->text(), "Ok");
        screenshot(d, "FormLinearyzujWykres");
        d.Button1->click();
    });
    ShowLargeErrorWarning();
    EXPECT_TRUE(shown);
}

TEST_F(SmallDialogsTest, InfoFormReturnsYesNoOrCancel) {
    setMessageDlgHook({});
    struct {
        std::function<void(TInfoForm&)> answer;
        int result;
    } cases[] = {
        {[](TInfoForm& d) { d.BitBtn1->click(); }, mrYes},
        {[](TInfoForm& d) { d.BitBtn2->click(); }, mrNo},
        {[](TInfoForm& d) { d.BitBtn3->click(); }, mrCancel},
        {[](TInfoForm& d) { QTest::keyClick(&d, Qt::Key_Escape); }, mrCancel},
        {[](TInfoForm& d) { d.close(); }, mrCancel},
    };
    for (const auto& c : cases) {
        whenModalShown<TInfoForm>([&c](TInfoForm& d) {
            EXPECT_EQ(d.objectName(), "InfoForm");
            EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Ostrzeżenie"));
            EXPECT_EQ(d.Label1->text(), "Nie zachowane pozycjonowanie");
            EXPECT_EQ(d.Label2->text(), QString::fromUtf8("Zachować?"));
            EXPECT_EQ(d.BitBtn1->text(), "&Tak");
            EXPECT_EQ(d.BitBtn2->text(), "&Nie");
            EXPECT_EQ(d.BitBtn3->text(), "Anuluj");
            EXPECT_FALSE(d.Image1->pixmap().isNull());
            screenshot(d, "InfoForm");
            c.answer(d);
        });
        EXPECT_EQ(ShowInfoForm("Nie zachowane pozycjonowanie", QString::fromUtf8("Zachować?"),
                               QString::fromUtf8("Ostrzeżenie")),
                  c.result);
    }
}

// Tests that answer the message boxes answer the information form the same way.
TEST_F(SmallDialogsTest, InfoFormGoesToTheMessageHookWhenOneIsSet) {
    for (auto [answer, result] : std::vector<std::pair<int, int>>{{mrYes, 6}, {mrNo, 7}, {mrCancel, 2}, {mrOk, 2}}) {
        messages.clear();
        hookAnswer = answer;
        EXPECT_EQ(ShowInfoForm("Pierwsza", "Druga", "Tytul"), result) << answer;
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].caption, "Tytul");
        EXPECT_EQ(messages[0].text, "Pierwsza\nDruga");
        EXPECT_EQ(messages[0].buttons, unsigned(mbYes | mbNo | mbCancel));
    }
}

TEST(BaseLength, UnitConversionAndRefusedValues) {
    foundations::setSystemLocaleOverride(QLocale(QLocale::Polish, QLocale::Poland));
    EXPECT_DOUBLE_EQ(BaseLengthShown(0, 100.0), 100.0);
    EXPECT_NEAR(BaseLengthShown(1, 100.0), 3.937007874, 1e-9);
    EXPECT_DOUBLE_EQ(BaseLengthFromShown(1, 4.0), 101.6);
    struct {
        int unit;
        const char* typed;
        bool refused;
    } cases[] = {
        {0, "100", false},   {0, "0,5", false},  {0, "100000", false}, {0, "100000,1", true}, {0, "0", true},
        {0, "-5", true},     {0, "", true},      {0, "abc", true},     {0, "1e400", true},    {1, "4.000", false},
        {1, "3937", false},  {1, "3938", true},  {1, "0", true},
    };
    for (const auto& c : cases) {
        const auto error = BaseLengthError(c.unit, QString::fromLatin1(c.typed));
        EXPECT_EQ(error.has_value(), c.refused) << c.unit << " " << c.typed;
    }
    EXPECT_EQ(*BaseLengthError(0, "0"),
              QString::fromUtf8("Długość podstawki musi być liczbą większą od zera i nie większą niż 100000 mm."));
    EXPECT_EQ(*BaseLengthError(1, "0"),
              QString::fromUtf8("Długość podstawki musi być liczbą większą od zera i nie większą niż 3937,008 in."));
    foundations::setSystemLocaleOverride(std::nullopt);
}

TEST_F(SmallDialogsTest, BaseLengthInMillimetresAndInches) {
    // Millimetres: no decimals; a typed length comes back on OK.
    whenModalShown<TFPodstawka>([this](TFPodstawka& d) {
        EXPECT_EQ(d.objectName(), "FPodstawka");
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Długość podstawki"));
        EXPECT_EQ(d.Label2->text(), "[mm]");
        EXPECT_EQ(d.SpinEdit1->text(), "150");
        screenshot(d, "FPodstawka");
        d.BitBtnPomoc->click();
        helpPage = testsupport::TakeHelpPage();
        d.SpinEdit1->setText("250");
        d.BitBtn1->click();
    });
    EXPECT_DOUBLE_EQ(AskBaseLength(0, 150.0), 250.0);
    EXPECT_EQ(helpPage, "dlugosc_podstawki.html");

    // Inches: 100 mm shows 3,937; 4,000 confirmed is 101.6 mm.
    whenModalShown<TFPodstawka>([](TFPodstawka& d) {
        EXPECT_EQ(d.Label2->text(), "[in]");
        EXPECT_EQ(d.SpinEdit1->text(), "3,937");
        d.SpinEdit1->setText("4,000");
        d.BitBtn1->click();
    });
    EXPECT_DOUBLE_EQ(AskBaseLength(1, 100.0), 101.6);

    // Cancel and Escape give the length back unchanged; Enter in the field is OK.
    whenModalShown<TFPodstawka>([](TFPodstawka& d) {
        d.SpinEdit1->setText("999");
        d.BitBtn2->click();
    });
    EXPECT_DOUBLE_EQ(AskBaseLength(0, 150.0), 150.0);
    whenModalShown<TFPodstawka>([](TFPodstawka& d) {
        d.SpinEdit1->setText("999");
        QTest::keyClick(d.SpinEdit1, Qt::Key_Escape);
    });
    EXPECT_DOUBLE_EQ(AskBaseLength(0, 150.0), 150.0);
    whenModalShown<TFPodstawka>([](TFPodstawka& d) {
        d.SpinEdit1->setText("120");
        QTest::keyClick(d.SpinEdit1, Qt::Key_Return);
    });
    EXPECT_DOUBLE_EQ(AskBaseLength(0, 150.0), 120.0);
    EXPECT_TRUE(messages.empty());
}

TEST_F(SmallDialogsTest, BaseLengthRefusesABadValueAndStaysOpen) {
    whenModalShown<TFPodstawka>([this](TFPodstawka& d) {
        d.SpinEdit1->setText("0");
        d.BitBtn1->click();
        EXPECT_TRUE(d.isVisible());
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].type, TMsgDlgType::mtError);
        EXPECT_EQ(messages[0].text, *BaseLengthError(0, "0"));
        d.SpinEdit1->setText("xyz");
        QTest::keyClick(d.SpinEdit1, Qt::Key_Return);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(messages.size(), 2u);
        d.SpinEdit1->setText("75");
        d.BitBtn1->click();
    });
    EXPECT_DOUBLE_EQ(AskBaseLength(0, 150.0), 75.0);
}

TEST(AxisScale, ChoiceOfAnAxisAndItsCheck) {
    platform::TChart chart;
    platform::TChartAxis& axis = chart.LeftAxis();
    axis.SetMinMax(-2.5, 3.5);
    axis.SetAutomaticMaximum(true);
    EXPECT_EQ(AxisScaleOf(axis), (AxisScaleChoice{false, true, false, 4, -2}));  // ties to even
    axis.SetMinMax(-1e12, 1e12);
    EXPECT_EQ(AxisScaleOf(axis), (AxisScaleChoice{false, false, false, INT_MAX, INT_MIN}));

    struct {
        AxisScaleChoice c;
        bool refused;
    } cases[] = {
        {{false, false, false, 10, 0}, false},  {{false, false, false, 0, 0}, true},
        {{false, false, false, -5, 5}, true},   {{true, false, false, -5, 5}, false},
        {{false, true, false, -5, 5}, false},   {{false, false, true, -5, 5}, false},
    };
    for (const auto& c : cases) EXPECT_EQ(AxisScaleError(c.c).has_value(), c.refused) << c.c.maximum << c.c.minimum;
    EXPECT_EQ(*AxisScaleError({false, false, false, 0, 0}), QString::fromUtf8("Minimum osi musi być mniejsze od maksimum."));
}

TEST(AxisScale, ApplyingAChoice) {
    platform::TChart chart;
    platform::TChartAxis& axis = chart.LeftAxis();
    axis.SetMinMax(10, 20);
    // Automatic: the ends stay as they were.
    ApplyAxisScale(axis, {true, false, false, 100, 50});
    EXPECT_TRUE(axis.Automatic());
    EXPECT_EQ(axis.Minimum(), 10);
    EXPECT_EQ(axis.Maximum(), 20);
    // Both ends fixed below the current ones: no refusal from the axis on the way.
    ApplyAxisScale(axis, {false, false, false, 5, -3});
    EXPECT_FALSE(axis.Automatic() || axis.AutomaticMaximum() || axis.AutomaticMinimum());
    EXPECT_EQ(axis.Minimum(), -3);
    EXPECT_EQ(axis.Maximum(), 5);
    // A fixed maximum below the current (automatic) minimum, and a fixed minimum above the
    // current maximum.
    axis.SetMinMax(10, 20);
    ApplyAxisScale(axis, {false, false, true, 5, 0});
    EXPECT_EQ(axis.Maximum(), 5);
    EXPECT_TRUE(axis.AutomaticMinimum());
    EXPECT_FALSE(axis.AutomaticMaximum());
    ApplyAxisScale(axis, {false, true, false, 0, 30});
    EXPECT_EQ(axis.Minimum(), 30);
    EXPECT_TRUE(axis.AutomaticMaximum());
    EXPECT_FALSE(axis.AutomaticMinimum());
    // The chart's adjustment then puts the automatic end on the far side of the fixed one.
    chart.AdjustAxes();
    EXPECT_EQ(axis.Minimum(), 30);
    EXPECT_GT(axis.Maximum(), 30);
}

TEST_F(SmallDialogsTest, AxisScaleWindowFollowsItsBoxes) {
    TFSkalowanieOsi d;
    EXPECT_EQ(d.objectName(), "FSkalowanieOsi");
    EXPECT_EQ(d.windowTitle(), "Skalowanie osi");
    d.Load({true, false, false, 7, 3}, "y");
    EXPECT_EQ(d.Os->text(), "y");
    EXPECT_TRUE(d.CheckBoxMax->isChecked() && d.CheckBoxMin->isChecked());
    EXPECT_FALSE(d.CheckBoxMax->isEnabled() || d.CheckBoxMin->isEnabled());
    EXPECT_FALSE(d.SpinMax->isEnabled() || d.SpinMin->isEnabled());
    EXPECT_EQ(d.SpinMax->value(), 7);
    EXPECT_EQ(d.SpinMin->value(), 3);

    d.CheckBoxAll->click();  // cleared: both end boxes enabled and cleared, the fields too
    EXPECT_TRUE(d.CheckBoxMax->isEnabled() && d.CheckBoxMin->isEnabled());
    EXPECT_FALSE(d.CheckBoxMax->isChecked() || d.CheckBoxMin->isChecked());
    EXPECT_TRUE(d.SpinMax->isEnabled() && d.SpinMin->isEnabled());
    d.CheckBoxMax->click();
    EXPECT_FALSE(d.SpinMax->isEnabled());
    EXPECT_TRUE(d.SpinMin->isEnabled());
    EXPECT_EQ(d.Choice(), (AxisScaleChoice{false, true, false, 7, 3}));

    d.Load({false, false, true, 7, 3}, "x");
    EXPECT_FALSE(d.CheckBoxMax->isChecked());
    EXPECT_TRUE(d.CheckBoxMin->isChecked());
    EXPECT_TRUE(d.SpinMax->isEnabled());
    EXPECT_FALSE(d.SpinMin->isEnabled());
}

TEST_F(SmallDialogsTest, EditAxisScaleOkCancelAndARefusedRange) {
    platform::TChart chart;
    platform::TChartAxis& axis = chart.LeftAxis();
    axis.SetMinMax(-4, 9);

    // Cancel changes nothing.
    whenModalShown<TFSkalowanieOsi>([](TFSkalowanieOsi& d) {
        d.CheckBoxAll->setChecked(true);
        d.BitBtn2->click();
    });
    EXPECT_FALSE(EditAxisScale(axis, "y"));
    EXPECT_FALSE(axis.Automatic());

    // A minimum not below the maximum is refused with its message; corrected, it is applied.
    whenModalShown<TFSkalowanieOsi>([this](TFSkalowanieOsi& d) {
        EXPECT_EQ(d.Os->text(), QString::fromUtf8("Prędkości"));
        EXPECT_FALSE(d.CheckBoxAll->isChecked());
        EXPECT_EQ(d.SpinMax->value(), 9);
        EXPECT_EQ(d.SpinMin->value(), -4);
        screenshot(d, "FSkalowanieOsi");
        d.BitBtnPomoc->click();
        helpPage = testsupport::TakeHelpPage();
        d.SpinMin->setValue(9);
        d.BitBtn1->click();
        EXPECT_TRUE(d.isVisible());
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, QString::fromUtf8("Minimum osi musi być mniejsze od maksimum."));
        d.SpinMax->setValue(2);
        d.SpinMin->setValue(-8);
        d.BitBtn1->click();
    });
    EXPECT_TRUE(EditAxisScale(axis, QString::fromUtf8("Prędkości")));
    EXPECT_EQ(axis.Minimum(), -8);
    EXPECT_EQ(axis.Maximum(), 2);
    EXPECT_EQ(helpPage, "skalowanie_osi.html");

    // "Skaluj automatycznie" on OK keeps the ends as they were.
    whenModalShown<TFSkalowanieOsi>([](TFSkalowanieOsi& d) {
        d.CheckBoxAll->click();
        d.SpinMax->setValue(100);
        d.BitBtn1->click();
    });
    EXPECT_TRUE(EditAxisScale(axis, "y"));
    EXPECT_TRUE(axis.Automatic());
    EXPECT_EQ(axis.Minimum(), -8);
    EXPECT_EQ(axis.Maximum(), 2);
}

TEST(ChooseDirectoryRules, StartEndAndTheFolderList) {
    QTemporaryDir tmp;
    const QString base = QDir::cleanPath(tmp.path());
    ASSERT_TRUE(QDir(base).mkpath("b/inner"));
    ASSERT_TRUE(QDir(base).mkpath("A"));
    QFile(base + "/z.dt2").open(QIODevice::WriteOnly);
    QFile(base + "/a.dt2").open(QIODevice::WriteOnly);

    EXPECT_EQ(DirectoryStart(base + "/b/"), base + "/b/");
    EXPECT_EQ(DirectoryStart(base + "/missing"), "/");
    EXPECT_EQ(DirectoryStart(QString()), "/");
    EXPECT_EQ(WithTrailingSeparator(base + "/b"), base + "/b/");
    EXPECT_EQ(WithTrailingSeparator(base + "/b/"), base + "/b/");
    EXPECT_EQ(WithTrailingSeparator("/"), "/");

    const auto entries = DirectoryListEntries(base + "/b/../");
    const int depth = int(base.split('/', Qt::SkipEmptyParts).size());
    ASSERT_EQ(int(entries.size()), depth + 1 + 2);
    EXPECT_EQ(entries[0].path, "/");
    EXPECT_EQ(entries[0].depth, 0);
    EXPECT_EQ(entries[depth].path, base);
    EXPECT_TRUE(entries[depth].open);
    EXPECT_EQ(entries[depth + 1].name, "A");
    EXPECT_EQ(entries[depth + 2].path, base + "/b");
    EXPECT_EQ(entries[depth + 2].depth, depth + 1);
    EXPECT_FALSE(entries[depth + 2].open);
    EXPECT_EQ(DirectoryFiles(base), (QStringList{"a.dt2", "z.dt2"}));
}

TEST_F(SmallDialogsTest, ChooseDirectoryOkAndCancel) {
    QTemporaryDir tmp;
    const QString base = QDir::cleanPath(tmp.path());
    ASSERT_TRUE(QDir(base).mkpath("Pozycjonowanie/stare"));
    QFile(base + "/Pozycjonowanie/run.dt2").open(QIODevice::WriteOnly);

    // A folder that does not exist, cancelled: the root.
    whenModalShown<TFormWyborKatalogu>([](TFormWyborKatalogu& d) {
        EXPECT_EQ(d.Directory(), "/");
        d.BitBtn2->click();
    });
    EXPECT_EQ(ChooseDirectory(base + "/nie-ma"), "/");

    // An existing folder, cancelled: as given.
    whenModalShown<TFormWyborKatalogu>([](TFormWyborKatalogu& d) { d.BitBtn2->click(); });
    EXPECT_EQ(ChooseDirectory(base + "/Pozycjonowanie"), base + "/Pozycjonowanie");

    // Browsing into a subfolder by its line in the folder list, confirmed.
    whenModalShown<TFormWyborKatalogu>([&](TFormWyborKatalogu& d) {
        EXPECT_EQ(d.objectName(), "FormWyborKatalogu");
        EXPECT_EQ(d.windowTitle(), "Wybierz katalog");
        EXPECT_EQ(d.LabelKatalog->text(), base + "/Pozycjonowanie");
        ASSERT_EQ(d.FileListBox1->count(), 1);
        EXPECT_EQ(d.FileListBox1->item(0)->text(), "run.dt2");
        QListWidgetItem* sub = d.DirectoryListBox1->item(d.DirectoryListBox1->count() - 1);
        EXPECT_EQ(sub->text().trimmed(), "stare");
        d.resize(480, 340);
        screenshot(d, "FormWyborKatalogu");
        d.DirectoryListBox1Activated(sub);
        EXPECT_EQ(d.FileListBox1->count(), 0);
        d.BitBtn1->click();
    });
    EXPECT_EQ(ChooseDirectory(base + "/Pozycjonowanie/"), base + "/Pozycjonowanie/stare/");

    // Confirmed on the root: one separator, not two.
    whenModalShown<TFormWyborKatalogu>([](TFormWyborKatalogu& d) {
        d.DirectoryListBox1Activated(d.DirectoryListBox1->item(0));
        EXPECT_EQ(d.Directory(), "/");
        d.BitBtn1->click();
    });
    EXPECT_EQ(ChooseDirectory(base), "/");
}

TEST_F(SmallDialogsTest, AboutBoxOpensTheMakersPageWithTheBusyCursor) {
    Tinformacje::MakerWebPage = QStringLiteral("http://maker.example");
    std::vector<QUrl> opened;
    Qt::CursorShape during = Qt::ArrowCursor;
    Tinformacje::OpenUrl = [&](const QUrl& url) {
        opened.push_back(url);
        if (QApplication::overrideCursor()) during = QApplication::overrideCursor()->shape();
        return true;
    };
    bool shown = false;
    whenModalShown<Tinformacje>([&](Tinformacje& d) {
        shown = true;
        EXPECT_EQ(d.objectName(), "informacje");
        EXPECT_EQ(d.windowTitle(), "O programie");
        EXPECT_EQ(d.ProductName->text(), "VKM 30");
        EXPECT_EQ(d.Version->text(), "Wersja 1.0");
        EXPECT_EQ(d.Comments->text(), "Laserowy system pomiarowy obrabiarek");
        screenshot(d, "informacje");
        EXPECT_FALSE(d.LabelWWW->isHidden());
        emit d.LabelWWW->linkActivated(Tinformacje::MakerWebPage);
        d.OKButton->click();
    });
    ShowAboutBox();
    Tinformacje::OpenUrl = {};
    Tinformacje::MakerWebPage.clear();
    EXPECT_TRUE(shown);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl("http://maker.example"));
    EXPECT_EQ(during, Qt::WaitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // No address known: no link to click.
    Tinformacje plain;
    EXPECT_TRUE(plain.LabelWWW->isHidden());
}
