// wordlap info [--plugin PATH]: what a plug-in says about itself.
#include <cstdio>
#include <string_view>

#include "cli/commands.h"
#include "cli/plugin_module.h"

namespace wordlap::cli {

int RunInfo(Arguments args) {
  std::string plugin_path = DefaultPluginPath();
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--plugin") {
      plugin_path = OptionValue(args, i);
    } else {
      throw UsageError("info: unexpected argument '" + std::string(arg) + "'");
    }
  }
  const PluginModule plugin(plugin_path);
  std::printf("plug-in: %s\n", plugin.Path().c_str());
  std::printf("host version: %s\n", plugin.HostVersion());
  for (const char* key : kInfoKeys) {
    std::printf("%s: %s\n", key, plugin.Info(key));
  }
  return 0;
}

}  // namespace wordlap::cli
