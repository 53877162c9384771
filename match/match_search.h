// MatchSearch: finds the names later in scan order that match a given name.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "match/match.h"

namespace wordlap::match {

// One per worker thread; it may keep scratch space between calls.
class MatchSearch {
 public:
  virtual ~MatchSearch() = default;

  // Appends to `out` every pair (a, b) with b after a that matches, in
  // ascending order of b.
  virtual void FindMatches(NameId a, std::vector<Match>& out) = 0;
};

using MatchSearchFactory = std::function<std::unique_ptr<MatchSearch>()>;

}  // namespace wordlap::match
