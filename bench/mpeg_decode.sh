#!/usr/bin/env bash
# MPEG audio decoding speed: the frame decoder against mpg123 and ffmpeg on
# ~15 minutes of 44.1 kHz stereo speech (MP3 128 kbit/s with lame, MP2 with
# twolame), CPU seconds over several repetitions in the same run.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/support/measure.sh"
bin=$(cd "${TPWR_BENCH_BIN:?}" && pwd)/bench_mpeg_decode
work=${TPWR_BENCH_WORK:?}/mpeg
reps=${TPWR_BENCH_REPS:-3}
mkdir -p "$work"
cd "$work"
if [ ! -f speech.mp3 ] || [ ! -f speech.mp2 ]; then
  speech_wav voice.wav
  # Repeat to ~15 minutes, stereo 44.1 kHz with a little difference between channels.
  sox voice.wav -r 44100 -c 2 long.wav repeat 300 trim 0 900 remix 1 1v0.9 2>/dev/null
  lame --quiet -b 128 long.wav speech.mp3
  twolame --quiet -b 192 long.wav speech.mp2
  rm -f long.wav voice.wav
fi
for f in mp3 mp2; do
  file=speech.$f
  # A decoder that gives up early would show as a tiny time: refuse that.
  if ! check=$("$bin" "$file" 1) || ! grep -q ' [1-9][0-9]* values per pass' <<<"$check"; then
    printf '%s decode: FAILED (%s)\n' "$f" "$check"
    continue
  fi
  ours=$(cpu "$bin" "$file" 1)
  mpg=$(cpu mpg123 -t -q "$file")
  ff=$(cpu ffmpeg -v error -i "$file" -f null -)
  printf '%s decode: %.2fx mpg123, %.2fx ffmpeg  (cpu s over %d runs: ours %.2f, mpg123 %.2f, ffmpeg %.2f)\n' \
    "$( [ $f = mp3 ] && echo mp3 || echo 'layer II' )" \
    "$(echo "$ours / $mpg" | bc -l)" "$(echo "$ours / $ff" | bc -l)" "$reps" "$ours" "$mpg" "$ff"
done
