#include "compare/split_words.h"

#include <algorithm>

namespace wordlap {
namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view Trimmed(std::string_view word) {
  while (!word.empty() && IsBlankOrControl(word.front())) word.remove_prefix(1);
  while (!word.empty() && IsBlankOrControl(word.back())) word.remove_suffix(1);
  return word;
}

}  // namespace

WordList SplitWords(std::string_view text, char delimiter, bool trim) {
  WordList list;
  list.Reserve(static_cast<std::size_t>(
                   std::count(text.begin(), text.end(), delimiter)) +
               1);
  std::size_t start = 0;
  const auto append = [&](std::size_t end) {
    const std::string_view word = text.substr(start, end - start);
    list.Append(std::string(trim ? Trimmed(word) : word));
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != delimiter) continue;
    append(i);
    start = i + 1;
  }
  if (start < text.size()) append(text.size());
  return list;
}

}  // namespace wordlap
