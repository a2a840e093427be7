// The banded engine's page layout, the PDF it writes and the preview window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>

#include "reports/Protokol.h"
#include "reports/ReportEngine.h"
#include "reports/prev1_32.h"

using namespace reports;

namespace {

// A report of `rows` rows of 100 units: ten rows fill about a page.
std::unique_ptr<Report> rowsReport(int rows, bool firstHeader, bool lastFooter) {
    auto r = std::make_unique<Report>();
    r->title = QStringLiteral("Próba");
    r->firstPageHeader = firstHeader;
    r->lastPageFooter = lastFooter;
    Band& h = r->AddBand(BandKind::PageHeader, "Header", 40);
    h.Label("HeaderText", "Nagłówek", 0, 0, 200, 20);
    r->AddBand(BandKind::Title, "Title", 30).Label("TitleText", "Tytuł", 0, 0, 200, 20);
    Band& d = r->AddBand(BandKind::Detail, "Detail", 100);
    d.Label("Row", QString(), 0, 0, 200, 20);
    BandItem& page = r->AddBand(BandKind::PageFooter, "Footer", 20).Label("Page", "Strona ", 0, 0, 200, 20);
    page.kind = ItemKind::SysData;
    page.sysData = SysDataKind::PageNumber;
    auto n = std::make_shared<int>(0);
    r->beforePrint = [n] { *n = 0; };
    r->needData = [n, rows, rep = r.get()] {
        if (*n >= rows) return false;
        rep->FindItem("Row")->text = QString::number(++*n);
        return true;
    };
    return r;
}

}  // namespace

TEST(ReportEngine, PagesWithHeaderTitleAndFooterOptions) {
    struct Case {
        bool firstHeader, lastFooter;
        std::vector<int> headers, titles, footers;  // count per page
    };
    const Case cases[] = {
        {true, true, {1, 1, 1}, {1, 0, 0}, {1, 1, 1}},
        {false, false, {0, 1, 1}, {1, 0, 0}, {1, 1, 0}},
    };
    for (const Case& c : cases) {
        auto r = rowsReport(25, c.firstHeader, c.lastFooter);
        const PageModel m = r->Layout();
        ASSERT_EQ(m.PageCount(), 3);
        int row = 0;
        for (int i = 0; i < 3; ++i) {
            const Page& p = m.pages[size_t(i)];
            EXPECT_EQ(int(p.Named("HeaderText").size()), c.headers[size_t(i)]) << i;
            EXPECT_EQ(int(p.Named("TitleText").size()), c.titles[size_t(i)]) << i;
            EXPECT_EQ(int(p.Named("Page").size()), c.footers[size_t(i)]) << i;
            if (!p.Named("Page").empty()) EXPECT_EQ(p.First("Page")->text, "Strona " + QString::number(i + 1));
            for (const PlacedItem* it : p.Named("Row")) {
                EXPECT_EQ(it->text, QString::number(++row));
                EXPECT_LE(it->rect.top() + 100, kPageHeight - kMarginBottom - 20) << "row runs into the footer";
            }
        }
        EXPECT_EQ(row, 25);
        // Laid out again, the same pages.
        EXPECT_EQ(r->Layout().PageCount(), 3);
    }
}

TEST(ReportEngine, PdfHoldsThePagesText) {
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir dir;
    const TCykl noCycles;
    TRTabela1Form table(noCycles, TMeasurementHeader{}, QStringLiteral("łódź_ąę.dt2"), QStringLiteral("2026-12-10"));
    const QString path = dir.filePath("tabela.pdf");
    ASSERT_TRUE(WritePdf(table.Layout(), path));
    QProcess p;
    p.start(pdftotext, {"-layout", path, "-"});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (const char* t : {"Tabela pomiarów", "Wartość zadana", "Błąd w przód", "łódź_ąę.dt2", "2026-12-10"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(t))) << t << "\n" << text.toStdString();
}

TEST(PreviewWindow, PagingStopsAtBothEnds) {
    auto* w = new TfrmPreview(rowsReport(25, true, true));
    w->show();
    QApplication::processEvents();
    ASSERT_EQ(w->Pages().PageCount(), 3);
    auto* page = w->findChild<QSpinBox*>("sePage");
    auto click = [w](const char* n) { w->findChild<QToolButton*>(n)->click(); };
    EXPECT_EQ(page->maximum(), 3);
    EXPECT_EQ(page->value(), 1);
    click("sbPreviousPage");
    EXPECT_EQ(page->value(), 1);
    click("sbLastPage");
    EXPECT_EQ(page->value(), 3);
    EXPECT_EQ(w->QRPreview->currentPage(), 3);
    click("sbNextPage");
    EXPECT_EQ(page->value(), 3);
    click("sbPreviousPage");
    EXPECT_EQ(page->value(), 2);
    click("sbFirstPage");
    EXPECT_EQ(page->value(), 1);
    click("ZoomTo100");
    EXPECT_EQ(w->findChild<QSpinBox*>("seZoom")->value(), 100);
    EXPECT_EQ(w->windowTitle(), "Próba");
    QPointer<TfrmPreview> alive(w);
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(w, &esc);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull());  // closed and freed
}

TEST(PreviewWindow, ReportThatMayNotPrintHidesThePrintControls) {
    for (bool allowed : {true, false}) {
        auto r = rowsReport(1, true, true);
        r->allowPrint = allowed;
        auto* w = new TfrmPreview(std::move(r));
        w->show();
        QApplication::processEvents();
        for (const char* n : {"Print", "PrintSetup", "lblCopies", "SpinEditCopies"})
            EXPECT_EQ(w->findChild<QWidget*>(n)->isVisible(), allowed) << n;
        EXPECT_EQ(w->findChild<QToolButton*>("Print")->toolTip(), "Drukuj");
        w->close();
    }
}
