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

// Most words have nothing to trim, which their two ends tell.
bool NeedsTrimming(std::string_view word) {
  return !word.empty() &&
         (IsBlankOrControl(word.front()) || IsBlankOrControl(word.back()));
}

}  // namespace

// The list keeps a copy of the whole text, and every entry is the place of a
// word in it: trimming moves the ends of a place, so no word is copied on its
// own.
WordList SplitWords(std::string_view text, char delimiter, bool trim) {
  WordList list;
  list.text_.append(text.data(), text.size());
  // Every delimiter ends a word, also an empty one; the rest of the text
  // after the last delimiter is a word when it is not empty.
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  for (const char* start = begin; start != end;) {
    const char* const stop = std::find(start, end, delimiter);
    std::string_view word(start, static_cast<std::size_t>(stop - start));
    if (trim && NeedsTrimming(word)) word = Trimmed(word);
    list.spans_.push_back(
        {static_cast<std::size_t>(word.data() - begin), word.size()});
    if (stop == end) break;
    start = stop + 1;
  }
  return list;
}

}  // namespace wordlap
