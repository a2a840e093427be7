#include "instrument/ThreadGeneration.h"

std::atomic<uint64_t> ReadingThreadGeneration{0};
