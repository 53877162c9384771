#include "compare/name_compare.h"

#include <string>

#include "compare/comma_text.h"
#include "compare/file_name.h"
#include "compare/line_text.h"
#include "compare/normalise_name.h"
#include "compare/percentage.h"
#include "compare/split_words.h"
#include "platform/decimal_separator.h"

namespace wordlap {

WordList PathWords(std::string_view path, LineSink* sink) {
  const NameText name = NormaliseName(FileNameOf(path), sink);
  if (sink) sink->Line(LineText("splitting \"", name, "\""));
  WordList words = SplitWords(name);
  if (sink) sink->Line(LineText("split to ", CommaText(words)));
  return words;
}

bool CompareWordLists(const WordList& a, const WordList& b, LineSink* sink) {
  const bool a_is_shorter = a.Count() < b.Count();
  const WordList& iterated = a_is_shorter ? a : b;
  const WordList& lookup = a_is_shorter ? b : a;

  bool result = false;
  if (iterated.Count() > 0) {
    std::size_t found = 0;
    for (std::size_t i = 0; i < iterated.Count(); ++i) {
      const std::string_view entry = iterated[i];
      if (sink) sink->Line(LineText("current word is ", entry));
      if (lookup.Contains(entry)) {
        ++found;
        if (sink) sink->Line("found in other list!");
      }
    }
    const std::size_t words = iterated.Count();
    if (sink) {
      sink->Line(
          LineText("found ", std::to_string(found), " of ",
                   std::to_string(words), " words, ",
                   FormatPercentage(found, words, platform::DecimalSeparator()),
                   "% match"));
    }
    result = IsMatch(found, words);
  }
  if (sink) {
    sink->Line(result ? "result:-1" : "result:0");
    sink->Line("");
  }
  return result;
}

bool CompareNames(std::string_view path_a, std::string_view path_b,
                  LineSink* sink) {
  if (sink) sink->Line(LineText("Compare ", path_a, " to ", path_b));
  const WordList a = PathWords(path_a, sink);
  const WordList b = PathWords(path_b, sink);
  return CompareWordLists(a, b, sink);
}

}  // namespace wordlap
