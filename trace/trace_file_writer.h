// Appends one line to a trace file.
#pragma once

#include <string_view>

namespace wordlap {

// Opens the file at `path` (appending, or creating it), writes `line` and a
// carriage return and line feed through a 128-byte buffer, and closes it
// again, so that the line is on disk when this returns. Every failure is
// swallowed: the line, or what was not yet written of it, is lost.
void AppendTraceLine(const char* path, std::string_view line) noexcept;

}  // namespace wordlap
