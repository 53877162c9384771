// wordlap --version
#include <string>

#include "cli/command.h"
#include "cli/command_output.h"
#include "cli/plugin_module.h"

namespace wordlap::cli {

int RunVersion() {
  std::string text = "wordlap " WORDLAP_VERSION "\n";
  // The command's own version is always shown; a plug-in that cannot be
  // loaded is reported in its place, as `info` would name the problem.
  try {
    const PluginModule plugin(FindDefaultPlugin());
    text += "plug-in: " + plugin.Path() + "\n";
    text += std::string("plug-in version: ") + plugin.Info("version") + "\n";
    text += std::string("host version: ") + plugin.HostVersion() + "\n";
  } catch (const PluginError& error) {
    text += std::string("plug-in: none: ") + error.what() + "\n";
  }
  return WriteOutput(0, [&](report::OutputStream& out) { out.Write(text); });
}

}  // namespace wordlap::cli
