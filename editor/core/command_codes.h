// The command codes of the toy. The low four bits of a code are the number of
// parameter bytes that follow it in a transmission.
#pragma once

#include <cstdint>

namespace vtq {

constexpr uint8_t kKeepAlive = 0x10;
constexpr uint8_t kPlaySound = 0x22;
constexpr uint8_t kShowAnimation = 0x53;
constexpr uint8_t kEnableAbility = 0x71;
constexpr uint8_t kDisableAbility = 0x81;
constexpr uint8_t kSelectAbility = 0x91;
constexpr uint8_t kStopAbility = 0xF0;

}  // namespace vtq
