// The flatness page's map in the real window: a stored line and a ".dt5" file opened through
// the window are fitted and drawn on WykresPlaskosci, the value in LabElewacja.
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QStackedWidget>

#include "app/FlatnessPage.h"
#include "MainWindowFixture.h"
#include "app/PunktyPoz.h"
#include "app/StraightnessRun.h"
#include "app/TableLines.h"
#include "evaluation/FlatnessMap.h"
#include "platform/Chart.h"
#include "platform/Chart3DSeries.h"

namespace {

TPunkt lineOf(std::initializer_list<std::pair<double, double>> pts) {
    TPunkt p;
    for (const auto& [d, y] : pts) {
        auto& it = p.Add();
        it.Dystans = d;
        it.Xa = y;
    }
    return p;
}

}  // namespace

class FlatnessMapWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        setFileDialogHook([this](const FileDialogSettings&, bool save) { return save ? saveAnswer : openAnswer; });
        setMessageDlgHook([this](const MessageDlgRequest& r) {
            messages.push_back(r);
            return r.buttons & mbOK ? int(mrOk) : int(mrNo);
        });
    }
    void TearDown() override {
        setFileDialogHook({});
        MainWindowTest::TearDown();
    }
    void startOnFlatnessPage() {
        start();
        f = form();
        f->Flatness().BitBtnMapaPlaskosciClick();
        messages.clear();
    }
    void trigger(const char* command) {
        QAction* a = f->MenuCommand(QString::fromLatin1(command));
        ASSERT_NE(a, nullptr) << command;
        a->trigger();
    }
    int seriesCount(int line) const { return f->Flatness().FlatnessSeries()[size_t(line - 1)]->Count(); }
    QString value() const { return f->findChild<QLabel*>("LabElewacja")->text(); }
    // The envelope of the evaluation tests: diagonals with a bump and a dip, edges 200 and 100 cm.
    void fillEnvelope() {
        TCykl& L = *f->FlatnessLines;
        L[0].Punkt = lineOf({{0, 0}, {100, 1}, {200, 0}});
        L[1].Punkt = lineOf({{0, 0}, {112, 3}, {224, 0}});
        L[2].Punkt = lineOf({{0, 0}, {50, 0}, {100, 0}});
        L[3].Punkt = lineOf({{0, 0}, {112, -3}, {224, 0}});
        L[4].Punkt = lineOf({{0, 0}, {100, 0}, {200, 0}});
        L[5].Punkt = lineOf({{0, 0}, {50, 0}, {100, 0}});
        L[6].Punkt = lineOf({{0, 0}, {100, -2}, {200, 0}});
        L[7].Punkt = lineOf({{0, 0}, {25, 1}, {50, 1}, {75, 1}, {100, 0}});
        f->FlatnessMethod = 0;
    }

    TMainForm* f = nullptr;
    std::optional<QString> openAnswer, saveAnswer;
};

TEST_F(FlatnessMapWindowTest, StoredLineRebuildsTheMap) {
    startOnFlatnessPage();
    EXPECT_EQ(f->Flatness().FlatnessSeries().size(), 16u);
    EXPECT_EQ(value(), "0,00");
    *f->StraightnessPoints = lineOf({{0, 0}, {50, 4}, {100, 2}});
    f->StraightnessControl().FlatnessLine = 1;
    f->StoreFlatnessLine();
    // Stored as end-point residuals 0, 3, 0: the value is 3 and line 1 is drawn at z = 0.
    EXPECT_EQ(value(), "3,00");
    ASSERT_EQ(seriesCount(1), 3);
    auto* s = f->Flatness().FlatnessSeries()[0];
    EXPECT_EQ(s->XValue(1), 50.0);
    EXPECT_EQ(s->YValue(1), 3.0);
    EXPECT_EQ(s->ZValue(1), 0.0);
    EXPECT_EQ(f->StraightnessControl().FlatnessLinesDone, 0x1);
    // Entering the page again starts a new map: lines, mask and chart cleared.
    f->Flatness().BitBtnMapaPlaskosciClick();
    EXPECT_EQ(seriesCount(1), 0);
    EXPECT_EQ(f->StraightnessControl().FlatnessLinesDone, 0);
    EXPECT_EQ(value(), "0,00");
}

