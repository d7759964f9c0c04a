// The files of the macros and curves that a target's reference lists name,
// read with the messages every target writer prints: the verbose
// "Including ..." line, and on a failure what failed and why.
#pragma once

#include <cstdint>
#include <vector>

namespace voconv {

class Conversion;

// The macro's steps, padded with zeros to whole 32-bit words; `scriptIndex`
// names the script whose ID maps renumber its operands.
bool readMacroObject(Conversion& c, uint16_t id, std::vector<uint8_t>& bytes, int& scriptIndex);
bool readTableObject(Conversion& c, uint16_t id, std::vector<uint8_t>& bytes);

}  // namespace voconv
