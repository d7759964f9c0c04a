#include <gtest/gtest.h>
#include <algorithm>

#include "midi_builder.h"
#include "midisong/midi_reader.h"
#include "midisong/note_order.h"
#include "run_capture.h"

using namespace midisong;
using namespace midisong_test;

namespace {

// Compact view of a list: "time:status,data1,data2" per event.
std::string describe(const EventList& list) {
  std::string s;
  for (const MidiEvent& e : list) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s%u:%02X,%u,%u", s.empty() ? "" : " ", e.time, e.status, e.data1, e.data2);
    s += buf;
  }
  return s;
}

std::string report(const char* type, int tracks, int division) {
  return std::string("File type: ") + type + "\nTracks: " + std::to_string(tracks) +
         "\t\tTicks per beat: " + std::to_string(division) + "\n\n";
}

}  // namespace

TEST(MidiReader, ReportsTheHeaderAndRejectsUnsupportedFiles) {
  struct Case {
    uint16_t format;
    uint16_t chunks;
    uint16_t headerTracks;
    Target target;
    int result;
    std::string text;
  };
  const std::vector<Case> cases = {
      {0, 1, 1, Target::GameBoy, 0, report("Single Track", 1, 96)},
      {1, 2, 2, Target::Nintendo64, 0, report("Syncronous", 2, 96)},
      {2, 1, 1, Target::GameBoy, -1, report("Asyncronous", 1, 96) + "*** Filetype is not supported.\n"},
      {7, 1, 1, Target::Nintendo64, -1, report("Asyncronous", 1, 96) + "*** Filetype is not supported.\n"},
      // More than 256 tracks only matter when every track gets a list of its own;
      // the track count is checked before the format.
      {1, 300, 300, Target::Nintendo64, -1,
       report("Syncronous", 300, 96) + "*** File contains more than 256 tracks. Unable to convert.\n"},
      {2, 300, 300, Target::Dolphin, -1,
       report("Asyncronous", 300, 96) + "*** File contains more than 256 tracks. Unable to convert.\n"},
      {1, 300, 300, Target::GameBoy, 0, report("Syncronous", 300, 96)},
      {0, 300, 300, Target::Nintendo64, 0, report("Single Track", 300, 96)},
  };
  for (const Case& c : cases) {
    MidiBuilder midi(c.format, 96);
    for (int i = 0; i < c.chunks; ++i) midi.track().on(0, 0, 60, 100).off(10, 0, 60).end();
    midi.headerTracks(c.headerTracks);
    Capture capture(c.target);
    MidiImage image;
    EXPECT_EQ(capture.read(midi.bytes(), image), c.result) << c.format << "/" << c.chunks;
    EXPECT_EQ(capture.text(), c.text) << c.format << "/" << c.chunks;
  }
}

TEST(MidiReader, RejectsFilesThatAreNoMidiFiles) {
  const std::vector<Bytes> inputs = {
      {},
      {'M', 'T', 'h'},
      {'R', 'I', 'F', 'F', 0, 0, 0, 6, 0, 1, 0, 1, 0, 96},
      {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1},  // header cut short
  };
  for (const Bytes& input : inputs) {
    Capture capture;
    MidiImage image;
    EXPECT_EQ(capture.read(input, image), -1);
    EXPECT_EQ(capture.text(), "*** File is no valid MIDI file.\n");
  }
}

TEST(MidiReader, ReportsAFileThatCannotBeOpened) {
  Capture capture;
  MidiImage image;
  EXPECT_EQ(readMidiFile("/nonexistent/folder/song.mid", image, ListMode::PerChannel, capture.run), -1);
  EXPECT_EQ(readMidiFile(std::filesystem::temp_directory_path(), image, ListMode::PerChannel, capture.run), -1);
  EXPECT_EQ(capture.text(), "*** Could not open input file.\n*** Could not open input file.\n");
}

