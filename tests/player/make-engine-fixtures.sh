#!/usr/bin/env bash
# Generates the player's test files: 16-bit stereo WAV files whose frames count
# themselves (frame i holds i + 1: left sample = (i + 1) mod 65536, right =
# (i + 1) / 65536), so that a seam after a seek is found by content and the
# silence a starved device plays (all-zero frames) is never taken for data; a
# long silent one; a 440 Hz tone; and files that no module plays.
# Usage: make-engine-fixtures.sh OUTDIR
set -euo pipefail
out=$1
mkdir -p "$out"
python3 - "$out" <<'PY'
import array, math, struct, sys, os
out = sys.argv[1]

def wav(name, rate, channels, bits, data):
    block = channels * bits // 8
    header = b'RIFF' + struct.pack('<I', 36 + len(data)) + b'WAVE'
    header += b'fmt ' + struct.pack('<IHHIIHH', 16, 1, channels, rate, rate * block, block, bits)
    header += b'data' + struct.pack('<I', len(data))
    with open(os.path.join(out, name), 'wb') as f:
        f.write(header + data)

def counting_wav(name, rate, frames):
    samples = array.array('H', bytes(4 * frames))
    for i in range(frames):
        samples[2 * i] = (i + 1) & 0xFFFF
        samples[2 * i + 1] = ((i + 1) >> 16) & 0xFFFF
    if sys.byteorder != 'little':
        samples.byteswap()
    wav(name, rate, 2, 16, samples.tobytes())

counting_wav('count44k-20s.wav', 44100, 44100 * 20)   # long: pauses and seeks land inside
counting_wav('count8k-100s.wav', 8000, 8000 * 100)    # length 100 s: seconds equal percent
counting_wav('count8k-tail.wav', 8000, 8000 * 100 + 7200)  # 100.9 s, shown as 100
counting_wav('count8k-3s.wav', 8000, 8000 * 3 + 123)  # short: plays to its end quickly
counting_wav('count8k-half.wav', 8000, 4000)          # below one second: length 0
def tone_wav(name, seconds):  # 440 Hz, for the speed stage, which no count survives
    tone = array.array('h', bytes(4 * 44100 * seconds))
    for i in range(44100 * seconds):
        tone[2 * i] = tone[2 * i + 1] = int(16000 * math.sin(2 * math.pi * 440 * (i + 0.5) / 44100))
    if sys.byteorder != 'little':
        tone.byteswap()
    wav(name, 44100, 2, 16, tone.tobytes())

tone_wav('tone440-30s.wav', 30)
tone_wav('tone440-6s.wav', 6)
wav('silence8k-700s.wav', 8000, 1, 8, b'\x80' * (8000 * 700))  # long; only its length matters
with open(os.path.join(out, 'broken.wav'), 'wb') as f:
    f.write(b'RIFF\x10\x00\x00\x00WAVEjunkjunk')      # the WAV module takes it, its Open fails
with open(os.path.join(out, 'notes.xyz'), 'wb') as f:
    f.write(b'no module plays this')
with open(os.path.join(out, 'noise.mp3'), 'wb') as f:
    f.write(bytes(range(256)) * 8)                     # matched by extension, refused by Test
PY
touch "$out/.complete"
