// The project model: what the export script reader builds from up to four
// merged export scripts and what the target writers walk.
//
// Every ID stored here is already renumbered into the merged project's ID
// space (see IdTables). Lists keyed by ID are KeyedLists filled with
// replaceOrAppend, so a later definition of an ID within one script replaces
// the earlier one and moves it to the end.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "convert/foundation/keyed_list.h"

namespace voconv {

struct SampleRecord {
  std::string fileName;
  uint8_t type = 0;        // compression type from the export script
  std::string scriptName;  // where the sample was defined, for messages
  int line = 0;
};

struct MacroRecord {
  std::string fileName;
  uint16_t scriptIndex = 0;  // selects the ID map its operands are renumbered with
};

// One key of a keymap (8 bytes in the file, little-endian: object ID, two
// bytes, a 16-bit value and a 16-bit value that is not kept).
struct KeymapEntry {
  uint16_t objectId = 0;  // renumbered; 0 in the file becomes 0xFFFF
  std::array<uint8_t, 2> bytes{};
  uint16_t word = 0;
};
constexpr size_t kKeymapKeys = 128;
constexpr size_t kKeymapFileSize = kKeymapKeys * 8;

struct KeymapRecord {
  std::string fileName;
  std::array<KeymapEntry, kKeymapKeys> keys{};
};

// One entry of a layer file (9 bytes, little-endian: object ID, four bytes,
// one byte, a 16-bit value). Kept in the order the writers put them out:
// ID, the four bytes, the 16-bit value, the single byte.
struct LayerEntry {
  uint16_t objectId = 0;  // renumbered; 0 in the file becomes 0xFFFF
  std::array<uint8_t, 4> bytes{};
  uint16_t word = 0;
  uint8_t lastByte = 0;
};
constexpr size_t kLayerRecordSize = 9;

struct LayerRecord {
  std::string fileName;
  std::vector<LayerEntry> entries;  // in file order
};

struct TableRecord {
  std::string fileName;
};

// Program, volume, panning, reverb send and chorus send of one MIDI channel.
struct ChannelSetup {
  uint8_t prg = 0;
  uint8_t vol = 0;
  uint8_t pan = 0;
  uint8_t rev = 0;
  uint8_t cho = 0;
};
constexpr size_t kMidiChannels = 16;
// The setup name fills a 128-byte field (with its terminating zero) in the
// handheld targets' setup objects.
constexpr size_t kMaxMidiSetupNameLength = 127;
// Group names and the file names of macros, keymaps, layers, tables and MIDI
// setups fill 128-byte fields, sample file names 256 bytes. An effect's name
// must leave room for "_FXID" in a symbol of 255 characters.
constexpr size_t kMaxNameLength = 127;
constexpr size_t kMaxSampleFileNameLength = 255;
constexpr size_t kMaxEffectNameLength = 250;

struct MidiSetupEntry {
  std::string name;
  uint16_t setupId = 0;                                // 0xFFFF when its song could not be made
  std::array<ChannelSetup, kMidiChannels> channels{};  // MIDI channels 1..16
};

struct PageEntry {
  uint16_t objectId = 0;
  uint8_t pri = 0;  // priority
  uint8_t mv = 0;   // maximum voices
  uint8_t dm = 0;   // drum mode
};

struct SoundEffectEntry {
  uint16_t objectId = 0;
  uint8_t pri = 0;  // priority
  uint8_t mv = 0;   // maximum voices
  uint8_t dv = 0;   // default velocity
  uint8_t dp = 0;   // default panning
  uint8_t dk = 0;   // default key
  std::string name;
};

// The objects a group names, each list in line order. (One running index
// counts the lines of all five lists of a group.)
struct GroupMembers {
  std::vector<uint16_t> macros;
  std::vector<uint16_t> samples;
  std::vector<uint16_t> tables;
  std::vector<uint16_t> keymaps;
  std::vector<uint16_t> layers;
};

struct SongGroup {
  uint16_t number = 0;
  std::string name;
  KeyedList<MidiSetupEntry> midiSetups;  // keyed by setup ID
  KeyedList<PageEntry> normalPage;       // keyed by program number
  KeyedList<PageEntry> drumPage;         // keyed by program number
  GroupMembers members;
};

struct SoundEffectGroup {
  uint16_t number = 0;
  std::string name;
  KeyedList<SoundEffectEntry> effects;  // keyed by the renumbered effect ID
  GroupMembers members;
};

class ProjectModel {
 public:
  KeyedList<SampleRecord> samples;                // keyed by sample ID
  KeyedList<MacroRecord> macros;                  // keyed by macro ID
  KeyedList<KeymapRecord> keymaps;                // keyed by keymap ID (with 0x4000)
  KeyedList<LayerRecord> layers;                  // keyed by layer ID (with 0x8000)
  KeyedList<TableRecord> tables;                  // keyed by table ID (with 0xC000)
  KeyedList<SongGroup> songGroups;                // keyed by group number
  KeyedList<SoundEffectGroup> soundEffectGroups;  // keyed by group number
  std::vector<std::string> originalProjectPaths;  // "Projectpath" of each script

  void clear();

  // Song and sound-effect groups share one counter of group numbers.
  SongGroup& addSongGroup();
  SoundEffectGroup& addSoundEffectGroup();

  // The first group of that kind whose name is `name` (letter case counts).
  SongGroup* songGroupByName(const std::string& name);
  SoundEffectGroup* soundEffectGroupByName(const std::string& name);
  // Names a group; keeps the lookups by name fast.
  void setName(SongGroup& group, std::string name);
  void setName(SoundEffectGroup& group, std::string name);

 private:
  uint16_t nextGroupNumber_ = 0;
  std::multimap<std::string, uint16_t> songGroupNames_;
  std::multimap<std::string, uint16_t> effectGroupNames_;
};

}  // namespace voconv
