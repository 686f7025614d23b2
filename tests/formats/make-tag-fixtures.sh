#!/usr/bin/env bash
# Generates small Ogg Vorbis, FLAC and WMA files whose tags come in every form
# the readers must understand: lower-case names, a full date, blanks around a
# title, a value that is not UTF-8 (patched in after the tools, which refuse
# to write one), WM/Track stored as a 32-bit 0, an ID3v2 tag in front, a
# chained Ogg file and an Ogg file without Vorbis; MP4 files (below); beside tags.ogg, tags.flac
# and tags.wma what oggdec, flac and ffmpeg decode from them (NAME.pcm, raw
# 16-bit). Usage: make-tag-fixtures.sh OUTDIR
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
rm -f .complete
sx() { sox -R -D -V1 "$@"; }

sx -n -r 22050 -c 1 -b 16 mono.wav synth 1.5 sine 500 gain -6
sx -n -r 44100 -c 2 -b 16 stereo.wav synth 2 sine 300 sine 700 gain -6
# A second ARTIST whose value ends in two bytes that are not UTF-8: Ogg skips
# it (the first one stands), FLAC takes it as it is.
tags=(-c "title=  Lower Title  " -c "ARTIST=Band" -c "Album=Disc" -c "tracknumber=3/12"
      -c "DATE=2005-02-05" -c "genre=Speech" -c "COMMENT=hello" -c "ARTIST=BadXY")

# Serial numbers of our own: oggenc draws them from the clock, and the two
# streams of the chained file must differ.
oggenc -Q -q 2 -s 1001 -o tags.ogg "${tags[@]}" stereo.wav
oggenc -Q -q 1 -s 2002 -o second.ogg -c "TITLE=Second" -c "DATE=1899" mono.wav
flac --silent --force --ogg -o notvorbis.ogg mono.wav
flac --silent --force -o tags.flac "${tags[@]/#-c/-T}" stereo.wav

# A WMA file whose header holds our own Content Description and Extended
# Content Description objects instead of the ones ffmpeg writes.
ffmpeg -nostdin -loglevel error -y -i stereo.wav -c:a wmav2 -b:a 64k plain.wma
python3 - <<'PY'
import struct, uuid

def guid(text): return uuid.UUID(text).bytes_le
CD = guid('75B22633-668E-11CF-A6D9-00AA0062CE6C')
ECD = guid('D2D0A440-E307-11D2-97F0-00A0C95EA850')
def obj(g, body): return g + struct.pack('<Q', 24 + len(body)) + body
def wide(text): return (text + '\0').encode('utf-16-le')
def content(title, author, rights, description, rating):
    texts = [wide(t) for t in (title, author, rights, description, rating)]
    return obj(CD, b''.join(struct.pack('<H', len(t)) for t in texts) + b''.join(texts))
def extended(descriptors):
    body = struct.pack('<H', len(descriptors))
    for name, kind, value in descriptors:
        value = wide(value) if kind == 0 else value if kind == 1 else struct.pack('<I', value)
        body += struct.pack('<H', len(wide(name))) + wide(name) + struct.pack('<HH', kind, len(value)) + value
    return obj(ECD, body)

def retag(source, target, extra):
    data = open(source, 'rb').read()
    size, count = struct.unpack('<QI', data[16:28])
    objects, at = [], 30
    for _ in range(count):
        length = struct.unpack('<Q', data[at + 16:at + 24])[0]
        if data[at:at + 16] not in (CD, ECD): objects.append(data[at:at + length])
        at += length
    objects += extra
    body = b''.join(objects)
    header = data[:16] + struct.pack('<QI', 30 + len(body), len(objects)) + data[28:30]
    open(target, 'wb').write(header + body + data[size:])

