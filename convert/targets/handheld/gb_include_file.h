// The Game Boy assembler include ".s": it links the project file into the
// VOCTA group and the pool into VOCTA_DATA, one 16 KB bank slice at a time.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "convert/include_file.h"

namespace voconv {

struct GameBoyIncludeInfo {
  RunDate now;
  bool capsOff = false;     // the target was given as "gb"
  std::string projectPath;  // full paths, as the linker is to find them
  std::string poolPath;
  uint32_t poolSize = 0;
};

std::string gameBoyIncludeText(const GameBoyIncludeInfo& info);

}  // namespace voconv
