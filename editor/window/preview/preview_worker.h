// The thread that animates a preview: it draws the frames of a picture into
// the canvas one after the other, waits each frame's delay, disposes of it
// and starts over, until it is stopped. A worker that does not end within
// the stop bound is left to finish on its own: it owns shares of everything
// it touches, so nothing it uses goes away under it.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vtq {

struct FrameRecord;
class PreviewCanvas;

enum class Playback { Once, Looped, Stepping };

class PreviewWorker {
 public:
  // Waits `duration` for a frame's delay; false when the worker is to end.
  // Tests replace it to see the delays without waiting them.
  using Pause = std::function<bool(std::chrono::nanoseconds duration)>;
  // Called on the worker's thread after each change of the canvas with the
  // frame just drawn, or -1 after the canvas was cleared. It must stay safe
  // to call after its receiver is gone: a worker left running may be inside
  // it when the stop bound runs out.
  using Shown = std::function<void(int frame)>;

  struct Setup {
    std::shared_ptr<const std::vector<FrameRecord>> frames;
    std::shared_ptr<PreviewCanvas> canvas;
    Playback playback = Playback::Looped;
    int target = 0;  // in stepping mode, the frame to stop at
    Shown shown;
    Pause pause;  // empty: wait on the stop signal
  };

  static constexpr std::chrono::milliseconds kStopBound{5000};

  explicit PreviewWorker(Setup setup);
  ~PreviewWorker();
  PreviewWorker(const PreviewWorker&) = delete;
  PreviewWorker& operator=(const PreviewWorker&) = delete;

  // Asks the worker to end and waits for it at most `bound`. True when it
  // ended in time; otherwise it is left running and no longer reports.
  bool stop(std::chrono::milliseconds bound = kStopBound);

  // In stepping mode: the frame at which the worker holds next.
  void setTarget(int frame);
  int target() const;

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
  std::thread thread_;
};

}  // namespace vtq
