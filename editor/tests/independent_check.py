#!/usr/bin/env python3
"""Checks documents and cue wave files written by vtqedit's batch mode against
an encoder written here from the format rules alone: the packet (words, check
nibbles, separators, length, checksum), the pulse signal, the RIFF/WAVE
layout (read with Python's own wave module) and the .qtd archive bytes.

Usage: independent_check.py PATH/TO/vtqedit
"""
import os
import struct
import subprocess
import sys
import tempfile
import wave

PULSE_A = [0, 32, 75, -199, -524, 98, 1344, 891, -1882, -3023,
           939, 5546, 2491, -6520, -8071, 3645, 13404, 4021, -14676, -14521,
           8821, 23050, 3972, -24169, -19266, 15161, 30055, 1656, -30517, -19485,
           19553, 30487, -1739, -30072, -15093, 19318, 24135, -4036, -23054, -8770,
           14551, 14649, -4058, -13401, -3615, 8083, 6504, -2506, -5542, -927,
           3025, 1876, -895, -1342, -95, 524, 198, -75, -32]
PULSE_B = [0, 26, 82, -101, -479, -294, 808, 1486, 0, -2640,
           -2586, 1754, 5639, 2612, -5759, -8856, 0, 11823, 10279, -6252,
           -18178, -7665, 15458, 21845, 0, -24888, -20073, 11353, 30752, 12100,
           -22806, -30153, 0, 30153, 22806, -12100, -30752, -11353, 20073, 24888,
           0, -21845, -15458, 7665, 18178, 6252, -10279, -11823, 0, 8856,
           5759, -2612, -5639, -1754, 2586, 2640, 0, -1486, -808, 294]


def parity(x):
    return bin(x).count("1") & 1


def check(word):
    return (parity(word & 0xBB) << 3) | (parity(word & 0xD9) << 2) | (parity(word & 0xEC) << 1) | parity(word & 0xF6)


def packet(data, delay):
    words = [0x10 | (0x80 if delay is not None else 0)] + list(data) + ([delay] if delay is not None else [])
    k = len(words)
    f = 0 if k <= 3 else 1 if k <= 6 else 2 if k <= 9 else 3 if k <= 12 else 4 if k <= 15 else 5
    g = (3 * k + f + 2) & 0xFF
    out = [0xA, 0xA, 0xA, 0x2, (0xA0 | g) >> 4, (0xA0 | g) & 0xF]
    s = 0
    placed = 0
    for i, w in enumerate(words):
        if i in (3, 6, 9, 12, 15) and placed < f:
            out.append(2)
            placed += 1
        out += [w >> 4, w & 0xF, check(w)]
        s = (s + w + check(w)) & 0xFF
    return out + [s >> 4, s & 0xF]


