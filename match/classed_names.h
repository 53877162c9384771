// The names of a collection ready for the search: their classes, and the
// words of each class numbered once.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "match/name_classes.h"
#include "match/name_table.h"
#include "match/word_overlap.h"

namespace wordlap::match {

struct ClassedNames {
  NameClasses classes;
  NameTable table;  // by class

  // `done` is raised as names are read, for progress.
  static ClassedNames Build(std::span<const std::string> paths,
                            unsigned threads,
                            std::atomic<std::size_t>* done = nullptr);

  // The counts of the pair (a, b) in that order, iterated list chosen as
  // the comparison chooses it.
  Overlap PairOverlap(NameId a, NameId b) const;
};

}  // namespace wordlap::match
