#include "cli/plugin_option.h"

#include <CLI/CLI.hpp>

#include "cli/plugin_module.h"

namespace wordlap::cli {

void AddPluginOption(CLI::App& command, std::optional<std::string>& path,
                     const std::string& use) {
  command
      .add_option_function<std::string>(
          "--plugin", [&path](const std::string& value) { path = value; }, use)
      ->type_name("PATH")
      ->default_str("Wordlap.so beside wordlap, else in " +
                    std::string(WORDLAP_PLUGIN_DIR_FROM_BIN) +
                    " from its folder");
}

std::string PluginPath(const std::optional<std::string>& given) {
  return given ? *given : FindDefaultPlugin();
}

}  // namespace wordlap::cli
