// Whole handheld conversions with the built voconv and voconv-1.15: a small
// project of one sample, one macro, one table, one effect and one MIDI setup.
// The expected bytes are worked out by hand from the layouts.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "common/byte_order.h"
#include "common/testing/cli_run.h"

using testing_support::CliResult;
using testing_support::programAlone;
using testing_support::runProgram;
using testing_support::TempDir;
using Bytes = std::vector<uint8_t>;

namespace {

enum class Console { GameBoy, Advance };

// 16-bit mono WAV at 8000 Hz (root key 60 when the file names none) with the
// samples 0x7FFF, 0, -0x8000, 0x1000.
Bytes wav() {
  common::ByteWriter w;
  w.text("RIFF"), w.u32(36 + 8), w.text("WAVEfmt "), w.u32(16);
  w.u16(1), w.u16(1), w.u32(8000), w.u32(16000), w.u16(2), w.u16(16);
  w.text("data"), w.u32(8), w.u16(0x7FFF), w.u16(0), w.u16(0x8000), w.u16(0x1000);
  return w.take();
}

// A folder with the project and a stand-in mid2trk that writes "SONG".
void writeProject(const TempDir& dir, Console console) {
  dir.write("d.txt", "[Project]\nMusic\nFx\n[Pool]\nMusic\nFx\n[Samples]\nMusic\nFx\n[Name]\nt\n[Include]\nt.inc\n");
  dir.write("s.txt",
            "[Samples]\n1,one.wav,0\n[Soundmacros]\n1,one.mac\n[Tables]\n1,one.tab\n"
            "[Songgroup]\nName=Music\nSoundmacro=1\nSample=1\nTable=1\nNormPageEntry=0,1,5,2,0\n"
            "MidiSetup\n{\nName=Intro\nFilename=intro.mid\nChannelsetup=1,0,100,64,0,0\n}\n"
            "[SFXgroup]\nName=Fx\nSFXEntry=0,1,10,2,127,64,60,Boom\nSoundmacro=1\n"
            // Not selected by the description; its song is made all the same.
            "[Songgroup]\nName=Extra\nMidiSetup\n{\nName=Bonus\nFilename=intro.mid\nChannelsetup=1,0,0,0,0,0\n}\n");
  dir.write("one.wav", wav());
  // Game Boy: voice 2 (11), sample 1 (38), END. Advance: SETVOICE 2 (0x16),
  // SMP_SELECT sample 1 (0x12), END.
  const Bytes gameBoy = {11, 2, 0, 0, 0, 0, 0, 0, 38, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  const Bytes advance = {0x16, 2, 0, 0, 0, 0, 0, 0, 0x12, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  dir.write("one.mac", console == Console::GameBoy ? gameBoy : advance);
  dir.write("one.tab", Bytes{5, 0, 200, 0, 0, 8, 44, 1});  // 5 ms, 200 ms, 2048, 300 ms
  dir.write("MIDIfiles/intro.mid", "MThd");
  dir.write("bin/mid2trk", "#!/bin/sh\nfor last; do :; done\nprintf SONG > \"$last\"\necho \"$*\" >> tool.log\n");
  ::chmod((dir / "bin/mid2trk").c_str(), 0755);
  dir.write("Old.song", "left by an earlier run");
}

CliResult convert(const TempDir& dir, const char* program, std::vector<std::string> args) {
  args.insert(args.end(), {"s.txt", "d.txt"});
  // The real mid2trk sits beside the built converter, where it looks first.
  return runProgram(programAlone(program), args, dir.path(), {}, {"PATH=" + (dir / "bin").string() + ":/usr/bin:/bin"});
}

std::string includeBody(const TempDir& dir) {
  const std::string text = dir.readText("t.inc");
  const size_t end = text.find(text[0] == '/' ? "*/\n\n" : ";\n\n", 3);
  return end == std::string::npos ? text : text.substr(end + (text[0] == '/' ? 4 : 3));
}

// The sample's 4-bit codes F 8 0 9, padded with code 7 to one 16-byte block.
Bytes gameBoySampleBlock() {
  Bytes block = {0xF8, 0x09};
  block.resize(16, 0x77);
  return block;
}

}  // namespace

TEST(HandheldCli, GameBoyWritesProjectPoolAndInclude) {
  for (const char* target : {"GB", "gb"}) {
    TempDir dir;
    writeProject(dir, Console::GameBoy);
    const CliResult r = convert(dir, VOCONV_EXE, {"-t", target});
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("Done.\nConverting to target format...\nDone.\n"), std::string::npos) << r.out;
    EXPECT_EQ(dir.readBytes("t.proj"),
              (Bytes{
                  0x16, 0x00, 0x1F, 0x00, 0x01, 0x23, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x29, 0x00, 0x01,  // header
                  0x02, 0x00, 0x0E, 0x02, 0x0C, 0x00, 0x00,                                                  // macro
                  0x02, 0x00, 0x00, 0x0F, 0x6B, 0xFF, 0x08, 0x8F, 0xFF,                                      // table
                  0x00, 0x0A, 0x3C, 0x0F,                                                                    // Boom
                  0x00, 0x40, 0x01, 0x00, 0x01, 0x01,  // sample at 1:4000
                  0x02, 0x00, 0x40,                    // preset at 2:4000
              }));
    // Sample block, zeros to the bank border, then the preset block: every
    // channel and page entry 0 name macro 0; the song follows.
    Bytes pool = gameBoySampleBlock();
    pool.resize(0x4000 + 132, 0);
    pool.insert(pool.end(), {'S', 'O', 'N', 'G'});
    EXPECT_EQ(dir.readBytes("t.pool"), pool);
    const std::string s = dir.readText("t.s");
    const std::string caps = std::string(target) == "gb" ? "\tCAPSOFF\n" : "\tCAPSON\n";
    const std::string folder = dir.path().string();
    EXPECT_EQ(s.substr(s.find("\tISDMG")),
              "\tISDMG\n" + caps + "\tOFFBANKGROUP\n\nVOCTA\t\tGROUP\n\t\tLIBBIN\t" + folder + "/t.proj\n\n" +
                  "VOCTA_DATA\tGROUP\n\t\tBINSET\t$0,$4000\n\t\tLIBBIN\t" + folder + "/t.pool\n\n" +
                  "\t\tOFFSET\t$c000\t\t\t; Wrap to next bank\n\t\tBINSET\t$4000,$88\n\t\tLIBBIN\t" + folder +
                  "/t.pool\n\n");
    EXPECT_EQ(includeBody(dir), "SFXID_Boom\tEQU\t0\nSONGID_Intro\tEQU\t0\n");
    // The song files this run made are gone, those of unselected setups too;
    // the one another run left stays.
    EXPECT_NE(dir.readText("tool.log").find("Bonus.song"), std::string::npos);
    EXPECT_FALSE(dir.exists("Intro.song"));
    EXPECT_FALSE(dir.exists("Bonus.song"));
    EXPECT_TRUE(dir.exists("Old.song"));
  }
}

TEST(HandheldCli, SlaveRomHoldsProjectPartAndSamples) {
  TempDir dir;
  writeProject(dir, Console::GameBoy);
  const CliResult r = convert(dir, VOCONV_EXE, {"-t", "GBSLAVE"});
  ASSERT_EQ(r.exitCode, 0) << r.out;
  Bytes rom = {0x11, 0x00, 0x13, 0x00, 0x00, 0x13, 0x00, 0x01, 0x01, 0x00,
               0x00, 0x00, 0x1D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,         // room of the offset tables
               0x00, 0x40, 0x01, 0x00, 0x01, 0x02, 0xE3, 0x7B, 0x3E, 0xFE};  // bank 2, CRC-32 (zlib)
  rom.resize(0x4000, 0);
  const Bytes block = gameBoySampleBlock();
  rom.insert(rom.end(), block.begin(), block.end());
  EXPECT_EQ(dir.readBytes("t.SLAVEROM"), rom);
  EXPECT_EQ(includeBody(dir), "");
  EXPECT_FALSE(dir.exists("tool.log"));
  EXPECT_EQ(dir.files(), (std::vector<std::string>{"MIDIfiles/intro.mid", "Old.song", "bin/mid2trk", "d.txt", "one.mac",
                                                   "one.tab", "one.wav", "s.txt", "t.SLAVEROM", "t.inc"}));
}

TEST(HandheldCli, AdvanceProjectFileInBothIncludeForms) {
  for (bool assembler : {false, true}) {
    TempDir dir;
    writeProject(dir, Console::Advance);
    std::vector<std::string> args = {"-t", "AGB"};
    if (assembler) args.push_back("-a");
    const CliResult r = convert(dir, VOCONV_EXE, args);
    ASSERT_EQ(r.exitCode, 0) << r.out;
    common::ByteWriter w;
    for (uint32_t v : {32u, 52u, 64u, 64u, 0u, 0u, 76u, 1128u}) w.u32(v);
    w.u32(36), w.bytes(Bytes{2, 0, 0, 0, 0x1F, 0, 0x0F, 0, 0, 0, 0, 0, 0, 0, 0, 0});  // voice 2
    w.u32(56), w.bytes(Bytes{0x00, 0xFF, 0x95, 0x0A, 0x00, 0x80, 0x1C, 0x07});
    w.u32(1), w.bytes(Bytes{0, 0, 10, 0xFF, 2, 127, 64, 60});
    w.u32(1), w.u32(84), w.zeros(16), w.bytes(Bytes{0, 0, 5, 2}), w.zeros(255 * 4), w.text("SONG");
    w.u32(1132), w.u32(4), w.u32(0xFFFFFFFF), w.u16(8000), w.u8(60), w.u8(0), w.u32(0);
    w.bytes(Bytes{0x7F, 0x00, 0x80, 0x10});  // each sample / 256
    EXPECT_EQ(dir.readBytes("t.proj"), w.data());
    EXPECT_EQ(includeBody(dir), assembler ? "SFXID_Boom\tEQU\t0\nSONGID_Intro\tEQU\t0\n"
                                          : "#define SFXID_Boom\t0\n#define SONGID_Intro\t0\n");
    EXPECT_FALSE(dir.exists("Intro.song"));
    EXPECT_FALSE(dir.exists("Bonus.song"));
    EXPECT_TRUE(dir.exists("Old.song"));
  }
}

TEST(HandheldCli, Release115WritesTheSameGameBoyFilesWithoutTheConversionLine) {
  TempDir current, old;
  writeProject(current, Console::GameBoy);
  writeProject(old, Console::GameBoy);
  ASSERT_EQ(convert(current, VOCONV_EXE, {"-t", "GB"}).exitCode, 0);
  const CliResult r = convert(old, VOCONV115_EXE, {"-t", "GB"});
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(r.out.find("Converting to target format..."), std::string::npos);
  EXPECT_EQ(old.readBytes("t.proj"), current.readBytes("t.proj"));
  EXPECT_EQ(old.readBytes("t.pool"), current.readBytes("t.pool"));
  EXPECT_EQ(old.readText("t.inc").rfind(";\n;\tInclude file generated by VOConv V1.15\n", 0), 0u);
}

TEST(HandheldCli, FailuresWriteNoFileAndEndWithTwo) {
  struct Case {
    const char* what;
    std::function<void(const TempDir&)> spoil;
    std::string message;
  };
  const Case cases[] = {
      {"song tool that leaves no song", [](const TempDir& dir) { dir.write("bin/mid2trk", "#!/bin/sh\nexit 0\n"); },
       "*** ERROR: Couldn't open MIDI arrangement file!\n\t\"voconv-songs."},
      {"pool that cannot be created", [](const TempDir& dir) { std::filesystem::create_directory(dir / "t.pool"); },
       "*** ERROR: Failed to create sample file\n\t\"t.pool\"\n"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    writeProject(dir, Console::GameBoy);
    c.spoil(dir);
    const CliResult r = convert(dir, VOCONV_EXE, {"-t", "GB"});
    EXPECT_EQ(r.exitCode, 2) << c.what;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << c.what << "\n" << r.out;
    EXPECT_FALSE(dir.exists("t.proj")) << c.what;
    EXPECT_FALSE(dir.exists("t.s")) << c.what;
    EXPECT_EQ(includeBody(dir), "") << c.what;
  }
}

TEST(HandheldCli, ProjectFilesThatAreNotRegularFilesAreRefused) {
  struct Case {
    const char* what;
    std::function<void(const TempDir&)> spoil;
    std::string message;
  };
  const Case cases[] = {
      {"sample FIFO",
       [](const TempDir& dir) {
         std::filesystem::remove(dir / "one.wav");
         ::mkfifo((dir / "one.wav").c_str(), 0600);
       },
       "File `one.wav' is not a regular file!\n*** In <s.txt>, line 2.\n"},
      {"sample over 256 MB",
       [](const TempDir& dir) { std::filesystem::resize_file(dir / "one.wav", (uint64_t(256) << 20) + 1); },
       "File `one.wav' is larger than 256 MB!\n*** In <s.txt>, line 2.\n"},
      {"MIDI FIFO",
       [](const TempDir& dir) {
         std::filesystem::remove(dir / "MIDIfiles/intro.mid");
         ::mkfifo((dir / "MIDIfiles/intro.mid").c_str(), 0600);
       },
       "*** MIDI file <MIDIfiles/intro.mid> is not a regular file.\n*** In <s.txt>, line 17.\n"},
  };
  for (const Console console : {Console::GameBoy, Console::Advance}) {
    for (const Case& c : cases) {
      TempDir dir;
      writeProject(dir, console);
      c.spoil(dir);
      const CliResult r = convert(dir, VOCONV_EXE, {"-t", console == Console::GameBoy ? "GB" : "AGB"});
      EXPECT_EQ(r.exitCode, 2) << c.what;
      EXPECT_NE(r.out.find(c.message), std::string::npos) << c.what << "\n" << r.out;
    }
  }
}

TEST(HandheldCli, SongsAreMadeInAPrivateFolderThatIsRemovedOnEveryWayOut) {
  for (const bool scriptFails : {false, true}) {
    TempDir dir;
    writeProject(dir, Console::GameBoy);
    if (scriptFails) dir.write("s.txt", dir.readText("s.txt") + "Bogus=1\n");
    dir.write("victim.txt", "keep me");
    std::filesystem::create_symlink("victim.txt", dir / "Intro.song");
    dir.write("Bonus.song", "the user's own");
    const CliResult r = convert(dir, VOCONV_EXE, {"-v", "-t", "GB"});
    EXPECT_EQ(r.exitCode, scriptFails ? 1 : 0) << r.out;
    EXPECT_NE(r.out.find("CMD: mid2trk -G MIDIfiles/intro.mid voconv-songs."), std::string::npos) << r.out;
    EXPECT_EQ(dir.readText("victim.txt"), "keep me");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "Intro.song"));
    EXPECT_EQ(dir.readText("Bonus.song"), "the user's own");
    for (const std::string& file : dir.files()) EXPECT_EQ(file.find("voconv-songs."), std::string::npos) << file;
  }
}

