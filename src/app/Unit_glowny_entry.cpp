// Page entry of the main window: what entering a measurement page starts (the reading when the
// head is ready, else the signal monitor, which starts it once the head is ready) and the
// point source commands. Everything goes through the window's mode host, so the
// command bytes are the mode sequences' own.
#include <QAction>
#include "instrument/LinkPort.h"
#include <QProgressBar>
#include <QTimer>

#include "app/ModeSequences.h"
#include "app/ModeSequencesMainForm.h"
#include "app/Unit_glowny.h"
#include "foundations/MessageDlg.h"
#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "instrument/SerialFrameParser.h"

MainFormModeHost& TMainForm::EntryHost() {
    // The reading parts give the host its reading thread and environment start.
    Reading();
    return ModeHost();
}

void TMainForm::StartPageSignalMonitor() {
    // The monitor runs the page logic only while the window waits for the laser.
    WaitingForLaser = true;
    EntryHost().StartSignalMonitor();
}

void TMainForm::ConnectPageEntry() {
    ConnectPointSourceCommands();
}

void TMainForm::ConnectPointSourceCommands() {
    QAction* fromList = MenuCommand(QStringLiteral("PunktyZListy"));
    QAction* automatic = MenuCommand(QStringLiteral("Puntyautomatycznie1"));
    if (!fromList) return;
    // The tick of "Punkty z listy" is the one truth: the setting follows it, whoever changes it,
    // and the automatic points command shows the other choice.
    connect(fromList, &QAction::toggled, this, [this, automatic](bool on) {
        PointsFromList = on;
        if (automatic) automatic->setChecked(!on);
    });
    if (automatic) {
        connect(automatic, &QAction::triggered, this, [this, automatic](bool checked) {
            automatic->setChecked(!checked);  // the command decides its tick itself
            Puntyautomatycznie1Click();
        });
    }
}

void TMainForm::Puntyautomatycznie1Click() {
    if (MeasurementRunning) {
        ShowMessage(Msg("stTrwaPomiar"));
        return;
    }
    if (QAction* fromList = MenuCommand(QStringLiteral("PunktyZListy"))) fromList->setChecked(false);
    if (QAction* automatic = MenuCommand(QStringLiteral("Puntyautomatycznie1"))) automatic->setChecked(true);
    PointsFromList = false;
    if (QAction* points = MenuCommand(QStringLiteral("PunktyPozycjonowania1"))) points->setEnabled(false);
    TypeCalls().RefreshParameterSummary();
}
