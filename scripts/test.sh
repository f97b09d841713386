#!/usr/bin/env bash
# Sets up what is missing, builds Vokari with its tests and runs the whole suite through CTest.
# With --sanitize the suite is built and run under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
preset=debug
[ "${1:-}" = "--sanitize" ] && preset=asan
bash "$here/scripts/setup.sh"
cd "$here"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --preset "$preset" -j"$(nproc)"
