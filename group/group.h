// A group of duplicates as the later stages see it: files by their index in
// scan order.
#pragma once

#include <cstdint>
#include <vector>

namespace wordlap::group {

using FileIndex = std::uint32_t;

// The files of one group, ascending in scan order.
using Members = std::vector<FileIndex>;

// A group once its kept file is chosen.
struct KeptGroup {
  FileIndex kept = 0;
  // Other files of the group that stay too (files under a reference
  // folder); they are never offered for removal.
  std::vector<FileIndex> also_kept;
  // The files that could go, in scan order; never empty.
  std::vector<FileIndex> duplicates;
};

}  // namespace wordlap::group
