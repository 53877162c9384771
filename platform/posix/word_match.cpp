#include "platform/word_match.h"

#include <functional>

namespace wordlap::platform {
namespace {

// Up to this many words, the inline room of a list's places, a list is
// searched in order, and a usual name needs no memory for its lookups.
constexpr std::size_t kLinearLimit = 32;
constexpr std::uint32_t kEmpty = ~std::uint32_t{0};

std::size_t Hash(std::string_view key) {
  return std::hash<std::string_view>{}(key);
}

}  // namespace

WordMatcher::WordMatcher(const Words& words) {
  const bool long_list = words.Count() > kLinearLimit;
  // The list's text holds all of its words, so one look at it tells whether
  // they are all ASCII.
  if (!long_list && IsAscii(words.text)) return;
  keyed_ = true;
  const FoldRules rules = LoadedFoldRules();
  for (std::size_t i = 0; i < words.Count(); ++i) {
    const std::size_t start = keys_.size();
    AppendWordKey(words[i], keys_, rules);
    key_spans_.push_back({start, keys_.size() - start});
  }
  if (long_list) BuildTable();
}

// At most half the slots are used, so every probe sequence is short and
// ends at an empty slot. Equal keys are stored once.
void WordMatcher::BuildTable() {
  const Words keys = Keys();
  const std::size_t count = keys.Count();
  std::size_t size = 1;
  while (size < 2 * count) size *= 2;
  slots_.assign(size, kEmpty);
  mask_ = size - 1;
  hashes_.reserve(count);
  for (std::uint32_t key = 0; key < count; ++key) {
    const std::size_t hash = Hash(keys[key]);
    hashes_.push_back(hash);
    std::size_t i = hash & mask_;
    while (slots_[i] != kEmpty &&
           !(hashes_[slots_[i]] == hash && keys[slots_[i]] == keys[key])) {
      i = (i + 1) & mask_;
    }
    if (slots_[i] == kEmpty) slots_[i] = key;
  }
}

bool WordMatcher::ContainsKeyOf(const Words& words,
                                std::string_view probe) const {
  KeyText key;
  AppendWordKey(probe, key);
  return AnyEqualIgnoringAsciiCase(words, key);
}

bool WordMatcher::KeyedContains(std::string_view probe) const {
  if (slots_.empty()) {
    // An ASCII probe is compared as it is, like an ASCII word.
    return IsAscii(probe) ? AnyEqualIgnoringAsciiCase(Keys(), probe)
                          : ContainsKeyOf(Keys(), probe);
  }
  KeyText key;
  AppendWordKey(probe, key);
  const std::string_view wanted = key;
  const std::size_t hash = Hash(wanted);
  const Words keys = Keys();
  for (std::size_t i = hash & mask_; slots_[i] != kEmpty; i = (i + 1) & mask_) {
    const std::uint32_t position = slots_[i];
    if (hashes_[position] == hash && keys[position] == wanted) return true;
  }
  return false;
}

bool WordsEqual(std::string_view a, std::string_view b) {
  KeyText key_a, key_b;
  AppendWordKey(a, key_a);
  AppendWordKey(b, key_b);
  return std::string_view(key_a) == std::string_view(key_b);
}

}  // namespace wordlap::platform
