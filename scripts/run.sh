#!/usr/bin/env bash
# Builds Tapewright and starts it under Wine. With a display the window opens
# there; without one a private Xvfb hosts it, a screenshot is saved under
# build/ and its path printed, and the program is ended.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$TPWR_ROOT/scripts/install-packages.sh"
configure_windows_build
cmake --build "$TPWR_BUILD/win" -j2 --target Tapewright
exe=$TPWR_BUILD/win/bin/Tapewright.exe

if [ -n "${DISPLAY:-}" ]; then
  wine_prefix_ready
  exec wine "$exe"
fi

cleanup() {
  wineserver -k 2>/dev/null || true
  stop_xvfb
}
trap cleanup EXIT
start_xvfb
wine_prefix_ready
# A Wine desktop window of its own, so the window gets its frame and title bar
# without a window manager.
wine explorer /desktop=Tapewright,900x640 "$exe" >/dev/null 2>&1 &
window=
for _ in $(seq 1 300); do
  window=$(xdotool search --name 'Wine desktop' 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "Tapewright did not open its window." >&2
  exit 1
fi
sleep 3  # let it start and paint
# A few lines of transcript, so the picture shows the program at work.
xdotool type --delay 15 $'Sound Cue: 00:00\nInterviewer: When did you first hear the recording?\nWitness: On the Monday after the meeting.\n' 2>/dev/null || true
sleep 1
shot=$TPWR_BUILD/screenshot.png
import -window "$window" "$shot"
echo "$shot"
