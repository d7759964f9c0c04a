#include "command_csv.h"

#include <algorithm>
#include <array>
#include <optional>

#include "batch_options.h"
#include "common/output.h"
#include "csv_table.h"
#include "vocabulary.h"

namespace vtq {
namespace {

enum Column : size_t { kInsert, kTimed, kResponse, kRepeat, kCommand, kParameter, kMode, kIcon, kColumnCount };

char separatorChar(ListSeparator separator) { return separator == ListSeparator::Tab ? '\t' : ','; }

// --- Writing ---

// A name only where reading it back gives the same id; else the number.
std::string idText(Vocabulary table, uint32_t id, std::optional<uint16_t> (*lookUp)(std::string_view)) {
  const std::string_view name = vocabularyName(table, id);
  if (!name.empty() && lookUp(name) == std::optional<uint16_t>(uint16_t(id))) return std::string(name);
  return std::to_string(id);
}

std::optional<uint16_t> abilityByName(std::string_view name) { return vocabularyId(Vocabulary::Ability, name); }
std::optional<uint16_t> pictureByName(std::string_view name) { return vocabularyId(Vocabulary::Picture, name); }
std::optional<uint16_t> soundByName(std::string_view name) {
  // As --param reads a sound name: the sound effects first, then the voices.
  if (auto id = vocabularyId(Vocabulary::Sound, name)) return id;
  return vocabularyId(Vocabulary::Voice, name);
}

std::string parameterText(const CParam& param) {
  switch (param.kind()) {
    case ParamKind::Ability:
      return idText(Vocabulary::Ability, static_cast<const CAbility&>(param).abilityId, abilityByName);
    case ParamKind::Animation:
      return idText(Vocabulary::Picture, static_cast<const CAnimation&>(param).pictureId, pictureByName);
    case ParamKind::PlaySound: {
      const uint16_t id = static_cast<const CPlaySound&>(param).soundId;
      return idText(id < kFirstVoiceId ? Vocabulary::Sound : Vocabulary::Voice, id, soundByName);
    }
    case ParamKind::Plain: break;
  }
  return {};
}

std::string modeText(uint8_t mode) {
  switch (mode) {
    case CAnimation::kLooped: return "looped";
    case CAnimation::kOnce: return "once";
    case CAnimation::kIcon: return "icon";
    default: return std::to_string(mode);  // a mode byte of an older document, kept as it is
  }
}

std::array<std::string, kColumnCount + 2> rowOf(const CCommand& command) {
  std::array<std::string, kColumnCount + 2> row;
  row[kInsert] = command.insertTime().text();
  row[kTimed] = command.isTimed() ? "yes" : "no";
  row[kResponse] = command.effectiveResponseTime().text();
  row[kRepeat] = std::to_string(command.retransmissions());
  const std::string name = command.commandName();
  row[kCommand] = name.empty() ? std::to_string(command.commandCode()) : name;
  row[kParameter] = parameterText(command.param());
  if (command.param().kind() == ParamKind::Animation) {
    const auto& animation = static_cast<const CAnimation&>(command.param());
    row[kMode] = modeText(animation.mode);
    row[kIcon] = std::to_string(animation.iconNumber);
  }
  row[kColumnCount] = command.fileName();
  row[kColumnCount + 1] = command.byteCodeText();
  return row;
}

void appendRecord(std::string& text, const auto& fields, ListSeparator separator) {
  const char c = separatorChar(separator);
  bool first = true;
  for (const auto& field : fields) {
    if (!first) text += c;
    first = false;
    text += quoteField(field, c);
  }
  text += separator == ListSeparator::Comma ? "\r\n" : "\n";
}

}  // namespace

std::string encodeCommandList(const std::vector<const CCommand*>& commands, ListSeparator separator) {
  std::vector<std::string> header(std::begin(kListColumnNames), std::end(kListColumnNames));
  header.insert(header.end(), std::begin(kListExportColumnNames), std::end(kListExportColumnNames));
  std::string text;
  appendRecord(text, header, separator);
  for (const CCommand* command : commands) appendRecord(text, rowOf(*command), separator);
  return text;
}

ListSeparator separatorForFile(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return extension == ".tsv" || extension == ".tab" ? ListSeparator::Tab : ListSeparator::Comma;
}

namespace {

// A value as a message shows it: control characters as '?', cut after 60 bytes.
std::string shownValue(const std::string& value) {
  std::string shown = value.substr(0, 60);
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return value.size() > 60 ? shown + "..." : shown;
}

}  // namespace

std::string describeListError(const std::string& fileName, const ListReadError& error) {
  if (error.column.empty())
    return common::format("%s line %zu: %s", fileName.c_str(), error.line, error.reason.c_str());
  return common::format("%s line %zu: %s \"%s\" %s", fileName.c_str(), error.line, error.column.c_str(),
                        shownValue(error.value).c_str(), error.reason.c_str());
}

}  // namespace vtq

