// The main window on the smallest screen it serves: whatever page shows, the window stays within
// the screen and the environment panel beside the page is whole.
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QStackedWidget>

#include "MainWindowFixture.h"
#include "instrument/AirCorrection.h"

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

}  // namespace
