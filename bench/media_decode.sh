#!/usr/bin/env bash
# Phone and web recordings: the FFmpeg input module (decode thread, sample
# conversion, the ring the player empties) against ffmpeg's own command
# decoding the same files to 16-bit PCM with the same libraries, on ~15
# minutes of speech as a voice memo (AAC 64 kbit/s mono 48 kHz in M4A) and as
# a voice message (Opus 24 kbit/s in Ogg). CPU seconds over several runs.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/support/measure.sh"
bin=$(cd "${TPWR_BENCH_BIN:?}" && pwd)/bench_media_decode
[ -x "$bin" ] || { echo "media decode: skipped (no FFmpeg development files on this host)"; exit 0; }
work=${TPWR_BENCH_WORK:?}/media
reps=${TPWR_BENCH_REPS:-3}
mkdir -p "$work"
cd "$work"
if [ ! -f memo.m4a ] || [ ! -f message.opus ]; then
  speech_wav voice.wav
  sox voice.wav -r 48000 -c 1 long.wav repeat 300 trim 0 900 2>/dev/null
  ffmpeg -nostdin -loglevel error -y -i long.wav -c:a aac -b:a 64k memo.m4a
  ffmpeg -nostdin -loglevel error -y -i long.wav -c:a libopus -b:a 24k message.opus
  rm -f long.wav voice.wav
fi
for file in memo.m4a message.opus; do
  # A module that gives up early would show as a tiny time: refuse that.
  if ! check=$("$bin" "$file" 1) || ! grep -q ' [1-9][0-9]\{7,\} values per pass' <<<"$check"; then
    printf '%s decode: FAILED (%s)\n' "$file" "$check"
    continue
  fi
  ours=$(cpu "$bin" "$file" 1)
  ff=$(cpu ffmpeg -nostdin -v error -c:a "$([ "$file" = message.opus ] && echo opus || echo aac)" -i "$file" -f s16le -y /dev/null)
  printf '%s decode: %.2fx ffmpeg  (cpu s over %d runs: ours %.2f, ffmpeg %.2f)\n' \
    "$file" "$(echo "$ours / $ff" | bc -l)" "$reps" "$ours" "$ff"
done
