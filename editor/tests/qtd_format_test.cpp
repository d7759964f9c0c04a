// The .qtd format. Expected bytes are assembled here field by field from the
// format's rules.
#include <gtest/gtest.h>

#include "common/byte_order.h"
#include "common/testing/cli_run.h"
#include "core/command_codes.h"
#include "core/document.h"
#include "core/qtd_format.h"

using namespace vtq;
using testing_support::TempDir;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }
Bytes le32(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }
Bytes newClass(const std::string& name) {
  return Bytes{0xFF, 0xFF, 0x01, 0x00, uint8_t(name.size()), 0x00} + text(name);
}

std::unique_ptr<CCommand> keepAlive(uint32_t frames, const std::string& fileName, const std::string& byteCode) {
  auto command = std::make_unique<CCommand>();
  command->setLoadedFields(CSMPTETime(frames), CSMPTETime(frames), 0, 0, kKeepAlive, fileName, byteCode);
  return command;
}

// The example document: KEEP_ALIVE at 00:00:10:00 with a 15-character file
// name, at 44100 Hz; `backReference` fills the former document pointer.
Bytes exampleDocument(const Bytes& backReference = {0, 0, 0, 0}) {
  return Bytes{0x01, 0x00} + newClass("CCommand") + Bytes{0xFA, 0, 0, 0, 0xFA, 0, 0, 0} + newClass("CParam") +
         Bytes{0, 0, 0, 0, 0x00, 0x10} + backReference + Bytes{0x0F} + text("abc00001000.wav") + Bytes{0x04} +
         text("0x10") + Bytes{0x44, 0xAC, 0x00, 0x00};
}

}  // namespace

TEST(QtdFormat, ExampleDocumentByteForByte) {
  CCmdArray commands;
  commands.append(keepAlive(250, "abc00001000.wav", "0x10"));
  EXPECT_EQ(writeQtd(commands, 44100), exampleDocument());
}

TEST(QtdFormat, EmptyDocumentsAreSixBytes) {
  EXPECT_EQ(writeQtd(CCmdArray(), 44100), (Bytes{0x00, 0x00, 0x44, 0xAC, 0x00, 0x00}));
  EXPECT_EQ(writeQtd(CCmdArray(), 48000), (Bytes{0x00, 0x00, 0x80, 0xBB, 0x00, 0x00}));
}

TEST(QtdFormat, BackReferenceBytesMeanNothing) {
  for (const Bytes& junk : {Bytes{0, 0, 0, 0}, Bytes{0xDE, 0xAD, 0xBE, 0xEF}, Bytes{0xFF, 0xFF, 0xFF, 0xFF}}) {
    QtdContent content;
    ArchiveError error;
    ASSERT_TRUE(readQtd(exampleDocument(junk), content, error)) << error.detail;
    ASSERT_EQ(content.commands.size(), 1u);
    const CCommand& c = *content.commands.at(0);
    EXPECT_EQ(c.insertTime().text(), "00:00:10:00");
    EXPECT_EQ(c.fileName(), "abc00001000.wav");
    EXPECT_EQ(c.byteCodeText(), "0x10");
    EXPECT_EQ(content.sampleRate, 44100);
    EXPECT_EQ(writeQtd(content.commands, content.sampleRate), exampleDocument());
  }
}

