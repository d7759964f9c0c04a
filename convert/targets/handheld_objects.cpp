#include "convert/targets/handheld_objects.h"

#include <algorithm>

#include "common/byte_order.h"

namespace voconv {

using common::ByteReader;
using common::Endian;

std::vector<EffectObjectEntry> effectEntries(const TargetObject& group) {
  std::vector<EffectObjectEntry> entries;
  ByteReader r(group.payload, Endian::Little);
  for (std::size_t n = group.payload.size() / kEffectObjectEntryBytes; n > 0; --n) {
    EffectObjectEntry e;
    e.effectId = r.u16();
    e.objectId = r.u16();
    e.priority = r.u8();
    e.maxVoices = r.u8();
    e.velocity = r.u8();
    e.panning = r.u8();
    e.key = r.u8();
    r.skip(1);
    entries.push_back(e);
  }
  return entries;
}

PageObjectEntry pageEntry(const TargetObject& songGroup, std::size_t slot) {
  ByteReader r(songGroup.payload, Endian::Little);
  r.seek(slot * kPageObjectEntryBytes);
  PageObjectEntry e;
  e.objectId = r.u16();
  e.priority = r.u8();
  e.maxVoices = r.u8();
  e.drumMode = r.u8();
  return r.ok() ? e : PageObjectEntry{};
}

MidiSetupObject midiSetupObject(const TargetObject& setup) {
  MidiSetupObject s;
  ByteReader r(setup.payload, Endian::Little);
  const auto name = r.bytes(kMidiSetupNameBytes);
  s.name.assign(name.begin(), std::find(name.begin(), name.end(), uint8_t(0)));
  s.setupId = r.u16();
  for (ChannelSetup& ch : s.channels) {
    ch.prg = r.u8();
    ch.vol = r.u8();
    ch.pan = r.u8();
    ch.rev = r.u8();
    ch.cho = r.u8();
  }
  r.skip(2 + 4);  // padding, the setup ID again
  s.songGroup = r.u32();
  return s;
}

TableEnvelope tableEnvelope(const TargetObject& table) {
  const std::size_t kept = std::min<std::size_t>(8, table.payload.size());
  std::vector<uint8_t> head(table.payload.begin(), table.payload.begin() + long(kept));
  head.resize(8, 0);
  ByteReader r(head, Endian::Little);
  TableEnvelope t;
  t.attack = r.u16();
  t.decay = r.u16();
  t.sustain = r.u16();
  t.release = r.u16();
  return t;
}

convert::HandheldSample sampleFromObject(const TargetObject& sample) {
  convert::HandheldSample s;
  ByteReader r(sample.payload, Endian::Little);
  s.header.keyRate = r.u32();
  s.header.lengthType = r.u32();
  s.header.loopStart = r.u32();
  s.header.loopLength = r.u32();
  s.samples.resize(r.remaining() / 2);
  for (int16_t& v : s.samples) v = r.s16();
  return s;
}

void storeConvertedSample(TargetObject& object, const convert::HandheldSample& sample) {
  common::ByteWriter w(Endian::Little);
  sample.header.write(w);
  w.bytes(sample.data);
  object.payload = w.take();
}

}  // namespace voconv
