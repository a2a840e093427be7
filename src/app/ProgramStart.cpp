#include "app/ProgramStart.h"

#include <QApplication>
#include <QScreen>

#include "app/HelpWindow.h"
#include "app/UDataModule.h"
#include "app/UPoczatek.h"
#include "app/dialogs/Unit_Komunikaty.h"
#include "app/Unit_glowny.h"
#include "app/multinst.h"

namespace app {

namespace {
QString& helpFile() {
    static QString f;
    return f;
}

}  // namespace

QString ApplicationHelpFile() { return helpFile(); }

StartedProgram StartProgram() {
    auto* splash = new TPoczatekForm;
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents();

    QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    helpFile() = QString::fromLatin1(kHelpFileName);
    InstallContextHelpKey();

    StartedProgram p;
    p.dataModule = new TDataModule1;
    p.mainForm = new TMainForm;
    p.komunikaty = new TKomunikaty;
    Komunikaty = p.komunikaty;
    p.mainForm->ConnectReading();

    splash->hide();
    splash->deleteLater();
    return p;
}

void EndProgram(StartedProgram& p) {
    CloseHelpWindow();
    delete p.mainForm;
    p.mainForm = nullptr;
    if (Komunikaty == p.komunikaty) Komunikaty = nullptr;
    delete p.komunikaty;
    p.komunikaty = nullptr;
    delete p.dataModule;
    p.dataModule = nullptr;
}

void ShowMainWindow(TMainForm* form) {
    if (!form) return;
    const QScreen* s = form->screen() ? form->screen() : QGuiApplication::primaryScreen();
    const QRect avail = s ? s->availableGeometry() : QRect(0, 0, 1280, 800);
    if (avail.width() <= 1280 || avail.height() <= 800) {
        // Fill the screen also where no window manager maximises windows.
        form->setGeometry(avail);
        form->showMaximized();
    } else {
        form->resize(1280, 800);
        form->move(avail.center() - form->rect().center());
        form->show();
    }
}

int RunProgram(int argc, char** argv) {
    InstanceGuard::PrepareRuntimeDirectory();
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    InstanceGuard& guard = ProcessInstanceGuard();
    if (guard.flags() & ifOtherRunning) return 0;  // the running copy has been told
    QObject::connect(&guard, &InstanceGuard::activationRequested, [] { BringToFront(MainForm); });

    StartedProgram program = StartProgram();
    ShowMainWindow(program.mainForm);
    const int rc = application.exec();
    EndProgram(program);
    return rc;
}

}  // namespace app
