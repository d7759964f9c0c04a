#include "midi_builder.h"

namespace midisong_test {

TrackBuilder& TrackBuilder::raw(std::initializer_list<uint8_t> bytes) {
  bytes_.insert(bytes_.end(), bytes);
  return *this;
}

TrackBuilder& TrackBuilder::delta(uint32_t ticks) {
  uint8_t groups[5];
  int n = 0;
  do {
    groups[n++] = uint8_t(ticks & 0x7F);
    ticks >>= 7;
  } while (ticks != 0);
  while (n-- > 0) bytes_.push_back(uint8_t(groups[n] | (n > 0 ? 0x80 : 0)));
  return *this;
}

TrackBuilder& TrackBuilder::on(uint32_t dt, uint8_t channel, uint8_t key, uint8_t velocity) {
  return delta(dt).raw({uint8_t(0x90 | channel), key, velocity});
}
TrackBuilder& TrackBuilder::off(uint32_t dt, uint8_t channel, uint8_t key) {
  return delta(dt).raw({uint8_t(0x80 | channel), key, 64});
}
TrackBuilder& TrackBuilder::program(uint32_t dt, uint8_t channel, uint8_t program) {
  return delta(dt).raw({uint8_t(0xC0 | channel), program});
}
TrackBuilder& TrackBuilder::control(uint32_t dt, uint8_t channel, uint8_t controller, uint8_t value) {
  return delta(dt).raw({uint8_t(0xB0 | channel), controller, value});
}
TrackBuilder& TrackBuilder::pressure(uint32_t dt, uint8_t channel, uint8_t value) {
  return delta(dt).raw({uint8_t(0xD0 | channel), value});
}
TrackBuilder& TrackBuilder::bend(uint32_t dt, uint8_t channel, uint8_t lsb, uint8_t msb) {
  return delta(dt).raw({uint8_t(0xE0 | channel), lsb, msb});
}
TrackBuilder& TrackBuilder::tempo(uint32_t dt, uint32_t us) {
  return delta(dt).raw({0xFF, 0x51, 0x03, uint8_t(us >> 16), uint8_t(us >> 8), uint8_t(us)});
}
TrackBuilder& TrackBuilder::meta(uint32_t dt, uint8_t type, const Bytes& data) {
  delta(dt).raw({0xFF, type}).delta(uint32_t(data.size()));
  bytes_.insert(bytes_.end(), data.begin(), data.end());
  return *this;
}
TrackBuilder& TrackBuilder::end(uint32_t dt) { return delta(dt).raw({0xFF, 0x2F, 0x00}); }

TrackBuilder& MidiBuilder::track() { return tracks_.emplace_back(); }

// Bytes are appended one by one: g++ 12 at -O3 takes the inserts of short
// lists into a freshly built vector for reads past their source
// (-Warray-bounds).
Bytes MidiBuilder::bytes() const {
  Bytes b;
  putTag(b, "MThd");
  put32(b, 6);
  put16(b, format_);
  put16(b, headerTracks_ ? *headerTracks_ : uint16_t(tracks_.size()));
  put16(b, division_);
  for (const TrackBuilder& t : tracks_) {
    putTag(b, "MTrk");
    put32(b, chunkLength_ ? *chunkLength_ : uint32_t(t.bytes().size()));
    b.insert(b.end(), t.bytes().begin(), t.bytes().end());
  }
  return b;
}

void putTag(Bytes& b, const char (&tag)[5]) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(tag[i]));
}
void put16(Bytes& b, uint16_t v) {
  for (int shift = 8; shift >= 0; shift -= 8) b.push_back(uint8_t(v >> shift));
}
void put32(Bytes& b, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) b.push_back(uint8_t(v >> shift));
}
void putLe16(Bytes& b, uint16_t v) {
  for (int shift = 0; shift <= 8; shift += 8) b.push_back(uint8_t(v >> shift));
}
void putLe32(Bytes& b, uint32_t v) {
  for (int shift = 0; shift <= 24; shift += 8) b.push_back(uint8_t(v >> shift));
}

}  // namespace midisong_test
