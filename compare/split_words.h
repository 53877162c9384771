// SplitWords: cuts a text into the entries of a WordList.
#pragma once

#include <string_view>

#include "compare/word_list.h"

namespace wordlap {

// Every `delimiter` ends the current word, which is appended even when empty;
// at the end of the text a non-empty current word is appended. With `trim`
// every entry loses the bytes 0 to 32 at both ends. So "a  b" gives a, empty,
// b; a trailing delimiter adds no entry; the empty text gives no entry.
WordList SplitWords(std::string_view text, char delimiter = ' ',
                    bool trim = true);

}  // namespace wordlap
