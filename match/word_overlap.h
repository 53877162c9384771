// The verdict of a pair worked out on numbered words: the same lists, the
// same choice of the iterated list and the same threshold as CompareNames.
#pragma once

#include <cstdint>
#include <optional>

#include "match/name_table.h"

namespace wordlap::match {

// What the comparison of a pair counted: `found` of the `words` entries of
// the iterated list occur in the other list.
struct Overlap {
  std::uint32_t found = 0;
  std::uint32_t words = 0;
};

// The comparison iterates the list with fewer entries and, on a tie, the one
// of the second path.
constexpr bool IteratesFirst(std::uint32_t entries_a, std::uint32_t entries_b) {
  return entries_a < entries_b;
}

// How many entries of an iterated list of `words` entries may be missing
// from the other list while the pair still matches: 10 * found > 9 * words
// holds exactly when fewer than a tenth are missing.
constexpr std::uint32_t MissingAllowed(std::uint32_t words) {
  return words == 0 ? 0 : (words - 1) / 10;
}

// Counts the entries of `iterated` (with repeats) whose word occurs in
// `lookup`.
Overlap CountOverlap(const NameTable& table, NameId iterated, NameId lookup);

// As CountOverlap, but gives up as soon as the pair cannot match.
std::optional<Overlap> MatchingOverlap(const NameTable& table, NameId iterated,
                                       NameId lookup);

// The counts of the pair (a, b) in that order, iterated list chosen as the
// comparison chooses it.
Overlap PairOverlap(const NameTable& table, NameId a, NameId b);

}  // namespace wordlap::match
