#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "app/Stol.h"
#include "app/StraightnessRun.h"
#include "app/TableLines.h"
#include "foundations/MessageDlg.h"
#include "foundations/RadioGroup.h"
#include "support/HelpProbe.h"
#include "support/ModalDialog.h"

using namespace tablelines;

namespace {

const QSize kBox(400, 250);  // W, H of the cases below

Layout envelope() { return {false, 0, 0}; }
Layout grid(int h, int v) { return {true, h, v}; }

void whenShown(std::function<void(TWyborOsi&)> drive) { testsupport::whenModalShown<TWyborOsi>(std::move(drive)); }

// The hook answers every Execute without showing the form.
struct HookGuard {
    explicit HookGuard(TWyborOsi::ExecuteHook hook) { TWyborOsi::setExecuteHook(std::move(hook)); }
    ~HookGuard() { TWyborOsi::setExecuteHook({}); }
};

}  // namespace

// The form on its own, with the program's built-in Polish texts (no language file in the
// fixture's program folder).
// The form itself is shown here, so the fixture's cancelling hook is taken away.
class WyborOsiForm : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        TWyborOsi::setExecuteHook({});
    }
};

TEST(TableLines, EnvelopeLinesRunAsOnTheTable) {
    const std::vector<Segment> expected = {
        {{20, 230}, {380, 230}}, {{20, 230}, {380, 20}}, {{20, 230}, {20, 20}},   {{20, 20}, {380, 230}},
        {{20, 20}, {380, 20}},   {{380, 230}, {380, 20}}, {{20, 125}, {380, 125}}, {{200, 230}, {200, 20}},
    };
    EXPECT_EQ(LineGeometry(envelope(), kBox), expected);
    EXPECT_EQ(LineCount(envelope()), 8);
    EXPECT_EQ(LineNames(envelope(), "Oś"),
              QStringList({"Oś &1", "Oś &2", "Oś &3", "Oś &4", "Oś &5", "Oś &6", "Oś &7", "Oś &8"}));
    for (int k = 1; k <= 8; ++k) EXPECT_TRUE(HasArrow(envelope(), k)) << k;
}

