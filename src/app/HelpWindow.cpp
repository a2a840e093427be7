#include "app/HelpWindow.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "foundations/FR_Utils.h"
#include "foundations/MessageDlg.h"
#include "platform/HelpFiles.h"

namespace {

QPointer<HelpWindow>& theWindow() {
    static QPointer<HelpWindow> w;
    return w;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

// The nearest help context up the parents of a widget; 0 when none names one.
int contextOf(const QWidget* w) {
    for (; w; w = w->parentWidget()) {
        bool ok = false;
        const int c = w->property("HelpContext").toInt(&ok);
        if (ok && c > 0) return c;
        if (const auto* source = dynamic_cast<const HelpContextSource*>(w))
            if (const int shown = source->CurrentHelpContext(); shown > 0) return shown;
    }
    return platform::kHelpContents;
}

class ContextHelpKey : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
        // Keys go to the focused control, so the receiver is where the inspector is.
        ShowHelpContext(contextOf(static_cast<QWidget*>(watched)));
        return true;
    }
};

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Pomoc VKM30"));
    resize(760, 620);

    ButtonSpisTresci = button(this, "ButtonSpisTresci", QStringLiteral("&Spis treści"));
    ButtonIndeks = button(this, "ButtonIndeks", QStringLiteral("&Indeks"));
    ButtonWstecz = button(this, "ButtonWstecz", QStringLiteral("&Wstecz"));
    ButtonDalej = button(this, "ButtonDalej", QStringLiteral("&Dalej"));
    ButtonZamknij = button(this, "ButtonZamknij", QStringLiteral("&Zamknij"));
    ButtonWstecz->setEnabled(false);
    ButtonDalej->setEnabled(false);

    HelpBrowser = new QTextBrowser(this);
    HelpBrowser->setObjectName(QStringLiteral("HelpBrowser"));
    HelpBrowser->setOpenExternalLinks(false);

    auto* bar = new QHBoxLayout;
    for (QPushButton* b : {ButtonSpisTresci, ButtonIndeks, ButtonWstecz, ButtonDalej}) bar->addWidget(b);
    bar->addStretch();
    bar->addWidget(ButtonZamknij);
    auto* main = new QVBoxLayout(this);
    main->addLayout(bar);
    main->addWidget(HelpBrowser, 1);

    connect(ButtonSpisTresci, &QPushButton::clicked, this, &HelpWindow::ButtonSpisTresciClick);
    connect(ButtonIndeks, &QPushButton::clicked, this, &HelpWindow::ButtonIndeksClick);
    connect(ButtonWstecz, &QPushButton::clicked, HelpBrowser, &QTextBrowser::backward);
    connect(ButtonDalej, &QPushButton::clicked, HelpBrowser, &QTextBrowser::forward);
    connect(ButtonZamknij, &QPushButton::clicked, this, &QWidget::close);
    connect(HelpBrowser, &QTextBrowser::backwardAvailable, ButtonWstecz, &QWidget::setEnabled);
    connect(HelpBrowser, &QTextBrowser::forwardAvailable, ButtonDalej, &QWidget::setEnabled);
    connect(HelpBrowser, &QTextBrowser::sourceChanged, this, [this] { updateTitle(); });
    TranslateForm(this);
    baseTitle_ = windowTitle();
}

bool HelpWindow::ShowContext(int context) {
    const QString path = platform::HelpPagePath(context);
    if (path.isEmpty()) return false;
    showPage(path);
    present();
    return true;
}

void HelpWindow::ButtonSpisTresciClick() {
    const QString path = platform::HelpPagePath(platform::kHelpContents);
    if (path.isEmpty()) {
        ShowMessage(TranslateString(QStringLiteral("stBrakPomocy"), QString::fromUtf8("Pomoc nie jest dostępna.")));
        return;
    }
    showPage(path);
}

void HelpWindow::ButtonIndeksClick() {
    const QString path = platform::HelpIndexPath();
    if (path.isEmpty()) {
        ShowMessage(TranslateString(QStringLiteral("stBrakPomocy"), QString::fromUtf8("Pomoc nie jest dostępna.")));
        return;
    }
    showPage(path);
}

void HelpWindow::showPage(const QString& path) {
    const QUrl url = QUrl::fromLocalFile(path);
    if (HelpBrowser->source() == url) return;  // the same page again adds no history step
    HelpBrowser->setSource(url);
}

void HelpWindow::present() {
    // Opened from a modal dialog, the help must take the input itself, or the dialog's modality
    // would block it; opened from the main window it stays beside it.
    QWidget* modal = QApplication::activeModalWidget();
    const Qt::WindowModality wanted = modal && modal != this ? Qt::ApplicationModal : Qt::NonModal;
    if (windowModality() != wanted) {
        if (isVisible()) hide();
        setWindowModality(wanted);
    }
    show();
    raise();
    activateWindow();
}

void HelpWindow::updateTitle() {
    const QString page = HelpBrowser->documentTitle();
    setWindowTitle(page.isEmpty() ? baseTitle_ : baseTitle_ + QStringLiteral(" - ") + page);
}

HelpWindow* OpenHelpWindow() { return theWindow(); }

void CloseHelpWindow() { delete theWindow().data(); }

void ShowHelpContext(int context) {
    if (platform::HelpPagePath(context).isEmpty()) {
        ShowMessage(TranslateString(QStringLiteral("stBrakPomocy"), QString::fromUtf8("Pomoc nie jest dostępna.")));
        return;
    }
    if (!theWindow()) theWindow() = new HelpWindow;
    theWindow()->ShowContext(context);
}

void ShowHelpContents() { ShowHelpContext(platform::kHelpContents); }

void InstallContextHelpKey() {
    static QPointer<ContextHelpKey> filter;
    if (filter || !qApp) return;
    filter = new ContextHelpKey(qApp);
    qApp->installEventFilter(filter);
}