// A run ended by a signal while its song tool works: the stand-in writes its
// song, tells its process id and sleeps until the test ends it.
TEST(HandheldCli, ASignalDuringTheSongToolRemovesThePrivateFolder) {
  TempDir dir;
  writeProject(dir, Console::GameBoy);
  dir.write("bin/mid2trk", "#!/bin/sh\nfor last; do :; done\nprintf SONG > \"$last\"\n"
                           "echo $$ > tool.tmp && mv tool.tmp tool.pid\nexec sleep 30\n");
  const std::string program = programAlone(VOCONV_EXE).string();
  const std::string path = "PATH=" + (dir / "bin").string() + ":/usr/bin:/bin";
  const pid_t run = ::fork();
  if (run == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    if (::chdir(dir.path().c_str()) != 0 || null < 0) _exit(100);
    ::dup2(null, 1), ::dup2(null, 2);
    ::putenv(const_cast<char*>(path.c_str()));
    ::execl(program.c_str(), program.c_str(), "-t", "GB", "s.txt", "d.txt", static_cast<char*>(nullptr));
    _exit(101);
  }
  for (int i = 0; i < 1000 && !dir.exists("tool.pid"); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ::kill(run, SIGTERM);
  int status = 0;
  ::waitpid(run, &status, 0);
  ASSERT_TRUE(dir.exists("tool.pid"));
  ::kill(std::stoi(dir.readText("tool.pid")), SIGKILL);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_EQ(entry.path().filename().string().find("voconv-songs."), std::string::npos) << entry.path();
  }
}

// -t sets what its target needs and a later -t does not take it back.
TEST(HandheldCli, RepeatedTargetOptionsKeepWhatEarlierOnesSet) {
  TempDir dir;
  writeProject(dir, Console::GameBoy);
  const CliResult slave = convert(dir, VOCONV_EXE, {"-t", "GBSLAVE", "-t", "GB"});
  EXPECT_EQ(slave.exitCode, 0) << slave.out;
  EXPECT_TRUE(dir.exists("t.SLAVEROM"));
  EXPECT_FALSE(dir.exists("t.proj"));
  dir.write("macrodef.vqd", "");
  const CliResult n64 = convert(dir, VOCONV_EXE, {"-t", "GB", "-t", "N64", "-s"});
  EXPECT_EQ(n64.exitCode, 0) << n64.out;
  EXPECT_TRUE(dir.exists("t.pool"));
  EXPECT_EQ(dir.readText("t.inc").rfind(";\n;\tInclude file generated by VOConv", 0), 0u);
}
