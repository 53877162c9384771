// Groups by name alone: a reference file and the later files that match
// it. Names that match do not make a relation that holds together (a
// matches b and b matches c, a and c need not match), so these groups are
// stars around their first file, and no file is in two of them.
#pragma once

#include <cstddef>
#include <vector>

#include "group/group.h"

namespace wordlap::group {

class NameGroups {
 public:
  explicit NameGroups(std::size_t files) : grouped_(files, false) {}

  // Pairs (a, b), a before b, must come ascending by a, then by b. The
  // first file a with a pair to a file in no group becomes a reference;
  // the later files that match it and are in no group yet are its members.
  void Add(FileIndex a, FileIndex b);

  // The groups in the order they were opened, each ascending.
  std::vector<Members> Take() { return std::move(groups_); }

 private:
  std::vector<bool> grouped_;
  std::vector<Members> groups_;
  FileIndex current_ = 0;
  bool have_current_ = false;
  bool current_skipped_ = false;
  bool current_open_ = false;
};

}  // namespace wordlap::group
