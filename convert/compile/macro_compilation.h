// The compiled macros of one handheld conversion: per macro index its bytes,
// step offsets and END index (and, for the Game Boy Advance, its four
// attribute bytes), the project's keymap macro and the relocation list.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "common/output.h"
#include "convert/compile/compile_target.h"
#include "convert/compile/object_index.h"
#include "convert/compile/relocation.h"
#include "convert/project/target_object_list.h"

namespace voconv {

constexpr uint8_t kNoVoice = 255;

struct CompiledMacro {
  uint16_t id = 0;
  // The stored form. A samplemap macro is its u16 entry count followed by
  // the 8-byte entries (its END is not stored).
  std::vector<uint8_t> bytes;
  // Offset of each source step's first output byte from the macro start,
  // for every step up to and including END.
  std::vector<uint16_t> stepOffsets;
  int endIndex = -1;
  // Game Boy Advance attributes, written in front of the macro.
  uint8_t voice = kNoVoice;
  uint8_t voiceFlags = 0;
  bool samplemap = false;
  bool setVoiceSeen = false;

  std::size_t size() const { return bytes.size(); }
  // voice, voice flags, samplemap flag, 0.
  std::array<uint8_t, 4> attributeBytes() const { return {voice, voiceFlags, uint8_t(samplemap ? 1 : 0), 0}; }
};

class MacroCompilation {
 public:
  // Indexes `objects` (see ObjectIndex::build, which may throw FatalError).
  MacroCompilation(TargetObjectList& objects, CompileTarget target);

  CompileTarget target() const { return target_; }
  const ObjectIndex& index() const { return index_; }
  // One entry per macro index; filled by compileMacro.
  const std::vector<CompiledMacro>& macros() const { return macros_; }
  // Game Boy: the keymap macro's index (-1 when there is none) and its entries.
  int keymapMacro() const { return keymapMacro_; }
  int keymapEntries() const { return keymapEntries_; }
  // In the order of creation; they are applied newest first.
  const std::vector<Relocation>& relocations() const { return relocations_; }

  // Compiles macro `macroIndex`; prints the step's error text and returns
  // false when the macro cannot be converted.
  bool compileMacro(int macroIndex, common::Output& out);
  // Compiles macros 0, 1, 2 ... and stops at the first failure with
  // "*** ERROR: Error in macro (id=%d)!\n".
  bool compileAll(common::Output& out);

  // Used by the two compilers.
  CompiledMacro& macro(int macroIndex) { return macros_[std::size_t(macroIndex)]; }
  void addRelocation(const Relocation& r) { relocations_.push_back(r); }
  void setKeymap(int macroIndex, int entries) {
    keymapMacro_ = macroIndex;
    keymapEntries_ = entries;
  }

 private:
  CompileTarget target_;
  ObjectIndex index_;
  std::vector<CompiledMacro> macros_;
  std::vector<Relocation> relocations_;
  int keymapMacro_ = -1;
  int keymapEntries_ = 0;
};

}  // namespace voconv
