#!/usr/bin/env bash
# Runs every test: the portable code natively under AddressSanitizer and
# UndefinedBehaviorSanitizer, the fuzz targets for a bounded time, and the
# Windows build under Wine (unit tests against the real system, end-to-end
# tests of UnInstall.exe on an Xvfb display).
#
#   scripts/test.sh [native|fuzz|win32]...   (default: all three)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh

stages=("$@")
[ ${#stages[@]} -eq 0 ] && stages=(native fuzz win32)
jobs=$(nproc)

run_native() {
  echo "== native build and tests"
  cmake --preset native >/dev/null
  cmake --build --preset native -j "$jobs"
  ctest --preset native -j "$jobs"
}

run_fuzz() {
  echo "== fuzz targets"
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz -j "$jobs"
  scripts/run-fuzzers.sh "${FUZZ_SECONDS:-20}"
}

run_win32() {
  echo "== win32 build and tests under Wine"
  cmake --preset win32 >/dev/null
  cmake --build --preset win32 -j "$jobs"
  # shellcheck source=wine-env.sh
  . scripts/wine-env.sh
  export UNINST_WINE_TEMPLATE="$root/build/wine/template"
  make_template "$UNINST_WINE_TEMPLATE"
  export WINEPREFIX="$root/build/wine/unit"
  make_build_prefix "$UNINST_WINE_TEMPLATE" "$WINEPREFIX"
  start_xvfb
  trap 'end_prefix "$WINEPREFIX"; stop_xvfb' EXIT
  WINEPREFIX="$WINEPREFIX" wineboot </dev/null >/dev/null 2>&1 || true
  # One Wine at a time: parallel e2e runs fight over the one display.
  ctest --preset win32 --timeout 900
}

for stage in "${stages[@]}"; do
  "run_$stage"
done
echo "== all tests passed"
