#!/usr/bin/env bash
# Generates Ogg Vorbis, FLAC, WMA and phone and web recordings (AAC and ALAC
# in M4A, Opus in Ogg and WebM, AAC beside a video in MP4, ADTS, AMR when
# this ffmpeg can encode it) for the playback tests, each beside
# what the format's own tool decodes from it, as the player must deliver it
# (NAME.pcm: raw, the file's rate, 16-bit, or 8-bit unsigned for 8-bit FLAC;
# the front left and right of wider streams; 24-bit rounded to 16 by sox;
# FFmpeg's own decode for the formats FFmpeg plays).
# Also a three-hour FLAC file whose every sample holds the number of its
# second, so that a position can be read off the sound itself.
# Usage: make-playback-fixtures.sh OUTDIR
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
rm -f .complete
sx() { sox -R -D -V1 "$@"; }  # repeatable noise, no dither

# Tone over noise, so that every stretch of sound is unlike every other.
sx -n -r 44100 -c 2 -b 16 noise.wav synth 3 pinknoise pinknoise gain -20
sx -n -r 44100 -c 2 -b 16 tone.wav synth 3 sine 300-900 sine 500 gain -12
sx -m noise.wav tone.wav stereo.wav
sx -n -r 22050 -c 1 -b 16 mono.wav synth 2 sine 700 gain -6
sx -n -r 44100 -c 2 -b 16 short.wav synth 0.4 sine 440 sine 660 gain -6
sx -n -r 48000 -c 6 -b 16 surround.wav synth 1.5 sine 200 sine 300 sine 400 sine 500 sine 600 sine 700 gain -9
sx -n -r 44100 -c 2 -b 24 s24.wav synth 1.5 sine 300 sine 500 gain -3
sx -n -r 8000 -c 1 -b 8 -e unsigned-integer mono8.wav synth 1.5 sine 440 gain -3
sx -n -r 44100 -c 2 -b 16 noise20.wav synth 20 pinknoise pinknoise gain -12
sx -n -r 44100 -c 2 -b 16 tone20.wav synth 20 sine 200-2000 sine 300 gain -12
sx -m noise20.wav tone20.wav long.wav

serial=1000  # oggenc draws serials from the clock; the chained file needs two
for f in stereo mono short surround long; do
  serial=$((serial + 1))
  oggenc -Q -q 3 -s $serial -o $f.ogg $f.wav 2>/dev/null  # (it remarks on sox's extra chunks)
  oggdec -Q -R -o $f.ogg.pcm $f.ogg
done
# Vorbis orders six channels FL C FR RL RR LFE.
sx -t raw -r 48000 -e signed -b 16 -c 6 surround.ogg.pcm -t raw surround2.pcm remix 1 3
mv surround2.pcm surround.ogg.pcm
printf 'ID3\3\0\0\0\0\0\x20%032d' 0 > id3.ogg
cat stereo.ogg >> id3.ogg
cp stereo.ogg.pcm id3.ogg.pcm
cat stereo.ogg mono.ogg > chained.ogg

for f in stereo short surround s24 mono8 long; do
  flac --silent --force -o $f.flac $f.wav >/dev/null 2>&1  # (it remarks on sox's extra chunks)
  flac --silent --force -d -o $f.flac.wav $f.flac
done
for f in stereo short mono8 long; do sx $f.flac.wav -t raw $f.flac.pcm; done  # 8-bit: unsigned, as WAV stores it
sx surround.flac.wav -t raw surround.flac.pcm remix 1 2  # FLAC orders FL FR first
sx s24.flac.wav -t raw -b 16 s24.flac.pcm

ffmpeg -nostdin -loglevel error -y -i stereo.wav -c:a wmav2 -b:a 128k stereo.wma
ffmpeg -nostdin -loglevel error -y -i mono.wav -c:a wmav1 -b:a 32k mono.wma
ffmpeg -nostdin -loglevel error -y -i long.wav -c:a wmav2 -b:a 96k long.wma
for f in stereo mono long; do ffmpeg -nostdin -loglevel quiet -y -i $f.wma -f s16le $f.wma.pcm; done

# Phone and web recordings. A voice memo: AAC, mono, 16 kHz, with iTunes tags.
ff() { ffmpeg -nostdin -loglevel error -y "$@"; }
sx mono.wav -r 16000 voice16k.wav
ff -i voice16k.wav -c:a aac -b:a 32k -metadata title="Memo Title" -metadata artist=Speaker \
   -metadata album=Memos -metadata date=2026 -metadata track=2/5 -f ipod voice.m4a
ff -i stereo.wav -c:a aac -b:a 128k -movflags +faststart stereo.m4a
ff -i stereo.wav -c:a alac alac.m4a
ff -i surround.wav -c:a aac -b:a 256k surround.m4a
ff -i mono.wav -c:a libopus -b:a 24k -metadata title="Voice Message" voice.opus
ff -i stereo.wav -c:a libopus -b:a 64k stereo.webm
ff -i stereo.wav -c:a aac -b:a 128k -f adts stereo.aac
# (Noise substitution draws on the decoder's own random numbers, which a seek
# leaves elsewhere: the long files, whose seeks are compared, go without.)
ff -i long.wav -c:a aac -b:a 128k -aac_pns 0 -movflags +faststart long.m4a
ff -i long.wav -c:a libopus -b:a 64k long.webm
ff -f lavfi -i testsrc=size=160x120:rate=10 -i long.wav -map 0:v -map 1:a -shortest \
   -c:v mpeg4 -q:v 10 -c:a aac -b:a 128k -aac_pns 0 long.mp4
# AMR and HE-AAC only where this ffmpeg has an encoder for them (Debian's has neither).
ff -i voice16k.wav -ar 8000 -c:a libopencore_amrnb voice.amr 2>/dev/null ||
  echo "make-playback-fixtures: this ffmpeg has no AMR encoder; the AMR case is skipped" >&2
ff -i stereo.wav -c:a libfdk_aac -profile:a aac_he -b:a 48k he.m4a 2>/dev/null ||
  echo "make-playback-fixtures: this ffmpeg has no HE-AAC encoder; the HE-AAC case is skipped" >&2
# FFmpeg's own decoders (the native Opus one, not libopus); of the 5.1 file the front pair.
for f in voice.m4a stereo.m4a alac.m4a voice.opus stereo.webm stereo.aac long.m4a long.webm long.mp4 voice.amr he.m4a; do
  [ -f $f ] || continue
  ff -c:a "$(case $f in *.opus|*.webm) echo opus;; *.amr) echo amrnb;; alac*) echo alac;; *) echo aac;; esac)" \
     -i $f -map 0:a:0 -f s16le $f.pcm
done
ff -i surround.m4a -af 'pan=stereo|c0=c0|c1=c1' -f s16le surround.m4a.pcm
# Damaged: the index behind media data that was cut (nothing can play; the
# test cuts and holes files with a leading index itself).
head -c $(( $(stat -c %s voice.m4a) * 6 / 10 )) voice.m4a > noindex.m4a

python3 -c "
import sys
for second in range(3 * 3600):
    sys.stdout.buffer.write(second.to_bytes(2, 'little') * 11025)
" | flac --silent --force --force-raw-format --endian=little --sign=signed --channels=1 --bps=16 \
    --sample-rate=11025 -o three-hours.flac -

rm -f ./*.wav
touch .complete
