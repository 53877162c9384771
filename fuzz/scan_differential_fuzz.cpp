// The scan against the plug-in on a small collection cut from the input
// (names separated by zero bytes): the scan must report exactly the pairs
// for which PluginCompare says yes, each with the counts the comparison
// itself makes.
#include <cstddef>
#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "compare/name_compare.h"
#include "fuzz/fuzz_check.h"
#include "match/indexed_search.h"
#include "match/name_table.h"
#include "match/ordered_search.h"
#include "match/word_index.h"
#include "plugin/plugin_exports.h"

namespace {

// Enough names for the index to have common and rare words, few enough to
// compare every pair on each input.
constexpr std::size_t kMaxNames = 24;

std::vector<std::string> Names(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> names(1);
  for (std::size_t i = 0; i < size && names.size() <= kMaxNames; ++i) {
    if (data[i] == 0) {
      names.emplace_back();
    } else {
      names.back() += static_cast<char>(data[i]);
    }
  }
  if (names.size() > kMaxNames) names.resize(kMaxNames);
  return names;
}

// found and words as the comparison counts them.
std::pair<std::uint32_t, std::uint32_t> ComparisonCounts(const std::string& a,
                                                         const std::string& b) {
  const wordlap::WordList list_a = wordlap::PathWords(a);
  const wordlap::WordList list_b = wordlap::PathWords(b);
  const bool a_iterated = list_a.Count() < list_b.Count();
  const wordlap::WordList& iterated = a_iterated ? list_a : list_b;
  const wordlap::WordList& lookup = a_iterated ? list_b : list_a;
  std::uint32_t found = 0;
  for (const std::string& entry : iterated.Entries()) {
    if (lookup.Contains(entry)) ++found;
  }
  return {found, static_cast<std::uint32_t>(iterated.Count())};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using wordlap::match::Match;
  const std::vector<std::string> names = Names(data, size);

  const auto table = wordlap::match::NameTable::Build(names, 1);
  const wordlap::match::WordIndex index(table);
  std::vector<Match> matches;
  wordlap::match::SearchInOrder(
      names.size(), 1,
      [&] { return wordlap::match::MakeIndexedSearch(table, index); },
      [&](std::span<const Match> some) {
        matches.insert(matches.end(), some.begin(), some.end());
      });

  std::set<std::pair<std::size_t, std::size_t>> scanned;
  for (const Match& match : matches) {
    FUZZ_CHECK(match.a < match.b && match.b < names.size());
    FUZZ_CHECK(scanned.emplace(match.a, match.b).second);
    const auto [found, words] =
        ComparisonCounts(names[match.a], names[match.b]);
    FUZZ_CHECK(match.found == found && match.words == words);
  }
  for (std::size_t a = 0; a < names.size(); ++a) {
    for (std::size_t b = a + 1; b < names.size(); ++b) {
      const bool compared = PluginCompare(names[a].c_str(), names[b].c_str());
      FUZZ_CHECK(compared == scanned.contains({a, b}));
    }
  }
  return 0;
}
