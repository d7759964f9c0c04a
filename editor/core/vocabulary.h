// The read-only name tables of the editor: command codes, abilities,
// pictures, sounds and voices. A lookup of an absent id yields the empty
// string; lists that offer choices skip empty names.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace vtq {

struct VocabularyEntry {
  uint16_t id;
  const char* name;
};

enum class Vocabulary { Command, Ability, Picture, Sound, Voice };

// The entries of one table, sorted by id.
std::span<const VocabularyEntry> vocabularyTable(Vocabulary table);

// The name of `id` in `table`, or "" when the table has no such id.
std::string_view vocabularyName(Vocabulary table, uint32_t id);
// The id whose name is `name` (exact, case-sensitive), if any.
std::optional<uint16_t> vocabularyId(Vocabulary table, std::string_view name);

// The non-empty names of `table` with ids from `first` to `last`, sorted
// alphabetically, each with its id: the choices a list offers.
std::vector<VocabularyEntry> vocabularyChoices(Vocabulary table, uint32_t first, uint32_t last);

// Sound ids below this are effects (SOUND_STRING), the others voices.
constexpr uint16_t kFirstVoiceId = 63;

}  // namespace vtq
