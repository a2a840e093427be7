// Every form on the smallest screen the program serves, in both languages: the form can shrink
// to 1024 x 768 and opens within its screen, every caption, button text and number field is at
// least as wide as its text needs, no list's heading is taller than its text, and no control
// sticks out of the panel that holds it. Forms with pages are looked at page by page.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QScreen>
#include <QTabWidget>

#include "EveryForm.h"
#include "MainWindowFixture.h"
#include "platform/Registry.h"
#include "support/InstrumentSinkDoubles.h"

namespace {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

bool isOtherForm(const QObject* o) { return qobject_cast<const QDialog*>(o) || qobject_cast<const QMainWindow*>(o); }

bool ownedBy(const QWidget* w, const QWidget* form) {
    for (const QObject* p = w->parent(); p && p != form; p = p->parent())
        if (isOtherForm(p)) return false;
    return !isOtherForm(w);
}

QString nameOf(const QWidget* w) {
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
}

// A control whose text needs a width of its own: a caption on one line, a button with a text, a
// number field (it must show its largest value).
bool hasTextToFit(const QWidget* w) {
    if (auto* l = qobject_cast<const QLabel*>(w)) return !l->wordWrap() && !l->text().isEmpty();
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) return !b->text().isEmpty();
    return qobject_cast<const QAbstractSpinBox*>(w) != nullptr;
}

// What a user would see as broken on the page shown now.
QStringList FitFaults(QWidget* form, const QString& where, bool maximised) {
    QStringList faults;
    // Its least size fits the small screen, and it opens within the screen it is on.
    const QSize least = form->minimumSize().expandedTo(form->minimumSizeHint());
    if (least.width() > kScreenWidth || least.height() > kScreenHeight)
        faults << QString("%1: needs %2 x %3, more than the screen").arg(where).arg(least.width()).arg(least.height());
    // (The test's screen may be smaller than 1024 x 768: a form may pass it as far as its least
    // size makes it.)
    const QSize screen = form->screen()->availableGeometry().size().expandedTo(least);
    if (!maximised && (form->width() > screen.width() || form->height() > screen.height()))
        faults << QString("%1: opens at %2 x %3 on a %4 x %5 screen")
                      .arg(where)
                      .arg(form->width())
                      .arg(form->height())
                      .arg(screen.width())
                      .arg(screen.height());
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(form) || !ownedBy(w, form) || w->objectName().startsWith("qt_")) continue;
        if (hasTextToFit(w) && w->width() < w->minimumSizeHint().width())
            faults << QString("%1/%2: %3 wide, its text needs %4")
                          .arg(where, nameOf(w))
                          .arg(w->width())
                          .arg(w->minimumSizeHint().width());
        // A list's heading as tall as its text, so that the rows are not pushed down.
        if (auto* h = qobject_cast<QHeaderView*>(w); h && h->orientation() == Qt::Horizontal && h->height() > h->sizeHint().height())
            faults << QString("%1/%2: heading %3 high, its text needs %4")
                          .arg(where, nameOf(w->parentWidget()))
                          .arg(h->height())
                          .arg(h->sizeHint().height());
        QWidget* holder = w->parentWidget();
        // Contents of a scrolled view may be larger than the view: the view scrolls.
        if (holder && !qobject_cast<QAbstractScrollArea*>(holder->parentWidget()) &&
            !holder->rect().contains(w->geometry()))
            faults << QString("%1/%2: sticks out of %3").arg(where, nameOf(w), nameOf(holder));
    }
    return faults;
}

class DialogFitTest : public MainWindowTest {
protected:
    QStringList faultsOfEveryForm(const QString& language) {
        QStringList faults;
        TMachineTable machines;
        machines.SetDatabaseName(dir.path());
        everyform::NoRecording recording;
        testsupport::PortSearchThreadsDouble searches;
        for (const everyform::FormMaker& m : everyform::EveryForm(machines, recording, searches)) {
            std::unique_ptr<QWidget> form = m.make();
            form->show();
            // A maximised form on the small screen: what its layout lets it shrink to.
            const bool maximised = form->isMaximized();
            if (maximised) {
                form->showNormal();
                form->resize(kScreenWidth, kScreenHeight);
            }
            QCoreApplication::processEvents();
            const QString where = language + u' ' + QString::fromLatin1(m.name);
            faults << FitFaults(form.get(), where, maximised);
            for (QTabWidget* tabs : form->findChildren<QTabWidget*>()) {
                if (!ownedBy(tabs, form.get())) continue;
                for (int i = 0; i < tabs->count(); ++i) {
                    tabs->setCurrentIndex(i);
                    QCoreApplication::processEvents();
                    faults << FitFaults(form.get(), where + u'/' + tabs->tabText(i).remove(u'&'), maximised);
                }
            }
            form->hide();
        }
        return faults;
    }
};

}  // namespace

TEST_F(DialogFitTest, EveryFormFitsA1024By768ScreenAndShowsEveryTextWholeInBothLanguages) {
    QStringList faults = faultsOfEveryForm("PL");
    CloseLanguageFile();
    ASSERT_TRUE(QFile::copy(QCoreApplication::applicationDirPath() + "/Vkm30.EN", dir.filePath("Vkm30.EN")));
    platform::appRegistry().writeString(kLanguageChoiceKey, kLanguageChoiceValue, "EN");
    faults << faultsOfEveryForm("EN");
    EXPECT_TRUE(faults.isEmpty()) << faults.size() << " faults:\n" << faults.join(u'\n').toStdString();
}
