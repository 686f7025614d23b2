#!/usr/bin/env bash
# Generates MPEG audio files for the reader's tests, each beside the PCM that
# mpg123 decodes from it (NAME.mp3 and NAME.pcm, raw 16-bit native-rate):
# without the information frame, and without LAME's delay and padding.
# Usage: make-mpeg-reader-fixtures.sh OUTDIR
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
sx() { sox -R -D -V1 "$@"; }  # repeatable noise, no dither
enc() { lame --quiet --noreplaygain "$@"; }

# Sources: steady tones, a tone-and-noise mix whose bit rate varies, speech.
sx -n -r 44100 -c 2 tones.wav synth 6 sine 300 sine 500 gain -6
sx -n -r 44100 -c 2 quiet.wav synth 3 sine 440 sine 660 gain -20
sx -n -r 44100 -c 2 noisy.wav synth 5 pinknoise pinknoise gain -8
sx quiet.wav noisy.wav quiet.wav varied.wav
sx -n -r 44100 -c 1 mono.wav synth 6 sine 700 gain -6
sx -n -r 8000 -c 1 narrow.wav synth 6 sine 400 gain -6
sx -n -r 44100 -c 2 blip.wav synth 0.2 sine 1000 gain -6
espeak-ng -s 150 -w speech.wav "Sound cue at twelve seconds. The typist stops, steps back and listens again."
sx speech.wav -r 44100 -c 2 speech44.wav remix 1 1v0.8

# -t: no Info/Xing frame, so that every frame carries audio.
enc -t -b 128 tones.wav cbr.mp3
enc -V 4 varied.wav vbr.mp3                 # Xing header with frame count, byte count and table
enc -b 128 speech44.wav lame.mp3            # Info header and LAME's delay and padding
enc -t -m m -b 64 mono.wav mono.mp3
enc -t -m m -b 16 narrow.wav mpeg25.mp3     # 8 kHz: MPEG 2.5 Layer III
enc -t -m m -b 32 speech.wav speech.mp3     # 22.05 kHz: MPEG-2 Layer III
enc -t -b 128 blip.wav blip.mp3             # 0.2 s
# 8 kHz speech (MPEG 2.5): short blocks, and sound up to 4 kHz in the top subband.
for rate in 32 40 64; do enc --resample 8 -m m -b $rate speech.wav speech8k-$rate.mp3; done
twolame --quiet -b 192 tones.wav layer2.mp2
# MPEG-2 Layer II: the low sampling frequencies share one allocation table.
sx tones.wav -r 16000 lsf16.wav
sx tones.wav -r 22050 lsf22.wav
sx -n -r 24000 -c 1 lsf24.wav synth 6 sine 700 gain -6
twolame --quiet -b 96 -m s lsf16.wav layer2-16k.mp2
twolame --quiet -b 96 -m j lsf22.wav layer2-22k-joint.mp2
twolame --quiet -b 48 -m m lsf24.wav layer2-24k-mono.mp2
# A Xing header without LAME's extension: nothing recorded, nothing trimmed.
python3 - vbr.mp3 vbr-nolame.mp3 <<'PY'
import struct, sys
data = bytearray(open(sys.argv[1], 'rb').read())
at = data.index(b'Xing')
flags = struct.unpack('>I', data[at + 4:at + 8])[0]
at += 8 + 4 * bool(flags & 1) + 4 * bool(flags & 2) + 100 * bool(flags & 4) + 4 * bool(flags & 8)
data[at:at + 36] = bytes(36)
open(sys.argv[2], 'wb').write(data)
PY
printf 'This is a text file, not a sound file.\n%.0s' $(seq 200) > text.mp3

for f in cbr vbr lame mono mpeg25 speech blip speech8k-32 speech8k-40 speech8k-64; do mpg123 -q -s $f.mp3 > $f.pcm; done
# mpg123 drops the synthesis delay where no delay is recorded; FFmpeg and we do not.
mpg123 -q --no-gapless -s vbr-nolame.mp3 > vbr-nolame.pcm
for f in layer2 layer2-16k layer2-22k-joint layer2-24k-mono; do mpg123 -q -s $f.mp2 > $f.pcm; done
rm -f lsf16.wav lsf22.wav lsf24.wav tones.wav quiet.wav noisy.wav varied.wav mono.wav narrow.wav blip.wav speech.wav speech44.wav
touch .complete
