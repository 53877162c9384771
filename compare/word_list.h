// WordList: the words of one file name, in the order they were found,
// duplicates and empty entries included; never sorted.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/word_match.h"

namespace wordlap {

class WordList {
 public:
  void Append(std::string entry);
  void Reserve(std::size_t count) { entries_.reserve(count); }

  std::size_t Count() const noexcept { return entries_.size(); }
  const std::string& operator[](std::size_t index) const {
    return entries_[index];
  }
  const std::vector<std::string>& Entries() const noexcept { return entries_; }

  // True when some entry equals `probe` without regard to case, as the
  // platform compares words.
  bool Contains(std::string_view probe) const;

  friend bool operator==(const WordList& a, const WordList& b) {
    return a.entries_ == b.entries_;
  }

 private:
  std::vector<std::string> entries_;
  // Built on the first lookup; a list is not changed once it is looked in.
  mutable platform::WordMatcherPtr matcher_;
};

}  // namespace wordlap