TEST(QtdFormat, CommandsSharingClassesUseClassTags) {
  CCmdArray commands;
  commands.append(keepAlive(250, "a", "0x10"));
  auto sound = std::make_unique<CCommand>();
  sound->SetCommand(kPlaySound);
  static_cast<CPlaySound&>(sound->param()).soundId = 300;
  sound->MoveStart(CSMPTETime(275));
  sound->SetTimed(true);
  ASSERT_TRUE(sound->SetResponseTime(CSMPTETime(300)));
  sound->setRetransmissions(2);
  commands.append(std::move(sound));
  commands.append(keepAlive(500, "", ""));

  // Numbers: CCommand class 1, command 2, CParam class 3, parameter 4;
  // command 5 with CPlaySound class 6 and parameter 7; command 8, parameter 9.
  const Bytes expected = Bytes{0x03, 0x00} + newClass("CCommand") + le32(250) + le32(250) + newClass("CParam") +
                         le32(0) + Bytes{0x00, 0x10} + le32(0) + Bytes{0x01, 'a', 0x04} + text("0x10") +
                         Bytes{0x01, 0x80} + le32(275) + le32(300) + newClass("CPlaySound") + Bytes{0x2C, 0x01} +
                         le32(1) + Bytes{0x02, 0x22} + le32(0) + Bytes{0x00, 0x00} + Bytes{0x01, 0x80} + le32(500) +
                         le32(500) + Bytes{0x03, 0x80} + le32(0) + Bytes{0x00, 0x10} + le32(0) + Bytes{0x00, 0x00} +
                         le32(48000);
  EXPECT_EQ(writeQtd(commands, 48000), expected);

  QtdContent content;
  ArchiveError error;
  ASSERT_TRUE(readQtd(expected, content, error)) << error.detail;
  ASSERT_EQ(content.commands.size(), 3u);
  const CCommand& second = *content.commands.at(1);
  EXPECT_EQ(second.commandCode(), kPlaySound);
  EXPECT_EQ(static_cast<const CPlaySound&>(second.param()).soundId, 300);
  EXPECT_TRUE(second.isTimed());
  EXPECT_EQ(second.retransmissions(), 2);
  EXPECT_EQ(second.responseTime().frameCount(), 300);
  EXPECT_EQ(content.commands.at(2)->param().kind(), ParamKind::Plain);
}

TEST(QtdFormat, AnimationAndAbilityFieldOrder) {
  CCmdArray commands;
  auto animation = std::make_unique<CCommand>();
  animation->SetCommand(kShowAnimation);
  auto& a = static_cast<CAnimation&>(animation->param());
  a.pictureId = 0x1607;
  a.iconNumber = 3;
  a.mode = CAnimation::kIcon;
  commands.append(std::move(animation));
  auto ability = std::make_unique<CCommand>();
  ability->SetCommand(kDisableAbility);
  static_cast<CAbility&>(ability->param()).abilityId = 26;
  commands.append(std::move(ability));
  const Bytes expected = Bytes{0x02, 0x00} + newClass("CCommand") + le32(0) + le32(0) + newClass("CAnimation") +
                         Bytes{0x07, 0x16, 0x03, 0x40} + le32(0) + Bytes{0x00, 0x53} + le32(0) + Bytes{0, 0} +
                         Bytes{0x01, 0x80} + le32(0) + le32(0) + newClass("CAbility") + Bytes{26} + le32(0) +
                         Bytes{0x00, 0x81} + le32(0) + Bytes{0, 0} + le32(44100);
  EXPECT_EQ(writeQtd(commands, 44100), expected);
}