TEST(TableLines, GridLinesAndNames) {
    struct Case {
        int h, v;
        std::vector<int> hY;  // y of each H line (x 20 to 380)
        std::vector<int> vX;  // x of each V line (y 230 up to 20)
        QString firstV, lastName;
    };
    const std::vector<Case> cases = {
        {3, 3, {230, 125, 20}, {20, 200, 380}, "Oś V1", "Oś V3"},
        // 360 / 7 = 51.4: the spacing is divided whole, the last line still on the edge.
        {3, 8, {230, 125, 20}, {20, 71, 122, 174, 225, 277, 328, 380}, "Oś V1", "Oś V8"},
        {8, 8, {230, 200, 170, 140, 110, 80, 50, 20}, {20, 71, 122, 174, 225, 277, 328, 380}, "Oś V1", "Oś V8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.h << "x" << c.v);
        const Layout layout = grid(c.h, c.v);
        std::vector<Segment> expected;
        for (int y : c.hY) expected.push_back({{20, y}, {380, y}});
        for (int x : c.vX) expected.push_back({{x, 230}, {x, 20}});
        EXPECT_EQ(LineGeometry(layout, kBox), expected);
        const int n = c.h + c.v;
        EXPECT_EQ(LineCount(layout), n);
        const QStringList names = LineNames(layout, "Oś");
        ASSERT_EQ(names.size(), n);
        EXPECT_EQ(names[0], "Oś H1");
        EXPECT_EQ(names[c.h - 1], "Oś H" + QString::number(c.h));
        EXPECT_EQ(names[c.h], c.firstV);
        EXPECT_EQ(names.last(), c.lastName);
        // Only the first and the last line show their direction.
        for (int k = 1; k <= n; ++k) EXPECT_EQ(HasArrow(layout, k), k == 1 || k == n) << k;
    }
}

TEST(TableLines, CountsOutsideTheMaskAreCut) {
    // More than 16 lines cannot be told apart in the mask; a count below 0 draws none.
    EXPECT_EQ(LineCount(grid(10, 10)), 16);
    EXPECT_EQ(DrawnVLines(grid(10, 10)), 6);
    EXPECT_EQ(LineCount(grid(-1, 3)), 3);
    EXPECT_EQ(LineCount(grid(0, 0)), 0);
    // One line in a direction sits on the first edge instead of dividing by zero.
    const std::vector<Segment> one = LineGeometry(grid(1, 1), kBox);
    ASSERT_EQ(one.size(), 2u);
    EXPECT_EQ(one[0], (Segment{{20, 230}, {380, 230}}));
    EXPECT_EQ(one[1], (Segment{{20, 230}, {20, 20}}));
}

TEST(TableLines, InitialLineOutsideTheLayoutSelectsLineOne) {
    struct Case {
        Layout layout;
        int initial, selected;
    };
    for (const Case& c : std::vector<Case>{{envelope(), 0, 1},
                                           {envelope(), 17, 1},
                                           {envelope(), 8, 8},
                                           {envelope(), 9, 1},
                                           {grid(3, 3), 6, 6},
                                           {grid(3, 3), 7, 1},
                                           {grid(8, 8), 16, 16}})
        EXPECT_EQ(InitialSelection(c.layout, c.initial), c.selected) << c.initial;
}

TEST(TableLines, DirectionArrowsAndLabels) {
    const std::vector<Segment> lines = LineGeometry(envelope(), kBox);
    // From 1/6 to 3/8 of the line, 10 px to the right of travel, the side away from the label
    // (below a line running right, right of a line running up).
    EXPECT_EQ(DirectionArrow(lines[0]), (Segment{{80, 240}, {155, 240}}));
    EXPECT_EQ(DirectionArrow(lines[2]), (Segment{{30, 195}, {30, 151}}));  // left edge, upwards
    EXPECT_EQ(DirectionArrow(lines[1]), (Segment{{85, 204}, {160, 160}}));  // diagonal
    EXPECT_EQ(DirectionArrow(lines[4]), (Segment{{80, 30}, {155, 30}}));    // top edge: inside

    struct LabelCase {
        int line;
        QPoint at;  // top left of the number
    };
    for (const LabelCase& c : std::vector<LabelCase>{{1, {123, 210}}, {2, {123, 148}}, {3, {5, 170}},
                                                     {5, {123, 0}}, {6, {365, 170}}, {8, {185, 170}}}) {
        const Label l = LineLabel(envelope(), lines, c.line);
        EXPECT_EQ(l.text, QString::number(c.line));
        EXPECT_EQ(l.at, c.at) << c.line;
        EXPECT_FALSE(l.centred);
    }

    // Grid 3x4: V lines at x 20, 140, 260, 380; H labels between the middle V lines, V labels
    // between the top two H lines, the right edge's label inside the table.
    const Layout g = grid(3, 4);
    const std::vector<Segment> gl = LineGeometry(g, kBox);
    struct GridLabel {
        int line;
        QString text;
        QPoint centre;
    };
    for (const GridLabel& c : std::vector<GridLabel>{{1, "H1", {200, 221}},
                                                     {3, "H3", {200, 11}},
                                                     {4, "V1", {32, 72}},
                                                     {5, "V2", {152, 72}},
                                                     {7, "V4", {368, 72}}}) {
        const Label l = LineLabel(g, gl, c.line);
        EXPECT_EQ(l.text, c.text);
        EXPECT_EQ(l.at, c.centre) << c.line;
        EXPECT_TRUE(l.centred);
    }
}

TEST(TableLines, StylesOfChosenMeasuredAndOtherLines) {
    const QColor red(0xFF, 0, 0), green(0, 0x80, 0), black(Qt::black);
    struct Case {
        int line, selected;
        uint16_t mask;
        LineStyle style;
    };
    for (const Case& c : std::vector<Case>{
             {3, 3, 0x0000, {red, 3}},
             {3, 3, 0xFFFF, {red, 3}},  // the chosen line is red even when measured
             {2, 3, 0x0002, {green, 3}},
             {2, 3, 0x0001, {black, 1}},
             {16, 1, 0x8000, {green, 3}},
             {15, 1, 0x8000, {black, 1}},
         })
        EXPECT_EQ(StyleOf(c.line, c.selected, c.mask), c.style) << c.line << " " << c.mask;
    EXPECT_EQ(LineBit(1), 0x0001);
    EXPECT_EQ(LineBit(16), 0x8000);
    EXPECT_EQ(LineBit(0), 0);
    EXPECT_EQ(LineBit(17), 0);
}

TEST(TableLines, ClickPicksTheNearestLineLowerOnATie) {
    const std::vector<Segment> env = LineGeometry(envelope(), kBox);
    const std::vector<Segment> g33 = LineGeometry(grid(3, 3), kBox);
    struct Case {
        const std::vector<Segment>* lines;
        QPoint click;
        int line;
    };
    for (const Case& c : std::vector<Case>{
             {&env, {20, 230}, 1},    // lines 1, 2 and 3 start here
             {&env, {200, 125}, 2},   // both diagonals and both middle lines cross here
             {&env, {378, 100}, 6},
             {&env, {300, 128}, 7},
             {&env, {100, 21}, 5},
             {&g33, {200, 125}, 2},   // H2 and V2 cross: the H line has the lower number
             {&g33, {198, 60}, 5},
             {&g33, {390, 240}, 1},   // outside the table: nearest by the lines' extension
         })
        EXPECT_EQ(NearestLine(*c.lines, c.click), c.line) << c.click.x() << "," << c.click.y();
    EXPECT_EQ(NearestLine({}, {10, 10}), 0);
}

TEST_F(WyborOsiForm, ComponentsAndRadioGroupPreselectsTheCurrentLine) {
    TWyborOsi f;
    EXPECT_EQ(f.windowTitle(), "Wybór Osi Pomiarowej");
    for (const char* name : {"PaintBox1", "RadioGroupOsie", "BitBtnOk", "BitBtnCancel", "BitBtnPomoc"})
        EXPECT_NE(f.findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(f.RadioGroupOsie->title(), "Wybrana oś");
    EXPECT_EQ(f.RadioGroupOsie->Columns(), 2);
    EXPECT_EQ(f.BitBtnOk->text(), "&OK");
    EXPECT_EQ(f.BitBtnCancel->text(), "Anuluj");
    EXPECT_EQ(f.BitBtnPomoc->text(), "Pomo&c");
    EXPECT_EQ(f.PanelLaser->text(), "Laser");

    f.Setup(3, 4, 0x0003, true, 5);
    f.FormShow();
    EXPECT_EQ(f.RadioGroupOsie->Items(),
              QStringList({"Oś H1", "Oś H2", "Oś H3", "Oś V1", "Oś V2", "Oś V3", "Oś V4"}));
    EXPECT_EQ(f.RadioGroupOsie->ItemIndex(), 4);
    EXPECT_TRUE(f.RadioGroupOsie->button(4)->isChecked());
    EXPECT_EQ(f.SelectedLine(), 5);

    // A click on the picture and a click in the list both choose.
    const Segment v4 = f.Lines()[6];
    f.PaintBox1MouseDown({v4.start.x() - 2, 100});
    EXPECT_EQ(f.SelectedLine(), 7);
    EXPECT_EQ(f.RadioGroupOsie->ItemIndex(), 6);
    f.RadioGroupOsie->button(1)->click();
    EXPECT_EQ(f.SelectedLine(), 2);
}

TEST_F(WyborOsiForm, PictureShowsChosenRedMeasuredGreenOthersBlack) {
    TWyborOsi f;
    auto colourOn = [&](int line) {
        const Segment s = f.Lines()[size_t(line - 1)];
        // A quarter along, away from labels and crossings.
        const QPoint p = s.start + (s.end - s.start) * 3 / 4;
        return f.PaintBox1->bitmap.toImage().pixelColor(p);
    };
    f.Setup(3, 4, 0x0003, true, 5);
    f.FormShow();
    EXPECT_EQ(colourOn(5), QColor(0xFF, 0, 0));
    EXPECT_EQ(colourOn(1), QColor(0, 0x80, 0));
    EXPECT_EQ(colourOn(2), QColor(0, 0x80, 0));
    EXPECT_EQ(colourOn(3), QColor(Qt::black));
    EXPECT_EQ(colourOn(7), QColor(Qt::black));

    // Choosing another line gives the previous one its own colour back.
    f.RadioGroupOsie->SetItemIndex(0);
    EXPECT_EQ(colourOn(1), QColor(0xFF, 0, 0));
    EXPECT_EQ(colourOn(5), QColor(Qt::black));

    // Every line measured: all green but the chosen one.
    f.Setup(0, 0, 0xFFFF, false, 4);
    f.FormShow();
    for (int k = 1; k <= 8; ++k) {
        const QColor c = colourOn(k);
        if (k == 4) {
            EXPECT_EQ(c, QColor(0xFF, 0, 0));
        } else {
            EXPECT_EQ(c, QColor(0, 0x80, 0)) << k;
        }
    }
}

TEST_F(WyborOsiForm, OkReturnsTheChosenLineCancelMinusOne) {
    whenShown([](TWyborOsi& f) {
        EXPECT_EQ(f.RadioGroupOsie->ItemIndex(), 2) << "shown with the current line";
        f.RadioGroupOsie->button(5)->click();
        f.BitBtnOk->click();
    });
    EXPECT_EQ(TWyborOsi::Execute(3, 3, 0x0001, true, 3), 6);

    whenShown([](TWyborOsi& f) {
        f.RadioGroupOsie->button(5)->click();
        f.BitBtnCancel->click();
    });
    EXPECT_EQ(TWyborOsi::Execute(0, 0, 0, false, 1), -1);

    whenShown([](TWyborOsi& f) { f.reject(); });  // closed by the window's frame
    EXPECT_EQ(TWyborOsi::Execute(0, 0, 0, false, 2), -1);

    // No lines to choose from: nothing is shown.
    EXPECT_EQ(TWyborOsi::Execute(0, 0, 0, true, 1), -1);
}

TEST_F(WyborOsiForm, MeasuredLineAsksBeforeClosing) {
    std::vector<MessageDlgRequest> asked;
    int answer = mrNo;
    setMessageDlgHook([&](const MessageDlgRequest& r) {
        asked.push_back(r);
        return answer;
    });
    HookGuard hook([&](TWyborOsi& f) {
        f.BitBtnOk->click();
        EXPECT_FALSE(f.result() == QDialog::Accepted) << "No keeps the form open";
        EXPECT_EQ(f.SelectedLine(), 2);
        answer = mrYes;
        f.BitBtnOk->click();
        return f.result();
    });
    EXPECT_EQ(TWyborOsi::Execute(0, 0, 0x0002, false, 2), 2);
    setMessageDlgHook({});
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].text, "Wybrana oś jest już zmierzona!\r\rCzy chcesz powtórnie wykonać pomiar?");
    EXPECT_EQ(asked[0].type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(asked[0].buttons, unsigned(mbYes | mbNo));

    // A line not yet measured closes without a question.
    asked.clear();
    HookGuard plain([](TWyborOsi& f) {
        f.BitBtnOk->click();
        return f.result();
    });
    EXPECT_EQ(TWyborOsi::Execute(0, 0, 0x0002, false, 17), 1);
    EXPECT_TRUE(asked.empty());
}

TEST_F(WyborOsiForm, HelpOpensItsContext) {
    TWyborOsi f;
    f.BitBtnPomoc->click();
    EXPECT_EQ(testsupport::TakeHelpPage(), "wybor_osi.html");
}

// The form as the inspector sees it for a 3 x 4 grid with H1 and V1 measured and V2 chosen;
// saved as a PNG when VKM30_SCREENSHOT_DIR names a folder.
TEST_F(WyborOsiForm, Screenshot) {
    TWyborOsi f;
    f.Setup(3, 4, 0x0009, true, 5);
    f.show();
    QApplication::processEvents();
    const QPixmap shot = f.grab();
    EXPECT_FALSE(shot.isNull());
    const QByteArray dir = qgetenv("VKM30_SCREENSHOT_DIR");
    if (!dir.isEmpty()) shot.save(QString::fromLocal8Bit(dir) + "/WyborOsi_grid3x4.png");
    f.Setup(0, 0, 0x0011, false, 2);
    f.FormShow();
    QApplication::processEvents();  // the new radio buttons are shown from the event loop
    if (!dir.isEmpty()) f.grab().save(QString::fromLocal8Bit(dir) + "/WyborOsi_envelope.png");
}

class WyborOsiWindow : public MainWindowTest {};

// The flatness page's "P&omiar" asks on the form with the map's layout and measured lines.
TEST_F(WyborOsiWindow, FlatnessLineStartAsksOnTheForm) {
    start();
    TMainForm& f = *form();
    f.FlatnessMethod = 1;
    f.FlatnessHLines = 3;
    f.FlatnessVLines = 4;
    f.StraightnessControl().FlatnessLinesDone = 0x0009;
    f.StraightnessControl().FlatnessLine = 4;
    int shown = 0;
    HookGuard hook([&](TWyborOsi& w) {
        ++shown;
        EXPECT_EQ(w.RadioGroupOsie->itemCount(), 7);
        EXPECT_EQ(w.SelectedLine(), 4);
        w.RadioGroupOsie->SetItemIndex(5);
        w.BitBtnOk->click();
        return w.result();
    });
    Control<QPushButton>(&f, "ButtonMapaPlaskosciStart")->click();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(f.StraightnessControl().FlatnessLine, 6);
    EXPECT_EQ(f.MeasurementMode, 3);
    EXPECT_EQ(f.NotebookMainForm->currentIndex(), 3);

    // Cancelled: the line stays and no page changes.
    f.NotebookMainForm->setCurrentIndex(8);
    HookGuard cancel([&](TWyborOsi& w) {
        w.BitBtnCancel->click();
        return w.result();
    });
    Control<QPushButton>(&f, "ButtonMapaPlaskosciStart")->click();
    EXPECT_EQ(f.StraightnessControl().FlatnessLine, 6);
    EXPECT_EQ(f.NotebookMainForm->currentIndex(), 8);
}
