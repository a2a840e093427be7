// Run control of the main window: the start command, point acceptance and its timers, the
// straightness page entry, the chart switches, the 3-D view and the service switches. The
// decisions are plain rules (app/AskSave.h); the handlers apply them.
#include "app/AskSave.h"
#include "app/Unit_glowny.h"
#include "foundations/MessageDlg.h"
#include "foundations/SharedGlobals.h"

int TMainForm::AskSaveChanges() {
    return AskSaveChangesRule(MeasurementMode, SavedFlags{DataSaved, VelocityDataSaved, FlatnessDataSaved},
                              [](const QString& caption, const QString& text) {
                                  return MessageDlgCaption(caption, text, TMsgDlgType::mtWarning,
                                                           mbYes | mbNo | mbCancel);
                              });
}

void TMainForm::ConnectRunControl() {
    TypeSeams.AskSaveChanges = [this] { return AskSaveChanges(); };
}
