#include "platform/word_match.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/word_key.h"

namespace wordlap::platform {

// Words are equal when their fold keys are, so the matcher folds every entry
// once and compares keys. A short list is searched in order; a long one gets
// an open-addressing table of key positions, so that a name of many words
// still costs linear time and its lookups stay in a few flat arrays. Both
// give the same answer, since only equality of keys counts.
class WordMatcher {
 public:
  explicit WordMatcher(std::span<const std::string> words) {
    keys_.reserve(words.size());
    for (const std::string& word : words) keys_.push_back(WordKey(word));
    if (keys_.size() > kLinearLimit) BuildTable();
  }

  bool Contains(std::string_view probe) const {
    WordKey(probe, probe_key_);
    if (slots_.empty()) {
      return std::find(keys_.begin(), keys_.end(), probe_key_) != keys_.end();
    }
    const std::size_t hash = Hash(probe_key_);
    for (std::size_t i = hash & mask_; slots_[i] != kEmpty;
         i = (i + 1) & mask_) {
      const std::uint32_t key = slots_[i];
      if (hashes_[key] == hash && keys_[key] == probe_key_) return true;
    }
    return false;
  }

 private:
  static constexpr std::size_t kLinearLimit = 16;
  static constexpr std::uint32_t kEmpty = ~std::uint32_t{0};

  static std::size_t Hash(std::string_view key) {
    return std::hash<std::string_view>{}(key);
  }

  // At most half the slots are used, so every probe sequence is short and
  // ends at an empty slot. Equal keys are stored once.
  void BuildTable() {
    std::size_t size = 1;
    while (size < 2 * keys_.size()) size *= 2;
    slots_.assign(size, kEmpty);
    mask_ = size - 1;
    hashes_.reserve(keys_.size());
    for (std::uint32_t key = 0; key < keys_.size(); ++key) {
      const std::size_t hash = Hash(keys_[key]);
      hashes_.push_back(hash);
      std::size_t i = hash & mask_;
      while (slots_[i] != kEmpty &&
             !(hashes_[slots_[i]] == hash && keys_[slots_[i]] == keys_[key])) {
        i = (i + 1) & mask_;
      }
      if (slots_[i] == kEmpty) slots_[i] = key;
    }
  }

  std::vector<std::string> keys_;
  std::vector<std::size_t> hashes_;   // of keys_, by position
  std::vector<std::uint32_t> slots_;  // positions in keys_, or kEmpty
  std::size_t mask_ = 0;
  mutable std::string probe_key_;  // reused storage; a matcher serves one call
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
  return WordKey(a) == WordKey(b);
}

}  // namespace wordlap::platform
