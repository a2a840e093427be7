#include "app/NotYetBuilt.h"

namespace notyet {

void AddRecordingErrorRow() {}
bool ZeemanTestOn() { return false; }

}  // namespace notyet
