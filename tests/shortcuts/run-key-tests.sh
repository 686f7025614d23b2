#!/usr/bin/env bash
# Types real keys with xdotool into the main window (key_test_host.exe in a
# Wine virtual desktop) and checks what the host logged: shortcuts become
# commands ahead of the editor, unbound keys reach it, a modal dialog and a
# greyed command stop them. Needs DISPLAY and WINEPREFIX (scripts/test.sh sets
# both). Writes <results>/test_shortcut_keys.xml.
# Usage: run-key-tests.sh HOST_EXE RESULTS_DIR
set -uo pipefail
host=$1
results=$2
name=test_shortcut_keys
export WINEDEBUG=${WINEDEBUG:--all}
mkdir -p "$results"

cases=()
failures=0
record() {  # record NAME OK MESSAGE
  if [ "$2" = 1 ]; then
    cases+=("<testcase name=\"$1\" classname=\"$name\"/>")
  else
    failures=$((failures + 1))
    cases+=("<testcase name=\"$1\" classname=\"$name\"><failure message=\"$3\"/></testcase>")
    echo "FAIL $1: $3" >&2
  fi
}
write_report() {
  {
    echo "<testsuites tests=\"${#cases[@]}\" failures=\"$failures\" disabled=\"0\" errors=\"0\" name=\"$name\">"
    echo "<testsuite name=\"$name\" tests=\"${#cases[@]}\" failures=\"$failures\" disabled=\"0\" errors=\"0\">"
    printf '%s\n' "${cases[@]}"
    echo "</testsuite>"
    echo "</testsuites>"
  } >"$results/$name.xml"
}

work=$(mktemp -d)
log=$work/log.txt
explorer_pid=
finish() {
  touch "$work/stop"
  if [ -n "$explorer_pid" ]; then
    for _ in $(seq 1 100); do kill -0 "$explorer_pid" 2>/dev/null || break; sleep 0.1; done
    kill "$explorer_pid" 2>/dev/null
  fi
  write_report
  rm -rf "$work"
}
trap finish EXIT

