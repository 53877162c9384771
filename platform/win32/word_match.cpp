#include "platform/word_match.h"

#include <windows.h>

#include <climits>

namespace wordlap::platform {
namespace {

// The user-default locale is looked up anew at every comparison, and only
// CSTR_EQUAL counts: a failed call (0) means "not equal".
bool LocaleEqual(std::string_view a, std::string_view b) {
  if (a.size() > INT_MAX || b.size() > INT_MAX) return false;
  // The comparison reports identical texts as equal in every locale, so two
  // byte-identical words are settled without calling it.
  if (a == b) return true;
  // An empty view may have no storage; the API wants a real pointer even
  // for a length of zero.
  const char* a_text = a.data() != nullptr ? a.data() : "";
  const char* b_text = b.data() != nullptr ? b.data() : "";
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a_text,
                        static_cast<int>(a.size()), b_text,
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

}  // namespace

bool WordMatcher::Contains(const Words& words, std::string_view probe) const {
  for (std::size_t i = 0; i < words.Count(); ++i) {
    if (LocaleEqual(words[i], probe)) return true;
  }
  return false;
}

bool WordsEqual(std::string_view a, std::string_view b) {
  return LocaleEqual(a, b);
}

}  // namespace wordlap::platform
