// The main window on the smallest screen it serves: whatever page shows, the window stays within
// the screen and the environment panel beside the page is whole.
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QStackedWidget>

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>

#include "MainWindowFixture.h"
#include "app/AngularPage.h"
#include "app/PositioningRun.h"
#include "foundations/HeadList.h"
#include "foundations/ProgramMessages.h"
#include "instrument/AirCorrection.h"
#include "platform/Chart.h"

namespace {

class ScreenFitTest : public MainWindowTest {};

TEST_F(ScreenFitTest, EveryPageKeepsTheEnvironmentPanelInsideA1024By768Window) {
    start();
    TMainForm* f = form();
    f->AdjustToScreen(1024, 768);
    f->resize(1024, 768);
    f->show();
    auto* meteo = Control<QFrame>(f, "PanelMeteo");
    QStackedWidget* pages = f->NotebookMainForm;
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        QCoreApplication::processEvents();
        EXPECT_LE(f->width(), 1024) << "page " << i << " widens the window past the screen";
        EXPECT_LE(f->height(), 768) << "page " << i << " makes the window taller than the screen";
        if (!meteo->isVisible()) continue;
        const QRect r(meteo->mapTo(f, QPoint(0, 0)), meteo->size());
        EXPECT_LE(r.right(), f->width() - 1) << "page " << i;
        EXPECT_LE(r.bottom(), f->height() - 1) << "page " << i;
        EXPECT_GE(meteo->width(), meteo->minimumSizeHint().width()) << "page " << i;
    }
    pages->setCurrentIndex(0);
}

// The panel leaves the measurement page most of a 1024 x 768 window, and switching a quantity
// between the station's reading and its typed value puts the value in the same place, so the
// panel keeps its width.
TEST_F(ScreenFitTest, TheEnvironmentPanelIsNarrowAndKeepsItsWidthWhenABoxIsSwitched) {
    writeProgramFile("Kalibracja.dat", QByteArray(480, '\0'));  // the station's boxes enabled
    start();
    TMainForm* f = form();
    f->AdjustToScreen(1024, 768);
    f->resize(1024, 768);
    f->show();
    ASSERT_TRUE(finishStartup());  // its end opens the main menu
    f->NotebookMainForm->setCurrentIndex(4);  // velocity
    QCoreApplication::processEvents();
    auto* meteo = Control<QFrame>(f, "PanelMeteo");
    ASSERT_TRUE(meteo->isVisible());
    EXPECT_LE(meteo->width(), f->width() / 4);
    const int width = meteo->width();
    // Each reading whole in every unit, at the top of its range.
    auto fits = [&](const char* name, const QString& text) {
        auto* l = Control<QLabel>(f, name);
        EXPECT_LE(l->fontMetrics().horizontalAdvance(text), l->contentsRect().width()) << name << " " << text.toStdString();
    };
    for (uint8_t unit : {0, 1}) fits("Label25", instrument::FormatTemperature(unit, 40.0));
    for (uint8_t unit : {0, 1, 2}) fits("Label24", instrument::FormatPressure(unit, 1040.0));
    const struct {
        const char* box;
        const char* reading;
        const char* entry;
    } rows[] = {{"CBTemp", "Label25", "SETempPow"},
                {"CBTMat", "Label19", "SETempMat"},
                {"CBWilg", "Label23", "SEWilgotnosc"},
                {"CBCis", "Label24", "seCisnienie"}};
    for (const auto& row : rows) {
        auto* box = Control<QCheckBox>(f, row.box);
        auto* reading = Control(f, row.reading);
        auto* entry = Control(f, row.entry);
        ASSERT_TRUE(box->isEnabled()) << row.box;
        ASSERT_TRUE(box->isChecked()) << row.box;
        EXPECT_TRUE(reading->isVisible()) << row.reading;
        EXPECT_FALSE(entry->isVisible()) << row.entry;
        const QRect shown(reading->mapTo(meteo, QPoint(0, 0)), reading->size());
        box->setChecked(false);
        QCoreApplication::processEvents();
        EXPECT_FALSE(reading->isVisible()) << row.reading;
        EXPECT_TRUE(entry->isVisible()) << row.entry;
        const QRect typed(entry->mapTo(meteo, QPoint(0, 0)), entry->size());
        EXPECT_EQ(typed.right(), shown.right()) << row.entry << " sits where the reading was";
        EXPECT_EQ(meteo->width(), width) << row.box;
        box->setChecked(true);
    }
    f->NotebookMainForm->setCurrentIndex(0);
}

