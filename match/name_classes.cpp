#include "match/name_classes.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>
#include <unordered_set>

namespace wordlap::match {
namespace {

// Looks names up by their words, so that the set holds only name ids.
struct WordsHash {
  const NameTable* table;
  std::size_t operator()(NameId name) const noexcept {
    const auto words = table->Words(name);
    return std::hash<std::string_view>{}(std::string_view(
        reinterpret_cast<const char*>(words.data()), words.size_bytes()));
  }
};

struct WordsEqual {
  const NameTable* table;
  bool operator()(NameId x, NameId y) const noexcept {
    const auto a = table->Words(x);
    const auto b = table->Words(y);
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const WordCount& p, const WordCount& q) {
                        return p.word == q.word && p.count == q.count;
                      });
  }
};

}  // namespace

NameClasses NameClasses::Build(const NameTable& table) {
  static_assert(sizeof(WordCount) == 2 * sizeof(std::uint32_t),
                "the words of a name are hashed as their bytes");
  const std::size_t names = table.NameCount();
  // The search marks classes with their top bit.
  if (names >= (std::size_t{1} << 31) - 1) {
    throw std::length_error("more names than a scan can number");
  }
  NameClasses classes;
  classes.class_of_.resize(names);
  std::vector<NameId> first_names;
  {
    std::unordered_set<NameId, WordsHash, WordsEqual> seen(
        names / 2 + 1, WordsHash{&table}, WordsEqual{&table});
    for (NameId n = 0; n < names; ++n) {
      const auto [found, added] = seen.insert(n);
      if (added) {
        classes.class_of_[n] = static_cast<ClassId>(first_names.size());
        first_names.push_back(n);
      } else {
        classes.class_of_[n] = classes.class_of_[*found];
      }
    }
  }
  // Names arrive ascending, so every class's members come out ascending.
  classes.starts_.assign(first_names.size() + 1, 0);
  for (const ClassId c : classes.class_of_) ++classes.starts_[c + 1];
  for (std::size_t c = 0; c < first_names.size(); ++c) {
    classes.starts_[c + 1] += classes.starts_[c];
  }
  classes.members_.resize(names);
  std::vector<std::uint32_t> next(classes.starts_.begin(),
                                  classes.starts_.end() - 1);
  for (NameId n = 0; n < names; ++n) {
    classes.members_[next[classes.class_of_[n]]++] = n;
  }
  return classes;
}

NameClasses NameClasses::Singletons(std::size_t names) {
  NameClasses classes;
  classes.class_of_.resize(names);
  classes.members_.resize(names);
  classes.starts_.resize(names + 1);
  for (std::size_t n = 0; n <= names; ++n) {
    classes.starts_[n] = static_cast<std::uint32_t>(n);
    if (n == names) break;
    classes.class_of_[n] = classes.members_[n] = static_cast<std::uint32_t>(n);
  }
  return classes;
}

std::uint32_t NameClasses::SlotOf(NameId name) const {
  const std::span<const NameId> members = Members(ClassOf(name));
  return SlotOf(&*std::lower_bound(members.begin(), members.end(), name));
}

std::vector<NameId> NameClasses::FirstNames() const {
  std::vector<NameId> firsts(ClassCount());
  for (ClassId c = 0; c < firsts.size(); ++c) firsts[c] = First(c);
  return firsts;
}

}  // namespace wordlap::match
