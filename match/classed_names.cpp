#include "match/classed_names.h"

#include "match/word_overlap.h"

namespace wordlap::match {

ClassedNames ClassedNames::Build(std::span<const std::string> paths,
                                 unsigned threads,
                                 std::atomic<std::size_t>* done) {
  ClassedNames names{{}, NameTable::Build(paths, threads, done)};
  names.classes = NameClasses::Build(names.table);
  names.table.KeepOnly(names.classes.FirstNames());
  return names;
}

Overlap ClassedNames::PairOverlap(NameId a, NameId b) const {
  return match::PairOverlap(table, classes.ClassOf(a), classes.ClassOf(b));
}

}  // namespace wordlap::match
