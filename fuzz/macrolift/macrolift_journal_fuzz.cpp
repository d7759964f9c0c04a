// Feeds arbitrary bytes to the reader of macrolift's journal: a text it takes
// is written back as a journal that reads back to the same text.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "macrolift/run_journal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::filesystem::path root("/project");
  macrolift::RunJournal journal;
  if (!macrolift::decodeJournal(std::string_view(reinterpret_cast<const char*>(data), size), root, journal)) return 0;
  const std::string text = macrolift::encodeJournal(journal, root);
  macrolift::RunJournal again;
  if (!macrolift::decodeJournal(text, root, again)) std::abort();
  if (macrolift::encodeJournal(again, root) != text) std::abort();
  return 0;
}
