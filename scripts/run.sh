#!/usr/bin/env bash
# Builds the program alone (test.sh builds the tests) and starts it on the desktop.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target vkm30 -j"$(nproc)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  # On a virtual display nobody would see the window.
  echo "run.sh: the program is built (build/bin/vkm30), but there is no display to show it on" >&2
  echo "(DISPLAY and WAYLAND_DISPLAY are not set). Start it from a desktop session, or run it" >&2
  echo "on a virtual display, where nobody sees it, with: xvfb-run -a build/bin/vkm30" >&2
  exit 1
fi
exec build/bin/vkm30 "$@"
