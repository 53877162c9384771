// Runs a MatchSearch over every class on several threads and hands the
// matches back in class order, as if one thread had done the work.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <span>

#include "match/match_search.h"

namespace wordlap::match {

// Receives the matches of one class x (all ClassMatch (x, y), y ascending),
// for the classes with matches, in ascending order of x. It runs on the
// calling thread; if it throws, the workers stop and the exception goes on.
using MatchConsumer = std::function<void(std::span<const ClassMatch>)>;

// The matches waiting for the consumer stay bounded whatever their total:
// workers run only a few blocks of classes ahead, and a block holds only so
// many matches before its worker waits for the consumer. `done` counts the
// classes searched so far, for progress.
void SearchInOrder(std::size_t classes, unsigned threads,
                   const MatchSearchFactory& make_search,
                   const MatchConsumer& consume,
                   std::atomic<std::size_t>* done = nullptr);

}  // namespace wordlap::match
