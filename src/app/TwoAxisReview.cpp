#include "app/TwoAxisReview.h"

#include <algorithm>

int SteppedCycle(int current, int count, CycleStep step) {
    if (count < 1) return current;
    switch (step) {
    case CycleStep::First: return 1;
    case CycleStep::Last: return count;
    case CycleStep::Previous: return current > 1 ? std::min(current - 1, count) : current;
    case CycleStep::Next: return current < count ? std::max(current + 1, 1) : current;
    }
    return current;
}
