#!/usr/bin/env bash
# Configures, builds and runs every test. Extra arguments go to CMake's configure step,
# for instance -DTAVRINO_SANITIZE=ON; BUILD_DIR picks the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build="${BUILD_DIR:-build}"
export TSAN_OPTIONS="suppressions=$PWD/scripts/tsan.supp ${TSAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp ${LSAN_OPTIONS:-}"
cmake -S . -B "$build" "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
