// compare_probe MODULE PATH_A PATH_B: loads a plug-in module in a process of
// its own and compares two paths with it; exit status 0 for a match, 1 for
// none, 2 when the module cannot be used.
#include <dlfcn.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: compare_probe MODULE PATH_A PATH_B\n", stderr);
    return 2;
  }
  void* module = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    std::fprintf(stderr, "compare_probe: %s\n", dlerror());
    return 2;
  }
  using CompareFn = bool (*)(const char*, const char*);
  const auto compare =
      reinterpret_cast<CompareFn>(dlsym(module, "PluginCompare"));
  if (compare == nullptr) return 2;
  return compare(argv[2], argv[3]) ? 0 : 1;
}
