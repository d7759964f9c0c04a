// Pitch-bend and modulation curves of Nintendo 64 and Dolphin patterns.
#pragma once

#include <cstdint>
#include <vector>

#include "common/byte_order.h"

namespace midisong {

struct CurvePoint {
  uint32_t time;  // song units from the pattern's start
  uint16_t value;
};

// Collects the points of one curve of a pattern.
class Curve {
 public:
  enum class SameTime { Separate, Merge };

  explicit Curve(SameTime sameTime) : sameTime_(sameTime) {}

  // Adds a point; with Merge, a point on the time of the previous one is
  // merged into it by a bitwise OR (controllers 1 and 33 on one tick give one
  // 14-bit value). Points past the 65536th are dropped.
  void add(uint32_t time, uint16_t value);
  const std::vector<CurvePoint>& points() const { return points_; }
  bool empty() const { return points_.empty(); }

 private:
  SameTime sameTime_;
  std::vector<CurvePoint> points_;
};

// Encodes the points as time and value differences from time 0 and `initial`,
// closed by 0x80 0x00.
void writeCurve(common::ByteWriter& w, const std::vector<CurvePoint>& points, uint16_t initial);

}  // namespace midisong
