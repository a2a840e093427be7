#!/usr/bin/env bash
# Builds the program and starts it (under Xvfb when there is no display).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a build/bin/vkm30 "$@"
fi
exec build/bin/vkm30 "$@"
