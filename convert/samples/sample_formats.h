// The three sample file formats. Each reader works on the whole file in
// memory and fills a record that the caller has cleared.
#pragma once

#include <cstdint>
#include <span>

#include "convert/samples/sample_reader.h"

namespace convert {

// True when the file starts like a format that this reader accepts (the
// detection order is AIFF, WAV, KALP).
bool looksLikeAiff(std::span<const uint8_t> file);
bool looksLikeWav(std::span<const uint8_t> file);
bool looksLikeKalp(std::span<const uint8_t> file);

SampleReadStatus readWav(std::span<const uint8_t> file, const SampleReaderProfile& profile, SampleRecord& record);
SampleReadStatus readAiff(std::span<const uint8_t> file, const SampleReaderProfile& profile, SampleRecord& record);
SampleReadStatus readKalp(std::span<const uint8_t> file, SampleRecord& record);

}  // namespace convert
