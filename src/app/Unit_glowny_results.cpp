// Positioning results of the main window: the run evaluated into the chart and the results
// list of the standard chosen in ComboBoxNorma, against the machine's limits.
#include "app/Unit_glowny.h"

void TMainForm::ConnectResults() {}
