// The POSIX WordMatcher (see platform/word_match.h, which includes this).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/small_vector.h"
#include "platform/word_key.h"

namespace wordlap::platform {

// Words are equal when their fold keys are. The key of an all-ASCII word is
// the word with A-Z lowered, so such a word stands for its own key when the
// two are compared ignoring ASCII case; and since a key has no capital A-Z,
// that same comparison is plain equality between two keys. So a short list
// of ASCII words is searched as it is, and a short list with other words
// gets the keys of its words, searched the same way.
//
// A long list gets the keys of all its words and an open-addressing table of
// their positions, so that a name of many words still costs linear time and
// its lookups stay in a few flat arrays. All give the same answer, since
// only equality of keys counts.
class WordMatcher {
 public:
  explicit WordMatcher(const Words& words);

  // The search in a list of ASCII words is the usual one, so it is written
  // here, where the caller's loop can take it in.
  bool Contains(const Words& words, std::string_view probe) const {
    if (keyed_) return KeyedContains(probe);
    // A probe with a byte outside ASCII can equal an ASCII word only by its
    // key, so its key is made only when its own bytes found nothing.
    return AnyEqualIgnoringAsciiCase(words, probe) ||
           (!IsAscii(probe) && ContainsKeyOf(words, probe));
  }

 private:
  static bool IsAscii(std::string_view word) noexcept {
    unsigned char bytes_seen = 0;
    for (const char c : word) bytes_seen |= static_cast<unsigned char>(c);
    return bytes_seen < 0x80;
  }

  static char LowerAscii(char c) noexcept {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
  }

  static bool EqualIgnoringAsciiCase(const char* a, std::string_view b) {
    for (std::size_t i = 0; i < b.size(); ++i) {
      if (a[i] == b[i]) continue;
      if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
  }

  // Whether some word of `words` (or some key, when `words` are keys)
  // equals `wanted` ignoring ASCII case.
  static bool AnyEqualIgnoringAsciiCase(const Words& words,
                                        std::string_view wanted) {
    for (const WordSpan& span : words.spans) {
      if (span.size == wanted.size() &&
          EqualIgnoringAsciiCase(words.text.data() + span.offset, wanted)) {
        return true;
      }
    }
    return false;
  }

  Words Keys() const noexcept { return {keys_, key_spans_}; }
  void BuildTable();
  bool ContainsKeyOf(const Words& words, std::string_view probe) const;
  bool KeyedContains(std::string_view probe) const;

  bool keyed_ = false;  // the words are looked up by their keys
  KeyText keys_;        // the keys of the words, one after another
  SmallVector<WordSpan, 32> key_spans_;
  // Only for a long list:
  std::vector<std::size_t> hashes_;   // of the keys, by position
  std::vector<std::uint32_t> slots_;  // positions of keys, or kEmpty
  std::size_t mask_ = 0;
};

}  // namespace wordlap::platform
