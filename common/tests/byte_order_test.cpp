#include "common/byte_order.h"

#include <gtest/gtest.h>

using common::ByteReader;
using common::ByteWriter;
using common::Endian;

TEST(ByteWriter, WritesEachWidthInTheChosenOrder) {
  ByteWriter le(Endian::Little);
  le.u8(0x01);
  le.u16(0x0302);
  le.u32(0x07060504);
  le.s16(-2);
  EXPECT_EQ(le.data(), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 0xFE, 0xFF}));

  ByteWriter be(Endian::Big);
  be.u16(0x0102);
  be.u32(0x03040506);
  be.s32(-1);
  EXPECT_EQ(be.data(), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(ByteWriter, PadsPatchesAndFillsFixedFields) {
  ByteWriter w(Endian::Big);
  w.u8(9);
  w.padTo(4);
  EXPECT_EQ(w.size(), 4u);
  w.padTo(4);
  EXPECT_EQ(w.size(), 4u);
  w.fixedText("ab", 4);
  w.fixedText("abcdef", 3);
  w.patchU16(1, 0xA1B2);
  EXPECT_EQ(w.data(), (std::vector<uint8_t>{9, 0xA1, 0xB2, 0, 'a', 'b', 0, 0, 'a', 'b', 'c'}));
  EXPECT_THROW(w.patchU32(8, 1), std::out_of_range);
}

TEST(ByteReader, ReadsValuesAndStopsWithAStickyErrorNamingTheOffset) {
  const std::vector<uint8_t> data{0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xFF};
  ByteReader r(data, Endian::Little);
  EXPECT_EQ(r.u16(), 0x1234);
  EXPECT_EQ(r.u32(), 0x12345678u);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.u16(), 0);  // only one byte left
  EXPECT_FALSE(r.ok());
  EXPECT_NE(r.error().find("offset 6"), std::string::npos) << r.error();
  EXPECT_EQ(r.u8(), 0);  // sticky: nothing more is read
  EXPECT_TRUE(r.bytes(1).empty());

  ByteReader be(data, Endian::Big);
  EXPECT_EQ(be.u16(), 0x3412);
  be.seek(6);
  EXPECT_EQ(be.s8(), -1);
  be.seek(8);
  EXPECT_FALSE(be.ok());
}
