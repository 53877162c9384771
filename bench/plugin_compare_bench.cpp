// PluginCompare of the shipped module (trace off), loaded like the host
// loads it. Targets on a 2-core machine: a typical ASCII pair at most
// 0.5 us, accented names at most 3 us, two names of 10,000 words at most
// 20 ms.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>

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

}  // namespace

BENCHMARK_MAIN();
