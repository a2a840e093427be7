#include <gtest/gtest.h>

#include <QImage>
#include <QListWidget>
#include <QPainter>

#include "foundations/HeadList.h"

TEST(HeaderListbox, RowsSplitIntoTheColumns) {
    struct Case {
        const char* row;
        int sections;
        QStringList expected;
    } cases[] = {
        {"a*b*c", 3, {"a", "b", "c"}},
        {"a*b*c", 2, {"a", "b"}},
        {"a", 3, {"a", "", ""}},
        {"a**c", 3, {"a", "", "c"}},
        {"a*", 3, {"a", "", ""}},
        {"", 2, {"", ""}},
        {"*x", 2, {"", "x"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(THeaderListbox::SplitRow(c.row, u'*', c.sections), c.expected) << c.row << " " << c.sections;

    int pos = 0;
    EXPECT_EQ(THeaderListbox::NextField("ab;cd", pos, u';'), "ab");
    EXPECT_EQ(pos, 3);
    EXPECT_EQ(THeaderListbox::NextField("ab;cd", pos, u';'), "cd");
    EXPECT_EQ(pos, 6);
}

TEST(HeaderListbox, ItemsSectionsAndRedraws) {
    THeaderListbox lb;
    lb.SetSections({{"Nr", 30}, {"Czas", 60}, {"Wartość", 80, 0, Qt::AlignRight}});
    lb.SetItems({"1;12:00;0,5", "2;12:01"});
    lb.AddItem("3;x;y", 1);
    EXPECT_EQ(lb.Count(), 3);
    EXPECT_EQ(lb.Item(1), "2;12:01");
    EXPECT_EQ(lb.ItemFlag(2), 1);
    EXPECT_EQ(lb.ItemFlag(0), 0);
    EXPECT_EQ(lb.ItemFlag(9), 0);
    EXPECT_EQ(lb.SectionLeft(2), 90);
    const QList<QRect> cells = lb.CellRects(QRect(0, 0, 200, 16));
    ASSERT_EQ(cells.size(), 3);
    EXPECT_EQ(cells[1].left(), 30);
    EXPECT_EQ(cells[1].right(), 30 + 60 - 6 - 1);

    lb.SetDelimChar(u';');
    const int redraws = lb.RedrawCount();
    lb.SetDelimChar(u';');  // the same character: no redraw
    lb.SetLBStyle(THLBStyle::hlbStandard);
    EXPECT_EQ(lb.RedrawCount(), redraws);
    lb.SetLBStyle(THLBStyle::hlbOwnerDraw);
    EXPECT_EQ(lb.RedrawCount(), redraws + 1);
}

TEST(HeaderListbox, DrawsFieldsAndTheFlaggedColumnInRed) {
    THeaderListbox lb;
    lb.SetSections({{"A", 40}, {"B", 40}, {"C", 40}});
    lb.SetDelimChar(u'*');
    lb.SetFlagColumn(2);
    lb.AddItem("aaa*bbb*ccc", 1);
    QImage img(120, 16, QImage::Format_RGB32);
    QPalette pal;
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    {
        QPainter p(&img);
        lb.DrawRow(&p, 0, img.rect(), QStyle::State_Enabled, pal);
    }
    auto inkIn = [&](int x0, int x1, auto pred) {
        for (int y = 0; y < img.height(); ++y)
            for (int x = x0; x < x1; ++x)
                if (pred(img.pixelColor(x, y))) return true;
        return false;
    };
    auto red = [](QColor c) { return c.red() > 150 && c.green() < 100 && c.blue() < 100; };
    auto dark = [](QColor c) { return c.red() < 100 && c.green() < 100 && c.blue() < 100; };
    EXPECT_TRUE(inkIn(0, 34, dark));
    EXPECT_FALSE(inkIn(0, 80, red));
    EXPECT_TRUE(inkIn(80, 114, red));

    // Owner-drawn: the handler gets each cell with its column.
    lb.SetLBStyle(THLBStyle::hlbOwnerDraw);
    std::vector<int> cols;
    lb.SetOnDrawCell([&](THeaderListbox*, int index, int col, QPainter*, const QRect& r, QStyle::State) {
        EXPECT_EQ(index, 0);
        EXPECT_EQ(r.left(), col * 40);
        cols.push_back(col);
    });
    QPainter p(&img);
    lb.DrawRow(&p, 0, img.rect(), QStyle::State_Enabled, pal);
    EXPECT_EQ(cols, (std::vector<int>{0, 1, 2}));
}
