// The fold key of a word (POSIX only): two words are equal exactly when their
// keys are equal byte for byte, so keys can be hashed and indexed.
//
// The key of an all-ASCII word is the word with A-Z lowered. Otherwise every
// well-formed UTF-8 run becomes NFC(Expand(CaseFold(NFD(run)))): full Unicode
// case folding, then Expand drops the default-ignorable code points (the
// soft hyphen, zero-width spaces and joiners, the byte order mark, ...),
// which a reader does not see, and writes the letters œ, þ and ĳ as oe, th
// and ij, and æ as ae except where æ is a letter of its own (the Danish and
// Norwegian collation locales). Every byte of an ill-formed sequence becomes
// the UTF-8 form of the lone surrogate U+DC00 + byte, which no valid text
// produces: different invalid bytes never compare equal and identical ones
// always do.
#pragma once

#include <string>
#include <string_view>

#include "platform/small_vector.h"

namespace wordlap::platform {

// A key of usual length stays inside it.
using KeyText = SmallVector<char, 256>;

// What a key takes from the user's collation locale.
struct FoldRules {
  // Danish and Norwegian sort æ as a letter of its own, not as a and e.
  bool ae_is_letter = false;
};

// The rules of the collation locale that the environment named when the
// library was loaded: LC_ALL, then LC_COLLATE, then LANG, the first that is
// set and not empty.
FoldRules LoadedFoldRules() noexcept;

// The name of the collation locale as the environment gives it now, by the
// same precedence; null when none is set.
const char* CollationLocaleName() noexcept;

// The rules of the locale called `name` ("da_DK.UTF-8", "nb", "C"): æ is a
// letter of its own when the language is da, nb, nn or no. Null reads as no
// locale.
FoldRules FoldRulesOf(const char* name) noexcept;

// Appends the key of `word` to `key`.
void AppendWordKey(std::string_view word, KeyText& key,
                   FoldRules rules = LoadedFoldRules());

std::string WordKey(std::string_view word, FoldRules rules = LoadedFoldRules());

// Writes the key into `key`, reusing its storage.
void WordKey(std::string_view word, std::string& key);

}  // namespace wordlap::platform
