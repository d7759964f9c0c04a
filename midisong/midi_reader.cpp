#include "midi_reader.h"

#include <algorithm>
#include <string>

#include "common/stream_input.h"
#include "messages.h"
#include "note_order.h"

namespace midisong {
namespace {

constexpr uint32_t kHeaderChunk = 0x4D546864;  // "MThd"
constexpr uint32_t kTrackChunk = 0x4D54726B;   // "MTrk"
constexpr uint8_t kMetaEvent = 0xFF;
constexpr uint8_t kSysEx = 0xF0;
constexpr uint8_t kSysExEnd = 0xF7;
constexpr uint8_t kEndOfTrack = 0x2F;
constexpr uint8_t kSetTempo = 0x51;
constexpr uint32_t kMicrosecondsPerMinute = 60000000;
constexpr size_t kMaxFileTracks = 256;

// A bounds-checked cursor over the file. The first read past the end sets a
// sticky failure; later reads return 0. Kept inline: it runs once per byte.
class MidiCursor {
 public:
  explicit MidiCursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  uint8_t u8() {
    if (position_ < bytes_.size()) return bytes_[position_++];
    failed_ = true;
    return 0;
  }
  // Big-endian, like every number of a MIDI file.
  uint32_t u16() { return uint32_t(u8()) << 8 | u8(); }
  uint32_t u32() { return u16() << 16 | u16(); }
  void skip(size_t count) {
    if (count > bytes_.size() - position_) failed_ = true;
    position_ = std::min(bytes_.size(), position_ + count);
  }
  void stepBack() { --position_; }
  void seek(size_t offset) { position_ = offset; }  // callers check offset <= size()
  size_t offset() const { return position_; }
  size_t size() const { return bytes_.size(); }
  bool ok() const { return !failed_; }

 private:
  std::span<const uint8_t> bytes_;
  size_t position_ = 0;
  bool failed_ = false;
};

// Reads the track chunks of one file.
class TrackReader {
 public:
  TrackReader(std::span<const uint8_t> bytes, const std::string& name, MidiImage& image, ListMode mode, SongRun& run)
      : in_(bytes), name_(name), image_(image), mode_(mode), run_(run) {}

  MidiCursor& in() { return in_; }

  // Reads `count` chunks (at least one) from the current position.
  bool readChunks(uint32_t count) {
    uint32_t chunk = 0;
    do {
      if (!readChunk(chunk)) return false;
    } while (++chunk < count);
    chunksRead_ = chunk;
    return true;
  }

  uint32_t chunksRead() const { return chunksRead_; }

 private:
  bool readChunk(uint32_t chunk) {
    itemStart_ = in_.offset();
    // A file that holds fewer chunks than its header promises has no "MTrk"
    // where the next one should begin.
    const uint32_t id = in_.u32();
    if (!in_.ok() || id != kTrackChunk) {
      run_.say(kMsgIllegalTrackData);
      return false;
    }
    // The length field is not trusted: the end-of-track event ends the chunk.
    (void)in_.u32();
    if (!in_.ok()) return endsInside(chunk);
    return readEvents(chunk);
  }

  bool readEvents(uint32_t chunk) {
    uint8_t runningStatus = 0x80;
    uint32_t time = 0;
    for (;;) {
      itemStart_ = in_.offset();
      time += readQuantity();
      uint8_t status = in_.u8();
      if (!in_.ok()) return endsInside(chunk);
      if (status & 0x80) {
        runningStatus = status;
      } else {
        in_.stepBack();  // a data byte: read it again as data
        status = runningStatus;
      }
      bool trackEnded = false;
      if (status == kMetaEvent) {
        if (!readMetaEvent(chunk, time, trackEnded)) return false;
      } else if (status >= 0xF0) {
        skipSystemMessage(status);
      } else {
        storeChannelMessage(chunk, time, status);
      }
      if (!in_.ok()) return endsInside(chunk);
      if (trackEnded) return true;
    }
  }

  // A variable-length quantity: 7 bits a byte, most significant group first.
  uint32_t readQuantity() {
    uint32_t value = 0;
    uint8_t byte = 0;
    do {
      byte = in_.u8();
      value = (value << 7) | (byte & 0x7F);
    } while ((byte & 0x80) && in_.ok());
    return value;
  }

  bool readMetaEvent(uint32_t chunk, uint32_t time, bool& trackEnded) {
    const uint8_t type = in_.u8();
    const uint32_t length = readQuantity();
    if (!in_.ok()) return endsInside(chunk);
    const size_t dataStart = in_.offset();
    if (type == kSetTempo) {
      // Always three bytes, whatever the length says.
      const uint32_t microseconds = (uint32_t(in_.u8()) << 16) | (uint32_t(in_.u8()) << 8) | in_.u8();
      if (!in_.ok()) return endsInside(chunk);
      storeTempo(chunk, time, microseconds);
    }
    if (uint64_t(dataStart) + length > in_.size()) return endsInside(chunk);
    in_.seek(dataStart + length);
    trackEnded = type == kEndOfTrack;
    return true;
  }

