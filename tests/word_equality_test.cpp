// Word equality on POSIX: fold keys of UTF-8 words.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compare/word_list.h"
#include "platform/word_key.h"
#include "platform/word_match.h"

namespace wordlap {
namespace {

TEST(WordsEqual, FoldsCaseAndNormalisationOnly) {
  const struct {
    const char* a;
    const char* b;
    bool equal;
  } kCases[] = {
      {"Song", "sONG", true},
      {"", "", true},
      {"Song", "Songs", false},
      {"caf\xC3\xA9", "CAF\xC3\x89", true},   // café, CAFÉ
      {"caf\xC3\xA9", "cafe\xCC\x81", true},  // NFC against NFD
      {"caf\xC3\xA9", "cafe", false},         // accents stay
      {"stra\xC3\x9F"
       "e",
       "STRASSE", true},                               // ß folds to ss
      {"\xEF\xAC\x80", "FF", true},                    // the ligature ﬀ
      {"\xE2\x84\xAA", "k", true},                     // Kelvin sign
      {"\xCE\xA3\xCE\xB9", "\xCF\x83\xCE\xB9", true},  // Σι, σι
      {"\xCF\x82", "\xCF\x83", true},                  // final sigma
      {"Ａ", "A", false},                              // width is not case
      {"1", "\xD9\xA1", false},  // digits of other scripts
      // Ill-formed bytes: equal to themselves, to nothing else.
      {"\xFF", "\xFF", true},
      {"a\xFF"
       "b",
       "A\xFF"
       "B",
       true},
      {"\xFF", "\xFE", false},
      {"\xC3", "\xC3", true},
      {"\xC3", "\xC3\xA9", false},
      {"\xFF", "\xEF\xBF\xBD", false},  // not the replacement char
      {"\xFF", "\xED\xB3\xBF", false},  // nor an encoded surrogate
      {"\xED\xB3\xBF", "\xED\xB3\xBF", true},
      {"\xC3\xA9\xFF", "\xC3\x89\xFF", true},  // runs around a bad byte
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message()
                 << "'" << c.a << "' against '" << c.b << "'");
    EXPECT_EQ(platform::WordsEqual(c.a, c.b), c.equal);
    EXPECT_EQ(platform::WordsEqual(c.b, c.a), c.equal);
  }
}

TEST(WordKey, AsciiIsLowered) {
  EXPECT_EQ(platform::WordKey("Hello World-01"), "hello world-01");
}

TEST(WordList, HashedLookupAnswersLikeLinearSearch) {
  // Lists both below and above the size where lookups switch to a hash.
  const std::vector<std::string> vocabulary = {"Love",
                                               "LOVE",
                                               "",
                                               "caf\xC3\xA9",
                                               "cafe\xCC\x81",
                                               "\xFF",
                                               "\xFE",
                                               "stra\xC3\x9F"
                                               "e",
                                               "x",
                                               "01",
                                               "1",
                                               "ss",
                                               "STRASSE",
                                               "a\tb"};
  for (std::size_t size = 0; size <= 40; size += 5) {
    WordList list;
    for (std::size_t i = 0; i < size; ++i) {
      list.Append(vocabulary[(i * 7) % vocabulary.size()] +
                  (i % 3 == 0 ? std::string() : std::to_string(i)));
    }
    for (const std::string& probe_base : vocabulary) {
      for (const std::string& probe : {probe_base, probe_base + "5"}) {
        bool expected = false;
        for (const std::string& entry : list.Entries()) {
          expected = expected || platform::WordsEqual(entry, probe);
        }
        SCOPED_TRACE(testing::Message()
                     << "size " << size << " probe '" << probe << "'");
        EXPECT_EQ(list.Contains(probe), expected);
      }
    }
  }
}

}  // namespace
}  // namespace wordlap
