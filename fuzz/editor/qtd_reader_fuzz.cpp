// Feeds arbitrary bytes to the .qtd reader. A document that loads must write
// back to bytes that load to the same document, and every cell of its list
// must be printable.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/list_columns.h"
#include "core/qtd_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vtq::QtdContent content;
  vtq::ArchiveError error;
  if (!vtq::readQtd(std::span<const uint8_t>(data, size), content, error)) {
    if (error.offset > size) std::abort();
    return 0;
  }
  size_t cells = 0;
  for (const auto& command : content.commands) {
    for (size_t c = 0; c < vtq::kListColumns.size(); ++c) cells += vtq::columnText(*command, c).size();
  }
  (void)cells;
  const auto written = vtq::writeQtd(content.commands, content.sampleRate);
  vtq::QtdContent again;
  if (!vtq::readQtd(written, again, error)) std::abort();
  if (vtq::writeQtd(again.commands, again.sampleRate) != written) std::abort();
  if (again.commands.size() != content.commands.size()) std::abort();
  return 0;
}
