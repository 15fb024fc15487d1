#!/usr/bin/env bash
# Installs dependencies, builds everything, runs the whole test suite, then fuzzes the file
# reader and the SQL translator for FUZZ_SECONDS each (default 60; 0 skips it).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh "$@"
BUILD_DIR=${BUILD_DIR:-build}
LOG="$BUILD_DIR/ctest-ultimo.log"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$(nproc)" 2>&1 | tee "$LOG"
if [ "${FUZZ_SECONDS:-60}" != 0 ]; then
  bash scripts/fuzz.sh
fi
# The suite's tally again as the last line, after the fuzzers' output.
resumen=$(grep -E "tests passed, [0-9]+ tests failed out of [0-9]+" "$LOG" | tail -1)
total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$resumen")
fallas=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$resumen")
echo "ctest: $((total - fallas)) passed, $fallas failed"
