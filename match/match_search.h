// MatchSearch: finds the classes later in class order that match a class.
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

  // Appends to `out` every ClassMatch (x, y) with y after x, in ascending
  // order of y.
  virtual void FindMatches(ClassId x, std::vector<ClassMatch>& out) = 0;
};

using MatchSearchFactory = std::function<std::unique_ptr<MatchSearch>()>;

}  // namespace wordlap::match
