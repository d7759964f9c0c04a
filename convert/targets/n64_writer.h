// The Nintendo 64 writer, which also serves the default target: the project
// file (".proj"), the pool file (".pool") and the sample pair (".sdir",
// ".samp"). The three steps share the reference lists that the project step
// fills.
#pragma once

#include "convert/targets/n64_reference_lists.h"
#include "convert/targets/target_table.h"

namespace voconv {

class Conversion;

// `nintendo64`: the samples are converted for the Nintendo 64 itself (the
// default target writes the same files without that).
bool writeN64Project(Conversion& c, ReferenceLists& refs);
bool writeN64Pool(Conversion& c, const ReferenceLists& refs);
bool writeN64Samples(Conversion& c, const ReferenceLists& refs, bool nintendo64);

class N64Writer : public TargetWriter {
 public:
  explicit N64Writer(bool nintendo64) : nintendo64_(nintendo64) {}
  // Project, pool, then (unless -s) samples, each announced and followed by
  // "Done."; the song symbols close the include file.
  void write(Conversion& c) override;

 protected:
  virtual bool writeProject(Conversion& c) { return writeN64Project(c, refs_); }
  virtual bool writePool(Conversion& c) { return writeN64Pool(c, refs_); }
  virtual bool writeSamples(Conversion& c) { return writeN64Samples(c, refs_, nintendo64_); }

 private:
  bool nintendo64_;
  ReferenceLists refs_;
};

}  // namespace voconv
