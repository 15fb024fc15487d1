#!/usr/bin/env bash
# Installs dependencies, builds everything, runs the whole test suite, then fuzzes the file
# reader and the SQL translator for FUZZ_SECONDS each (default 60; 0 skips it).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh "$@"
BUILD_DIR=${BUILD_DIR:-build}
QT_QPA_PLATFORM=offscreen ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$(nproc)"
if [ "${FUZZ_SECONDS:-60}" != 0 ]; then
  bash scripts/fuzz.sh
fi