  void storeTempo(uint32_t chunk, uint32_t time, uint32_t microseconds) {
    if (microseconds == 0) {
      run_.say(kMsgZeroTempo, int(chunk + 1), int(itemStart_));
      return;
    }
    append(image_.lists[MidiImage::kTempoList], MidiEvent{time, 0, 0, 0, kMicrosecondsPerMinute / microseconds});
  }

  void skipSystemMessage(uint8_t status) {
    switch (status) {
      case kSysEx:
        // The length after 0xF0 is not interpreted: everything up to and
        // including the next 0xF7 is dropped.
        while (in_.u8() != kSysExEnd && in_.ok()) {
        }
        break;
      case 0xF2: in_.skip(2); break;
      case 0xF3:
      case 0xF6: in_.skip(1); break;
      default:
        // No data bytes are skipped: the next delta time follows at once.
        run_.say(kMsgUnknownSysEx);
        break;
    }
  }

  void storeChannelMessage(uint32_t chunk, uint32_t time, uint8_t status) {
    MidiEvent event{time, status, in_.u8(), 0, 0};
    const uint8_t kind = status & 0xF0;
    if (kind != 0xC0 && kind != 0xD0) event.data2 = in_.u8();
    if (!in_.ok()) return;
    const size_t list = mode_ == ListMode::PerChannel ? size_t(status & 0x0F) : size_t(chunk);
    append(image_.lists[list], event);
  }

  // Events of one chunk arrive in time order, so appending keeps a list
  // sorted unless several chunks feed it; those lists are sorted at the end.
  void append(EventList& list, const MidiEvent& event) { list.push_back(event); }

  bool endsInside(uint32_t chunk) {
    run_.say(kMsgEndInsideTrack, name_.c_str(), int(chunk + 1), int(itemStart_));
    return false;
  }

  MidiCursor in_;
  const std::string& name_;
  MidiImage& image_;
  ListMode mode_;
  SongRun& run_;
  size_t itemStart_ = 0;
  uint32_t chunksRead_ = 0;
};

const char* formatName(uint16_t format) {
  if (format == 0) return messageText(kMsgSingleTrack);
  if (format == 1) return messageText(kMsgSyncronous);
  return messageText(kMsgAsyncronous);
}

// A stable sort by time puts every event after all events whose time is lower
// than or equal to its own, which keeps equal-time events in file order.
void sortByTime(EventList& list) {
  const auto earlier = [](const MidiEvent& a, const MidiEvent& b) { return a.time < b.time; };
  if (!std::is_sorted(list.begin(), list.end(), earlier)) std::stable_sort(list.begin(), list.end(), earlier);
}

}  // namespace

namespace {

struct MidiHeader {
  uint32_t magic = 0;
  uint32_t length = 0;  // of the header's data; longer headers are skipped
  uint16_t format = 0;
  uint16_t tracks = 0;
  uint16_t division = 0;
};

// Prints the file report and any error of the header; a format-0 file is
// always read per channel.
bool acceptHeader(const MidiHeader& header, const std::string& name, ListMode& mode, SongRun& run) {
  run.say(kMsgFileReport, formatName(header.format), int(header.tracks), int(header.division));
  if (header.format == 0) {
    mode = ListMode::PerChannel;
  } else {
    if (mode == ListMode::PerTrack && header.tracks > kMaxFileTracks) return run.say(kMsgTooManyFileTracks), false;
    if (header.format > 1) return run.say(kMsgFiletypeNotSupported), false;
  }
  if (header.division == 0) return run.say(kMsgZeroDivision, name.c_str()), false;
  return true;
}

}  // namespace

int readMidiBytes(std::span<const uint8_t> bytes, const std::string& name, MidiImage& image, ListMode mode,
                  SongRun& run) {
  for (auto& list : image.lists) list.clear();
  MidiCursor in(bytes);
  MidiHeader header;
  header.magic = in.u32();
  header.length = in.u32();
  header.format = uint16_t(in.u16());
  header.tracks = uint16_t(in.u16());
  header.division = uint16_t(in.u16());
  if (!in.ok() || header.magic != kHeaderChunk) {
    run.say(kMsgNoMidiFile);
    return -1;
  }
  if (!acceptHeader(header, name, mode, run)) return -1;
  const uint64_t firstChunk = uint64_t(header.length) + 8;
  if (firstChunk > in.size()) {
    run.say(kMsgEndInsideTrack, name.c_str(), 1, int(in.size()));
    return -1;
  }
  TrackReader chunks(bytes, name, image, mode, run);
  chunks.in().seek(size_t(firstChunk));
  if (!chunks.readChunks(header.tracks)) return -1;
  for (auto& list : image.lists) sortByTime(list);
  image.ticksPerBeat = header.division;
  image.trackCount = mode == ListMode::PerChannel ? 16 : chunks.chunksRead();
  if (familyOf(run.target) == TargetFamily::Handheld) fixNoteOrder(image);
  return 0;
}

int readMidiFile(const std::filesystem::path& path, MidiImage& image, ListMode mode, SongRun& run) {
  // Named on the command line: a regular file or a pipe such as <(...).
  std::vector<uint8_t> bytes;
  std::string error;
  if (!common::readStream(path, bytes, error)) {
    run.say(kMsgCannotOpenInput);
    return -1;
  }
  return readMidiBytes(bytes, path.string(), image, mode, run);
}

}  // namespace midisong
