// Page entry of the main window: what entering a measurement page starts (the reading when the
// head is ready, else the signal monitor) and the reading-side seams of the type pages.
#include "app/Unit_glowny.h"

void TMainForm::ConnectPageEntry() {}
