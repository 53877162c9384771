// Runs a MatchSearch over every name on several threads and hands the
// matches back in scan order, as if one thread had done the work.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <span>

#include "match/match_search.h"

namespace wordlap::match {

// Receives the matches of one name a (all pairs (a, b), b ascending), for
// the names with matches, in ascending order of a. It runs on the calling
// thread; if it throws, the workers stop and the exception goes on.
using MatchConsumer = std::function<void(std::span<const Match>)>;

// `done` counts the names searched so far, for progress.
void SearchInOrder(std::size_t names, unsigned threads,
                   const MatchSearchFactory& make_search,
                   const MatchConsumer& consume,
                   std::atomic<std::size_t>* done = nullptr);

}  // namespace wordlap::match
