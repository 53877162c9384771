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
  // What a class with names still to come needs for each of them: the
  // classes it matches, with the counts for a pair whose earlier name is in
  // it.
  struct Open {
    std::vector<Link> links;
  };

  void Start(ClassId c, std::span<const ClassMatch> matches);
  void EmitBefore(NameId limit);
  void Emit(NameId a);

  const NameClasses& classes_;
  std::span<const std::uint32_t> self_words_;
  PartnersSink sink_;
  ClassId next_class_ = 0;
  NameId next_name_ = 0;
  std::unordered_map<ClassId, Open> open_;
  std::vector<PartnerRun> runs_;
};

}  // namespace wordlap::match
