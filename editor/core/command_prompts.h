// The questions the document asks while a command is created or edited. The
// window answers them with its command dialog and message boxes; the batch
// mode and the tests answer them directly.
#pragma once

#include <string>

namespace vtq {

class CCommand;

enum class ConflictChoice { Abort, Retry, Ignore };

// The warning shown when a command's transmission would overlap a neighbour's.
inline constexpr const char* kConflictWarning =
    "Warning!\nTransmission of this command will conflict with other command.";

class CommandPrompts {
 public:
  virtual ~CommandPrompts() = default;
  // Shows the command dialog, which edits `command` in place. True when the
  // user confirms ("Create &Wave File"), false on "&Cancel".
  virtual bool editCommand(CCommand& command) = 0;
  // Asks what to do about an overlapping transmission (kConflictWarning with
  // Abort, Retry and Ignore). Retry shows the dialog again.
  virtual ConflictChoice conflict(const std::string& warning) = 0;
  // The command's wave file could not be written; `message` names the file.
  // True shows the dialog again, false gives the command up.
  virtual bool waveFailed(const std::string& message) = 0;
};

}  // namespace vtq
