#include "vocabulary.h"

#include <algorithm>

namespace vtq {

std::string_view vocabularyName(Vocabulary table, uint32_t id) {
  const auto entries = vocabularyTable(table);
  const auto it = std::lower_bound(entries.begin(), entries.end(), id,
                                   [](const VocabularyEntry& e, uint32_t key) { return e.id < key; });
  return it != entries.end() && it->id == id ? std::string_view(it->name) : std::string_view();
}

std::optional<uint16_t> vocabularyId(Vocabulary table, std::string_view name) {
  if (name.empty()) return std::nullopt;
  for (const VocabularyEntry& e : vocabularyTable(table)) {
    if (name == e.name) return e.id;
  }
  return std::nullopt;
}

std::vector<VocabularyEntry> vocabularyChoices(Vocabulary table, uint32_t first, uint32_t last) {
  std::vector<VocabularyEntry> choices;
  for (const VocabularyEntry& e : vocabularyTable(table)) {
    if (e.id >= first && e.id <= last && e.name[0] != '\0') choices.push_back(e);
  }
  std::sort(choices.begin(), choices.end(),
            [](const VocabularyEntry& a, const VocabularyEntry& b) { return std::string_view(a.name) < b.name; });
  return choices;
}

}  // namespace vtq
