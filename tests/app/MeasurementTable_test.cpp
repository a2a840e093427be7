// The measured-cycles table page, the text imports of the three types and the default point
// lists beside the program, through the real window.
#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>

#include "MainWindowFixture.h"
#include "app/DialogParts.h"
#include "app/PunktyPoz.h"
#include "app/InfoForm.h"
#include "app/MeasurementTable.h"
#include "app/PositioningRun.h"
#include "foundations/MeasurementModes.h"

namespace {

class MeasurementTableTest : public MainWindowTest {
protected:
    void TearDown() override {
        setFileDialogHook({});
        MainWindowTest::TearDown();
    }
    // Cycles of `points` targets each, 10 mm apart, the last target at 100 mm with Xa 3 µm.
    void fillCycles(int cycles, int points) {
        TCykl& c = *form()->PositioningCycles;
        c.Clear();
        for (int k = 0; k < cycles; ++k) {
            TPunkt& p = c.Add().Punkt;
            for (int i = 0; i < points; ++i) {
                TPunktItem& it = p.Add();
                it.Dystans = 10.0 * i;
                it.Xa = i == points - 1 ? 3.0 : 0.5 * k;
                it.Xr = -1.25;
            }
        }
    }
    void writeFile(const QString& path, const QByteArray& bytes) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
};

TEST_F(MeasurementTableTest, TableShowsTheCurrentCycleAndGoesBackToTheChart) {
    start();
    TMainForm& f = *form();
    Control<QPushButton>(&f, "BitBtnpozycjonowanie")->click();
    fillCycles(1, 11);
    f.PositioningControl().CurrentCycle() = 1;
    f.MenuCommand("Start1")->setEnabled(true);
    Control<QPushButton>(&f, "ButtonPozStart")->setEnabled(false);
    f.MenuCommand("TabelaPomiarow")->setEnabled(true);
    f.MenuCommand("TabelaPomiarow")->trigger();

    EXPECT_EQ(f.NotebookMainForm->currentIndex(), 7);
    EXPECT_FALSE(f.MenuCommand("Start1")->isEnabled());
    auto* grid = Control<QTableWidget>(&f, "CyklGrid");
    ASSERT_EQ(grid->rowCount(), 12);
    EXPECT_EQ(grid->item(0, 0)->text(), f.PointColumnCaption);
    EXPECT_EQ(grid->item(0, 4)->text(), "Da [mm]");
    for (int r = 1; r <= 11; ++r) EXPECT_EQ(grid->item(r, 0)->text(), QString::number(r - 1));
    // 100 mm and 3 µm: 100.003 with the system's separator (Polish here).
    EXPECT_EQ(grid->item(11, 1)->text(), "100,000");
    EXPECT_EQ(grid->item(11, 2)->text(), "3,000");
    EXPECT_EQ(grid->item(11, 4)->text(), "100,003");
    EXPECT_EQ(grid->item(11, 5)->text(), "99,999");  // -1.25 µm, rounded to 3 decimals
    EXPECT_EQ(grid->columnWidth(0), 80);

    // "&Wykres": back to the chart, the menu's Start as the page's start button is.
    Control<QPushButton>(&f, "ButtonTabelaBledu1")->click();
    EXPECT_EQ(f.NotebookMainForm->currentIndex(), 3);
    EXPECT_FALSE(f.MenuCommand("Start1")->isEnabled());
    Control<QPushButton>(&f, "ButtonPozStart")->setEnabled(true);
    f.MenuCommand("TabelaPomiarow")->trigger();
    Control<QPushButton>(&f, "ButtonTabelaBledu1")->click();
    EXPECT_TRUE(f.MenuCommand("Start1")->isEnabled());
    grid->resize(900, 330);
    grid->show();
    QCoreApplication::processEvents();
    grid->grab().save(QStringLiteral("/tmp/shots/table_page.png"));
}

TEST_F(MeasurementTableTest, CyclesAbove255AreListed) {
    start();
    TMainForm& f = *form();
    Control<QPushButton>(&f, "BitBtnpozycjonowanie")->click();
    fillCycles(300, 3);
    f.PositioningControl().CurrentCycle() = 300;
    f.MenuCommand("TabelaPomiarow")->setEnabled(true);
    f.MenuCommand("TabelaPomiarow")->trigger();
    auto* grid = Control<QTableWidget>(&f, "CyklGrid");
    ASSERT_EQ(grid->rowCount(), 4);
    EXPECT_EQ(grid->item(1, 2)->text(), "149,500");  // 0.5 × 299 of cycle 300
}

TEST(MeasurementTableRules, ColumnsAndTextPosition) {
    EXPECT_EQ(MeasurementTableColumnWidths(585), (std::array<int, 6>{80, 101, 101, 101, 101, 101}));
    EXPECT_EQ(MeasurementTableColumnWidths(50)[1], 0);
    EXPECT_EQ(MeasurementTableTextX(0, 90, 30), 30);  // ends 30 px (a third) before the edge
    // Columns that need more keep it, the others share the rest; too little room: all scroll.
    const struct {
        int client;
        std::array<int, 6> needed, widths;
    } cases[] = {
        {585, {60, 90, 90, 90, 90, 90}, {80, 101, 101, 101, 101, 101}},
        {585, {90, 150, 0, 0, 0, 0}, {90, 150, 86, 86, 86, 86}},
        {585, {0, 150, 90, 0, 0, 0}, {80, 150, 90, 88, 88, 88}},  // 90 fits no share of 88 once 150 is taken
        {585, {200, 200, 200, 200, 200, 200}, {200, 200, 200, 200, 200, 200}},
    };
    for (const auto& c : cases) EXPECT_EQ(MeasurementTableColumnWidths(c.client, c.needed), c.widths);
    // The widest value ends a third before the edge and still starts inside its cell.
    for (int text : {0, 10, 60, 121}) {
        const int w = MeasurementTableNeededWidth(0, text);
        EXPECT_GE(MeasurementTableTextX(0, w, text), 4) << text;
    }
    EXPECT_EQ(MeasurementTableNeededWidth(100, 10), 108);  // the heading with a margin each side
}

TEST_F(MeasurementTableTest, ImportOfEachTypeStartsInItsDataFolder) {
    start();
    TMainForm& f = *form();
    const struct {
        uint8_t mode;
        const char* name;
        QByteArray text;
        QString folder;
    } cases[] = {
        {kModePositioning, "run.dta", "Tokarka\r\ns\r\nY\r\n12\r\n20.36 19.94\r\n/1.5 -1.5\r\n/2 -2\r\n$3 -3\r\n/4 -4\r\n/5 -5\r\n#6 -6\r\n", f.PositioningDir},
        {kModeStraightness, "line.lda", "Frezarka\r\nx\r\nZ\r\n50\r\n/1.5\r\n/-2\r\n#3\r\n", f.StraightnessDir},
        {kModeFlatness, "plate.fda", [] {
             QByteArray t = "Plyta\r\nabc\r\n25\r\n";
             for (int l = 0; l < 8; ++l) t += "/" + QByteArray::number(l) + "\r\n/1\r\n#2\r\n";
             return t;
         }(), f.FlatnessDir},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        writeFile(path, c.text);
        QString initial;
        setFileDialogHook([&](const FileDialogSettings& s, bool) -> std::optional<QString> {
            initial = s.InitialDir;
            return path;
        });
        f.MeasurementMode = c.mode;
        DataSaved = FlatnessDataSaved = true;
        f.MenuCommand("ImportDanych")->setEnabled(true);
        f.MenuCommand("ImportDanych")->trigger();
        EXPECT_EQ(initial, c.folder);
        EXPECT_NE(initial, "c:\\");
    }
    ASSERT_EQ(f.PositioningCycles->Count(), 2);
    EXPECT_EQ((*f.PositioningCycles)[1].Punkt[2].Xa, 6.0);
    ASSERT_EQ(f.StraightnessPoints->Count(), 3);
    EXPECT_EQ((*f.StraightnessPoints)[2].Xa, 3.0);
    EXPECT_EQ((*f.FlatnessLines)[7].Punkt[0].Xa, 7.0);
    EXPECT_FALSE(FlatnessDataSaved);
    EXPECT_TRUE(f.MenuCommand("TabelaKompensacji1")->isEnabled());
}

TEST_F(MeasurementTableTest, ImportOverUnsavedDataAsksFirstAndCancelKeepsIt) {
    start();
    TMainForm& f = *form();
    Control<QPushButton>(&f, "BitBtnpozycjonowanie")->click();
    fillCycles(1, 4);
    DataSaved = false;
    bool dialogShown = false;
    setFileDialogHook([&](const FileDialogSettings&, bool) -> std::optional<QString> {
        dialogShown = true;
        return std::nullopt;
    });
    setMessageDlgHook([this](const MessageDlgRequest& r) {
        messages.push_back(r);
        return int(mrCancel);
    });
    f.MenuCommand("ImportDanych")->setEnabled(true);
    f.MenuCommand("ImportDanych")->trigger();
    EXPECT_FALSE(dialogShown);
    EXPECT_EQ((*f.PositioningCycles)[0].Punkt.Count(), 4);
    EXPECT_FALSE(DataSaved);
    EXPECT_FALSE(messages.empty());
}

TEST_F(MeasurementTableTest, DefaultPointListsAreWrittenAtTheEndAndReadAtStart) {
    start();
    {
        TMainForm& f = *form();
        for (double d : {0.0, 50.0, 125.5}) f.TargetPoints->Add().Dystans = d;
        f.AngularTargetPoints->Add().Dystans = 90.0;
    }
    app::EndProgram(program);
    EXPECT_TRUE(QFile::exists(DefaultPositioningListPath(dir.path() + '/')));
    EXPECT_TRUE(QFile::exists(DefaultAngularListPath(dir.path() + '/')));

    start();
    TMainForm& f = *form();
    ASSERT_EQ(f.TargetPoints->Count(), 3);
    EXPECT_EQ((*f.TargetPoints)[2].Dystans, 125.5);
    ASSERT_EQ(f.AngularTargetPoints->Count(), 1);
    EXPECT_TRUE(f.MenuCommand("PunktyPozycjonowania1")->isEnabled());
}

TEST_F(MeasurementTableTest, NoTargetsWriteNoListAndTurnListPointsOff) {
    start();
    form()->TargetPoints->Clear();
    form()->MenuCommand("PunktyZListy")->setChecked(true);
    app::EndProgram(program);
    EXPECT_FALSE(QFile::exists(DefaultPositioningListPath(dir.path() + '/')));
    EXPECT_FALSE(QFile::exists(DefaultAngularListPath(dir.path() + '/')));
    start();
    EXPECT_FALSE(form()->MenuCommand("PunktyZListy")->isChecked());
    EXPECT_EQ(form()->TargetPoints->Count(), 0);
}

}  // namespace
