#!/usr/bin/env bash
# Builds the benchmarks into build-bench/ (installing Google Benchmark and FFTW, which only the
# benchmarks need, when missing) and runs them; each prints our figure beside its anchor.
# Extra arguments go to every benchmark program, e.g. --benchmark_filter=FFT.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
missing=()
for p in libbenchmark-dev libfftw3-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVKM30_BUILD_TESTS=OFF \
      -DVKM30_BUILD_BENCHMARKS=ON >/dev/null
cmake --build build-bench -j"${BENCH_JOBS:-$(nproc)}"
cd build-bench
for b in bin/*_bench; do
  echo "== $b"
  QT_QPA_PLATFORM=offscreen "$b" --benchmark_repetitions="${BENCH_REPETITIONS:-9}" \
      --benchmark_report_aggregates_only=true "$@"
done
