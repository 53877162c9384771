// trace_hammer MODULE ROUNDS: loads a (tracing) plug-in module and runs the
// contention pairs ROUNDS times; exit status 0 when every verdict matched
// the first round's, 1 otherwise, 2 when the module cannot be used.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tests/robustness/contention_pairs.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: trace_hammer MODULE ROUNDS\n", stderr);
    return 2;
  }
  void* module = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    std::fprintf(stderr, "trace_hammer: %s\n", dlerror());
    return 2;
  }
  using CompareFn = bool (*)(const char*, const char*);
  const auto compare =
      reinterpret_cast<CompareFn>(dlsym(module, "PluginCompare"));
  if (compare == nullptr) return 2;

  const auto pairs = wordlap::test::ContentionPairs();
  std::vector<bool> first;
  for (const auto& [a, b] : pairs)
    first.push_back(compare(a.c_str(), b.c_str()));
  const int rounds = std::atoi(argv[2]);
  for (int round = 1; round < rounds; ++round) {
    for (std::size_t i = 0; i < pairs.size(); ++i) {
      if (compare(pairs[i].first.c_str(), pairs[i].second.c_str()) !=
          first[i]) {
        return 1;
      }
    }
  }
  return 0;
}
