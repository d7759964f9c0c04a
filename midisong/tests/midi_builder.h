// Builds Standard MIDI Files byte by byte for the tests, straight from the
// file format (independent of the reader under test).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

namespace midisong_test {

using Bytes = std::vector<uint8_t>;

// The events of one "MTrk" chunk. Each event method takes the delta time
// before it; end() appends the end-of-track meta event.
class TrackBuilder {
 public:
  TrackBuilder& raw(std::initializer_list<uint8_t> bytes);
  TrackBuilder& delta(uint32_t ticks);  // a variable-length quantity
  TrackBuilder& on(uint32_t dt, uint8_t channel, uint8_t key, uint8_t velocity);
  TrackBuilder& off(uint32_t dt, uint8_t channel, uint8_t key);
  TrackBuilder& program(uint32_t dt, uint8_t channel, uint8_t program);
  TrackBuilder& control(uint32_t dt, uint8_t channel, uint8_t controller, uint8_t value);
  TrackBuilder& pressure(uint32_t dt, uint8_t channel, uint8_t value);
  TrackBuilder& bend(uint32_t dt, uint8_t channel, uint8_t lsb, uint8_t msb);
  TrackBuilder& tempo(uint32_t dt, uint32_t microsecondsPerBeat);
  TrackBuilder& meta(uint32_t dt, uint8_t type, const Bytes& data);
  TrackBuilder& end(uint32_t dt = 0);

  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_;
};

class MidiBuilder {
 public:
  MidiBuilder(uint16_t format, uint16_t division) : format_(format), division_(division) {}

  TrackBuilder& track();  // a new track chunk
  // Overrides the header's track count (default: the chunks added).
  MidiBuilder& headerTracks(uint16_t count) {
    headerTracks_ = count;
    return *this;
  }
  // Overrides the chunk length fields (default: the true lengths).
  MidiBuilder& chunkLength(uint32_t length) {
    chunkLength_ = length;
    return *this;
  }
  Bytes bytes() const;

 private:
  uint16_t format_;
  uint16_t division_;
  std::optional<uint16_t> headerTracks_;
  std::optional<uint32_t> chunkLength_;
  std::vector<TrackBuilder> tracks_;
};

// Big-endian helpers for expected song bytes.
void putTag(Bytes& b, const char (&tag)[5]);
void put16(Bytes& b, uint16_t v);
void put32(Bytes& b, uint32_t v);
void putLe16(Bytes& b, uint16_t v);
void putLe32(Bytes& b, uint32_t v);

}  // namespace midisong_test
