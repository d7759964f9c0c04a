#include "termination_cleanup.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <vector>

namespace common {

// A registry entry. Its name is written only while the slot is Claimed, under
// a hold; the signal handler reads names only of Live slots and only while no
// hold exists, so it never sees a name change under it.
struct TemporaryRegistration::Slot {
  enum State : int { Free, Claimed, Live };
  std::atomic<int> state{Free};
  std::atomic<char*> name{nullptr};
  std::atomic<bool> folder{false};
  std::atomic<unsigned long> order{0};  // registrations so far, for folders' reverse order
  size_t capacity = 0;
};

namespace {

using Slot = TemporaryRegistration::Slot;

constexpr int kSignals[kTerminationSignalCount] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGXFSZ};
constexpr size_t kChunkSlots = 1024;

// Slots come in chunks that are never freed, linked so that the handler can
// walk them without a lock.
struct Chunk {
  Slot slots[kChunkSlots];
  std::atomic<Chunk*> next{nullptr};
};

// The process-wide state a signal handler needs: the registered names and the
// hold count. This is the toolset's single mutable static object (see the
// header); everything else a run needs is passed to it.
struct Registry {
  Chunk first;
  std::atomic<Chunk*> last{&first};
  std::mutex freeLock;           // normal context only, never in the handler
  std::vector<Slot*> freeSlots;  // guarded by freeLock
  size_t usedInLast = 0;         // guarded by freeLock
  std::once_flag installed;
  std::atomic<unsigned long> registrations{0};
  std::atomic<int> holds{0};
  std::atomic<int> pending{0};
  std::atomic<bool> ending{false};
};

Registry& registry() {
  static Registry* const instance = new Registry;  // never destroyed: a handler may run during exit
  return *instance;
}

thread_local int holdDepth = 0;

// Calls `visit` with every live slot's name; handler-safe.
template <typename Visit>
void forEachLive(Registry& r, Visit visit) {
  for (Chunk* chunk = &r.first; chunk != nullptr; chunk = chunk->next.load(std::memory_order_acquire)) {
    for (Slot& slot : chunk->slots) {
      if (slot.state.load(std::memory_order_acquire) != Slot::Live) continue;
      if (const char* name = slot.name.load(std::memory_order_acquire)) visit(slot, name);
    }
  }
}

// The kernel's directory entry as getdents64 returns it.
struct DirectoryEntry {
  uint64_t inode;
  int64_t offset;
  unsigned short length;
  unsigned char type;
  char name[1];
};

// Unlinks the entries directly in folder `fd` with raw system calls (no
// opendir, which allocates); true when it removed any. A sub-folder goes only
// when it is empty.
bool unlinkEntries(int fd) {
  alignas(8) char buffer[4096];
  bool removed = false;
  long got;
  while ((got = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer)) > 0) {
    for (long at = 0; at < got;) {
      const auto* entry = reinterpret_cast<const DirectoryEntry*>(buffer + at);
      at += entry->length;
      const char* name = entry->name;
      if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
      if (::unlinkat(fd, name, 0) == 0 || ::unlinkat(fd, name, AT_REMOVEDIR) == 0) removed = true;
    }
  }
  return removed;
}

// Empties the folder of its files and removes it. The listing is read again
// while it still gives something to remove: removing entries while reading
// the folder may skip some.
void removeFolder(const char* name) {
  const int fd = ::open(name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return;
  for (int pass = 0; pass < 8 && unlinkEntries(fd); ++pass) ::lseek(fd, 0, SEEK_SET);
  ::close(fd);
  ::rmdir(name);
}

// Files first, then the folders from the newest registration to the oldest.
void removeRegistered(Registry& r) {
  forEachLive(r, [](Slot& slot, const char* name) {
    if (!slot.folder.load(std::memory_order_acquire)) ::unlink(name);
  });
  unsigned long below = ~0UL;
  for (;;) {
    const char* newest = nullptr;
    unsigned long newestOrder = 0;
    forEachLive(r, [&](Slot& slot, const char* name) {
      const unsigned long order = slot.order.load(std::memory_order_acquire);
      if (!slot.folder.load(std::memory_order_acquire) || order >= below || (newest && order <= newestOrder)) return;
      newest = name;
      newestOrder = order;
    });
    if (!newest) return;
    removeFolder(newest);
    below = newestOrder;
  }
}

// Removes the files and ends the process as the signal would have. Only the
// first caller does it; any other waits for the end (a handler returns).
void endProcess(int signal, bool inHandler) {
  Registry& r = registry();
  bool expected = false;
  if (!r.ending.compare_exchange_strong(expected, true)) {
    if (inHandler) return;
    for (;;) ::pause();
  }
  removeRegistered(r);
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  ::sigaction(signal, &action, nullptr);
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, signal);
  ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
  ::raise(signal);
  ::_exit(128 + signal);
}

