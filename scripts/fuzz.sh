#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for FUZZ_SECONDS (default 60) over seeds
# written by the project's own tools. Fails on any sanitizer report.
set -euo pipefail
cd "$(dirname "$0")/.."
SECS=${FUZZ_SECONDS:-60}
B=${FUZZ_BUILD_DIR:-build-fuzz}
GEN=()
command -v ninja >/dev/null && [ ! -f "$B/CMakeCache.txt" ] && GEN=(-G Ninja)
CC=clang CXX=clang++ cmake -S . -B "$B" "${GEN[@]}" -DQAVI_GUI=OFF -DQAVI_TESTS=OFF -DQAVI_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS="-fsanitize=address,undefined -fsanitize=fuzzer-no-link" \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fsanitize=fuzzer-no-link" >/dev/null
cmake --build "$B" -j "$(nproc)" --target fuzz_mdb fuzz_sql fuzz_semillas
W=$(mktemp -d)
trap 'rm -rf "$W"' EXIT
"$B/fuzz/fuzz_semillas" "$W/mdb" "$W/sql"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
"$B/fuzz/fuzz_mdb" -max_total_time="$SECS" -rss_limit_mb=2048 -timeout=10 -max_len=1048576 \
  -print_final_stats=1 "$W/mdb" 2>&1 | tail -5
"$B/fuzz/fuzz_sql" -max_total_time="$SECS" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 "$W/sql" 2>&1 | tail -5
echo "fuzz: sin hallazgos"
