#include "list_columns.h"

#include "command.h"

namespace vtq {

std::string columnText(const CCommand& command, size_t column) {
  switch (column) {
    case 0: return command.insertTime().text();
    case 1: return command.isTimed() ? "Yes" : "No";
    case 2: return command.effectiveResponseTime().text();
    case 3: return std::to_string(command.retransmissions());
    case 4: return command.fileName();
    case 5: return command.commandName();
    case 6: return command.GetDescription();
    case 7: return command.byteCodeText();
    default: return {};
  }
}

}  // namespace vtq
