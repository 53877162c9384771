// The scan's own search: candidates from the word index, verdict counted on
// numbered words, over classes of names.
#pragma once

#include <memory>

#include "match/match_search.h"
#include "match/name_classes.h"
#include "match/name_table.h"
#include "match/word_index.h"

namespace wordlap::match {

// `table` and `index` hold one entry per class of `classes` (names
// renumbered by class). For a class x it proposes the later classes y that
// could match and keeps those that do:
// - when x's list is shorter (x is iterated), y must hold one of x's key
//   words, so the candidates are the holders of those words;
// - otherwise (y is iterated), x must hold one of y's key words, so the
//   candidates are the classes keyed by a word of x;
// - on equal lengths both ways are needed when a name of y comes before a
//   name of x somewhere in scan order.
// All of them must outlive the search.
std::unique_ptr<MatchSearch> MakeIndexedSearch(const NameTable& table,
                                               const WordIndex& index,
                                               const NameClasses& classes);

}  // namespace wordlap::match
