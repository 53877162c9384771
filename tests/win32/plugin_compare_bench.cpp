// wordlap_win_bench DLL: the time of one PluginCompare call of the DLL, as
// the host makes it (loaded with LoadLibraryA, called through the register
// convention), for the pairs of bench/plugin_pairs.h. Run by the Windows
// suite under Wine, so the figures follow the load of the machine: compare
// them only between runs on the same, idle machine. No figure fails the run;
// only a DLL that cannot be loaded does.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "bench/plugin_pairs.h"
#include "tests/win32/checks.h"
#include "tests/win32/plugin_module.h"

namespace wordlap::win32_host {
namespace {

constexpr int kRounds = 7;

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// Nanoseconds per call: the best of several rounds, since a loaded machine
// only ever makes a round slower.
void TimePair(const PluginModule& plugin, const bench::BenchPair& pair) {
  const int calls_per_round = 20000;
  int matches = 0;
  for (int i = 0; i < 1000; ++i) {
    matches += plugin.PluginCompare(pair.path_a, pair.path_b);
  }
  double best = 0;
  for (int round = 0; round < kRounds; ++round) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < calls_per_round; ++i) {
      matches += plugin.PluginCompare(pair.path_a, pair.path_b);
    }
    QueryPerformanceCounter(&end);
    const double seconds = Seconds(start, end);
    if (round == 0 || seconds < best) best = seconds;
  }
  std::printf("  %-9s %8.0f ns per call (best of %d rounds of %d calls; %s)\n",
              pair.name, best * 1e9 / calls_per_round, kRounds, calls_per_round,
              matches > 0 ? "match" : "no match");
  std::fflush(stdout);
}

// What a single word comparison costs, for reading the figures above: a
// pair of names takes one for every pair of words that is not settled
// without it (about 35 for the typical pair).
void TimeCompareString() {
  const int calls_per_round = 200000;
  volatile int equal = 0;  // so that no call is left out
  double best = 0;
  for (int round = 0; round < kRounds; ++round) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < calls_per_round; ++i) {
      equal = equal + CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE,
                                     "juniper", 7, "Harbour", 7) ==
              CSTR_EQUAL;
    }
    QueryPerformanceCounter(&end);
    const double seconds = Seconds(start, end);
    if (round == 0 || seconds < best) best = seconds;
  }
  std::printf("  one CompareStringA of two words: %.0f ns\n",
              best * 1e9 / calls_per_round);
  std::fflush(stdout);
}

}  // namespace
}  // namespace wordlap::win32_host

int main(int argc, char** argv) {
  using namespace wordlap;
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <Wordlap.dll>\n",
                 argc > 0 ? argv[0] : "wordlap_win_bench");
    return 2;
  }
  const win32_host::PluginModule plugin(argv[1]);
  if (!plugin.Loaded()) return win32_host::Summary();
  std::printf("PluginCompare of %s under the ANSI code page %u:\n", argv[1],
              GetACP());
  win32_host::TimePair(plugin, bench::kBenchPairs[0]);
  win32_host::TimePair(plugin, bench::kBenchPairs[1]);
  win32_host::TimePair(plugin, bench::kAnsiAccentedPair);
  win32_host::TimeCompareString();
  return win32_host::Summary();
}
