// The comparison in the core: normalisation, splitting, the comma text, the
// verdicts and the lines of whole comparisons.
#include <gtest/gtest.h>

#include <string>

#include "bench/plugin_pairs.h"
#include "compare/comma_text.h"
#include "compare/file_name.h"
#include "compare/name_compare.h"
#include "compare/normalise_name.h"
#include "compare/split_words.h"
#include "platform/small_vector.h"
#include "tests/cases/compare_cases.h"
#include "tests/robustness/failing_new.h"

namespace wordlap {
namespace {

// Collects lines as a block, each line followed by "\n".
class BlockSink final : public LineSink {
 public:
  void Line(std::string_view line) override {
    block.append(line);
    block += '\n';
  }
  std::string block;
};

WordList ListOf(const std::vector<std::string_view>& entries) {
  WordList list;
  for (const std::string_view entry : entries) list.Append(std::string(entry));
  return list;
}

TEST(NormaliseName, CutsExtensionAndCleansSeparators) {
  for (const cases::NormaliseCase& c : cases::kNormaliseCases) {
    SCOPED_TRACE(testing::Message() << "file name '" << c.file_name << "'");
    BlockSink sink;
    EXPECT_EQ(std::string_view(NormaliseName(c.file_name, &sink)), c.cleaned);
    EXPECT_EQ(sink.block,
              "unprocessed: " + std::string(c.file_name) +
                  "\nno extension: " + std::string(c.without_extension) +
                  "\ncleaned: " + std::string(c.cleaned) + "\n");
  }
}

// Words and keys live in small buffers that move to the heap when they
// outgrow their room; the contents must survive growth, copies and moves
// either side of that point.
TEST(SmallVector, KeepsItsContentsThroughGrowthCopiesAndMoves) {
  for (const std::size_t size : {0, 1, 7, 8, 9, 100}) {
    SCOPED_TRACE(testing::Message() << size << " bytes");
    std::string expected;
    SmallVector<char, 8> text;
    for (std::size_t i = 0; i < size; ++i) {
      const char c = static_cast<char>('a' + i % 26);
      if (i % 2 == 0) {
        text.push_back(c);
      } else {
        text.append(&c, 1);
      }
      expected += c;
    }
    EXPECT_EQ(std::string_view(text), expected);

    const SmallVector<char, 8> copy = text;
    EXPECT_EQ(std::string_view(copy), expected);
    SmallVector<char, 8> assigned;
    assigned.push_back('x');
    assigned = copy;
    EXPECT_EQ(std::string_view(assigned), expected);

    SmallVector<char, 8> moved = std::move(text);
    EXPECT_EQ(std::string_view(moved), expected);
    EXPECT_TRUE(text.empty());
    text.append("again", 5);  // a moved-from buffer is usable again
    EXPECT_EQ(std::string_view(text), "again");

    SmallVector<char, 8> target;
    target.append("0123456789", 10);  // on the heap before the move
    target = std::move(moved);
    EXPECT_EQ(std::string_view(target), expected);
    target.append("!", 1);
    EXPECT_EQ(std::string_view(target), expected + "!");
  }
}

TEST(FileNamePart, EndsDirectoryAtBackslashColonAndSlash) {
  const struct {
    std::string_view path, name;
  } kCases[] = {
      {"D:\\Music\\Song.mp3", "Song.mp3"},
      {"/home/me/Song.mp3", "Song.mp3"},
      {"C:Song.mp3", "Song.mp3"},
      {"a/b\\c:d", "d"},
      {"Song.mp3", "Song.mp3"},
      {"dir/", ""},
      {"", ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FileNamePart(c.path), c.name);
  }
}

// One search from the end finds the file name, its extension and its first
// dot; NormaliseName cuts at the first occurrence of the extension with
// what it finds.
TEST(FileNameOf, FindsNameExtensionAndFirstDot) {
  constexpr std::size_t kNone = std::string_view::npos;
  const struct {
    std::string_view path, name, extension;
    std::size_t first_dot;
  } kCases[] = {
      {"D:\\Music\\Song.mp3", "Song.mp3", ".mp3", 4},
      {"/a.b/c.d/Vol.1 Part.1.txt", "Vol.1 Part.1.txt", ".txt", 3},
      {"x.y\\README", "README", "", kNone},
      {"dir.d/", "", "", kNone},
      {".mp3", ".mp3", ".mp3", 0},
      {"name.", "name.", ".", 4},
      {"a:b.c:d.e", "d.e", ".e", 1},
      {"", "", "", kNone},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.path);
    const FileName file = FileNameOf(c.path);
    EXPECT_EQ(file.name, c.name);
    EXPECT_EQ(file.extension, c.extension);
    EXPECT_EQ(file.first_dot, c.first_dot);
    EXPECT_EQ(FileNamePart(c.path), c.name);
    EXPECT_EQ(ExtensionPart(c.name), c.extension);
    // Both ways into NormaliseName give the same name.
    EXPECT_EQ(std::string_view(NormaliseName(file)),
              std::string_view(NormaliseName(c.name)));
  }
}

TEST(SplitWords, KeepsEmptyEntriesBetweenDelimiters) {
  for (const cases::SplitCase& c : cases::kSplitCases) {
    SCOPED_TRACE(testing::Message() << "text '" << c.text << "' delimiter '"
                                    << c.delimiter << "' trim " << c.trim);
    EXPECT_EQ(SplitWords(c.text, c.delimiter, c.trim), ListOf(c.entries));
  }
}

TEST(CommaText, QuotesOnlyWhereNeeded) {
  for (const cases::CommaCase& c : cases::kCommaCases) {
    SCOPED_TRACE(testing::Message() << "expected '" << c.text << "'");
    EXPECT_EQ(CommaText(ListOf(c.entries)), c.text);
  }
}

TEST(CompareNames, Verdicts) {
  for (const cases::CompareCase& c : cases::kCompareCases) {
    SCOPED_TRACE(testing::Message()
                 << "'" << c.path_a << "' against '" << c.path_b << "'");
    EXPECT_EQ(CompareNames(c.path_a, c.path_b), c.match);
    // The lines are only built for a sink; they must not change the answer.
    BlockSink sink;
    EXPECT_EQ(CompareNames(c.path_a, c.path_b, &sink), c.match);
  }
}

TEST(CompareNames, WritesWholeBlocks) {
  for (const cases::TraceCase& c : cases::kTraceCases) {
    SCOPED_TRACE(testing::Message()
                 << "'" << c.path_a << "' against '" << c.path_b << "'");
    BlockSink sink;
    EXPECT_EQ(CompareNames(c.path_a, c.path_b, &sink), c.match);
    EXPECT_EQ(sink.block, c.block);
  }
}

// The words and keys of names of usual length stay in the buffers on the
// stack: a comparison without lines asks for no memory at all.
TEST(CompareNames, NeedsNoMemoryForNamesOfUsualLength) {
  std::vector<std::pair<std::string_view, std::string_view>> pairs;
  for (const bench::BenchPair& pair : bench::kBenchPairs) {
    pairs.emplace_back(pair.path_a, pair.path_b);
  }
  for (const cases::CompareCase& c : cases::kCompareCases) {
    pairs.emplace_back(c.path_a, c.path_b);
  }
  // Straße, Œuvre, a soft hyphen and ill-formed bytes take the other ways
  // to a key.
  pairs.emplace_back("/m/Straße Œuvre Encyclo\u00ADpaedia.flac",
                     "/b/STRASSE_oeuvre-encyclopaedia.mp3");
  pairs.emplace_back("/m/a\xFF b\xC3.mp3", "/b/B\xC3 A\xFF.mp3");
  for (const auto& [a, b] : pairs) {
    SCOPED_TRACE(testing::Message() << "'" << a << "' against '" << b << "'");
    const bool expected = CompareNames(a, b);  // ICU loads its data once
    test::ArmAllocationFailure(0);
    const bool verdict = CompareNames(a, b);
    const std::size_t allocations = test::AllocationsSinceArmed();
    test::DisarmAllocationFailure();
    EXPECT_EQ(allocations, 0u);
    EXPECT_EQ(verdict, expected);
  }
}

TEST(CompareNames, LongNamesStayLinearAndExact) {
  // Two names of 20,000 words that share all but one: the lookup goes
  // through the hashed index, and every word must still be found.
  std::string a, b;
  for (int i = 0; i < 20000; ++i) {
    a.append("w").append(std::to_string(i)).append(" ");
    b.append("W").append(std::to_string(19999 - i)).append(" ");
  }
  b += "extra";
  EXPECT_TRUE(CompareNames(a + ".mp3", b + ".mp3"));
  const std::string short_b = b.substr(b.find(' ') + 1);  // drops one word
  EXPECT_TRUE(CompareNames(a, short_b));
}

}  // namespace
}  // namespace wordlap
