#!/usr/bin/env bash
# Configures and builds the project into build/ (override with BUILD_DIR). Extra args go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
GEN=()
command -v ninja >/dev/null && GEN=(-G Ninja)
[ -f "$BUILD_DIR/CMakeCache.txt" ] && GEN=()
cmake -S . -B "$BUILD_DIR" "${GEN[@]}" "$@"
cmake --build "$BUILD_DIR" -j "$(nproc)"
