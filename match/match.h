// What the search finds: matching classes of names, and the matching pairs
// of names they stand for.
#pragma once

#include <cstdint>

#include "match/name_classes.h"
#include "match/word_overlap.h"

namespace wordlap::match {

// One matching pair of names, a before b in scan order; `found` of the
// `words` entries of the iterated list occur in the other list.
struct Match {
  NameId a;
  NameId b;
  std::uint32_t found;
  std::uint32_t words;
};

// Two classes x < y whose names match. When the lists are of equal length
// the comparison iterates the later name's list, so the verdict can depend
// on which name comes first: `x_first` holds the counts of a pair whose
// earlier name is in x, `y_first` those of a pair whose earlier name is in
// y; `words` is 0 where such a pair does not match (or cannot occur).
struct ClassMatch {
  ClassId x;
  ClassId y;
  Overlap x_first;
  Overlap y_first;
};

}  // namespace wordlap::match
