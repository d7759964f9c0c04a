#!/usr/bin/env python3
"""Writes the small Game Boy sound project that the demo converts with
macrolift. Run it in this folder; the files it writes are committed.

Macro files are arrays of 8-byte steps: byte 0 the Game Boy command number,
bytes 1 to 7 its parameters, 16-bit values little-endian, END (0) last.
"""
import os
import struct


def step(command, b1=0, b2=0, b3=0, b4=0, b5=0, b6=0, b7=0):
    return bytes([command, b1, b2, b3, b4, b5, b6, b7])


def ms(value):
    """A 16-bit millisecond field at bytes 6 and 7."""
    return tuple(struct.pack('<H', value))


END = step(0)
# Game Boy command numbers of the handheld driver.
SPLIT_KEY, LOOP, GOTO, WAIT, SETVOICE, SETVOLUME, PANNING = 2, 5, 6, 7, 11, 13, 14
VOICE_OFF, SETDUTY_ON, SETNOISE, RNDNOTE, ADDNOTE, SETNOTE = 17, 20, 21, 23, 24, 25
PORTAMENTO, VIBRATO, HARDENVELOPE, SWEEP_ONE, SAMPLE_ON, PRIORITY = 27, 28, 30, 31, 38, 39

MACROS = {
    'macros/ui/select.vqm': [
        step(SETVOICE, 0), step(SETDUTY_ON, 2), step(SETNOTE, 72), step(SETVOLUME, 100),
        step(WAIT, 0, 0, 0, 0, 0, *ms(80)), step(VOICE_OFF), END],
    'macros/ui/back.vqm': [
        step(SETVOICE, 1), step(SETDUTY_ON, 1), step(SETNOTE, 76), step(PORTAMENTO, 0xF4, 0, 1, 0, 0, *ms(120)),
        step(WAIT, 0, 0, 0, 0, 0, *ms(120)), step(VOICE_OFF), END],
    # Noise with a loop back to step 2: the step that becomes two moves the target.
    'macros/engine/idle.vqm': [
        step(SETVOICE, 3), step(SETNOISE, 5, 0, 3), step(SETDUTY_ON, 2), step(ADDNOTE, 1, 0, 1),
        step(WAIT, 0, 0, 0, 0, 0, *ms(50)), step(ADDNOTE, 0xFF, 0, 1), step(LOOP, 0, 0, 0, 2, 0, 0xFF, 0xFF), END],
    # Splits by key and selects a sample: its split target may need a look.
    'macros/engine/boost.vqm': [
        step(SPLIT_KEY, 60, 3, 0, 3, 0), step(SAMPLE_ON, 7, 0), step(WAIT, 1, 0, 1, 0, 0, *ms(0xFFFF)),
        step(SAMPLE_ON, 8, 0), step(HARDENVELOPE, 0, 0, 0, 0, 0, *ms(400)), step(WAIT, 0, 0, 0, 0, 0, *ms(400)),
        END],
    'macros/music/Lead.VQM': [
        step(SETVOICE, 0), step(SETDUTY_ON, 2), step(VIBRATO, 0, 20, 0, 0, 0, *ms(250)),
        step(PANNING, 32), step(WAIT, 1, 0, 0, 0, 0, *ms(0xFFFF)), step(HARDENVELOPE, 0, 0, 0, 0, 0, *ms(300)),
        step(WAIT, 0, 0, 0, 0, 0, *ms(300)), END],
    'macros/music/Bass.VQM': [
        step(SETVOICE, 2), step(PRIORITY, 0x40, 1), step(RNDNOTE, 36, 0, 40, 0, 0), step(WAIT, 1, 0, 0, 0, 0, *ms(0xFFFF)),
        step(VOICE_OFF, 1), END],
    # The handheld pulse sweep has no Game Boy Advance counterpart.
    'macros/music/old_sweep.vqm': [
        step(SETVOICE, 0), step(SWEEP_ONE, 10, 50, 0xE8, 0x03), step(WAIT, 0, 0, 0, 0, 0, *ms(500)), END],
    'macros/jingles/coin.vqm': [
        step(GOTO, 0, 9, 0, 1, 0), END],
}

PROJECT = (
    "[Project]\n"
    "Name=Pocket Racer sound effects\n"
    "Target=GameBoy\n"
    "Macrodefinitionfile=C:\\Vocta\\GameBoy\\macrodef.vqd\n"
    "Macropath=macros\n"
    "Samplepath=samples\n")

JINGLES = (
    "[Project]\n"
    "Name=Pocket Racer jingles\n"
    "Target=GameBoy\n"
    "Definitions=..\\..\\macrodef.VQD\n")

# A few commands of the Game Boy command set, in the definition file syntax.
GB_DEFINITIONS = """; Vocta - Qmel Command-definitionfile
; Game Boy sound driver command set (excerpt for the example project)

[Soundmacro.Commanddef]
System = GameBoy
Name = Game Boy command definition

[CommandTypes]
CMD_Structure
CMD_Voice/Sample
CMD_Pitch

[$00]
Type = Structure
Name = END
Icon = end.ico
MainHint = Ends the macro.
ShortHint = End of macro

[$05]
Type = Structure
Name = LOOP
Icon = loop.ico
MainHint = Jumps back to an earlier step.
ShortHint = Loop
Value = 16bit@byte4, MinValue=0, MaxValue=65535, PresetValue=0, Type=VAL_Normal, Reference=SoundMacroStep, Hint=Macro step
Value = 8bit@byte6, MinValue=0, MaxValue=255, PresetValue=3, Type=VAL_Normal, Reference=None, Hint=Count

[$07]
Type = Structure
Name = WAIT
Icon = wait.ico
MainHint = Waits before the next step.
ShortHint = Wait
Value = 8bit@byte1, MinValue=0, MaxValue=1, PresetValue=1, Type=VAL_Switch, Reference=None, Hint=Keyoff
Value = 16bit@byte6, MinValue=0, MaxValue=65535, PresetValue=65535, Type=VAL_Normal, Reference=None, Hint=Milliseconds

[$26]
Type = Voice/Sample
Name = SAMPLE_ON
Icon = sample.ico
MainHint = Selects a sample and starts the voice.
ShortHint = Play sample
Value = 16bit@byte1, Minvalue=0, Maxvalue=$ffff, Type=VAL_SAMPLEID, Reference=Sample, Hint=SampleID

;end <------ do not delete this comment
"""


def write(path, data):
    os.makedirs(os.path.dirname(path) or '.', exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data if isinstance(data, bytes) else data.encode('ascii'))


def main():
    for name, steps in MACROS.items():
        write(name, b''.join(steps))
    write('PocketRacer.vqp', PROJECT)
    write('macros/jingles/Jingles.VQP', JINGLES)
    write('macrodef.vqd', GB_DEFINITIONS)
    write('samples/README.txt', 'The samples of the project would live here; macrolift leaves this folder alone.\n')


if __name__ == '__main__':
    main()
