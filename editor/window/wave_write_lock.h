// The document's lock while the window writes wave files (New, Edit, the undo
// steps, Make All Wave Files), so that a batch run that holds the document
// never sees its wave files change under it.
//
// flock on a second open of the same lock file would wait for the window
// itself, so the window owns one of these and every writer goes through it:
// scopes nest, and only the outermost one takes and releases the lock.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "core/document_lock.h"

namespace vtq {

// How long a wave file waits for a batch run that holds the document.
inline constexpr std::chrono::seconds kWaveLockWait{3};

class WaveWriteLock {
 public:
  explicit WaveWriteLock(std::chrono::milliseconds wait = kWaveLockWait) : wait_(wait) {}
  WaveWriteLock(const WaveWriteLock&) = delete;
  WaveWriteLock& operator=(const WaveWriteLock&) = delete;

  // Holds the lock of the document at `document` for the scope's life. A
  // document without a file (never saved) needs no lock.
  class Scope {
   public:
    Scope(WaveWriteLock& owner, const std::filesystem::path& document);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
    // False when the lock could not be had within the wait; error() says
    // which file is locked.
    bool held() const { return held_; }
    const std::string& error() const { return error_; }

   private:
    WaveWriteLock& owner_;
    bool held_ = false;
    std::string error_;
  };

 private:
  std::chrono::milliseconds wait_;
  std::optional<DocumentLock> lock_;
  int depth_ = 0;
};

}  // namespace vtq
