// Object IDs of the converter: 16-bit values whose two top bits give the kind
// of object and whose low 14 bits are the number.
#pragma once

#include <cstdint>

namespace voconv {

enum class ObjectKind : uint8_t { SoundMacro = 0, Keymap = 1, Layer = 2, Table = 3 };

constexpr uint16_t kSoundMacroFlag = 0x0000;
constexpr uint16_t kKeymapFlag = 0x4000;
constexpr uint16_t kLayerFlag = 0x8000;
constexpr uint16_t kTableFlag = 0xC000;
constexpr uint16_t kKindMask = 0xC000;
constexpr uint16_t kNumberMask = 0x3FFF;

// "No object": what a reference of 0 in keymap and layer files becomes, and
// the ID of a MIDI setup whose song could not be made.
constexpr uint16_t kNoObject = 0xFFFF;

constexpr ObjectKind kindOf(uint16_t id) { return ObjectKind(id >> 14); }
constexpr uint16_t numberOf(uint16_t id) { return id & kNumberMask; }
constexpr uint16_t flagOf(ObjectKind kind) { return uint16_t(uint16_t(kind) << 14); }

}  // namespace voconv