TEST(MidiReader, ConvertsSetTempoToWholeBeatsPerMinute) {
  const std::vector<std::pair<uint32_t, uint32_t>> cases = {{500000, 120}, {600000, 100}, {16777215, 3},
                                                            {1, 60000000}, {400000, 150}, {499999, 120}};
  for (const auto& [microseconds, bpm] : cases) {
    MidiBuilder midi(1, 96);
    midi.track().tempo(0, 500000).tempo(48, microseconds).end();
    Capture capture(Target::Nintendo64);
    MidiImage image;
    ASSERT_EQ(capture.read(midi.bytes(), image), 0);
    ASSERT_EQ(image.lists[256].size(), 2u);
    EXPECT_EQ(image.lists[256][1].bpm, bpm) << microseconds;
    EXPECT_EQ(image.lists[256][1].time, 48u);
    EXPECT_EQ(describe(image.lists[256]), "0:00,0,0 48:00,0,0");
  }
}

TEST(MidiReader, SkipsMetaAndSystemEventsAndFollowsRunningStatus) {
  MidiBuilder midi(1, 96);
  midi.track()
      .meta(0, 0x01, Bytes(200, 'x'))                               // length written as 0x81 0x48
      .raw({0x00, 0xFF, 0x51, 0x05, 0x07, 0xA1, 0x20, 0xEE, 0xEE})  // tempo always three bytes
      .raw({0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7})        // system exclusive
      .raw({0x00, 0xF2, 0x10, 0x20})                                // song position: two bytes
      .raw({0x00, 0xF3, 0x05})                                      // song select: one byte
      .raw({0x00, 0x91, 60, 100, 0x0A, 62, 101})                    // running status
      .raw({0x00, 0xC1, 5, 0x03, 6})                                // one data byte, running status
      .raw({0x00, 0xD1, 70, 0x00, 0xE1, 0, 64})
      .end();
  Capture capture(Target::Nintendo64);
  MidiImage image;
  ASSERT_EQ(capture.read(midi.bytes(), image), 0);
  EXPECT_EQ(describe(image.lists[0]), "0:91,60,100 10:91,62,101 10:C1,5,0 13:C1,6,0 13:D1,70,0 13:E1,0,64");
  ASSERT_EQ(image.lists[256].size(), 1u);
  EXPECT_EQ(image.lists[256][0].bpm, 120u);
  EXPECT_EQ(image.trackCount, 1u);
}

TEST(MidiReader, WarnsAboutUnknownSystemEventsAndReadsOnRightAfterThem) {
  MidiBuilder midi(1, 96);
  // 0xF4 has no data here: the byte after it is the next delta time.
  midi.track().raw({0x00, 0xF4, 0x05, 0x90, 60, 100, 0x00, 0xF9, 0x03, 0x80, 60, 0}).end();
  Capture capture(Target::Nintendo64);
  MidiImage image;
  ASSERT_EQ(capture.read(midi.bytes(), image), 0);
  EXPECT_EQ(describe(image.lists[0]), "5:90,60,100 8:80,60,0");
  EXPECT_EQ(capture.text(), report("Syncronous", 1, 96) + "*** Warning: Unknown MIDI SysEx event encountered.\n"
                                                          "*** Warning: Unknown MIDI SysEx event encountered.\n");
}

TEST(MidiReader, TheEndOfTrackEventDecidesWhereTheNextChunkBegins) {
  for (uint32_t length : {0u, 3u, 1000u, 0xFFFFFFFFu}) {
    MidiBuilder midi(1, 96);
    midi.track().on(0, 0, 60, 100).end();
    midi.track().on(7, 1, 61, 100).end();
    midi.chunkLength(length);
    Capture capture(Target::Nintendo64);
    MidiImage image;
    ASSERT_EQ(capture.read(midi.bytes(), image), 0) << length;
    EXPECT_EQ(describe(image.lists[0]), "0:90,60,100");
    EXPECT_EQ(describe(image.lists[1]), "7:91,61,100");
    EXPECT_EQ(image.trackCount, 2u);
  }
}

