// The eight columns of the command list, in order, and the text of a
// command's cell in each (the window, printing and the batch listing all
// show these).
#pragma once

#include <array>
#include <string>

namespace vtq {

class CCommand;

struct ListColumn {
  const char* title;
  int margin;  // pixels added to the title's width on screen
};

constexpr std::array<ListColumn, 8> kListColumns = {{
    {"Insert Time Code", 20},
    {"Timed", 20},
    {"Toy Response Time", 20},
    {"Retransmit", 20},
    {"File Name", 120},
    {"Command", 70},
    {"Parameters", 70},
    {"Byte Code", 70},
}};

std::string columnText(const CCommand& command, size_t column);

}  // namespace vtq
