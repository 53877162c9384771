#include "match/partner_expansion.h"

#include <algorithm>
#include <utility>

namespace wordlap::match {

PartnerExpansion::PartnerExpansion(const NameClasses& classes,
                                   std::span<const std::uint32_t> self_words,
                                   PartnersSink sink)
    : classes_(classes), self_words_(self_words), sink_(std::move(sink)) {}

void PartnerExpansion::Add(std::span<const ClassMatch> matches) {
  const ClassId x = matches.front().x;
  while (next_class_ < x) Start(next_class_, {});
  Start(x, matches);
}

void PartnerExpansion::Finish() {
  while (next_class_ < classes_.ClassCount()) Start(next_class_, {});
  EmitBefore(static_cast<NameId>(classes_.NameCount()));
}

void PartnerExpansion::Start(ClassId c, std::span<const ClassMatch> matches) {
  // Every name before the class's first one belongs to a class already
  // started, whose matches are all known; so does the first one itself.
  const NameId first = classes_.First(c);
  EmitBefore(first);
  next_class_ = c + 1;
  if (classes_.Last(c) != first) {
    Open& open = open_[c];
    open.matches.assign(matches.begin(), matches.end());
    Schedule(c, 0);
  }
  Emit(first, matches);
  next_name_ = first + 1;
}

void PartnerExpansion::Schedule(ClassId w, std::uint32_t from) {
  const std::vector<ClassMatch>& matches = open_.at(w).matches;
  const NameId last = classes_.Last(w);
  for (std::uint32_t i = from; i < matches.size(); ++i) {
    const NameId first_of_y = classes_.First(matches[i].y);
    // Classes come ascending, so their first names do too.
    if (first_of_y >= last) return;
    if (matches[i].y_first.words != 0) {
      pending_.push_back({first_of_y, w, i});
      std::push_heap(pending_.begin(), pending_.end(), LaterFirst);
      return;
    }
  }
}

void PartnerExpansion::EmitBefore(NameId limit) {
  while (next_name_ < limit) Emit(next_name_++, {});
}

void PartnerExpansion::Emit(NameId a, std::span<const ClassMatch> fresh) {
  const ClassId c = classes_.ClassOf(a);
  const bool first = a == classes_.First(c);
  runs_.clear();
  const auto tail_after = [&](ClassId other) {
    const std::span<const NameId> members = classes_.Members(other);
    return std::span<const NameId>(
        std::upper_bound(members.begin(), members.end(), a), members.end());
  };
  const auto add = [&](std::span<const NameId> names, Overlap overlap) {
    if (!names.empty()) runs_.push_back({names, overlap});
  };
  if (c < self_words_.size() && self_words_[c] != 0) {
    add(tail_after(c), {self_words_[c], self_words_[c]});
  }
  const auto open = open_.find(c);
  // Later classes: pairs whose earlier name is a.
  const std::span<const ClassMatch> later =
      first ? fresh
            : (open != open_.end()
                   ? std::span<const ClassMatch>(open->second.matches)
                   : std::span<const ClassMatch>());
  for (const ClassMatch& m : later) {
    if (m.x_first.words != 0) add(tail_after(m.y), m.x_first);
  }
  // Earlier classes with names still to come: pairs whose later name is in
  // them. At a class's first name they are those that scheduled it.
  if (first) {
    while (!pending_.empty() && pending_.front().first_of_y == a) {
      std::pop_heap(pending_.begin(), pending_.end(), LaterFirst);
      const Pending next = pending_.back();
      pending_.pop_back();
      const Overlap overlap = open_.at(next.w).matches[next.index].y_first;
      add(tail_after(next.w), overlap);
      if (open != open_.end()) {
        open->second.earlier.push_back({next.w, overlap});
      }
      Schedule(next.w, next.index + 1);
    }
  } else if (open != open_.end()) {
    for (const Link& link : open->second.earlier) {
      add(tail_after(link.other), link.overlap);
    }
  }
  sink_(NamePartners{a, runs_});
  if (open != open_.end() && a == classes_.Last(c)) open_.erase(open);
}

}  // namespace wordlap::match
