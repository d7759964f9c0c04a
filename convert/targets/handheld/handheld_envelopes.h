// The envelope records that the handhelds build from a table's curve: the
// Game Boy's 7 bytes and the Game Boy Advance's 8, every value little-endian.
#pragma once

#include <cstdint>

#include "common/byte_order.h"
#include "convert/targets/handheld/handheld_project.h"

namespace voconv {

constexpr size_t kGameBoyEnvelopeBytes = 7;
constexpr size_t kAdvanceEnvelopeBytes = 8;

// u16 attack step, u16 decay step (negative), u8 sustain level 0..15,
// u16 release step (negative): volume steps per 60 Hz tick on a 15.8 scale.
void writeGameBoyEnvelope(common::ByteWriter& out, const EnvelopeCurve& curve);

// u16 attack step, u16 decay step, u16 sustain level (8.8), u16 release step.
void writeAdvanceEnvelope(common::ByteWriter& out, const EnvelopeCurve& curve);

}  // namespace voconv
