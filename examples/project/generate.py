#!/usr/bin/env python3
"""Writes the binary files of the example sound project: macro, keymap,
layer and table files, and the two MIDI files. Samples are made with sox
(see README.md beside this script). Run from this folder."""
import struct


def macro(steps):
    """A macro file: 8-byte steps, command number in byte 0, ending with END (0)."""
    data = b"".join(bytes(s) + bytes(8 - len(s)) for s in steps)
    return data + bytes(8)


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


# Sound macros: select a sample (command 0x12, sample ID at bytes 1-2), wait
# for the sample's end (command 0x02, byte 3 = sample end, bytes 6-7 = ms).
write("macros/piano.mac", macro([[0x12, 1, 0], [0x02, 0, 0, 1, 0, 0, 0xE8, 0x03]]))
write("macros/bass.mac", macro([[0x12, 2, 0], [0x02, 0, 0, 1, 0, 0, 0xF4, 0x01]]))
# Plays macro 1 (command 0x09, macro ID at bytes 1-2) and stops it again (0x0a).
write("macros/layered.mac", macro([[0x09, 1, 0, 0, 0, 0, 0, 0], [0x02, 0, 0, 0, 0, 0, 100, 0], [0x0A, 1, 0]]))
write("macros/boom.mac", macro([[0x12, 1, 0], [0x02, 0, 0, 1, 0, 0, 0x2C, 0x01]]))
write("macros/zap.mac", macro([[0x12, 2, 0], [0x02, 0, 0, 1, 0, 0, 0xC8, 0x00]]))

# Keymap: 128 keys of 8 bytes (little-endian): object ID (0 = none), two
# bytes, a 16-bit value and a 16-bit value the converter skips.
keys = []
for key in range(128):
    obj = 1 if key < 60 else 2
    keys.append(struct.pack("<HBbhH", obj, 64, key - 60, 0, 0))
write("keymaps/split.kmp", b"".join(keys))

# Layer: 9-byte records (little-endian): object ID, four bytes, one byte, a
# 16-bit value. Two layers: macro 1 over the low keys, macro 2 over the high.
write("layers/stack.lay", struct.pack("<HBBBBBH", 1, 0, 63, 0, 64, 100, 0) +
      struct.pack("<HBBBBBH", 2, 64, 127, 0, 64, 100, 0))

# Table (envelope curve): attack ms, decay ms, sustain, release ms.
write("tables/pluck.tab", struct.pack("<HHHH", 5, 200, 2048, 300))
write("tables/pad.tab", struct.pack("<HHHH", 400, 100, 3500, 800))


def midi(tracks_events, division=96):
    """A Standard MIDI File of format 0 (one track) from (delta, bytes) pairs."""
    body = b""
    for delta, event in tracks_events:
        v = delta & 0x7F
        delta >>= 7
        var = bytes([v])
        while delta:
            var = bytes([0x80 | (delta & 0x7F)]) + var
            delta >>= 7
        body += var + bytes(event)
    body += b"\x00\xFF\x2F\x00"
    return (b"MThd" + struct.pack(">IHHH", 6, 0, 1, division) +
            b"MTrk" + struct.pack(">I", len(body)) + body)


def tune(notes, channel):
    events = [(0, [0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20]),  # 120 BPM
              (0, [0xC0 | channel, 0])]
    for note in notes:
        events.append((0, [0x90 | channel, note, 100]))
        events.append((96, [0x80 | channel, note, 0]))
    return events


write("MIDIfiles/intro.mid", midi(tune([60, 64, 67, 72], 0)))
write("MIDIfiles/theme.mid", midi(tune([57, 60, 64, 69, 64, 60], 1)))


# Macros of the handheld scripts (handheld-gb.txt, handheld-agb.txt): the same
# sounds in the Game Boy command set and in the Game Boy Advance one. Sample
# IDs at bytes 1-2; a jump names its macro at bytes 2-3 and its step at 4-5.
GB_SETVOICE, GB_GOTO, GB_WAIT, GB_SETNOISE, GB_SETDUTY, GB_SETNOTE, GB_SAMPLE_ON = 11, 6, 7, 21, 20, 25, 38
write("macros/gb/piano.mac", macro([[GB_SETVOICE, 2], [GB_SAMPLE_ON, 1, 0], [GB_WAIT, 1, 0, 0, 0, 0, 0xE8, 0x03]]))
write("macros/gb/bass.mac", macro([[GB_SETVOICE, 2], [GB_SAMPLE_ON, 2, 0], [GB_WAIT, 1, 0, 0, 0, 0, 0xF4, 0x01]]))
write("macros/gb/organ.mac", macro([[GB_SETVOICE, 2], [GB_SAMPLE_ON, 3, 0], [GB_WAIT, 1, 0, 0, 0, 0, 0xFF, 0xFF]]))
write("macros/gb/boom.mac", macro([[GB_SETVOICE, 3], [GB_SETNOISE, 5, 0, 3], [GB_WAIT, 0, 0, 0, 0, 0, 0x2C, 0x01]]))
write("macros/gb/zap.mac", macro([[GB_SETVOICE, 0], [GB_SETDUTY, 2], [GB_SETNOTE, 72, 0],
                                  [GB_WAIT, 0, 0, 0, 0, 0, 0xC8, 0x00]]))
# Goes on at step 1 of the piano macro.
write("macros/gb/layered.mac", macro([[GB_SETVOICE, 2], [GB_GOTO, 0, 1, 0, 1, 0]]))

AGB_GOTO, AGB_WAIT, AGB_SMP_SELECT, AGB_SETVOICE = 0x04, 0x02, 0x12, 0x16
write("macros/agb/piano.mac", macro([[AGB_SETVOICE, 2], [AGB_SMP_SELECT, 1, 0], [AGB_WAIT, 0, 0, 1, 0, 0, 0xE8, 0x03]]))
write("macros/agb/bass.mac", macro([[AGB_SETVOICE, 2], [AGB_SMP_SELECT, 2, 0], [AGB_WAIT, 0, 0, 1, 0, 0, 0xF4, 0x01]]))
write("macros/agb/organ.mac", macro([[AGB_SETVOICE, 2], [AGB_SMP_SELECT, 3, 0], [AGB_WAIT, 1, 0, 0, 0, 0, 0xFF, 0xFF]]))
write("macros/agb/boom.mac", macro([[AGB_SMP_SELECT, 4, 0], [AGB_WAIT, 0, 0, 1, 0, 0, 0x2C, 0x01]]))
write("macros/agb/zap.mac", macro([[AGB_SMP_SELECT, 5, 0], [AGB_WAIT, 0, 0, 1, 0, 0, 0xC8, 0x00]]))
write("macros/agb/layered.mac", macro([[AGB_SETVOICE, 2], [AGB_GOTO, 0, 1, 0, 1, 0]]))
