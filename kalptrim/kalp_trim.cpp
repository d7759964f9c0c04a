#include "kalp_trim.h"

#include <cstdio>
#include <memory>

#include "common/file_io.h"
#include "common/paths.h"
#include "convert/samples/kalp_container.h"

namespace kalptrim {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Reads the magic one byte at a time; the end of the file counts as a
// difference.
bool readKalpMagic(std::FILE* in) {
  for (size_t i = 0; i < convert::KalpLayout::kMagic.size(); ++i) {
    if (!convert::isKalpMagicByte(i, std::fgetc(in))) return false;
  }
  return true;
}

// Drops the rest of the header; a shorter file simply ends here.
void skipRestOfHeader(std::FILE* in) {
  for (size_t i = convert::KalpLayout::kMagic.size(); i < convert::KalpLayout::kHeaderSize; ++i) {
    if (std::fgetc(in) == EOF) return;
  }
}

// The header could not be taken: a read error (a folder opens but cannot be
// read, nor can a failing device), or the magic is not there.
int rejectInput(FilePtr in, const std::string& inName, common::Output& out) {
  const bool unreadable = std::ferror(in.get()) != 0;
  in.reset();
  if (unreadable) {
    out.print("\nCannot read %s\n", inName.c_str());
    return kCannotReadInput;
  }
  out.write("\nThis is not a K.A.L.P. file. \n");
  return kNotKalp;
}

// A file rewritten in place that could not be finished may be half old, half
// new: the message says where its complete new content is.
int cannotWrite(const common::SafeFileWriter& writer, common::Output& out) {
  out.print("\nCannot write %s\n", writer.target().c_str());
  if (!writer.keptContent().empty())
    out.print("Its new content is kept in %s\n", common::displayPath(writer.keptContent()).c_str());
  return kCannotCreateOutput;
}

}  // namespace

int runKalpTrim(const std::vector<std::string>& args, KalpTrimRun& run) {
  common::Output& out = run.out;
  if (args.size() < 2) {
    out.write("\n\nUsage:- KalpTrim Infile Outfile\n\n");
    return kUsage;
  }
  const std::string& inName = args[0];
  const std::string& outName = args[1];

  // The input may be a pipe (<(...), /dev/stdin): it is read as a stream.
  FilePtr in(std::fopen(inName.c_str(), "rb"));
  if (!in) {
    out.print("\nCannot find %s\n", inName.c_str());
    return kCannotOpenInput;
  }
  const bool kalp = readKalpMagic(in.get());
  if (kalp) skipRestOfHeader(in.get());
  if (!kalp || std::ferror(in.get())) return rejectInput(std::move(in), inName, out);

  // The data goes to a temporary file beside Outfile that replaces it only
  // when everything was copied, so a failed run never leaves a cut-off file.
  common::SafeFileWriter writer(run.program);
  if (!writer.open(outName)) {
    out.print("\nCannot create %s\n", outName.c_str());
    return kCannotCreateOutput;
  }
  switch (writer.copyFrom(in.get())) {
    case common::SafeFileWriter::CopyResult::Done: break;
    case common::SafeFileWriter::CopyResult::WriteFailed: return cannotWrite(writer, out);
    case common::SafeFileWriter::CopyResult::ReadFailed:
      writer.abandon();
      out.print("\nCannot read %s\n", inName.c_str());
      return kCannotReadInput;
  }
  in.reset();
  if (!writer.commit()) return cannotWrite(writer, out);
  return kDone;
}

}  // namespace kalptrim
