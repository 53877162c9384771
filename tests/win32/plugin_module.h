// The plug-in as the host sees it: a DLL loaded with LoadLibraryA whose four
// entry points are called through the register convention.
#pragma once

#include <windows.h>

#include <string>

namespace wordlap::win32_host {

class PluginModule {
 public:
  // Loads the DLL and checks its export directory and entry points; a
  // module that fails to load or lacks an entry point is reported and left
  // unusable (Loaded() is false).
  explicit PluginModule(const std::string& path);
  ~PluginModule();
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  bool Loaded() const { return loaded_; }

  // Each call checks the preserved registers and the stack pointer; the
  // Boolean results are read from AL alone.
  bool TrovixPlugin() const;
  const char* GetTrovixVersion() const;
  const char* GetPluginInfo(const char* key) const;
  bool PluginCompare(const char* path_a, const char* path_b) const;

 private:
  HMODULE module_ = nullptr;
  bool loaded_ = false;
  const void* get_trovix_version_ = nullptr;
  const void* plugin_compare_ = nullptr;
  const void* get_plugin_info_ = nullptr;
  const void* trovix_plugin_ = nullptr;
};

}  // namespace wordlap::win32_host
