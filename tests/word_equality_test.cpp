// Word equality on POSIX: fold keys of UTF-8 words.
#include <gtest/gtest.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "compare/word_list.h"
#include "platform/word_key.h"
#include "platform/word_match.h"
#include "tests/support/child_process.h"

namespace wordlap {
namespace {

std::string Utf8(const UChar* text, int32_t length) {
  std::string utf8;
  for (int32_t i = 0; i < length;) {
    UChar32 c;
    U16_NEXT_UNSAFE(text, i, c);
    char bytes[U8_MAX_LENGTH];
    int32_t size = 0;
    U8_APPEND_UNSAFE(bytes, size, c);
    utf8.append(bytes, static_cast<std::size_t>(size));
  }
  return utf8;
}

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

// Where the Windows comparison ignores what a reader does not see and reads
// a ligature letter as its two letters, the keys do the same; æ stays a
// letter of its own where the collation locale makes it one.
TEST(WordsEqual, IgnoresInvisiblesAndSpellsOutLigatures) {
  const struct {
    const char* a;
    const char* b;
    bool equal;               // æ written out (most locales)
    bool equal_ae_as_letter;  // Danish and Norwegian
  } kCases[] = {
      // œ, þ and ĳ, small and capital, always.
      {"Cœur", "Coeur", true, true},
      {"ŒUVRE", "oeuvre", true, true},
      {"Þór", "THÓR", true, true},  // the accent on the o stays
      {"Þór", "Thor", false, false},
      {"þorn", "THORN", true, true},
      {"ĳs", "IJS", true, true},
      {"Ĳssel", "ijssel", true, true},
      {"œ", "Œ", true, true},
      // æ: written out, except as a letter of its own.
      {"Encyclopædia", "Encyclopaedia", true, false},
      {"ÆRO", "aero", true, false},
      {"Æble", "æBLE", true, true},  // case only
      // With a mark on it, æ is written out under the mark.
      {"ǽ", "aé", true, false},
      {"ǽ", "æ\u0301", true, true},
      // A ligature letter is never one of its letters alone.
      {"œ", "o", false, false},
      {"æ", "a", false, false},
      {"þ", "t", false, false},
      // Default-ignorable code points are dropped wherever they stand.
      {"Encyclo\u00ADpaedia", "Encyclopaedia", true, true},  // soft hyphen
      {"Harbour\u200BLights", "harbourlights", true, true},  // zero width
      {"a\u200C\u200D\u200E\u200Fb", "AB", true, true},
      {"\u2060Song", "song", true, true},  // word joiner
      {"\uFEFFSong", "SONG", true, true},  // byte order mark
      {"e\u034F\u0301", "é", true, true},  // grapheme joiner
      {"♥\uFE0F", "♥", true, true},        // variation selector
      {"a\U000E0041", "A", true, true},    // tag character
      {"caf\u00ADé", "CAFÉ", true, true},
      // A word of nothing but ignorables is the empty word.
      {"\u00AD", "", true, true},
      // Visible spaces and dashes are not ignorable.
      {"a\u00A0b", "ab", false, false},  // no-break space
      {"a\u2010b", "ab", false, false},  // hyphen
      // Digraphs stay as they are: a difference of case is no difference.
      {"cHodidlo", "chodidlo", true, true},
      {"CHodidlo", "chODIDLO", true, true},
      {"Ch", "c", false, false},
  };
  const platform::FoldRules written_out;
  platform::FoldRules ae_as_letter;
  ae_as_letter.ae_is_letter = true;
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message()
                 << "'" << c.a << "' against '" << c.b << "'");
    EXPECT_EQ(platform::WordKey(c.a, written_out) ==
                  platform::WordKey(c.b, written_out),
              c.equal);
    EXPECT_EQ(platform::WordKey(c.a, ae_as_letter) ==
                  platform::WordKey(c.b, ae_as_letter),
              c.equal_ae_as_letter);
    // The tests run in the C locale, which writes æ out.
    EXPECT_EQ(platform::WordsEqual(c.a, c.b), c.equal);
  }
}

// Keys of canonically equivalent words are equal, whichever way the key is
// reached: every code point against its canonical decomposition, and its
// capital against its small form.
TEST(WordKey, SameForEveryCanonicalDecomposition) {
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
  ASSERT_TRUE(U_SUCCESS(status));
  for (UChar32 c = 0x80; c <= 0x10FFFF; ++c) {
    if (U_IS_SURROGATE(c)) continue;
    UChar text[2];
    int32_t length = 0;
    U16_APPEND_UNSAFE(text, length, c);
    UChar decomposed[32];
    status = U_ZERO_ERROR;
    const int32_t decomposed_length =
        unorm2_normalize(nfd, text, length, decomposed, 32, &status);
    ASSERT_TRUE(U_SUCCESS(status));
    if (decomposed_length == length &&
        std::u16string_view(decomposed, 2).substr(0, length) ==
            std::u16string_view(text, 2).substr(0, length)) {
      continue;
    }
    SCOPED_TRACE(testing::Message() << "U+" << std::hex << c);
    EXPECT_EQ(platform::WordKey(Utf8(text, length)),
              platform::WordKey(Utf8(decomposed, decomposed_length)));
  }
}

