#include <gtest/gtest.h>

#include <QtGui/QImage>
#include <future>
#include <mutex>
#include <thread>

#include "preview/preview_canvas.h"
#include "preview/preview_picture.h"
#include "preview/preview_worker.h"

using namespace vtq;
using namespace std::chrono_literals;

namespace {

const QColor kClear(Qt::gray);
const QColor kButtonFace(Qt::darkGray);

FrameRecord frame(QColor colour, int left, int top, int width, int height, int delay, int disposal = 0) {
  QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
  picture.fill(colour);
  return FrameRecord{picture, width, height, left, top, delay, disposal};
}

// What a worker did: the frames it showed, the waits it asked for and, per
// report, the canvas as it was then.
struct Record {
  std::mutex mutex;
  std::vector<int> shown;
  std::vector<std::chrono::nanoseconds> waits;
  std::vector<QImage> canvases;

  std::vector<int> shownSoFar() {
    std::lock_guard lock(mutex);
    return shown;
  }
};

struct WorkerRun {
  std::shared_ptr<const std::vector<FrameRecord>> frames;
  std::shared_ptr<PreviewCanvas> canvas = std::make_shared<PreviewCanvas>();
  Record record;

  // `pauses`: how many waits are granted before the worker is told to end
  // (-1: all); with `realWaits` the worker waits on its own stop signal.
  PreviewWorker::Setup setup(std::vector<FrameRecord> list, Playback playback, int pauses, bool realWaits = false) {
    frames = std::make_shared<const std::vector<FrameRecord>>(std::move(list));
    canvas->reset(QSize(2, 2), kClear, kButtonFace);
    PreviewWorker::Setup s{frames, canvas, playback, 0, {}, {}};
    s.shown = [this](int f) {
      std::lock_guard lock(record.mutex);
      record.shown.push_back(f);
      record.canvases.push_back(canvas->snapshot());
    };
    if (!realWaits) {
      s.pause = [this, pauses](std::chrono::nanoseconds d) {
        std::lock_guard lock(record.mutex);
        record.waits.push_back(d);
        return pauses < 0 || int(record.waits.size()) < pauses;
      };
    }
    return s;
  }
};

bool eventually(const std::function<bool()>& condition) {
  for (int i = 0; i < 5000; ++i) {
    if (condition()) return true;
    std::this_thread::sleep_for(1ms);
  }
  return condition();
}

}  // namespace

