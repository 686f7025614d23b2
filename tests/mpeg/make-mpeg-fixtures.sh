#!/usr/bin/env bash
# Generates MP3 and MP2 files from synthetic speech for the frame decoder's
# comparison with mpg123, each beside what mpg123 decodes from it
# (FILE.pcm: raw 16-bit, the file's own rate and channels).
# Usage: make-mpeg-fixtures.sh OUTDIR
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
rm -f .complete
sx() { sox -R -D -V1 "$@"; }  # repeatable noise, no dither
enc() { lame --quiet --noreplaygain "$@"; }

espeak-ng -s 160 -w voice.wav "The witness said the meeting started at nine fifteen. \
Then she read the figures aloud: four thousand and twelve, sixty seven point five percent."
# Stereo with a little difference between the channels and a quiet hiss, so
# that the high subbands and the stereo coding carry something.
sx voice.wav -r 44100 -c 2 speech.wav remix 1 1v0.8 pad 0.3 0.3
len=$(soxi -D speech.wav)
sx -n -r 44100 -c 2 hiss.wav synth "$len" pinknoise pinknoise gain -38
sx -m speech.wav hiss.wav stereo.wav
sx voice.wav -r 44100 -c 1 mono.wav pad 0.3 0.3
sx voice.wav -r 8000 -c 1 narrow.wav pad 0.3 0.3
# The low sampling frequencies of MPEG-2 Layer II: stereo and mono.
for rate in 16000 22050 24000; do
  sx stereo.wav -r $rate lsf-stereo-$rate.wav
  sx mono.wav -r $rate lsf-mono-$rate.wav
done

enc -m s -b 128 stereo.wav cbr128.mp3   # plain stereo, LAME/Info frame first
enc -V 4 stereo.wav vbr.mp3             # Xing header
enc -m m -b 64 mono.wav mono.mp3
enc -m m -b 16 narrow.wav mpeg25.mp3    # 8 kHz: MPEG 2.5
enc -m j -b 128 stereo.wav joint.mp3    # mid/side frames
twolame --quiet -b 192 stereo.wav layer2.mp2
lsf=""
for rate in 16000 22050 24000; do
  mode=s; [ $rate = 22050 ] && mode=j  # one of them joint stereo
  twolame --quiet -b 96 -m $mode lsf-stereo-$rate.wav layer2-$rate-stereo.mp2
  twolame --quiet -b 48 -m m lsf-mono-$rate.wav layer2-$rate-mono.mp2
  lsf="$lsf layer2-$rate-stereo.mp2 layer2-$rate-mono.mp2"
done

for f in cbr128.mp3 vbr.mp3 mono.mp3 mpeg25.mp3 joint.mp3 layer2.mp2 $lsf; do
  mpg123 -q -s "$f" > "$f.pcm"
done
rm -f voice.wav speech.wav hiss.wav stereo.wav mono.wav narrow.wav lsf-*.wav
touch .complete