TEST(MidiReader, SpreadsEventsByChannelOrByTrack) {
  MidiBuilder midi(1, 96);
  midi.track().on(10, 2, 60, 100).on(10, 5, 61, 100).end();
  midi.track().on(5, 5, 62, 100).on(20, 2, 63, 100).end();
  {
    Capture capture(Target::Advance);
    MidiImage image;
    ASSERT_EQ(capture.read(midi.bytes(), image), 0);
    EXPECT_EQ(image.trackCount, 16u);
    EXPECT_EQ(describe(image.lists[2]), "10:92,60,100 25:92,63,100");
    EXPECT_EQ(describe(image.lists[5]), "5:95,62,100 20:95,61,100");
  }
  {
    Capture capture(Target::Dolphin);
    MidiImage image;
    ASSERT_EQ(capture.read(midi.bytes(), image), 0);
    EXPECT_EQ(image.trackCount, 2u);
    EXPECT_EQ(describe(image.lists[0]), "10:92,60,100 20:95,61,100");
    EXPECT_EQ(describe(image.lists[1]), "5:95,62,100 25:92,63,100");
  }
  {
    // A format-0 file is read per channel for every target.
    MidiBuilder single(0, 96);
    single.track().on(0, 3, 60, 100).on(0, 9, 36, 100).end();
    Capture capture(Target::Nintendo64);
    MidiImage image;
    ASSERT_EQ(capture.read(single.bytes(), image), 0);
    EXPECT_EQ(image.trackCount, 16u);
    EXPECT_EQ(describe(image.lists[3]), "0:93,60,100");
    EXPECT_EQ(describe(image.lists[9]), "0:99,36,100");
  }
}

TEST(MidiReader, EventsOfEqualTimeKeepTheirFileOrderAcrossTracks) {
  MidiBuilder midi(1, 96);
  midi.track().on(0, 0, 60, 1).on(5, 0, 61, 2).on(0, 0, 62, 3).end();
  midi.track().on(5, 0, 63, 4).on(0, 0, 64, 5).on(0, 0, 65, 6).end();
  midi.track().on(0, 0, 66, 7).end();
  Capture capture(Target::Nintendo64);
  MidiImage image;
  // Format 1 for Nintendo 64 is per track; read it per channel instead.
  ASSERT_EQ(readMidiBytes(midi.bytes(), "a.mid", image, ListMode::PerChannel, capture.run), 0);
  EXPECT_EQ(describe(image.lists[0]), "0:90,60,1 0:90,66,7 5:90,61,2 5:90,62,3 5:90,63,4 5:90,64,5 5:90,65,6");
}

