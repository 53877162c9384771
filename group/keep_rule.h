// Which file of a group stays.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "group/group.h"

namespace wordlap::group {

enum class KeepRule {
  kDefault,       // a name that does not look like a copy, then scan order
  kFirst,         // scan order: the folder listed first wins
  kNewest,        // latest modification time
  kOldest,        // earliest modification time
  kShortestPath,  // fewest bytes in the path
  kLongestPath,   // most bytes in the path
};

// "default", "first", "newest", "oldest", "shortest-path", "longest-path";
// false for anything else.
bool ParseKeepRule(std::string_view text, KeepRule& rule);
std::string_view KeepRuleName(KeepRule rule);

// What the rules look at, by file index.
struct KeepFacts {
  std::string_view path;
  bool has_time = false;  // the file exists here and its time was read
  std::int64_t mtime = 0;
  std::uint32_t mtime_nsec = 0;
  bool reference = false;  // under a --reference folder
};

// Chooses the kept file of `members` (ascending in scan order, two or more).
// Files under a reference folder always stay: the first of them by the rule
// is the kept file and the others are also kept. Otherwise the rule decides;
// files it cannot tell apart go to a name that does not look like a copy,
// then to scan order. Under the time rules a file without a known time
// comes last. The result has no duplicates when every member is a
// reference file.
KeptGroup ChooseKept(std::span<const FileIndex> members, KeepRule rule,
                     std::span<const KeepFacts> facts);

}  // namespace wordlap::group
