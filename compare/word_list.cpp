#include "compare/word_list.h"

namespace wordlap {

void WordList::Append(std::string entry) {
  matcher_.reset();
  entries_.push_back(std::move(entry));
}

bool WordList::Contains(std::string_view probe) const {
  if (!matcher_) matcher_ = platform::MakeWordMatcher(entries_);
  return platform::Contains(*matcher_, probe);
}

}  // namespace wordlap
