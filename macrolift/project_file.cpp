#include "project_file.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include "common/file_io.h"
#include "common/paths.h"
#include "file_replacement.h"
#include "gba_command_definitions.h"

namespace macrolift {
namespace {

// key "=" path, the path ending in ".vqd" in any mix of cases; group 1 is the path.
constexpr std::string_view kDefinitionLine = R"(.+=(.+\.[vV][qQ][dD])$)";

// The expression can only match a line that ends in ".vqd"; checking that
// first keeps the matching of long lines linear.
bool endsWithDefinitionExtension(std::string_view line) {
  return line.size() >= 4 && line[line.size() - 4] == '.' &&
         common::equalsIgnoringCase(line.substr(line.size() - 3), "vqd");
}

}  // namespace

struct ProjectFileUpdater::Pcre {
  pcre2_code* code = nullptr;
  pcre2_match_data* match = nullptr;
  ~Pcre() {
    pcre2_match_data_free(match);
    pcre2_code_free(code);
  }
};

ProjectFileUpdater::ProjectFileUpdater() : pcre_(std::make_unique<Pcre>()) {
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  pcre_->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(kDefinitionLine.data()), kDefinitionLine.size(), 0,
                              &errorCode, &errorOffset, nullptr);
  if (pcre_->code == nullptr) return;
  pcre_->match = pcre2_match_data_create_from_pattern(pcre_->code, nullptr);
  if (pcre_->match == nullptr) return;
  (void)pcre2_jit_compile(pcre_->code, PCRE2_JIT_COMPLETE);  // plain matching when JIT is not available
}

bool ProjectFileUpdater::ready() const { return pcre_->match != nullptr; }

ProjectFileUpdater::~ProjectFileUpdater() = default;

std::optional<std::string> ProjectFileUpdater::updateLine(std::string_view line) {
  if (!ready() || line.empty() || !endsWithDefinitionExtension(line)) return std::nullopt;
  const int rc =
      pcre2_match(pcre_->code, reinterpret_cast<PCRE2_SPTR>(line.data()), line.size(), 0, 0, pcre_->match, nullptr);
  if (rc < 2) return std::nullopt;  // no match, an error, or group 1 unset
  const PCRE2_SIZE* groups = pcre2_get_ovector_pointer(pcre_->match);
  if (groups[2] == PCRE2_UNSET) return std::nullopt;
  // The path is replaced from where group 1 starts: searching for its text
  // could find it earlier in the line (in the key) and cut the key off.
  std::string updated(line.substr(0, groups[2]));
  updated += kDefinitionFileName;
  return updated;
}

std::string ProjectFileUpdater::updateText(std::string_view text, bool& changed) {
  changed = false;
  std::string result;
  result.reserve(text.size() + 32);
  size_t start = 0;
  while (start < text.size()) {
    const size_t newline = text.find('\n', start);
    const size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
    std::string_view line = text.substr(start, end - start);
    std::string_view content = line;
    if (!content.empty() && content.back() == '\n') content.remove_suffix(1);
    const bool crlf = !content.empty() && content.back() == '\r';
    if (crlf) content.remove_suffix(1);
    const auto updated = updateLine(content);
    if (updated && *updated != content) {
      result += *updated;
      result += crlf ? "\r\n" : "\n";
      changed = true;
    } else {
      result += line;
    }
    start = end;
  }
  return result;
}

bool ProjectFileUpdater::updateProjectFile(const std::filesystem::path& path, std::string& error, PlannedWrites* plan) {
  if (!ready()) {
    error = "the expression for definition file lines did not compile";
    return false;
  }
  std::string text;
  if (!common::readWholeFile(path, text, error)) return false;
  bool changed = false;
  const std::string updated = updateText(text, changed);
  if (!changed) return true;  // nothing to rewrite: the file stays untouched
  const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(updated.data()), updated.size());
  return replaceInPlace(path, bytes, error, plan) == ReplaceResult::Replaced;
}

}  // namespace macrolift
