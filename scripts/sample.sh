#!/usr/bin/env bash
# The main job on the built-in sample: builds UnInstall.exe, lays out the
# sample installation (samples/demo) in a fresh Wine prefix with its program
# running and its service started, runs the full default uninstall with the
# dialogs answered by the test driver (confirmation, progress dialog, finish
# page), prints what was removed and what stayed, and saves a screenshot of
# each dialog. It runs twice: without banner bitmaps and with TopBar.bmp and
# LeftBar.bmp beside UnInstall.exe. The restart page and the two waiting
# windows, which only a script shows, are shot through the dialog showcase.
#
#   scripts/sample.sh [--docs]    --docs also refreshes docs/screenshots
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
docs=0
[ "${1:-}" = "--docs" ] && docs=1
scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j2 >/dev/null
. scripts/wine-env.sh

out="$root/build/sample"
shots="$out/screenshots"
template="$root/build/wine/template"
make_template "$template"
mkdir -p "$out"
rm -rf "$shots"
mkdir -p "$shots"
start_xvfb
prefix=""
cleanup() {
  [ -n "$prefix" ] && end_prefix "$prefix"
  stop_xvfb
}
trap cleanup EXIT

peers="$root/build/win32/tests/peers"
service=DemoAppService

# The installation: the program (our test program, running until it is
# ended), a service that takes a moment to stop, program files, a file the
# user changed, folders, shortcuts, registry items, and the uninstaller with
# its record in a folder of its own.
lay_out() {
  local c=$1 banners=$2
  local app="$c/Program Files/Demo App"
  local group="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Demo App"
  mkdir -p "$app/bin" "$app/data" "$app/logs/old" "$app/Uninst" "$c/users/Public/Desktop" "$group"
  cp "$peers/exe_peer.exe" "$app/DemoApp.exe"
  printf 'hang\r\n' > "$app/DemoApp.exe.cfg"
  cp "$peers/svc_peer_slow_stop.exe" "$app/DemoService.exe"
  printf 'read me\r\n' > "$app/readme.txt"
  printf 'helper\r\n' > "$app/bin/helper.dll"
  printf '[User]\r\nTheme=dark\r\n' > "$app/user-settings.ini"
  # Removed only while unchanged since the install (its recorded local
  # time): the template still is, the catalog was updated later.
  printf 'template\r\n' > "$app/data/template.dat"
  printf 'catalog, updated\r\n' > "$app/data/catalog.dat"
  touch -d '2024-03-01 10:00:00' "$app/data/template.dat"
  printf 'kept by its update type\r\n' > "$app/data/old-format.dat"
  printf 'shortcut\r\n' > "$c/users/Public/Desktop/Demo App.lnk"
  printf 'shortcut\r\n' > "$group/Demo App.lnk"
  cp samples/demo/Setup.qsf "$app/Uninst/Setup.qsf"
  cp build/win32/app/UnInstall.exe "$app/Uninst/UnInstall.exe"
  if [ "$banners" = 1 ]; then
    convert -size 58x500 gradient:'#1e96c8'-'#143c8c' -rotate 90 -fill '#ffc800' -draw 'rectangle 16,20 34,38' \
      BMP3:"$app/Uninst/TopBar.bmp"
    convert -size 164x314 gradient:'#1e5a96'-'#1eaac8' -fill white -draw 'circle 82,90 82,120' \
      BMP3:"$app/Uninst/LeftBar.bmp"
  fi
  cp build/win32/tests/driver/DialogDriver.exe "$c/DialogDriver.exe"
  cp samples/demo/sample.reg "$c/sample.reg"
  wine regedit /S 'C:\sample.reg' </dev/null >/dev/null 2>&1
  wine sc create "$service" binpath= 'C:\Program Files\Demo App\DemoService.exe' </dev/null >/dev/null 2>&1
  wine sc start "$service" </dev/null >/dev/null 2>&1
}

reg_state() {
  local key=$1 value=${2:-}
  local args=("$key")
  [ -n "$value" ] && args+=(/v "$value")
  if wine reg query "${args[@]}" </dev/null >/dev/null 2>&1; then echo "stayed "; else echo "removed"; fi
}

