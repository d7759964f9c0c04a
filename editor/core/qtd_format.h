// The .qtd cue document: the command count, one CCommand object record per
// command in list order, then the sample rate (32 bits). See qtd_archive.h for
// the object records.
//
// Fields of a CCommand record: insert time and response time (32-bit frame
// counts), the parameter object record, the timed flag (32 bits), the
// retransmissions and the command code (8 bits each), 32 bits of a former
// document pointer (written as 0, skipped on reading), the file name and the
// byte code text (strings). Parameter fields: CAbility the ability id (8
// bits); CAnimation the picture id (16 bits), the icon number and the mode (8
// bits each); CPlaySound the sound id (16 bits); CParam none.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "cmd_array.h"
#include "qtd_archive.h"

namespace vtq {

constexpr int32_t kDefaultSampleRate = 44100;

struct QtdContent {
  CCmdArray commands;
  int32_t sampleRate = kDefaultSampleRate;
};

std::vector<uint8_t> writeQtd(const CCmdArray& commands, int32_t sampleRate);

// Reads a whole document. Byte code texts and file names are kept as stored.
// Commands come back without a document; the caller attaches them.
bool readQtd(std::span<const uint8_t> bytes, QtdContent& content, ArchiveError& error);

}  // namespace vtq
