#include "group/component_groups.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

namespace wordlap::group {

ComponentGroups::ComponentGroups(std::size_t files)
    : parent_(files), rank_(files, 0), joined_(files, false) {
  std::iota(parent_.begin(), parent_.end(), FileIndex{0});
}

FileIndex ComponentGroups::Find(FileIndex file) {
  while (parent_[file] != file) {
    parent_[file] = parent_[parent_[file]];  // path halving
    file = parent_[file];
  }
  return file;
}

void ComponentGroups::Join(FileIndex a, FileIndex b) {
  joined_[a] = joined_[b] = true;
  FileIndex x = Find(a), y = Find(b);
  if (x == y) return;
  if (rank_[x] < rank_[y]) std::swap(x, y);
  parent_[y] = x;
  if (rank_[x] == rank_[y]) ++rank_[x];
}

std::vector<Members> ComponentGroups::Groups() {
  // Files visited in scan order make every group ascending and put the
  // groups in the order of their first files.
  std::unordered_map<FileIndex, std::size_t> group_of_root;
  std::vector<Members> groups;
  for (FileIndex file = 0; file < parent_.size(); ++file) {
    if (!joined_[file]) continue;
    const auto [it, added] =
        group_of_root.try_emplace(Find(file), groups.size());
    if (added) groups.emplace_back();
    groups[it->second].push_back(file);
  }
  return groups;
}

}  // namespace wordlap::group
