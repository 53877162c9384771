// Case-insensitive word equality, as the platform defines it.
//
// A WordMatcher is built once over the entries of a word list and then asked
// whether the list holds a word equal to a probe. The platform decides what
// "equal" means: on POSIX two words are equal when their fold keys are equal,
// on Windows when the user-default locale comparison ignoring case says so.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace wordlap::platform {

class WordMatcher;

struct WordMatcherDeleter {
  void operator()(WordMatcher* matcher) const noexcept;
};

using WordMatcherPtr = std::unique_ptr<WordMatcher, WordMatcherDeleter>;

// The matcher refers to `words`, which must outlive it unchanged.
WordMatcherPtr MakeWordMatcher(std::span<const std::string> words);

// True when some entry equals `probe`; the search stops at the first one.
bool Contains(const WordMatcher& matcher, std::string_view probe);

// True when the platform counts the two words as equal.
bool WordsEqual(std::string_view a, std::string_view b);

}  // namespace wordlap::platform
