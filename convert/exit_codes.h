// Exit codes of a converter run.
#pragma once

namespace voconv {

enum ExitCode : int {
  kExitDone = 0,             // also the usage text
  kExitScriptFailed = 1,     // an export script failed, too many scripts, out of IDs
  kExitFailureReported = 2,  // the run reported a failure (description, include file,
                             // a writer, a sample, an outside tool) or its command line was incomplete
  kExitUnknownTarget = 10,
};

}  // namespace voconv
