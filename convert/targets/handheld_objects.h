// The payloads of the target object list's entries as the handheld loading
// lays them out (all values little-endian), with readers for the writers.
//
//   type 0 macro        the macro file's bytes (8-byte steps), whole 32-bit words
//   type 1 table        the curve file's bytes
//   type 4 effect group 10 bytes per effect: u16 effect ID, u16 object ID,
//                       u8 priority, u8 maximum voices, u8 default velocity,
//                       u8 default panning, u8 default key, u8 0
//   type 5 song group   256 page entries of 8 bytes (0..127 normal page by
//                       program, 128..255 drum page): u16 object ID
//                       (0xFFFF when the entry is empty), u8 priority,
//                       u8 maximum voices, u8 drum mode - 1, three bytes 0
//   type 6 sample       16-byte header (key << 24 | rate, type << 24 | length,
//                       loop start, loop length), then signed 16-bit samples
//   type 7 MIDI setup   128-byte name, u16 setup ID, 16 channel records of 5
//                       bytes (program, volume, pan, reverb, chorus), two
//                       bytes 0, u32 setup ID, u32 number of the song group
//
// Effect groups and song groups carry their group number as ID, MIDI setups
// their setup ID.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "convert/project/project_model.h"
#include "convert/project/target_object_list.h"
#include "convert/samples/handheld_sample_converter.h"

namespace voconv {

constexpr std::size_t kEffectObjectEntryBytes = 10;
constexpr std::size_t kPageObjectEntries = 256;  // normal page, then drum page
constexpr std::size_t kDrumPageFirstEntry = 128;
constexpr std::size_t kPageObjectEntryBytes = 8;
constexpr std::size_t kMidiSetupNameBytes = 128;
constexpr std::size_t kMidiSetupChannelsOffset = 130;
constexpr std::size_t kMidiSetupObjectBytes = 220;

struct EffectObjectEntry {
  uint16_t effectId = 0;
  uint16_t objectId = 0;
  uint8_t priority = 0;
  uint8_t maxVoices = 0;
  uint8_t velocity = 0;
  uint8_t panning = 0;
  uint8_t key = 0;
};

struct PageObjectEntry {
  uint16_t objectId = 0xFFFF;
  uint8_t priority = 0;
  uint8_t maxVoices = 0;
  uint8_t drumMode = 0;  // drum mode - 1 (255 for drum mode 0)

  bool empty() const { return objectId == 0xFFFF; }
};

struct MidiSetupObject {
  std::string name;
  uint16_t setupId = 0;
  std::array<ChannelSetup, kMidiChannels> channels{};
  uint32_t songGroup = 0;  // number of the owning song group
};

// The four values the writers take from a curve file: attack ms, decay ms,
// sustain, release ms (0 for those a short file lacks).
struct TableEnvelope {
  uint16_t attack = 0;
  uint16_t decay = 0;
  uint16_t sustain = 0;
  uint16_t release = 0;
};

std::vector<EffectObjectEntry> effectEntries(const TargetObject& group);
// `slot` 0..255; the drum page starts at kDrumPageFirstEntry.
PageObjectEntry pageEntry(const TargetObject& songGroup, std::size_t slot);
MidiSetupObject midiSetupObject(const TargetObject& setup);
TableEnvelope tableEnvelope(const TargetObject& table);

// A sample object as the sample conversion takes it (header and samples),
// and the converted form put back: header, then the converted data.
convert::HandheldSample sampleFromObject(const TargetObject& sample);
void storeConvertedSample(TargetObject& object, const convert::HandheldSample& sample);

}  // namespace voconv