// A run of two cycles of eleven points, 100 mm apart, with figures of a few µm.
void FillRun(TCykl& cycles) {
    cycles.Clear();
    for (int c = 0; c < 2; ++c) {
        TPunkt& p = cycles.Add().Punkt;
        for (int k = 0; k < 11; ++k) {
            TPunktItem& it = p.Add();
            it.Dystans = 100.0 * k;
            it.Xa = k + 2.0 * c + 0.123;
            it.Xr = k - 3.25 + 2.0 * c;
        }
    }
}

class ScreenSizes : public MainWindowTest, public ::testing::WithParamInterface<QSize> {
protected:
    TMainForm* shown() {
        start();
        TMainForm* f = form();
        const QSize screen = GetParam();
        f->AdjustToScreen(screen.width(), screen.height());
        f->resize(screen);
        f->show();
        QCoreApplication::processEvents();
        return f;
    }
    // Saved as a PNG when VKM30_SCREENSHOTS names a folder.
    void shot(QWidget* w, const char* name) {
        const QString folder = qEnvironmentVariable("VKM30_SCREENSHOTS");
        if (folder.isEmpty()) return;
        w->grab().save(QStringLiteral("%1/%2_%3.png").arg(folder, QString::fromLatin1(name)).arg(GetParam().width()));
    }
};

// The results of every standard: each column of the list lies inside it, and each text is
// whole in its column.
TEST_P(ScreenSizes, EveryColumnOfTheResultsListShowsWhole) {
    TMainForm* f = shown();
    f->MeasurementMode = 0;
    f->NotebookMainForm->setCurrentIndex(3);
    FillRun(*f->PositioningCycles);
    auto* list = Control<THeaderListbox>(f, "ListboxWyniki");
    for (int standard = 0; standard < 6; ++standard) {
        SCOPED_TRACE(standard);
        Control<QComboBox>(f, "ComboBoxNorma")->setCurrentIndex(standard);
        ASSERT_TRUE(f->ShowPositioningResults());
        QCoreApplication::processEvents();
        ASSERT_GT(list->Count(), 0);
        // The list itself within its panel, and its columns within the list.
        const QWidget* panel = list->parentWidget();
        EXPECT_TRUE(panel->rect().contains(list->geometry())) << "the list sticks out of its panel";
        const int viewport = list->listBox()->viewport()->width();
        EXPECT_LE(list->SectionLeft(2) + list->SectionWidth(2), viewport);
        const QFontMetrics fm(list->listBox()->font());
        for (int i = 0; i < list->Count(); ++i) {
            const QStringList fields = THeaderListbox::SplitRow(list->Item(i), u'*', 3);
            for (int c = 0; c < 3; ++c)
                EXPECT_LE(fm.horizontalAdvance(fields[c].trimmed()), list->SectionWidth(c) - 6)
                    << "row " << i << " column " << c << ": " << fields[c].toStdString();
        }
        for (int c = 0; c < 3; ++c)
            EXPECT_LE(list->header()->fontMetrics().horizontalAdvance(list->Sections()[c].text), list->SectionWidth(c))
                << list->Sections()[c].text.toStdString();
    }
    shot(f, "results");
}

