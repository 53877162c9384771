#include "group/name_groups.h"

namespace wordlap::group {

void NameGroups::Add(FileIndex a, FileIndex b) {
  if (!have_current_ || a != current_) {
    // Every earlier file has had its pairs, so a is in a group now exactly
    // when it will ever be a member.
    current_ = a;
    have_current_ = true;
    current_skipped_ = grouped_[a];
    current_open_ = false;
  }
  if (current_skipped_ || grouped_[b]) return;
  if (!current_open_) {
    groups_.push_back({a});
    grouped_[a] = true;
    current_open_ = true;
  }
  groups_.back().push_back(b);
  grouped_[b] = true;
}

}  // namespace wordlap::group