retag('plain.wma', 'tags.wma', [
    content('  Spoken Title ', 'Speaker', 'Rights', 'Notes', ''),
    extended([('WM/AlbumTitle', 0, 'Hearing'), ('WM/Year', 0, '2005'), ('WM/Genre', 0, 'Speech'),
              ('WM/Unrelated', 1, bytes(300)), ('WM/Track', 3, 0)])])
retag('plain.wma', 'track-text.wma', [extended([('WM/Track', 0, '7/9')])])

# The patch the tag tools would not make: "BadXY" becomes "Bad" and 0xFF 0xFE.
def patch(name):
    data = bytearray(open(name, 'rb').read())
    at = data.index(b'ARTIST=BadXY') + 10
    data[at:at + 2] = b'\xff\xfe'
    if name.endswith('.ogg'):  # the page around it gets its checksum again
        page = data.rindex(b'OggS', 0, at)
        segments = data[page + 26]
        end = page + 27 + segments + sum(data[page + 27:page + 27 + segments])
        data[page + 22:page + 26] = b'\0\0\0\0'
        crc = 0
        for byte in data[page:end]:
            crc ^= byte << 24
            for _ in range(8):
                crc = ((crc << 1) ^ 0x04C11DB7 if crc & 0x80000000 else crc << 1) & 0xFFFFFFFF
        data[page + 22:page + 26] = struct.pack('<I', crc)
    open(name, 'wb').write(data)
patch('tags.ogg')
patch('tags.flac')

# An ID3v2 tag (size 0x81 bytes after its header: 7-bit groups 0, 0, 1, 1) in front.
id3 = b'ID3\x03\x00\x00\x00\x00\x01\x01' + bytes(0x81)
for name in ('tags.ogg', 'tags.flac'):
    open('id3-' + name, 'wb').write(id3 + open(name, 'rb').read())
PY
cat tags.ogg second.ogg > chained.ogg
oggdec -Q -R -o tags.ogg.pcm tags.ogg
flac --silent --force -d --force-raw-format --endian=little --sign=signed -o tags.flac.pcm tags.flac
ffmpeg -nostdin -loglevel quiet -y -i tags.wma -f s16le tags.wma.pcm

# MP4: AAC in an iTunes-style M4A with both artist items, the same with the
# two items' names swapped (so that the other comes first), an "isom" MP4,
# ALAC (no average bit rate of its own), and the M4A with its media data
# behind a 64-bit size (ffmpeg's 8-byte "free" box in front of "mdat" is
# the room for exactly that).
m4a_tags=(-metadata "title= M4A Title " -metadata artist=Lead -metadata album_artist=Group
          -metadata album=Disc -metadata date=2005-02-05 -metadata genre=Speech
          -metadata track=3/12 -metadata comment=hello)
ffmpeg -nostdin -loglevel error -y -i stereo.wav -c:a aac -b:a 96k "${m4a_tags[@]}" -f ipod tags.m4a
ffmpeg -nostdin -loglevel error -y -i mono.wav -c:a aac -b:a 48k -metadata title=Plain -f mp4 isom.m4a
ffmpeg -nostdin -loglevel error -y -i mono.wav -c:a alac -metadata title=Lossless -f ipod alac.m4a
python3 - <<'PY'
data = bytearray(open('tags.m4a', 'rb').read())
art, aart = b'\xa9ART', b'aART'
first, second = data.find(art), data.find(aart)
assert first > 0 and second > 0
data[first:first + 4], data[second:second + 4] = aart, art
open('swapped.m4a', 'wb').write(data)

data = bytearray(open('tags.m4a', 'rb').read())
at = data.find(b'\x00\x00\x00\x08free')
assert at > 0 and data[at + 12:at + 16] == b'mdat'
size = int.from_bytes(data[at + 8:at + 12], 'big') + 8
data[at:at + 16] = b'\x00\x00\x00\x01mdat' + size.to_bytes(8, 'big')
open('wide.m4a', 'wb').write(data)
PY
rm -f mono.wav stereo.wav plain.wma second.ogg
touch .complete
