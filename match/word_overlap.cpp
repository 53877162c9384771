#include "match/word_overlap.h"

#include <limits>

namespace wordlap::match {
namespace {

// Merges the two sorted word sets; stops once more than `max_missing`
// entries of the iterated name are missing.
std::optional<Overlap> Count(const NameTable& table, NameId iterated,
                             NameId lookup, std::uint32_t max_missing) {
  const auto x = table.Words(iterated);
  const auto y = table.Words(lookup);
  Overlap overlap{0, table.EntryCount(iterated)};
  std::uint32_t missing = 0;
  std::size_t j = 0;
  for (const WordCount& word : x) {
    while (j < y.size() && y[j].word < word.word) ++j;
    if (j < y.size() && y[j].word == word.word) {
      overlap.found += word.count;
    } else {
      missing += word.count;
      if (missing > max_missing) return std::nullopt;
    }
  }
  return overlap;
}

}  // namespace

Overlap CountOverlap(const NameTable& table, NameId iterated, NameId lookup) {
  return *Count(table, iterated, lookup,
                std::numeric_limits<std::uint32_t>::max());
}

std::optional<Overlap> MatchingOverlap(const NameTable& table, NameId iterated,
                                       NameId lookup) {
  const std::uint32_t words = table.EntryCount(iterated);
  if (words == 0) return std::nullopt;
  return Count(table, iterated, lookup, MissingAllowed(words));
}

Overlap PairOverlap(const NameTable& table, NameId a, NameId b) {
  return IteratesFirst(table.EntryCount(a), table.EntryCount(b))
             ? CountOverlap(table, a, b)
             : CountOverlap(table, b, a);
}

}  // namespace wordlap::match
