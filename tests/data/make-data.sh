#!/bin/sh
# Makes the songs the health tests damage: two MP3s with lame (one with an ID3v1 title and an Info
# header, one bare CBR without either) from a tone made by sox, and a two-track standard MIDI file.
# Needs: apt-get install lame sox python3
set -e
cd "$(dirname "$0")"
t=$(mktemp -d)
sox -n -r 44100 -c 1 "$t/tone.wav" synth 1.2 sine 440
lame --quiet -b 64 --id3v1-only --tt "Sine Song" --ta "Tests" "$t/tone.wav" tagged.mp3
lame --quiet -t -b 32 --resample 22.05 "$t/tone.wav" bare.mp3
rm -r "$t"
python3 - <<'PY'
import struct
def chunk(kind, body): return kind + struct.pack(">I", len(body)) + body
def text(kind, s): b = s.encode(); return b"\x00\xff" + bytes([kind, len(b)]) + b
tempo = b"\x00\xff\x51\x03\x07\xa1\x20"
notes = b"".join(b"\x00\x90" + bytes([n]) + b"\x60\x60\x80" + bytes([n]) + b"\x40" for n in (60, 64, 67, 72))
end = b"\x00\xff\x2f\x00"
head = chunk(b"MThd", struct.pack(">HHH", 1, 2, 96))
open("tune.mid", "wb").write(head + chunk(b"MTrk", text(3, "Test Tune") + tempo + end) + chunk(b"MTrk", notes + end))
PY