TEST_F(FlatnessMapWindowTest, SavedMapOpensAndShows) {
    startOnFlatnessPage();
    fillEnvelope();
    f->Flatness().BuildFlatnessMap();
    EXPECT_EQ(value(), "6,00");
    const QString file = QDir(dir.path()).filePath("map1.dt5");
    saveAnswer = file;
    trigger("Zapisz1");
    ASSERT_TRUE(QFileInfo::exists(file));

    f->Flatness().ResetFlatnessMap();
    ASSERT_EQ(seriesCount(1), 0);
    openAnswer = file;
    trigger("Otworz1");
    EXPECT_EQ(value(), "6,00");
    EXPECT_EQ(f->StraightnessControl().FlatnessLinesDone, 0xFF);
    for (int k = 1; k <= 8; ++k) EXPECT_EQ(seriesCount(k), k == 8 ? 5 : 3) << k;
    for (int k = 9; k <= 16; ++k) EXPECT_EQ(seriesCount(k), 0) << k;
    EXPECT_EQ(Control<platform::TChart>(f, "WykresPlaskosci")->DepthAxis().Maximum(), 100.0);

    f->resize(1000, 700);
    f->show();
    QCoreApplication::processEvents();
    const QString shot = qEnvironmentVariable("VKM30_FLATNESS_SHOT");
    if (!shot.isEmpty()) f->NotebookMainForm->currentWidget()->grab().save(shot);
}

// The map draws its lines where the axis choice form's picture of the table shows them: each
// line's first and last point at the picture's start and end of that line (picture 240 × 140,
// 20 pixel margin, y downwards, for a 200 × 100 cm map).
TEST(FlatnessMapLayoutTest, LinesLieWhereTheTablePictureShowsThem) {
    auto toMap = [](QPoint p) { return QPoint(p.x() - tablelines::kMargin, 100 + tablelines::kMargin - p.y()); };
    for (const tablelines::Layout layout : {tablelines::Layout{false, 0, 0}, tablelines::Layout{true, 3, 3},
                                            tablelines::Layout{true, 5, 3}}) {
        TCykl lines;
        const int count = tablelines::LineCount(layout);
        for (int k = 1; k <= 16; ++k) {
            // Envelope diagonals 224 cm, every other line as long as the side it runs along.
            const bool alongX = layout.grid ? k <= layout.hLines : (k == 1 || k == 5 || k == 7);
            const double len = !layout.grid && (k == 2 || k == 4) ? 224 : alongX ? 200 : 100;
            lines.Add().Punkt = k <= count ? lineOf({{0, 0}, {len / 2, 0}, {len, 0}}) : TPunkt();
        }
        const auto map = evaluation::BuildFlatnessMap(lines, {layout.grid, layout.hLines, layout.vLines});
        const auto picture = tablelines::LineGeometry(layout, QSize(240, 140));
        ASSERT_EQ(int(picture.size()), count);
        for (int k = 0; k < count; ++k) {
            const auto& s = map.series[size_t(k)];
            ASSERT_EQ(s.size(), 3u) << k + 1;
            EXPECT_EQ(QPoint(s.front().x, s.front().z), toMap(picture[size_t(k)].start)) << "line " << k + 1;
            EXPECT_EQ(QPoint(s.back().x, s.back().z), toMap(picture[size_t(k)].end)) << "line " << k + 1;
        }
    }
}

TEST_F(FlatnessMapWindowTest, GridLayoutFollowsTheWindowsSettings) {
    startOnFlatnessPage();
    f->FlatnessMethod = 1;
    f->FlatnessHLines = 3;
    f->FlatnessVLines = 4;
    TCykl& L = *f->FlatnessLines;
    for (int k = 0; k < 3; ++k) L[k].Punkt = lineOf({{0, 0}, {75, 2.0 * k}, {150, 1}, {225, double(k)}, {300, 0}});
    for (int m = 0; m < 4; ++m) L[3 + m].Punkt = lineOf({{0, 0}, {50, -1.0 * m}, {100, 0}, {150, 0.5}, {200, 0}});
    f->Flatness().BuildFlatnessMap();
    // H lines at z = 0, 100, 200 along x; V lines at x = 0, 100, 200, 300 along z.
    const auto series = f->Flatness().FlatnessSeries();
    for (int k = 0; k < 3; ++k) EXPECT_EQ(series[size_t(k)]->ZValue(2), 100.0 * k) << k;
    for (int m = 0; m < 4; ++m) EXPECT_EQ(series[size_t(3 + m)]->XValue(2), 100.0 * m) << m;
    EXPECT_EQ(series[3]->Title(), "V1");
    EXPECT_EQ(Control<platform::TChart>(f, "WykresPlaskosci")->DepthAxis().Maximum(), 200.0);
    for (auto* s : series)
        for (int i = 0; i < s->Count(); ++i) EXPECT_GE(s->YValue(i), 0.0);

    f->resize(1000, 700);
    f->show();
    QCoreApplication::processEvents();
    const QString shot = qEnvironmentVariable("VKM30_FLATNESS_GRID_SHOT");
    if (!shot.isEmpty()) f->NotebookMainForm->currentWidget()->grab().save(shot);
}
