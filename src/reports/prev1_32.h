#pragma once
// The preview window of every printed report: page and zoom edits, paging and zoom buttons,
// printer set-up, print with a number of copies, close. The pages come from the report's page
// model; the same painter routine draws them on the screen and on the printer.
#include <QPrinter>
#include <functional>
#include <memory>

#include "foundations/FR_Utils.h"
#include "reports/ReportEngine.h"

class QLabel;
class QPrintPreviewWidget;
class QSpinBox;
class QToolButton;
class QPushButton;
class QPrinter;

namespace reports {

class TfrmPreview : public TSSForm {
    Q_OBJECT
public:
    // The window lays the report out itself and owns it while it is open.
    explicit TfrmPreview(std::unique_ptr<Report> report, QWidget* parent = nullptr);
    ~TfrmPreview() override;

    const PageModel& Pages() const { return model_; }
    QPrintPreviewWidget* QRPreview = nullptr;
    QSpinBox* sePage = nullptr;
    QSpinBox* seZoom = nullptr;
    QSpinBox* SpinEditCopies = nullptr;
    QLabel* lblCopies = nullptr;
    QToolButton *sbFirstPage = nullptr, *sbPreviousPage = nullptr, *sbNextPage = nullptr, *sbLastPage = nullptr;
    QToolButton *ZoomToWidth = nullptr, *ZoomTo100 = nullptr, *ZoomToFit = nullptr;
    QToolButton *PrintSetup = nullptr, *Print = nullptr;
    QPushButton* BitBtnExit = nullptr;

    // The printer the pages go to (the set-up dialog changes it).
    QPrinter& Printer() { return *printer_; }
    // Prints the generated pages with the copies of SpinEditCopies; false when nothing was printed.
    bool PrintPages();
    // Printer set-up; when confirmed the pages are printed.
    bool RunPrintSetup();

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void ShowPage(int page);
    void ShowZoom();
    void PaintRequested(QPrinter* printer);

    std::unique_ptr<Report> report_;
    PageModel model_;
    std::unique_ptr<QPrinter> printer_;
    bool firstPagePending_ = true;
    bool printAllowed_ = true;
};

// Prints a model on a set-up printer, its page range only; "print to file" goes through the
// safe-save routine like every file the program writes. False when nothing was written.
bool PrintOnPrinter(const PageModel& model, QPrinter& printer);

// Opens the preview of a report (not modal; the window frees itself on close).
TfrmPreview* ShowPreview(std::unique_ptr<Report> report, QWidget* parent = nullptr);

}  // namespace reports
