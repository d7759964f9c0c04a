#include "timeline_scale.h"

#include <algorithm>
#include <cmath>

namespace vtq {

TimelineScale::TimelineScale(uint32_t sampleRate, CSMPTETime start, uint64_t frameCount, int width)
    : sampleRate_(sampleRate), start_(start), frameCount_(frameCount), width_(std::max(width, 1)) {
  buildLadder();
  zoom_ = ladder_.size() - 1;
}

void TimelineScale::buildLadder() {
  // Runs from the finest zoom up to the first step that shows the whole
  // sound (and at least a second) across the width.
  const double finest = samplesPerFilmFrame() / kFrameColumnsAtFinest;
  const double whole = std::max(double(frameCount_), double(sampleRate_)) / width_;
  ladder_.clear();
  // Each step is sqrt(2) times the one before; a rate of 0 has no finest
  // step to grow from, and its ladder is the whole view alone.
  double step = finest;
  while (finest > 0 && step < whole) {
    ladder_.push_back(step);
    step *= std::sqrt(2.0);
  }
  ladder_.push_back(std::max(whole, finest));
}

void TimelineScale::setWidth(int width) {
  const bool wasWhole = zoom_ + 1 == ladder_.size();
  const double keep = framesPerPixel();
  width_ = std::max(width, 1);
  buildLadder();
  // The same zoom stays, unless the whole sound was shown: then it still is.
  zoom_ = ladder_.size() - 1;
  if (!wasWhole) {
    for (size_t i = 0; i < ladder_.size(); ++i) {
      if (ladder_[i] >= keep * 0.999) {
        zoom_ = i;
        break;
      }
    }
  }
  setFirstFrame(first_);
}

void TimelineScale::setZoom(size_t index, double anchorX) {
  const double anchor = sampleForX(anchorX);
  zoom_ = std::min(index, ladder_.size() - 1);
  setFirstFrame(anchor - anchorX * framesPerPixel());
}

double TimelineScale::lastFirstFrame() const { return std::max(0.0, double(frameCount_) - width_ * framesPerPixel()); }

void TimelineScale::setFirstFrame(double frame) { first_ = std::clamp(frame, 0.0, lastFirstFrame()); }

double TimelineScale::sampleForTime(CSMPTETime time) const {
  int64_t frames = int64_t(time.frameCount()) - start_.frameCount();
  return double(frames) * samplesPerFilmFrame();
}

int64_t TimelineScale::filmFrameForSample(double sample) const {
  // A small tolerance keeps a frame's own first column in that frame when the
  // division does not come out exact.
  return int64_t(std::floor(sample / samplesPerFilmFrame() + 1e-9)) + start_.frameCount();
}

int64_t TimelineScale::filmFrameForX(double x) const { return filmFrameForSample(sampleForX(x)); }

CSMPTETime TimelineScale::timeForX(double x) const {
  const int64_t frames = filmFrameForX(x);
  return CSMPTETime(uint32_t(std::clamp<int64_t>(frames, 0, CSMPTETime::kFramesPerDay - 1)));
}

int64_t TimelineScale::framesForDrag(double dx) const {
  return std::llround(dx * framesPerPixel() / samplesPerFilmFrame());
}

int64_t TimelineScale::tickFrames(double minimumColumns) const {
  static constexpr int64_t kSteps[] = {1, 5, 25, 125, 250, 750, 1500, 7500, 15000, 45000, 90000};
  for (const int64_t step : kSteps) {
    if (double(step) * samplesPerFilmFrame() / framesPerPixel() >= minimumColumns) return step;
  }
  return kSteps[std::size(kSteps) - 1];
}

}  // namespace vtq
