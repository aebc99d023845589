# Helpers for running the program and its tests under Wine. Source it.
#
#   start_xvfb          starts Xvfb on a free display, exports DISPLAY and
#                       XVFB_PID; stop_xvfb ends exactly that process
#   make_template DIR   a fresh, safe Wine prefix at DIR (once)
#   fresh_prefix T DIR  DIR becomes a copy of template T
#   end_prefix DIR      ends the prefix's wine processes
#
# Never pipe wine's output: the services it starts inherit the pipe and keep
# it open. Redirect to files instead.

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}

start_xvfb() {
  local n
  for n in $(seq 70 199); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
      XVFB_PID=$!
      export DISPLAY=":$n" XVFB_PID
      local i
      for i in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
      done
    fi
  done
  echo "no free X display" >&2
  return 1
}

stop_xvfb() {
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  fi
}

# Wine links the profile's shell folders to the host's home folder: a program
# under test that deletes through them could delete the host's files. They
# become plain empty folders, and the Z: drive (the host's root) goes.
make_safe() {
  local prefix=$1 user_dir link
  for user_dir in "$prefix"/drive_c/users/*; do
    [ -d "$user_dir" ] || continue
    for link in "$user_dir"/*; do
      if [ -L "$link" ]; then rm -f "$link"; mkdir -p "$link"; fi
    done
  done
  rm -f "$prefix/dosdevices/z:"
}

make_template() {
  local dir=$1
  [ -f "$dir/.ready" ] && return 0
  rm -rf "$dir"
  mkdir -p "$(dirname "$dir")"
  WINEPREFIX="$dir" wineboot -i </dev/null >/dev/null 2>&1
  WINEPREFIX="$dir" wineserver -w
  # No window manager runs on Xvfb: unmanaged windows hide at once. The
  # classic theme keeps drawing cheap.
  WINEPREFIX="$dir" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
  WINEPREFIX="$dir" wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive /t REG_SZ /d 0 /f </dev/null >/dev/null 2>&1
  WINEPREFIX="$dir" wineserver -w
  make_safe "$dir"
  touch "$dir/.ready"
}

# A prefix for tests that run our own test programs from the build tree:
# keeps Z: so that ctest can start them by their Unix paths.
make_build_prefix() {
  local template=$1 dir=$2
  rm -rf "$dir"
  cp -a "$template" "$dir"
  ln -sfn / "$dir/dosdevices/z:"
}

fresh_prefix() {
  local template=$1 dir=$2
  rm -rf "$dir"
  cp -a "$template" "$dir"
  make_safe "$dir"
}

end_prefix() {
  WINEPREFIX="$1" wineserver -k 2>/dev/null || true
}