namespace vtq {
namespace {

// Where each column stands in a row (its field index).
struct ColumnMap {
  std::array<size_t, kColumnCount> index{};
  size_t width = 0;  // the number of fields a row may have
};

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return lower;
}

// The column a header field names: 0..7 read, 8..9 ignored, npos unknown.
size_t columnNamed(std::string_view field) {
  const std::string name = lowerCase(field);
  for (size_t c = 0; c < kColumnCount; ++c) {
    if (name == kListColumnNames[c]) return c;
  }
  for (size_t c = 0; c < std::size(kListExportColumnNames); ++c) {
    if (name == kListExportColumnNames[c]) return kColumnCount + c;
  }
  return std::string::npos;
}

bool readHeader(const TextRecord& record, ColumnMap& map, ListReadError& error) {
  std::array<bool, kColumnCount + 2> seen{};
  for (size_t f = 0; f < record.fields.size(); ++f) {
    const size_t column = columnNamed(record.fields[f]);
    if (column == std::string::npos || seen[column]) {
      error = {record.line, record.fields[f],
               column == std::string::npos ? "is not one of the list's columns" : "is named twice", "column"};
      return false;
    }
    seen[column] = true;
    if (column < kColumnCount) map.index[column] = f;
  }
  for (size_t c = 0; c < kColumnCount; ++c) {
    if (!seen[c]) {
      error = {record.line, kListColumnNames[c], "is missing from the header row", "column"};
      return false;
    }
  }
  map.width = record.fields.size();
  return true;
}

ColumnMap writtenOrder() {
  ColumnMap map;
  for (size_t c = 0; c < kColumnCount; ++c) map.index[c] = c;
  map.width = kColumnCount + std::size(kListExportColumnNames);
  return map;
}

// One row being read: its fields by column, and the first fault found.
class RowReader {
 public:
  RowReader(const TextRecord& record, const ColumnMap& map, ListReadError& error)
      : record_(record), map_(map), error_(error) {}

  std::string field(Column column) const {
    const size_t at = map_.index[column];
    return at < record_.fields.size() ? record_.fields[at] : std::string();
  }
  bool fail(Column column, std::string reason) {
    error_ = {record_.line, field(column), std::move(reason), kListColumnNames[column]};
    return false;
  }
  bool number(Column column, uint64_t high, uint64_t& value) {
    BatchProblem problem;
    if (parseBounded(field(column), kListColumnNames[column], 0, high, value, problem)) return true;
    return fail(column, "is not a number from 0 to " + std::to_string(high));
  }
  bool time(Column column, CSMPTETime& value) {
    BatchProblem problem;
    if (parseTimeCode(field(column), kListColumnNames[column], value, problem)) return true;
    return fail(column, problem.exitCode == kExitRange ? "is not a time of the day (00:00:00:00 to 23:59:59:24)"
                                                       : "is not a time code HH:MM:SS:FF");
  }
  const TextRecord& record() const { return record_; }

