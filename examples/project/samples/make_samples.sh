#!/usr/bin/env bash
# Makes the example's samples that show the three sample file formats and
# their loops, with independent tools only: a looped WAV (sox, then a "smpl"
# chunk added with python3's struct), an AIFF with INST and MARK loop points
# (python3's aifc) and a KALP sample (espeak-ng, then the KALP header written
# with struct). The files are committed; run this again only to change them.
set -euo pipefail
cd "$(dirname "$0")"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

sox -D -n -r 16000 -b 16 -c 1 "$tmp/organ.wav" synth 0.3 sine 220 sine 440 remix - gain -n -6
sox -D -n -r 11025 -b 16 -c 1 -t raw "$tmp/string.raw" synth 0.4 sawtooth 196 lowpass 1500 gain -n -6
espeak-ng -s 200 -w "$tmp/voice.wav" "hey"
sox -D "$tmp/voice.wav" -r 11025 -b 16 -c 1 -t raw -e signed -L "$tmp/voice.raw"

python3 - "$tmp" <<'PY'
import aifc, struct, sys, warnings
warnings.simplefilter("ignore", DeprecationWarning)
tmp = sys.argv[1]

# organ.wav: loop over the last 2000 samples, played endlessly, root key 57.
data = bytearray(open(f"{tmp}/organ.wav", "rb").read())
frames = (len(data) - 44) // 2
smpl = struct.pack("<9I", 0, 0, 62500, 57, 0, 0, 0, 1, 0)
smpl += struct.pack("<6I", 0, 0, frames - 2000, frames - 1, 0, 0)
data += b"smpl" + struct.pack("<I", len(smpl)) + smpl
data[4:8] = struct.pack("<I", len(data) - 8)
open("organ.wav", "wb").write(data)

# string.aiff: sustain loop between two markers, root key 55.
raw = open(f"{tmp}/string.raw", "rb").read()
samples = struct.unpack(f"<{len(raw) // 2}h", raw)
with aifc.open("string.aiff", "wb") as a:
    a.aiff()
    a.setnchannels(1)
    a.setsampwidth(2)
    a.setframerate(11025)
    a.setmark(1, 1000, b"loop start")
    a.setmark(2, len(samples), b"loop end")
    a.writeframes(struct.pack(f">{len(samples)}h", *samples))
data = bytearray(open("string.aiff", "rb").read())
inst = struct.pack(">bbbbbbh", 55, 0, 0, 127, 1, 127, 0) + struct.pack(">hhh", 1, 1, 2) + struct.pack(">hhh", 0, 0, 0)
data += b"INST" + struct.pack(">I", len(inst)) + inst
data[4:8] = struct.pack(">I", len(data) - 8)
open("string.aiff", "wb").write(data)

# voice.kalp: the KALP header (version 1, coding 0, 16 bits, mono) and the
# little-endian samples.
raw = open(f"{tmp}/voice.raw", "rb").read()
header = b"KALP" + struct.pack("<HHHHHHIIIIIIHH", 0, 1, 0, 16, 60, 1, 11025, 0, len(raw) // 2, 0, 0, 0, 0, 0)
open("voice.kalp", "wb").write(header + raw)
PY
