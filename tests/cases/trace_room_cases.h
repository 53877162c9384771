// A trace file that runs out of room in the middle of a comparison: where the
// room ends, and what the file must hold afterwards. Shared by the Linux and
// the Windows suites.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tests/cases/compare_cases.h"

namespace wordlap::cases {

// How far the first line of a comparison, with its line end, reaches past
// the room left in the trace file; negative when room is left after it.
struct RoomCase {
  std::string_view what;
  std::ptrdiff_t overshoot;
};

inline constexpr RoomCase kRoomCases[] = {
    {"the first line overruns the room by more than two buffers", 300},
    {"only the line feed of the first line does not fit", 1},
    {"the first line fills the room exactly", 0},
    // After the first line 60 bytes are left: the next line fits, the nine
    // after it do not, and "current word is Song" fills the rest exactly.
    {"room for some of the later lines", -60},
};

// The first trace case with a longer first folder, so that the comparison's
// first line is `line_size` bytes long with its CR LF (at least 100); every
// other line stays as it is, since folders never reach them.
struct PaddedComparison {
  std::string path_a;
  std::string path_b;
  bool match = false;
  std::vector<std::string> lines;  // without line ends
};

inline PaddedComparison PadFirstLine(std::size_t line_size) {
  const TraceCase& base = kTraceCases.at(0);
  PaddedComparison padded;
  padded.path_b = base.path_b;
  padded.match = base.match;
  std::string_view block = base.block;
  while (!block.empty()) {
    const std::size_t end = block.find('\n');
    padded.lines.emplace_back(block.substr(0, end));
    block.remove_prefix(end + 1);
  }
  // "D:\Music\..." becomes "D:\ddd...\Music\...".
  const std::size_t unpadded = padded.lines[0].size() + 2;
  const std::size_t folder =
      line_size > unpadded + 1 ? line_size - unpadded - 1 : 1;
  padded.path_a = std::string(base.path_a.substr(0, 3)) +
                  std::string(folder, 'd') + "\\" +
                  std::string(base.path_a.substr(3));
  padded.lines[0] = "Compare " + padded.path_a + " to " + padded.path_b;
  return padded;
}

// What a file with `room` bytes left holds after `lines` were traced into
// it: a line arrives whole with its CR LF when it fits in the room still
// left, and leaves nothing behind when it does not.
inline std::string WhatFits(std::size_t room,
                            const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    if (line.size() + 2 > room) continue;
    text += line + "\r\n";
    room -= line.size() + 2;
  }
  return text;
}

}  // namespace wordlap::cases
