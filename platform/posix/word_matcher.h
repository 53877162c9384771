// The POSIX WordMatcher (see platform/word_match.h, which includes this).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/small_vector.h"
#include "platform/word_key.h"

namespace wordlap::platform {

// Words are equal when their fold keys are. The key of an all-ASCII word is
// the word with A-Z lowered, so such a word stands for its own key when the
// two are compared ignoring ASCII case; and since a key has no capital
// A-Z, that same comparison is plain equality between two keys. So the
// matcher makes keys only for the other words of a short list, and
// searches the list in order.
//
// A long list gets the keys of all its words and an open-addressing table of
// their positions, so that a name of many words still costs linear time and
// its lookups stay in a few flat arrays. Both give the same answer, since
// only equality of keys counts.
class WordMatcher {
 public:
  explicit WordMatcher(Words words);
  bool Contains(Words words, std::string_view probe) const;

 private:
  // What word i is compared as: the word itself or its key in keys_.
  struct Comparand {
    WordSpan span;
    bool in_keys = false;
  };

  // Without comparands every word is compared as it is.
  std::string_view Text(Words words, std::size_t i) const noexcept {
    if (comparands_.empty()) return words[i];
    const Comparand& c = comparands_[i];
    return c.in_keys
               ? std::string_view(keys_.data() + c.span.offset, c.span.size)
               : words[i];
  }
  void BuildTable(Words words);
  // Lookups of the probe's key: in the list, or in the table of a long one.
  bool KeyContains(Words words, std::string_view probe) const;
  bool TableContains(Words words, std::string_view probe) const;

  KeyText keys_;  // the keys that were made, one after another
  SmallVector<Comparand, 32> comparands_;
  // Only for a long list:
  std::vector<std::size_t> hashes_;   // of the keys, by position
  std::vector<std::uint32_t> slots_;  // positions of keys, or kEmpty
  std::size_t mask_ = 0;
};

}  // namespace wordlap::platform
