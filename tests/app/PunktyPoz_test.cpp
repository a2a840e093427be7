#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QTreeView>
#include <QtTest/QTest>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/PunktyPoz.h"
#include "evaluation/PointLists.h"
#include "foundations/FR_Utils.h"
#include "foundations/LocaleTable.h"
#include "foundations/MSpinEdit.h"
#include "foundations/MessageDlg.h"
#include "foundations/RealSpinEdit.h"
#include "platform/AppPaths.h"
#include "platform/Registry.h"
#include "support/ModalDialog.h"

namespace {

const QString kKey = "SOFTWARE\\Brantova\\VKM30";

QByteArray doubleBytes(double v) {
    unsigned char b[8];
    foundations::putDoubleLE(b, v);
    return QByteArray(reinterpret_cast<char*>(b), 8);
}

std::vector<double> values(const TPunkt& p) {
    std::vector<double> v;
    for (int i = 0; i < p.Count(); ++i) v.push_back(p[i].Dystans);
    return v;
}

class PunktyPozTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::vector<MessageDlgRequest> messages;
    int answer = mrOk;
    std::optional<QString> fileAnswer;
    std::vector<FileDialogSettings> dialogs;

    void SetUp() override {
        platform::setProgramDirectory(dir.path());  // no language files: the built-in texts
        platform::setAppRegistryFile(dir.filePath("settings.ini"));
        CloseLanguageFile();
        foundations::setSystemLocaleOverride(QLocale(QLocale::Polish, QLocale::Poland));
        setMessageDlgHook([this](const MessageDlgRequest& r) {
            messages.push_back(r);
            return answer;
        });
        setFileDialogHook([this](const FileDialogSettings& s, bool) {
            dialogs.push_back(s);
            return fileAnswer;
        });
    }
    void TearDown() override {
        setMessageDlgHook({});
        setFileDialogHook({});
        foundations::setSystemLocaleOverride(std::nullopt);
        CloseLanguageFile();
        platform::setProgramDirectory(QString());
        platform::setAppRegistryFile(QTemporaryDir().filePath("unused.ini"));
    }
    template <class T>
    static T* child(QWidget* f, const char* name) {
        T* w = f->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static QString cell(TFPunktyPoz& f, int row, int col) {
        auto* it = child<QTableWidget>(&f, "PunktyGrid")->item(row, col);
        return it ? it->text() : QString("<none>");
    }
};

}  // namespace

