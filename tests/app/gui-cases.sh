# The GUI test cases, sourced by run-gui-tests.sh. Each gets its own folder
# (the program's copy and its settings file live there), prints what went
# wrong and returns non-zero on failure.

settings_has() { tr -d '\r' <"$1/Tapewright.INI" 2>/dev/null | grep -q "$2"; }

# Menus are not readable from another process under Wine; the German menu
# bar shows itself by its mnemonics instead: Alt+D opens "&Datei" (the English
# bar has no D), whose popup window then appears.
german_menu_opens() {
  keys alt+d
  probe wait "#32768" "" 3000 >/dev/null || { keys Escape Escape; return 1; }
}

# Types a transcript, saves it through File > Save as into the case folder and
# checks the bytes on disk: FF FE, then the text in UTF-16LE with CR LF.
type_and_save_as() {
  local folder=$1 title
  start_program "$folder" || fail "the main window did not open" || return 1
  type_text "Interviewer: Where were you on the night of the storm?"
  keys Return
  type_text "Witness: At home, reading by candlelight."
  sleep 0.5  # the status bar repaints its line and column 100 ms after a change
  screenshot english-transcript
  menu f a
  wait_dialog "Save As" >/dev/null || fail "no Save As dialog" || return 1
  type_text "$(winpath "$folder/storm.txt")"
  keys Return
  dialog_gone "Save As" || fail "the Save As dialog stayed open" || return 1
  title=$(probe wait TPWR "Tapewright - storm.txt" 10000) || fail "title not updated: $(probe wait TPWR '' 10)" || return 1
  expect_utf16_file "$folder/storm.txt" $'Interviewer: Where were you on the night of the storm?\nWitness: At home, reading by candlelight.' ||
    return 1
  [ "$(probe modified)" = 0 ] || fail "still marked modified after the save" || return 1
  file_exit
  program_gone || fail "File > Exit did not close a saved document"
}

# Close with unsaved text: Cancel keeps window and text, No discards them.
close_prompt_cancel_then_no() {
  local folder=$1
  start_program "$folder" || fail "the main window did not open" || return 1
  type_text "draft that must survive Cancel"
  file_exit
  wait_dialog "Tapewright" >/dev/null || fail "no save prompt on close" || return 1
  keys Escape
  dialog_gone "Tapewright" || fail "the prompt stayed after Cancel" || return 1
  sleep 0.5
  probe wait TPWR "Tapewright - " 100 >/dev/null || fail "the window closed after Cancel" || return 1
  editor_text_is "$folder" "draft that must survive Cancel" || return 1
  [ "$(probe modified)" = 1 ] || fail "the text lost its modified mark" || return 1
  file_exit
  wait_dialog "Tapewright" >/dev/null || fail "no save prompt on the second close" || return 1
  keys n
  program_gone || fail "No did not close the window" || return 1
  [ -z "$(find "$folder" -name '*.txt')" ] || fail "No wrote a file: $(find "$folder" -name '*.txt')"
}

# Close with unsaved text and answer Yes: Save as opens, the file is written, the program ends.
close_prompt_yes_saves() {
  local folder=$1
  start_program "$folder" || fail "the main window did not open" || return 1
  type_text "keep me"
  file_exit
  wait_dialog "Tapewright" >/dev/null || fail "no save prompt on close" || return 1
  keys y
  wait_dialog "Save As" >/dev/null || fail "Yes on an untitled document did not open Save As" || return 1
  type_text "$(winpath "$folder/kept.txt")"
  keys Return
  program_gone || fail "the program did not end after saving" || return 1
  expect_utf16_file "$folder/kept.txt" "keep me"
}

# An ANSI file (Windows-1252 bytes) opens through File > Open and shows its characters.
open_ansi_file() {
  local folder=$1
  printf 'Gr\xfc\xdfe aus K\xf6ln\r\nZeile zwei' >"$folder/ansi.txt"
  start_program "$folder" || fail "the main window did not open" || return 1
  menu f o
  # The Open dialog's caption is the current file's name: empty for a new document.
  wait_dialog "" >/dev/null || fail "no Open dialog" || return 1
  type_text "$(winpath "$folder/ansi.txt")"
  keys Return
  dialog_gone "" || fail "the Open dialog stayed open" || return 1
  probe wait TPWR "Tapewright - ansi.txt" 10000 >/dev/null || fail "title not updated" || return 1
  editor_text_is "$folder" $'Grüße aus Köln\nZeile zwei' || return 1
  [ "$(probe modified)" = 0 ] || fail "a freshly opened file is marked modified" || return 1
  file_exit
  program_gone || fail "Exit did not close"
}

