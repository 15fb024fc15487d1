#!/usr/bin/env bash
# The whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer.
# QAVI_GUI=ON (default OFF here) adds the Qt parts; leak checks stay off for Qt's own caches.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
B=${SAN_BUILD_DIR:-build-san}
GEN=()
command -v ninja >/dev/null && [ ! -f "$B/CMakeCache.txt" ] && GEN=(-G Ninja)
cmake -S . -B "$B" "${GEN[@]}" -DQAVI_SANITIZE=ON -DQAVI_GUI="${QAVI_GUI:-OFF}" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$B" -j "$(nproc)"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
[ "${QAVI_GUI:-OFF}" = ON ] && export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
QT_QPA_PLATFORM=offscreen ctest --test-dir "$B" --output-on-failure -j "$(nproc)"
