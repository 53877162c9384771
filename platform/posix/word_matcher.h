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
  explicit WordMatcher(const Words& words);
  bool Contains(const Words& words, std::string_view probe) const {
    if (!slots_.empty() || !comparands_.empty()) {
      return ContainsByKeys(words, probe);
    }
    // Every word is ASCII, so a probe with any other byte can equal one only
    // by its key: the probe's own bytes are tried first, and its key only
    // when it is not ASCII.
    for (const WordSpan& span : words.spans) {
      if (span.size == probe.size() &&
          EqualIgnoringAsciiCase({words.text.data() + span.offset, span.size},
                                 probe)) {
        return true;
      }
    }
    return !IsAscii(probe) && KeyContains(words, probe);
  }

  static bool IsAscii(std::string_view word) noexcept {
    unsigned char bytes_seen = 0;
    for (const char c : word) bytes_seen |= static_cast<unsigned char>(c);
    return bytes_seen < 0x80;
  }
  static char LowerAscii(char c) noexcept {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
  }
  static bool EqualIgnoringAsciiCase(std::string_view a,
                                     std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (a[i] != b[i] && LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
  }

 private:
  // What word i is compared as: the word itself or its key in keys_.
  struct Comparand {
    WordSpan span;
    bool in_keys = false;
  };

  // Without comparands every word is compared as it is.
  std::string_view Text(const Words& words, std::size_t i) const noexcept {
    if (comparands_.empty()) return words[i];
    const Comparand& c = comparands_[i];
    return c.in_keys
               ? std::string_view(keys_.data() + c.span.offset, c.span.size)
               : words[i];
  }
  void BuildTable(const Words& words);
  // Lookups of the probe's key: in the list, or in the table of a long one.
  bool KeyContains(const Words& words, std::string_view probe) const;
  bool ContainsByKeys(const Words& words, std::string_view probe) const;
  bool TableContains(const Words& words, std::string_view probe) const;

  KeyText keys_;  // the keys that were made, one after another
  SmallVector<Comparand, 32> comparands_;
  // Only for a long list:
  std::vector<std::size_t> hashes_;   // of the keys, by position
  std::vector<std::uint32_t> slots_;  // positions of keys, or kEmpty
  std::size_t mask_ = 0;
};

}  // namespace wordlap::platform
