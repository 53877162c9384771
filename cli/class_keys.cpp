#include "cli/class_keys.h"

#include <algorithm>
#include <tuple>

namespace wordlap::cli {

ClassKeys::ClassKeys(const match::NameClasses& classes,
                     std::span<const std::optional<std::uint64_t>> keys)
    : classes_(classes), keys_(keys) {
  for (match::NameId name = 0; name < keys.size(); ++name) {
    if (keys[name]) {
      entries_.push_back(
          {classes.ClassOf(name), *keys[name], classes.SlotOf(name), name});
    }
  }
  std::sort(entries_.begin(), entries_.end(),
            [](const Entry& x, const Entry& y) {
              return std::tie(x.klass, x.key, x.slot) <
                     std::tie(y.klass, y.key, y.slot);
            });
}

ClassKeys::Found ClassKeys::Find(const match::PartnerRun& run,
                                 std::uint64_t key) const {
  if (run.names.empty()) return {};
  const match::ClassId klass = classes_.ClassOf(run.names.front());
  const std::uint32_t begin = classes_.SlotOf(run.names.front());
  const std::uint32_t end =
      begin + static_cast<std::uint32_t>(run.names.size());
  const auto before =
      [](const Entry& e,
         const std::tuple<match::ClassId, std::uint64_t, std::uint32_t>& t) {
        return std::tie(e.klass, e.key, e.slot) < t;
      };
  const auto first = std::lower_bound(entries_.begin(), entries_.end(),
                                      std::tuple(klass, key, begin), before);
  const auto last = std::lower_bound(first, entries_.end(),
                                     std::tuple(klass, key, end), before);
  if (first == last) return {};
  return {first->name, static_cast<std::size_t>(last - first)};
}

}  // namespace wordlap::cli
