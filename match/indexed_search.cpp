#include "match/indexed_search.h"

#include <algorithm>

#include "match/word_overlap.h"

namespace wordlap::match {
namespace {

class IndexedSearch final : public MatchSearch {
 public:
  IndexedSearch(const NameTable& table, const WordIndex& index,
                const NameClasses& classes)
      : table_(table),
        index_(index),
        classes_(classes),
        seen_(table.NameCount(), kNone) {}

  void FindMatches(ClassId x, std::vector<ClassMatch>& out) override {
    const std::uint32_t entries_x = table_.EntryCount(x);
    if (entries_x == 0) return;
    const std::size_t first = out.size();
    const NameId last_of_x = classes_.Last(x);

    // x iterated: the verdict of a pair whose later name is in x, or of any
    // pair when x's list is the shorter.
    for (const WordId word : index_.KeyWords(x)) {
      for (const ClassId y : Later(index_.NamesWith(word), x)) {
        const std::uint32_t entries_y = table_.EntryCount(y);
        if (entries_x > entries_y) continue;
        if (entries_x == entries_y && last_of_x < classes_.First(y)) continue;
        if (!FirstSighting(x, y)) continue;
        if (const auto overlap = MatchingOverlap(table_, x, y)) {
          out.push_back(
              {x, y, entries_x < entries_y ? *overlap : Overlap{}, *overlap});
        }
      }
    }
    // y iterated: the verdict of a pair whose later name is in y, or of any
    // pair when y's list is the shorter.
    for (const WordCount& word : table_.Words(x)) {
      for (const ClassId y : Later(index_.NamesKeyedBy(word.word), x)) {
        const std::uint32_t entries_y = table_.EntryCount(y);
        if (entries_x < entries_y) continue;
        if (!FirstSighting(x | kLookupSide, y)) continue;
        if (const auto overlap = MatchingOverlap(table_, y, x)) {
          out.push_back(
              {x, y, *overlap, entries_x > entries_y ? *overlap : Overlap{}});
        }
      }
    }
    std::sort(
        out.begin() + static_cast<std::ptrdiff_t>(first), out.end(),
        [](const ClassMatch& p, const ClassMatch& q) { return p.y < q.y; });
    // On equal lengths a class can be found both ways: one entry for both.
    const auto begin = out.begin() + static_cast<std::ptrdiff_t>(first);
    auto kept = begin;
    for (auto it = begin; it != out.end(); ++it) {
      if (kept != begin && (kept - 1)->y == it->y) {
        ClassMatch& merged = *(kept - 1);
        if (it->x_first.words != 0) merged.x_first = it->x_first;
        if (it->y_first.words != 0) merged.y_first = it->y_first;
        continue;
      }
      *kept++ = *it;
    }
    out.erase(kept, out.end());
  }

 private:
  static constexpr ClassId kNone = ~ClassId{0};
  // Class ids stay below 2^31 (NameTable holds at most 2^32 - 1 names, and
  // no collection comes near either).
  static constexpr ClassId kLookupSide = ClassId{1} << 31;

  static std::span<const NameId> Later(std::span<const NameId> classes,
                                       ClassId x) {
    return {std::upper_bound(classes.begin(), classes.end(), x), classes.end()};
  }

  // A candidate can be proposed by several words; it is judged once on
  // each side, the mark telling the side apart.
  bool FirstSighting(ClassId mark, ClassId y) {
    if (seen_[y] == mark) return false;
    seen_[y] = mark;
    return true;
  }

  const NameTable& table_;
  const WordIndex& index_;
  const NameClasses& classes_;
  std::vector<ClassId> seen_;
};

}  // namespace

std::unique_ptr<MatchSearch> MakeIndexedSearch(const NameTable& table,
                                               const WordIndex& index,
                                               const NameClasses& classes) {
  return std::make_unique<IndexedSearch>(table, index, classes);
}

}  // namespace wordlap::match
