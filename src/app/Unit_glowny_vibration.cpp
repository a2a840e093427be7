// Export command and the vibration page of the main window.
#include "app/Unit_glowny.h"

void TMainForm::ConnectExportAndVibration() {}
