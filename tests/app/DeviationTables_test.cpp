// The deviation tables beside the positioning and angular charts and the view commands of those
// pages, through the real window.
#include <QAction>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>

#include "MainWindowFixture.h"
#include "app/CoRysowac.h"
#include "app/DeviationGrids.h"
#include "app/DialogParts.h"
#include "app/PunktyPoz.h"
#include "evaluation/PointStore.h"
#include "foundations/MeasurementModes.h"
#include "support/ModalDialog.h"

namespace {

class DeviationTablesTest : public MainWindowTest {
protected:
    void TearDown() override {
        LengthUnit = 0;
        MainWindowTest::TearDown();
    }
    // One cycle: 150 mm with -3.14159 µm forward and 2.25 µm backward, then 300 mm.
    void showCycle() {
        TMainForm& f = *form();
        f.PositioningCycles->Clear();
        TPunkt& p = f.PositioningCycles->Add().Punkt;
        for (auto [d, xa, xr] : {std::tuple{150.0, -3.14159, 2.25}, std::tuple{300.0, 1.0, -1.0}}) {
            TPunktItem& it = p.Add();
            it.Dystans = d;
            it.Xa = xa;
            it.Xr = xr;
        }
        f.Points().ShowPositioningCycle(1);
    }
    // Pixels of a cell whose colour is near `c`.
    static int pixelsNear(const QImage& img, const QRect& r, QColor c) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor p = img.pixelColor(x, y);
                n += std::abs(p.red() - c.red()) < 60 && std::abs(p.green() - c.green()) < 60 &&
                     std::abs(p.blue() - c.blue()) < 60;
            }
        return n;
    }
};

TEST_F(DeviationTablesTest, CellsShowTheDeviationsAndTheTargetOrNumber) {
    start();
    TMainForm& f = *form();
    Control<QPushButton>(&f, "BitBtnpozycjonowanie")->click();
    f.MenuCommand("MenuItemTabelkaOdchylek")->setChecked(true);
    Control<QTableWidget>(&f, "GridOdchylka")->setVisible(true);
    f.Dystans1->trigger();  // the first column shows the target
    showCycle();
    QTableWidget& g = *Control<QTableWidget>(&f, "GridOdchylka");
    ASSERT_GE(g.rowCount(), 3);
    EXPECT_EQ(g.item(1, 1)->text(), "-3,1");
    EXPECT_EQ(g.item(1, 2)->text(), "2,3");  // 2.25: half away from zero
    EXPECT_EQ(g.item(1, 0)->text(), "150,0");
    LengthUnit = 1;
    showCycle();
    EXPECT_EQ(g.item(1, 0)->text(), "5,9");
    LengthUnit = 0;
    f.Numerpunktu1->trigger();
    showCycle();
    EXPECT_EQ(g.item(1, 0)->text(), "0");
    EXPECT_EQ(g.item(2, 0)->text(), "1");

    // Hidden with its view command and shown again: the content stays.
    f.MenuCommand("MenuItemTabelkaOdchylek")->setChecked(false);
    EXPECT_TRUE(g.isHidden());
    f.MenuCommand("MenuItemTabelkaOdchylek")->setChecked(true);
    EXPECT_FALSE(g.isHidden());
    EXPECT_EQ(g.item(1, 1)->text(), "-3,1");
}

