// The Game Boy Advance command definition text that macrolift writes in place
// of every old macro definition file.
#include "gba_command_definitions.h"

namespace macrolift {

// 776 lines, 42940 bytes, single line feeds. The converter and the macro
// editor read the sections, keys and Value lines; the comments, icons and
// help texts are free text for the people who read the file.
const std::string_view kGbaCommandDefinitions = R"vqd(; Vocta - Qmel Command-definitionfile
; Game Boy Advance sound driver command set
;
; Author:       KESH sound tools group
; Created:      written for the MacroLift converter, version 1.0
; Last changed: with SET_AGE_SPEED ($47) added after SET_AGE_COUNT
;
; !!!! Please do not change here anything unless you exactly know what you are doing !!!!
;
; History
;   1.0  first release: the 56 commands of the driver and six templates
;        for sample playback, sound channel 3 and vibrato
;   1.0a PANNING_MOD and SCALEVOLUME ranges corrected
;
; About this file
; ---------------
; This file tells the sound tools which macro commands the Game Boy Advance
; sound driver understands. A sound macro is a list of 8-byte steps: byte 0
; holds the command number, bytes 1 to 7 hold its parameters. Parameters of
; more than one byte are stored with the low byte first.
;
; Lines that begin with a semicolon are comments. Blank lines are ignored, and
; so are blanks and tabs around the equals signs and the commas.
;
; Sections
;   [Soundmacro.Commanddef]   the system this file describes and its title
;   [AudioCompressionTypes]   the sample compression types: number=name
;   [CommandTypes]            the groups that the commands are sorted into
;   [Template_begin]          a macro template up to [Template_end]: a Name
;                             line and one Macrostep line per step, each step
;                             written as eight bytes $xx separated by commas
;   [$xx]                     one command; xx is its number in hexadecimal
;
; Keys of a command section
;   Type       the group of the command, without the CMD_ prefix
;   Name       the name shown in the macro editor
;   Icon       the picture shown beside the name
;   MainHint   the long help text
;   ShortHint  the short help text (tool tip)
;   Value      one line per parameter, in the order the editor shows them
;
; Items of a Value line, separated by commas
;   8bit@byteN, 16bit@byteN, 24bit@byteN
;              the width of the parameter and the step byte (1 to 7) where
;              it starts
;   MinValue, MaxValue, PresetValue
;              the range that the editor allows and the value of a new step
;   Type       how the editor shows the value:
;              VAL_Normal        a plain number
;              VAL_Switch        a check box, 0 or 1
;              VAL_Signed        a number with a sign
;              VAL_Key           a key, shown as a note name
;              VAL_Detune        cents, shown with a sign
;              VAL_Panning       a position from left to right
;              VAL_Volume        a volume
;              VAL_SoundMacroID  the ID of a sound macro, chosen from a list
;              VAL_SAMPLEID      the ID of a sample, chosen from a list
;              VAL_TableID       the ID of a table, chosen from a list
;   Reference  what the value refers to (see the list below); the converter
;              renumbers sample, macro and table IDs when projects are merged
;   Hint       the label of the parameter
;
; Groups
;   CMD_Structure       program flow: end, wait, loops, jumps and branches
;   CMD_Voice/Sample    voices, samples and the sound channels of the handheld
;   CMD_Volume/Panning  volume, envelopes and stereo position
;   CMD_Delay           the delay mix
;   CMD_Pitch           notes, glides and pitch modulations
;   CMD_Special         sample maps, priorities, voice age and game flags
;
; Step numbers (Reference=SoundMacroStep) count from 0 at the first step of
; the macro named beside them, or of the macro itself for LOOP.

[Soundmacro.Commanddef]
System = GameBoyAdvance
Name = Game Boy Advance command definition

[AudioCompressionTypes]
0=None
1=Sound3

[CommandTypes]
CMD_Structure
CMD_Voice/Sample
CMD_Volume/Panning
CMD_Delay
CMD_Pitch
CMD_Special

; Possible references of a value (Reference=):
;   None           the value is a plain number
;   Sample         the ID of a sample
;   Soundmacro     the ID of a sound macro
;   Soundmacrostep a step number within the macro named beside it
;   Table          the ID of a table (ADSR envelopes)
;   Keymap         the ID of a keymap

; Template: PlaySample
[Template_begin]
Name=?_smp_oneshot
Macrostep=$12,$00,$00,$00,$00,$00,$00,$00
Macrostep=$10,$00,$00,$00,$00,$00,$00,$00
Macrostep=$02,$00,$00,$01,$00,$00,$FF,$FF
Macrostep=$00,$00,$00,$00,$00,$00,$00,$00
[Template_end]

[Template_begin]
Name=?_smp_loop
Macrostep=$12,$00,$00,$00,$00,$00,$00,$00
Macrostep=$10,$00,$00,$00,$00,$00,$00,$00
Macrostep=$02,$01,$00,$01,$00,$00,$FF,$FF
Macrostep=$23,$00,$00,$00,$00,$00,$F4,$01
Macrostep=$02,$00,$00,$01,$00,$00,$F4,$01
Macrostep=$11,$00,$00,$00,$00,$00,$00,$00
Macrostep=$00,$00,$00,$00,$00,$00,$00,$00
[Template_end]

[Template_begin]
Name=?_smp_reverse
Macrostep=$12,$00,$00,$00,$00,$00,$00,$00
Macrostep=$13,$01,$00,$00,$00,$00,$00,$00
Macrostep=$10,$00,$00,$00,$00,$00,$00,$00
Macrostep=$02,$01,$00,$01,$00,$00,$FF,$FF
Macrostep=$11,$00,$00,$00,$00,$00,$00,$00
Macrostep=$00,$00,$00,$00,$00,$00,$00,$00
[Template_end]

[Template_begin]
Name=?_smp_softrelease
Macrostep=$12,$00,$00,$00,$00,$00,$00,$00
Macrostep=$10,$00,$00,$00,$00,$00,$00,$00
Macrostep=$02,$01,$00,$01,$00,$00,$FF,$FF
Macrostep=$23,$00,$00,$00,$00,$00,$64,$00
Macrostep=$02,$00,$00,$01,$00,$00,$3C,$00
Macrostep=$44,$00,$80,$00,$00,$00,$00,$00
Macrostep=$23,$00,$00,$00,$00,$00,$E8,$03
Macrostep=$02,$00,$00,$01,$00,$00,$E8,$03
Macrostep=$11,$00,$00,$00,$00,$00,$00,$00
Macrostep=$00,$00,$00,$00,$00,$00,$00,$00
[Template_end]

[Template_begin]
Name=?_smp_addvibrato
Macrostep=$12,$1F,$00,$00,$00,$00,$00,$00
Macrostep=$10,$00,$00,$00,$00,$00,$00,$00
Macrostep=$02,$01,$00,$01,$00,$00,$90,$01
Macrostep=$34,$00,$1E,$00,$00,$00,$DC,$00
Macrostep=$02,$01,$00,$01,$00,$00,$FF,$FF
Macrostep=$44,$00,$80,$00,$00,$00,$00,$00
Macrostep=$23,$00,$00,$00,$00,$00,$F4,$01
Macrostep=$02,$00,$00,$01,$00,$00,$F4,$01
Macrostep=$11,$00,$00,$00,$00,$00,$00,$00
Macrostep=$00,$00,$00,$00,$00,$00,$00,$00
[Template_end]

[Template_begin]
Name=?_sound3_wave
Macrostep=$12,$00,$00,$00,$00,$00,$00,$00
Macrostep=$10,$00,$00,$00,$00,$00,$00,$00
Macrostep=$02,$01,$00,$00,$00,$00,$FF,$FF
Macrostep=$11,$00,$00,$00,$00,$00,$00,$00
Macrostep=$00,$00,$00,$00,$00,$00,$00,$00
[Template_end]

;------------------------------------------------------------------------------
; Commands of the group CMD_Structure
;------------------------------------------------------------------------------

; END: step $00
[$00]
Type = Structure
Name = END
Icon = end.ico
MainHint = Ends the macro. The voice that runs the macro keeps sounding until its sample or envelope ends on its own; every macro must close with this command. This command has no parameters.
ShortHint = End of macro

; STOP: step $01
[$01]
Type = Structure
Name = STOP
Icon = stop.ico
MainHint = Stops the macro and releases the voice at once. Use it to cut a sound short, for example at the end of a keyoff branch. This command has no parameters.
ShortHint = Stop macro and voice

; WAIT: step $02, b1=Keyoff, b2=Random, b3=Sampleend, b6=Milliseconds
[$02]
Type = Structure
Name = WAIT
Icon = wait.ico
MainHint = Waits before the next step is executed. The wait ends after the given time, or earlier on a keyoff or at the end of the sample when those switches are set. With Random set the time is chosen at random between zero and the given time. 65535 milliseconds waits for ever. The step after the wait runs in the same frame, so short waits keep a macro in step with the music. Parameters: Keyoff (byte 1), Random (byte 2), Sampleend (byte 3), Milliseconds (bytes 6 to 7).
ShortHint = Wait for time, keyoff or sample end
Value = 8bit@byte1, MinValue=0, MaxValue=1, PresetValue=1, Type=VAL_Switch, Reference=None, Hint=Keyoff
Value = 8bit@byte2, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Random
Value = 8bit@byte3, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Sampleend
Value = 16bit@byte6, MinValue=1, MaxValue=65535, PresetValue=65535, Type=VAL_Normal, Reference=None, Hint=Milliseconds

; LOOP: step $03, b1=Keyoff, b2=Random, b3=Sampleend, b4=Macro step, b6=Count
[$03]
Type = Structure
Name = LOOP
Icon = loop.ico
MainHint = Jumps back to an earlier step of this macro and repeats the steps in between. Count gives the number of repetitions (65535 repeats for ever); a keyoff, a random decision or the end of the sample can leave the loop early when the switches are set. The step number counts from 0 at the first step of this macro and must lie before the LOOP step. Parameters: Keyoff (byte 1), Random (byte 2), Sampleend (byte 3), Macro step (bytes 4 to 5), Count (bytes 6 to 7).
ShortHint = Loop to an earlier step
Value = 8bit@byte1, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Keyoff
Value = 8bit@byte2, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Random
Value = 8bit@byte3, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Sampleend
Value = 16bit@byte4, MinValue=0, MaxValue=65535, PresetValue=0, Type=VAL_Normal, Reference=SoundMacroStep, Hint=Macro step
Value = 16bit@byte6, MinValue=0, MaxValue=65535, PresetValue=3, Type=VAL_Normal, Reference=None, Hint=Count

; GOTO: step $04, b2=MacroID, b4=Macro step
[$04]
Type = Structure
Name = GOTO
Icon = branch.ico
MainHint = Continues execution at a step of another macro (or of this one). The voice and its settings stay as they are; only the program changes. Parameters: MacroID (bytes 2 to 3), Macro step (bytes 4 to 5).
ShortHint = Jump to macro step
Value = 16bit@byte2, MinValue=0, MaxValue=65535, PresetValue=1, Type=VAL_SoundMacroID, Reference=SoundMacro, Hint=MacroID
Value = 16bit@byte4, MinValue=0, MaxValue=65535, PresetValue=0, Type=VAL_Normal, Reference=SoundMacroStep, Hint=Macro step

; SPLIT_KEY: step $05, b1=KeyNr, b2=MacroID, b4=Macro step
[$05]
Type = Structure
Name = SPLIT_KEY
Icon = branch.ico
MainHint = Jumps to a step of a macro when the key that started the voice is at or above the given key number; below it the macro goes on with the next step. Parameters: KeyNr (byte 1), MacroID (bytes 2 to 3), Macro step (bytes 4 to 5).
ShortHint = Branch on key number
Value = 8bit@byte1, MinValue=0, MaxValue=127, PresetValue=60, Type=VAL_Key, Reference=None, Hint=KeyNr
Value = 16bit@byte2, MinValue=0, MaxValue=65535, PresetValue=1, Type=VAL_SoundMacroID, Reference=SoundMacro, Hint=MacroID
Value = 16bit@byte4, MinValue=0, MaxValue=65535, PresetValue=0, Type=VAL_Normal, Reference=SoundMacroStep, Hint=Macro step

; SPLIT_VEL: step $06, b1=Velocity, b2=MacroID, b4=Macro step
[$06]
Type = Structure
Name = SPLIT_VEL
Icon = branch.ico
MainHint = Jumps to a step of a macro when the velocity that started the voice is at or above the given velocity; below it the macro goes on with the next step. Parameters: Velocity (byte 1), MacroID (bytes 2 to 3), Macro step (bytes 4 to 5).
ShortHint = Branch on velocity
Value = 8bit@byte1, MinValue=0, MaxValue=127, PresetValue=100, Type=VAL_Normal, Reference=None, Hint=Velocity
Value = 16bit@byte2, MinValue=0, MaxValue=65535, PresetValue=1, Type=VAL_SoundMacroID, Reference=SoundMacro, Hint=MacroID
Value = 16bit@byte4, MinValue=0, MaxValue=65535, PresetValue=0, Type=VAL_Normal, Reference=SoundMacroStep, Hint=Macro step

; SPLIT_RND: step $07, b1=Random, b2=MacroID, b4=Macro step
[$07]
Type = Structure
Name = SPLIT_RND
Icon = branch.ico
MainHint = Draws a random number between 0 and 255 and jumps to a step of a macro when it is at or above the given value; otherwise the macro goes on with the next step. Parameters: Random (byte 1), MacroID (bytes 2 to 3), Macro step (bytes 4 to 5).
ShortHint = Branch at random
Value = 8bit@byte1, MinValue=0, MaxValue=255, PresetValue=128, Type=VAL_Normal, Reference=None, Hint=Random
Value = 16bit@byte2, MinValue=0, MaxValue=65535, PresetValue=1, Type=VAL_SoundMacroID, Reference=SoundMacro, Hint=MacroID
Value = 16bit@byte4, MinValue=0, MaxValue=65535, PresetValue=0, Type=VAL_Normal, Reference=SoundMacroStep, Hint=Macro step

; SPLIT_FLAG: step $08, b1=FlagNr, b2=MacroID, b4=Macro step
[$08]
Type = Structure
Name = SPLIT_FLAG
Icon = branch.ico
MainHint = Jumps to a step of a macro when the given game flag is set; otherwise the macro goes on with the next step. Flags are set by the game or by CHANGEFLAG. Parameters: FlagNr (byte 1), MacroID (bytes 2 to 3), Macro step (bytes 4 to 5).
ShortHint = Branch on flag
Value = 8bit@byte1, MinValue=0, MaxValue=31, PresetValue=0, Type=VAL_Normal, Reference=None, Hint=FlagNr
Value = 16bit@byte2, MinValue=0, MaxValue=65535, PresetValue=1, Type=VAL_SoundMacroID, Reference=SoundMacro, Hint=MacroID
Value = 16bit@byte4, MinValue=0, MaxValue=65535, PresetValue=0, Type=VAL_Normal, Reference=SoundMacroStep, Hint=Macro step

; PLAYMACRO: step $09, b1=MacroID, b3=Key add, b4=Priority, b6=VoiceNr, b7=Don't reset
[$09]
Type = Structure
Name = PLAYMACRO
Icon = play.ico
MainHint = Starts another macro on a voice of its own, as if a key had been pressed. The key of this voice plus Key add is passed on; Priority and VoiceNr choose the voice, and Don't reset keeps the settings of a voice that is already in use. Parameters: MacroID (bytes 1 to 2), Key add (byte 3), Priority (byte 4), VoiceNr (byte 6), Don't reset (byte 7).
ShortHint = Start another macro
Value = 16bit@byte1, MinValue=0, MaxValue=65535, PresetValue=1, Type=VAL_SoundMacroID, Reference=SoundMacro, Hint=MacroID
Value = 8bit@byte3, MinValue=-127, MaxValue=127, PresetValue=0, Type=VAL_Signed, Reference=None, Hint=Key add
Value = 8bit@byte4, MinValue=0, MaxValue=255, PresetValue=0, Type=VAL_Normal, Reference=None, Hint=Priority
Value = 8bit@byte6, MinValue=0, MaxValue=255, PresetValue=255, Type=VAL_Normal, Reference=None, Hint=VoiceNr
Value = 8bit@byte7, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Don't reset

; KEYOFF_MACRO: step $0a, b1=MacroID
[$0a]
Type = Structure
Name = KEYOFF_MACRO
Icon = switch.ico
Mainhint = Sends a keyoff to all instances of the specified macro. This is typically used to terminate macros started via PLAYMACRO. Parameters: MacroID (bytes 1 to 2).
Shorthint = Send keyoff to macro
Value = 16bit@byte1, MinValue=0, MaxValue=65535, PresetValue=1, Type=VAL_SoundMacroID, Reference=SoundMacro, Hint=MacroID

; KEYOFF_VOICE: step $0b, b1=VoiceNr
[$0b]
Type = Structure
Name = KEYOFF_VOICE
Icon = switch.ico
MainHint = Sends a keyoff to the macro that runs on the given voice. Voices are numbered from 0. Parameters: VoiceNr (byte 1).
ShortHint = Send keyoff to voice
Value = 8bit@byte1, MinValue=0, MaxValue=255, PresetValue=0, Type=VAL_Normal, Reference=None, Hint=VoiceNr

; KEYOFF_ADSR: step $0c
[$0c]
Type = Structure
Name = KEYOFF_ADSR
Icon = switch.ico
MainHint = Sends a keyoff to the volume envelope of this voice only: the release phase starts while the macro itself goes on. This command has no parameters.
ShortHint = Release the envelope

; TRAP_KEYOFF: step $0d, b2=MacroID, b4=Macro step
[$0d]
Type = Structure
Name = TRAP_KEYOFF
Icon = trap.ico
MainHint = Installs a keyoff handler: when the voice receives a keyoff, the macro continues at the given step instead of ending the current wait. Parameters: MacroID (bytes 2 to 3), Macro step (bytes 4 to 5).
ShortHint = Jump on keyoff
Value = 16bit@byte2, MinValue=0, MaxValue=65535, PresetValue=1, Type=VAL_SoundMacroID, Reference=SoundMacro, Hint=MacroID
Value = 16bit@byte4, MinValue=0, MaxValue=65535, PresetValue=0, Type=VAL_Normal, Reference=SoundMacroStep, Hint=Macro step

; UNTRAP_KEYOFF: step $0e
[$0e]
Type = Structure
Name = UNTRAP_KEYOFF
Icon = trap.ico
MainHint = Removes the keyoff handler installed by TRAP_KEYOFF; later keyoffs act as usual again. This command has no parameters.
ShortHint = Remove keyoff handler

;------------------------------------------------------------------------------
; Commands of the group CMD_Voice/Sample
;------------------------------------------------------------------------------

; VOICE_ON: step $10, b1=Delay exclude
[$10]
Type = Voice/Sample
Name = VOICE_ON
Icon = voiceon.ico
MainHint = Starts the sound of the voice with the sample, duty cycle or noise set before. With Delay exclude set the voice is kept out of the delay mix. Parameters: Delay exclude (byte 1).
ShortHint = Start the voice
Value = 8bit@byte1, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Delay exclude

; VOICE_OFF: step $11, b1=Wait silence
[$11]
Type = Voice/Sample
Name = VOICE_OFF
Icon = voiceoff.ico
MainHint = Silences the voice. With Wait silence set the macro waits until the voice has faded out before it goes on. Parameters: Wait silence (byte 1).
ShortHint = Silence the voice
Value = 8bit@byte1, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Wait silence

; SMP_SELECT: step $12, b1=SampleID, b3=Org.rate, b4=Vel.mode, b5=Vel. offset
[$12]
Type = Voice/Sample
Name = SMP_SELECT
Icon = sample.ico
MainHint = Selects the sample that the voice plays from the next VOICE_ON on. Org.rate plays it at its recorded rate whatever the key; Vel.mode and Vel. offset move the start point with the velocity. Parameters: SampleID (bytes 1 to 2), Org.rate (byte 3), Vel.mode (byte 4), Vel. offset (bytes 5 to 7).
ShortHint = Select sample
Value = 16bit@byte1, Minvalue=0, Maxvalue=$ffff, Type=VAL_SAMPLEID, Reference=Sample, Hint=SampleID
Value = 8bit@byte3, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Org.rate
Value = 8bit@byte4, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Normal, Reference=None, Hint=Vel.mode
Value = 24bit@byte5, MinValue=0, MaxValue=16777215, PresetValue=0, Type=VAL_Normal, Reference=None, Hint=Vel. offset

; SMP_LENGTH: step $13, b1=Backwd, b2=StartOff, b5=Length
[$13]
Type = Voice/Sample
Name = SMP_LENGTH
Icon = sample.ico
MainHint = Plays only a part of the selected sample: from StartOff for Length sample frames (0 plays to the end). Backwd plays the part backwards. Parameters: Backwd (byte 1), StartOff (bytes 2 to 4), Length (bytes 5 to 7).
ShortHint = Play part of sample
Value = 8bit@byte1, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Backwd
Value = 24bit@byte2, MinValue=0, MaxValue=16777215, PresetValue=0, Type=VAL_Normal, Reference=None, Hint=StartOff
Value = 24bit@byte5, MinValue=0, MaxValue=16777215, PresetValue=0, Type=VAL_Normal, Reference=None, Hint=Length

; SMP_LENLOOP: step $14, b1=Backwd, b2=StartOff, b5=Length
[$14]
Type = Voice/Sample
Name = SMP_LENLOOP
Icon = sample.ico
MainHint = Plays a part of the selected sample as a loop: from StartOff for Length sample frames, repeated until the voice is released. Backwd plays the part backwards. Parameters: Backwd (byte 1), StartOff (bytes 2 to 4), Length (bytes 5 to 7).
ShortHint = Loop part of sample
Value = 8bit@byte1, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Backwd
Value = 24bit@byte2, MinValue=0, MaxValue=16777215, PresetValue=0, Type=VAL_Normal, Reference=None, Hint=StartOff
Value = 24bit@byte5, MinValue=0, MaxValue=16777215, PresetValue=0, Type=VAL_Normal, Reference=None, Hint=Length

; SMP_MAPSELECT: step $15, b1=MacroID, b3=Key offset
[$15]
Type = Voice/Sample
Name = SMP_MAPSELECT
Icon = samplemap.ico
MainHint = Selects the sample for the current key from a sample map macro (a macro of SAMPLEMAP steps). Key offset moves the key before the map is read. Parameters: MacroID (bytes 1 to 2), Key offset (bytes 3 to 4).
ShortHint = Select sample from map
Value = 16bit@byte1, MinValue=0, MaxValue=65535, PresetValue=1, Type=VAL_SoundMacroID, Reference=SoundMacro, Hint=MacroID
Value = 16bit@byte3, MinValue=-32768, MaxValue=32767, PresetValue=0, Type=VAL_Signed, Reference=None, Hint=Key offset

; SETVOICE: step $16, b1=VoiceNr, b6=S1/2 toggle, b7=Don't reset
[$16]
Type = Voice/Sample
Name = SETVOICE
Icon = voice.ico
MainHint = Chooses the hardware voice for this macro: 0 and 1 are the square wave channels, 2 the wave channel, 3 the noise channel, higher numbers the direct sound voices. S1/2 toggle lets the two square channels take turns; Don't reset keeps the settings of a voice in use. Parameters: VoiceNr (byte 1), S1/2 toggle (byte 6), Don't reset (byte 7).
ShortHint = Choose voice
Value = 8bit@byte1, MinValue=0, MaxValue=255, PresetValue=255, Type=VAL_Normal, Reference=None, Hint=VoiceNr
Value = 8bit@byte6, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=S1/2 toggle
Value = 8bit@byte7, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Don't reset

; SETDUTY: step $17, b1=Duty cycle
[$17]
Type = Voice/Sample
Name = SETDUTY
Icon = duty.ico
MainHint = Sets the duty cycle of a square wave voice: 0 is 12.5 %, 1 is 25 %, 2 is 50 % and 3 is 75 %. Parameters: Duty cycle (byte 1).
ShortHint = Set duty cycle
Value = 8bit@byte1, MinValue=0, MaxValue=3, PresetValue=1, Type=VAL_Normal, Reference=None, Hint=Duty cycle

; SETNOISE: step $18, b1=Poly.Clock, b2=Poly.Step, b3=Freq.Ratio
[$18]
Type = Voice/Sample
Name = SETNOISE
Icon = noise.ico
MainHint = Sets the noise generator: clock shift, step width (0 = 15 bits, 1 = 7 bits) and frequency divider ratio. Parameters: Poly.Clock (byte 1), Poly.Step (byte 2), Freq.Ratio (byte 3).
ShortHint = Set noise parameters
Value = 8bit@byte1, MinValue=0, MaxValue=13, PresetValue=0, Type=VAL_Normal, Reference=None, Hint=Poly.Clock
Value = 8bit@byte2, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Normal, Reference=None, Hint=Poly.Step
Value = 8bit@byte3, MinValue=0, MaxValue=7, PresetValue=0, Type=VAL_Normal, Reference=None, Hint=Freq.Ratio

; PWM_START: step $19, b1=Low limit, b2=High limit, b3=Startpoint, b6=Milliseconds
[$19]
Type = Voice/Sample
Name = PWM_START
Icon = pwm.ico
MainHint = Starts a pulse width modulation of the wave channel between the low and the high limit, beginning at Startpoint; one sweep from limit to limit takes the given time. Parameters: Low limit (byte 1), High limit (byte 2), Startpoint (byte 3), Milliseconds (bytes 6 to 7).
ShortHint = Start pulse width modulation
Value = 8bit@byte1, MinValue=1, MaxValue=62, PresetValue=32, Type=VAL_Normal, Reference=None, Hint=Low limit
Value = 8bit@byte2, MinValue=2, MaxValue=63, PresetValue=63, Type=VAL_Normal, Reference=None, Hint=High limit
Value = 8bit@byte3, MinValue=1, MaxValue=63, PresetValue=32, Type=VAL_Normal, Reference=None, Hint=Startpoint
Value = 16bit@byte6, MinValue=0, MaxValue=65535, PresetValue=1000, Type=VAL_Normal, Reference=None, Hint=Milliseconds

; PWM_VELOCITY: step $1a, b1=Vel.add, b2=Low limit, b3=High limit, b4=Reverse
[$1a]
Type = Voice/Sample
Name = PWM_VELOCITY
Icon = pwm.ico
MainHint = Sets the pulse width from the velocity: the velocity plus Vel.add is scaled between the low and the high limit; Reverse turns the scale round. Parameters: Vel.add (byte 1), Low limit (byte 2), High limit (byte 3), Reverse (byte 4).
ShortHint = Pulse width from velocity
Value = 8bit@byte1, MinValue=-127, MaxValue=127, PresetValue=0, Type=VAL_Signed, Reference=None, Hint=Vel.add
Value = 8bit@byte2, MinValue=1, MaxValue=32, PresetValue=1, Type=VAL_Normal, Reference=None, Hint=Low limit
Value = 8bit@byte3, MinValue=1, MaxValue=32, PresetValue=32, Type=VAL_Normal, Reference=None, Hint=High limit
Value = 8bit@byte4, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Reverse

; PWM_USRSAMPLE: step $1b, b1=SampleID
[$1b]
Type = Voice/Sample
Name = PWM_USRSAMPLE
Icon = pwm.ico
MainHint = Loads a sample of the user's own as the wave of the wave channel, in place of the pulse wave. Parameters: SampleID (bytes 1 to 2).
ShortHint = Own wave for wave channel
Value = 16bit@byte1, Minvalue=0, Maxvalue=$ffff, Type=VAL_SAMPLEID, Reference=Sample, Hint=SampleID

; SMP_SHIFT: step $1c, b1=Offset add, b3=Repeat Add, b5=Frame skip, b6=Cycle
[$1c]
Type = Voice/Sample
Name = SMP_SHIFT
Icon = shift.ico
MainHint = Moves the loop of the playing sample step by step: Offset add is added every Frame skip frames, Repeat Add times; Cycle starts again from the beginning when the end is reached. Parameters: Offset add (bytes 1 to 2), Repeat Add (bytes 3 to 4), Frame skip (byte 5), Cycle (byte 6).
ShortHint = Shift sample loop
Value = 16bit@byte1, MinValue=-32767, MaxValue=32767, PresetValue=64, Type=VAL_Signed, Reference=None, Hint=Offset add
Value = 16bit@byte3, MinValue=0, MaxValue=65535, PresetValue=10, Type=VAL_Normal, Reference=None, Hint=Repeat Add
Value = 8bit@byte5, MinValue=0, MaxValue=255, PresetValue=0, Type=VAL_Normal, Reference=None, Hint=Frame skip
Value = 8bit@byte6, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Cycle

; SMP_SETLOOP: step $1e, b1=Looplen
[$1e]
Type = Voice/Sample
Name = SMP_SETLOOP
Icon = loop.ico
MainHint = Sets the loop length of the playing sample in sample frames. The loop keeps its end point and only its start moves; a length of zero plays the rest of the sample once. Parameters: Looplen (bytes 1 to 3).
ShortHint = Set loop length
Value = 24bit@byte1, MinValue=0, MaxValue=16777215, PresetValue=64, Type=VAL_Normal, Reference=None, Hint=Looplen

; SMP_ADDLOOP: step $1d, b1=Looplen add
[$1d]
Type = Voice/Sample
Name = SMP_ADDLOOP
Icon = loop.ico
MainHint = Adds a signed number of sample frames to the loop length of the playing sample. Parameters: Looplen add (bytes 1 to 2).
ShortHint = Change loop length
Value = 16bit@byte1, MinValue=-32767, MaxValue=32767, PresetValue=64, Type=VAL_Signed, Reference=None, Hint=Looplen add

;------------------------------------------------------------------------------
; Commands of the group CMD_Volume/Panning
;------------------------------------------------------------------------------

; PANNING: step $20, b1=Position, b2=Inv.Phase, b3=Rnd offset
[$20]
Type = Volume/Panning
Name = PANNING
Icon = panning.ico
MainHint = Sets the position of the voice between left (0) and right (127); 64 is the middle. Inv.Phase inverts one side; Rnd offset moves the position at random by up to the given amount. Parameters: Position (byte 1), Inv.Phase (byte 2), Rnd offset (byte 3).
ShortHint = Set panning
Value = 8bit@byte1, MinValue=0, MaxValue=127, PresetValue=64, Type=VAL_Panning, Reference=None, Hint=Position
Value = 8bit@byte2, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Inv.Phase
Value = 8bit@byte3, MinValue=0, MaxValue=127, PresetValue=0, Type=VAL_Signed, Reference=None, Hint=Rnd offset

; SETVOLUME: step $21, b1=Volume
[$21]
Type = Volume/Panning
Name = SETVOLUME
Icon = volume.ico
MainHint = Sets the volume of the voice, from 0 (silent) to 127 (full). Parameters: Volume (byte 1).
ShortHint = Set volume
Value = 8bit@byte1, MinValue=0, MaxValue=127, PresetValue=127, Type=VAL_Volume, Reference=None, Hint=Volume

; SETADSR: step $22, b1=ADSR, b3=UsrKeyoff
[$22]
Type = Volume/Panning
Name = SETADSR
Icon = adsr.ico
MainHint = Sets the volume envelope of the voice from an ADSR table. UsrKeyoff makes the release wait for a KEYOFF_ADSR instead of the keyoff of the key. The tables are made in the table editor of the sound project and are renumbered when projects are merged. Parameters: ADSR (bytes 1 to 2), UsrKeyoff (byte 3).
ShortHint = Set envelope table
Value = 16bit@byte1, MinValue=0, MaxValue=16383, PresetValue=0, Type=VAL_TableID, Reference=Table, Hint=ADSR
Value = 8bit@byte3, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=UsrKeyoff

; ENVELOPE: step $23, b1=FadeIn, b6=Milliseconds
[$23]
Type = Volume/Panning
Name = ENVELOPE
Icon = envelope.ico
MainHint = Fades the volume of the voice in or out over the given time, starting from its present volume. Fading out to silence does not free the voice; end the macro or use VOICE_OFF for that. Parameters: FadeIn (byte 1), Milliseconds (bytes 6 to 7).
ShortHint = Fade volume
Value = 8bit@byte1, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=FadeIn
Value = 16bit@byte6, MinValue=0, MaxValue=65535, PresetValue=100, Type=VAL_Normal, Reference=None, Hint=Milliseconds

; HARDENVELOPE: step $24, b1=FadeIn, b6=Milliseconds
[$24]
Type = Volume/Panning
Name = HARDENVELOPE
Icon = envelope.ico
MainHint = Uses the hardware envelope of the square and noise channels to fade the volume in or out; the time is rounded to the steps that the hardware knows. Parameters: FadeIn (byte 1), Milliseconds (bytes 6 to 7).
ShortHint = Hardware fade
Value = 8bit@byte1, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=FadeIn
Value = 16bit@byte6, MinValue=0, MaxValue=1640, PresetValue=100, Type=VAL_Normal, Reference=None, Hint=Milliseconds

; PANNING_MOD: step $25, b1=Left, b2=Right, b3=RtoL, b4=Cycle, b6=Milliseconds
[$25]
Type = Volume/Panning
Name = PANNING_MOD
Icon = panning.ico
MainHint = Moves the panning position between Left and Right over the given time; RtoL starts on the right, Cycle repeats the movement back and forth. Parameters: Left (byte 1), Right (byte 2), RtoL (byte 3), Cycle (byte 4), Milliseconds (bytes 6 to 7).
ShortHint = Move panning
Value = 8bit@byte1, MinValue=0, MaxValue=127, PresetValue=0, Type=VAL_Panning, Reference=None, Hint=Left
Value = 8bit@byte2, MinValue=0, MaxValue=127, PresetValue=127, Type=VAL_Panning, Reference=None, Hint=Right
Value = 8bit@byte3, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=RtoL
Value = 8bit@byte4, MinValue=0, MaxValue=1, PresetValue=1, Type=VAL_Switch, Reference=None, Hint=Cycle
Value = 16bit@byte6, MinValue=0, MaxValue=5000, PresetValue=1000, Type=VAL_Normal, Reference=None, Hint=Milliseconds

; SCALEVOLUME: step $26, b1=Scale, b3=Add, b4=Use org.vel
[$26]
Type = Volume/Panning
Name = SCALEVOLUME
Icon = volume.ico
MainHint = Scales the volume of the voice: the velocity (or the original velocity when Use org.vel is set) is multiplied by Scale / 256 and Add is added. Parameters: Scale (bytes 1 to 2), Add (byte 3), Use org.vel (byte 4).
ShortHint = Scale volume
Value = 16bit@byte1, MinValue=0, MaxValue=512, PresetValue=256, Type=VAL_Normal, Reference=None, Hint=Scale
Value = 8bit@byte3, MinValue=-127, MaxValue=127, PresetValue=0, Type=VAL_Signed, Reference=None, Hint=Add
Value = 8bit@byte4, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Use org.vel

;------------------------------------------------------------------------------
; Commands of the group CMD_Delay
;------------------------------------------------------------------------------

; MIX_DELAY: step $28, b1=Exclude
[$28]
Type = Delay
Name = MIX_DELAY
Icon = delay.ico
MainHint = Takes the voice out of the delay mix (Exclude set) or puts it back in. Parameters: Exclude (byte 1).
ShortHint = Delay mix
Value = 8bit@byte1, MinValue=0, MaxValue=1, PresetValue=1, Type=VAL_Switch, Reference=None, Hint=Exclude

;------------------------------------------------------------------------------
; Commands of the group CMD_Pitch
;------------------------------------------------------------------------------

; SETNOTE: step $30, b1=Key, b2=Cents
[$30]
Type = Pitch
Name = SETNOTE
Icon = note.ico
MainHint = Sets the pitch of the voice to the given key and cents, whatever key started it. Parameters: Key (byte 1), Cents (byte 2).
ShortHint = Set note
Value = 8bit@byte1, MinValue=0, MaxValue=127, PresetValue=36, Type=VAL_Key, Reference=None, Hint=Key
Value = 8bit@byte2, MinValue=-99, MaxValue=99, PresetValue=0, Type=VAL_Signed, Reference=None, Hint=Cents

; ADDNOTE: step $31, b1=Key add, b2=Cents, b3=Use org.key
[$31]
Type = Pitch
Name = ADDNOTE
Icon = note.ico
MainHint = Adds keys and cents to the pitch of the voice; with Use org.key set they are added to the key that started the voice, else to the present pitch. Parameters: Key add (byte 1), Cents (byte 2), Use org.key (byte 3).
ShortHint = Add to note
Value = 8bit@byte1, MinValue=-127, MaxValue=127, PresetValue=0, Type=VAL_Signed, Reference=None, Hint=Key add
Value = 8bit@byte2, MinValue=-99, MaxValue=99, PresetValue=0, Type=VAL_Signed, Reference=None, Hint=Cents
Value = 8bit@byte3, MinValue=0, MaxValue=1, PresetValue=1, Type=VAL_Switch, Reference=None, Hint=Use org.key

; RNDNOTE: step $32, b1=Note Lo, b2=Cents Lo, b3=Note Hi, b4=Cents Hi, b6=Free, b7=Relative
[$32]
Type = Pitch
Name = RNDNOTE
Icon = note.ico
MainHint = Sets the pitch to a random note between Note Lo and Note Hi. Free picks any pitch in between, not only whole keys; Relative adds the range to the key that started the voice. Parameters: Note Lo (byte 1), Cents Lo (byte 2), Note Hi (byte 3), Cents Hi (byte 4), Free (byte 6), Relative (byte 7).
ShortHint = Random note
Value = 8bit@byte1, MinValue=0, MaxValue=127, PresetValue=48, Type=VAL_Normal, Reference=None, Hint=Note Lo
Value = 8bit@byte2, MinValue=-99, MaxValue=99, PresetValue=0, Type=VAL_Detune, Reference=None, Hint=Cents Lo
Value = 8bit@byte3, MinValue=0, MaxValue=127, PresetValue=72, Type=VAL_Normal, Reference=None, Hint=Note Hi
Value = 8bit@byte4, MinValue=-99, MaxValue=99, PresetValue=0, Type=VAL_Detune, Reference=None, Hint=Cents Hi
Value = 8bit@byte6, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Free
Value = 8bit@byte7, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Relative

; LASTNOTE: step $33, b1=Add key, b2=Cents
[$33]
Type = Pitch
Name = LASTNOTE
Icon = note.ico
MainHint = Sets the pitch to the last key played on this voice, plus the given keys and cents. Parameters: Add key (byte 1), Cents (byte 2).
ShortHint = Last note
Value = 8bit@byte1, MinValue=-127, MaxValue=127, PresetValue=0, Type=VAL_Signed, Reference=None, Hint=Add key
Value = 8bit@byte2, MinValue=-99, MaxValue=99, PresetValue=0, Type=VAL_Signed, Reference=None, Hint=Cents

; VIBRATO: step $34, b1=Key offset, b2=Key cents, b6=Milliseconds
[$34]
Type = Pitch
Name = VIBRATO
Icon = vibrato.ico
MainHint = Starts a vibrato around the present pitch: the depth is given in keys and cents, the time is that of one whole period. Parameters: Key offset (byte 1), Key cents (byte 2), Milliseconds (bytes 6 to 7).
ShortHint = Start vibrato
Value = 8bit@byte1, MinValue=-127, MaxValue=127, PresetValue=0, Type=VAL_Signed, Reference=None, Hint=Key offset
Value = 8bit@byte2, MinValue=-99, MaxValue=99, PresetValue=15, Type=VAL_Signed, Reference=None, Hint=Key cents
Value = 16bit@byte6, MinValue=0, MaxValue=4266, PresetValue=250, Type=VAL_Normal, Reference=None, Hint=Milliseconds

; PITCHSWEEP: step $35, b1=Key offset, b2=Key cents, b5=Sweep0/1, b6=Milliseconds
[$35]
Type = Pitch
Name = PITCHSWEEP
Icon = sweep.ico
MainHint = Sweeps the pitch by the given keys and cents over the given time. Two sweeps can run at once; Sweep0/1 chooses which one this step sets. A positive offset sweeps upwards, a negative one downwards. Parameters: Key offset (byte 1), Key cents (byte 2), Sweep0/1 (byte 5), Milliseconds (bytes 6 to 7).
ShortHint = Sweep pitch
Value = 8bit@byte1, MinValue=-127, MaxValue=127, PresetValue=60, Type=VAL_Signed, Reference=None, Hint=Key offset
Value = 8bit@byte2, MinValue=-99, MaxValue=99, PresetValue=0, Type=VAL_Signed, Reference=None, Hint=Key cents
Value = 8bit@byte5, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Normal, Reference=None, Hint=Sweep0/1
Value = 16bit@byte6, MinValue=0, MaxValue=65535, PresetValue=1000, Type=VAL_Normal, Reference=None, Hint=Milliseconds

; PORTAMENTO: step $36, b1=Key offset, b2=Cents, b3=Relative, b6=Milliseconds
[$36]
Type = Pitch
Name = PORTAMENTO
Icon = portamento.ico
MainHint = Glides the pitch to a new note over the given time. With Relative set the note is counted from the present pitch, else it is an absolute key. Parameters: Key offset (byte 1), Cents (byte 2), Relative (byte 3), Milliseconds (bytes 6 to 7).
ShortHint = Glide to note
Value = 8bit@byte1, MinValue=-127, MaxValue=127, PresetValue=2, Type=VAL_Signed, Reference=None, Hint=Key offset
Value = 8bit@byte2, MinValue=-99, MaxValue=99, PresetValue=0, Type=VAL_Signed, Reference=None, Hint=Cents
Value = 8bit@byte3, MinValue=0, MaxValue=1, PresetValue=1, Type=VAL_Switch, Reference=None, Hint=Relative
Value = 16bit@byte6, MinValue=0, MaxValue=65535, PresetValue=500, Type=VAL_Normal, Reference=None, Hint=Milliseconds

; PORTLAST: step $37, b1=Key offset, b2=Cents, b6=Milliseconds
[$37]
Type = Pitch
Name = PORTLAST
Icon = portamento.ico
MainHint = Glides the pitch from the last key played on this voice to the present one over the given time. Nothing happens when the voice has not played a key before. Parameters: Key offset (byte 1), Cents (byte 2), Milliseconds (bytes 6 to 7).
ShortHint = Glide from last note
Value = 8bit@byte1, MinValue=-127, MaxValue=127, PresetValue=0, Type=VAL_Signed, Reference=None, Hint=Key offset
Value = 8bit@byte2, MinValue=-99, MaxValue=99, PresetValue=0, Type=VAL_Signed, Reference=None, Hint=Cents
Value = 16bit@byte6, MinValue=0, MaxValue=65535, PresetValue=100, Type=VAL_Normal, Reference=None, Hint=Milliseconds

; STOP_MOD: step $38, b1=Vibrato, b2=Portamento, b3=Sweep1, b4=Sweep2, b5=PWM, b6=Smp.shift, b7=Panning
[$38]
Type = Pitch
Name = STOP_MOD
Icon = stopmod.ico
Mainhint = Stops the modulations whose switches are set, keeping the values they have reached. Parameters: Vibrato (byte 1), Portamento (byte 2), Sweep1 (byte 3), Sweep2 (byte 4), PWM (byte 5), Smp.shift (byte 6), Panning (byte 7).
Shorthint = Stop modulations
Value = 8bit@byte1, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Vibrato
Value = 8bit@byte2, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Portamento
Value = 8bit@byte3, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Sweep1
Value = 8bit@byte4, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Sweep2
Value = 8bit@byte5, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=PWM
Value = 8bit@byte6, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Smp.shift
Value = 8bit@byte7, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Panning

; RESET_MOD: step $39, b1=Vibrato, b2=Portamento, b3=Sweep1, b4=Sweep2
[$39]
Type = Pitch
Name = RESET_MOD
Icon = stopmod.ico
Mainhint = Stops the pitch modulations whose switches are set and returns the pitch to the value it had before them. Parameters: Vibrato (byte 1), Portamento (byte 2), Sweep1 (byte 3), Sweep2 (byte 4).
Shorthint = Reset modulations
Value = 8bit@byte1, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Vibrato
Value = 8bit@byte2, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Portamento
Value = 8bit@byte3, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Sweep1
Value = 8bit@byte4, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Sweep2

;------------------------------------------------------------------------------
; Commands of the group CMD_Special
;------------------------------------------------------------------------------

; SAMPLEMAP: step $40, b1=SampleID, b3=Org.rate, b4=Key add, b5=Cents, b6=Pan offset, b7=Inv.Phase
[$40]
Type = Special
Name = SAMPLEMAP
Icon = samplemap.ico
MainHint = One entry of a sample map macro: the sample for one key, with its pitch, panning and phase. A sample map macro consists of SAMPLEMAP steps only, one per key from the lowest key on, and is used through SMP_MAPSELECT. Each entry takes the place of a whole SMP_SELECT and SETNOTE pair. Parameters: SampleID (bytes 1 to 2), Org.rate (byte 3), Key add (byte 4), Cents (byte 5), Pan offset (byte 6), Inv.Phase (byte 7).
ShortHint = Sample map entry
Value = 16bit@byte1, Minvalue=0, Maxvalue=$ffff, Type=VAL_SAMPLEID, Reference=Sample, Hint=SampleID
Value = 8bit@byte3, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Org.rate
Value = 8bit@byte4, MinValue=-127, MaxValue=127, PresetValue=0, Type=VAL_Signed, Reference=None, Hint=Key add
Value = 8bit@byte5, MinValue=-99, MaxValue=99, PresetValue=0, Type=VAL_Signed, Reference=None, Hint=Cents
Value = 8bit@byte6, MinValue=-127, MaxValue=127, PresetValue=0, Type=VAL_Signed, Reference=None, Hint=Pan offset
Value = 8bit@byte7, MinValue=0, MaxValue=1, PresetValue=0, Type=VAL_Switch, Reference=None, Hint=Inv.Phase

; SET_PRIORITY: step $41, b1=Priority
[$41]
Type = Special
Name = SET_PRIORITY
Icon = priority.ico
MainHint = Sets the priority of the voice. When all voices are in use, the one with the lowest priority is taken for a new sound. Parameters: Priority (byte 1).
ShortHint = Set priority
Value = 8bit@byte1, MinValue=0, MaxValue=255, PresetValue=0, Type=VAL_Normal, Reference=None, Hint=Priority

; ADD_PRIORITY: step $42, b1=Priority
[$42]
Type = Special
Name = ADD_PRIORITY
Icon = priority.ico
MainHint = Adds a signed amount to the priority of the voice. Parameters: Priority (byte 1).
ShortHint = Change priority
Value = 8bit@byte1, MinValue=-128, MaxValue=127, PresetValue=0, Type=VAL_Signed, Reference=None, Hint=Priority

; SET_AGE_COUNT: step $43, b1=Age
[$43]
Type = Special
Name = SET_AGE_COUNT
Icon = age.ico
MainHint = Sets the age counter of the voice. Among voices of the same priority the oldest one is taken first for a new sound. Parameters: Age (bytes 1 to 2).
ShortHint = Set age
Value = 16bit@byte1, MinValue=0, MaxValue=65535, PresetValue=65535, Type=VAL_Normal, Reference=None, Hint=Age

; SET_AGE_SPEED: step $47, b1=Age speed
[$47]
Type = Special
Name = SET_AGE_SPEED
Icon = age.ico
MainHint = Sets how fast the age counter of the voice runs down, in counts per frame. Parameters: Age speed (byte 1).
ShortHint = Set age speed
Value = 8bit@byte1, MinValue=0, MaxValue=255, PresetValue=1, Type=VAL_Normal, Reference=None, Hint=Age speed

; ADD_AGE_COUNT: step $44, b1=Age
[$44]
Type = Special
Name = ADD_AGE_COUNT
Icon = age.ico
MainHint = Adds a signed amount to the age counter of the voice. Parameters: Age (bytes 1 to 2).
ShortHint = Change age
Value = 16bit@byte1, MinValue=-32768, MaxValue=32767, PresetValue=-32768, Type=VAL_Signed, Reference=None, Hint=Age

; CHANGEFLAG: step $45, b1=Set, b2=FlagNr
[$45]
Type = Special
Name = CHANGEFLAG
Icon = flag.ico
MainHint = Sets or clears one of the 32 game flags that SPLIT_FLAG tests. Parameters: Set (byte 1), FlagNr (byte 2).
ShortHint = Set or clear flag
Value = 8bit@byte1, MinValue=0, MaxValue=1, PresetValue=1, Type=VAL_Switch, Reference=None, Hint=Set
Value = 8bit@byte2, MinValue=0, MaxValue=31, PresetValue=0, Type=VAL_Normal, Reference=None, Hint=FlagNr

; CURRENTVOL: step $46
[$46]
Type = Special
Name = CURRENTVOL
Icon = volume.ico
MainHint = Takes the present volume of the voice as its new starting volume, so that a following ENVELOPE starts from there. This command has no parameters.
ShortHint = Keep current volume

; Next command will be $48
;end <------ do not delete this comment
)vqd";

}  // namespace macrolift