// The service panel whole: no scrolling, the ways out and the environment channels on screen,
// and a title of its own while it shows.
TEST_P(ScreenSizes, TheServicePanelFitsWithItsWaysOutAndItsTitle) {
    TMainForm* f = shown();
    const QString before = f->windowTitle();
    f->EnterServicePanel();
    QCoreApplication::processEvents();
    EXPECT_EQ(f->windowTitle(), QString::fromUtf8("Veldrasta - Panel serwisowy"));
    auto* scroll = Control<QScrollArea>(f, "ScrollPanelSerwisowy");
    EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());
    const QRect window = f->rect();
    for (const char* name : {"PSButtonKoniecTrybuSerwisowego", "PSButton31", "GroupBoxMeteoSerwis", "GroupBoxUstawienia",
                             "GroupBoxTransmisjaRS", "GroupBoxLadowanie", "NotebookFlagi"}) {
        QWidget* w = Control(f, name);
        ASSERT_TRUE(w->isVisible()) << name;
        EXPECT_TRUE(window.contains(QRect(w->mapTo(f, QPoint(0, 0)), w->size()))) << name << " off the window";
    }
    shot(f, "service");
    Control<QPushButton>(f, "PSButtonKoniecTrybuSerwisowego")->click();
    EXPECT_EQ(f->windowTitle(), before);
}

// The table of a cycle: every column as wide as its heading and its widest value, the grid
// using the width of the page.
TEST_P(ScreenSizes, TheMeasurementTableShowsEveryHeadingAndValueWhole) {
    TMainForm* f = shown();
    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    FillRun(*f->PositioningCycles);
    (*f->PositioningCycles)[0].Punkt[10].Dystans = 12345.678;  // a long run's widest value
    f->PositioningControl().CurrentCycle() = 1;
    f->MenuCommand("TabelaPomiarow")->setEnabled(true);
    f->MenuCommand("TabelaPomiarow")->trigger();
    QCoreApplication::processEvents();
    auto* grid = Control<QTableWidget>(f, "CyklGrid");
    ASSERT_TRUE(grid->isVisible());
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(16);
    const QFontMetrics values(font);
    font.setBold(true);
    const QFontMetrics headings(font);
    int total = 0;
    for (int c = 0; c < 6; ++c) {
        const int w = grid->columnWidth(c);
        total += w;
        EXPECT_LE(headings.horizontalAdvance(grid->item(0, c)->text()), w) << c;
        for (int r = 1; r < grid->rowCount(); ++r) {
            const int text = values.horizontalAdvance(grid->item(r, c)->text());
            EXPECT_GE(w - text - w / 3, 0) << "row " << r << " column " << c << " " << grid->item(r, c)->text().toStdString();
        }
    }
    // (The shares are whole pixels: up to four of them may be left over.)
    EXPECT_LE(total, grid->viewport()->width());
    EXPECT_GE(total, grid->viewport()->width() - 4) << "the grid fills the page";
    EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
    shot(f, "table");
}

// The angular run's set-up prompt lies over the plot area, its text whole within it, not over
// the axes and the legend.
TEST_P(ScreenSizes, TheAngularSetUpPromptStaysOverThePlot) {
    TMainForm* f = shown();
    ASSERT_TRUE(finishStartup());  // its end opens the main menu
    Control<QPushButton>(f, "BitBtnPodzKatowe")->click();
    QCoreApplication::processEvents();
    ASSERT_EQ(f->NotebookMainForm->currentIndex(), 5);
    auto* chart = Control<platform::TChart>(f, "WykresPK");
    auto* info = Control<QLabel>(f, "LabelInfoPK");
    for (const QString& text : {Msg("stWUstawSilnik"), QStringLiteral("Initial setting of the reflector, then wait")}) {
        f->Angular().ShowAngularInfo(text);
        QCoreApplication::processEvents();
        ASSERT_TRUE(info->isVisible());
        const QRect plot = chart->LayoutFor(QRectF(chart->rect())).plotRect.toAlignedRect();
        EXPECT_GE(info->geometry().left(), plot.left() - 1) << text.toStdString();
        EXPECT_LE(info->geometry().right(), plot.right() + 1) << text.toStdString();
        // Whole: on one line when it fits, else broken into lines that the label is tall enough for.
        if (info->fontMetrics().horizontalAdvance(text) > info->width()) {
            EXPECT_TRUE(info->wordWrap());
            EXPECT_GE(info->height(), info->heightForWidth(info->width()));
        }
    }
    shot(f, "angular_prompt");
}

INSTANTIATE_TEST_SUITE_P(Screens, ScreenSizes, ::testing::Values(QSize(1024, 768), QSize(1920, 1080)),
                         [](const auto& info) { return std::to_string(info.param.width()); });

}  // namespace
