// The scan's own search: candidates from the word index, verdict counted on
// numbered words.
#pragma once

#include <memory>

#include "match/match_search.h"
#include "match/name_table.h"
#include "match/word_index.h"

namespace wordlap::match {

// Proposes, for a name a, the later names b that could match it and keeps
// those that do:
// - when a's list is shorter (a is iterated), b must hold one of a's key
//   words, so the candidates are the holders of those words;
// - otherwise (b is iterated), a must hold one of b's key words, so the
//   candidates are the names keyed by a word of a.
// The table and index must outlive the search.
std::unique_ptr<MatchSearch> MakeIndexedSearch(const NameTable& table,
                                               const WordIndex& index);

}  // namespace wordlap::match
