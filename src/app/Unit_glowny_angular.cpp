// Angular division runs of the main window: the rotary table measured point by point.
#include "app/Unit_glowny.h"

void TMainForm::ConnectAngularRuns() {}
