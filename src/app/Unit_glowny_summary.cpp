// Parameter summary of the main window: the parameters of the next run in the status bars, the
// zero line, the flatness line commands and the start point.
#include "app/Unit_glowny.h"

void TMainForm::ConnectParameterSummary() {}
