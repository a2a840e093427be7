#include "app/NotYetBuilt.h"

namespace notyet {

bool ZeemanTestOn() { return false; }

}  // namespace notyet