TEST(FoldRulesOf, AeIsALetterInDanishAndNorwegian) {
  const struct {
    const char* locale;
    bool ae_is_letter;
  } kCases[] = {
      {"da_DK.UTF-8", true},
      {"da", true},
      {"da_DK@euro", true},
      {"nb_NO.UTF-8", true},
      {"nn_NO", true},
      {"no_NO", true},
      {"no", true},
      {"nb-NO", true},
      {"DA_DK", true},
      {"de_DE.UTF-8", false},
      {"en_DK.UTF-8", false},
      {"dan", false},
      {"d", false},
      {"C", false},
      {"POSIX", false},
      {"C.UTF-8", false},
      {"", false},
      {nullptr, false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.locale != nullptr ? c.locale : "(none)");
    EXPECT_EQ(platform::FoldRulesOf(c.locale).ae_is_letter, c.ae_is_letter);
  }
}

// Sets the three variables for one test and restores them afterwards.
class CollationEnvironment {
 public:
  CollationEnvironment() {
    for (std::size_t i = 0; i < 3; ++i) {
      const char* value = std::getenv(kNames[i]);
      if (value != nullptr) saved_[i] = value;
    }
  }
  ~CollationEnvironment() {
    for (std::size_t i = 0; i < 3; ++i) Set(kNames[i], saved_[i]);
  }
  static void Set(const char* name, const std::optional<std::string>& value) {
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  }
  static constexpr const char* kNames[3] = {"LC_ALL", "LC_COLLATE", "LANG"};

 private:
  std::optional<std::string> saved_[3];
};

TEST(CollationLocaleName, TakesLcAllThenLcCollateThenLang) {
  using Value = std::optional<std::string>;
  const struct {
    Value lc_all, lc_collate, lang;
    const char* name;
  } kCases[] = {
      {"da_DK.UTF-8", "de_DE.UTF-8", "de_DE.UTF-8", "da_DK.UTF-8"},
      {std::nullopt, "nb_NO.UTF-8", "C", "nb_NO.UTF-8"},
      {"", "nb_NO.UTF-8", "C", "nb_NO.UTF-8"},  // empty counts as unset
      {std::nullopt, std::nullopt, "no_NO", "no_NO"},
      {std::nullopt, "", "", nullptr},
      {std::nullopt, std::nullopt, std::nullopt, nullptr},
  };
  const CollationEnvironment restore;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name != nullptr ? c.name : "(none)");
    CollationEnvironment::Set("LC_ALL", c.lc_all);
    CollationEnvironment::Set("LC_COLLATE", c.lc_collate);
    CollationEnvironment::Set("LANG", c.lang);
    const char* name = platform::CollationLocaleName();
    EXPECT_EQ(name != nullptr ? std::string(name) : "(none)",
              c.name != nullptr ? c.name : "(none)");
    // The rules were read when the library was loaded, in the C locale of
    // the tests, and do not follow the environment afterwards.
    EXPECT_FALSE(platform::LoadedFoldRules().ae_is_letter);
    EXPECT_TRUE(platform::WordsEqual("\xC3\xA6", "ae"));
  }
}

// The plug-in reads the collation locale when it is loaded: a process
// started in a Danish or Norwegian locale keeps æ apart from ae.
TEST(PluginCompare, ReadsTheCollationLocaleAtLoad) {
  const struct {
    std::vector<std::string> environment;
    bool match;
  } kCases[] = {
      {{"LC_ALL=C"}, true},
      {{"LC_ALL=de_DE.UTF-8"}, true},
      {{"LC_ALL=da_DK.UTF-8"}, false},
      {{"LC_ALL=", "LC_COLLATE=nb_NO.UTF-8", "LANG=en_US.UTF-8"}, false},
      {{"LC_ALL=", "LC_COLLATE=", "LANG=nn_NO.UTF-8"}, false},
      {{"LC_ALL=en_GB.UTF-8", "LC_COLLATE=da_DK.UTF-8"}, true},
  };
  for (const auto& c : kCases) {
    std::string shown;
    for (const std::string& setting : c.environment) shown += setting + " ";
    SCOPED_TRACE(shown);
    const test::ChildResult result = test::RunChild(
        {WORDLAP_COMPARE_PROBE, WORDLAP_PLUGIN_PATH,
         "/m/Encyclopædia Britannica.mp3", "/b/encyclopaedia_britannica.flac"},
        c.environment);
    EXPECT_EQ(result.exit_status, c.match ? 0 : 1) << result.err;
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
