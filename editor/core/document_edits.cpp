#include "document_edits.h"

#include <algorithm>

#include "document.h"

namespace vtq {
namespace {

constexpr size_t kNone = std::string::npos;

// The list as a change would leave it: the commands in row order, each with
// the insert time it would then have.
struct PlannedRow {
  const CCommand* command;
  CSMPTETime insertTime;
  bool changed;                 // part of the change
  size_t requestIndex = kNone;  // for a command not yet in the document
};

// Where a command of the change at `time` goes in `plan`: before every command
// at that time or later, as the document inserts, but after the commands of
// the change placed there before it, so that they keep their order.
size_t planIndexFor(const std::vector<PlannedRow>& plan, CSMPTETime time) {
  size_t index = 0;
  while (index < plan.size() &&
         (plan[index].insertTime < time || (plan[index].insertTime == time && plan[index].changed)))
    ++index;
  return index;
}

// Two neighbours in time order overlap when the later starts before the
// earlier's transmissions end (one second per transmission).
bool overlaps(const PlannedRow& earlier, const PlannedRow& later) {
  return later.insertTime < earlier.insertTime + earlier.command->TransmissionLength() ||
         later.insertTime == earlier.insertTime;
}

// Whether a pair of which both sides are part of the change counts: yes for
// new commands, no for commands moved together (their spacing is kept).
enum class PairsWithinChange { Count, Skip };

// The first overlapping neighbour pair of the plan of which one side is part
// of the change.
bool planConflict(const std::vector<PlannedRow>& plan, ConflictPair& pair,
                  PairsWithinChange within = PairsWithinChange::Count) {
  for (size_t row = 1; row < plan.size(); ++row) {
    const PlannedRow& a = plan[row - 1];
    const PlannedRow& b = plan[row];
    if (!a.changed && !b.changed) continue;
    if (a.changed && b.changed && within == PairsWithinChange::Skip) continue;
    if (!overlaps(a, b)) continue;
    const PlannedRow& moved = b.changed ? b : a;
    const PlannedRow& other = b.changed ? a : b;
    pair = {moved.command->serial(),      other.command->serial(),      moved.insertTime,  other.insertTime,
            other.command->commandName(), moved.command->commandName(), moved.requestIndex};
    return true;
  }
  return false;
}

std::vector<PlannedRow> currentPlan(const CQuorlinVTQEditorDoc& document) {
  std::vector<PlannedRow> plan;
  plan.reserve(document.commandCount());
  for (const auto& command : document.commands()) plan.push_back({command.get(), command->insertTime(), false});
  return plan;
}

// Brings the document's rows into the order of `plan` with announced moves;
// the commands of the change that keep their row are announced as changed.
void applyPlan(CQuorlinVTQEditorDoc& document, const std::vector<PlannedRow>& plan) {
  for (size_t target = 0; target < plan.size(); ++target) {
    const size_t row = document.rowOf(plan[target].command->serial());
    if (row != target) {
      document.moveRow(row, target);
    } else if (plan[target].changed) {
      document.rowChanged(target);
    }
  }
}

}  // namespace

EditResult insertCommands(CQuorlinVTQEditorDoc& document, std::vector<std::unique_ptr<CCommand>> commands,
                          ConflictPolicy policy) {
  EditResult result;
  std::vector<PlannedRow> plan = currentPlan(document);
  for (size_t i = 0; i < commands.size(); ++i) {
    const size_t at = planIndexFor(plan, commands[i]->insertTime());
    plan.insert(plan.begin() + std::ptrdiff_t(at), {commands[i].get(), commands[i]->insertTime(), true, i});
  }
  if (policy == ConflictPolicy::Refuse && planConflict(plan, result.conflict)) {
    result.status = EditStatus::Conflict;
    return result;
  }
  // In plan order: the rows before each new command are then in place.
  std::vector<const CCommand*> requested;
  for (const auto& command : commands) requested.push_back(command.get());
  for (size_t row = 0; row < plan.size(); ++row) {
    if (plan[row].changed) document.insertRow(row, std::move(commands[plan[row].requestIndex]));
  }
  for (const CCommand* command : requested) result.serials.push_back(command->serial());
  return result;
}

RemovedCommands removeCommands(CQuorlinVTQEditorDoc& document, const std::vector<CommandSerial>& serials) {
  RemovedCommands result;
  std::vector<size_t> rows;
  for (const CommandSerial serial : serials) {
    const size_t row = document.rowOf(serial);
    if (row == kNone) {
      result.status = EditStatus::NotFound;
      result.offending = serial;
      return result;
    }
    rows.push_back(row);
  }
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  // From the last row back, so that the rows still to take keep their numbers.
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) result.commands.push_back(document.takeRow(*it));
  std::reverse(result.commands.begin(), result.commands.end());
  result.rows = std::move(rows);
  return result;
}

EditResult insertRemoved(CQuorlinVTQEditorDoc& document, std::vector<std::unique_ptr<CCommand>> commands) {
  return insertCommands(document, std::move(commands), ConflictPolicy::Ignore);
}

EditResult insertRemoved(CQuorlinVTQEditorDoc& document, std::vector<std::unique_ptr<CCommand>> commands,
                         const std::vector<size_t>& rows) {
  // Rows that do not fit the document as it stands fall back to time order.
  bool fits = rows.size() == commands.size();
  for (size_t i = 0; fits && i < rows.size(); ++i) {
    fits = rows[i] <= document.commandCount() + i && (i == 0 || rows[i] > rows[i - 1]);
  }
  if (!fits) return insertRemoved(document, std::move(commands));
  EditResult result;
  for (size_t i = 0; i < rows.size(); ++i) {
    CCommand* command = commands[i].get();
    document.insertRow(rows[i], std::move(commands[i]));
    result.serials.push_back(command->serial());
  }
  return result;
}

