// How `--help` looks: options with their value names, descriptions wrapped
// to the terminal's usual width, each default named after its description.
#pragma once

#include <string>

namespace CLI {
class App;
}

namespace wordlap::cli {

// Sets the help flag and the help layout of `wordlap`; call it before adding
// the subcommands, which take both over.
void UseHelpFormat(CLI::App& wordlap);

// The help of `command`: of `wordlap` itself, or of one of its subcommands.
std::string HelpText(const CLI::App& command);

}  // namespace wordlap::cli