# Options > Language, pick German: the menu bar turns German and Language=DE is stored.
language_dialog_switches_to_german() {
  local folder=$1
  start_program "$folder" || fail "the main window did not open" || return 1
  probe wait TPWR "Tapewright - Untitled" 100 >/dev/null || fail "not English at first" || return 1
  menu o a
  wait_dialog " Language" >/dev/null || fail "no Language dialog" || return 1
  screenshot language-dialog
  keys g Return
  dialog_gone " Language" || fail "the Language dialog stayed open" || return 1
  settings_has "$folder" '^Language=DE$' || fail "Language=DE not stored" || return 1
  german_menu_opens || fail "Alt+D opens no German File menu" || return 1
  sleep 0.4  # as menu() paces it: the popup can exist before it takes keys
  xdotool key n  # "&Neu": the title takes the German name for an untitled document
  probe wait TPWR "Tapewright - Unbenannt" 10000 >/dev/null || fail "New did not give a German title" || return 1
  type_text "Guten Tag, hier beginnt die Abschrift."
  keys alt+d
  sleep 0.8
  screenshot german-menu
  keys Escape Escape
  sleep 0.3
  screenshot german
  menu d b
  wait_dialog "Tapewright" >/dev/null || fail "no save prompt" || return 1
  keys n
  program_gone || fail "Beenden did not close"
}

# A German system language and no settings file: German from the start, DE stored.
german_system_starts_german() {
  local folder=$1 locales=$work/locales
  if [ ! -d "$locales/de_DE.UTF-8" ]; then
    mkdir -p "$locales"
    localedef -i de_DE -f UTF-8 "$locales/de_DE.UTF-8" >/dev/null 2>&1 || fail "cannot build the de_DE locale" || return 1
  fi
  start_program "$folder" LOCPATH="$locales" LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 ||
    fail "the main window did not open" || return 1
  probe wait TPWR "Tapewright - Unbenannt" 5000 >/dev/null || fail "title not German" || return 1
  german_menu_opens || fail "Alt+D opens no German File menu" || return 1
  keys Escape Escape
  settings_has "$folder" '^Language=DE$' || fail "Language=DE not stored: $(cat "$folder/Tapewright.INI" 2>&1)" || return 1
  menu d b
  program_gone || fail "Beenden did not close"
}

# A stored maximised placement shows the window maximised over the whole desktop.
maximised_placement() {
  local folder=$1 layout width
  printf '[TPWR]\r\nPos=40,30,500,400,3\r\n' >"$folder/Tapewright.INI"
  start_program "$folder" || fail "the main window did not open" || return 1
  layout=$(probe layout)
  grep -qx 'zoomed 1' <<<"$layout" || fail "not maximised: $layout" || return 1
  width=$(awk '/^client/ { print $2 }' <<<"$layout")
  [ "$width" -ge 1000 ] || fail "client width $width on a 1024-pixel desktop" || return 1
  file_exit
  program_gone || fail "Exit did not close" || return 1
  settings_has "$folder" '^Pos=.*,3$' || fail "the maximised state was not stored back: $(cat "$folder/Tapewright.INI")"
}

# Child placement from a layout listing: "top bottom visible" of the child of a class.
child_box() { awk -v c="$2" '$1 == "child" && $2 == c { print $5, $7, $8 }' <<<"$1"; }

# View > Status bar hides the bar (the player panel drops to the bottom edge) and shows it again.
bars_hide_and_show() {
  local folder=$1 layout height panel editor status panel_class
  start_program "$folder" || fail "the main window did not open" || return 1
  layout=$(probe layout)
  height=$(awk '/^client/ { print $3 }' <<<"$layout")
  panel_class=$(awk '$1 == "child" && $2 != "sb" && $2 != "ToolbarWindow32" && $3 != 27 { print $2; exit }' <<<"$layout")
  status=$(child_box "$layout" sb)
  panel=$(child_box "$layout" "$panel_class")
  [ "${status#* }" = "$height 1" ] || fail "status bar not at the bottom: $layout" || return 1
  [ "${panel#* }" = "${status%% *} 1" ] || fail "panel not above the status bar: $layout" || return 1
  menu v b
  sleep 0.5
  layout=$(probe layout)
  status=$(child_box "$layout" sb)
  panel=$(child_box "$layout" "$panel_class")
  editor=$(awk '$1 == "child" && $3 == 27 { print $7 }' <<<"$layout")
  [ "${status##* }" = 0 ] || fail "status bar still visible: $layout" || return 1
  [ "${panel#* }" = "$height 1" ] || fail "panel not on the bottom edge: $layout" || return 1
  [ "$editor" = "${panel%% *}" ] || fail "editor does not reach the panel: $layout" || return 1
  menu v b
  sleep 0.5
  layout=$(probe layout)
  status=$(child_box "$layout" sb)
  panel=$(child_box "$layout" "$panel_class")
  [ "${status#* }" = "$height 1" ] || fail "status bar not back: $layout" || return 1
  [ "${panel#* }" = "${status%% *} 1" ] || fail "panel not back above the status bar: $layout" || return 1
  file_exit
  program_gone || fail "Exit did not close"
}

