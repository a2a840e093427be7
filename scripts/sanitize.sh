#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ and runs
# every test there; fails on any test failure or sanitizer report (each report ends its test).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVKM30_SANITIZE=ON "$@" >/dev/null
cmake --build build-asan -j"$(nproc)"
here="$(pwd)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_stack_use_after_return=1:halt_on_error=1:abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$here/tests/sanitizers/lsan.supp:print_suppressions=0"
ctest --test-dir build-asan --output-on-failure -j"$(nproc)" --timeout 900