void onTerminationSignal(int signal) {
  const int savedErrno = errno;
  Registry& r = registry();
  int none = 0;
  r.pending.compare_exchange_strong(none, signal);
  if (r.holds.load() == 0) endProcess(r.pending.load(), true);
  errno = savedErrno;
}

void installHandlers() {
  struct sigaction action {};
  action.sa_handler = onTerminationSignal;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (int s : kSignals) sigaddset(&action.sa_mask, s);
  for (int s : kSignals) {
    struct sigaction old {};
    if (::sigaction(s, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
    ::sigaction(s, &action, nullptr);
  }
}

Slot* claimSlot(Registry& r) {
  std::lock_guard lock(r.freeLock);
  if (!r.freeSlots.empty()) {
    Slot* slot = r.freeSlots.back();
    r.freeSlots.pop_back();
    return slot;
  }
  Chunk* last = r.last.load();
  if (r.usedInLast == kChunkSlots) {
    Chunk* fresh = new Chunk;
    last->next.store(fresh, std::memory_order_release);
    r.last.store(fresh);
    last = fresh;
    r.usedInLast = 0;
  }
  return &last->slots[r.usedInLast++];
}

void setName(Slot& slot, const std::string& name) {
  char* buffer = slot.name.load();
  if (buffer == nullptr || slot.capacity < name.size() + 1) {
    delete[] buffer;
    slot.capacity = name.size() + 1;
    buffer = new char[slot.capacity];
  }
  std::memcpy(buffer, name.c_str(), name.size() + 1);
  slot.name.store(buffer, std::memory_order_release);
}

}  // namespace

const int* terminationSignals() { return kSignals; }

TemporaryRegistration::TemporaryRegistration(const std::filesystem::path& path, Kind kind) {
  Registry& r = registry();
  std::call_once(r.installed, installHandlers);
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  if (ec) absolute = path;
  SignalHold hold;
  Slot* slot = claimSlot(r);
  slot->state.store(Slot::Claimed);
  setName(*slot, absolute.string());
  slot->folder.store(kind == Kind::Folder);
  slot->order.store(r.registrations.fetch_add(1) + 1);
  slot->state.store(Slot::Live, std::memory_order_release);
  slot_ = slot;
}

TemporaryRegistration& TemporaryRegistration::operator=(TemporaryRegistration&& other) noexcept {
  if (this != &other) {
    release();
    slot_ = other.slot_;
    other.slot_ = nullptr;
  }
  return *this;
}

void TemporaryRegistration::release() noexcept {
  if (slot_ == nullptr) return;
  Registry& r = registry();
  slot_->state.store(Slot::Free, std::memory_order_release);
  try {
    std::lock_guard lock(r.freeLock);
    r.freeSlots.push_back(slot_);
  } catch (...) {
    // The slot is lost to reuse, which costs only memory.
  }
  slot_ = nullptr;
}

SignalHold::SignalHold() {
  if (holdDepth++ > 0) return;
  Registry& r = registry();
  r.holds.fetch_add(1);
  if (r.pending.load() == 0) return;
  // A signal came in before this hold: the process is ending, so this thread
  // goes no further. The last hold to end (maybe this one) ends the process.
  if (r.holds.fetch_sub(1) == 1) endProcess(r.pending.load(), false);
  for (;;) ::pause();
}

SignalHold::~SignalHold() {
  if (--holdDepth > 0) return;
  Registry& r = registry();
  if (r.holds.fetch_sub(1) == 1 && r.pending.load() != 0) endProcess(r.pending.load(), false);
}

}  // namespace common
