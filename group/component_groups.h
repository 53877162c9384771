// Groups as connected sets of pairs: every file reachable from another
// through pairs is in its group.
#pragma once

#include <cstddef>
#include <vector>

#include "group/group.h"

namespace wordlap::group {

// Union-find over the files of a scan. When every pair handed to Join holds
// files of one content class (equal hashes), a group is a connected set of
// matching pairs within that class, so any member can stand for all.
class ComponentGroups {
 public:
  explicit ComponentGroups(std::size_t files);

  void Join(FileIndex a, FileIndex b);

  // The groups of two or more files, each ascending, ordered by their first
  // file.
  std::vector<Members> Groups();

 private:
  FileIndex Find(FileIndex file);

  std::vector<FileIndex> parent_;
  std::vector<std::uint8_t> rank_;
  std::vector<bool> joined_;
};

}  // namespace wordlap::group
