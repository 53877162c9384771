// The scan's search from start to end: classes searched through the word
// index, their pairs handed over name by name.
#pragma once

#include <atomic>
#include <cstddef>

#include "match/classed_names.h"
#include "match/partner_expansion.h"

namespace wordlap::match {

// Hands the partners of every name of `names` to `sink`, in scan order, on
// the calling thread; the search runs on `threads` threads. `done` counts
// the classes searched, out of names.classes.ClassCount().
void FindPartners(const ClassedNames& names, unsigned threads,
                  const PartnersSink& sink,
                  std::atomic<std::size_t>* done = nullptr);

}  // namespace wordlap::match
