// A plug-in module loaded the way the host loads it.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace wordlap::cli {

// A module that could not be used as a plug-in; the message is one line.
class PluginError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class PluginModule {
 public:
  using VersionFn = const char* (*)();
  using CompareFn = bool (*)(const char*, const char*);
  using InfoFn = const char* (*)(const char*);
  using MarkerFn = bool (*)();

  // Loads the module, resolves the four entry points and checks that it
  // declares itself a plug-in. Throws PluginError otherwise.
  explicit PluginModule(const std::string& path);
  ~PluginModule();
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  const std::string& Path() const { return path_; }
  const char* HostVersion() const { return get_version_(); }
  bool Compare(const char* a, const char* b) const { return compare_(a, b); }
  const char* Info(const char* key) const { return get_info_(key); }

 private:
  void* Resolve(const char* name);

  std::string path_;
  void* handle_ = nullptr;
  VersionFn get_version_ = nullptr;
  CompareFn compare_ = nullptr;
  InfoFn get_info_ = nullptr;
};

// Where the command looks for its plug-in when it is given none, in order:
// beside itself (the build tree, or a folder holding both) and in the
// plug-in folder of an install, found relative to the command so that a
// moved install keeps working.
std::vector<std::string> DefaultPluginPaths();

// The first of DefaultPluginPaths() that exists. Throws PluginError naming
// the places looked at when there is none.
std::string FindDefaultPlugin();

// The information keys a host asks for, in the order it shows them.
inline constexpr const char* kInfoKeys[] = {
    "name", "author", "version", "comparer", "viewer", "tbc", "description"};

}  // namespace wordlap::cli
