// WordList: the words of one file name, in the order they were found,
// duplicates and empty entries included; never sorted.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/small_vector.h"
#include "platform/word_match.h"

namespace wordlap {

// The entries are kept one after another in one text, so that the words of
// a usual name need no allocation of their own, nor of the list's.
class WordList {
 public:
  void Append(std::string_view entry);

  std::size_t Count() const noexcept { return spans_.size(); }
  std::string_view operator[](std::size_t index) const noexcept {
    return Words()[index];
  }

  // Copies of the entries, for a caller that keeps them or wants them as
  // strings; reading them by index copies nothing.
  std::vector<std::string> Entries() const;

  // True when some entry equals `probe` without regard to case, as the
  // platform compares words.
  bool Contains(std::string_view probe) const {
    if (!matcher_) matcher_.emplace(Words());
    return matcher_->Contains(Words(), probe);
  }

  friend bool operator==(const WordList& a, const WordList& b);
  // Keeps the text once and records where its entries lie in it.
  friend WordList SplitWords(std::string_view text, char delimiter, bool trim);

 private:
  platform::Words Words() const noexcept { return {text_, spans_}; }

  SmallVector<char, 256> text_;  // holds every entry
  SmallVector<platform::WordSpan, 32> spans_;
  // Prepared on the first lookup; a list is not changed once it is looked
  // in.
  mutable std::optional<platform::WordMatcher> matcher_;
};

}  // namespace wordlap
