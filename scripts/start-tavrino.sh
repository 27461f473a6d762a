#!/usr/bin/env bash
# Builds everything and starts Tavrino, which opens on the sample project beside it
# (build/bin/VideoProject/DefaultProject.avp). Without a display there is no window to
# show: the script says so and makes the sample video headless instead.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display to show Tavrino on: making the sample video headless instead (build/bin/Video/Sample.avi)."
  exec bash scripts/make-sample-video.sh "$@"
fi
bash scripts/install-deps.sh
build="${BUILD_DIR:-build}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"
exec "$build/bin/Tavrino"
