// "Podgląd wydruku" and "&Drukuj" on the real window: the chart printouts of the straightness,
// flatness and vibration pages, the chart choice, the cancelled printer set-up.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPrintDialog>
#include <QPushButton>
#include <QStackedWidget>

#include "app/MainWindowFixture.h"
#include "app/UWybDrukFFT.h"
#include "evaluation/MeasurementHeader.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RadioGroup.h"
#include "platform/Chart.h"
#include "reports/RaportDruk.h"
#include "reports/prev1_32.h"
#include "support/ModalDialog.h"

namespace {

class PrintCommandsTest : public MainWindowTest {
protected:
    // The preview window the command opened (closed and freed here), or null.
    std::optional<reports::PageModel> previewed() {
        QApplication::processEvents();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<reports::TfrmPreview*>(w); p && p->isVisible()) {
                reports::PageModel m = p->Pages();
                if (!qEnvironmentVariableIsEmpty("VKM30_SCREENSHOTS"))
                    reports::WritePdf(m, QDir(qEnvironmentVariable("VKM30_SCREENSHOTS"))
                                             .filePath(QStringLiteral("print_%1.pdf").arg(++shots)));
                p->close();
                QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                return m;
            }
        return std::nullopt;
    }
    void answerChoice(int item, bool ok, QString* caption = nullptr) {
        testsupport::whenModalShown<TFWybDrukFFT>([=](TFWybDrukFFT& d) {
            if (caption) *caption = d.RadioGroup1->item(item);
            d.RadioGroup1->SetItemIndex(item);
            d.findChild<QPushButton*>(ok ? "BitBtn1" : "BitBtn2")->click();
        });
    }
    int shots = 0;
    static int chartSeries(const reports::PageModel& m) {
        const reports::PlacedItem* c = m.pages.at(0).First("QRChart1");
        return c && c->chart ? c->chart->chart->SeriesCount() : -1;
    }
};

TEST_F(PrintCommandsTest, ChartPrintoutsOfThePages) {
    start();
    TMainForm* f = form();
    f->MeasurementHeader().MachineType.clear();
    f->MeasurementHeader().Axis = QStringLiteral("Y");

    // A two-plane straightness run: the vertical plane on choice 1, with its caption.
    f->MeasurementMode = 2;
    f->StraightnessMethod = 2;
    Control<QLabel>(f, "LabBladProsY")->setText(QStringLiteral("Błąd w pionie"));
    QString item;
    answerChoice(1, true, &item);
    f->MenuCommand("Podgladwydruku1")->trigger();
    auto m = previewed();
    ASSERT_TRUE(m);
    EXPECT_EQ(item, "Oś pionowa");
    EXPECT_EQ(m->pages[0].First("QRLuzZwrotny")->text, "Błąd w pionie");
    EXPECT_EQ(m->pages[0].First("QROs")->text, "Y");
    EXPECT_EQ(chartSeries(*m), Control<platform::TChart>(f, "WykresOsY")->SeriesCount());
    answerChoice(0, false);  // cancelled: nothing
    f->MenuCommand("Podgladwydruku1")->trigger();
    EXPECT_FALSE(previewed());
    EXPECT_EQ(f->StraightnessMethod, 2);

    // The flatness map on its page, no title.
    f->MeasurementMode = 3;
    f->NotebookMainForm->setCurrentIndex(8);
    f->MenuCommand("Podgladwydruku1")->trigger();
    m = previewed();
    ASSERT_TRUE(m);
    EXPECT_EQ(m->pages[0].First("QRLuzZwrotny")->text, "");
    EXPECT_EQ(chartSeries(*m), Control<platform::TChart>(f, "WykresPlaskosci")->SeriesCount());

    // The vibration run: the spectrum on choice 1.
    f->MeasurementMode = 5;
    answerChoice(1, true, &item);
    f->MenuCommand("Podgladwydruku1")->trigger();
    m = previewed();
    ASSERT_TRUE(m);
    EXPECT_EQ(item, "Wykres częstotliwościowy");
    EXPECT_EQ(chartSeries(*m), Control<platform::TChart>(f, "WykresFFT")->SeriesCount());
    EXPECT_EQ(messageCount(Msg("stBrakInfo")), 0);  // the preview never asks about the machine

    // The table of measured cycles on page 7 of a positioning run.
    f->MeasurementMode = 0;
    f->NotebookMainForm->setCurrentIndex(7);
    f->PositioningCycles->Clear();
    for (int c = 0; c < 2; ++c) {
        TCyklItem& cycle = f->PositioningCycles->Add();
        for (int k = 0; k < 3; ++k) cycle.Punkt.Add().Dystans = 10.0 * k;
    }
    f->MenuCommand("Podgladwydruku1")->trigger();
    m = previewed();
    ASSERT_TRUE(m);
    EXPECT_EQ(m->title, "Tabela pomiarów");
    int rows = 0;
    for (const reports::Page& p : m->pages) rows += int(p.Named("QRNrPunktu").size());
    EXPECT_EQ(rows, 6);
}

TEST_F(PrintCommandsTest, PrintAsksForTheMachineAndACancelledSetUpPrintsNothing) {
    start();
    TMainForm* f = form();
    f->MeasurementMode = 4;
    f->MeasurementHeader().MachineType.clear();
    bool setupShown = false;
    testsupport::whenModalShown<QPrintDialog>([&](QPrintDialog& d) {
        setupShown = true;
        d.reject();
    });
    f->MenuCommand("Drukuj1")->trigger();  // the question is answered No by the fixture
    EXPECT_EQ(messageCount(Msg("stBrakInfo")), 1);
    EXPECT_TRUE(setupShown);
    EXPECT_FALSE(previewed());
}

}  // namespace
