#include "wave_write_lock.h"

namespace vtq {

WaveWriteLock::Scope::Scope(WaveWriteLock& owner, const std::filesystem::path& document) : owner_(owner) {
  if (owner_.depth_ == 0 && !document.empty()) {
    owner_.lock_ = DocumentLock::acquire(document, owner_.wait_, error_);
    if (!owner_.lock_) return;
  }
  ++owner_.depth_;
  held_ = true;
}

WaveWriteLock::Scope::~Scope() {
  if (!held_) return;
  if (--owner_.depth_ == 0) owner_.lock_.reset();
}

}  // namespace vtq