 private:
  const TextRecord& record_;
  const ColumnMap& map_;
  ListReadError& error_;
};

bool readCode(RowReader& row, uint8_t& code) {
  const std::string text = row.field(kCommand);
  if (const auto named = vocabularyId(Vocabulary::Command, text)) {
    code = uint8_t(*named);
    return true;
  }
  uint64_t number = 0;
  if (!text.empty() && text[0] >= '0' && text[0] <= '9' && row.number(kCommand, 0xFF, number)) {
    code = uint8_t(number);
    return true;
  }
  return row.fail(kCommand, "is not a command name");
}

bool readAnimation(RowReader& row, CAnimation& animation) {
  const std::string mode = lowerCase(row.field(kMode));
  uint64_t number = 0;
  if (mode == "looped") {
    animation.mode = CAnimation::kLooped;
  } else if (mode == "once") {
    animation.mode = CAnimation::kOnce;
  } else if (mode == "icon") {
    animation.mode = CAnimation::kIcon;
  } else if (!mode.empty()) {
    if (mode[0] < '0' || mode[0] > '9') return row.fail(kMode, "is not looped, once or icon");
    if (!row.number(kMode, 0xFF, number)) return false;
    animation.mode = uint8_t(number);
  }
  if (row.field(kIcon).empty()) return true;
  if (!row.number(kIcon, 0xFF, number)) return false;
  animation.iconNumber = uint8_t(number);
  return true;
}

bool readParameter(RowReader& row, CCommand& command) {
  CParam& param = command.param();
  const std::string value = row.field(kParameter);
  if (param.kind() != ParamKind::Animation) {
    if (!row.field(kMode).empty()) return row.fail(kMode, "is given for a command other than SHOW_ANIMATION");
    if (!row.field(kIcon).empty()) return row.fail(kIcon, "is given for a command other than SHOW_ANIMATION");
  }
  if (value.empty()) return param.kind() != ParamKind::Animation || readAnimation(row, static_cast<CAnimation&>(param));
  if (param.kind() == ParamKind::Plain)
    return row.fail(kParameter, "is given for " + command.commandName() + ", which takes none");
  uint32_t id = 0;
  BatchProblem problem;
  if (!parameterId(value, param.kind(), kListColumnNames[kParameter], id, problem))
    return row.fail(kParameter,
                    problem.exitCode == kExitRange ? "is out of range" : "is not a name of this command's parameter");
  switch (param.kind()) {
    case ParamKind::Ability: static_cast<CAbility&>(param).abilityId = uint8_t(id); break;
    case ParamKind::PlaySound: static_cast<CPlaySound&>(param).soundId = uint16_t(id); break;
    case ParamKind::Animation:
      static_cast<CAnimation&>(param).pictureId = uint16_t(id);
      return readAnimation(row, static_cast<CAnimation&>(param));
    case ParamKind::Plain: break;
  }
  return true;
}

// The times: a timed command needs a response time with the insert time's
// frame number, 0 to 255 seconds after it; an untimed one may leave it empty.
bool readTimes(RowReader& row, CCommand& command) {
  CSMPTETime insert;
  if (!row.time(kInsert, insert)) return false;
  command.MoveStart(insert);
  const std::string timed = lowerCase(row.field(kTimed));
  if (timed != "yes" && timed != "no" && !timed.empty()) return row.fail(kTimed, "is not yes or no");
  CSMPTETime response = insert;
  if (!row.field(kResponse).empty() && !row.time(kResponse, response)) return false;
  if (timed != "yes") return true;
  command.SetTimed(true);
  if (response.frames() != insert.frames()) return row.fail(kResponse, "has frames other than insert_time's");
  if (!command.SetResponseTime(response)) return row.fail(kResponse, "is not 0 to 255 seconds after insert_time");
  return true;
}

std::unique_ptr<CCommand> readRow(const TextRecord& record, const ColumnMap& map, ListReadError& error) {
  RowReader row(record, map, error);
  if (record.fields.size() > map.width) {
    error = {
        record.line, {}, common::format("has %zu fields, the header row %zu", record.fields.size(), map.width), {}};
    return nullptr;
  }
  auto command = std::make_unique<CCommand>();
  uint8_t code = 0;
  if (!readCode(row, code)) return nullptr;
  command->SetCommand(code);
  if (!readParameter(row, *command)) return nullptr;
  uint64_t repeat = 0;
  if (!row.field(kRepeat).empty() && !row.number(kRepeat, 15, repeat)) return nullptr;
  command->setRetransmissions(uint8_t(repeat));
  if (!readTimes(row, *command)) return nullptr;
  return command;
}

}  // namespace

bool decodeCommandList(std::string_view text, ListSeparator separator, ListHeader header,
                       std::vector<std::unique_ptr<CCommand>>& commands, ListReadError& error) {
  commands.clear();
  std::vector<TextRecord> records;
  TextSplitError splitError;
  if (!splitRecords(text, separatorChar(separator), records, splitError)) {
    error = {splitError.line, {}, splitError.reason, {}};
    return false;
  }
  ColumnMap map = writtenOrder();
  size_t first = 0;
  const bool named = !records.empty() && columnNamed(records[0].fields[0]) != std::string::npos;
  if (named || header == ListHeader::Required) {
    if (records.empty()) {
      error = {1, {}, "is empty: the header row naming the columns is missing", {}};
      return false;
    }
    if (!readHeader(records[0], map, error)) return false;
    first = 1;
  }
  std::vector<std::unique_ptr<CCommand>> read;
  read.reserve(records.size() - first);
  for (size_t r = first; r < records.size(); ++r) {
    auto command = readRow(records[r], map, error);
    if (!command) return false;
    read.push_back(std::move(command));
  }
  commands = std::move(read);
  return true;
}

}  // namespace vtq
