// NormaliseName: a file name without its extension, with `_` and `-` turned
// into spaces.
#pragma once

#include <string_view>

#include "compare/file_name.h"
#include "platform/small_vector.h"
#include "trace/line_sink.h"

namespace wordlap {

// A name being turned into words; one of usual length stays inside it.
using NameText = SmallVector<char, 256>;

// Cuts the name at the first occurrence of its extension text (searched from
// the front, byte for byte, case respected: "Vol.1 Part.1" becomes "Vol"),
// then replaces every `_` and `-` by a space. Sends the lines
// "unprocessed: ", "no extension: " and "cleaned: " to `sink` when given.
NameText NormaliseName(std::string_view file_name, LineSink* sink = nullptr);

// The same for a file name whose extension is already known, as FileNameOf
// finds both at once.
NameText NormaliseName(const FileName& file, LineSink* sink = nullptr);

}  // namespace wordlap