TEST(QtdFormat, StringLengthPrefixes) {
  const std::pair<size_t, Bytes> cases[] = {
      {0, {0x00}},
      {254, {0xFE}},
      {255, {0xFF, 0xFF, 0x00}},
      {300, {0xFF, 0x2C, 0x01}},
      {0xFFFD, {0xFF, 0xFD, 0xFF}},
      {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
      {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
  };
  for (const auto& [length, prefix] : cases) {
    CCmdArray commands;
    commands.append(keepAlive(0, std::string(length, 'n'), "0x10"));
    const Bytes bytes = writeQtd(commands, 44100);
    // Count 2, CCommand class 14, times 8, CParam class 12, fields 10.
    const size_t at = 2 + 14 + 8 + 12 + 10;
    ASSERT_GT(bytes.size(), at + prefix.size());
    EXPECT_EQ(Bytes(bytes.begin() + at, bytes.begin() + std::ptrdiff_t(at + prefix.size())), prefix) << length;
    EXPECT_EQ(bytes.size(), at + prefix.size() + length + 5 + 4);
    QtdContent content;
    ArchiveError error;
    ASSERT_TRUE(readQtd(bytes, content, error)) << error.detail;
    EXPECT_EQ(content.commands.at(0)->fileName(), std::string(length, 'n'));
  }
}

TEST(QtdFormat, LongCountsAndEscapedClassTags) {
  // 20,000 KEEP_ALIVE commands take the numbers 1 to 40,002; then a PLAY_SOUND
  // (command 40,003, class CPlaySound 40,004, parameter 40,005), and another
  // whose parameter's class number needs the 0x7FFF escape.
  CCmdArray commands;
  for (uint32_t i = 0; i < 20000; ++i) commands.append(keepAlive(i, "", ""));
  for (int i = 0; i < 2; ++i) {
    auto sound = std::make_unique<CCommand>();
    sound->SetCommand(kPlaySound);
    static_cast<CPlaySound&>(sound->param()).soundId = uint16_t(7 + i);
    commands.append(std::move(sound));
  }
  const Bytes bytes = writeQtd(commands, 44100);
  const Bytes lastRecord = Bytes{0x01, 0x80} + le32(0) + le32(0) + Bytes{0xFF, 0x7F} + le32(0x80000000u + 40004) +
                           Bytes{0x08, 0x00} + le32(0) + Bytes{0x00, 0x22} + le32(0) + Bytes{0, 0} + le32(44100);
  ASSERT_GT(bytes.size(), lastRecord.size());
  EXPECT_EQ(Bytes(bytes.end() - std::ptrdiff_t(lastRecord.size()), bytes.end()), lastRecord);

  QtdContent content;
  ArchiveError error;
  ASSERT_TRUE(readQtd(bytes, content, error)) << error.detail;
  ASSERT_EQ(content.commands.size(), 20002u);
  EXPECT_EQ(static_cast<const CPlaySound&>(content.commands.at(20001)->param()).soundId, 8);

  // A reference to command 40,001 (the 20,000th) through the escape.
  Bytes withReference(bytes.begin(), bytes.end() - 4);
  withReference[0] = 0x23;  // 20,003 commands
  withReference[1] = 0x4E;
  withReference = withReference + Bytes{0xFF, 0x7F} + le32(40001) + le32(44100);
  ASSERT_TRUE(readQtd(withReference, content, error)) << error.detail;
  ASSERT_EQ(content.commands.size(), 20003u);
  EXPECT_EQ(content.commands.at(20002)->insertTime().frameCount(), 19999);

  // 65,535 commands and more: 0xFFFF and a 32-bit count.
  CCmdArray many;
  for (uint32_t i = 0; i < 0xFFFF; ++i) many.append(keepAlive(i, "", ""));
  const Bytes manyBytes = writeQtd(many, 44100);
  EXPECT_EQ(Bytes(manyBytes.begin(), manyBytes.begin() + 6), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
  ASSERT_TRUE(readQtd(manyBytes, content, error)) << error.detail;
  EXPECT_EQ(content.commands.size(), 0xFFFFu);
}

TEST(QtdFormat, ReferencesToObjectsReadBeforeBecomeCopies) {
  // Command 2 with CAbility 4 (ability 11); command 5 whose parameter refers to
  // object 4; then a list entry that refers to command 2.
  const Bytes bytes = Bytes{0x03, 0x00} + newClass("CCommand") + le32(25) + le32(25) + newClass("CAbility") +
                      Bytes{11} + le32(0) + Bytes{0x00, 0x71} + le32(0) + Bytes{0x01, 'x', 0x00} + Bytes{0x01, 0x80} +
                      le32(50) + le32(50) + Bytes{0x04, 0x00} + le32(0) + Bytes{0x00, 0x91} + le32(0) +
                      Bytes{0x00, 0x00} + Bytes{0x02, 0x00} + le32(48000);
  QtdContent content;
  ArchiveError error;
  ASSERT_TRUE(readQtd(bytes, content, error)) << error.detail;
  ASSERT_EQ(content.commands.size(), 3u);
  const auto ability = [&](size_t i) {
    return static_cast<const CAbility&>(content.commands.at(i)->param()).abilityId;
  };
  EXPECT_EQ(ability(0), 11);
  EXPECT_EQ(ability(1), 11);
  EXPECT_EQ(content.commands.at(1)->commandCode(), kSelectAbility);
  EXPECT_EQ(content.commands.at(2)->insertTime().frameCount(), 25);
  EXPECT_EQ(content.commands.at(2)->fileName(), "x");
  EXPECT_NE(&content.commands.at(0)->param(), &content.commands.at(1)->param());
  EXPECT_NE(content.commands.at(0), content.commands.at(2));
  EXPECT_EQ(content.sampleRate, 48000);
}

TEST(QtdFormat, BrokenFilesAreRefusedWithTheEditorsMessages) {
  const Bytes commandStart = Bytes{0x01, 0x00} + newClass("CCommand") + le32(0) + le32(0);
  const Bytes commandEnd = le32(0) + Bytes{0x00, 0x10} + le32(0) + Bytes{0x00, 0x00} + le32(44100);
  struct Case {
    const char* what;
    Bytes bytes;
    const char* message;
  };
  const Case cases[] = {
      {"empty file", {}, "Unexpected file format."},
      {"count only", {0x01, 0x00}, "Unexpected file format."},
      {"no sample rate", {0x00, 0x00, 0x44, 0xAC}, "Unexpected file format."},
      {"unknown class", Bytes{0x01, 0x00} + newClass("CThing"), "%1 contained an unexpected object."},
      {"wrong schema", Bytes{0x01, 0x00, 0xFF, 0xFF, 0x02, 0x00, 0x08, 0x00} + text("CCommand"),
       "%1 contains an incorrect schema."},
      {"parameter in the list", Bytes{0x01, 0x00} + newClass("CParam"), "%1 contained an unexpected object."},
      {"null in the list", {0x01, 0x00, 0x00, 0x00, 0x44, 0xAC, 0x00, 0x00}, "%1 contained an unexpected object."},
      {"command as parameter", commandStart + Bytes{0x01, 0x80}, "%1 contained an unexpected object."},
      {"reference to the command itself", commandStart + Bytes{0x02, 0x00}, "%1 contained an unexpected object."},
      {"null parameter", commandStart + Bytes{0x00, 0x00} + commandEnd, "%1 contained an unexpected object."},
      {"reference to an unread object", commandStart + Bytes{0x09, 0x00} + commandEnd, "Unexpected file format."},
      {"reference to a class", commandStart + Bytes{0x01, 0x00} + commandEnd, "Unexpected file format."},
      {"unknown class number", commandStart + Bytes{0x05, 0x80} + commandEnd, "Unexpected file format."},
      {"class number 0", commandStart + Bytes{0x00, 0x80} + commandEnd, "Unexpected file format."},
      {"string past the end",
       commandStart + newClass("CParam") + le32(0) + Bytes{0x00, 0x10} + le32(0) + Bytes{0x20, 'a'},
       "Unexpected file format."},
      {"wide-character string",
       commandStart + newClass("CParam") + le32(0) + Bytes{0x00, 0x10} + le32(0) + Bytes{0xFF, 0xFE, 0xFF, 0x00, 0x00} +
           le32(44100),
       "Unexpected file format."},
      {"class name too long", Bytes{0x01, 0x00, 0xFF, 0xFF, 0x01, 0x00, 0x40, 0x00} + Bytes(64, 'C'),
       "%1 contained an unexpected object."},
      {"a count of four billion", Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "Unexpected file format."},
  };
  for (const Case& c : cases) {
    TempDir dir;
    dir.write("bad.qtd", c.bytes);
    CQuorlinVTQEditorDoc document;
    DocumentError error;
    ASSERT_TRUE(document.newDocument(dir / "good.qtd", error));
    EXPECT_FALSE(document.openDocument(dir / "bad.qtd", error)) << c.what;
    EXPECT_EQ(error.message, messageForFile(c.message, dir / "bad.qtd")) << c.what << ": " << error.detail;
    EXPECT_NE(error.detail.find("bad.qtd at byte"), std::string::npos) << error.detail;
    EXPECT_EQ(document.title(), "good.qtd") << "a failed open keeps the document";
  }
}

TEST(QtdFormat, MissingFileFailsToOpen) {
  TempDir dir;
  CQuorlinVTQEditorDoc document;
  DocumentError error;
  EXPECT_FALSE(document.openDocument(dir / "none.qtd", error));
  EXPECT_EQ(error.message, "Failed to open document.");
  EXPECT_NE(error.detail.find("none.qtd"), std::string::npos);
}

TEST(QtdFormat, ReferencesCannotMultiplyALongString) {
  // One command with a 60,000-character file name, then 20,000 two-byte
  // references to it: copying them all would take 1.2 GB.
  const Bytes bytes = Bytes{0x21, 0x4E} + newClass("CCommand") + le32(0) + le32(0) + newClass("CParam") + le32(0) +
                      Bytes{0x00, 0x10} + le32(0) + Bytes{0xFF, 0x60, 0xEA} + Bytes(60000, 'n') + Bytes{0x00};
  Bytes withReferences = bytes;
  for (int i = 0; i < 20000; ++i) withReferences.insert(withReferences.end(), {0x02, 0x00});
  withReferences = withReferences + le32(44100);
  QtdContent content;
  ArchiveError error;
  EXPECT_FALSE(readQtd(withReferences, content, error));
  EXPECT_EQ(error.kind, ArchiveErrorKind::Format);
  EXPECT_NE(error.detail.find("references"), std::string::npos) << error.detail;
  EXPECT_EQ(content.commands.size(), 0u);
}
