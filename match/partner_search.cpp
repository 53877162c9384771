#include "match/partner_search.h"

#include "match/indexed_search.h"
#include "match/ordered_search.h"
#include "match/word_index.h"

namespace wordlap::match {

void FindPartners(const ClassedNames& names, unsigned threads,
                  const PartnersSink& sink, std::atomic<std::size_t>* done) {
  const WordIndex index(names.table);
  // Two names of one class match with every entry found.
  PartnerExpansion expansion(names.classes, names.table.EntryCounts(), sink);
  SearchInOrder(
      names.classes.ClassCount(), threads,
      [&] { return MakeIndexedSearch(names.table, index, names.classes); },
      [&](std::span<const ClassMatch> matches) { expansion.Add(matches); },
      done);
  expansion.Finish();
}

}  // namespace wordlap::match
