#pragma once
// Generation numbers of the worker threads: every start takes a new number, so the end or the
// hand-off of an older thread can tell that it is no longer current and change nothing.
#include <atomic>
#include <cstdint>

// Reading thread (TOdczyt): taken by the start of reading, checked by its end handler.
extern std::atomic<uint64_t> ReadingThreadGeneration;
