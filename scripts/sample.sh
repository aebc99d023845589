#!/usr/bin/env bash
# The main job on the built-in sample: builds UnInstall.exe, lays out the
# sample installation (samples/demo) in a fresh Wine prefix, runs the
# uninstall with its dialogs answered by the test driver, prints what was
# removed and what stayed, and saves a screenshot of each dialog.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)" >/dev/null
. scripts/wine-env.sh

out="$root/build/sample"
shots="$out/screenshots"
template="$root/build/wine/template"
prefix="$out/prefix"
make_template "$template"
mkdir -p "$out"
fresh_prefix "$template" "$prefix"
rm -rf "$shots"
mkdir -p "$shots"
start_xvfb
trap 'end_prefix "$prefix"; stop_xvfb' EXIT
export WINEPREFIX="$prefix"

c="$prefix/drive_c"
app="$c/Program Files/Demo App"
# The installation: program files, a file the user changed, folders,
# shortcuts, registry items, and the uninstaller with its record in a folder
# of its own.
group="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Demo App"
mkdir -p "$app/bin" "$app/data" "$app/logs/old" "$app/Uninst" "$c/users/Public/Desktop" "$group"
printf 'demo program\r\n' > "$app/DemoApp.exe"
printf 'read me\r\n' > "$app/readme.txt"
printf 'helper\r\n' > "$app/bin/helper.dll"
printf '[User]\r\nTheme=dark\r\n' > "$app/user-settings.ini"
# Removed only while unchanged since the install (its recorded local time):
# the template still is, the catalog was updated later.
printf 'template\r\n' > "$app/data/template.dat"
printf 'catalog, updated\r\n' > "$app/data/catalog.dat"
touch -d '2024-03-01 10:00:00' "$app/data/template.dat"
printf 'kept by its update type\r\n' > "$app/data/old-format.dat"
printf 'shortcut\r\n' > "$c/users/Public/Desktop/Demo App.lnk"
printf 'shortcut\r\n' > "$group/Demo App.lnk"
cp samples/demo/Setup.qsf "$app/Uninst/Setup.qsf"
cp build/win32/app/UnInstall.exe "$app/Uninst/UnInstall.exe"
cp build/win32/tests/driver/DialogDriver.exe "$c/DialogDriver.exe"
cp samples/demo/sample.reg "$c/sample.reg"
wine regedit /S 'C:\sample.reg' </dev/null >/dev/null 2>&1
wineserver -w

before=$(cd "$c" && find "Program Files/Demo App" users/Public/Desktop "ProgramData/Microsoft/Windows/Start Menu/Programs/Demo App" | sort)

cd "$c"
echo "== running UnInstall.exe (dialogs answered by the driver)"
rc=0
timeout 300 wine 'C:\DialogDriver.exe' --shots 'C:\shots' --timeout 240 --wait-for strQSTemp.exe \
  --rule 'Are you sure=>press:Yes' --rule 'Finish=>press:Finish' --rule '=>none' \
  -- 'C:\Program Files\Demo App\Uninst\UnInstall.exe' </dev/null >"$out/driver.log" 2>&1 || rc=$?
wineserver -w
cat "$out/driver.log"
cp "$c"/shots/*.png "$shots/" 2>/dev/null || true

echo
echo "== files and folders"
while IFS= read -r p; do
  if [ -e "$c/$p" ]; then echo "  stayed   C:\\${p//\//\\}"; else echo "  removed  C:\\${p//\//\\}"; fi
done <<<"$before"

echo
echo "== registry"
reg_state() {
  local key=$1 value=${2:-}
  local args=("$key")
  [ -n "$value" ] && args+=(/v "$value")
  if wine reg query "${args[@]}" </dev/null >/dev/null 2>&1; then echo "stayed "; else echo "removed"; fi
}
for entry in 'HKCU\Software\Demo Co\Demo App|' 'HKCU\Software\Demo Co|' \
             'HKLM\Software\Demo Co|InstallPath' 'HKLM\Software\Demo Co|SharedSetting' \
             'HKLM\Software\Demo Co|Language' 'HKLM\Software\Demo Co|Build' \
             'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\{D3E0A0B1-0000-4000-8000-00000000D3E0}|'; do
  key=${entry%%|*}
  value=${entry#*|}
  printf '  %s  %s%s\n' "$(reg_state "$key" "$value")" "$key" "${value:+ : $value}"
done

echo
echo "== screenshots of the dialogs: $shots"
ls -1 "$shots"
echo "driver exit code: $rc"
exit $rc
