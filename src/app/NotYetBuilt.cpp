#include "app/NotYetBuilt.h"

namespace notyet {


}  // namespace notyet
