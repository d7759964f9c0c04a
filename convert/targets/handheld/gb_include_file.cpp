#include "convert/targets/handheld/gb_include_file.h"

#include <algorithm>

#include "common/output.h"
#include "convert/include_file.h"
#include "convert/targets/handheld/gb_image.h"

namespace voconv {

std::string gameBoyIncludeText(const GameBoyIncludeInfo& info) {
  std::string text = ";****************************************************************\n"
                     ";                  Vocta(tm) data include file\n"
                     ";\n";
  text += ";   Automatically created by VOConv on " + dateLine(info.now);
  text += ";\n\n\tISDMG\n";
  text += info.capsOff ? "\tCAPSOFF\n" : "\tCAPSON\n";
  text += "\tOFFBANKGROUP\n\n";
  text += "VOCTA\t\tGROUP\n";
  text += "\t\tLIBBIN\t" + info.projectPath + "\n\n";
  if (info.poolSize == 0) return text;
  text += "VOCTA_DATA\tGROUP\n";
  for (uint32_t start = 0; start < info.poolSize; start += kGameBoyBankBytes) {
    if (start != 0) text += "\t\tOFFSET\t$c000\t\t\t; Wrap to next bank\n";
    const uint32_t length = std::min(kGameBoyBankBytes, info.poolSize - start);
    text += common::format("\t\tBINSET\t$%x,$%x\n", start, length);
    text += "\t\tLIBBIN\t" + info.poolPath + "\n\n";
  }
  return text;
}

}  // namespace voconv
