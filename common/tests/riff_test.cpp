#include "common/riff.h"

#include <gtest/gtest.h>

#include <sstream>

using common::ByteWriter;
using common::Endian;
namespace riff = common::riff;

namespace {

// A form header and chunks given as (id, size, data); the data are padded to
// even as the formats write them.
std::vector<uint8_t> form(Endian endian, std::string_view group, std::string_view type,
                          const std::vector<std::tuple<std::string, uint32_t, std::vector<uint8_t>>>& chunks) {
  ByteWriter w(endian);
  w.text(group);
  w.u32(0);
  w.text(type);
  for (const auto& [id, size, data] : chunks) {
    w.text(id);
    w.u32(size);
    w.bytes(data);
    if (data.size() % 2) w.u8(0);
  }
  return w.take();
}

}  // namespace

TEST(RiffFileChunks, FindsChunksInAnyOrderUnderEachRule) {
  // "odd " has 3 bytes and a pad byte: stepping by the stored size lands on
  // the pad byte and misreads what follows.
  const auto wave =
      form(Endian::Little, "RIFF", "WAVE", {{"odd ", 3, {1, 2, 3}}, {"data", 2, {9, 9}}, {"fmt ", 2, {7, 7}}});
  riff::FileChunks chunks(wave, riff::kWaveRules);
  ASSERT_TRUE(chunks.find("fmt "));
  EXPECT_EQ(chunks.find("fmt ")->offset, 34u);
  EXPECT_EQ(chunks.find("data")->dataOffset(), 32u);
  EXPECT_FALSE(riff::FileChunks(wave, {Endian::Little, riff::Padding::AsStored}).find("data"));

  const auto aiff = form(Endian::Big, "FORM", "AIFF", {{"COMM", 2, {0, 1}}});
  const auto comm = riff::FileChunks(aiff, riff::kAiffRules).find("COMM");
  ASSERT_TRUE(comm);
  EXPECT_EQ(comm->size, 2u);
  EXPECT_TRUE(riff::hasFormHeader(aiff, "FORM", "AIFF"));
  EXPECT_FALSE(riff::hasFormHeader(aiff, "FORM", "AIFC"));
}

TEST(RiffFileChunks, WalksInOrderAndClampsBodiesToTheFile) {
  auto file = form(Endian::Little, "RIFF", "WAVE", {{"a   ", 1, {5}}, {"b   ", 0xFFFFFFFF, {1, 2, 3}}});
  riff::FileChunks chunks(file, riff::kWaveRules);
  const auto a = chunks.next();
  const auto b = chunks.next();
  ASSERT_TRUE(a && b);
  EXPECT_TRUE(a->is("a   "));
  EXPECT_EQ(b->offset, 22u);
  EXPECT_TRUE(b->sizeToEnd());
  EXPECT_EQ(chunks.body(*a).size(), 1u);
  EXPECT_EQ(chunks.body(*b).size(), 4u);  // the data and the pad byte the file ends with
  EXPECT_EQ(chunks.rest(*a).size(), file.size() - 20);
  EXPECT_FALSE(chunks.next());
}

TEST(RiffStreamChunks, ReadsKeptBytesSkipsTheRestAndNamesWhereTheStreamEnded) {
  const auto file = form(Endian::Little, "RIFF", "WAVE", {{"fmt ", 5, {1, 2, 3, 4, 5}}, {"data", 4, {6, 7}}});
  std::istringstream in(std::string(file.begin(), file.end()));
  riff::StreamChunks chunks(in);
  const auto head = chunks.readForm();
  ASSERT_TRUE(head);
  EXPECT_TRUE(head->is("RIFF", "WAVE"));
  const auto fmt = chunks.next();
  ASSERT_TRUE(fmt);
  const auto kept = chunks.readBody(*fmt, 2);
  ASSERT_TRUE(kept);
  EXPECT_EQ(*kept, (std::vector<uint8_t>{1, 2}));
  EXPECT_EQ(chunks.offset(), 26u);  // past the pad byte
  const auto data = chunks.next();
  ASSERT_TRUE(data);
  EXPECT_EQ(data->offset, 26u);
  const auto cut = chunks.skipBody(*data);
  ASSERT_FALSE(cut);
  EXPECT_EQ(cut.error().offset, 36u);
  EXPECT_EQ(cut.error().text(), "at byte 36: the stream ends inside the chunk");
  EXPECT_FALSE(chunks.next());
  EXPECT_EQ((common::ReadError{"mix.wav", {}, 3, "why"}).text(), "mix.wav:3: why");
}

