// Eight threads calling the shipped module at once, on one shared table of
// paths and keys: every answer must be the one a single thread gets. Run
// under ThreadSanitizer in CI, which also reports any data race on the way.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "tests/cases/compare_cases.h"
#include "tests/support/plugin_library.h"

namespace wordlap {
namespace {

constexpr int kThreads = 8;
constexpr int kRounds = 20;

struct SharedTable {
  std::vector<std::pair<std::string, std::string>> pairs;
  std::vector<std::string> keys;
};

std::string ManyWords(int count, int step) {
  std::string name;
  for (int i = 0; i < count; ++i) {
    name.append("W").append(std::to_string(i * step % count)).append(" ");
  }
  return name + ".txt";
}

SharedTable MakeTable() {
  SharedTable table;
  for (const cases::CompareCase& c : cases::kCompareCases) {
    table.pairs.emplace_back(c.path_a, c.path_b);
  }
  // Names whose words go through the platform's case folding, and lists long
  // enough to be looked up through a hash.
  table.pairs.emplace_back(
      "/m/Caf\xC3\xA9 Stra\xC3\x9F"
      "e.flac",
      "/b/STRASSE_CAF\xC3\x89.flac");
  table.pairs.emplace_back("\xC3\x89T\xC3\x89 \xFF.mp3",
                           "\xC3\xA9t\xC3\xA9.mp3");
  table.pairs.emplace_back(ManyWords(300, 7), ManyWords(300, 11));
  table.pairs.emplace_back(ManyWords(300, 7), ManyWords(301, 1));
  table.keys = {"name", "author",      "version", "comparer", "viewer",
                "tbc",  "description", "Name",    "",         "comparer "};
  return table;
}

TEST(Threads, ConcurrentCallsGiveTheSerialAnswers) {
  test::PluginLibrary plugin(WORDLAP_PLUGIN_PATH);
  ASSERT_TRUE(plugin.usable());
  const SharedTable table = MakeTable();

  std::vector<bool> serial_verdicts;
  for (const auto& [a, b] : table.pairs) {
    serial_verdicts.push_back(plugin.compare(a.c_str(), b.c_str()));
  }
  std::vector<const char*> serial_answers;
  for (const std::string& key : table.keys) {
    serial_answers.push_back(plugin.info(key.c_str()));
  }

  std::atomic<int> wrong{0};
  std::atomic<int> ready{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      // Start together, each at its own place in the table, so that
      // different calls overlap.
      ++ready;
      while (ready.load() < kThreads) std::this_thread::yield();
      const std::size_t n = table.pairs.size();
      for (int round = 0; round < kRounds; ++round) {
        for (std::size_t i = 0; i < n; ++i) {
          const std::size_t p = (i + t * 5) % n;
          const auto& [a, b] = table.pairs[p];
          if (plugin.compare(a.c_str(), b.c_str()) != serial_verdicts[p]) {
            ++wrong;
          }
          const std::size_t k = (i + t) % table.keys.size();
          if (plugin.info(table.keys[k].c_str()) != serial_answers[k]) ++wrong;
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
}  // namespace wordlap