# Polls the editor's text into file until it holds at least bytes bytes (20 s at most).
editor_bytes_at_least() {
  local file=$1 bytes=$2
  for _ in $(seq 1 100); do
    probe text "$(winpath "$file")" && [ "$(stat -c %s "$file" 2>/dev/null || echo 0)" -ge "$bytes" ] && return 0
    sleep 0.2
  done
  return 1
}

# Beyond the old 32767-character limit: typed text, a pasted block of 40 000
# characters and typed text after it all stay.
typing_past_40000_characters() {
  local folder=$1 block=$folder/block.txt head tail
  head="The recording starts with a long silence and then the chairman opens the meeting. "
  tail=" Meeting closed."
  start_program "$folder" || fail "the main window did not open" || return 1
  type_text "$head"
  awk 'BEGIN { for (i = 1; i <= 560; i++) printf "Line %05d of the pasted block, with enough words to fill it ...........\r\n", i }' |
    iconv -f UTF-8 -t UTF-16LE >"$block"
  [ "$(stat -c %s "$block")" -ge 80000 ] || fail "block too small" || return 1
  probe clip "$(winpath "$block")" || fail "cannot fill the clipboard" || return 1
  local expected=$folder/expected.utf16 got=$folder/editor.utf16
  local pasted=$(( ${#head} * 2 + $(stat -c %s "$block") ))
  keys ctrl+v
  # A loaded machine may take a while to paste 80 kB: wait for it, bounded.
  editor_bytes_at_least "$got" "$pasted" || fail "the paste did not arrive" || return 1
  type_text "$tail"
  { printf '%s' "$head" | iconv -f UTF-8 -t UTF-16LE; cat "$block"; printf '%s' "$tail" | iconv -f UTF-8 -t UTF-16LE; } >"$expected"
  editor_bytes_at_least "$got" "$(stat -c %s "$expected")" || true
  cmp -s "$got" "$expected" ||
    fail "editor holds $(($(stat -c %s "$got") / 2)) characters, expected $(($(stat -c %s "$expected") / 2))" || return 1
  file_exit
  wait_dialog "Tapewright" >/dev/null || fail "no save prompt" || return 1
  keys n
  program_gone || fail "No did not close"
}

# Go to on an empty text and Escape arrive and do nothing; the program lives on.
quiet_commands_do_nothing() {
  local folder=$1
  start_program "$folder" || fail "the main window did not open" || return 1
  probe command 145 25 ||
    fail "cannot post the commands" || return 1
  sleep 1
  probe wait TPWR "Tapewright - " 100 >/dev/null || fail "the program died" || return 1
  [ -z "$(probe wait '#32770' '' 300)" ] || fail "a command opened a window" || return 1
  file_exit
  program_gone || fail "Exit did not close"
}

# The editor's top edge in a layout listing.
editor_top() { awk '$1 == "child" && $3 == 27 { print $5 }' <<<"$1"; }

# The default toolbar: 14 entries, 12 buttons and 2 separators, at 32 px. View >
# Toolbar hides it, the editor moves up by its height, and it comes back.
toolbar_default_hide_and_show() {
  local folder=$1 bar layout height top
  start_program "$folder" || fail "the main window did not open" || return 1
  bar=$(probe toolbar 102 103 105 162 108 111 112 114 115 116 142 145 1153)
  grep -qx 'buttons 14' <<<"$bar" || fail "not the default toolbar: $bar" || return 1
  [ "$(awk 'NF == 2 && $1 ~ /^[0-9]+$/ { printf "%s ", $2 }' <<<"$bar")" = "0 1 2 3 4 6 7 8 9 10 12 13 -1 " ] ||
    fail "the default order differs: $bar" || return 1
  read -r _ left top _ bottom < <(grep '^box' <<<"$bar")
  height=$((bottom - top))
  [ "$height" -ge 32 ] || fail "a $height-pixel toolbar for 32-pixel icons" || return 1
  [ "$(editor_top "$(probe layout)")" = "$height" ] || fail "the editor does not start under the toolbar: $(probe layout)" || return 1
  screenshot toolbar-32
  menu v t
  sleep 0.5
  layout=$(probe layout)
  [ "$(editor_top "$layout")" = 0 ] || fail "the editor did not grow by the toolbar: $layout" || return 1
  menu v t
  sleep 0.5
  [ "$(editor_top "$(probe layout)")" = "$height" ] || fail "the toolbar did not come back: $(probe layout)" || return 1
  file_exit
  program_gone || fail "Exit did not close"
}

# TB and IconTB from the settings file: Play, a separator and Stop at 16 px
# (an unknown number is skipped). A click on Play plays the opened file.
toolbar_from_settings_plays() {
  local folder=$1 bar left top
  printf '[TPWR]\r\nTB=25,0,5,27\r\nIconTB=16\r\n' >"$folder/Tapewright.INI"
  sox -n -r 44100 -c 2 -b 16 "$folder/tone.wav" synth 1 sine 440 2>/dev/null || fail "cannot make the WAV file" || return 1
  start_program "$folder" TPWR_CAPTURE="$folder/capture.raw" || fail "the main window did not open" || return 1
  bar=$(probe toolbar 1153 1154)
  grep -qx 'buttons 3' <<<"$bar" && grep -qx '1153 0' <<<"$bar" && grep -qx '1154 2' <<<"$bar" ||
    fail "TB not followed: $bar" || return 1
  screenshot toolbar-16
  probe command 162 >/dev/null
  wait_dialog "" >/dev/null || fail "no Open dialog for the audio file" || return 1
  type_text "$(winpath "$folder/tone.wav")"
  keys Return
  dialog_gone "" || fail "the Open dialog stayed open" || return 1
  sleep 1
  [ ! -s "$folder/capture.raw" ] || fail "playing before Play was clicked" || return 1
  read -r _ left top _ _ < <(grep '^box' <<<"$bar")
  xdotool mousemove --window "$desktop_x" $((left + 10)) $((top + 10)) click 1
  for _ in $(seq 1 50); do [ "$(tr -d '\0' <"$folder/capture.raw" 2>/dev/null | head -c 1000 | wc -c)" -ge 1000 ] && break; sleep 0.2; done
  [ "$(tr -d '\0' <"$folder/capture.raw" 2>/dev/null | head -c 1000 | wc -c)" -ge 1000 ] ||
    fail "the Play button played nothing" || return 1
  file_exit
  program_gone || fail "Exit did not close"
}

# Options > Customize Toolbar: Exit goes in after New, 16 px is chosen, OK
# stores both and the toolbar shows them.
toolbar_customisation() {
  local folder=$1 bar
  start_program "$folder" || fail "the main window did not open" || return 1
  menu o t
  wait_dialog "Toolbar Options" >/dev/null || fail "no Toolbar Options dialog" || return 1
  sleep 0.3
  keys Down
  sleep 0.3
  screenshot toolbar-dialog
  keys Tab space Tab Tab Tab Tab Tab Home
  keys alt+o
  dialog_gone "Toolbar Options" || fail "OK did not close the dialog" || return 1
  settings_has "$folder" '^TB=10,1,11,12,29,15,0,16,17,18,19,20,0,21,23$' ||
    fail "the layout was not stored: $(cat "$folder/Tapewright.INI")" || return 1
  settings_has "$folder" '^IconTB=16$' || fail "the icon size was not stored: $(cat "$folder/Tapewright.INI")" || return 1
  bar=$(probe toolbar 100)
  grep -qx 'buttons 15' <<<"$bar" && grep -qx '100 1' <<<"$bar" || fail "the toolbar was not rebuilt: $bar" || return 1
  screenshot toolbar-customised
  file_exit
  program_gone || fail "Exit did not close"
}

# Wine has no dark-mode entry points: Force dark mode only stores DM=2, and the
# program goes on as before.
force_dark_mode_on_wine() {
  local folder=$1
  start_program "$folder" || fail "the main window did not open" || return 1
  probe command 173 >/dev/null
  sleep 1
  settings_has "$folder" '^DM=2$' || fail "DM=2 not stored: $(cat "$folder/Tapewright.INI")" || return 1
  probe wait TPWR "Tapewright - " 100 >/dev/null || fail "the program died" || return 1
  [ -z "$(probe wait '#32770' '' 300)" ] || fail "the choice opened a window" || return 1
  type_text "still typing"
  editor_text_is "$folder" "still typing" || return 1
  file_exit
  wait_dialog "Tapewright" >/dev/null || fail "no save prompt" || return 1
  keys n
  program_gone || fail "No did not close"
}

# Options > Reset Settings answered Yes with a transcript open: the window comes
# back with default settings (no longer maximised, the stored step gone) and
# the same transcript.
reset_settings_keeps_the_transcript() {
  local folder=$1
  printf 'Speaker 1: first line\r\nSpeaker 2: second line' >"$folder/reset.txt"
  printf '[TPWR]\r\nPos=40,30,500,400,3\r\n[Player]\r\nStepBak=9\r\n' >"$folder/Tapewright.INI"
  start_program "$folder" || fail "the main window did not open" || return 1
  grep -qx 'zoomed 1' <<<"$(probe layout)" || fail "the stored placement was not used" || return 1
  menu f o
  wait_dialog "" >/dev/null || fail "no Open dialog" || return 1
  type_text "$(winpath "$folder/reset.txt")"
  keys Return
  probe wait TPWR "Tapewright - reset.txt" 10000 >/dev/null || fail "the transcript did not open" || return 1
  # Reset Settings has no mnemonic: up from the first item past Language.
  keys alt+o
  sleep 0.4
  xdotool key Up Up Return
  wait_dialog "Tapewright" >/dev/null || fail "no question" || return 1
  keys y
  dialog_gone "Tapewright" || fail "the question stayed" || return 1
  sleep 1
  probe wait TPWR "Tapewright - reset.txt" 20000 >/dev/null || fail "the transcript is not open again" || return 1
  grep -qx 'zoomed 0' <<<"$(probe layout)" || fail "still maximised after the reset" || return 1
  settings_has "$folder" 'StepBak' && { fail "the old step survived: $(cat "$folder/Tapewright.INI")"; return 1; }
  editor_text_is "$folder" $'Speaker 1: first line\nSpeaker 2: second line' || return 1
  screenshot after-reset
  file_exit
  program_gone || fail "Exit did not close"
}

# Help > Help opens the compiled help beside the program in HTML Help.
help_opens() {
  local folder=$1
  cp "$(dirname "$exe")"/Tapew_* "$folder/"
  start_program "$folder" || fail "the main window did not open" || return 1
  menu h h
  probe wait "HH Parent" "Tapewright Help" 20000 >/dev/null || fail "no help window" || return 1
  sleep 1
  screenshot help
  probe kill >/dev/null
}

# Options > Configuration: a screenshot of each page; the Audio page's step
# back becomes 2 s, the step forward field left empty keeps its 5 s, and the
# cue offset takes -90 s.
configuration_pages_and_step_lengths() {
  local folder=$1 page
  start_program "$folder" || fail "the main window did not open" || return 1
  probe command 184 >/dev/null
  wait_dialog "Configuration" >/dev/null || fail "no Configuration dialog" || return 1
  sleep 0.3
  screenshot config-general
  for page in audio colors shortcuts pedal; do
    keys Down
    sleep 0.3
    screenshot "config-$page"
  done
  keys Up Up Up Tab
  type_text "2"
  keys Tab BackSpace
  keys Tab
  type_text "-90"
  keys Tab
  type_text "500"
  keys Tab
  type_text "70"
  keys Return
  dialog_gone "Configuration" || fail "OK did not close the dialog" || return 1
  settings_has "$folder" '^StepBak=2$' || fail "StepBak not 2: $(cat "$folder/Tapewright.INI")" || return 1
  settings_has "$folder" '^StepFwd=5$' || fail "an empty field changed StepFwd: $(cat "$folder/Tapewright.INI")" || return 1
  settings_has "$folder" '^Offset=-90$' || fail "Offset not -90: $(cat "$folder/Tapewright.INI")" || return 1
  settings_has "$folder" '^Rewind=500$' || fail "Rewind not 500: $(cat "$folder/Tapewright.INI")" || return 1
  settings_has "$folder" '^Speed=70$' || fail "Speed not 70: $(cat "$folder/Tapewright.INI")" || return 1
  file_exit
  program_gone || fail "Exit did not close"
}

# The Keyboard Shortcuts page: Remove on File - Save (Ctrl+S) and Cancel leave
# no Keys entry; the same with OK stores the removed default as "-".
configuration_shortcut_cancel_and_ok() {
  local folder=$1
  start_program "$folder" || fail "the main window did not open" || return 1
  probe command 184 >/dev/null
  wait_dialog "Configuration" >/dev/null || fail "no Configuration dialog" || return 1
  keys Down Down Down Tab Home Down Down Delete
  sleep 0.3
  screenshot config-shortcut-removed
  keys Escape
  dialog_gone "Configuration" || fail "Cancel did not close the dialog" || return 1
  settings_has "$folder" '^595=' && { fail "Cancel changed Keys: $(cat "$folder/Tapewright.INI")"; return 1; }
  probe command 184 >/dev/null
  wait_dialog "Configuration" >/dev/null || fail "no Configuration dialog the second time" || return 1
  # The page of the last use comes back.
  keys Tab Home Down Down Delete Return
  dialog_gone "Configuration" || fail "OK did not close the dialog" || return 1
  settings_has "$folder" '^595=-$' || fail "the removed Ctrl+S is not stored: $(cat "$folder/Tapewright.INI")" || return 1
  file_exit
  program_gone || fail "Exit did not close"
}

# The editor's selection is "start end".
selection_is() {
  local got
  got=$(probe selection) || { echo "no editor"; return 1; }
  [ "$got" = "$1" ] || { echo "selection $got, expected $1"; return 1; }
}

# Polls the editor's selection until it is "start end" (10 s at most).
wait_selection() {
  for _ in $(seq 1 50); do
    [ "$(probe selection)" = "$1" ] && return 0
    sleep 0.2
  done
  selection_is "$1"
}

# Ctrl+F opens Find; Find Next selects the word in the text, F3 the next one,
# and at the last one the selection stays (a beep, no wrap-around).
find_and_find_next() {
  local folder=$1
  start_program "$folder" || fail "the main window did not open" || return 1
  type_text "The storm began. A stormy night. Then the storm passed."
  # The keyboard hook takes Ctrl as it is when a key is read, not as it was
  # when the key was typed: let the typing drain before Ctrl goes down.
  wait_selection "55 55" || return 1
  keys ctrl+Home
  wait_selection "0 0" || return 1
  keys ctrl+f
  wait_dialog "Find" >/dev/null || fail "Ctrl+F opened no Find dialog" || return 1
  type_text "storm"
  keys Return
  wait_selection "4 9" || return 1
  screenshot find-dialog
  keys Escape
  dialog_gone "Find" || fail "the Find dialog stayed open" || return 1
  # Shortcuts go only to the active main window.
  probe active 10000 || fail "the main window did not become active again" || return 1
  keys F3
  wait_selection "19 24" || return 1
  keys F3
  wait_selection "42 47" || return 1
  # Right, typed after the last F3, moves the caret on from the end of the
  # selection F3 kept (a wrap-around would put it at 10).
  keys F3 Right
  wait_selection "48 48" || fail "the search went on past the last match" || return 1
  file_exit
  wait_dialog "Tapewright" >/dev/null || fail "no save prompt" || return 1
  keys n
  program_gone || fail "No did not close"
}

# Search > Replace, a search and a replacement text, Replace All: every
# occurrence changes, whole words only, and the dialog closes.
replace_all_changes_every_occurrence() {
  local folder=$1
  start_program "$folder" || fail "the main window did not open" || return 1
  type_text "cat and Cat and concat, cat."
  menu s r
  wait_dialog "Replace" >/dev/null || fail "no Replace dialog" || return 1
  type_text "cat"
  keys Tab
  type_text "dog"
  keys alt+w alt+a
  dialog_gone "Replace" || fail "Replace All left the dialog open" || return 1
  editor_text_is "$folder" "dog and dog and concat, dog." || return 1
  file_exit
  wait_dialog "Tapewright" >/dev/null || fail "no save prompt" || return 1
  keys n
  program_gone || fail "No did not close" || return 1
  settings_has "$folder" '^OptFind=3$' || fail "the whole-word choice was not kept: $(cat "$folder/Tapewright.INI")"
}

# A small PPD for Wine's PostScript driver: one A4 page size.
write_test_ppd() {
  printf '%s\r\n' '*PPD-Adobe: "4.3"' '*FormatVersion: "4.3"' '*FileVersion: "1.0"' '*LanguageVersion: English' \
    '*LanguageEncoding: ISOLatin1' '*PCFileName: "TPWRTEST.PPD"' '*Manufacturer: "Tapewright"' \
    '*Product: "(Test Printer)"' '*ModelName: "Tapewright Test Printer"' '*NickName: "Tapewright Test Printer"' \
    '*PSVersion: "(3010.000) 0"' '*LanguageLevel: "3"' '*ColorDevice: False' '*DefaultColorSpace: Gray' \
    '*TTRasterizer: Type42' '*DefaultResolution: 300dpi' '*OpenUI *PageSize: PickOne' \
    '*OrderDependency: 10 AnySetup *PageSize' '*DefaultPageSize: A4' \
    '*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"' '*CloseUI: *PageSize' \
    '*DefaultImageableArea: A4' '*ImageableArea A4/A4: "18 18 577 824"' '*DefaultPaperDimension: A4' \
    '*PaperDimension A4/A4: "595 842"' >"$1"
}

# The text of each page of a PostScript file from Wine's driver, which draws
# every character as a named glyph: one line per page, blanks left out.
printed_pages() {
  awk 'BEGIN { split("zero one two three four five six seven eight nine", d, " "); for (i = 1; i <= 10; i++) n[d[i]] = i - 1
               n["period"] = "."; n["comma"] = "," }
       /^%%Page:/ { if (page) print text; page++; text = ""; next }
       / glyphshow$/ { g = substr($1, 2); if (g != "space") text = text ((g in n) ? n[g] : g) }
       END { if (page) print text }' "$1"
}

# File > Print shows the Print dialog; Cancel there prints nothing and leaves
# the window usable. Then two copies, not collated, of a two-page text whose
# last line is wider than the page: pages 1, 1, 2, 2, and every word printed.
print_dialog_cancel_then_two_copies() {
  local folder=$1 block=$folder/block.txt layout expected pages
  write_test_ppd "$folder/test.ppd"
  wine "$probe" - printer "$(winpath "$folder/test.ppd")" "$folder/printed.ps" >/dev/null 2>&1 ||
    fail "cannot install the test printer" || return 1
  start_program "$folder" || fail "the main window did not open" || return 1
  awk 'BEGIN { for (i = 1; i <= 100; i++) printf "Line %03d\r\n", i; for (i = 1; i <= 80; i++) printf "w%03d ", i }' |
    iconv -f UTF-8 -t UTF-16LE >"$block"
  probe clip "$(winpath "$block")" || fail "cannot fill the clipboard" || return 1
  keys ctrl+v
  editor_bytes_at_least "$folder/editor.utf16" "$(stat -c %s "$block")" || fail "the paste did not arrive" || return 1
  menu f p
  wait_dialog "Print" >/dev/null || fail "no Print dialog" || return 1
  screenshot print-dialog
  keys Escape
  dialog_gone "Print" || fail "the Print dialog stayed open" || return 1
  layout=$(probe layout)
  grep -qx 'enabled 1' <<<"$layout" || fail "the main window is left disabled" || return 1
  [ -z "$(probe wait '#32770' '' 300)" ] || fail "something opened after Cancel" || return 1
  [ ! -e "$folder/printed.ps" ] || fail "Cancel printed" || return 1
  menu f p
  wait_dialog "Print" >/dev/null || fail "no Print dialog the second time" || return 1
  keys alt+c
  type_text "2"
  keys alt+o Return  # two copies, Collate unticked, OK
  dialog_gone "Print" || fail "the Print dialog stayed open" || return 1
  probe wait TPWR "Tapewright - " 100 >/dev/null || fail "the program died while printing" || return 1
  for _ in $(seq 1 100); do grep -qa '^%%EOF' "$folder/printed.ps" 2>/dev/null && break; sleep 0.2; done
  pages=$(printed_pages "$folder/printed.ps")
  [ "$(wc -l <<<"$pages")" = 4 ] || fail "$(wc -l <<<"$pages") pages printed, expected 4" || return 1
  [ "$(sed -n 1p <<<"$pages")" = "$(sed -n 2p <<<"$pages")" ] || fail "the first page was not printed twice in a row" || return 1
  [ "$(sed -n 3p <<<"$pages")" = "$(sed -n 4p <<<"$pages")" ] || fail "the second page was not printed twice in a row" || return 1
  expected=$(iconv -f UTF-16LE -t UTF-8 "$block" | tr -d ' \r\n')
  [ "$(sed -n 1p <<<"$pages")$(sed -n 3p <<<"$pages")" = "$expected" ] ||
    fail "the printout differs from the text: $(sed -n 3p <<<"$pages" | tail -c 200)" || return 1
  grep -qx 'enabled 1' <<<"$(probe layout)" || fail "the main window is left disabled after printing" || return 1
  file_exit
  wait_dialog "Tapewright" >/dev/null || fail "no save prompt" || return 1
  keys n
  program_gone || fail "No did not close"
}


# Typing, then the program is killed: the next start offers the recovery copy;
# Yes gives back the text as a modified document of the same file, No keeps
# the copy aside in the recovery folder.
recovery_after_a_kill() {
  local folder=$1
  printf '[TPWR]\r\nAutosave=1\r\n' >"$folder/Tapewright.INI"
  printf '\xff\xfeS\x00a\x00v\x00e\x00d\x00' >"$folder/kill.txt"
  start_program "$folder" || fail "the main window did not open" || return 1
  menu f o
  wait_dialog "" >/dev/null || fail "no Open dialog" || return 1
  type_text "$(winpath "$folder/kill.txt")"
  keys Return
  probe wait TPWR "Tapewright - kill.txt" 10000 >/dev/null || fail "the transcript did not open" || return 1
  keys ctrl+End
  type_text " and typed before the crash"
  sleep 2.5  # past the one-second interval
  probe kill >/dev/null
  program_gone || fail "the kill did not end the program" || return 1
  stop_program
  start_program "$folder" || fail "the main window did not open again" || return 1
  wait_dialog "Tapewright" >/dev/null || fail "no recovery question" || return 1
  screenshot recovery-question
  keys y
  dialog_gone "Tapewright" || fail "the question stayed" || return 1
  probe wait TPWR "Tapewright - kill.txt" 5000 >/dev/null || fail "not the original file's name" || return 1
  editor_text_is "$folder" "Saved and typed before the crash" || return 1
  [ "$(probe modified)" = 1 ] || fail "the restored text is not marked modified" || return 1
  # Killed again without a change since the restore: the copy is still there; No keeps it aside.
  probe kill >/dev/null
  program_gone || fail "the second kill did not end the program" || return 1
  stop_program
  start_program "$folder" || fail "the main window did not open a third time" || return 1
  wait_dialog "Tapewright" >/dev/null || fail "no recovery question the second time" || return 1
  keys n
  dialog_gone "Tapewright" || fail "the question stayed" || return 1
  ls "$folder"/Recovery/kill\ *.txt >/dev/null 2>&1 || fail "no copy kept aside: $(ls "$folder/Recovery")" || return 1
  [ -z "$(ls "$folder"/Recovery/*.twr 2>/dev/null)" ] || fail "the copy is still offered: $(ls "$folder/Recovery")" || return 1
  file_exit
  program_gone || fail "Exit did not close"
}

# The second (to a hundredth) of the reference PCM at which the captured sound
# from byte offset on begins (after the device's leading silence), or nothing:
# 16-bit, channels interleaved, within a tenth of a second of the expected
# second, one LSB of difference allowed.
sound_starts_at() {
  python3 - "$@" <<'PY'
import sys, array
capture, offset, reference, channels, rate, second = sys.argv[1], int(sys.argv[2]), sys.argv[3], int(sys.argv[4]), int(sys.argv[5]), float(sys.argv[6])
got = array.array('h', open(capture, 'rb').read()[offset:])
while len(got) >= channels and not any(got[:channels]): got = got[channels:]
want = array.array('h', open(reference, 'rb').read())
n = 1024 * channels
if len(got) < n: sys.exit(1)
middle = int(second * rate)
for frame in range(max(0, middle - rate // 10), middle + rate // 10):
    at = frame * channels
    if at + n > len(want): break
    if all(abs(got[i] - want[at + i]) <= 1 for i in range(n)):
        print('%.2f' % (frame / rate)); sys.exit(0)
sys.exit(1)
PY
}

# Phone and web recordings in the real program: an iPhone-style voice memo
# (AAC in M4A, mono, with tags), a voice message (Opus in Ogg) and the sound
# of an MP4 video. Each opens through the Open dialog; Go to on a cue typed
# into the text moves it to 00:05, a Sound Cue written then says so, and
# Play sounds from there as FFmpeg decodes it. (The capture device does not
# keep time, so a file plays out at once: no cue is taken while playing.)
phone_recordings_play_seek_and_cue() {
  local folder=$1 file channels rate from cue
  local ff=(ffmpeg -nostdin -loglevel error -y)
  sox -R -n -r 48000 -c 1 -b 16 "$folder/voice.wav" synth 8 sine 200-1600 gain -6 2>/dev/null &&
    "${ff[@]}" -i "$folder/voice.wav" -c:a aac -b:a 64k -metadata title=Memo -f ipod "$folder/memo.m4a" &&
    "${ff[@]}" -i "$folder/voice.wav" -c:a libopus -b:a 24k "$folder/message.opus" &&
    "${ff[@]}" -f lavfi -i testsrc=size=160x120:rate=10 -f lavfi -i "sine=frequency=300:duration=8" \
      -f lavfi -i "sine=frequency=500:duration=8" -filter_complex '[1:a][2:a]amerge=inputs=2[a]' \
      -map 0:v -map '[a]' -shortest -c:v mpeg4 -c:a aac -b:a 128k "$folder/video.mp4" ||
    fail "cannot make the recordings" || return 1
  for file in memo.m4a message.opus video.mp4; do
    "${ff[@]}" -c:a "$([ "$file" = message.opus ] && echo opus || echo aac)" -i "$folder/$file" -f s16le "$folder/$file.pcm"
  done
  start_program "$folder" TPWR_CAPTURE="$folder/capture.raw" || fail "the main window did not open" || return 1
  for file in memo.m4a message.opus video.mp4; do
    channels=1 rate=48000
    [ "$file" = video.mp4 ] && channels=2 rate=44100
    probe command 162 >/dev/null
    wait_dialog "" >/dev/null || fail "no Open dialog for $file" || return 1
    type_text "$(winpath "$folder/$file")"
    keys Return
    dialog_gone "" || fail "the Open dialog stayed open for $file" || return 1
    sleep 1
    type_text "<Sound Cue: 00:05>"
    keys ctrl+g
    sleep 0.5
    probe command 138 >/dev/null
    rm -f "$folder/capture.raw"  # the device opens it afresh for each play
    probe command 1153 >/dev/null
    sleep 1.5
    probe command 1154 >/dev/null
    sleep 0.5
    from=$(sound_starts_at "$folder/capture.raw" 0 "$folder/$file.pcm" $channels $rate 5) ||
      fail "$file: the sound after Go to is not the recording's from 00:05" || return 1
    probe text "$(winpath "$folder/editor.utf16")" || fail "no editor text" || return 1
    cue=$(iconv -f UTF-16LE -t UTF-8 "$folder/editor.utf16" | tr -d '\r' | sed -n 2p)
    [ "$cue" = "<Sound Cue: 00:05>" ] || fail "$file (sound from $from s): the cue written is '$cue'" || return 1
    keys ctrl+a Delete
  done
  screenshot phone-recordings
  file_exit
  keys n 2>/dev/null
  program_gone || fail "Exit did not close"
}
