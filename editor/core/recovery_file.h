// Recovery files: the state of a document with unsaved changes, written
// every few seconds by the window, so that a crash loses at most those
// seconds. One file per document, in a folder the caller chooses (the window
// takes its application data folder), named after a hash of the document's
// resolved path; the file holds that path too, so that a hash collision is
// never taken for the document.
//
// Layout (little-endian): "VTQRECOV", u32 version 1, u32 process id of the
// writer, u32 path length, the path's bytes (UTF-8), then the document as
// .qtd bytes to the end of the file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vtq {

struct RecoveryRecord {
  std::filesystem::path document;  // resolved (absolute, symbolic links followed)
  uint32_t processId = 0;          // the process that wrote it
  std::vector<uint8_t> qtd;        // the document as it stood
};

// The document's path as recovery files name it: absolute, with its symbolic
// links resolved as far as they exist.
std::filesystem::path resolvedDocumentPath(const std::filesystem::path& document);

// The recovery file of `document` (resolved) in `folder`.
std::filesystem::path recoveryFileFor(const std::filesystem::path& folder, const std::filesystem::path& document);

std::vector<uint8_t> encodeRecovery(const RecoveryRecord& record);
bool decodeRecovery(std::span<const uint8_t> bytes, RecoveryRecord& record, std::string& error);

// Writes the record safely (a reader never sees half a file), creating the
// folder when missing.
bool writeRecoveryFile(const std::filesystem::path& folder, const RecoveryRecord& record, std::string& error);
// Removes the recovery file of `document` (resolved); a missing one is fine.
void removeRecoveryFile(const std::filesystem::path& folder, const std::filesystem::path& document);

// Whether a process with this id is running (one that this user may not
// signal counts as running).
bool processIsRunning(uint32_t processId);
uint32_t currentProcessId();

// The recovery to offer when `document` is opened: its recovery file exists,
// is readable and names this document, is newer than the document (or the
// document is gone), and its writer is no longer running.
std::optional<RecoveryRecord> pendingRecovery(const std::filesystem::path& folder,
                                              const std::filesystem::path& document);

}  // namespace vtq