TEST_F(PunktyPozTest, GeneratesEditsSavesAndReloads) {
    TFPunktyPoz f;
    f.Prepare(TPunkt(), 0.0, 1, 0, 0, dir.path());
    EXPECT_EQ(f.objectName(), "FPunktyPoz");
    EXPECT_EQ(child<QLabel>(&f, "Label2")->text(), "[mm]");
    EXPECT_FALSE(child<QLabel>(&f, "Image1")->isHidden());
    EXPECT_TRUE(child<QLabel>(&f, "Image2")->isHidden());
    EXPECT_EQ(child<TMSpinEdit>(&f, "SpinEditIloscPunktow")->value(), 5);  // nothing remembered yet
    EXPECT_EQ(child<TRealSpinEdit>(&f, "SpinEditDystans")->Value(), 0.0);

    child<TRealSpinEdit>(&f, "StartPointEdit")->SetValue(100);
    child<TRealSpinEdit>(&f, "SpinEditDystans")->SetValue(50);
    child<TRealSpinEdit>(&f, "SpinEditOdstep")->SetValue(10);
    f.ButtonObliczClick();
    EXPECT_EQ(values(f.WorkPoints), (std::vector<double>{100, 110, 120, 130, 140, 150}));
    EXPECT_EQ(child<TMSpinEdit>(&f, "SpinEditIloscPunktow")->value(), 6);
    auto* grid = child<QTableWidget>(&f, "PunktyGrid");
    EXPECT_EQ(grid->rowCount(), 8);
    EXPECT_EQ(cell(f, 0, 0), "Nr");
    EXPECT_EQ(cell(f, 0, 1), "Punkt [mm]");
    EXPECT_EQ(cell(f, 1, 0), "  0");
    EXPECT_EQ(cell(f, 1, 1), "  100,0000");
    EXPECT_EQ(cell(f, 7, 0), "Nowy");
    EXPECT_EQ(grid->currentRow(), 7);

    // typing into the "Nowy" row, through the table's own edit signal
    grid->item(7, 1)->setText("105");
    QCoreApplication::processEvents();
    EXPECT_EQ(values(f.WorkPoints), (std::vector<double>{100, 105, 110, 120, 130, 140, 150}));
    f.PunktyGridSetEditText(1, 8, "110.0000001");  // a near duplicate adds nothing
    f.PunktyGridSetEditText(1, 1, "abc");          // no number: dropped
    EXPECT_EQ(f.WorkPoints.Count(), 7);
    EXPECT_FALSE(f.PunktyGridKeyPress(u'a'));
    EXPECT_TRUE(f.PunktyGridKeyPress(u'7'));
    EXPECT_TRUE(f.PunktyGridKeyPress(u'\b'));
    EXPECT_EQ(f.BeepCount, 1);

    grid->setCurrentCell(2, 1);
    f.ButtonUsunPunktClick();  // 105 goes
    grid->setCurrentCell(0, 1);
    f.ButtonUsunPunktClick();  // heading: ignored
    EXPECT_EQ(values(f.WorkPoints), (std::vector<double>{100, 110, 120, 130, 140, 150}));

    fileAnswer = dir.filePath("list");
    f.ButtonZapiszClick();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].FileName, "150");
    EXPECT_EQ(dialogs[0].DefaultExt, ".dtp");
    EXPECT_EQ(dialogs[0].InitialDir, dir.path());
    EXPECT_EQ(dialogs[0].Filter, "Punkty pozycjonowania (*.dtp)|*.dtp|Wszystkie pliki (*.*)|*.*");
    TPunkt onDisk;
    LoadPointList(onDisk, dir.filePath("list.dtp"));
    EXPECT_EQ(values(onDisk), values(f.WorkPoints));

    answer = mrYes;
    f.ButtonUsunWszystkieClick();
    EXPECT_EQ(f.WorkPoints.Count(), 0);
    fileAnswer = dir.filePath("list.dtp");
    f.ButtonWczytajClick();
    EXPECT_EQ(values(f.WorkPoints), (std::vector<double>{100, 110, 120, 130, 140, 150}));
    EXPECT_EQ(child<TRealSpinEdit>(&f, "StartPointEdit")->Value(), 100);
}

