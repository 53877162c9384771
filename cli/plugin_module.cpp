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
  // dlopen looks a name without a slash up in the library search path, not
  // in the current folder: the module loaded would not be the file named.
  const std::string file =
      path.find('/') == std::string::npos ? "./" + path : path;
  handle_ = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
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

std::vector<std::string> DefaultPluginPaths() {
  constexpr char kModule[] = "Wordlap.so";
  std::error_code error;
  // The command itself, links resolved: a link to an installed command
  // finds the plug-in of that install.
  const std::filesystem::path self =
      std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};  // nowhere to look: --plugin must say
  const std::filesystem::path bin = self.parent_path();
  return {(bin / kModule).string(),
          (bin / WORDLAP_PLUGIN_DIR_FROM_BIN / kModule)
              .lexically_normal()
              .string()};
}

std::string FindDefaultPlugin() {
  const std::vector<std::string> paths = DefaultPluginPaths();
  std::string looked;
  for (const std::string& path : paths) {
    struct stat status;
    if (::stat(path.c_str(), &status) == 0) return path;
    looked += looked.empty() ? path : " or " + path;
  }
  if (looked.empty()) {
    throw PluginError("cannot tell where wordlap is installed; give --plugin");
  }
  throw PluginError("no plug-in at " + looked);
}

}  // namespace wordlap::cli
