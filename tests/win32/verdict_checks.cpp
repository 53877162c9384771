#include <string>

#include "tests/cases/compare_cases.h"
#include "tests/win32/checks.h"
#include "tests/win32/suites.h"

namespace wordlap::win32_host {
namespace {

std::string Row(std::string_view a, std::string_view b) {
  return "PluginCompare(\"" + Escaped(a) + "\", \"" + Escaped(b) + "\")";
}

std::string Words(int count, char prefix) {
  std::string name;
  for (int i = 0; i < count; ++i) {
    if (i > 0) name += ' ';
    name += prefix + std::to_string(i);
  }
  return name;
}

}  // namespace

void CheckVerdicts(const PluginModule& plugin) {
  for (const cases::CompareCase& row : cases::kCompareCases) {
    const std::string a(row.path_a), b(row.path_b);
    Expect(plugin.PluginCompare(a.c_str(), b.c_str()) == row.match,
           Row(a, b) + (row.match ? " is true" : " is false"));
  }

  // A null path reads as the empty text, whose empty list never matches.
  Expect(!plugin.PluginCompare(nullptr, nullptr), "PluginCompare(null, null)");
  Expect(!plugin.PluginCompare(nullptr, "Song.mp3"),
         "PluginCompare(null, \"Song.mp3\")");
  Expect(!plugin.PluginCompare("Song.mp3", nullptr),
         "PluginCompare(\"Song.mp3\", null)");
  const char* same = "C:\\Music\\Song Title.mp3";
  Expect(plugin.PluginCompare(same, same), "the same pointer twice matches");

  // Huge paths: one very long word, a very deep folder, many words.
  const std::string long_word(1 << 20, 'w');
  Expect(plugin.PluginCompare(("C:\\" + long_word + ".mp3").c_str(),
                              ("D:\\x\\" + long_word + ".flac").c_str()),
         "a word of 1 MiB matches itself");
  std::string deep;
  for (int i = 0; i < 20000; ++i) deep += "dir\\";
  Expect(plugin.PluginCompare((deep + "Song.mp3").c_str(), "Song.wav"),
         "a path 20000 folders deep is cut to its file name");
  const std::string many = Words(400, 'w') + ".mp3";
  const std::string other = Words(360, 'w') + ' ' + Words(40, 'x') + ".mp3";
  Expect(!plugin.PluginCompare(many.c_str(), other.c_str()),
         "400 words with 360 found is not a match");
  Expect(plugin.PluginCompare(many.c_str(), many.c_str()),
         "400 words match themselves");
}

}  // namespace wordlap::win32_host
