#!/usr/bin/env bash
# Makes the small audio files that deps_link_test decodes: one second of a
# 44.1 kHz stereo sine as Ogg Vorbis, FLAC and WMA (wmav2 in ASF).
# Usage: tests/deps/make-fixtures.sh OUTDIR
set -euo pipefail

out=${1:?usage: make-fixtures.sh OUTDIR}
mkdir -p "$out"
for tool in sox oggenc flac ffmpeg; do
  command -v "$tool" >/dev/null || { echo "make-fixtures: $tool is missing" >&2; exit 1; }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Left and right get different tones so a channel mix-up would not go unseen by ear.
sox -n -r 44100 -b 16 -c 2 "$tmp/sine.wav" synth 1 sine 440 sine 660 gain -6
oggenc --quiet -q 3 -o "$tmp/sine.ogg" "$tmp/sine.wav"
flac --silent --force -o "$tmp/sine.flac" "$tmp/sine.wav"
ffmpeg -nostdin -loglevel error -y -i "$tmp/sine.wav" -c:a wmav2 -b:a 128k "$tmp/sine.wma"

# Move into place only when all succeeded, so a failed run leaves no partial set.
mv -f "$tmp/sine.ogg" "$tmp/sine.flac" "$tmp/sine.wma" "$out/"
