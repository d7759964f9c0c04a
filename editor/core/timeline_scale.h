// Where the timeline draws what: film sound frames (samples of every channel
// at one instant) and time codes against pixel columns. Sample 0 of the film
// sound lies at its start time code; a zoom is a number of frames per pixel
// column, chosen from a ladder that runs from single film frames across the
// view up to the whole film.
#pragma once

#include <cstdint>
#include <vector>

#include "smpte_time.h"

namespace vtq {

class TimelineScale {
 public:
  // The finest zoom shows one film frame (1/25 s) over this many columns.
  static constexpr int kFrameColumnsAtFinest = 240;

  TimelineScale() = default;
  TimelineScale(uint32_t sampleRate, CSMPTETime start, uint64_t frameCount, int width);

  uint32_t sampleRate() const { return sampleRate_; }
  CSMPTETime start() const { return start_; }
  uint64_t frameCount() const { return frameCount_; }
  int width() const { return width_; }
  // Sound frames per film frame (1920 at 48000 Hz, 1764 at 44100 Hz).
  double samplesPerFilmFrame() const { return double(sampleRate_) / CSMPTETime::kFramesPerSecond; }

  // --- Zoom ---
  // The ladder of frames-per-column values, finest first; each step is
  // sqrt(2) coarser, the last shows the whole sound across the width.
  const std::vector<double>& zoomLadder() const { return ladder_; }
  size_t zoomIndex() const { return zoom_; }
  double framesPerPixel() const { return ladder_.empty() ? 1.0 : ladder_[zoom_]; }
  // Sets the zoom, keeping the sound frame at column `anchorX` in place.
  void setZoom(size_t index, double anchorX);
  void setWidth(int width);

  // --- Scroll ---
  // The sound frame at the left edge (a fraction: zoomed-in views scroll by
  // part of a frame); kept within the sound.
  double firstFrame() const { return first_; }
  void setFirstFrame(double frame);
  double lastFirstFrame() const;

  // --- Mapping ---
  double xForSample(double sample) const { return (sample - first_) / framesPerPixel(); }
  double sampleForX(double x) const { return first_ + x * framesPerPixel(); }
  // The sound frame where a time code begins (negative before the start).
  double sampleForTime(CSMPTETime time) const;
  double xForTime(CSMPTETime time) const { return xForSample(sampleForTime(time)); }
  // The film frame (time code) that holds column `x`, counted from the
  // start; `frames` of the result before 00:00:00:00 give 00:00:00:00.
  int64_t filmFrameForX(double x) const;
  CSMPTETime timeForX(double x) const;
  // Film frames from 00:00:00:00 of the given sound frame (rounded down).
  int64_t filmFrameForSample(double sample) const;

  // A drag of `dx` columns as whole film frames (rounded to the nearest).
  int64_t framesForDrag(double dx) const;

  // The ruler's tick spacing in film frames for the zoom: the smallest of
  // 1, 5 frames, 1, 5, 10, 30 s, 1, 5, 10, 30 min, 1 h whose ticks lie at
  // least `minimumColumns` apart.
  int64_t tickFrames(double minimumColumns) const;

 private:
  void buildLadder();

  uint32_t sampleRate_ = 48000;
  CSMPTETime start_;
  uint64_t frameCount_ = 0;
  int width_ = 1;
  std::vector<double> ladder_;
  size_t zoom_ = 0;
  double first_ = 0;
};

}  // namespace vtq
