#include "platform/word_match.h"

#include <algorithm>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/word_key.h"

namespace wordlap::platform {

// Words are equal when their fold keys are, so the matcher folds every entry
// once and compares keys. A short list is searched in order; a long one is
// hashed so that a name of many words still costs linear time. Both give the
// same answer, since only equality of keys counts.
class WordMatcher {
 public:
  explicit WordMatcher(std::span<const std::string> words) {
    keys_.reserve(words.size());
    for (const std::string& word : words) keys_.push_back(WordKey(word));
    if (keys_.size() > kLinearLimit) {
      index_.reserve(keys_.size());
      index_.insert(keys_.begin(), keys_.end());
    }
  }

  bool Contains(std::string_view probe) const {
    WordKey(probe, probe_key_);
    if (keys_.size() > kLinearLimit) return index_.contains(probe_key_);
    return std::find(keys_.begin(), keys_.end(), probe_key_) != keys_.end();
  }

 private:
  static constexpr std::size_t kLinearLimit = 16;
  std::vector<std::string> keys_;
  std::unordered_set<std::string_view> index_;
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
