// The batch mode's messages on standard error.
#pragma once

#include <string>

#include "batch_mode.h"
#include "document.h"

namespace vtq {

// A message on standard error; a usage error comes with the usage text.
// Returns `code`.
int report(BatchRun& run, int code, const std::string& message);
// A document that could not be read or written: its message and reason.
// Returns the file error's exit code.
int reportDocumentError(BatchRun& run, const DocumentError& error);

}  // namespace vtq
