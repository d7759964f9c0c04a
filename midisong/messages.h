// The numbered message table through which every part of mid2trk prints.
#pragma once

namespace midisong {

// Message numbers. Texts that begin with "***" are errors, the rest reports.
enum Message : int {
  kMsgFileReport = 1,
  kMsgSingleTrack = 2,
  kMsgSyncronous = 3,
  kMsgAsyncronous = 4,
  kMsgUnknownSysEx = 5,
  kMsgIllegalTrackData = 6,
  kMsgFiletypeNotSupported = 7,
  kMsgTooManyFileTracks = 8,
  kMsgNoMidiFile = 9,
  kMsgCannotOpenInput = 10,
  kMsgTwoLoopStarts = 11,
  kMsgTwoLoopEnds = 12,
  kMsgLoopEndNotAfterStart = 13,
  kMsgUnbalancedLoop = 14,
  kMsgNoPatternMemory = 15,
  kMsgNoTrackMemory = 16,
  kMsgUsedBpm = 17,
  kMsgInitialBpm = 18,
  kMsgNone = 19,
  kMsgNoteDistance = 20,
  kMsgCannotWrite = 21,
  kMsgTooManySongTracks = 22,
  kMsgIllegalOption = 23,
  kMsgTargetIs = 24,
  kMsgDone = 25,
  kMsgUsage = 26,
  kMsgMultipleLoops = 27,
  // Failures of damaged files, which the reader reports by file and position.
  kMsgEndInsideTrack = 28,
  kMsgZeroDivision = 29,
  kMsgZeroTempo = 30,
  kMsgSongTooLong = 31,
};

constexpr int kMessageCount = 31;

// The text of message `number` (1 to kMessageCount), or "" for any other number.
const char* messageText(int number);

}  // namespace midisong
