// Feeds arbitrary bytes to kalptrim as its input file and checks that the
// output is exactly the input after its header, or that nothing was written.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "fuzz/temp_folder.h"
#include "kalptrim/kalp_trim.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fuzzing::TempFolder folder("kalptrim-fuzz");
  const std::filesystem::path& dir = folder.path();
  const auto in = dir / "in.kalp";
  const auto out = dir / "out.raw";
  std::filesystem::remove(out);
  {
    std::ofstream f(in, std::ios::binary);
    f.write(reinterpret_cast<const char*>(data), std::streamsize(size));
  }
  std::ostringstream text;
  common::Output output(text);
  kalptrim::KalpTrimRun run{"kalptrim", output};
  const int code = kalptrim::runKalpTrim({in.string(), out.string()}, run);
  const bool magic = size >= 4 && data[0] == 'K' && data[1] == 'A' && data[2] == 'L' && data[3] == 'P';
  if (code != (magic ? kalptrim::kDone : kalptrim::kNotKalp)) std::abort();
  if (magic) {
    std::ifstream f(out, std::ios::binary);
    std::vector<uint8_t> written((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    const size_t skip = size < 44 ? size : 44;
    if (written != std::vector<uint8_t>(data + skip, data + size)) std::abort();
  } else if (std::filesystem::exists(out)) {
    std::abort();
  }
  return 0;
}
