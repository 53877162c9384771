#include "match/word_index.h"

#include <algorithm>

#include "match/word_overlap.h"

namespace wordlap::match {
namespace {

// Fills `rows` from (name, word) memberships given by `for_each`, which is
// called twice: once to count, once to place. Names arrive ascending, so
// every row comes out ascending.
template <typename ForEach>
void FillRows(std::size_t words, ForEach for_each,
              std::vector<std::size_t>& starts, std::vector<NameId>& values) {
  starts.assign(words + 1, 0);
  for_each([&](NameId, WordId word) { ++starts[word + 1]; });
  for (std::size_t w = 0; w < words; ++w) starts[w + 1] += starts[w];
  values.resize(starts[words]);
  std::vector<std::size_t> next(starts.begin(), starts.end() - 1);
  for_each([&](NameId name, WordId word) { values[next[word]++] = name; });
}

}  // namespace

WordIndex::WordIndex(const NameTable& table) {
  const std::size_t names = table.NameCount();
  const std::size_t words = table.VocabularySize();

  FillRows(
      words,
      [&](auto&& visit) {
        for (NameId n = 0; n < names; ++n) {
          if (table.EntryCount(n) == 0) continue;
          for (const WordCount& w : table.Words(n)) visit(n, w.word);
        }
      },
      holders_.starts, holders_.values);

  // A word's rarity is the number of names holding it; ties go by id so
  // that the order is total and the same on every run.
  const auto rarer = [&](WordId x, WordId y) {
    const std::size_t nx = holders_.starts[x + 1] - holders_.starts[x];
    const std::size_t ny = holders_.starts[y + 1] - holders_.starts[y];
    return nx != ny ? nx < ny : x < y;
  };
  key_offsets_.reserve(names + 1);
  key_offsets_.push_back(0);
  std::vector<WordCount> sorted;
  for (NameId n = 0; n < names; ++n) {
    const std::uint32_t entries = table.EntryCount(n);
    if (entries > 0) {
      const auto own = table.Words(n);
      sorted.assign(own.begin(), own.end());
      std::sort(sorted.begin(), sorted.end(),
                [&](const WordCount& x, const WordCount& y) {
                  return rarer(x.word, y.word);
                });
      // Covering one entry more than may be missing means a matching
      // partner cannot lack all of them.
      const std::uint64_t needed = std::uint64_t{MissingAllowed(entries)} + 1;
      std::uint64_t covered = 0;
      for (const WordCount& w : sorted) {
        key_words_.push_back(w.word);
        covered += w.count;
        if (covered >= needed) break;
      }
    }
    key_offsets_.push_back(key_words_.size());
  }

  FillRows(
      words,
      [&](auto&& visit) {
        for (NameId n = 0; n < names; ++n) {
          for (const WordId w : KeyWords(n)) visit(n, w);
        }
      },
      keyed_.starts, keyed_.values);
}

}  // namespace wordlap::match
