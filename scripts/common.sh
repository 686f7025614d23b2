# Shared by the run, test and bench scripts: paths and the Wine environment.
# Sourced, not run.
TPWR_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TPWR_BUILD=${TPWR_BUILD:-$TPWR_ROOT/build}
export WINEPREFIX=${TPWR_WINEPREFIX:-$TPWR_BUILD/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers, no desktop menu entries.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:$TPWR_ROOT/scripts/alsa-capture.conf

log() { printf '== %s\n' "$*" >&2; }

# Creates the project's Wine prefix once: sound through ALSA, no crash dialogs.
wine_prefix_ready() {
  [ -f "$WINEPREFIX/.tpwr-ready" ] && return 0
  log "creating the Wine prefix in $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d alsa /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.tpwr-ready"
}

wine_services_up() {
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# Starts a private Xvfb and exports DISPLAY; XVFB_PID names it for stop_xvfb.
start_xvfb() {
  local fd_file
  fd_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 1 100); do
    [ -s "$fd_file" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$fd_file")"
  rm -f "$fd_file"
  log "Xvfb on $DISPLAY"
}

stop_xvfb() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=
  return 0
}

configure_windows_build() {
  local deps_prefix=""
  if [ -x "$TPWR_ROOT/deps/build-deps.sh" ]; then
    deps_prefix=$("$TPWR_ROOT/deps/build-deps.sh" | tail -n1)
  fi
  cmake -S "$TPWR_ROOT" -B "$TPWR_BUILD/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$TPWR_ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DTPWR_DEPS_PREFIX="$deps_prefix" >/dev/null
}
