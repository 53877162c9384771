#include "platform/word_match.h"

#include <windows.h>

#include <climits>

namespace wordlap::platform {
namespace {

// The user-default locale is looked up anew at every comparison, and only
// CSTR_EQUAL counts: a failed call (0) means "not equal".
bool LocaleEqual(std::string_view a, std::string_view b) {
  if (a.size() > INT_MAX || b.size() > INT_MAX) return false;
  // An empty view may have no storage; the API wants a real pointer even
  // for a length of zero.
  const char* a_text = a.data() != nullptr ? a.data() : "";
  const char* b_text = b.data() != nullptr ? b.data() : "";
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a_text,
                        static_cast<int>(a.size()), b_text,
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

}  // namespace

// Linguistic equality cannot be hashed, so lookups are a linear search in
// list order that stops at the first equal entry.
class WordMatcher {
 public:
  explicit WordMatcher(std::span<const std::string> words) : words_(words) {}

  bool Contains(std::string_view probe) const {
    for (const std::string& word : words_) {
      if (LocaleEqual(word, probe)) return true;
    }
    return false;
  }

 private:
  std::span<const std::string> words_;
};

void WordMatcherDeleter::operator()(WordMatcher* matcher) const noexcept {
  delete matcher;
}

WordMatcherPtr MakeWordMatcher(std::span<const std::string> words) {
  return WordMatcherPtr(new WordMatcher(words));
}

bool Contains(const WordMatcher& matcher, std::string_view probe) {
  return matcher.Contains(probe);
}

bool WordsEqual(std::string_view a, std::string_view b) {
  return LocaleEqual(a, b);
}

}  // namespace wordlap::platform
