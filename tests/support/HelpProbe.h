#pragma once
// What the help window shows, for tests of the "Pomoc" buttons and the help commands.
#include <QFileInfo>
#include <QString>
#include <QTextBrowser>

#include "app/HelpWindow.h"

namespace testsupport {

// The file name of the page the help window shows; empty when it is not open.
inline QString ShownHelpPage() {
    HelpWindow* w = OpenHelpWindow();
    if (!w || !w->isVisible()) return {};
    return QFileInfo(w->HelpBrowser->source().path()).fileName();
}

// The page shown, then the help window freed, so that no window is left open (it may be modal).
inline QString TakeHelpPage() {
    const QString page = ShownHelpPage();
    CloseHelpWindow();
    return page;
}

}  // namespace testsupport
