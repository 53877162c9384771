// NormaliseName: a file name without its extension, with `_` and `-` turned
// into spaces.
#pragma once

#include <string>
#include <string_view>

#include "trace/line_sink.h"

namespace wordlap {

// Cuts the name at the first occurrence of its extension text (searched from
// the front, byte for byte, case respected: "Vol.1 Part.1" becomes "Vol"),
// then replaces every `_` and `-` by a space. Sends the lines
// "unprocessed: ", "no extension: " and "cleaned: " to `sink` when given.
std::string NormaliseName(std::string_view file_name, LineSink* sink = nullptr);

}  // namespace wordlap
