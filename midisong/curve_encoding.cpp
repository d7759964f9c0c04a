#include "curve_encoding.h"

#include "song_layout.h"

namespace midisong {
namespace {

constexpr uint32_t kLongestStep = 0x7FFF;
constexpr uint32_t kShortStepMax = 0x7F;
constexpr int kShortChangeMin = -63;
constexpr int kShortChangeMax = 62;
constexpr uint8_t kTwoBytes = 0x80;

}  // namespace

void Curve::add(uint32_t time, uint16_t value) {
  if (sameTime_ == SameTime::Merge && !points_.empty() && points_.back().time == time) {
    points_.back().value |= value;
    return;
  }
  if (points_.size() < n64::kMaxCurvePoints) points_.push_back(CurvePoint{time, value});
}

void writeCurve(common::ByteWriter& w, const std::vector<CurvePoint>& points, uint16_t initial) {
  uint32_t previousTime = 0;
  uint16_t previousValue = initial;
  for (size_t i = 0; i < points.size(); ++i) {
    const CurvePoint& p = points[i];
    uint32_t step = p.time - previousTime;
    // A second point on one time says nothing new, unless it ends the curve.
    if (step == 0 && i != 0 && i + 1 != points.size()) continue;
    while (step > kLongestStep) {
      w.u8(0xFF);
      w.u8(0xFF);
      w.u8(0x00);
      step -= kLongestStep;
    }
    if (step <= kShortStepMax) {
      w.u8(uint8_t(step));
    } else {
      w.u8(uint8_t((step >> 8) | kTwoBytes));
      w.u8(uint8_t(step));
    }
    const int change = int16_t(uint16_t(p.value - previousValue));
    if (change >= kShortChangeMin && change <= kShortChangeMax) {
      w.u8(uint8_t(change & 0x7F));
    } else {
      w.u8(uint8_t((change >> 8) | kTwoBytes));
      w.u8(uint8_t(change));
    }
    previousTime = p.time;
    previousValue = p.value;
  }
  w.u8(0x80);
  w.u8(0x00);
}

}  // namespace midisong