TEST(MidiReader, FailsWithoutReadingPastTheEndOfADamagedFile) {
  const Bytes header = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 1, 0, 96};
  struct Case {
    Bytes track;  // after the header
    std::string message;
  };
  const std::vector<Case> cases = {
      {{}, "*** Illegal data encountered while reading tracks."},  // the header promises a track
      {{'M', 'T'}, "*** Illegal data encountered while reading tracks."},
      {{'M', 'T', 'r', 'k', 0, 0}, "*** MIDI file <song.mid> ends inside track 1 (byte 14)."},
      {{'M', 'T', 'r', 'k', 0, 0, 0, 4, 0x00, 0x90, 60, 100},
       "*** MIDI file <song.mid> ends inside track 1 (byte 26)."},  // no end of track
      {{'M', 'T', 'r', 'k', 0, 0, 0, 4, 0x00, 0x90, 60}, "*** MIDI file <song.mid> ends inside track 1 (byte 22)."},
      {{'M', 'T', 'r', 'k', 0, 0, 0, 4, 0x81, 0x80}, "*** MIDI file <song.mid> ends inside track 1 (byte 22)."},
      {{'M', 'T', 'r', 'k', 0, 0, 0, 4, 0x00, 0xF0, 1, 2, 3},
       "*** MIDI file <song.mid> ends inside track 1 (byte 22)."},
      {{'M', 'T', 'r', 'k', 0, 0, 0, 4, 0x00, 0xFF, 0x01, 0x10, 'a'},
       "*** MIDI file <song.mid> ends inside track 1 (byte 22)."},
      {{'M', 'T', 'r', 'k', 0, 0, 0, 4, 0x00, 0xFF, 0x51, 0x03, 0x07},
       "*** MIDI file <song.mid> ends inside track 1 (byte 22)."},
      {{'M', 'T', 'r', 'k', 0, 0, 0, 4, 0x00, 0xFF, 0x01, 0x8F, 0xFF, 0xFF, 0x7F},
       "*** MIDI file <song.mid> ends inside track 1 (byte 22)."},
      {{'M', 'T', 'r', 'x', 0, 0, 0, 4, 0x00, 0xFF, 0x2F, 0x00}, "*** Illegal data encountered while reading tracks."},
  };
  for (const Case& c : cases) {
    Bytes file = header;
    file.insert(file.end(), c.track.begin(), c.track.end());
    Capture capture(Target::Nintendo64);
    MidiImage image;
    EXPECT_EQ(capture.read(file, image), -1);
    EXPECT_EQ(capture.text(), report("Syncronous", 1, 96) + c.message + "\n") << c.message;
  }
}

TEST(MidiReader, RejectsADivisionOfZero) {
  MidiBuilder midi(1, 0);
  midi.track().end();
  Capture capture;
  MidiImage image;
  EXPECT_EQ(capture.read(midi.bytes(), image), -1);
  EXPECT_EQ(capture.text(), report("Syncronous", 1, 0) + "*** MIDI file <song.mid> gives 0 ticks per beat.\n");
}

TEST(MidiReader, IgnoresATempoOfZeroMicroseconds) {
  MidiBuilder midi(1, 96);
  midi.track().tempo(0, 0).tempo(5, 500000).end();
  Capture capture(Target::Nintendo64);
  MidiImage image;
  ASSERT_EQ(capture.read(midi.bytes(), image), 0);
  EXPECT_EQ(describe(image.lists[256]), "5:00,0,0");
  EXPECT_NE(capture.text().find("*** Warning: Set-tempo event of 0 microseconds per beat ignored (track 1, byte 22)."),
            std::string::npos);
}

TEST(FixNoteOrder, PutsANewNoteAfterTheEndOfThePreviousOneOnTheSameTick) {
  MidiBuilder midi(0, 96);
  // The restart of key 60 at tick 480 stands before the end of the previous
  // note of that key in the file.
  midi.track().on(0, 0, 60, 100).on(480, 0, 60, 90).off(0, 0, 60).off(96, 0, 60).end();
  for (Target target : {Target::GameBoy, Target::Advance, Target::Nintendo64}) {
    Capture capture(target);
    MidiImage image;
    ASSERT_EQ(capture.read(midi.bytes(), image), 0);
    const bool handheld = target != Target::Nintendo64;
    EXPECT_EQ(describe(image.lists[0]), handheld ? "0:90,60,100 480:80,60,64 480:90,60,90 576:80,60,64"
                                                 : "0:90,60,100 480:90,60,90 480:80,60,64 576:80,60,64");
  }
}

