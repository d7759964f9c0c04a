// Time codes at 25 frames a second (EBU), kept modulo one day.
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace vtq {

class CSMPTETime {
 public:
  static constexpr int32_t kFramesPerSecond = 25;
  static constexpr int32_t kFramesPerMinute = 60 * kFramesPerSecond;  // 1,500
  static constexpr int32_t kFramesPerHour = 60 * kFramesPerMinute;    // 90,000
  static constexpr int32_t kFramesPerDay = 24 * kFramesPerHour;       // 2,160,000

  constexpr CSMPTETime() = default;
  // A frame count since 00:00:00:00; wraps at one day.
  constexpr explicit CSMPTETime(uint32_t frames) : frames_(int32_t(frames % uint32_t(kFramesPerDay))) {}
  // Each field wraps by its own modulus, without carrying into the next one:
  // (25, 61, 61, 26) is 01:01:01:01.
  constexpr CSMPTETime(uint32_t h, uint32_t m, uint32_t s, uint32_t f)
      : frames_(int32_t(((s % 60) + (m % 60) * 60 + (h % 24) * 3600) * kFramesPerSecond + f % kFramesPerSecond)) {}

  constexpr int32_t frameCount() const { return frames_; }
  constexpr int hours() const { return frames_ / kFramesPerHour; }
  constexpr int minutes() const { return (frames_ % kFramesPerHour) / kFramesPerMinute; }
  constexpr int seconds() const { return (frames_ % kFramesPerMinute) / kFramesPerSecond; }
  constexpr int frames() const { return frames_ % kFramesPerSecond; }
  // Keeps hours, minutes and seconds and replaces the frame part by f mod 25.
  constexpr void setFrames(uint32_t f) { frames_ = frames_ - frames() + int32_t(f % kFramesPerSecond); }

  constexpr CSMPTETime& operator+=(CSMPTETime other) {
    frames_ = (frames_ + other.frames_) % kFramesPerDay;
    return *this;
  }
  friend constexpr CSMPTETime operator+(CSMPTETime a, CSMPTETime b) { return a += b; }
  // Modular difference: an earlier b gives the plain difference, a later b a
  // value close to 24 hours.
  friend constexpr CSMPTETime operator-(CSMPTETime a, CSMPTETime b) {
    const int32_t d = b.frames_ < a.frames_ ? a.frames_ - b.frames_ : a.frames_ - b.frames_ + kFramesPerDay;
    return CSMPTETime(uint32_t(d));
  }
  friend constexpr auto operator<=>(CSMPTETime, CSMPTETime) = default;

  // "hh:mm:ss:ff", as the list and the dialog show it.
  std::string text() const;
  // "hhmmssff", as wave file names carry it.
  std::string digits() const;
  // Reads text the way the dialog's time fields do: up to two digits per
  // field separated by colons; fields that are missing count as 0 and each
  // field wraps by its own modulus ("00:75:00:00" is 00:15:00:00).
  static CSMPTETime fromText(std::string_view text);

 private:
  int32_t frames_ = 0;
};

}  // namespace vtq
