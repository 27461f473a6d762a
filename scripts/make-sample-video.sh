#!/usr/bin/env bash
# Builds everything and makes a personalised video from the sample inputs (the build
# generates them beside the programs), printing how long the creation took.
# The video lands in build/bin/Video/Sample.avi.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build="${BUILD_DIR:-build}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"
"$build/bin/creator_bench" "$@"
