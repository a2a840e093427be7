#include "app/NotYetBuilt.h"

namespace notyet {

void AddRecordingErrorRow() {}
void SetLinkWatchdogEnabled(bool) {}
bool ZeemanTestOn() { return false; }

}  // namespace notyet
