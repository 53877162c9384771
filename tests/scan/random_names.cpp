#include "random_names.h"

#include <algorithm>
#include <random>
#include <string_view>

namespace wordlap::scan::test {
namespace {

// Spellings on one line are equal words for the comparison.
const std::vector<std::vector<std::string_view>> kWords = {
    {"love", "Love", "LOVE"},
    {"the", "The"},
    {"01"},
    {"02"},
    {"of"},
    {"night", "Night"},
    {"rain"},
    {"été", "Été", "ÉTÉ", "e\xcc\x81te\xcc\x81"},  // last: decomposed
    {"straße", "STRASSE", "strasse"},
    {"über", "Über", "UBER"},  // UBER is another word: no fold drops accents
    {"ça", "Ça"},
    {"Ωμέγα", "ωμέγα", "ΩΜΈΓΑ"},
    {"\xff", "\xfe"},  // two different ill-formed bytes
    {"rare1"},
    {"rare2"},
    {"rare3"},
    {"mix", "MIX", "Mix"},
    {"live"},
    {"x"},
    {"(1)"},
};

const std::vector<std::string_view> kSeparators = {" ", " ",  " ",  " - ", "_",
                                                   "-", "  ", "__", " _ "};
const std::vector<std::string_view> kFolders = {
    "", "/music/a/", "C:\\Music\\", "d:", "/x/y.z/", "backup/", "E:\\b\\c\\"};
const std::vector<std::string_view> kExtensions = {".mp3", ".MP3", ".flac", "",
                                                   ".mp3.bak"};

class Generator {
 public:
  explicit Generator(std::uint32_t seed) : random_(seed) {}

  int Below(int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(random_);
  }

  // Word choice leans on the first words, as real names lean on common ones.
  // Beyond the table, plain numbered words stand for rarer vocabulary.
  int WordIndex() {
    const int n = static_cast<int>(kWords.size());
    if (Below(4) == 0) return n + Below(300);
    return std::min(Below(n), Below(n));
  }

  std::string Spelling(int word) {
    if (word >= static_cast<int>(kWords.size())) {
      return (Below(2) ? "w" : "W") + std::to_string(word);
    }
    const auto& spellings = kWords[word];
    return std::string(spellings[Below(static_cast<int>(spellings.size()))]);
  }

  std::vector<int> FreshWords() {
    const int shape = Below(10);
    int length;
    if (shape == 0) {
      length = 1;
    } else if (shape <= 2) {
      length = 11 + Below(14);  // long enough that a word may be missing
    } else {
      length = 2 + Below(6);
    }
    std::vector<int> words;
    for (int i = 0; i < length; ++i) words.push_back(WordIndex());
    if (Below(6) == 0 && !words.empty()) words.push_back(words.front());
    return words;
  }

  std::vector<int> Renamed(std::vector<int> words) {
    switch (Below(5)) {
      case 0:
        std::shuffle(words.begin(), words.end(), random_);
        break;
      case 1:
        if (words.size() > 1) words.erase(words.begin() + Below(words.size()));
        break;
      case 2:
        words.insert(words.begin() + Below(words.size() + 1), WordIndex());
        break;
      case 3:
        std::rotate(words.begin(), words.begin() + Below(words.size()),
                    words.end());
        break;
      default:
        break;  // same words, other spelling and separators
    }
    return words;
  }

  std::string Path(const std::vector<int>& words) {
    std::string path(kFolders[Below(kFolders.size())]);
    const bool separator_run_at_start = Below(12) == 0;
    if (separator_run_at_start) path += "- ";
    for (std::size_t i = 0; i < words.size(); ++i) {
      if (i > 0) path += kSeparators[Below(kSeparators.size())];
      path += Spelling(words[i]);
    }
    path += kExtensions[Below(kExtensions.size())];
    return path;
  }

  // Names with no entry at all, and blank ones whose only entry is empty
  // (that one empty entry matches any name holding an empty entry).
  std::string WordlessName() {
    static const std::vector<std::string_view> kEmpty = {
        ".mp3", "", "C:\\Music\\.flac", "/music/", "d:", " .mp3", "\t.mp3"};
    return std::string(kEmpty[Below(kEmpty.size())]);
  }

 private:
  int Below(std::size_t n) { return Below(static_cast<int>(n)); }
  std::mt19937 random_;
};

}  // namespace

std::vector<std::string> RandomPaths(std::uint32_t seed, std::size_t count) {
  Generator generator(seed);
  std::vector<std::vector<int>> originals;
  std::vector<std::string> paths;
  while (paths.size() < count) {
    const int kind = generator.Below(20);
    if (kind == 0) {
      paths.push_back(generator.WordlessName());
    } else if (kind < 9 && !originals.empty()) {
      const auto& original =
          originals[generator.Below(static_cast<int>(originals.size()))];
      paths.push_back(generator.Path(generator.Renamed(original)));
    } else {
      originals.push_back(generator.FreshWords());
      paths.push_back(generator.Path(originals.back()));
    }
  }
  return paths;
}

std::vector<std::string> RepeatedNames(std::uint32_t seed, std::size_t count) {
  std::vector<std::string> names;
  for (const std::string& path : RandomPaths(seed, count / 5 + 1)) {
    names.push_back(path.substr(path.find_last_of("/\\:") + 1));
  }
  std::mt19937 random(seed);
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t pick = random() % (random() % names.size() + 1);
    paths.push_back("album " + std::to_string(i) + "/" + names[pick]);
  }
  return paths;
}

}  // namespace wordlap::scan::test
