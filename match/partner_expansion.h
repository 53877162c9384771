// From matching classes, in class order, to the partners of each name, in
// scan order.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <unordered_map>
#include <vector>

#include "match/match.h"
#include "match/name_classes.h"
#include "match/partners.h"

namespace wordlap::match {

// Receives the partners of every name, in ascending order of the name (also
// of names without partners, with no runs).
using PartnersSink = std::function<void(const NamePartners&)>;

// Only a class whose names are spread out (a first name, more to come)
// keeps its matches, from its first name to its last; the matches of any
// other class are used at once.
class PartnerExpansion {
 public:
  // `self_words[c]` is the number of entries of the names of class c: two
  // names of one class match with all of them found; 0 (or a class past the
  // end of `self_words`) means names of the class never match each other.
  PartnerExpansion(const NameClasses& classes,
                   std::span<const std::uint32_t> self_words,
                   PartnersSink sink);

  // The matches of class x; classes come in ascending order, those without
  // matches may be left out.
  void Add(std::span<const ClassMatch> matches);
  // Hands over the names still waiting.
  void Finish();

 private:
  struct Link {
    ClassId other;
    Overlap overlap;
  };
  struct Open {
    std::vector<ClassMatch> matches;  // with later classes, ascending y
    // Matches with earlier open classes, for pairs whose earlier name is
    // one of this class's later names.
    std::vector<Link> earlier;
  };
  // The next class y (by its first name) that an open class w matches
  // with a pair whose earlier name is in y: matches[index] of w.
  struct Pending {
    NameId first_of_y;
    ClassId w;
    std::uint32_t index;
  };

  void Start(ClassId c, std::span<const ClassMatch> matches);
  void EmitBefore(NameId limit);
  // `fresh` holds the matches of a's class when a is its first name.
  void Emit(NameId a, std::span<const ClassMatch> fresh);
  void Schedule(ClassId w, std::uint32_t from);
  static bool LaterFirst(const Pending& x, const Pending& y) {
    return x.first_of_y > y.first_of_y;
  }

  const NameClasses& classes_;
  std::span<const std::uint32_t> self_words_;
  PartnersSink sink_;
  ClassId next_class_ = 0;
  NameId next_name_ = 0;
  std::unordered_map<ClassId, Open> open_;
  std::vector<Pending> pending_;  // a min-heap on first_of_y
  std::vector<PartnerRun> runs_;
};

}  // namespace wordlap::match
