// Feeds arbitrary text to the command list reader (comma- or tab-separated,
// with or without a header, chosen by the first byte). A list that is read
// must write back to text that reads to the same commands; a refused list
// names a line within the text.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/command_csv.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const auto separator = (data[0] & 1) ? vtq::ListSeparator::Tab : vtq::ListSeparator::Comma;
  const auto header = (data[0] & 2) ? vtq::ListHeader::Optional : vtq::ListHeader::Required;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  std::vector<std::unique_ptr<vtq::CCommand>> commands;
  vtq::ListReadError error;
  if (!vtq::decodeCommandList(text, separator, header, commands, error)) {
    const size_t lines =
        size_t(std::count(text.begin(), text.end(), '\n') + std::count(text.begin(), text.end(), '\r'));
    if (error.line == 0 || error.line > lines + 1 || !commands.empty()) std::abort();
    (void)vtq::describeListError("list.csv", error);
    return 0;
  }
  std::vector<const vtq::CCommand*> read;
  for (const auto& command : commands) read.push_back(command.get());
  const std::string written = vtq::encodeCommandList(read, separator);
  std::vector<std::unique_ptr<vtq::CCommand>> again;
  if (!vtq::decodeCommandList(written, separator, vtq::ListHeader::Required, again, error)) std::abort();
  std::vector<const vtq::CCommand*> readAgain;
  for (const auto& command : again) readAgain.push_back(command.get());
  if (vtq::encodeCommandList(readAgain, separator) != written) std::abort();
  return 0;
}
