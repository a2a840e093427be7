// The menu commands that open the program's dialogs, on the real window: each reaches its
// dialog, and the ones that write or read data do so.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>

#include "MainWindowFixture.h"
#include "app/DialogParts.h"
#include "app/Podstawka.h"
#include "app/PunktyPoz.h"
#include "app/WybFormat.h"
#include "foundations/MeasurementModes.h"
#include "foundations/RealSpinEdit.h"
#include "support/HelpProbe.h"
#include "support/ModalDialog.h"

namespace {

class MenuCommandsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
    }
    void TearDown() override {
        setFileDialogHook({});
        MainWindowTest::TearDown();
    }
    // A positioning run of two cycles over 0, 100 .. 500 mm.
    void fillRun() {
        TMainForm& f = *form();
        f.PositioningCycles->Clear();
        for (int c = 0; c < 2; ++c) {
            TPunkt& p = f.PositioningCycles->Add().Punkt;
            for (int i = 0; i < 6; ++i) {
                TPunktItem& it = p.Add();
                it.Dystans = 100.0 * i;
                it.Xa = 1.0 * i + c;
                it.Xr = 0.5 * i - c;
            }
        }
    }
    // The class of the modal dialog a command shows (closed at once), or "" for none.
    QString dialogOf(QAction* a) {
        QString shown;
        whenModalShown<QDialog>([&](QDialog& d) {
            shown = QString::fromLatin1(d.metaObject()->className());
            d.reject();
        });
        a->setEnabled(true);  // as the page that offers it would have it
        a->trigger();
        QCoreApplication::processEvents();
        return shown;
    }
    template <class D>
    static void whenModalShown(std::function<void(D&)> drive) {
        testsupport::whenModalShown<D>(std::move(drive));
    }
};

TEST_F(MenuCommandsTest, EachDialogCommandOpensItsDialog) {
    start();
    TMainForm& f = *form();
    fillRun();
    f.MeasurementMode = kModePositioning;
    const struct {
        QAction* command;
        const char* dialog;
    } cases[] = {
        {f.MenuCommand("TabelaKompensacji1"), "TFWybFormat"},
        {f.Generujtras1, "TForm_Gcodes"},
        {f.MenuCommand("Widok3D1"), "TFKorCos"},
        {f.Dopuszczalnebdy1, "TFBDMaszyny"},
        {f.MenuCommand("Dlugoscpodstawki"), "TFPodstawka"},
        {f.MenuCommand("Oprogramie1"), "Tinformacje"},
        {f.OY1, "TFSkalowanieOsi"},
        {f.Skalaosiprdkoci1, "TFSkalowanieOsi"},
        {f.Skalaosiczasu1, "TFSkalowanieOsi"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dialog);
        ASSERT_NE(c.command, nullptr);
        EXPECT_EQ(dialogOf(c.command), QString::fromLatin1(c.dialog));
    }
    // The new commands sit in their menus.
    EXPECT_EQ(f.MenuCommand("Generujtras1"), f.Generujtras1);
    EXPECT_EQ(f.MenuCommand("Dopuszczalnebdy1"), f.Dopuszczalnebdy1);
    EXPECT_TRUE(f.PopupMenuWykres->actions().contains(f.OY1));
    EXPECT_TRUE(f.PopupMenuPK->actions().contains(f.OY1));

    f.MenuCommand("Spistreciiindex1")->trigger();
    EXPECT_EQ(testsupport::TakeHelpPage(), "index.html");
}

TEST_F(MenuCommandsTest, CompensationTableIsWrittenInTheChosenFormat) {
    start();
    TMainForm& f = *form();
    fillRun();
    QAction* command = f.MenuCommand("TabelaKompensacji1");
    command->setEnabled(true);
    const QString file = dir.filePath("axis.txt");
    bool asked = false;
    setFileDialogHook([&](const FileDialogSettings& s, bool save) -> std::optional<QString> {
        asked = true;
        EXPECT_TRUE(save);
        EXPECT_EQ(s.DefaultExt, ".txt");
        return file;
    });

    // Cancelled: nothing is asked or written.
    whenModalShown<TFWybFormat>([](TFWybFormat& d) { d.reject(); });
    command->trigger();
    EXPECT_FALSE(asked);
    EXPECT_FALSE(QFile::exists(file));

    whenModalShown<TFWybFormat>([](TFWybFormat& d) {
        d.CBFormat->setCurrentIndex(3);  // HP
        d.accept();
    });
    command->trigger();
    EXPECT_TRUE(asked);
    EXPECT_EQ(f.CompTableChoice.Format, 3);
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray text = written.readAll();
    EXPECT_GT(text.count("\r\n"), 6) << text.constData();  // a line per target at least
}

TEST_F(MenuCommandsTest, ImportReadsAPositioningTextFileIntoTheReview) {
    start();
    TMainForm& f = *form();
    Control<QPushButton>(&f, "BitBtnpozycjonowanie")->click();
    ASSERT_EQ(f.MeasurementMode, kModePositioning);
    const QString file = dir.filePath("run.dta");
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("Tokarka\r\nseria 7\r\nY\r\n12\r\n20.36 19.94\r\n/ 1.5 -1.5\r\n/2 -2\r\n$3 -3\r\n/4 -4\r\n/5 -5\r\n#6 -6\r\n");
    }
    setFileDialogHook([&](const FileDialogSettings& s, bool save) -> std::optional<QString> {
        EXPECT_FALSE(save);
        EXPECT_TRUE(s.Filter.contains(".dta")) << s.Filter.toStdString();
        return file;
    });
    // Unsaved data: the import asks first; No lets it go on.
    DataSaved = false;
    int asked = 0;
    setMessageDlgHook([&](const MessageDlgRequest&) {
        ++asked;
        return int(mrNo);
    });
    f.MenuCommand("ImportDanych")->setEnabled(true);
    f.MenuCommand("ImportDanych")->trigger();
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(f.PositioningCycles->Count(), 2);
    EXPECT_EQ((*f.PositioningCycles)[0].Punkt.Count(), 3);
    EXPECT_EQ(f.MeasurementHeader().Axis, "Y");
    EXPECT_TRUE(DataSaved);
    EXPECT_EQ(Control<QStackedWidget>(&f, "NotebookButton")->currentIndex(), 1);  // the review
    EXPECT_TRUE(f.MenuCommand("TabelaPomiarow")->isEnabled());
    EXPECT_TRUE(f.MenuCommand("TabelaKompensacji1")->isEnabled());
}

TEST_F(MenuCommandsTest, BaseLengthCommandStoresTheAnswer) {
    start();
    TMainForm& f = *form();
    LengthUnit = 0;
    f.BaseLength = 100.0;
    whenModalShown<TFPodstawka>([](TFPodstawka& d) {
        d.SpinEdit1->SetValue(150.0);
        d.BitBtn1Click();
    });
    f.MenuCommand("Dlugoscpodstawki")->setEnabled(true);
    f.MenuCommand("Dlugoscpodstawki")->trigger();
    EXPECT_DOUBLE_EQ(f.BaseLength, 150.0);
}

}  // namespace
