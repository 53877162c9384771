// --plugin PATH, shared by the commands that load a plug-in.
#pragma once

#include <optional>
#include <string>

namespace CLI {
class App;
}

namespace wordlap::cli {

// Declares --plugin on `command`; `path` is set when it is given. `use`
// says what the command does with the module.
void AddPluginOption(CLI::App& command, std::optional<std::string>& path,
                     const std::string& use);

// The module to load: the one given, or the default one.
std::string PluginPath(const std::optional<std::string>& given);

}  // namespace wordlap::cli