TEST(FixNoteOrder, ExchangesOnlyWhatTheRulesName) {
  struct Case {
    const char* what;
    EventList in;
    std::string out;
  };
  const std::vector<Case> cases = {
      {"program change goes before the note of its tick",
       {{0, 0x90, 60, 100}, {0, 0xC0, 5, 0}, {10, 0x80, 60, 0}},
       "0:C0,5,0 0:90,60,100 10:80,60,0"},
      {"the program change moves to just before the note, the note's end stays after it",
       {{0, 0x90, 60, 100}, {0, 0x80, 60, 0}, {0, 0xC0, 5, 0}, {96, 0x90, 60, 100}, {96, 0x80, 60, 0}},
       "0:C0,5,0 0:90,60,100 0:80,60,0 96:90,60,100 96:80,60,0"},
      {"a later program change stays",
       {{0, 0x90, 60, 100}, {5, 0xC0, 5, 0}, {10, 0x80, 60, 0}},
       "0:90,60,100 5:C0,5,0 10:80,60,0"},
      {"a note-on of velocity 0 ends a note like a note-off",
       {{0, 0x90, 60, 100}, {10, 0x90, 60, 80}, {10, 0x90, 60, 0}},
       "0:90,60,100 10:90,60,0 10:90,60,80"},
      {"the end of another key is not moved",
       {{0, 0x90, 60, 100}, {10, 0x90, 62, 80}, {10, 0x80, 60, 0}},
       "0:90,60,100 10:90,62,80 10:80,60,0"},
      {"an end on a later tick is not moved",
       {{0, 0x90, 60, 100}, {10, 0x90, 60, 80}, {11, 0x80, 60, 0}, {12, 0x80, 60, 0}},
       "0:90,60,100 10:90,60,80 11:80,60,0 12:80,60,0"},
      {"a note that starts and ends on one tick keeps its order",
       {{10, 0x90, 60, 100}, {10, 0x80, 60, 0}},
       "10:90,60,100 10:80,60,0"},
  };
  for (const Case& c : cases) {
    EventList list = c.in;
    fixNoteOrder(list);
    EXPECT_EQ(describe(list), c.out) << c.what;
  }
}

namespace {

// The exchanges written out literally, searching the whole list each time.
void fixNoteOrderByTheRules(EventList& list) {
  for (size_t i = 0; i < list.size(); ++i) {
    if (!list[i].startsNote()) continue;
    const uint8_t channel = list[i].channel();
    const uint8_t key = list[i].data1;
    size_t e = i;
    while (e < list.size() && !(list[e].data1 == key && (list[e].status == (0x80 | channel) ||
                                                         (list[e].status == (0x90 | channel) && list[e].data2 == 0)))) {
      ++e;
    }
    if (e < list.size()) {
      size_t s = e;
      while (s-- > 0 && !(list[s].status == (0x90 | channel) && list[s].data1 == key && list[s].data2 > 0)) {
      }
      if (s != i && s < e && list[s].time == list[e].time) std::swap(list[s], list[e]);
    }
    size_t p = i;
    while (p < list.size() && list[p].status != (0xC0 | channel)) ++p;
    if (p < list.size() && list[p].time == list[i].time) {
      std::rotate(list.begin() + long(i), list.begin() + long(p), list.begin() + long(p) + 1);
      ++i;  // the walk goes on after the note
    }
  }
}

}  // namespace

TEST(FixNoteOrder, AgreesWithTheRulesOnRandomLists) {
  uint32_t seed = 12345;
  const auto next = [&seed](uint32_t range) {
    seed = seed * 1103515245 + 12345;
    return (seed >> 16) % range;
  };
  for (int round = 0; round < 2000; ++round) {
    EventList list;
    uint32_t time = 0;
    const size_t size = 1 + next(40);
    for (size_t i = 0; i < size; ++i) {
      time += next(3) == 0 ? 1 : 0;
      const uint8_t kinds[] = {0x80, 0x90, 0x90, 0x90, 0xC0, 0xB0};
      const uint8_t kind = kinds[next(6)];
      list.push_back(MidiEvent{time, uint8_t(kind | next(2)), uint8_t(60 + next(3)), uint8_t(next(3) * 50), 0});
    }
    EventList expected = list;
    fixNoteOrderByTheRules(expected);
    fixNoteOrder(list);
    ASSERT_EQ(describe(list), describe(expected)) << "round " << round;
  }
}
