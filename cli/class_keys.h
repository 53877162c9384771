// Equal sizes or contents looked up within a run of names of one class, so
// that a run of thousands of names of one name ("cover.jpg" in every
// folder) costs a lookup, not a look at each of them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "match/name_classes.h"
#include "match/partners.h"

namespace wordlap::cli {

// Names of one class all match each other, so among them every two with
// the same key are a pair that meets the criteria. Joining a name with one
// partner of its key in a run is then enough to connect it with all of
// them, and marking that one partner is enough to mark all: their own
// pairs within the class do the rest.
class ClassKeys {
 public:
  // `keys` by name: equal keys mean the criteria hold; nothing for a name
  // that meets them with no other.
  ClassKeys(const match::NameClasses& classes,
            std::span<const std::optional<std::uint64_t>> keys);

  const std::optional<std::uint64_t>& KeyOf(match::NameId name) const {
    return keys_[name];
  }

  // The names of `run` with `key`: the first of them and how many there
  // are; count 0 when none.
  struct Found {
    match::NameId first = 0;
    std::size_t count = 0;
  };
  Found Find(const match::PartnerRun& run, std::uint64_t key) const;

 private:
  struct Entry {
    match::ClassId klass;
    std::uint64_t key;
    std::uint32_t slot;
    match::NameId name;
  };
  const match::NameClasses& classes_;
  std::span<const std::optional<std::uint64_t>> keys_;
  std::vector<Entry> entries_;  // by class, key, slot
};

}  // namespace wordlap::cli
