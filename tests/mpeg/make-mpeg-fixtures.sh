#!/usr/bin/env bash
# Generates MP3 files from synthetic speech for the MPEG panel test: a
# stereo file with a LAME/Info frame first, and a mono one.
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
# Stereo with a little difference between the channels and a quiet hiss.
sx voice.wav -r 44100 -c 2 speech.wav remix 1 1v0.8 pad 0.3 0.3
len=$(soxi -D speech.wav)
sx -n -r 44100 -c 2 hiss.wav synth "$len" pinknoise pinknoise gain -38
sx -m speech.wav hiss.wav stereo.wav
sx voice.wav -r 44100 -c 1 mono.wav pad 0.3 0.3

enc -m s -b 128 stereo.wav cbr128.mp3   # plain stereo, LAME/Info frame first
enc -m m -b 64 mono.wav mono.mp3
rm -f voice.wav speech.wav hiss.wav stereo.wav mono.wav
touch .complete
