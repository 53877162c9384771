// The comma text of a WordList, shown in the "split to " line.
#pragma once

#include <string>

#include "compare/word_list.h"

namespace wordlap {

// Entries joined by commas; an entry holding a byte 1 to 32, a double quote
// or a comma is quoted with its quotes doubled. A list of one empty entry is
// written "" so that it differs from the empty list, which is written as
// nothing.
std::string CommaText(const WordList& list);

}  // namespace wordlap
