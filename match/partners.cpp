#include "match/partners.h"

#include <algorithm>

namespace wordlap::match {
namespace {

template <typename Cursor>
bool Later(const Cursor& x, const Cursor& y) {
  return *x.next > *y.next;
}

}  // namespace

PartnerMerge::PartnerMerge(std::span<const PartnerRun> runs) {
  heap_.reserve(runs.size());
  for (const PartnerRun& run : runs) {
    if (!run.names.empty()) {
      heap_.push_back(
          {run.names.data(), run.names.data() + run.names.size(), run.overlap});
    }
  }
  std::make_heap(heap_.begin(), heap_.end(), Later<Cursor>);
}

bool PartnerMerge::Next(NameId& b, Overlap& overlap) {
  if (heap_.empty()) return false;
  std::pop_heap(heap_.begin(), heap_.end(), Later<Cursor>);
  Cursor& cursor = heap_.back();
  b = *cursor.next++;
  overlap = cursor.overlap;
  if (cursor.next == cursor.end) {
    heap_.pop_back();
  } else {
    std::push_heap(heap_.begin(), heap_.end(), Later<Cursor>);
  }
  return true;
}

}  // namespace wordlap::match
