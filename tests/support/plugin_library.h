// The entry points of a plug-in module, loaded the way the host loads it.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

namespace wordlap::test {

struct PluginLibrary {
  using CompareFn = bool (*)(const char*, const char*);
  using InfoFn = const char* (*)(const char*);

  explicit PluginLibrary(const char* path)
      : handle(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {
    EXPECT_NE(handle, nullptr) << dlerror();
    if (handle == nullptr) return;
    compare = reinterpret_cast<CompareFn>(dlsym(handle, "PluginCompare"));
    info = reinterpret_cast<InfoFn>(dlsym(handle, "GetPluginInfo"));
    EXPECT_NE(compare, nullptr);
    EXPECT_NE(info, nullptr);
  }
  ~PluginLibrary() {
    if (handle != nullptr) dlclose(handle);
  }
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  bool usable() const { return compare != nullptr && info != nullptr; }

  void* handle;
  CompareFn compare = nullptr;
  InfoFn info = nullptr;
};

}  // namespace wordlap::test