# run_sample NAME BANNERS: one uninstall in a fresh prefix; screenshots in $shots/NAME.
run_sample() {
  local name=$1 banners=$2
  prefix="$out/prefix-$name"
  fresh_prefix "$template" "$prefix"
  export WINEPREFIX="$prefix"
  local c="$prefix/drive_c"
  lay_out "$c" "$banners"
  # The program of the installation runs while it is uninstalled.
  wine 'C:\Program Files\Demo App\DemoApp.exe' </dev/null >/dev/null 2>&1 &
  local program=$!
  for _ in $(seq 1 100); do [ -e "$c/Program Files/Demo App/DemoApp.exe.ran" ] && break; sleep 0.1; done

  local before
  before=$(cd "$c" && find "Program Files/Demo App" users/Public/Desktop \
    "ProgramData/Microsoft/Windows/Start Menu/Programs/Demo App" | sort)

  echo "== $name: running UnInstall.exe (dialogs answered by the driver)"
  local rc=0
  (cd "$c" && timeout 300 wine 'C:\DialogDriver.exe' --shots 'C:\shots' --timeout 240 --wait-for strQSTemp.exe \
    --rule 'Are you sure=>press:Yes' --rule 'Program is uninstalling=>none' --rule 'Finish=>press:Finish' \
    --rule '=>none' -- 'C:\Program Files\Demo App\Uninst\UnInstall.exe' </dev/null >"$out/driver-$name.log" 2>&1) ||
    rc=$?
  cat "$out/driver-$name.log"
  mkdir -p "$shots/$name"
  cp "$c"/shots/*.png "$shots/$name/" 2>/dev/null || true

  echo
  echo "== $name: the running parts"
  if kill -0 "$program" 2>/dev/null; then echo "  stayed   DemoApp.exe is still running"; else
    echo "  ended    DemoApp.exe"; fi
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
  if wine sc query "$service" </dev/null >/dev/null 2>&1; then echo "  stayed   service $service"; else
    echo "  removed  service $service"; fi

  echo
  echo "== $name: files and folders"
  local p
  while IFS= read -r p; do
    if [ -e "$c/$p" ]; then echo "  stayed   C:\\${p//\//\\}"; else echo "  removed  C:\\${p//\//\\}"; fi
  done <<<"$before"

  echo
  echo "== $name: registry"
  local entry key value
  for entry in 'HKCU\Software\Demo Co\Demo App|' 'HKCU\Software\Demo Co|' \
               'HKLM\Software\Demo Co|InstallPath' 'HKLM\Software\Demo Co|SharedSetting' \
               'HKLM\Software\Demo Co|Language' 'HKLM\Software\Demo Co|Build' \
               'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\{D3E0A0B1-0000-4000-8000-00000000D3E0}|'; do
    key=${entry%%|*}
    value=${entry#*|}
    printf '  %s  %s%s\n' "$(reg_state "$key" "$value")" "$key" "${value:+ : $value}"
  done
  echo "driver exit code: $rc"
  echo
  end_prefix "$prefix"
  prefix=""
  return $rc
}

status=0
run_sample plain 0 || status=$?
run_sample banners 1 || status=$?

# The pages only a script shows, through the dialog showcase.
echo "== the restart page and the waiting windows (dialog showcase)"
prefix="$out/prefix-showcase"
fresh_prefix "$template" "$prefix"
export WINEPREFIX="$prefix"
mkdir -p "$prefix/drive_c/showcase" "$prefix/drive_c/shots"
cp build/win32/tests/win32/dialog_showcase.exe build/win32/tests/driver/DialogDriver.exe "$prefix/drive_c/showcase/"
showcase() {
  local name=$1 dialog=$2 rule=$3
  shift 3
  (cd "$prefix/drive_c" && timeout 120 wine 'C:\showcase\DialogDriver.exe' --shots "C:\\shots\\$name" --timeout 60 \
    --rule "$rule" -- 'C:\showcase\dialog_showcase.exe' "$dialog" --seconds 3 --folder "C:\\work-$name" "$@" \
    </dev/null >>"$out/showcase.log" 2>&1) || { echo "showcase failed for $name (see $out/showcase.log)"; status=1; }
  mkdir -p "$shots/showcase"
  local png
  png=$(find "$prefix/drive_c/shots/$name" -name '*.png' 2>/dev/null | sort | head -n 1 || true)
  if [ -n "$png" ]; then cp "$png" "$shots/showcase/$name.png"; echo "  $name.png"; fi
}
: >"$out/showcase.log"
for variant in "" "-banners"; do
  options=()
  [ -n "$variant" ] && options=(--bitmaps)
  showcase "reboot$variant" reboot '=>press:#1' "${options[@]}"
  showcase "banner-waiting$variant" banner-waiting '=>none' "${options[@]}"
  # The small waiting window has no banner.
  [ -z "$variant" ] && showcase waiting waiting '=>none'
done
end_prefix "$prefix"
prefix=""

if [ $docs = 1 ]; then
  # Recompressed, the driver's plain PNGs take a few kilobytes.
  keep() { if [ -f "$1" ]; then convert "$1" -strip -define png:compression-level=9 "$root/docs/screenshots/$2.png"; fi; }
  for name in plain banners; do
    suffix=""
    [ $name = banners ] && suffix=-banners
    for f in "$shots/$name"/*.png; do
      case $(basename "$f") in
        *-Uninstall-Demo-App.png) keep "$f" "uninstall-finish$suffix" ;;
        *-Uninstall.png) keep "$f" "uninstall-progress$suffix" ;;
        *-Demo-App.png) [ $name = plain ] && keep "$f" uninstall-confirm ;;
      esac
    done
  done
  for f in "$shots/showcase"/*.png; do keep "$f" "$(basename "$f" .png)"; done
  echo "== docs/screenshots refreshed"
fi

echo "== screenshots of the dialogs: $shots"
(cd "$shots" && find . -name '*.png' | sort)
exit $status
