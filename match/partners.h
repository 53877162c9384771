// The partners of one name: the later names that match it, as runs of
// names that share their counts, expanded into pairs only by who writes
// them.
#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "match/match.h"

namespace wordlap::match {

// Names of one class, ascending, all after the name they match and all
// with the same counts.
struct PartnerRun {
  std::span<const NameId> names;
  Overlap overlap;
};

struct NamePartners {
  NameId a;
  std::span<const PartnerRun> runs;  // disjoint, in no particular order

  std::uint64_t PairCount() const {
    std::uint64_t pairs = 0;
    for (const PartnerRun& run : runs) pairs += run.names.size();
    return pairs;
  }
};

// Walks the partners of a name in ascending order of b, merging the runs.
class PartnerMerge {
 public:
  explicit PartnerMerge(std::span<const PartnerRun> runs);

  // The next partner and its counts; false after the last.
  bool Next(NameId& b, Overlap& overlap);

 private:
  struct Cursor {
    const NameId* next;
    const NameId* end;
    Overlap overlap;
  };
  std::vector<Cursor> heap_;  // a min-heap on *next
};

// Calls `visit(b, overlap)` for every partner, b ascending.
template <typename Visit>
void ForEachPartner(const NamePartners& partners, Visit&& visit) {
  // Runs that already follow each other (names that are each a class of
  // their own, as most are) need no merge.
  bool in_order = true;
  const NameId* last = nullptr;
  for (const PartnerRun& run : partners.runs) {
    if (run.names.empty()) continue;
    if (last != nullptr && *last >= run.names.front()) {
      in_order = false;
      break;
    }
    last = &run.names.back();
  }
  if (in_order) {
    for (const PartnerRun& run : partners.runs) {
      for (const NameId b : run.names) visit(b, run.overlap);
    }
    return;
  }
  PartnerMerge merge(partners.runs);
  NameId b;
  Overlap overlap;
  while (merge.Next(b, overlap)) visit(b, overlap);
}

}  // namespace wordlap::match