TEST(RiffWaveFormat, ReadsThePlainAndTheExtensibleRecord) {
  const std::vector<uint8_t> plain{1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 2, 0, 4, 0, 16, 0};
  const auto f = riff::parseWaveFormat(plain, 20);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->tag, 1);
  EXPECT_EQ(f->channels, 2);
  EXPECT_EQ(f->sampleRate, 44100u);
  EXPECT_EQ(f->byteRate, 176400u);
  EXPECT_EQ(f->blockAlign, 4);
  EXPECT_EQ(f->bitsPerSample, 16);
  EXPECT_FALSE(f->subFormatTag());

  std::vector<uint8_t> ext = plain;
  ext[0] = 0xFE, ext[1] = 0xFF;
  const std::vector<uint8_t> tail{22, 0, 20,   0, 3,    0, 0, 0,    1, 0,    0,    0,
                                  0,  0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
  ext.insert(ext.end(), tail.begin(), tail.end());
  const auto e = riff::parseWaveFormat(ext, 20);
  ASSERT_TRUE(e && e->extended);
  EXPECT_EQ(e->validBits, 20);
  EXPECT_EQ(e->channelMask, 3u);
  EXPECT_EQ(e->subFormatTag(), 1);
  ext[30] = 0x11;  // another GUID
  EXPECT_FALSE(riff::parseWaveFormat(ext, 20)->subFormatTag());
  EXPECT_FALSE(riff::parseWaveFormat(std::span(ext).first(39), 20)->extended);

  const auto shortRecord = riff::parseWaveFormat(std::span(plain).first(14), 20);
  ASSERT_FALSE(shortRecord);
  EXPECT_EQ(shortRecord.error().text(), "at byte 34: the format record has 14 bytes, fewer than 16");
}

TEST(RiffWaveFormat, WritesTheHeaderOfAPcmFileAndReadsItBack) {
  ByteWriter w(Endian::Big);  // the header is little-endian whatever the writer's order
  riff::writePcmHeader(w, riff::pcmFormat(48000, 16, 1), 0);
  w.u16(0x0102);
  riff::patchPcmSizes(w, 2);
  const std::vector<uint8_t> expected{'R', 'I', 'F', 'F', 38,  0,   0,   0,   'W',  'A',  'V', 'E', 'f', 'm',  't', ' ',
                                      16,  0,   0,   0,   1,   0,   1,   0,   0x80, 0xBB, 0,   0,   0,   0x77, 1,   0,
                                      2,   0,   16,  0,   'd', 'a', 't', 'a', 2,    0,    0,   0,   1,   2};
  EXPECT_EQ(w.data(), expected);

  riff::WaveFormat ext = riff::pcmFormat(44100, 24, 2);
  ext.tag = riff::kFormatExtensible;
  ext.extended = true;
  ext.subFormat = {1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
  ByteWriter x;
  riff::writePcmHeader(x, ext, 6);
  riff::FileChunks chunks(x.data(), riff::kWaveRules);
  const auto fmt = chunks.find("fmt ");
  ASSERT_TRUE(fmt);
  EXPECT_EQ(fmt->size, 40u);
  const auto back = riff::parseWaveFormat(chunks.body(*fmt), fmt->dataOffset());
  ASSERT_TRUE(back);
  EXPECT_EQ(back->subFormatTag(), 1);
  EXPECT_EQ(back->blockAlign, 6);
  EXPECT_EQ(common::loadU32(x.data().data() + 4, Endian::Little), x.size() + 6 - 8);
}