if [ -z "${DISPLAY:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
  record setup 0 "DISPLAY and WINEPREFIX must be set"
  exit 1
fi

# F9 Play, F8 Stop, F7 Rew, F5 SelectAll, F6 Copy, F11 About, F4 HoldPlay; Ctrl+S is a default.
printf '[TPWR]\r\nLanguage=US\r\n\r\n[Keys]\r\n120=Play\r\n119=Stop\r\n118=Rew\r\n116=SelectAll\r\n117=Copy\r\n122=About\r\n115=HoldPlay\r\n' \
  >"$work/Tapewright.INI"
printf 'start' >"$work/talk.txt"
# Three seconds of counting frames (16-bit stereo, 44100 Hz: frame i holds i + 1
# as a 32-bit number), so the capture shows from where and how far it played.
python3 - "$work/sound.wav" <<'PY'
import struct, sys
frames = 3 * 44100
data = b"".join(struct.pack("<I", i + 1) for i in range(frames))
header = b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVEfmt " + struct.pack("<IHHIIHH", 16, 1, 2, 44100, 176400, 4, 16)
open(sys.argv[1], "wb").write(header + b"data" + struct.pack("<I", len(data)) + data)
PY
export TPWR_CAPTURE=$work/capture.raw
# Frames played from the start of the file without a gap (silence skipped).
played_from_start() {
  python3 - "$TPWR_CAPTURE" <<'PY'
import struct, sys
try:
    raw = open(sys.argv[1], "rb").read()
except OSError:
    raw = b""
values = [v for (v,) in struct.iter_unpack("<I", raw[: len(raw) // 4 * 4]) if v]
run = 0
if values and values[0] == 1:
    run = 1
    while run < len(values) and values[run] == run + 1:
        run += 1
print(run)
PY
}

count() {
  [ -f "$log" ] || { echo 0; return; }
  grep -c -x "$1" "$log" || true
}
# wait_for PATTERN MIN [TENTHS]: until PATTERN occurs MIN times in the log.
wait_for() {
  local limit=${3:-300}
  for _ in $(seq 1 "$limit"); do
    [ "$(count "$1")" -ge "$2" ] && return 0
    sleep 0.1
  done
  return 1
}
# A key that must reach the panel: everything typed before it has been handled.
sync_play() {
  local before
  before=$(count "PANEL COMMAND 1153")
  xdotool key F9
  wait_for "PANEL COMMAND 1153" $((before + 1))
}
# The transcript as text: UTF-16 once saved, the 8-bit original before.
saved_text() {
  python3 -c 'import sys; b = open(sys.argv[1], "rb").read(); print(b.decode("utf-16") if b[:2] == b"\xff\xfe" else b.decode("latin-1"), end="")' \
    "$work/talk.txt" 2>/dev/null
}

wine explorer /desktop=KeyTests,1024x768 "$host" "$(winepath -w "$work")" >/dev/null 2>&1 </dev/null &
explorer_pid=$!
if ! wait_for "READY 1" 1 1200 || ! wait_for "ACTIVE MAIN 0" 1 300; then
  record start 0 "the main window did not come up active"
  exit 1
fi
record start 1 ""
# The main window is an X window of its own inside the desktop: the keyboard
# focus goes there, as a click would put it.
main=
for _ in $(seq 1 100); do
  main=$(xdotool search --name '^Tapewright - ' 2>/dev/null | head -n1)
  [ -n "$main" ] && break
  sleep 0.1
done
# --sync waits for ever when the focus never arrives: bounded.
timeout 10 xdotool windowfocus --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
sleep 0.5

# Unbound keys reach the editor as text.
xdotool type --delay 50 'abc'
wait_for "EDIT CHAR 99" 1 100
ok=$([ "$(count 'EDIT CHAR 97')" -ge 1 ] && [ "$(count 'EDIT CHAR 98')" -ge 1 ] && [ "$(count 'EDIT CHAR 99')" -ge 1 ] && echo 1 || echo 0)
record unbound_keys_reach_the_editor "$ok" "typed abc, the editor did not get the characters"

# Ctrl+S saves; the editor sees neither the S key nor its control character.
xdotool key ctrl+s
ok=0
for _ in $(seq 1 100); do
  [ "$(saved_text)" = "abcstart" ] && ok=1 && break
  sleep 0.1
done
sync_play
if [ "$(count 'EDIT KEYDOWN 83')" -ne 0 ] || [ "$(count 'EDIT CHAR 19')" -ne 0 ]; then ok=0; fi
record ctrl_s_saves_without_the_editor "$ok" "file holds '$(saved_text)'; editor S keys: $(count 'EDIT KEYDOWN 83')"

# A binding from the settings file: F9 runs Play at the panel, the editor never sees F9.
ok=$([ "$(count 'PANEL COMMAND 1153')" -ge 1 ] && [ "$(count 'EDIT KEYDOWN 120')" -eq 0 ] && echo 1 || echo 0)
record f9_runs_play "$ok" "Play at the panel: $(count 'PANEL COMMAND 1153'), F9 at the editor: $(count 'EDIT KEYDOWN 120')"

# Holding F7 repeats Rew once per auto-repeat.
xdotool keydown F7
sleep 2
xdotool keyup F7
sync_play
rew=$(count "PANEL COMMAND 1156")
ok=$([ "$rew" -ge 3 ] && [ "$(count 'EDIT KEYDOWN 118')" -eq 0 ] && echo 1 || echo 0)
record holding_f7_repeats_rew "$ok" "Rew reached the panel $rew times"

# Tab types a tab into the text (through its fixed binding, not the control's
# own key handling); Shift+Tab takes the focus to the panel, Tab brings it back.
xdotool key Tab
sync_play
xdotool key ctrl+s
ok=0
for _ in $(seq 1 100); do
  [ "$(saved_text)" = "$(printf 'abc\tstart')" ] && ok=1 && break
  sleep 0.1
done
[ "$(count 'EDIT KEYDOWN 9')" -eq 0 ] || ok=0
record tab_types_a_tab "$ok" "file holds '$(saved_text)'; tab key-downs at the editor: $(count 'EDIT KEYDOWN 9')"
others=$(count "FOCUS OTHER 0")
editors=$(count "FOCUS EDITOR 0")
xdotool key shift+Tab
wait_for "FOCUS OTHER 0" $((others + 1)) 50
xdotool key Tab
wait_for "FOCUS EDITOR 0" $((editors + 1)) 50
xdotool key ctrl+s
sync_play
ok=$([ "$(count 'FOCUS OTHER 0')" -gt "$others" ] && [ "$(count 'FOCUS EDITOR 0')" -gt "$editors" ] &&
  [ "$(saved_text)" = "$(printf 'abc\tstart')" ] && echo 1 || echo 0)
record shift_tab_visits_the_panel_and_tab_returns "$ok" "focus left: $(( $(count 'FOCUS OTHER 0') - others )), came back: $(( $(count 'FOCUS EDITOR 0') - editors )), file '$(saved_text)'"

# Copy is greyed with nothing selected: F6 does nothing. After Select all (F5) it copies.
xdotool key End
xdotool key F6
sync_play
greyed=$(count "EDIT COPY 0")
xdotool key F5
sleep 0.5
xdotool key F6
wait_for "EDIT COPY 0" 1 50
ok=$([ "$greyed" -eq 0 ] && [ "$(count 'EDIT COPY 0')" -ge 1 ] && echo 1 || echo 0)
record greyed_copy_does_nothing "$ok" "copies while greyed: $greyed, after select all: $(count 'EDIT COPY 0')"

# With the About box open (modal, F11) shortcuts do nothing; after it closes they work.
plays=$(count "PANEL COMMAND 1153")
actives=$(count "ACTIVE MAIN 0")
xdotool key F11
if wait_for "ACTIVE OTHER 0" 1 100; then
  sleep 0.3
  xdotool key F9
  xdotool key ctrl+s
  sleep 1.5
  blocked=$(( $(count "PANEL COMMAND 1153") - plays ))
  xdotool key Return
  wait_for "ACTIVE MAIN 0" $((actives + 1)) 100
  sync_play
  ok=$([ "$blocked" -eq 0 ] && [ "$(count 'PANEL COMMAND 1153')" -eq $((plays + 1)) ] && echo 1 || echo 0)
  record modal_dialog_stops_shortcuts "$ok" "Play while the box was open: $blocked"
else
  record modal_dialog_stops_shortcuts 0 "F11 did not open the About box"
fi

# F9 with a recording open: the player plays it from the start into the capture.
touch "$work/open"
if wait_for "AUDIO OPEN 1" 1 100; then
  sleep 1
  xdotool key F9
  frames=0
  for _ in $(seq 1 100); do
    frames=$(played_from_start)
    [ "$frames" -ge 22050 ] && break
    sleep 0.1
  done
  xdotool key F8
  record f9_plays_the_recording "$([ "$frames" -ge 22050 ] && echo 1 || echo 0)" \
    "captured $frames frames from the start"
else
  record f9_plays_the_recording 0 "the panel did not open the recording"
fi

# Holding F4 (HoldPlay) plays while it is down and pauses when it comes up; its
# auto-repeats start nothing again.
captured() { cat "$TPWR_CAPTURE"* 2>/dev/null | wc -c; }
sleep 0.5
start=$(captured)
xdotool keydown F4
sleep 2
held=$(( $(captured) - start ))
xdotool keyup F4
wait_for "PANEL COMMAND 1164" 1 50
sleep 1
after_release=$(captured)
sleep 1
still=$(( $(captured) - after_release ))
presses=$(count "PANEL COMMAND 1163")
ok=$([ "$presses" -eq 1 ] && [ "$(count 'PANEL COMMAND 1164')" -eq 1 ] && [ "$held" -ge 176400 ] &&
  [ "$still" -eq 0 ] && [ "$(count 'EDIT KEYDOWN 115')" -eq 0 ] && echo 1 || echo 0)
record holding_f4_plays_until_it_comes_up "$ok" \
  "presses $presses, releases $(count 'PANEL COMMAND 1164'), $held bytes while held, $still after the release"
[ "$failures" -eq 0 ]
