// The signal of one command's transmission, as its cue wave file holds it:
// 10 ms of silence, the packet, and for each retransmission 50 ms of silence
// and the packet again.
#pragma once

#include <cstdint>
#include <vector>

namespace vtq {

class CCommand;
class CCueWaveWriter;

constexpr uint32_t kLeadMilliseconds = 10;
constexpr uint32_t kRepeatGapMilliseconds = 50;

// Writes the transmission of `command` through `writer` (open at its rate).
void writeTransmission(const CCommand& command, CCueWaveWriter& writer);

// The samples of that transmission at `sampleRate` (44100 or 48000 Hz).
std::vector<int16_t> transmissionSamples(const CCommand& command, uint32_t sampleRate);

}  // namespace vtq