def samples(data, delay, rate, repeats):
    pulse = PULSE_A if rate == 44100 else PULSE_B
    one = pulse + [0] * len(pulse)
    zero = [0] * len(one)
    bits = []
    for nibble in packet(data, delay):
        for b in (3, 2, 1, 0):
            bits += one if (nibble >> b) & 1 else zero
    out = [0] * (rate * 10 // 1000) + bits
    for _ in range(repeats):
        out += [0] * (rate * 50 // 1000) + bits
    return out


def qtd_string(s):
    b = s.encode()
    n = len(b)
    if n < 255:
        return bytes([n]) + b
    if n < 0xFFFE:
        return b"\xff" + struct.pack("<H", n) + b
    return b"\xff\xff\xff" + struct.pack("<I", n) + b


def frames(h, m, s, f):
    return ((h * 60 + m) * 60 + s) * 25 + f


# (arguments of --add, insert frames, response frames or None, repeats, code,
#  parameter class, parameter field bytes, data bytes)
COMMANDS = [
    (["--at", "00:00:10:00", "--command", "KEEP_ALIVE"], frames(0, 0, 10, 0), None, 0, 0x10, "CParam", b"", [0x10]),
    (["--at", "00:00:12:00", "--command", "PLAY_SOUND", "--param", "5", "--repeat", "2"],
     frames(0, 0, 12, 0), None, 2, 0x22, "CPlaySound", struct.pack("<H", 5), [0x22, 5, 0]),
    (["--at", "00:00:20:07", "--command", "ENABLE_ABILITY", "--param", "3", "--respond", "00:04:35:07"],
     frames(0, 0, 20, 7), frames(0, 4, 35, 7), 0, 0x71, "CAbility", bytes([3]), [0x71, 3]),
    (["--at", "01:00:00:00", "--command", "SHOW_ANIMATION", "--param", "4660", "--mode", "icon", "--icon", "5",
      "--respond", "01:00:09:00", "--repeat", "1"],
     frames(1, 0, 0, 0), frames(1, 0, 9, 0), 1, 0x53, "CAnimation", struct.pack("<HBB", 4660, 5, 0x40),
     [0x53, 0x45, 0x12, 0x34]),
    (["--at", "01:00:05:00", "--command", "SHOW_ANIMATION", "--param", "4660", "--mode", "once"],
     frames(1, 0, 5, 0), None, 0, 0x53, "CAnimation", struct.pack("<HBB", 4660, 1, 0x80), [0x53, 0x80, 0x12, 0x34]),
    (["--at", "02:00:00:00", "--command", "DISABLE_ABILITY", "--param", "26", "--repeat", "15"],
     frames(2, 0, 0, 0), None, 15, 0x81, "CAbility", bytes([26]), [0x81, 26]),
]


def expected_document(base, rate):
    out = struct.pack("<H", len(COMMANDS))
    classes = {}
    number = 1

    def tag(name):
        nonlocal number
        if name in classes:
            t = struct.pack("<H", 0x8000 | classes[name])
        else:
            t = struct.pack("<HHH", 0xFFFF, 1, len(name)) + name.encode()
            classes[name] = number
            number += 1
        number += 1
        return t

    for args, insert, response, repeats, code, cls, fields, data in COMMANDS:
        name = "%s%02d%02d%02d%02d.wav" % (base, insert // 90000, insert % 90000 // 1500, insert % 1500 // 25, insert % 25)
        out += tag("CCommand") + struct.pack("<II", insert, response if response is not None else insert)
        out += tag(cls) + fields
        out += struct.pack("<iBBI", 1 if response is not None else 0, repeats, code, 0)
        out += qtd_string(name) + qtd_string("0x" + "".join("%02X" % b for b in data))
    return out + struct.pack("<i", rate)


def main():
    exe = sys.argv[1]
    failures = 0
    for rate in (44100, 48000):
        with tempfile.TemporaryDirectory() as d:
            for args, *_ in COMMANDS:
                r = subprocess.run([exe, "--add", "cue.qtd", "--rate", str(rate)] + args, cwd=d,
                                   capture_output=True, text=True)
                if r.returncode != 0:
                    print("vtqedit failed:", args, r.stderr)
                    return 1
            with open(os.path.join(d, "cue.qtd"), "rb") as f:
                if f.read() != expected_document("cue", rate):
                    print("document differs at", rate)
                    failures += 1
            for args, insert, response, repeats, code, cls, fields, data in COMMANDS:
                name = "cue%02d%02d%02d%02d.wav" % (insert // 90000, insert % 90000 // 1500, insert % 1500 // 25,
                                                    insert % 25)
                delay = None if response is None else ((response - insert) // 25) & 0xFF
                with wave.open(os.path.join(d, name), "rb") as w:
                    ok = (w.getnchannels(), w.getsampwidth(), w.getframerate(), w.getcomptype()) == (1, 2, rate, "NONE")
                    raw = w.readframes(w.getnframes())
                got = list(struct.unpack("<%dh" % (len(raw) // 2), raw))
                want = samples(data, delay, rate, repeats)
                size = os.path.getsize(os.path.join(d, name))
                if not ok or got != want or size != 44 + 2 * len(want):
                    print("wave file %s differs at %d Hz (%d samples, expected %d)" % (name, rate, len(got), len(want)))
                    failures += 1
    checked = 2 * (len(COMMANDS) + 1)
    print("%d passed, %d failed" % (checked - failures, failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
