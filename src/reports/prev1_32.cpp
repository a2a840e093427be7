#include "reports/prev1_32.h"

#include <QAbstractScrollArea>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace reports {

namespace {

QToolButton* speedButton(QWidget* parent, const char* name, const QString& text, const QString& hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(text);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    return b;
}

}  // namespace

TfrmPreview::TfrmPreview(std::unique_ptr<Report> report, QWidget* parent)
    : TSSForm(parent), report_(std::move(report)), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("Generowanie podglądu - proszę czekać!!!"));
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setAttribute(Qt::WA_DeleteOnClose);
    printAllowed_ = report_ ? report_->allowPrint : false;
    if (report_) model_ = report_->Layout();

    printer_->setPageSize(QPageSize(QPageSize::A4));
    printer_->setPageOrientation(QPageLayout::Portrait);
    printer_->setFullPage(true);
    printer_->setPageMargins(QMarginsF(0, 0, 0, 0));
    printer_->setDocName(model_.title);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(4, 2, 4, 2);
    auto* label1 = new QLabel(QStringLiteral("&Strona"), panel);
    label1->setObjectName(QStringLiteral("Label1"));
    sePage = new QSpinBox(panel);
    sePage->setObjectName(QStringLiteral("sePage"));
    sePage->setToolTip(QStringLiteral("Idź do określonej strony"));
    sePage->setRange(1, 1);
    label1->setBuddy(sePage);
    auto* label3 = new QLabel(QStringLiteral("&Zoom"), panel);
    label3->setObjectName(QStringLiteral("Label3"));
    label3->setToolTip(QStringLiteral("Zoom to the specified percentage"));
    seZoom = new QSpinBox(panel);
    seZoom->setObjectName(QStringLiteral("seZoom"));
    seZoom->setToolTip(QStringLiteral("Procent powiększenia"));
    seZoom->setRange(5, 1000);
    seZoom->setSuffix(QStringLiteral(" %"));
    label3->setBuddy(seZoom);
    sbFirstPage = speedButton(panel, "sbFirstPage", QString(), QStringLiteral("Idź do pierwszej strony"));
    sbPreviousPage = speedButton(panel, "sbPreviousPage", QString(), QStringLiteral("Idź do porzedniej strony"));
    sbNextPage = speedButton(panel, "sbNextPage", QString(), QStringLiteral("Idź do następnej strony"));
    sbLastPage = speedButton(panel, "sbLastPage", QString(), QStringLiteral("Idź do ostatniej strony"));
    sbFirstPage->setIcon(style()->standardIcon(QStyle::SP_MediaSkipBackward));
    sbPreviousPage->setIcon(style()->standardIcon(QStyle::SP_MediaSeekBackward));
    sbNextPage->setIcon(style()->standardIcon(QStyle::SP_MediaSeekForward));
    sbLastPage->setIcon(style()->standardIcon(QStyle::SP_MediaSkipForward));
    ZoomToWidth = speedButton(panel, "ZoomToWidth", QStringLiteral("<->"), QStringLiteral("Szerokość strony"));
    ZoomTo100 = speedButton(panel, "ZoomTo100", QStringLiteral("100%"), QStringLiteral("Powiększenie 100%"));
    ZoomToFit = speedButton(panel, "ZoomToFit", QStringLiteral("[ ]"), QStringLiteral("Cała strona"));
    for (QToolButton* b : {ZoomToWidth, ZoomTo100, ZoomToFit}) {
        b->setCheckable(true);
        b->setAutoExclusive(true);
    }
    PrintSetup = speedButton(panel, "PrintSetup", QStringLiteral("Drukarka..."), QStringLiteral("Ustawienia drukarki"));
    Print = speedButton(panel, "Print", QStringLiteral("Drukuj"), QStringLiteral("Drukuj"));
    lblCopies = new QLabel(QStringLiteral("&Liczba kopii"), panel);
    lblCopies->setObjectName(QStringLiteral("lblCopies"));
    SpinEditCopies = new QSpinBox(panel);
    SpinEditCopies->setObjectName(QStringLiteral("SpinEditCopies"));
    SpinEditCopies->setToolTip(QStringLiteral("Liczba kopii"));
    SpinEditCopies->setRange(1, 999);
    lblCopies->setBuddy(SpinEditCopies);
    BitBtnExit = new QPushButton(QStringLiteral("&Zamknij"), panel);
    BitBtnExit->setObjectName(QStringLiteral("BitBtnExit"));
    BitBtnExit->setToolTip(QStringLiteral("Wyjście z podglądu wydruku."));
    BitBtnExit->setAutoDefault(false);

    row->addWidget(label1);
    row->addWidget(sePage);
    row->addWidget(label3);
    row->addWidget(seZoom);
    for (QToolButton* b : {sbFirstPage, sbPreviousPage, sbNextPage, sbLastPage, ZoomToWidth, ZoomTo100, ZoomToFit,
                           PrintSetup, Print})
        row->addWidget(b);
    row->addWidget(lblCopies);
    row->addWidget(SpinEditCopies);
    row->addStretch(1);
    row->addWidget(BitBtnExit);

    QRPreview = new QPrintPreviewWidget(printer_.get(), this);
    QRPreview->setObjectName(QStringLiteral("QRPreview"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panel);
    layout->addWidget(QRPreview, 1);

    connect(QRPreview, &QPrintPreviewWidget::paintRequested, this, &TfrmPreview::PaintRequested);
    connect(QRPreview, &QPrintPreviewWidget::previewChanged, this, [this] {
        const int count = std::max(1, QRPreview->pageCount());
        if (firstPagePending_) {
            firstPagePending_ = false;
            sePage->setRange(1, count);
            sePage->setValue(1);
            QRPreview->fitInView();
            ZoomToFit->setChecked(true);
            ShowZoom();
        }
        sePage->setMaximum(count);
        setWindowTitle(model_.title);
    });
    connect(sePage, &QSpinBox::valueChanged, this, [this](int v) { QRPreview->setCurrentPage(v); });
    connect(seZoom, &QSpinBox::valueChanged, this, [this](int v) {
        if (int(std::lround(QRPreview->zoomFactor() * 100)) != v) QRPreview->setZoomFactor(v / 100.0);
    });
    connect(sbFirstPage, &QToolButton::clicked, this, [this] { ShowPage(1); });
    connect(sbPreviousPage, &QToolButton::clicked, this, [this] { ShowPage(std::max(1, sePage->value() - 1)); });
    connect(sbNextPage, &QToolButton::clicked, this,
            [this] { ShowPage(std::min(model_.PageCount(), sePage->value() + 1)); });
    connect(sbLastPage, &QToolButton::clicked, this, [this] { ShowPage(model_.PageCount()); });
    connect(ZoomToFit, &QToolButton::clicked, this, [this] {
        QRPreview->fitInView();
        ShowZoom();
    });
    connect(ZoomTo100, &QToolButton::clicked, this, [this] {
        QRPreview->setZoomFactor(1.0);
        ShowZoom();
    });
    connect(ZoomToWidth, &QToolButton::clicked, this, [this] {
        QRPreview->fitToWidth();
        ShowZoom();
    });
    connect(PrintSetup, &QToolButton::clicked, this, [this] { RunPrintSetup(); });
    connect(Print, &QToolButton::clicked, this, [this] {
        Print->setEnabled(false);
        PrintPages();
        Print->setEnabled(true);
    });
    connect(BitBtnExit, &QPushButton::clicked, this, &QWidget::close);

    // Shown maximised; restored, it keeps a page's proportions but stays within the screen.
    QSize size(900, 1000);
    if (const QScreen* s = screen()) size = size.boundedTo(s->availableGeometry().size());
    resize(size);
    FinishCreate();
}

