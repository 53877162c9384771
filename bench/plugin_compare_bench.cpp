// PluginCompare of the shipped module (trace off), loaded like the host
// loads it. Targets on a 2-core machine: a typical ASCII pair at most
// 0.5 us, accented names at most 3 us, two names of 10,000 words at most
// 20 ms; a path of 1 MiB or names of 100,000 words in time linear in the
// size. bench/plugin_compare_bench.sh counts the instructions of the pairs
// of plugin_pairs.h, which are also timed here.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/plugin_pairs.h"

namespace {

using CompareFn = bool (*)(const char*, const char*);

CompareFn LoadPluginCompare() {
  void* module = dlopen(WORDLAP_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    std::fprintf(stderr, "cannot load %s: %s\n", WORDLAP_PLUGIN_PATH,
                 dlerror());
    std::exit(2);
  }
  return reinterpret_cast<CompareFn>(dlsym(module, "PluginCompare"));
}

const CompareFn plugin_compare = LoadPluginCompare();

void RunPair(benchmark::State& state, const std::string& a,
             const std::string& b) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(plugin_compare(a.c_str(), b.c_str()));
  }
}

void BM_AsciiPair(benchmark::State& state) {
  RunPair(state, "D:\\Music\\The Artist\\Greatest Hits\\07 - Love Song.mp3",
          "E:\\Backup\\Music\\Love_Song-The_Artist (1).mp3");
}
BENCHMARK(BM_AsciiPair);

void BM_AccentedPair(benchmark::State& state) {
  RunPair(state,
          "/music/Bj\xC3\xB6rk Gu\xC3\xB0mundsd\xC3\xB3ttir/J\xC3\xB3ga - "
          "Caf\xC3\xA9 \xC3\x89t\xC3\xA9 Stra\xC3\x9F"
          "e.flac",
          "/backup/CAF\xC3\x89_\xC3\x89T\xC3\x89 STRASSE - J\xC3\x93GA "
          "bj\xC3\xB6rk.flac");
}
BENCHMARK(BM_AccentedPair);

void BM_BenchPair(benchmark::State& state,
                  const wordlap::bench::BenchPair& pair) {
  RunPair(state, pair.path_a, pair.path_b);
}
BENCHMARK_CAPTURE(BM_BenchPair, typical, wordlap::bench::kBenchPairs[0]);
BENCHMARK_CAPTURE(BM_BenchPair, short, wordlap::bench::kBenchPairs[1]);
BENCHMARK_CAPTURE(BM_BenchPair, accented, wordlap::bench::kBenchPairs[2]);

std::string ManyWords(int count, int offset) {
  std::string name;
  for (int i = 0; i < count; ++i) {
    name.append("word")
        .append(std::to_string((i + offset) % count))
        .append(" ");
  }
  return name + ".mp3";
}

void BM_TenThousandWords(benchmark::State& state) {
  RunPair(state, ManyWords(10000, 0), ManyWords(10000, 5000));
}
BENCHMARK(BM_TenThousandWords)->Unit(benchmark::kMillisecond);

// Hostile sizes, up to a path of 1 MiB and names of 100,000 words. The time
// must grow linearly with the size: each family fits a straight line
// (BigO) and reports how far the measurements lie from it (RMS); a quadratic
// cost shows as an RMS of tens of percent.
void BM_OneLongWord(benchmark::State& state, char byte) {
  const std::string word(static_cast<std::size_t>(state.range(0)), byte);
  RunPair(state, "/x/" + word + ".mp3", "D:\\y\\" + word + ".MP3");
  state.SetComplexityN(state.range(0));
}
BENCHMARK_CAPTURE(BM_OneLongWord, ascii, 'a')
    ->RangeMultiplier(4)
    ->Range(1 << 14, 1 << 20)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
// Every byte ill-formed, so each one is escaped on its own.
BENCHMARK_CAPTURE(BM_OneLongWord, ill_formed, '\xC3')
    ->RangeMultiplier(4)
    ->Range(1 << 14, 1 << 20)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void BM_ManyWordsGrowing(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  RunPair(state, ManyWords(count, 0), ManyWords(count, count / 2));
  state.SetComplexityN(count);
}
BENCHMARK(BM_ManyWordsGrowing)
    ->RangeMultiplier(2)
    ->Range(12500, 100000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