TEST_F(PunktyPozTest, TableCellsKeepToTheRangeOfTheStartPointField) {
    TFPunktyPoz f;
    f.Prepare(TPunkt(), 0.0, 1, 0, 0, dir.path());
    auto* grid = child<QTableWidget>(&f, "PunktyGrid");
    auto* start = child<TRealSpinEdit>(&f, "StartPointEdit");
    struct Case {
        const char* typed;
        double kept;
    };
    const Case cases[] = {
        {"1e308", 30000}, {"-1e308", -30000}, {"1e23", 30000}, {"2147483648", 30000},
        {"-2147483648", -30000}, {"-30000", -30000}, {"29999,5", 29999.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        // Typed into the "Nowy" row through the table's own edit signal, one list each time.
        f.WorkPoints.Clear();
        f.FillGrid();
        grid->item(grid->rowCount() - 1, 1)->setText(QString::fromLatin1(c.typed));
        QCoreApplication::processEvents();
        EXPECT_EQ(values(f.WorkPoints), std::vector<double>{c.kept});
        // The start point field does the same with the value.
        start->SetValue(QString::fromLatin1(c.typed).replace(',', '.').toDouble());
        EXPECT_EQ(start->Value(), c.kept);
    }
    EXPECT_EQ(cell(f, 1, 1), "29999,5000");
}

TEST_F(PunktyPozTest, RememberedValuesAndWrongStoredTypes) {
    platform::appRegistry().writeBinary(kKey, "FPDist", doubleBytes(254.0));
    platform::appRegistry().writeBinary(kKey, "FPInt", QByteArray("1234"));  // not 8 bytes
    platform::appRegistry().writeInteger(kKey + "\\Options", "FPPNr", 12);
    {
        TFPunktyPoz f;
        f.Prepare(TPunkt(), 0.0, 1, 1, 0);  // inch
        EXPECT_DOUBLE_EQ(child<TRealSpinEdit>(&f, "SpinEditDystans")->Value(), 10.0);
        EXPECT_EQ(child<TRealSpinEdit>(&f, "SpinEditOdstep")->Value(), 0.0);
        EXPECT_EQ(child<TMSpinEdit>(&f, "SpinEditIloscPunktow")->value(), 12);
        EXPECT_EQ(child<QLabel>(&f, "Label3")->text(), "[in]");
        child<TRealSpinEdit>(&f, "SpinEditOdstep")->SetValue(0.5);
        child<TMSpinEdit>(&f, "SpinEditIloscPunktow")->setValue(9);
    }  // written when the dialog goes, confirmed or not
    const auto dist = platform::appRegistry().readBinary(kKey, "FPDist");
    const auto interval = platform::appRegistry().readBinary(kKey, "FPInt");
    ASSERT_TRUE(dist && interval);
    EXPECT_DOUBLE_EQ(foundations::getDoubleLE(reinterpret_cast<const unsigned char*>(dist->constData())), 254.0);
    EXPECT_DOUBLE_EQ(foundations::getDoubleLE(reinterpret_cast<const unsigned char*>(interval->constData())), 12.7);
    EXPECT_EQ(platform::appRegistry().readString(kKey + "\\Options", "FPPNr"), QString("9"));
}

TEST_F(PunktyPozTest, InchModeAndAngularLists) {
    TPunkt mm;
    mm.Add().Dystans = 25.4;
    {
        TFPunktyPoz f;
        f.Prepare(mm, 0.0, 1, 1, 1);
        EXPECT_EQ(cell(f, 1, 1), "    1,0000");
        EXPECT_EQ(cell(f, 0, 1), "Punkt [in]");
        EXPECT_TRUE(child<QLabel>(&f, "Image1")->isHidden());
        EXPECT_FALSE(child<QLabel>(&f, "Image2")->isHidden());
        EXPECT_DOUBLE_EQ(f.ResultPoints()[0].Dystans, 25.4);
        // files hold mm: a saved list is converted back, a loaded one shown in inches
        fileAnswer = dir.filePath("inch.dtp");
        f.ButtonZapiszClick();
        TPunkt disk;
        LoadPointList(disk, dir.filePath("inch.dtp"));
        EXPECT_DOUBLE_EQ(disk[0].Dystans, 25.4);
        EXPECT_EQ(dialogs.back().FileName, "25");
        disk[0].Dystans = 50.8;
        SavePointList(disk, dir.filePath("two.dtp"));
        fileAnswer = dir.filePath("two.dtp");
        f.ButtonWczytajClick();
        EXPECT_DOUBLE_EQ(f.WorkPoints[0].Dystans, 2.0);
    }
    TFPunktyPoz a;
    a.Prepare(mm, 0.0, 0, 1, 1);  // angular: degrees whatever the length unit
    EXPECT_EQ(a.ListUnit, 0);
    EXPECT_EQ(cell(a, 1, 1), "   25,4000");
    EXPECT_EQ(child<QLabel>(&a, "Label4")->text(), "[deg]");
    EXPECT_TRUE(child<QLabel>(&a, "Image1")->isHidden());
    EXPECT_TRUE(child<QLabel>(&a, "Image2")->isHidden());
    fileAnswer = std::nullopt;
    a.ButtonWczytajClick();
    EXPECT_EQ(dialogs.back().Filter,
              QString::fromUtf8("Punkty pozycjonowania kątowego (*.dtk)|*.dtk|Wszystkie pliki (*.*)|*.*"));
}

TEST_F(PunktyPozTest, LoadingOddFiles) {
    TFPunktyPoz f;
    TPunkt start;
    for (double d : {1.0, 2.0, 3.0}) start.Add().Dystans = d;
    f.Prepare(start, 7.0, 1, 0, 0);
    SavePointList(TPunkt(), dir.filePath("empty.dtp"));
    fileAnswer = dir.filePath("empty.dtp");
    f.ButtonWczytajClick();
    EXPECT_EQ(f.WorkPoints.Count(), 0);
    EXPECT_EQ(child<TRealSpinEdit>(&f, "StartPointEdit")->Value(), 7.0);  // start point left alone

    TPunkt big;
    for (int i = 0; i < 255; ++i) big.Add().Dystans = i;
    SavePointList(big, dir.filePath("big.dtp"));
    f.WorkPoints = start;
    fileAnswer = dir.filePath("big.dtp");
    f.ButtonWczytajClick();
    EXPECT_EQ(f.WorkPoints.Count(), 3);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].type, TMsgDlgType::mtError);

    QFile bad(dir.filePath("bad.dtp"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray("\x02\0\0\0abc", 7));
    bad.close();
    fileAnswer = dir.filePath("bad.dtp");
    f.ButtonWczytajClick();
    EXPECT_EQ(f.WorkPoints.Count(), 3);
    EXPECT_EQ(messages.size(), 2u);
}

