// Each row below is one command of the advance command set: source command,
// target opcode, output length and the output bytes (b0 is the opcode).
#include "convert/compile/advance_compiler.h"

#include <algorithm>

#include "convert/compile/compile_rules.h"
#include "convert/compile/step_walk.h"

namespace voconv {
namespace {

constexpr uint16_t kNoSample = 0xFFFF;
constexpr uint16_t kWaitForever = 0xFFFF;

// Keyoff, Random and Sampleend flags of WAIT and LOOP.
uint8_t waitFlags(const MacroStep& s) { return uint8_t((s.s(1) ? 1 : 0) | (s.s(2) ? 2 : 0) | (s.s(3) ? 4 : 0)); }

// Bit n set when source byte n + 1 is not 0.
uint8_t modulationBits(const MacroStep& s, int count) {
  uint8_t bits = 0;
  for (int n = 0; n < count; ++n) bits = uint8_t(bits | (s.s(n + 1) ? 1 << n : 0));
  return bits;
}

void loop(MacroStep& s) {
  s.b(1, waitFlags(s));
  s.b(2, s.s(6));
  s.b(3, s.s(7));
  int distance = 0;
  if (s.loopDistance(s.s16(4), distance)) s.w16(4, uint16_t(distance));
}

void split(MacroStep& s) {
  s.b(1, s.s(1));
  s.stepReference(2);
}

void sampleLength(MacroStep& s, uint8_t loopFlag) {
  s.b(1, uint8_t(s.s(1) | loopFlag));
  s.w32(2, s.s24(2));
  s.w32(6, s.s24(5));
}

void setVoice(MacroStep& s) {
  CompiledMacro& m = s.macro();
  if (m.setVoiceSeen) return s.fail("*** ERROR: Cannot use SETVOICE more than once in a macro!\n");
  m.setVoiceSeen = true;
  m.voice = s.s(1);
  m.voiceFlags = uint8_t((s.s(6) != 0 && s.s(1) < 2 ? 0x01 : 0) | (s.s(7) ? 0x80 : 0));
}

void pwmStart(MacroStep& s) {
  const bool swapped = s.s(1) > s.s(2);
  const uint8_t lo = std::min(s.s(1), s.s(2)), hi = std::max(s.s(1), s.s(2));
  s.b(1, s.s(3) < lo || s.s(3) > hi ? lo : s.s(3));
  s.b(2, lo);
  s.b(3, hi);
  const uint16_t step = rangeStep(lo, hi, ticks(s.s16(6)));
  s.w16(4, swapped ? uint16_t(-step) : step);
}

void pwmVelocity(MacroStep& s) {
  const uint8_t lo = std::min(s.s(2), s.s(3)), hi = std::max(s.s(2), s.s(3));
  s.b(1, s.s(1));
  s.b(2, s.s(4) ? hi : lo);
  s.b(3, s.s(4) ? lo : hi);
}

void panning(MacroStep& s) {
  s.b(1, s.s(2) ? 0xFF : s.s(1));
  s.b(2, s.s(2) ? 0 : s.s(3));
}

void envelope(MacroStep& s) {
  s.b(1, s.s(1));
  const uint16_t ms = s.s16(6);
  s.w16(2, ms == kWaitForever ? 0 : std::max<uint16_t>(1, uint16_t(65280 / ticks1(ms))));
}

void panningModulation(MacroStep& s) {
  const uint8_t lo = std::min(s.s(1), s.s(2)), hi = std::max(s.s(1), s.s(2));
  s.b(1, s.s(4));
  s.b(2, lo);
  s.b(3, hi);
  const uint16_t step = rangeStep(lo, hi, ticks1(s.s16(6)));
  s.w16(4, s.s(3) ? uint16_t(-step) : step);
}

void randomNote(MacroStep& s) {
  s.b(1, uint8_t((s.s(6) ? 1 : 0) | (s.s(7) ? 2 : 0)));
  // Both keys are signed here, unlike SETNOTE's.
  const uint16_t a = pitch(s.signedByte(1), s.signedByte(2)), b = pitch(s.signedByte(3), s.signedByte(4));
  s.w16(2, std::min(a, b));
  s.w16(4, std::max(a, b));
}

void vibrato(MacroStep& s) {
  const uint16_t t = ticks1AtMost255(uint16_t(s.s16(6) / 2));
  s.b(1, uint8_t(t));
  s.w16(2, pitchPerTick(stepPitch(s, 1, 2), t));
}

void pitchSweep(MacroStep& s) {
  const uint16_t t = ticks1AtMost255(s.s16(6)), p = stepPitch(s, 1, 2);
  s.b(1, s.s(5));
  s.w16(2, pitchPerTick(p, t));
  s.w16(4, p);
}

void sampleMap(MacroStep& s) {
  s.w16(0, s.sampleIndex(1));
  s.w16(2, stepPitch(s, 4, 5));
  s.b(4, s.s(6));
  s.b(5, s.s(7));
  s.b(6, s.s(3));
  ++s.state().samplemapEntries;
}

void b1FromS1(MacroStep& s) { s.b(1, s.s(1)); }
void b2b3FromS1S2(MacroStep& s) {
  s.b(2, s.s(1));
  s.b(3, s.s(2));
}
void nothing(MacroStep&) {}

constexpr std::array kRows{
    StepRow{0x00, 0x00, 2, nothing},  // END
    StepRow{0x01, 0x01, 2, nothing},  // STOP
    StepRow{0x02, 0x04, 4,
            [](MacroStep& s) {
              s.b(1, waitFlags(s));
              s.w16(2, s.s16(6) == kWaitForever ? kWaitForever : ticks(s.s16(6)));
            }},                                                        // WAIT
    StepRow{0x03, 0x06, 6, loop},                                      // LOOP
    StepRow{0x04, 0x0D, 6, [](MacroStep& s) { s.stepReference(2); }},  // GOTO
    StepRow{0x05, 0x17, 6, split},                                     // SPLIT_KEY
    StepRow{0x06, 0x18, 6, split},                                     // SPLIT_VEL
    StepRow{0x07, 0x19, 6, split},                                     // SPLIT_RND
    StepRow{0x08, 0x2B, 6, split},                                     // SPLIT_FLAG
    StepRow{0x09, 0x1E, 8,
            [](MacroStep& s) {
              s.b(2, s.s(7));
              s.b(3, s.s(3));
              s.b(4, s.s(4));
              s.b(5, s.s(6));
              s.w16(6, s.macroIndex(1));
            }},                                                               // PLAYMACRO
    StepRow{0x0A, 0x23, 4, [](MacroStep& s) { s.w16(2, s.macroIndex(1)); }},  // KEYOFF_MACRO
    StepRow{0x0B, 0x22, 2, b1FromS1},                                         // KEYOFF_VOICE
    StepRow{0x0C, 0x2E, 2, nothing},                                          // KEYOFF_ADSR
    StepRow{0x0D, 0x10, 6, [](MacroStep& s) { s.stepReference(2); }},         // TRAP_KEYOFF
    StepRow{0x0E, 0x11, 2, nothing},                                          // UNTRAP_KEYOFF
    StepRow{0x10, 0x03, 2, b1FromS1},                                         // VOICE_ON
    StepRow{0x11, 0x05, 2, b1FromS1},                                         // VOICE_OFF
    StepRow{0x12, 0x0F, 8,
            [](MacroStep& s) {
              s.b(1, uint8_t((s.s(3) ? 0x01 : 0) | (s.s(4) ? 0x80 : 0)));
              s.w16(2, s.sampleIndexOrNone(1, kNoSample));
              s.b(4, s.s(5));
              s.b(5, s.s(6));
              s.b(6, s.s(7));
            }},                                                            // SMP_SELECT
    StepRow{0x13, 0x12, 10, [](MacroStep& s) { sampleLength(s, 0); }},     // SMP_LENGTH
    StepRow{0x14, 0x12, 10, [](MacroStep& s) { sampleLength(s, 0x80); }},  // SMP_LENLOOP
    StepRow{0x15, 0x1D, 6,
            [](MacroStep& s) {
              s.w16(2, s.macroIndex(1));
              s.b(4, s.s(3));
              s.b(5, s.s(4));
            }},                                                                  // SMP_MAPSELECT
    StepRow{0x16, 0x1F, 2, setVoice},                                            // SETVOICE
    StepRow{0x17, 0x20, 2, [](MacroStep& s) { s.b(1, channelOr(s.s(1), 0)); }},  // SETDUTY
    StepRow{0x18, 0x21, 2, [](MacroStep& s) { s.b(1, uint8_t(((s.s(1) * 2 | s.s(2)) << 3) | s.s(3))); }},  // SETNOISE
    StepRow{0x19, 0x13, 6, pwmStart},                                                                      // PWM_START
    StepRow{0x1A, 0x14, 4, pwmVelocity},                                                        // PWM_VELOCITY
    StepRow{0x1B, 0x31, 4, [](MacroStep& s) { s.w16(2, s.sampleIndexOrNone(1, kNoSample)); }},  // PWM_USRSAMPLE
    StepRow{0x1C, 0x30, 8,
            [](MacroStep& s) {
              s.b(1, s.s(6));
              for (int n = 1; n <= 5; ++n) s.b(n + 1, s.s(n));
            }},                                                        // SMP_SHIFT
    StepRow{0x1D, 0x33, 4, b2b3FromS1S2},                              // SMP_ADDLOOP
    StepRow{0x1E, 0x35, 6, [](MacroStep& s) { s.w32(2, s.s24(1)); }},  // SMP_SETLOOP
    StepRow{0x20, 0x07, 4, panning},                                   // PANNING
    StepRow{0x21, 0x02, 2, b1FromS1},                                  // SETVOLUME
    StepRow{0x22, 0x0E, 4,
            [](MacroStep& s) {
              s.b(1, s.s(3));
              s.w16(2, s.tableIndex(1));
            }},                        // SETADSR
    StepRow{0x23, 0x15, 4, envelope},  // ENVELOPE
    StepRow{0x24, 0x24, 2,
            [](MacroStep& s) {
              const uint8_t n = hardEnvelopeStep(s.s16(6));
              s.b(1, s.s(1) ? uint8_t(n | 8) : n);
            }},                                 // HARDENVELOPE
    StepRow{0x25, 0x2D, 6, panningModulation},  // PANNING_MOD
    StepRow{0x26, 0x2F, 6,
            [](MacroStep& s) {
              s.b(1, s.s(4));
              s.b(2, s.s(3));
              s.b(4, s.s(1));
              s.b(5, s.s(2));
            }},                                                                  // SCALEVOLUME
    StepRow{0x28, 0x2C, 2, b1FromS1},                                            // MIX_DELAY
    StepRow{0x30, 0x08, 4, [](MacroStep& s) { s.w16(2, stepPitch(s, 1, 2)); }},  // SETNOTE
    StepRow{0x31, 0x09, 4,
            [](MacroStep& s) {
              s.b(1, s.s(3) ? 1 : 0);
              s.w16(2, stepPitch(s, 1, 2));
            }},                                                                  // ADDNOTE
    StepRow{0x32, 0x16, 6, randomNote},                                          // RNDNOTE
    StepRow{0x33, 0x1C, 4, [](MacroStep& s) { s.w16(2, stepPitch(s, 1, 2)); }},  // LASTNOTE
    StepRow{0x34, 0x0A, 4, vibrato},                                             // VIBRATO
    StepRow{0x35, 0x0B, 6, pitchSweep},                                          // PITCHSWEEP
    StepRow{0x36, 0x0C, 6,
            [](MacroStep& s) {
              s.b(1, s.s(3) == 0 ? 1 : 0);
              s.w16(2, stepPitch(s, 1, 2));
              s.w16(4, ticks1(s.s16(6)));
            }},  // PORTAMENTO
    StepRow{0x37, 0x32, 6,
            [](MacroStep& s) {
              s.w16(2, stepPitch(s, 1, 2));
              s.w16(4, ticks1(s.s16(6)));
            }},                                                                  // PORTLAST
    StepRow{0x38, 0x1A, 2, [](MacroStep& s) { s.b(1, modulationBits(s, 7)); }},  // STOP_MOD
    StepRow{0x39, 0x1B, 2, [](MacroStep& s) { s.b(1, modulationBits(s, 4)); }},  // RESET_MOD
    StepRow{0x40, kNoOpcode, 8, sampleMap},                                      // SAMPLEMAP
    StepRow{0x41, 0x26, 2, b1FromS1},                                            // SET_PRIORITY
    StepRow{0x42, 0x27, 2, b1FromS1},                                            // ADD_PRIORITY
    StepRow{0x43, 0x28, 4, b2b3FromS1S2},                                        // SET_AGE_COUNT
    StepRow{0x44, 0x29, 4, b2b3FromS1S2},                                        // ADD_AGE_COUNT
    StepRow{0x45, 0x2A, 4, b2b3FromS1S2},                                        // CHANGEFLAG
    StepRow{0x46, 0x25, 2, nothing},                                             // CURRENTVOL
    StepRow{0x47, 0x34, 2, b1FromS1},                                            // SET_AGE_SPEED
};

// A macro of SAMPLEMAP entries is stored as its entry count (u16) and the
// entries; its END is not stored.
bool finishSamplemap(CompiledMacro& macro, int entries, common::Output& out) {
  if (entries == 0) return true;
  if (entries != macro.endIndex) {
    out.print("*** ERROR: Samplemap macro can only consist of samplemap entries!\n");
    return false;
  }
  const std::size_t size = macro.bytes.size();
  macro.bytes.insert(macro.bytes.begin(), {uint8_t(entries), uint8_t(entries >> 8)});
  macro.bytes.resize(size);
  macro.samplemap = true;
  return true;
}

}  // namespace

bool compileAdvanceMacro(MacroCompilation& compilation, int macroIndex, common::Output& out) {
  static const StepRows rows = rowsByCommand(kRows);
  WalkState state;
  const std::vector<uint8_t>& source = compilation.index().macros[std::size_t(macroIndex)]->payload;
  if (!walkMacro(compilation, macroIndex, source, rows, TooLongMessage::Printed, state, out)) return false;
  if (!finishSamplemap(compilation.macro(macroIndex), state.samplemapEntries, out)) return false;
  return !state.lookupFailed;
}

}  // namespace voconv