EditResult replaceCommand(CQuorlinVTQEditorDoc& document, CommandSerial serial, std::unique_ptr<CCommand> replacement,
                          ConflictPolicy policy, std::unique_ptr<CCommand>* previous) {
  EditResult result;
  const size_t row = document.rowOf(serial);
  if (row == kNone) {
    result.status = EditStatus::NotFound;
    result.offending = serial;
    return result;
  }
  std::vector<PlannedRow> plan = currentPlan(document);
  plan.erase(plan.begin() + std::ptrdiff_t(row));
  const size_t at = planIndexFor(plan, replacement->insertTime());
  plan.insert(plan.begin() + std::ptrdiff_t(at), {replacement.get(), replacement->insertTime(), true});
  if (policy == ConflictPolicy::Refuse && planConflict(plan, result.conflict)) {
    result.conflict.moved = serial;
    result.status = EditStatus::Conflict;
    return result;
  }
  std::unique_ptr<CCommand> old = document.takeRow(row);
  replacement->setSerial(serial);
  document.insertRow(at, std::move(replacement));
  if (previous) *previous = std::move(old);
  result.serials.push_back(serial);
  return result;
}

EditResult moveCommands(CQuorlinVTQEditorDoc& document, const std::vector<CommandSerial>& serials, int64_t frames,
                        ConflictPolicy policy) {
  EditResult result;
  std::vector<CCommand*> moved;
  for (const CommandSerial serial : serials) {
    CCommand* command = document.commandBySerial(serial);
    if (!command) {
      result.status = EditStatus::NotFound;
      result.offending = serial;
      return result;
    }
    if (std::find(moved.begin(), moved.end(), command) == moved.end()) moved.push_back(command);
  }
  // Every new insert and response time must stay within the day.
  for (const CCommand* command : moved) {
    const int64_t insert = int64_t(command->insertTime().frameCount()) + frames;
    const int64_t response = int64_t(command->effectiveResponseTime().frameCount()) + frames;
    if (insert < 0 || response < 0 || insert >= CSMPTETime::kFramesPerDay || response >= CSMPTETime::kFramesPerDay) {
      result.status = EditStatus::OutOfRange;
      result.offending = command->serial();
      return result;
    }
  }
  // The plan: the unmoved commands in their order, the moved ones inserted at
  // their new times in their old row order.
  std::vector<PlannedRow> plan;
  std::vector<PlannedRow> movedRows;
  for (const auto& command : document.commands()) {
    const bool isMoved = std::find(moved.begin(), moved.end(), command.get()) != moved.end();
    if (isMoved) {
      movedRows.push_back({command.get(), CSMPTETime(uint32_t(command->insertTime().frameCount() + frames)), true});
    } else {
      plan.push_back({command.get(), command->insertTime(), false});
    }
  }
  for (const PlannedRow& row : movedRows)
    plan.insert(plan.begin() + std::ptrdiff_t(planIndexFor(plan, row.insertTime)), row);
  if (policy == ConflictPolicy::Refuse && planConflict(plan, result.conflict, PairsWithinChange::Skip)) {
    result.status = EditStatus::Conflict;
    return result;
  }
  for (const PlannedRow& row : movedRows) const_cast<CCommand*>(row.command)->MoveStart(row.insertTime);
  applyPlan(document, plan);
  for (const CCommand* command : moved) result.serials.push_back(command->serial());
  return result;
}

bool findConflict(const CQuorlinVTQEditorDoc& document, const std::vector<CommandSerial>& serials, ConflictPair& pair) {
  std::vector<PlannedRow> plan = currentPlan(document);
  for (PlannedRow& row : plan) {
    row.changed = serials.empty() || std::find(serials.begin(), serials.end(), row.command->serial()) != serials.end();
  }
  return planConflict(plan, pair);
}

bool insertWouldConflict(const CQuorlinVTQEditorDoc& document, const CCommand& command, ConflictPair* pair) {
  std::vector<PlannedRow> plan = currentPlan(document);
  plan.insert(plan.begin() + std::ptrdiff_t(planIndexFor(plan, command.insertTime())),
              {&command, command.insertTime(), true, 0});
  ConflictPair found;
  if (!planConflict(plan, found)) return false;
  if (pair) *pair = found;
  return true;
}

bool replaceWouldConflict(const CQuorlinVTQEditorDoc& document, CommandSerial serial, const CCommand& replacement,
                          ConflictPair* pair) {
  std::vector<PlannedRow> plan = currentPlan(document);
  const size_t row = document.rowOf(serial);
  if (row != kNone) plan.erase(plan.begin() + std::ptrdiff_t(row));
  plan.insert(plan.begin() + std::ptrdiff_t(planIndexFor(plan, replacement.insertTime())),
              {&replacement, replacement.insertTime(), true});
  ConflictPair found;
  if (!planConflict(plan, found)) return false;
  found.moved = serial;
  if (pair) *pair = found;
  return true;
}

std::vector<std::string> writeWaveFiles(CQuorlinVTQEditorDoc& document, const std::vector<CommandSerial>& serials) {
  std::vector<std::string> failures;
  for (const CommandSerial serial : serials) {
    const size_t row = document.rowOf(serial);
    if (row == kNone) continue;
    std::string error;
    if (document.commandAt(row)->MakeWave(error)) {
      document.rowChanged(row);  // the file name and byte code are shown
    } else {
      failures.push_back(error);
    }
  }
  return failures;
}

}  // namespace vtq
