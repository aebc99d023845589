#!/usr/bin/env bash
# Benchmark (not a test): the default uninstall of an installation of
# 20,000 files, 2,000 registry values and 200 shortcuts under Wine, timed
# from the confirmation to the finish page, against a bare loop of our own
# that deletes the same items with no window, in the same prefix, alternating
# for several rounds. Prints each run, the medians and their ratio.
#
#   scripts/bench-uninstall.sh [rounds]   (default 5)
#
# Wine settings pinned in the benchmark's own prefix: the classic theme
# (ThemeActive=0; Wine's default "Light" theme makes each progress-bar step
# cost about 10 ms) and unmanaged windows (X11 Driver Managed=N; no window
# manager runs on Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
rounds=${1:-5}

cmake --preset win32 >/dev/null
cmake --build --preset win32 -j2 --target UnInstall bench_uninstall >/dev/null
# shellcheck source=wine-env.sh
. scripts/wine-env.sh
template="$root/build/wine/template"
make_template "$template"
export WINEPREFIX="$root/build/wine/bench-uninstall"
fresh_prefix "$template" "$WINEPREFIX"
start_xvfb
trap 'end_prefix "$WINEPREFIX"; stop_xvfb' EXIT
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive /t REG_SZ /d 0 /f \
  </dev/null >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
mkdir -p "$WINEPREFIX/drive_c/bench"
cp build/win32/tests/bench/bench_uninstall.exe build/win32/app/UnInstall.exe "$WINEPREFIX/drive_c/bench/"
echo "Wine settings pinned: classic theme (ThemeActive=0), unmanaged windows (X11 Driver Managed=N)"
out="$root/build/wine/bench-uninstall.txt"
(cd "$WINEPREFIX/drive_c" &&
  timeout 3000 wine 'C:\bench\bench_uninstall.exe' 'C:\bench\UnInstall.exe' "$rounds" </dev/null >"$out" 2>&1)
cat "$out"
