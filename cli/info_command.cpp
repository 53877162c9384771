// wordlap info [--plugin PATH]: what a plug-in says about itself.
#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <string>

#include "cli/command.h"
#include "cli/command_output.h"
#include "cli/plugin_module.h"
#include "cli/plugin_option.h"

namespace wordlap::cli {
namespace {

struct InfoOptions {
  std::optional<std::string> plugin_path;
};

int RunInfo(const InfoOptions& options) {
  const PluginModule plugin(PluginPath(options.plugin_path));
  return WriteOutput(0, [&](report::OutputStream& out) {
    out.Write("plug-in: " + plugin.Path() + "\n");
    out.Write(std::string("host version: ") + plugin.HostVersion() + "\n");
    for (const char* key : kInfoKeys) {
      out.Write(std::string(key) + ": " + plugin.Info(key) + "\n");
    }
  });
}

}  // namespace

Command AddInfoCommand(CLI::App& wordlap) {
  auto options = std::make_shared<InfoOptions>();
  CLI::App* info = wordlap.add_subcommand(
      "info",
      "Show the host version a plug-in declares and its answer to every "
      "information key.");
  AddPluginOption(*info, options->plugin_path, "The plug-in to ask");
  info->footer("Exit status: 0, or 2 when the plug-in cannot be used.");
  return {info, nullptr, [options] { return RunInfo(*options); }};
}

}  // namespace wordlap::cli
