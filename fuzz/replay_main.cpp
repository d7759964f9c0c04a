// Replays every file of the given folders (or single files) through the fuzz
// target once, so that the seeds and the inputs which once broke a parser
// stay tested in ordinary builds. A missing folder is skipped; replaying no
// input at all is a failure, since it would pass without testing anything.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", file.c_str());
    return false;
  }
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  return true;
}

bool isInput(const std::filesystem::path& file) { return file.filename().string().front() != '.'; }

}  // namespace

int main(int argc, char** argv) {
  size_t count = 0;
  bool ok = true;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path arg(argv[i]);
    if (std::filesystem::is_directory(arg)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(arg)) {
        if (!entry.is_regular_file() || !isInput(entry.path())) continue;
        ok = replay(entry.path()) && ok;
        ++count;
      }
    } else if (std::filesystem::is_regular_file(arg)) {
      ok = replay(arg) && ok;
      ++count;
    }
  }
  std::printf("replayed %zu inputs\n", count);
  if (count == 0) {
    std::fprintf(stderr, "no input to replay\n");
    return 1;
  }
  return ok ? 0 : 1;
}
