#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs one: fuzz.sh TARGET [SECONDS], for
# SECONDS (default 300) seconds. TARGET is one of tests/fuzz's targets: profile_read,
# profile_write, midi_file, avi_audio_start, picture_load, media_probe. The corpus grows in
# <build>/fuzz/corpus/TARGET from the seeds the build writes and the saved regression
# inputs; an input that breaks a property lands in <build>/fuzz/found/TARGET/ (mend the
# fault, then save the input under tests/fuzz/regressions/TARGET/). BUILD_DIR picks the
# build folder (default build-fuzz), JOBS the build's parallel jobs (default 6).
set -euo pipefail
cd "$(dirname "$0")/.."
target="${1:?usage: fuzz.sh TARGET [SECONDS]}"
seconds="${2:-300}"
bash scripts/install-deps.sh clang-14 libclang-rt-14-dev
build="${BUILD_DIR:-build-fuzz}"
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAVRINO_FUZZ=ON >/dev/null
cmake --build "$build" -j"${JOBS:-6}" --target "fuzz_$target"
corpus="$build/fuzz/corpus/$target"
found="$build/fuzz/found/$target"
mkdir -p "$corpus" "$found" "tests/fuzz/regressions/$target"
# The harness's own output (and that of the libraries underneath) is closed; libFuzzer's
# and the sanitizers' reports still reach standard error.
"$build/bin/fuzz_$target" -max_total_time="$seconds" -timeout=60 -close_fd_mask=3 \
  -print_final_stats=1 -artifact_prefix="$found/" \
  "$corpus" "$build/fuzz/seeds/$target" "tests/fuzz/regressions/$target"
