// NameClasses: the names of a collection grouped by their words.
//
// Two names with the same words, each as many times (the same fold keys,
// so "Track 01.mp3" in a thousand folders), get the same verdict and the
// same counts against every other name, and match each other with every
// entry found. So the search runs once per class, and the pairs of a class
// are only expanded into names when they are written.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "match/name_table.h"

namespace wordlap::match {

using ClassId = std::uint32_t;

class NameClasses {
 public:
  // Classes are numbered in the order of their first names.
  static NameClasses Build(const NameTable& table);
  // Every name a class of its own: for a search that must judge each pair.
  static NameClasses Singletons(std::size_t names);

  std::size_t ClassCount() const { return starts_.size() - 1; }
  std::size_t NameCount() const { return members_.size(); }

  ClassId ClassOf(NameId name) const { return class_of_[name]; }
  // The names of the class, ascending.
  std::span<const NameId> Members(ClassId c) const {
    return {members_.data() + starts_[c], members_.data() + starts_[c + 1]};
  }
  NameId First(ClassId c) const { return members_[starts_[c]]; }
  NameId Last(ClassId c) const { return members_[starts_[c + 1] - 1]; }

  // Where a name lies in the classes' member lists laid end to end, so that
  // a span of Members() tells the places of its names.
  std::uint32_t SlotOf(NameId name) const;
  std::uint32_t SlotOf(const NameId* member) const {
    return static_cast<std::uint32_t>(member - members_.data());
  }

  // The first name of each class, by class.
  std::vector<NameId> FirstNames() const;

 private:
  std::vector<ClassId> class_of_;
  std::vector<std::uint32_t> starts_{0};
  std::vector<NameId> members_;
};

}  // namespace wordlap::match
