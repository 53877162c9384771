// Appends one line to a trace file.
#pragma once

#include <string_view>

namespace wordlap {

// Opens the file at `path` (appending, or creating it), writes `line` and a
// carriage return and line feed through a 128-byte buffer, and closes it
// again, so that the line is on disk when this returns. Every failure is
// swallowed: a line that cannot be opened, locked or written whole is lost,
// and nothing of it stays in the file.
void AppendTraceLine(const char* path, std::string_view line) noexcept;

}  // namespace wordlap
