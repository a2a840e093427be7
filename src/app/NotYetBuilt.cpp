#include "app/NotYetBuilt.h"

namespace notyet {

void AddRecordingErrorRow() {}
void SetLinkWatchdogEnabled(bool) {}

}  // namespace notyet
