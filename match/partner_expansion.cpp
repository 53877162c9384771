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
  // started, whose links are all known.
  EmitBefore(classes_.First(c));
  next_class_ = c + 1;
  if (matches.empty()) return;
  const NameId last = classes_.Last(c);
  Open* own = nullptr;
  for (const ClassMatch& m : matches) {
    if (m.x_first.words != 0) {
      if (own == nullptr) own = &open_[c];
      own->links.push_back({m.y, m.x_first});
    }
    // A pair whose earlier name is in y exists only when a name of c comes
    // after y's first name.
    if (m.y_first.words != 0 && last > classes_.First(m.y)) {
      open_[m.y].links.push_back({c, m.y_first});
    }
  }
}

void PartnerExpansion::EmitBefore(NameId limit) {
  while (next_name_ < limit) Emit(next_name_++);
}

void PartnerExpansion::Emit(NameId a) {
  const ClassId c = classes_.ClassOf(a);
  runs_.clear();
  const auto tail_after = [&](ClassId other) {
    const std::span<const NameId> members = classes_.Members(other);
    return std::span<const NameId>(
        std::upper_bound(members.begin(), members.end(), a), members.end());
  };
  if (c < self_words_.size() && self_words_[c] != 0) {
    const std::span<const NameId> rest = tail_after(c);
    if (!rest.empty())
      runs_.push_back({rest, {self_words_[c], self_words_[c]}});
  }
  const auto open = open_.find(c);
  if (open != open_.end()) {
    std::vector<Link>& links = open->second.links;
    for (std::size_t i = 0; i < links.size();) {
      const ClassId other = links[i].other;
      // A class whose names all lie behind is of no use to later names.
      if (classes_.Last(other) <= a) {
        links[i] = links.back();
        links.pop_back();
        continue;
      }
      runs_.push_back({tail_after(other), links[i].overlap});
      ++i;
    }
  }
  sink_(NamePartners{a, runs_});
  if (a == classes_.Last(c) && open != open_.end()) open_.erase(open);
}

}  // namespace wordlap::match
