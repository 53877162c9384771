// Groups by name alone: a first file and the later files that match it.
// Names that match do not make a relation that holds together (a matches b
// and b matches c, a and c need not match), so these groups are stars
// around their first file, and no file is in two of them.
#pragma once

#include <cstdint>
#include <vector>

#include "group/group.h"
#include "match/name_classes.h"
#include "match/partners.h"

namespace wordlap::group {

class NameGroups {
 public:
  // `classes` are those whose member lists the partners' runs lie in; they
  // must outlive the groups.
  explicit NameGroups(const match::NameClasses& classes);

  // The partners of a; names must come ascending. Each run is a stretch of
  // one class's member list (a single name is one). The first file a with
  // a partner in no group opens a group, and its partners in no group yet
  // are its members.
  void Add(const match::NamePartners& partners);

  // The groups in the order they were opened, each ascending.
  std::vector<Members> Take() { return std::move(groups_); }

 private:
  // What is left of a run: slots [slot, end) of the member lists, whose
  // names start at slot `begin` in `names`.
  struct Cursor {
    std::uint32_t slot;
    std::uint32_t end;
    std::uint32_t begin;
    const match::NameId* names;

    match::NameId Name() const { return names[slot - begin]; }
  };

  // free_after_ links each grouped slot towards the next ungrouped one
  // (halving the paths as they are walked); an ungrouped slot links to
  // itself, and the slot past the end stays ungrouped. So a file grouped
  // long ago costs nothing to the runs of later files: thousands of files
  // of one name are stepped over in one jump.
  std::uint32_t FreeFrom(std::uint32_t slot);
  bool Grouped(std::uint32_t slot) const { return free_after_[slot] != slot; }
  void Group(std::uint32_t slot) { free_after_[slot] = slot + 1; }

  const match::NameClasses& classes_;
  std::vector<std::uint32_t> free_after_;
  std::vector<Cursor> cursors_;
  std::vector<Members> groups_;
};

}  // namespace wordlap::group
