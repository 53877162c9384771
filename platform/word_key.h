// The fold key of a word (POSIX only): two words are equal exactly when their
// keys are equal byte for byte, so keys can be hashed and indexed.
//
// The key of an all-ASCII word is the word with A-Z lowered. Otherwise every
// well-formed UTF-8 run becomes NFC(full case fold(NFD(run))) and every byte
// of an ill-formed sequence becomes the UTF-8 form of the lone surrogate
// U+DC00 + byte, which no valid text produces: different invalid bytes never
// compare equal and identical ones always do.
#pragma once

#include <string>
#include <string_view>

#include "platform/small_vector.h"

namespace wordlap::platform {

// A key of usual length stays inside it.
using KeyText = SmallVector<char, 256>;

// Appends the key of `word` to `key`.
void AppendWordKey(std::string_view word, KeyText& key);

std::string WordKey(std::string_view word);

// Writes the key into `key`, reusing its storage.
void WordKey(std::string_view word, std::string& key);

}  // namespace wordlap::platform
