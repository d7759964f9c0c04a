// Each row below is one command of the Game Boy command set: source
// command, target opcode, output length and the output bytes (b0 is the
// opcode; 16-bit values are big-endian).
#include "convert/compile/handheld_compiler.h"

#include <algorithm>

#include "convert/compile/compile_rules.h"
#include "convert/compile/step_walk.h"

namespace voconv {
namespace {

constexpr uint16_t kWaitForever = 0xFFFF;
constexpr uint8_t kNoSample = 0xFF;

void loop(MacroStep& s) {
  s.b(1, s.s(6));
  int distance = 0;
  if (s.loopDistance(s.s16(4), distance)) s.w16(2, uint16_t(distance - 4));
}

void wait(MacroStep& s) {
  s.b(1, s.s(1));
  s.b(2, s.s(2));
  const uint16_t ms = s.s16(6);
  uint16_t v = ms == kWaitForever ? 0 : ticks(ms);
  if (s.s(2) != 0 || v != 0) ++v;
  s.w16(3, v);
}

void initialVoice(MacroStep& s) {
  if (s.number() != 0) return s.failQuietly();
  uint8_t v = s.s(5) == 0 ? channelOr(s.s(1), 0xFF) : s.s(1);
  if (s.s(5) != 0) v = uint8_t((v & 3) | 0x10);
  s.b(1, uint8_t(v | (s.s(4) ? 0x80 : 0)));
}

void envelope(MacroStep& s) {
  const uint16_t v = std::max<uint16_t>(1, uint16_t(3840 / ticks1(s.s16(6))));
  s.b(0, s.s(1) ? 0x27 : 0x11);
  s.w16(1, s.s(1) ? v : uint16_t(-v));
}

void noteRange(MacroStep& s) {
  uint8_t low = s.s(1), high = s.s(3);
  if (low == high) {
    if (high < 127) {
      ++high;
    } else {
      --low;
    }
  }
  s.b(1, uint8_t(s.s(5) | (s.s(4) ? 0x80 : 0)));
  s.b(2, low);
  s.b(3, high);
  s.b(4, uint8_t(pitch(0, s.signedByte(2))));
}

void vibrato(MacroStep& s) {
  const uint16_t t = ticks1AtMost255(uint16_t(s.s16(6) / 2));
  s.w16(1, pitchPerTick(stepPitch(s, 1, 2), t));
  s.b(3, uint8_t(t));
}

void pitchSweep(MacroStep& s) {
  const uint16_t t = ticks1AtMost255(s.s16(6)), p = stepPitch(s, 1, 2);
  s.w16(1, pitchPerTick(p, t));
  s.w16(3, p);
  s.b(5, s.s(5) ? 0x80 : 0);
}

void sweep(MacroStep& s) {
  const uint8_t lo = std::min(s.s(1), s.s(2)), hi = std::max(s.s(1), s.s(2));
  s.b(1, lo);
  s.b(2, hi);
  s.w16(3, rangeStep(lo, hi, ticks(s.s16(3))));
}

// Keymap entries are the keymap macro's steps from the first on.
void keymapEntry(MacroStep& s) {
  MacroCompilation& c = s.compilation();
  WalkState& state = s.state();
  if (c.keymapMacro() >= 0 && c.keymapMacro() != s.macroIndexInProject()) {
    return s.fail("*** ERROR: Only one keymap macro is possible in the entire project!\n");
  }
  if (s.number() != state.keymapEntries) {
    return s.fail("*** ERROR: Only keymap commands are allowed in the keymap macro!\n");
  }
  if (size_t(state.keymapEntries) >= kGameBoyLimits.keymapEntries) {
    return s.fail("*** ERROR: Too many entries in keymap macro!\n");
  }
  ++state.keymapEntries;
  c.setKeymap(s.macroIndexInProject(), state.keymapEntries);
  s.b(0, uint8_t(s.sampleIndex(1)));
}

void b1FromS1(MacroStep& s) { s.b(1, s.s(1)); }
void keyScale(MacroStep& s) { s.b(1, s.s(1) >= 1 && s.s(1) <= 7 ? 1 : uint8_t(s.s(1) >> 3)); }
void finePitch(MacroStep& s) {
  s.b(1, s.s(1));
  s.b(2, uint8_t(pitch(0, s.signedByte(2))));
}
void nothing(MacroStep&) {}

constexpr std::array kRows{
    StepRow{0, 0x00, 1, nothing},
    StepRow{1, 0x23, 1, nothing},
    StepRow{2, 0x15, 4,
            [](MacroStep& s) {
              s.b(1, s.s(1));
              s.stepReference(2);
            }},
    StepRow{3, 0x17, 4,
            [](MacroStep& s) {
              s.b(1, s.s(1));
              s.stepReference(2);
            }},
    StepRow{4, 0x20, 1, nothing},
    StepRow{5, 0x05, 4, loop},
    StepRow{6, 0x06, 3, [](MacroStep& s) { s.stepReference(1); }},
    StepRow{7, 0x04, 5, wait},
    StepRow{8, 0x26, 3,
            [](MacroStep& s) {
              s.b(1, uint8_t(channelOr(s.s(1), 0xFF) | (s.s(4) ? 0x80 : 0)));
              s.b(2, uint8_t(s.macroIndex(2)));
            }},
    StepRow{9, 0x22, 1, nothing},
    StepRow{10, 0x1F, 1, nothing},
    StepRow{11, 0x0E, 2, initialVoice},
    StepRow{12, 0x0F, 2, [](MacroStep& s) { s.b(1, uint8_t(s.tableIndex(1))); }},
    StepRow{13, 0x09, 2, keyScale},
    StepRow{14, 0x0A, 2, [](MacroStep& s) { s.b(1, s.s(1) < 42 ? 0 : (s.s(1) < 84 ? 1 : 2)); }},
    StepRow{15, kNoOpcode, 3, envelope},
    StepRow{16, 0x21, 2, [](MacroStep& s) { s.b(1, uint8_t(s.sampleIndex(1))); }},
    StepRow{17, 0x0D, 1, nothing},
    StepRow{18, 0x12, 2, [](MacroStep& s) { s.b(1, channelOr(s.s(1), 0xFF)); }},
    StepRow{19, 0x16, 4,
            [](MacroStep& s) {
              s.b(1, s.s(1));
              s.stepReference(2);
            }},
    StepRow{20, 0x0C, 2, [](MacroStep& s) { s.b(1, channelOr(s.s(1), 0)); }},
    StepRow{21, 0x10, 2, [](MacroStep& s) { s.b(1, uint8_t(((s.s(1) * 2 | s.s(2)) << 3) | s.s(3))); }},
    StepRow{22, 0x1B, 5,
            [](MacroStep& s) {
              s.w16(1, stepPitch(s, 1, 2));
              s.w16(3, ticks1(s.s16(6)));
            }},
    StepRow{23, 0x0B, 5, noteRange},
    StepRow{24, 0x08, 4,
            [](MacroStep& s) {
              s.b(1, s.s(3) == 0 ? 1 : 0);
              s.b(2, s.s(1));
              s.b(3, uint8_t(pitch(0, s.signedByte(2))));
            }},
    StepRow{25, 0x07, 3, finePitch},
    StepRow{26, 0x14, 3, finePitch},
    StepRow{27, 0x02, 6,
            [](MacroStep& s) {
              s.w16(1, stepPitch(s, 1, 2));
              s.w16(3, ticks1(s.s16(6)));
              s.b(5, s.s(3));
            }},
    StepRow{28, 0x01, 4, vibrato},
    StepRow{29, 0x03, 6, pitchSweep},
    StepRow{30, 0x13, 2,
            [](MacroStep& s) {
              const uint8_t n = hardEnvelopeStep(s.s16(6));
              s.b(1, s.s(1) ? uint8_t(n | 8) : n);
            }},
    StepRow{31, 0x1D, 5, sweep},
    StepRow{32, 0x1E, 5, sweep},
    StepRow{33, 0x24, 2, b1FromS1},
    StepRow{34, 0x25, 1, nothing},
    StepRow{35, 0x1A, 2, [](MacroStep& s) { s.b(1, s.s(1) & 7); }},
    StepRow{36, kNoOpcode, 1, keymapEntry},
    StepRow{37, 0x28, 2, keyScale},
    StepRow{38, 0x0C, 2, [](MacroStep& s) { s.b(1, uint8_t(s.sampleIndexOrNone(1, kNoSample))); }},
    StepRow{39, 0x29, 3,
            [](MacroStep& s) {
              s.b(1, s.s(2) ? 1 : 0);
              s.b(2, s.s(1));
            }},
    StepRow{40, 0x18, 3, [](MacroStep& s) { s.stepReference(1); }},
    StepRow{41, 0x19, 1, nothing},
};

// A keymap macro holds keymap entries only (and its END).
bool keymapOnly(int entries, int endIndex, common::Output& out) {
  if (entries == 0 || entries == endIndex) return true;
  out.print("*** ERROR: Only keymap commands are allowed in the keymap macro!\n");
  return false;
}

}  // namespace

bool compileHandheldMacro(MacroCompilation& compilation, int macroIndex, common::Output& out) {
  static const StepRows rows = rowsByCommand(kRows);
  WalkState state;
  const std::vector<uint8_t>& source = compilation.index().macros[std::size_t(macroIndex)]->payload;
  if (!walkMacro(compilation, macroIndex, source, rows, TooLongMessage::Silent, state, out)) return false;
  const CompiledMacro& macro = compilation.macros()[std::size_t(macroIndex)];
  if (!keymapOnly(state.keymapEntries, macro.endIndex, out)) return false;
  return !state.lookupFailed;
}

}  // namespace voconv