TEST_F(DeviationTablesTest, TableDrawsItsColoursAndFitsItsColumnsToItsWidth) {
    start();
    TMainForm& f = *form();
    Control<QPushButton>(&f, "BitBtnpozycjonowanie")->click();
    Control<QTableWidget>(&f, "GridOdchylka")->setVisible(true);
    showCycle();
    QTableWidget& g = *Control<QTableWidget>(&f, "GridOdchylka");
    g.setParent(nullptr);  // on its own, at a size of the test's choosing
    g.resize(306, 160);
    g.show();
    f.DeviationGridWidth = 0;  // as a page entry leaves it
    for (int i = 0; i < 3; ++i) {
        g.viewport()->repaint();
        QCoreApplication::processEvents();
    }
    const int client = g.viewport()->width();
    const std::array<int, 3> w = DeviationColumnWidths(client, 1);
    EXPECT_EQ(g.columnWidth(0), client / 3);
    EXPECT_EQ(g.columnWidth(1), client / 3);
    EXPECT_EQ(g.columnWidth(2), w[2]);
    EXPECT_EQ(f.DeviationGridWidth, client);

    const QImage img = g.viewport()->grab().toImage();
    img.save(QStringLiteral("/tmp/shots/deviation_table.png"));
    auto cell = [&](int r, int c) { return g.visualRect(g.model()->index(r, c)).adjusted(1, 1, -2, -2); };
    // The headings of row 0 in the table's own heading, on silver.
    const QImage head = g.horizontalHeader()->grab().toImage();
    const QRect headCell(g.horizontalHeader()->sectionViewportPosition(0) + 2, 2, g.columnWidth(0) - 4,
                         head.height() - 4);
    EXPECT_GT(pixelsNear(head, headCell, QColor(0xC0, 0xC0, 0xC0)), headCell.width() * headCell.height() / 2);
    EXPECT_GT(pixelsNear(img, cell(1, 0), Qt::white), cell(1, 0).width() * cell(1, 0).height() / 2);
    EXPECT_GT(pixelsNear(img, cell(1, 1), QColor(0, 0, 255)), 3);  // forward in blue
    EXPECT_EQ(pixelsNear(img, cell(1, 1), QColor(255, 0, 0)), 0);
    EXPECT_GT(pixelsNear(img, cell(1, 2), QColor(255, 0, 0)), 3);  // backward in red

    // A new width is taken at the next drawing.
    g.resize(246, 160);
    for (int i = 0; i < 3; ++i) {
        g.viewport()->repaint();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(g.columnWidth(0), g.viewport()->width() / 3);
    g.setParent(&f);
}

// A long run: the headings stay above the rows while the rows scroll, and follow row 0.
TEST_F(DeviationTablesTest, HeadingsStayWhileTheRowsScroll) {
    start();
    TMainForm& f = *form();
    f.AdjustToScreen(1024, 768);
    f.resize(1024, 768);
    f.show();
    Control<QPushButton>(&f, "BitBtnpozycjonowanie")->click();
    f.MenuCommand("MenuItemTabelkaOdchylek")->setChecked(true);
    Control<QTableWidget>(&f, "GridOdchylka")->setVisible(true);
    f.PositioningCycles->Clear();
    TPunkt& p = f.PositioningCycles->Add().Punkt;
    for (int k = 0; k < 60; ++k) p.Add().Dystans = 10.0 * k;
    f.Points().ShowPositioningCycle(1);
    QCoreApplication::processEvents();
    QTableWidget& g = *Control<QTableWidget>(&f, "GridOdchylka");
    ASSERT_TRUE(g.isVisible());
    ASSERT_GT(g.verticalScrollBar()->maximum(), 0) << "the rows should not all fit";
    g.scrollToBottom();
    QCoreApplication::processEvents();
    EXPECT_TRUE(g.horizontalHeader()->isVisible());
    EXPECT_TRUE(g.isRowHidden(0));  // not twice
    for (int c = 0; c < 3; ++c) EXPECT_EQ(g.horizontalHeaderItem(c)->text(), g.item(0, c)->text()) << c;
    EXPECT_EQ(g.horizontalHeaderItem(2)->text(), "Xr");
    g.item(0, 2)->setText(QStringLiteral("Ds"));
    EXPECT_EQ(g.horizontalHeaderItem(2)->text(), "Ds");
}

TEST_F(DeviationTablesTest, ViewCommandsOfThePage) {
    start();
    TMainForm& f = *form();
    Control<QPushButton>(&f, "BitBtnpozycjonowanie")->click();
    f.MenuCommand("MenuItemWartosczadana")->setChecked(false);
    EXPECT_TRUE(Control<QFrame>(&f, "PanelWarZadana")->isHidden());
    f.MenuCommand("MenuItemWartosczadana")->setChecked(true);
    EXPECT_FALSE(Control<QFrame>(&f, "PanelWarZadana")->isHidden());

    // "Kreślone parametry" from the chart's pop-up and from the results page.
    int shown = 0;
    for (auto trigger : {std::function<void()>([&] { f.Parametry1->trigger(); }),
                         std::function<void()>([&] { Control<QPushButton>(&f, "ButtonKresParametry")->click(); })}) {
        testsupport::whenModalShown<TFCoRysowac>([&](TFCoRysowac& d) {
            ++shown;
            d.reject();
        });
        trigger();
    }
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(f.MenuCommand("Parametry1"), f.Parametry1);
}

}  // namespace
