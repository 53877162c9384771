// The Windows WordMatcher (see platform/word_match.h, which includes this).
#pragma once

namespace wordlap::platform {

// Linguistic equality cannot be hashed or prepared, so a lookup is a linear
// search in list order that stops at the first equal word.
class WordMatcher {
 public:
  explicit WordMatcher(const Words&) {}
  bool Contains(const Words& words, std::string_view probe) const;
};

}  // namespace wordlap::platform
