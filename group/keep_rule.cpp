#include "group/keep_rule.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "group/copy_name.h"

namespace wordlap::group {
namespace {

constexpr std::array<std::pair<KeepRule, std::string_view>, 6> kNames{{
    {KeepRule::kDefault, "default"},
    {KeepRule::kFirst, "first"},
    {KeepRule::kNewest, "newest"},
    {KeepRule::kOldest, "oldest"},
    {KeepRule::kShortestPath, "shortest-path"},
    {KeepRule::kLongestPath, "longest-path"},
}};

// Negative when x should be kept before y, positive for the other way, 0
// when the rule cannot tell them apart.
int RuleOrder(KeepRule rule, const KeepFacts& x, const KeepFacts& y) {
  const auto compare = [](auto a, auto b) {
    return a < b ? -1 : a > b ? 1 : 0;
  };
  switch (rule) {
    case KeepRule::kNewest:
    case KeepRule::kOldest: {
      if (x.has_time != y.has_time) return x.has_time ? -1 : 1;
      const int older = compare(std::pair(x.mtime, x.mtime_nsec),
                                std::pair(y.mtime, y.mtime_nsec));
      return rule == KeepRule::kOldest ? older : -older;
    }
    case KeepRule::kShortestPath:
      return compare(x.path.size(), y.path.size());
    case KeepRule::kLongestPath:
      return -compare(x.path.size(), y.path.size());
    case KeepRule::kDefault:
    case KeepRule::kFirst:
      return 0;
  }
  return 0;
}

}  // namespace

bool ParseKeepRule(std::string_view text, KeepRule& rule) {
  for (const auto& [value, name] : kNames) {
    if (text == name) {
      rule = value;
      return true;
    }
  }
  return false;
}

std::string_view KeepRuleName(KeepRule rule) {
  for (const auto& [value, name] : kNames) {
    if (value == rule) return name;
  }
  return "default";
}

KeptGroup ChooseKept(std::span<const FileIndex> members, KeepRule rule,
                     std::span<const KeepFacts> facts) {
  // The copy marks of each member, worked out once rather than in every
  // comparison.
  struct Ranked {
    FileIndex file;
    bool looks_like_copy;
  };
  std::vector<Ranked> order;
  order.reserve(members.size());
  const bool copy_marks_count = rule != KeepRule::kFirst;
  for (const FileIndex file : members) {
    order.push_back(
        {file, copy_marks_count && LooksLikeCopy(facts[file].path)});
  }
  // Members come in scan order, so a stable sort leaves ties in it.
  std::stable_sort(
      order.begin(), order.end(), [&](const Ranked& a, const Ranked& b) {
        const KeepFacts& x = facts[a.file];
        const KeepFacts& y = facts[b.file];
        if (x.reference != y.reference) return x.reference;
        if (const int by_rule = RuleOrder(rule, x, y); by_rule != 0) {
          return by_rule < 0;
        }
        return !a.looks_like_copy && b.looks_like_copy;
      });

  KeptGroup kept;
  kept.kept = order.front().file;
  for (std::size_t i = 1; i < order.size(); ++i) {
    const FileIndex file = order[i].file;
    (facts[file].reference ? kept.also_kept : kept.duplicates).push_back(file);
  }
  std::sort(kept.also_kept.begin(), kept.also_kept.end());
  std::sort(kept.duplicates.begin(), kept.duplicates.end());
  return kept;
}

}  // namespace wordlap::group
