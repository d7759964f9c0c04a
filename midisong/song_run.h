// The state of one mid2trk run: release, target, byte order and the outputs.
// Created in main (or by a test, or by a program that links the writers) and
// passed by reference to every phase.
#pragma once

#include <cstdarg>
#include <string>

#include "common/byte_order.h"
#include "common/output.h"
#include "release_profile.h"

namespace midisong {

enum class Target { GameBoy, Advance, Nintendo64, Dolphin };

// Song time units per beat and the rule for relevant events follow from this.
enum class TargetFamily { Handheld, Console };

constexpr TargetFamily familyOf(Target t) {
  return t == Target::GameBoy || t == Target::Advance ? TargetFamily::Handheld : TargetFamily::Console;
}

struct SongRun {
  SongRun(const ReleaseProfile& releaseProfile, common::Output& standardOutput, common::Output& standardError)
      : release(releaseProfile), out(standardOutput), err(standardError) {}

  const ReleaseProfile& release;
  common::Output& out;
  common::Output& err;
  std::string program;  // the running program's name, which temporary files carry
  Target target = Target::GameBoy;
  common::Endian endian = common::Endian::Big;

  // The text of a message as this release words it.
  std::string_view text(int number) const;
  // Prints a message, its printf arguments filled in, and a line end.
  void say(int number, ...);
  // Prints a message as it stands, without a line end.
  void sayBare(int number, ...);

 private:
  std::string formatMessage(int number, va_list args) const;
};

}  // namespace midisong