TEST_F(PunktyPozTest, EditTargetPointsNeedsFivePointsForOk) {
    TPunkt points;
    for (double d : {0.0, 10.0, 20.0, 30.0}) points.Add().Dystans = d;
    TRealSpinEdit start;
    start.SetMinValue(-30000);
    start.SetMaxValue(30000);
    start.SetPrecision(4);
    start.SetValue(3);
    int step = 0;
    std::function<void()> drive = [&] {
        auto* f = qobject_cast<TFPunktyPoz*>(QApplication::activeModalWidget());
        if (!f) {
            QTimer::singleShot(10, drive);
            return;
        }
        f->BitBtnOkClick();  // 4 points: the message, the dialog stays
        step = f->isVisible() ? 1 : -1;
        f->PunktyGridSetEditText(1, 5, "40");
        f->findChild<TRealSpinEdit*>("StartPointEdit")->SetValue(-5);
        f->BitBtnOkClick();
    };
    QTimer::singleShot(0, drive);
    EXPECT_TRUE(EditTargetPoints(points, &start, 1, 0, 0));
    EXPECT_EQ(step, 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QString::fromUtf8("Za mało punktów pomiarowych."));
    EXPECT_EQ(values(points), (std::vector<double>{0, 10, 20, 30, 40}));
    EXPECT_EQ(start.Value(), -5);

    // cancelled: nothing changes
    QTimer::singleShot(0, [] {
        if (auto* f = qobject_cast<TFPunktyPoz*>(QApplication::activeModalWidget())) {
            f->WorkPoints.Clear();
            f->reject();
        }
    });
    EXPECT_FALSE(EditTargetPoints(points, &start, 1, 0, 0));
    EXPECT_EQ(points.Count(), 5);
}

// The program's file dialog shows a file's name, size, type and date whole.
TEST_F(PunktyPozTest, FileDialogShowsEveryColumnWhole) {
    setFileDialogHook({});
    QFile file(dir.filePath("punkty_kontrolne.dtp"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("0");
    file.close();
    FileDialogSettings s;
    s.InitialDir = dir.path();
    s.Filter = QStringLiteral("text (*.dtp)|*.dtp");
    bool checked = false;
    testsupport::whenModalShown<QFileDialog>([&](QFileDialog& d) {
        auto* view = d.findChild<QTreeView*>();
        ASSERT_NE(view, nullptr);
        QAbstractItemModel* model = view->model();
        const QFontMetrics fm(view->font());
        auto cut = [&] {
            QStringList cutOff;
            if (model->rowCount(view->rootIndex()) != 1) return QStringList{QStringLiteral("<no file yet>")};
            for (int c = 0; c < model->columnCount(view->rootIndex()); ++c) {
                const QString text = model->index(0, c, view->rootIndex()).data().toString();
                const QString heading = model->headerData(c, Qt::Horizontal).toString();
                const int need = std::max(fm.horizontalAdvance(text), fm.horizontalAdvance(heading));
                if (view->header()->sectionSize(c) < need) cutOff << text;
            }
            return cutOff;
        };
        // The folder is read in the background; the columns follow once it is in.
        for (int i = 0; i < 500 && !cut().isEmpty(); ++i) QTest::qWait(10);
        EXPECT_EQ(cut(), QStringList());
        checked = true;
        d.reject();
    });
    EXPECT_EQ(RunFileDialog(nullptr, s, false), std::nullopt);
    EXPECT_TRUE(checked);
}

// Pictures of the editor at the smallest screen the program serves, for a look by eye
// (VKM30_SCREENSHOTS names the folder); every heading and value must be readable.
TEST_F(PunktyPozTest, Screenshots) {
    if (qEnvironmentVariableIsEmpty("VKM30_SCREENSHOTS")) GTEST_SKIP();
    TPunkt points;
    for (int k = 0; k < 12; ++k) points.Add().Dystans = 125.5 * k;
    TFPunktyPoz f;
    f.Prepare(points, 0.0, 0, 0, 0, QString());
    f.show();
    QCoreApplication::processEvents();
    f.grab().save(QDir(qEnvironmentVariable("VKM30_SCREENSHOTS")).filePath("punkty_poz.png"));
}
