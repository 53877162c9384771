#include "group/name_groups.h"

#include <algorithm>

namespace wordlap::group {

NameGroups::NameGroups(const match::NameClasses& classes)
    : classes_(classes), free_after_(classes.NameCount() + 1) {
  for (std::uint32_t slot = 0; slot < free_after_.size(); ++slot) {
    free_after_[slot] = slot;
  }
}

std::uint32_t NameGroups::FreeFrom(std::uint32_t slot) {
  while (free_after_[slot] != slot) {
    free_after_[slot] = free_after_[free_after_[slot]];
    slot = free_after_[slot];
  }
  return slot;
}

void NameGroups::Add(const match::NamePartners& partners) {
  // Names come ascending, so when a's partners arrive every earlier name
  // has had its chance to take a as a member.
  const std::uint32_t first_slot = classes_.SlotOf(partners.a);
  if (Grouped(first_slot)) return;
  cursors_.clear();
  for (const match::PartnerRun& run : partners.runs) {
    if (run.names.empty()) continue;
    const std::uint32_t begin = classes_.SlotOf(run.names.front());
    const std::uint32_t end =
        begin + static_cast<std::uint32_t>(run.names.size());
    const std::uint32_t slot = FreeFrom(begin);
    if (slot < end) cursors_.push_back({slot, end, begin, run.names.data()});
  }
  // The ungrouped partners in ascending order, merged from the runs.
  const auto later = [](const Cursor& x, const Cursor& y) {
    return x.Name() > y.Name();
  };
  std::make_heap(cursors_.begin(), cursors_.end(), later);
  bool opened = false;
  while (!cursors_.empty()) {
    std::pop_heap(cursors_.begin(), cursors_.end(), later);
    Cursor& cursor = cursors_.back();
    if (!opened) {
      groups_.push_back({partners.a});
      Group(first_slot);
      opened = true;
    }
    groups_.back().push_back(cursor.Name());
    Group(cursor.slot);
    cursor.slot = FreeFrom(cursor.slot + 1);
    if (cursor.slot < cursor.end) {
      std::push_heap(cursors_.begin(), cursors_.end(), later);
    } else {
      cursors_.pop_back();
    }
  }
}

}  // namespace wordlap::group
