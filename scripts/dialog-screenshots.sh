#!/usr/bin/env bash
# Screenshots of the program's dialogs, as the dialog driver sees them, into
# docs/screenshots/: each dialog without any companion file, with the banner
# bitmaps (TopBar.bmp, LeftBar.bmp) only, and with a language file (Setup.lr)
# and the bitmaps. The driver's record of each dialog is printed.
#
#   scripts/dialog-screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

cmake --preset win32 >/dev/null
cmake --build --preset win32 -j2 --target dialog_showcase DialogDriver >/dev/null
# shellcheck source=wine-env.sh
. scripts/wine-env.sh
template="$root/build/wine/template"
make_template "$template"
export WINEPREFIX="$root/build/wine/screenshots"
fresh_prefix "$template" "$WINEPREFIX"
drive="$WINEPREFIX/drive_c"
mkdir -p "$drive/showcase" "$drive/shots" "$drive/work"
cp build/win32/tests/win32/dialog_showcase.exe build/win32/tests/driver/DialogDriver.exe "$drive/showcase/"
start_xvfb
trap 'end_prefix "$WINEPREFIX"; stop_xvfb' EXIT

out="$root/docs/screenshots"
mkdir -p "$out"
log="$root/build/wine/screenshots.log"
: >"$log"

# name, dialog, rule for the driver, showcase options
shoot() {
  local name=$1 dialog=$2 rule=$3
  shift 3
  rm -rf "$drive/shots/$name"
  (cd "$drive" && timeout 120 wine 'C:\showcase\DialogDriver.exe' --shots "C:\\shots\\$name" --timeout 60 --rule "$rule" \
    -- 'C:\showcase\dialog_showcase.exe' "$dialog" --seconds 3 --folder "C:\\work\\$name" "$@" \
    </dev/null >>"$log" 2>&1) || { echo "driver failed for $name (see $log)" >&2; return 1; }
  local png
  png=$(find "$drive/shots/$name" -name '*.png' | sort | head -n 1)
  [ -n "$png" ] || { echo "no screenshot for $name" >&2; return 1; }
  # The driver writes plain PNGs; recompressed they take a few kilobytes.
  convert "$png" -strip -define png:compression-level=9 "$out/$name.png"
  echo "$name.png"
}

for variant in "" "-banners:--bitmaps" "-language:--bitmaps --language"; do
  suffix=${variant%%:*}
  options=""
  [[ $variant == *:* ]] && options=${variant#*:}
  # shellcheck disable=SC2086
  {
    shoot "finish$suffix" finish "=>press:#1" $options
    shoot "reboot$suffix" reboot "=>press:#1" $options
    shoot "banner-waiting$suffix" banner-waiting "=>none" $options
    shoot "progress$suffix" progress "=>press:#2" $options
    [ "$suffix" = "-banners" ] || shoot "waiting$suffix" waiting "=>none" $options
  }
done
cat "$log"
