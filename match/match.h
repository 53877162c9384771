// One matching pair as the scan reports it.
#pragma once

#include <cstdint>

#include "match/name_table.h"

namespace wordlap::match {

// The pair (a, b), a before b in scan order; `found` of the `words` entries
// of the iterated list occur in the other list.
struct Match {
  NameId a;
  NameId b;
  std::uint32_t found;
  std::uint32_t words;
};

}  // namespace wordlap::match
