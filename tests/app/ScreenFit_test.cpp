// The main window on the smallest screen it serves: whatever page shows, the window stays within
// the screen and the environment panel beside the page is whole.
#include <QFrame>
#include <QStackedWidget>

#include "MainWindowFixture.h"

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

}  // namespace
