#include "batch_report.h"

#include "batch_options.h"

namespace vtq {

int report(BatchRun& run, int code, const std::string& message) {
  run.err.print("vtqedit: %s\n", message.c_str());
  if (code == kExitUsage) run.err.write(kBatchUsage);
  return code;
}

int reportDocumentError(BatchRun& run, const DocumentError& error) {
  run.err.print("vtqedit: %s\n", error.message.c_str());
  if (!error.detail.empty()) run.err.print("vtqedit: %s\n", error.detail.c_str());
  return kExitFile;
}

}  // namespace vtq
