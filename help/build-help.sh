#!/usr/bin/env bash
# Puts the help beside the program: for each language the page as
# STEM_CODE.HTM and, where chmcmd (fp-utils) is installed, the compiled
# STEM_CODE.CHM that the program prefers. STEM is the first five characters of
# the program's file name, as the program looks for it.
#
#   build-help.sh SOURCE_DIR OUTPUT_DIR PROGRAM_NAME
set -euo pipefail
source_dir=$1 output_dir=$2 stem=${3:0:5}
declare -A language_ids=([US]="0x409 English (United States)" [DE]="0x407 German (Germany)")

# The contents pane: one entry per section heading <h2 id="...">title</h2>.
contents() {
  local page=$1 file=$2
  printf '<!DOCTYPE HTML PUBLIC "-//IETF//DTD HTML//EN">\n<HTML><BODY>\n'
  printf '<OBJECT type="text/site properties"></OBJECT>\n<UL>\n'
  grep -o '<h2 id="[^"]*">[^<]*</h2>' "$page" |
    sed 's:<h2 id="\([^"]*\)">\([^<]*\)</h2>:<LI><OBJECT type="text/sitemap"><param name="Name" value="\2"><param name="Local" value="'"$file"'#\1"></OBJECT>:'
  printf '</UL>\n</BODY></HTML>\n'
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for page in "$source_dir"/help_*.htm; do
  code=$(basename "$page" .htm)
  code=${code#help_}
  name=${stem}_${code}
  cp "$page" "$output_dir/$name.HTM"
  command -v chmcmd >/dev/null || continue
  cp "$page" "$work/$name.HTM"
  contents "$page" "$name.HTM" | iconv -f UTF-8 -t WINDOWS-1252 >"$work/$name.hhc"
  iconv -f UTF-8 -t WINDOWS-1252 >"$work/$name.hhp" <<HHP
[OPTIONS]
Compatibility=1.1 or later
Compiled file=$name.CHM
Contents file=$name.hhc
Default topic=$name.HTM
Display compile progress=No
Language=${language_ids[$code]:-0x409 English (United States)}
Title=$(sed -n 's:.*<title>\(.*\)</title>.*:\1:p' "$page" | head -n1)

[FILES]
$name.HTM
HHP
  (cd "$work" && chmcmd "$name.hhp" >chmcmd.log 2>&1) || { cat "$work/chmcmd.log" >&2; exit 1; }
  cp "$work/$name.CHM" "$output_dir/$name.CHM"
done