// Delays are in hundredths of a second with a floor of 100 ms for 0 to 4; a
// frame without a control extension is not waited for.
TEST(PreviewWorker, WaitsEachFramesDelay) {
  WorkerRun run;
  PreviewWorker worker(
      run.setup({frame(Qt::red, 0, 0, 2, 2, -1), frame(Qt::red, 0, 0, 1, 1, 0), frame(Qt::red, 0, 0, 1, 1, 4),
                 frame(Qt::red, 0, 0, 1, 1, 5), frame(Qt::red, 0, 0, 1, 1, 7)},
                Playback::Looped, 4));
  ASSERT_TRUE(eventually([&] { return run.record.shownSoFar().size() == 5; }));
  ASSERT_TRUE(worker.stop());
  EXPECT_EQ(run.record.shown, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(run.record.waits, (std::vector<std::chrono::nanoseconds>{100ms, 100ms, 50ms, 70ms}));
}

// A one-shot animation clears the picture after its last frame and ends on
// its first frame, drawn once more and not waited for.
TEST(PreviewWorker, OneShotEndsShowingTheFirstFrame) {
  WorkerRun run;
  PreviewWorker worker(
      run.setup({frame(Qt::red, 0, 0, 2, 2, 10), frame(Qt::green, 0, 0, 2, 2, 10), frame(Qt::blue, 0, 0, 2, 2, 10)},
                Playback::Once, -1));
  ASSERT_TRUE(eventually([&] { return run.record.shownSoFar().size() == 5; }));
  ASSERT_TRUE(worker.stop());
  EXPECT_EQ(run.record.shown, (std::vector<int>{0, 1, 2, -1, 0}));
  EXPECT_EQ(run.record.waits.size(), 3u);
  EXPECT_EQ(run.record.canvases[3].pixelColor(0, 0), kClear);
  EXPECT_EQ(run.canvas->snapshot().pixelColor(1, 1), QColor(Qt::red));
}

// Method 2 fills the frame's area with the button face colour, method 3 puts
// back what the frame covered.
TEST(PreviewWorker, DisposesOfFrames) {
  WorkerRun run;
  PreviewWorker worker(run.setup({frame(Qt::red, 0, 0, 2, 2, 10), frame(Qt::blue, 0, 0, 1, 1, 10, 2),
                                  frame(Qt::green, 1, 1, 1, 1, 10, 3), frame(Qt::yellow, 1, 0, 1, 1, 10)},
                                 Playback::Once, -1));
  ASSERT_TRUE(eventually([&] { return run.record.shownSoFar().size() == 6; }));
  worker.stop();
  const QImage& atThird = run.record.canvases[2];
  EXPECT_EQ(atThird.pixelColor(0, 0), kButtonFace);
  EXPECT_EQ(atThird.pixelColor(1, 1), QColor(Qt::green));
  const QImage& atFourth = run.record.canvases[3];
  EXPECT_EQ(atFourth.pixelColor(1, 1), QColor(Qt::red));
  EXPECT_EQ(atFourth.pixelColor(1, 0), QColor(Qt::yellow));
  EXPECT_EQ(atFourth.pixelColor(0, 0), kButtonFace);
}

// Stepping runs through the frames at once (delays in units of 100 ns) and
// holds the target frame, undisposed, until the target moves on.
TEST(PreviewWorker, SteppingHoldsTheTargetFrame) {
  WorkerRun run;
  PreviewWorker worker(
      run.setup({frame(Qt::red, 0, 0, 2, 2, 10), frame(Qt::blue, 0, 0, 1, 1, 10, 2), frame(Qt::green, 0, 0, 2, 2, 25)},
                Playback::Stepping, -1));
  ASSERT_TRUE(eventually([&] { return run.record.shownSoFar().size() == 1; }));
  worker.setTarget(1);
  ASSERT_TRUE(eventually([&] { return run.record.shownSoFar().size() == 2; }));
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(run.canvas->snapshot().pixelColor(0, 0), QColor(Qt::blue));
  worker.setTarget(0);
  ASSERT_TRUE(eventually([&] { return run.record.shownSoFar().size() == 5; }));
  std::this_thread::sleep_for(20ms);
  ASSERT_TRUE(worker.stop());
  EXPECT_EQ(run.record.shown, (std::vector<int>{0, 1, 2, -1, 0}));
  EXPECT_EQ(run.record.waits, (std::vector<std::chrono::nanoseconds>{1000ns, 1000ns, 2500ns, 1000ns}));
}

// A worker that does not end within the bound is left to finish on its own
// and reports nothing more; it lets go of the frames when it ends.
TEST(PreviewWorker, StopGivesUpAfterItsBound) {
  WorkerRun run;
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  auto setup = run.setup({frame(Qt::red, 0, 0, 2, 2, 10), frame(Qt::blue, 0, 0, 2, 2, 10)}, Playback::Looped, -1, true);
  std::atomic<int> reports = 0;
  setup.shown = [&reports, released](int) {
    ++reports;
    released.wait();
  };
  auto worker = std::make_unique<PreviewWorker>(std::move(setup));
  ASSERT_TRUE(eventually([&] { return reports == 1; }));
  EXPECT_FALSE(worker->stop(50ms));
  worker.reset();
  release.set_value();
  EXPECT_TRUE(eventually([&] { return run.frames.use_count() == 1; }));
  EXPECT_EQ(reports, 1);
}
