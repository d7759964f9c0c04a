#include "preview_worker.h"

#include <QtGui/QImage>

#include "preview_canvas.h"
#include "preview_picture.h"

namespace vtq {

using namespace std::chrono_literals;

struct PreviewWorker::Shared {
  explicit Shared(Setup s) : setup(std::move(s)), target(setup.target) {}

  Setup setup;
  std::mutex mutex;
  std::condition_variable signal;
  bool stopRequested = false;
  bool finished = false;
  std::atomic<int> target;
  std::atomic<bool> reporting{true};

  bool stopping() {
    std::lock_guard lock(mutex);
    return stopRequested;
  }

  // A wait on the stop signal, at most 10000 ms.
  bool waitOrStop(std::chrono::nanoseconds duration) {
    std::unique_lock lock(mutex);
    signal.wait_for(lock, std::min<std::chrono::nanoseconds>(duration, 10000ms), [&] { return stopRequested; });
    return !stopRequested;
  }

  bool pause(std::chrono::nanoseconds duration) {
    if (setup.pause) return setup.pause(duration) && !stopping();
    return waitOrStop(duration);
  }

  // Stepping mode: keeps the frame on show until the target moves on.
  bool holdWhileTarget(int frame) {
    std::unique_lock lock(mutex);
    signal.wait(lock, [&] { return stopRequested || target.load() != frame; });
    return !stopRequested;
  }

  void report(int frame) {
    if (reporting && setup.shown) setup.shown(frame);
  }

  void run();
  bool showFrame(int index, bool& waited);
};

namespace {

// The wait after a frame: delay x 10 ms, 100 ms for delays 0 to 4; stepping
// counts in units of 100 ns so that it runs through the frames at once.
std::chrono::nanoseconds frameWait(int delay, Playback playback) {
  if (playback == Playback::Stepping) return std::chrono::nanoseconds(100 * delay);
  if (delay <= 4) return 100ms;
  return std::chrono::milliseconds(10 * delay);
}

}  // namespace

// Draws frame `index`, waits its delay, holds it in stepping mode while it is
// the target, and disposes of it. False when the worker is to end.
bool PreviewWorker::Shared::showFrame(int index, bool& waited) {
  const FrameRecord& frame = (*setup.frames)[size_t(index)];
  PreviewCanvas& canvas = *setup.canvas;
  const QImage saved = frame.disposal == 3 ? canvas.save(frame) : QImage();
  canvas.drawFrame(frame);
  report(index);
  if (frame.delay >= 0) {
    if (!pause(frameWait(frame.delay, setup.playback))) return false;
    waited = true;
  } else if (stopping()) {
    return false;
  }
  // The held frame stays whole: it is disposed of only when the target moves.
  if (setup.playback == Playback::Stepping && target.load() == index && !holdWhileTarget(index)) return false;
  if (frame.disposal == 2) canvas.dispose(frame);
  if (frame.disposal == 3) canvas.restore(frame, saved);
  return true;
}

void PreviewWorker::Shared::run() {
  const int count = int(setup.frames->size());
  bool lastRound = false;
  bool waited = false;
  for (int index = 0; count > 0;) {
    if (lastRound) {
      setup.canvas->drawFrame((*setup.frames)[0]);
      report(0);
      break;
    }
    if (!showFrame(index, waited)) break;
    if (++index < count) continue;
    index = 0;
    setup.canvas->clear();
    report(-1);
    lastRound = setup.playback == Playback::Once;
    // Frames without delays would otherwise be drawn as fast as the
    // processor goes.
    if (!waited && !lastRound && !pause(100ms)) break;
    waited = false;
  }
  std::lock_guard lock(mutex);
  finished = true;
  signal.notify_all();
}

PreviewWorker::PreviewWorker(Setup setup) : shared_(std::make_shared<Shared>(std::move(setup))) {
  thread_ = std::thread([shared = shared_] { shared->run(); });
}

PreviewWorker::~PreviewWorker() { stop(); }

bool PreviewWorker::stop(std::chrono::milliseconds bound) {
  if (!thread_.joinable()) return true;
  std::unique_lock lock(shared_->mutex);
  shared_->stopRequested = true;
  shared_->signal.notify_all();
  const bool ended = shared_->signal.wait_for(lock, bound, [&] { return shared_->finished; });
  lock.unlock();
  if (ended) {
    thread_.join();
  } else {
    shared_->reporting = false;
    thread_.detach();
  }
  return ended;
}

void PreviewWorker::setTarget(int frame) {
  std::lock_guard lock(shared_->mutex);
  shared_->target = frame;
  shared_->signal.notify_all();
}

int PreviewWorker::target() const { return shared_->target.load(); }

}  // namespace vtq
