#!/usr/bin/env bash
# Sets up a fresh machine and runs the whole test suite: the plain build, the same tests
# under AddressSanitizer and UndefinedBehaviorSanitizer, and a bounded run of the fuzz targets.
# Warnings are errors here.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

scripts/setup.sh

build_root=${QUINTABEL_BUILD_ROOT:-$here/build}
fuzz_seconds=${QUINTABEL_FUZZ_SECONDS:-60}
export QT_QPA_PLATFORM=offscreen
# Qt's own caches and settings stay out of the user's home.
export XDG_CONFIG_HOME="$build_root/test-home/config"
export XDG_CACHE_HOME="$build_root/test-home/cache"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"

run_suite() {
  local dir=$1
  shift
  echo "== building $dir"
  scripts/build.sh "$dir" -DQUINTABEL_WERROR=ON "$@"
  echo "== testing $dir"
  # Side by side: each test keeps to databases and folders of its own (tests/CMakeLists.txt).
  ctest --test-dir "$dir" --output-on-failure --timeout 600 --parallel "$(nproc)"
}

run_suite "$build_root/plain"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions=$here/tests/support/lsan.supp:print_suppressions=0 \
  run_suite "$build_root/sanitize" -DQUINTABEL_SANITIZE=ON

if [ -f fuzz/CMakeLists.txt ]; then
  echo "== fuzzing for ${fuzz_seconds}s per target"
  CC=clang CXX=clang++ scripts/build.sh "$build_root/fuzz" -DQUINTABEL_FUZZ=ON -DQUINTABEL_WERROR=ON
  QUINTABEL_FUZZ_SECONDS=$fuzz_seconds ctest --test-dir "$build_root/fuzz" --output-on-failure
fi
