// Constants of the three song file layouts (Game Boy, Game Boy Advance, and
// the one shared by Nintendo 64 and Dolphin). Offsets are absolute positions
// in the file.
#pragma once

#include <cstddef>
#include <cstdint>

namespace midisong {

// Song time units per beat.
constexpr uint32_t kGameBoyUnitsPerBeat = 24;
constexpr uint32_t kAdvanceUnitsPerBeat = 96;
constexpr uint32_t kN64UnitsPerBeat = 384;

namespace gb {
constexpr uint16_t kTrackTableOffset = 6;
constexpr size_t kPatternTableField = 2;
constexpr size_t kTrackSlots = 4;  // MIDI channels 0 to 3
constexpr size_t kEntrySize = 3;   // u16 start difference, u8 pattern number
constexpr uint8_t kLoopMarker = 0xFE;
constexpr uint8_t kEndMarker = 0xFF;
constexpr uint32_t kNoteDistanceMask = 0x0FFF;  // low 12 bits of a note word
constexpr unsigned kVolumeShift = 12;           // volume in the high 4 bits
constexpr uint32_t kWarnDistance = 0x1000;
constexpr uint8_t kProgramFlag = 0x80;   // on the key: a program byte follows
constexpr uint8_t kLongDuration = 0x80;  // on the first duration byte
constexpr uint32_t kShortDurationMax = 127;
constexpr uint16_t kPatternEndWord = 0xF000;
constexpr uint8_t kPatternEndByte = 0xFF;
}  // namespace gb

namespace gba {
constexpr uint32_t kTrackTableOffset = 12;
constexpr size_t kPatternTableField = 4;
constexpr size_t kTrackSlots = 17;  // MIDI channels 0 to 15, then the tempo track
constexpr size_t kEntrySize = 8;    // u32 start difference, u32 pattern number
constexpr uint32_t kLoopMarker = 0xFFFFFFFE;
constexpr uint32_t kEndMarker = 0xFFFFFFFF;
constexpr uint8_t kTempoController = 104;
constexpr uint32_t kLongestDelta = 0xFFFF;  // a delta this long needs a filler
constexpr uint8_t kProgramFlag = 0x80;
constexpr uint32_t kLongestDuration = 0xFFFF;
constexpr uint32_t kPatternEnd = 0xFFFFFFFF;
}  // namespace gba

namespace n64 {
constexpr size_t kTrackTableField = 0;
constexpr size_t kPatternTableField = 4;
constexpr size_t kChannelTableField = 8;
constexpr size_t kTempoTableField = 12;
constexpr size_t kTempoWordField = 16;
constexpr uint32_t kSeveralLoopsFlag = 0x80000000;
constexpr uint32_t kBpmMask = 0x00FFFFFF;
constexpr uint32_t kOffsetMask = 0xFFFF;  // only the low 16 bits of the first two offsets
constexpr size_t kTrackSlots = 64;
constexpr size_t kTrackTableOffset = 24;          // one loop section at most
constexpr size_t kSeveralLoopsChannelField = 84;  // several loop sections
constexpr size_t kSeveralLoopsTrackTableOffset = 88;
constexpr uint16_t kLoopMarker = 0xFFFE;
constexpr uint16_t kEndMarker = 0xFFFF;
constexpr uint32_t kPatternHeaderWord = 8;
constexpr size_t kPitchCurveField = 4;  // within the pattern header
constexpr size_t kModulationCurveField = 8;
constexpr uint32_t kLongestDelta = 0xFFFF;
constexpr uint8_t kValueFlag = 0x80;
constexpr uint8_t kNoChannel = 0xFF;
constexpr uint16_t kPitchBendCentre = 8192;
constexpr uint16_t kModulationStart = 0;
constexpr size_t kMaxCurvePoints = 65536;
constexpr uint8_t kModulationController = 1;
constexpr uint8_t kModulationFineController = 33;
constexpr uint32_t kTempoTableEnd = 0xFFFFFFFF;
constexpr size_t kPatternAlignment = 4;
}  // namespace n64

}  // namespace midisong
