// Every command of the main window reaches a receiver: each menu and pop-up command and each
// button of every page has a connected signal, so a control that is built but never wired shows
// here instead of doing nothing for the inspector.
#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QMetaMethod>
#include <QRadioButton>
#include <algorithm>
#include <map>
#include <set>

#include "MainWindowFixture.h"

namespace {

// The connection count of an object's signal, which QObject keeps to itself. The protected
// members are reached through member pointers, called on the object as the QObject it is.
struct ReceiverProbe : QObject {
    template <class Signal>
    static bool connected(const QObject* o, Signal signal) {
        return (o->*&ReceiverProbe::isSignalConnected)(QMetaMethod::fromSignal(signal));
    }
    static int count(const QObject* o, const char* signal) { return (o->*&ReceiverProbe::receivers)(signal); }
};

// A menu connects to the triggered signal of each of its commands itself: only connections
// beyond those of the command's menus count.
int menuOwnConnections() {
    QMenu menu;
    QAction probe;
    const int before = ReceiverProbe::count(&probe, SIGNAL(triggered(bool)));
    menu.addAction(&probe);
    return ReceiverProbe::count(&probe, SIGNAL(triggered(bool))) - before;
}

bool actionWired(const QAction* a) {
    int menus = 0;
    for (const QObject* o : a->associatedObjects()) menus += qobject_cast<const QMenu*>(o) != nullptr;
    static const int perMenu = menuOwnConnections();
    return ReceiverProbe::count(a, SIGNAL(triggered(bool))) > menus * perMenu ||
           ReceiverProbe::count(a, SIGNAL(toggled(bool))) > 0;
}

bool buttonWired(const QAbstractButton* b) {
    for (auto signal : {&QAbstractButton::clicked, &QAbstractButton::toggled})
        if (ReceiverProbe::connected(b, signal)) return true;
    if (ReceiverProbe::connected(b, &QAbstractButton::pressed) || ReceiverProbe::connected(b, &QAbstractButton::released))
        return true;
    // A button of a group is answered through its group.
    if (const QButtonGroup* g = b->group())
        return ReceiverProbe::connected(g, &QButtonGroup::buttonClicked) ||
               ReceiverProbe::connected(g, &QButtonGroup::idClicked) ||
               ReceiverProbe::connected(g, &QButtonGroup::buttonToggled) ||
               ReceiverProbe::connected(g, &QButtonGroup::idToggled);
    return false;
}

void collectActions(const QMenu* m, std::vector<const QAction*>& out) {
    for (const QAction* a : m->actions()) {
        if (a->isSeparator()) continue;
        if (a->menu()) collectActions(a->menu(), out);
        else out.push_back(a);
    }
}

// Controls that rightly have no receiver, or whose receiving part is not in the program yet.
const std::map<QString, const char*> kInert = {
    // State read where it is used, no handler of its own.
    {"Filtr1", "the reading reads the filter tick at each sample"},
    {"KorekcjaWartosciZadanej", "a tick the point store reads at each stored point"},
    // Commands connected when they are filled.
    {"File01", "recent file: connected to its file whenever the list is shown"},
    {"File11", "recent file: connected to its file whenever the list is shown"},
    {"File21", "recent file: connected to its file whenever the list is shown"},
    {"File31", "recent file: connected to its file whenever the list is shown"},
    // Not in this program yet.
};

}  // namespace

TEST_F(MainWindowTest, EveryCommandAndButtonHasAReceiver) {
    start();
    TMainForm& f = *form();
    std::vector<const QAction*> actions;
    for (const QAction* top : f.menuBar()->actions())
        if (top->menu()) collectActions(top->menu(), actions);
    for (const QMenu* popup : f.findChildren<QMenu*>())
        if (!popup->menuAction()->parent() || popup->parent() == &f) collectActions(popup, actions);

    QStringList unwired;
    std::set<const QObject*> seen;
    for (const QAction* a : actions) {
        if (!seen.insert(a).second) continue;
        if (!actionWired(a) && !kInert.count(a->objectName())) unwired << QStringLiteral("action ") + a->objectName() + " \"" + a->text() + '"';
    }
    for (const QAbstractButton* b : f.findChildren<QAbstractButton*>()) {
        if (b->objectName().isEmpty() || b->objectName().startsWith(u"qt_")) continue;  // parts of Qt's own widgets
        if (!buttonWired(b) && !kInert.count(b->objectName()))
            unwired << QStringLiteral("%1 %2 \"%3\"").arg(b->metaObject()->className(), b->objectName(), b->text());
    }
    // The list covers the menus, the pop-ups and the pages.
    for (const char* name : {"Koniec1", "OY1", "Numerpunktu2", "Skalaosiczasu1"})
        EXPECT_TRUE(std::any_of(actions.begin(), actions.end(), [&](const QAction* a) { return a->objectName() == name; }))
            << name;
    EXPECT_TRUE(unwired.isEmpty()) << unwired.size() << " without a receiver:\n"
                                   << unwired.join('\n').toStdString();
}
