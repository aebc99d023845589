#!/usr/bin/env bash
# Runs one end-to-end test program in a fresh, safe Wine prefix of its own.
#   run-e2e.sh TEST_EXE FILE...
# The test program and the files (UnInstall.exe, peers) are copied to
# C:\e2e of the new prefix, which has no Z: drive, so nothing the program
# under test deletes can reach the host. Screenshots the test saves in
# C:\e2e\shots are copied to build/e2e-shots/<test>.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
test_exe=$1
shift
name=$(basename "$test_exe" .exe)
template=${UNINST_WINE_TEMPLATE:?run from scripts/test.sh, which makes the template prefix}
prefix="$(dirname "$template")/e2e-$name"
fresh_prefix "$template" "$prefix"
if [ -n "${E2E_PREFIX_HOOK:-}" ] && [ -f "$E2E_PREFIX_HOOK" ]; then
  bash "$E2E_PREFIX_HOOK" "$prefix"
fi
mkdir -p "$prefix/drive_c/e2e"
cp "$test_exe" "$@" "$prefix/drive_c/e2e/"
log="$prefix/e2e.log"
rc=0
WINEPREFIX="$prefix" timeout "${E2E_TIMEOUT:-600}" wine "C:\\e2e\\$(basename "$test_exe")" \
  </dev/null >"$log" 2>&1 || rc=$?
cat "$log"
shots="$(dirname "$template")/../e2e-shots/$name"
if [ -d "$prefix/drive_c/e2e/shots" ]; then
  rm -rf "$shots"; mkdir -p "$shots"
  cp -r "$prefix/drive_c/e2e/shots/." "$shots/"
fi
end_prefix "$prefix"
[ $rc -eq 0 ] && rm -rf "$prefix"
exit $rc
