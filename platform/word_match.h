// Case-insensitive word equality, as the platform defines it.
//
// A WordMatcher is prepared once over the words of a list and then asked
// whether the list holds a word equal to a probe. The platform decides what
// "equal" means: on POSIX two words are equal when their fold keys are equal,
// on Windows when the user-default locale comparison ignoring case says so.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace wordlap::platform {

// Where one word lies in the text that holds the words of its list.
struct WordSpan {
  std::size_t offset = 0;
  std::size_t size = 0;
};

// The words of a list: the text that holds them and their places in it.
struct Words {
  std::string_view text;
  std::span<const WordSpan> spans;

  std::size_t Count() const noexcept { return spans.size(); }
  std::string_view operator[](std::size_t i) const noexcept {
    return {text.data() + spans[i].offset, spans[i].size};
  }
};

// True when the platform counts the two words as equal.
bool WordsEqual(std::string_view a, std::string_view b);

}  // namespace wordlap::platform

// Each platform defines
//
//   class WordMatcher {
//    public:
//     // Prepares lookups in `words`.
//     explicit WordMatcher(const Words& words);
//     // True when some word of `words`, the same words it was prepared
//     // for, equals `probe`; the search stops at the first one.
//     bool Contains(const Words& words, std::string_view probe) const;
//   };
//
// in a header of its own, since what a matcher holds differs by platform and
// a caller keeps it in its own storage: a list of usual length needs no
// allocation for it.
#if defined(_WIN32)
#include "platform/win32/word_matcher.h"
#else
#include "platform/posix/word_matcher.h"
#endif
