#include "cli/plugin_module.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace wordlap::cli {

PluginModule::PluginModule(const std::string& path) : path_(path) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0) {
    throw PluginError("no plug-in at " + path);
  }
  if (!S_ISREG(status.st_mode)) {
    throw PluginError("not a file: " + path);
  }
  handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* reason = ::dlerror();
    throw PluginError("cannot load " + path + ": " +
                      (reason != nullptr ? reason : "unknown error"));
  }
  try {
    const auto is_plugin = reinterpret_cast<MarkerFn>(Resolve("TrovixPlugin"));
    get_version_ = reinterpret_cast<VersionFn>(Resolve("GetTrovixVersion"));
    compare_ = reinterpret_cast<CompareFn>(Resolve("PluginCompare"));
    get_info_ = reinterpret_cast<InfoFn>(Resolve("GetPluginInfo"));
    if (!is_plugin()) {
      throw PluginError(path +
                        " is not a plug-in: TrovixPlugin answered false");
    }
  } catch (...) {
    ::dlclose(handle_);
    throw;
  }
}

PluginModule::~PluginModule() { ::dlclose(handle_); }

void* PluginModule::Resolve(const char* name) {
  void* symbol = ::dlsym(handle_, name);
  if (symbol == nullptr) {
    throw PluginError(path_ + " is not a plug-in: it has no entry point " +
                      name);
  }
  return symbol;
}

std::string DefaultPluginPath() {
  std::error_code error;
  const std::filesystem::path self =
      std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "Wordlap.so";
  return (self.parent_path() / "Wordlap.so").string();
}

}  // namespace wordlap::cli