TfrmPreview::~TfrmPreview() = default;

void TfrmPreview::PaintRequested(QPrinter* printer) { Paint(model_, *printer); }

void TfrmPreview::ShowPage(int page) {
    if (page < 1) page = 1;
    sePage->setValue(page);
    QRPreview->setCurrentPage(page);
}

void TfrmPreview::ShowZoom() {
    const QSignalBlocker block(seZoom);
    seZoom->setValue(int(std::lround(QRPreview->zoomFactor() * 100)));
}

bool TfrmPreview::PrintPages() {
    if (!printAllowed_ || model_.PageCount() == 0) return false;
    // A printer with nowhere to go (no printer installed, no file chosen) asks first.
    if (printer_->outputFormat() == QPrinter::PdfFormat && printer_->outputFileName().isEmpty())
        return RunPrintSetup();
    printer_->setCopyCount(SpinEditCopies->value());
    return PrintOnPrinter(model_, *printer_);
}

bool TfrmPreview::RunPrintSetup() {
    if (!printAllowed_) return false;
    printer_->setCopyCount(SpinEditCopies->value());
    QPrintDialog dialog(printer_.get(), this);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    dialog.setMinMax(1, std::max(1, model_.PageCount()));
    if (dialog.exec() != QDialog::Accepted) return false;
    SpinEditCopies->setValue(std::max(1, printer_->copyCount()));
    return PrintOnPrinter(model_, *printer_);
}

void TfrmPreview::showEvent(QShowEvent* e) {
    TSSForm::showEvent(e);
    firstPagePending_ = true;
    if (!printAllowed_) {
        Print->setEnabled(false);
        Print->setVisible(false);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{PrintSetup, lblCopies, SpinEditCopies}) {
        w->setEnabled(Print->isEnabled());
        w->setVisible(Print->isVisibleTo(this));
    }
    QRPreview->updatePreview();
}

void TfrmPreview::keyPressEvent(QKeyEvent* e) {
    // The page view is the preview widget's own scroll area.
    auto* view = QRPreview->findChild<QAbstractScrollArea*>();
    switch (e->key()) {
    case Qt::Key_Escape:
        close();
        return;
    case Qt::Key_PageUp:
        if (view) view->verticalScrollBar()->setValue(0);
        return;
    case Qt::Key_PageDown:
        if (view) view->verticalScrollBar()->setValue(view->viewport()->height());
        return;
    default:
        TSSForm::keyPressEvent(e);
    }
}

bool PrintOnPrinter(const PageModel& model, QPrinter& printer) {
    int from = 0, to = 0;
    if (printer.printRange() == QPrinter::PageRange) {
        from = printer.fromPage();
        to = printer.toPage();
    }
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return WritePdf(model, printer.outputFileName(), printer.docName(), from, to);
    Paint(model, printer, from, to);
    return true;
}

TfrmPreview* ShowPreview(std::unique_ptr<Report> report, QWidget* parent) {
    auto* w = new TfrmPreview(std::move(report), parent);
    w->setWindowState(w->windowState() | Qt::WindowMaximized);
    w->show();
    return w;
}

}  // namespace reports
