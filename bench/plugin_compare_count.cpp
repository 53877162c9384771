// plugin_compare_count MODULE PAIR CALLS: calls PluginCompare of MODULE
// CALLS times on one of the bench pairs, for bench/plugin_compare_count.sh
// to count the instructions under callgrind. Exit status 2 on bad usage.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/plugin_pairs.h"

int main(int argc, char** argv) {
  using wordlap::bench::kBenchPairs;
  if (argc != 4) {
    std::fputs("usage: plugin_compare_count MODULE PAIR CALLS\n", stderr);
    return 2;
  }
  const wordlap::bench::BenchPair* pair = nullptr;
  for (const auto& candidate : kBenchPairs) {
    if (std::strcmp(candidate.name, argv[2]) == 0) pair = &candidate;
  }
  char* end = nullptr;
  const long calls = std::strtol(argv[3], &end, 10);
  if (pair == nullptr || *end != '\0' || calls < 0) {
    std::fprintf(stderr, "plugin_compare_count: no pair '%s' or bad count\n",
                 argv[2]);
    return 2;
  }
  void* module = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    std::fprintf(stderr, "plugin_compare_count: %s\n", dlerror());
    return 2;
  }
  using CompareFn = bool (*)(const char*, const char*);
  const auto compare =
      reinterpret_cast<CompareFn>(dlsym(module, "PluginCompare"));
  if (compare == nullptr) return 2;
  // The answers are summed so that no call can be left out.
  long matches = 0;
  for (long i = 0; i < calls; ++i)
    matches += compare(pair->path_a, pair->path_b);
  std::printf("%s: %ld of %ld calls matched\n", pair->name, matches, calls);
  return 0;
}
