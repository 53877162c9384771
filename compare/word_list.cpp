#include "compare/word_list.h"

namespace wordlap {

void WordList::Append(std::string_view entry) {
  matcher_.reset();
  spans_.push_back({text_.size(), entry.size()});
  text_.append(entry.data(), entry.size());
}

std::vector<std::string> WordList::Entries() const {
  std::vector<std::string> entries;
  entries.reserve(Count());
  for (std::size_t i = 0; i < Count(); ++i) entries.emplace_back((*this)[i]);
  return entries;
}

bool operator==(const WordList& a, const WordList& b) {
  if (a.Count() != b.Count()) return false;
  for (std::size_t i = 0; i < a.Count(); ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

}  // namespace wordlap
