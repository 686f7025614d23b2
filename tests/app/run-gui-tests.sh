#!/usr/bin/env bash
# GUI tests: the real Tapewright.exe under Wine on a virtual desktop of its own,
# driven with xdotool key strokes as a typist would; gui_probe.exe looks at its
# windows. Writes one line per case and a JUnit-style report.
#
#   run-gui-tests.sh EXE PROBE RESULTS_DIR SCREENSHOT_DIR WORK_DIR [CASE...]
#
# Uses DISPLAY and WINEPREFIX when set (the test script provides both); starts
# a private Xvfb otherwise.
set -uo pipefail

exe=$1 probe=$2 results=$3 shots=$4 work=$5
shift 5
only=("$@")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d"}
if [ -z "${WINEPREFIX:-}" ]; then
  echo "WINEPREFIX is not set" >&2
  exit 1
fi
mkdir -p "$results" "$shots"
rm -rf "$work"
mkdir -p "$work"

own_xvfb=
if [ -z "${DISPLAY:-}" ]; then
  fd_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
  own_xvfb=$!
  for _ in $(seq 1 100); do [ -s "$fd_file" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$fd_file")"
  rm -f "$fd_file"
fi

desktop=        # Wine desktop name of the running case
desktop_x=      # its X window
explorer_pid=
case_number=0

winpath() { local p=$1; printf 'Z:%s' "${p//\//\\}"; }
probe() { wine "$probe" "$desktop" "$@" 2>/dev/null | tr -d '\r'; }

# Starts a copy of the program in folder (its settings file lives beside it)
# on a fresh virtual desktop and waits for the main window. Extra arguments
# are environment assignments for the program.
start_program() {
  local folder=$1
  shift
  case_number=$((case_number + 1))
  desktop=TpwrGui$case_number
  cp "$exe" "$folder/Tapewright.exe"
  env "$@" wine explorer "/desktop=$desktop,1024x768" "$(winpath "$folder/Tapewright.exe")" >/dev/null 2>&1 &
  explorer_pid=$!
  desktop_x=
  for _ in $(seq 1 300); do
    desktop_x=$(xdotool search --name "^$desktop - " 2>/dev/null | head -n1)
    [ -n "$desktop_x" ] && break
    sleep 0.1
  done
  [ -n "$desktop_x" ] || return 1
  probe wait TPWR "Tapewright - " 60000 >/dev/null || return 1
  # Let the start-up messages (title, check marks) settle before typing.
  probe wait TPWR "Tapewright - " 1000 >/dev/null
}

# Without a window manager the X focus follows the pointer: keep it over the
# desktop's empty lower right corner.
focus() { xdotool mousemove --window "$desktop_x" 1000 750 2>/dev/null; }
keys() { focus; xdotool key --delay 60 "$@"; }
type_text() { focus; xdotool type --delay 25 -- "$1"; }
# Opens a menu with Alt and its mnemonic, then picks an item by its mnemonic.
menu() { keys "alt+$1"; sleep 0.4; xdotool key "$2"; }
# File > Exit, the File menu's last item (its X is shared with Export Cues).
file_exit() { keys alt+f; sleep 0.4; xdotool key Up Return; }
wait_dialog() { probe wait "#32770" "$1" "${2:-20000}"; }
dialog_gone() { probe gone "#32770" "$1" "${2:-20000}" >/dev/null; }
program_gone() { probe gone TPWR "" "${1:-20000}" >/dev/null; }
screenshot() { import -window "$desktop_x" "$shots/$1.png" 2>/dev/null; }

stop_program() {
  [ -n "$desktop" ] && probe kill >/dev/null
  if [ -n "$explorer_pid" ]; then
    for _ in $(seq 1 50); do kill -0 "$explorer_pid" 2>/dev/null || break; sleep 0.1; done
    kill "$explorer_pid" 2>/dev/null
    wait "$explorer_pid" 2>/dev/null
  fi
  explorer_pid=
  desktop=
}

cleanup() {
  stop_program
  [ -n "$own_xvfb" ] && kill "$own_xvfb" 2>/dev/null
}
trap cleanup EXIT

# Expected file content: FF FE and the text in UTF-16LE (text given in UTF-8, \n as CR LF).
expect_utf16_file() {
  local file=$1 text=$2 expected
  expected=$(mktemp)
  printf '\xff\xfe' >"$expected"
  printf '%s' "$text" | sed 's/$/\r/' | head -c -1 | iconv -f UTF-8 -t UTF-16LE >>"$expected"
  cmp -s "$file" "$expected"
  local status=$?
  [ $status -eq 0 ] || { echo "bytes differ:"; xxd "$file" | head -5; xxd "$expected" | head -5; }
  rm -f "$expected"
  return $status
}

editor_text_is() {
  local folder=$1 text=$2 got expected
  got=$folder/editor.utf16
  probe text "$(winpath "$got")" || { echo "no editor text"; return 1; }
  expected=$(mktemp)
  printf '%s' "$text" | sed 's/$/\r/' | head -c -1 | iconv -f UTF-8 -t UTF-16LE >"$expected"
  cmp -s "$got" "$expected"
  local status=$?
  [ $status -eq 0 ] || echo "editor holds $(stat -c %s "$got") bytes, expected $(stat -c %s "$expected")"
  rm -f "$expected"
  return $status
}

fail() { echo "$*"; return 1; }

source "$here/gui-cases.sh"

# Runs each case, prints a line for it, and collects the report.
cases=(type_and_save_as close_prompt_cancel_then_no close_prompt_yes_saves open_ansi_file
       language_dialog_switches_to_german german_system_starts_german maximised_placement
       bars_hide_and_show typing_past_40000_characters quiet_commands_do_nothing
       toolbar_default_hide_and_show toolbar_from_settings_plays toolbar_customisation force_dark_mode_on_wine
       reset_settings_keeps_the_transcript help_opens
       configuration_pages_and_step_lengths configuration_shortcut_cancel_and_ok
       find_and_find_next replace_all_changes_every_occurrence print_dialog_cancel_then_two_copies
       recovery_after_a_kill phone_recordings_play_seek_and_cue)
[ ${#only[@]} -gt 0 ] && cases=("${only[@]}")
report_cases=
failures=0
start_all=$(date +%s)
for name in "${cases[@]}"; do
  folder=$work/$name
  mkdir -p "$folder"
  started=$(date +%s.%N)
  desktop_x=  # a case that fails before its program starts has no window to capture
  # Not in a subshell: the case leaves the desktop and the program to stop_program.
  "$name" "$folder" >"$folder/case.log" 2>&1
  status=$?
  output=$(cat "$folder/case.log")
  [ $status -eq 0 ] || [ -z "$desktop_x" ] || screenshot "failed-$name"
  stop_program
  seconds=$(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }')
  if [ $status -eq 0 ]; then
    echo "PASS $name (${seconds}s)"
    report_cases+="    <testcase name=\"$name\" classname=\"gui\" time=\"$seconds\"/>"$'\n'
  else
    failures=$((failures + 1))
    echo "FAIL $name (${seconds}s)"
    printf '%s\n' "$output" | sed 's/^/    /'
    message=$(printf '%s' "$output" | tr '\n' ' ' | sed 's/&/\&amp;/g; s/</\&lt;/g; s/>/\&gt;/g; s/"/\&quot;/g')
    report_cases+="    <testcase name=\"$name\" classname=\"gui\" time=\"$seconds\"><failure message=\"$message\"/></testcase>"$'\n'
  fi
done
total=${#cases[@]}
elapsed=$(($(date +%s) - start_all))
{
  echo "<testsuites tests=\"$total\" failures=\"$failures\" disabled=\"0\" errors=\"0\" time=\"$elapsed\" name=\"test_gui\">"
  echo "  <testsuite name=\"gui\" tests=\"$total\" failures=\"$failures\" disabled=\"0\" errors=\"0\" time=\"$elapsed\">"
  printf '%s' "$report_cases"
  echo "  </testsuite>"
  echo "</testsuites>"
} >"$results/test_gui.xml"
echo "$((total - failures)) of $total GUI cases passed"
[ $failures -eq 0 ]
