// The scan finds exactly the pairs the plug-in's PluginCompare accepts, with
// the counts the comparison itself makes, in a deterministic order.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <thread>
#include <utility>
#include <vector>

#include "compare/name_compare.h"
#include "match/indexed_search.h"
#include "match/name_table.h"
#include "match/ordered_search.h"
#include "match/word_index.h"
#include "random_names.h"
#include "tests/support/plugin_library.h"

namespace wordlap::match {
namespace {

using PairSet = std::set<std::pair<NameId, NameId>>;

// Every pair (a, b), a before b, that PluginCompare accepts; the calls are
// spread over threads, which the module allows.
PairSet AllMatchingPairs(const wordlap::test::PluginLibrary& plugin,
                         const std::vector<std::string>& paths) {
  const unsigned threads = std::max(2u, std::thread::hardware_concurrency());
  std::vector<std::vector<std::pair<NameId, NameId>>> found(threads);
  {
    std::vector<std::jthread> workers;
    for (unsigned t = 0; t < threads; ++t) {
      workers.emplace_back([&, t] {
        for (std::size_t a = t; a < paths.size(); a += threads) {
          for (std::size_t b = a + 1; b < paths.size(); ++b) {
            if (plugin.compare(paths[a].c_str(), paths[b].c_str())) {
              found[t].emplace_back(a, b);
            }
          }
        }
      });
    }
  }
  PairSet all;
  for (const auto& part : found) all.insert(part.begin(), part.end());
  return all;
}

std::vector<Match> Scan(const std::vector<std::string>& paths,
                        unsigned threads) {
  const NameTable table = NameTable::Build(paths, threads);
  const WordIndex index(table);
  std::vector<Match> matches;
  SearchInOrder(
      paths.size(), threads, [&] { return MakeIndexedSearch(table, index); },
      [&](std::span<const Match> some) {
        matches.insert(matches.end(), some.begin(), some.end());
      });
  return matches;
}

// The counts of the comparison itself, through the core's word lists.
std::pair<std::size_t, std::size_t> ComparisonCounts(std::string_view a,
                                                     std::string_view b) {
  const WordList list_a = PathWords(a);
  const WordList list_b = PathWords(b);
  const bool a_iterated = list_a.Count() < list_b.Count();
  const WordList& iterated = a_iterated ? list_a : list_b;
  const WordList& lookup = a_iterated ? list_b : list_a;
  std::size_t found = 0;
  for (const std::string& entry : iterated.Entries()) {
    if (lookup.Contains(entry)) ++found;
  }
  return {found, iterated.Count()};
}

TEST(ScanExactnessTest, FindsExactlyThePluginsPairs) {
  const wordlap::test::PluginLibrary plugin(WORDLAP_SCAN_PLUGIN);
  ASSERT_TRUE(plugin.usable());
  for (const std::uint32_t seed : {1u, 2u, 3u}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const std::vector<std::string> paths = scan::test::RandomPaths(seed, 2500);
    const PairSet expected = AllMatchingPairs(plugin, paths);
    // Collections built to hold many matches: an empty expectation would
    // prove nothing.
    ASSERT_GT(expected.size(), paths.size());

    const std::vector<Match> matches = Scan(paths, 2);
    PairSet scanned;
    for (const Match& m : matches) scanned.emplace(m.a, m.b);
    ASSERT_EQ(scanned.size(), matches.size()) << "a pair reported twice";

    std::vector<std::pair<NameId, NameId>> missed, added;
    std::set_difference(expected.begin(), expected.end(), scanned.begin(),
                        scanned.end(), std::back_inserter(missed));
    std::set_difference(scanned.begin(), scanned.end(), expected.begin(),
                        expected.end(), std::back_inserter(added));
    for (const auto& [a, b] : missed) {
      ADD_FAILURE() << "missed: " << paths[a] << " | " << paths[b];
    }
    for (const auto& [a, b] : added) {
      ADD_FAILURE() << "added: " << paths[a] << " | " << paths[b];
    }
    if (!missed.empty() || !added.empty()) continue;

    for (const Match& m : matches) {
      const auto [found, words] = ComparisonCounts(paths[m.a], paths[m.b]);
      ASSERT_EQ(m.found, found) << paths[m.a] << " | " << paths[m.b];
      ASSERT_EQ(m.words, words) << paths[m.a] << " | " << paths[m.b];
    }
  }
}

TEST(ScanExactnessTest, SameOrderWhateverTheThreadCount) {
  const std::vector<std::string> paths = scan::test::RandomPaths(7, 3000);
  const std::vector<Match> one = Scan(paths, 1);
  ASSERT_FALSE(one.empty());
  EXPECT_TRUE(std::is_sorted(one.begin(), one.end(),
                             [](const Match& x, const Match& y) {
                               return std::pair(x.a, x.b) < std::pair(y.a, y.b);
                             }));
  for (const unsigned threads : {2u, 5u}) {
    SCOPED_TRACE(std::to_string(threads) + " threads");
    const std::vector<Match> many = Scan(paths, threads);
    ASSERT_EQ(many.size(), one.size());
    for (std::size_t i = 0; i < one.size(); ++i) {
      ASSERT_EQ(std::pair(many[i].a, many[i].b), std::pair(one[i].a, one[i].b));
    }
  }
}

// Collections where the key words of a name must cover repeats and where
// the missing word is the rarest one; small enough to name in the failure.
TEST(ScanExactnessTest, HandPickedCollections) {
  struct Row {
    const char* what;
    std::vector<std::string> paths;
  };
  const std::vector<Row> rows = {
      {"eleven entries, the rarest one missing",
       {"a b c d e f g h i j rare.mp3", "a b c d e f g h i j k l.mp3"}},
      {"eleven entries, a rare word twice missing",
       {"a b c d e f g h i rare rare.mp3", "a b c d e f g h i k l m.mp3"}},
      {"tie: the second name is iterated", {"x y.mp3", "x x.mp3"}},
      {"tie the other way", {"x x.mp3", "x y.mp3"}},
      {"empty entries shared", {"a - b.mp3", "b -- a.mp3"}},
      {"one word in a long name",
       {"love.mp3", "01 - the love of the night.mp3"}},
      {"no words against anything", {".mp3", "mp3", ""}},
      {"one file", {"a.mp3"}},
      {"nothing", {}},
  };
  const wordlap::test::PluginLibrary plugin(WORDLAP_SCAN_PLUGIN);
  ASSERT_TRUE(plugin.usable());
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    PairSet scanned;
    for (const Match& m : Scan(row.paths, 2)) scanned.emplace(m.a, m.b);
    EXPECT_EQ(scanned, AllMatchingPairs(plugin, row.paths));
  }
}

}  // namespace
}  // namespace wordlap::match
