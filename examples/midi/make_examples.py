#!/usr/bin/env python3
"""Writes the example Standard MIDI Files byte by byte (run from any folder;
the files land beside this script). Independent of the toolset's code.

  theme.mid   format 1, 3 tracks: tempo map, melody on channel 0 with a
              loop section (controllers 102/103), bass on channel 1 with
              program changes, modulation and pitch bend
  jingle.mid  format 0: a short fanfare on channels 0 to 3, no loop
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def vlq(value):
    groups = [value & 0x7F]
    value >>= 7
    while value:
        groups.append((value & 0x7F) | 0x80)
        value >>= 7
    return bytes(reversed(groups))


class Track:
    def __init__(self):
        self.events = []  # (absolute tick, order, bytes)

    def add(self, tick, data):
        self.events.append((tick, len(self.events), bytes(data)))

    def note(self, tick, length, channel, key, velocity):
        self.add(tick, [0x90 | channel, key, velocity])
        self.add(tick + length, [0x80 | channel, key, 0x40])

    def chunk(self):
        body = b""
        now = 0
        for tick, _, data in sorted(self.events):
            body += vlq(tick - now) + data
            now = tick
        body += vlq(0) + b"\xff\x2f\x00"
        return b"MTrk" + struct.pack(">I", len(body)) + body


def smf(fmt, division, tracks):
    header = b"MThd" + struct.pack(">IHHH", 6, fmt, len(tracks), division)
    return header + b"".join(t.chunk() for t in tracks)


def tempo(us):
    return [0xFF, 0x51, 0x03, (us >> 16) & 0xFF, (us >> 8) & 0xFF, us & 0xFF]


def theme():
    beat = 96
    conductor = Track()
    conductor.add(0, [0xFF, 0x03, 5] + list(b"Theme"))
    conductor.add(0, tempo(500000))          # 120 BPM
    conductor.add(8 * beat, tempo(600000))   # 100 BPM in the loop
    melody = Track()
    melody.add(0, [0xC0, 12])
    melody.add(0, [0xB0, 7, 100])
    tune = [60, 62, 64, 65, 67, 65, 64, 62]
    for i, key in enumerate(tune):
        melody.note(i * beat, beat - 8, 0, key, 96)
    melody.add(8 * beat, [0xB0, 102, 0])     # loop start
    for i, key in enumerate(reversed(tune)):
        melody.note((8 + i) * beat, beat // 2, 0, key + 12, 80 + i * 4)
    melody.add(16 * beat, [0xB0, 103, 0])    # loop end
    bass = Track()
    bass.add(0, [0xC1, 33])
    for bar in range(4):
        bass.note(bar * 4 * beat, 3 * beat, 1, 36 + (bar % 2) * 7, 110)
        bass.add(bar * 4 * beat + beat, [0xB1, 1, 20 * bar])
        bass.add(bar * 4 * beat + 2 * beat, [0xE1, 0x00, 0x48])
    bass.add(8 * beat, [0xC1, 34])
    for bar in range(2, 4):
        bass.note(bar * 4 * beat, 2 * beat, 1, 31, 100)
    return smf(1, beat, [conductor, melody, bass])


def jingle():
    division = 120
    track = Track()
    track.add(0, tempo(400000))              # 150 BPM
    chords = [(60, 64, 67, 48), (62, 65, 69, 50), (64, 67, 72, 52)]
    for step, chord in enumerate(chords):
        for channel, key in enumerate(chord):
            if step == 0:
                track.add(0, [0xC0 | channel, 16 + channel * 8])
            track.note(step * division, division - 10, channel, key, 90 + channel * 5)
    track.note(3 * division, 2 * division, 0, 72, 120)
    return smf(0, division, [track])


def main():
    for name, data in (("theme.mid", theme()), ("jingle.mid", jingle())):
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
