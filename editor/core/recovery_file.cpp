#include "recovery_file.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "common/byte_order.h"
#include "common/file_io.h"
#include "program_name.h"

namespace vtq {
namespace {

constexpr char kMagic[] = "VTQRECOV";
constexpr uint32_t kVersion = 1;

// FNV-1a, 64 bits: a stable name for a path (the path itself is checked).
uint64_t pathHash(const std::string& text) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (const unsigned char c : text) {
    hash ^= c;
    hash *= 0x100000001b3ull;
  }
  return hash;
}

}  // namespace

std::filesystem::path resolvedDocumentPath(const std::filesystem::path& document) {
  std::error_code ec;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(document, ec);
  if (ec) resolved = std::filesystem::absolute(document, ec).lexically_normal();
  return resolved;
}

std::filesystem::path recoveryFileFor(const std::filesystem::path& folder, const std::filesystem::path& document) {
  char name[40];
  std::snprintf(name, sizeof name, "%016llx.qtdrecovery", (unsigned long long)pathHash(document.string()));
  return folder / name;
}

std::vector<uint8_t> encodeRecovery(const RecoveryRecord& record) {
  common::ByteWriter out(common::Endian::Little);
  const std::string path = record.document.string();
  out.text(std::string_view(kMagic, 8));
  out.u32(kVersion);
  out.u32(record.processId);
  out.u32(uint32_t(path.size()));
  out.text(path);
  out.bytes(record.qtd);
  return out.take();
}

bool decodeRecovery(std::span<const uint8_t> bytes, RecoveryRecord& record, std::string& error) {
  common::ByteReader in(bytes, common::Endian::Little);
  const auto magic = in.bytes(8);
  if (!in.ok() || std::string(magic.begin(), magic.end()) != std::string(kMagic, 8)) {
    error = "not a recovery file";
    return false;
  }
  const uint32_t version = in.u32();
  record.processId = in.u32();
  const uint32_t length = in.u32();
  if (!in.ok() || version != kVersion || length > in.remaining()) {
    error = "a recovery file of another version or cut short";
    return false;
  }
  const auto path = in.bytes(length);
  record.document = std::filesystem::path(std::string(path.begin(), path.end()));
  const auto rest = in.bytes(in.remaining());
  record.qtd.assign(rest.begin(), rest.end());
  return true;
}

bool writeRecoveryFile(const std::filesystem::path& folder, const RecoveryRecord& record, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    error = folder.string() + ": " + ec.message();
    return false;
  }
  const std::vector<uint8_t> bytes = encodeRecovery(record);
  return common::replaceFile(kProgramName, recoveryFileFor(folder, record.document), bytes, error);
}

void removeRecoveryFile(const std::filesystem::path& folder, const std::filesystem::path& document) {
  std::error_code ec;
  std::filesystem::remove(recoveryFileFor(folder, document), ec);
}

bool processIsRunning(uint32_t processId) {
  if (processId == 0) return false;
  return ::kill(pid_t(processId), 0) == 0 || errno == EPERM;
}

uint32_t currentProcessId() { return uint32_t(::getpid()); }

std::optional<RecoveryRecord> pendingRecovery(const std::filesystem::path& folder,
                                              const std::filesystem::path& document) {
  const std::filesystem::path file = recoveryFileFor(folder, document);
  std::error_code ec;
  const auto recoveryTime = std::filesystem::last_write_time(file, ec);
  if (ec) return std::nullopt;
  const auto documentTime = std::filesystem::last_write_time(document, ec);
  if (!ec && !(recoveryTime > documentTime)) return std::nullopt;
  std::vector<uint8_t> bytes;
  std::string error;
  RecoveryRecord record;
  if (!common::readWholeFile(file, bytes, error) || !decodeRecovery(bytes, record, error)) return std::nullopt;
  if (record.document != document || processIsRunning(record.processId)) return std::nullopt;
  return record;
}

}  // namespace vtq
