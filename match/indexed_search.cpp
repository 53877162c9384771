#include "match/indexed_search.h"

#include <algorithm>

#include "match/word_overlap.h"

namespace wordlap::match {
namespace {

class IndexedSearch final : public MatchSearch {
 public:
  IndexedSearch(const NameTable& table, const WordIndex& index)
      : table_(table), index_(index), seen_(table.NameCount(), kNone) {}

  void FindMatches(NameId a, std::vector<Match>& out) override {
    const std::uint32_t entries_a = table_.EntryCount(a);
    if (entries_a == 0) return;
    const std::size_t first = out.size();

    for (const WordId word : index_.KeyWords(a)) {
      for (const NameId b : Later(index_.NamesWith(word), a)) {
        if (!IteratesFirst(entries_a, table_.EntryCount(b))) continue;
        if (!FirstSighting(a, b)) continue;
        if (const auto overlap = MatchingOverlap(table_, a, b)) {
          out.push_back({a, b, overlap->found, overlap->words});
        }
      }
    }
    for (const WordCount& word : table_.Words(a)) {
      for (const NameId b : Later(index_.NamesKeyedBy(word.word), a)) {
        if (IteratesFirst(entries_a, table_.EntryCount(b))) continue;
        if (!FirstSighting(a, b)) continue;
        if (const auto overlap = MatchingOverlap(table_, b, a)) {
          out.push_back({a, b, overlap->found, overlap->words});
        }
      }
    }
    std::sort(out.begin() + static_cast<std::ptrdiff_t>(first), out.end(),
              [](const Match& x, const Match& y) { return x.b < y.b; });
  }

 private:
  static constexpr NameId kNone = ~NameId{0};

  static std::span<const NameId> Later(std::span<const NameId> names,
                                       NameId a) {
    return {std::upper_bound(names.begin(), names.end(), a), names.end()};
  }

  // A candidate can be proposed by several words; it is judged once.
  bool FirstSighting(NameId a, NameId b) {
    if (seen_[b] == a) return false;
    seen_[b] = a;
    return true;
  }

  const NameTable& table_;
  const WordIndex& index_;
  std::vector<NameId> seen_;
};

}  // namespace

std::unique_ptr<MatchSearch> MakeIndexedSearch(const NameTable& table,
                                               const WordIndex& index) {
  return std::make_unique<IndexedSearch>(table, index);
}

}  // namespace wordlap::match
