#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang into build-fuzz/ and runs one of them.
# usage: bash scripts/fuzz.sh HARNESS [SECONDS] [extra libFuzzer flags...]
#        bash scripts/fuzz.sh --build-only
set -euo pipefail
cd "$(dirname "$0")/.."
pkgs=(clang libclang-rt-dev)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
bash scripts/deps.sh
if [ ! -f build-fuzz/build.ninja ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVKM30_FUZZ=ON -DVKM30_BUILD_TESTS=OFF >/dev/null
fi
# FUZZ_NO_BUILD=1 runs what is built (several fuzzers at once must not build the same folder).
[ -n "${FUZZ_NO_BUILD:-}" ] || cmake --build build-fuzz -j"${FUZZ_BUILD_JOBS:-$(nproc)}"
[ "${1:-}" = "--build-only" ] && exit 0
h="${1:?harness name, one of: $(ls tests/fuzz/corpus | tr '\n' ' ')}"
secs="${2:-600}"
shift $(( $# >= 2 ? 2 : 1 ))
mkdir -p "build-fuzz/corpus/$h" "build-fuzz/artifacts/$h"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_stack_use_after_return=1:halt_on_error=1:abort_on_error=1:detect_leaks=0"
export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1"
exec nice -n 5 "build-fuzz/bin/fuzz_$h" -max_total_time="$secs" -print_final_stats=1 -rss_limit_mb=4096 \
  -artifact_prefix="build-fuzz/artifacts/$h/" "$@" "build-fuzz/corpus/$h" "tests/fuzz/corpus/$h"
