// wordlap help [COMMAND]: the help of wordlap or of one of its commands.
#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "cli/command.h"
#include "cli/command_output.h"
#include "cli/help_format.h"

namespace wordlap::cli {
namespace {

struct HelpOptions {
  std::string command;  // empty: wordlap itself
};

int RunHelp(const CLI::App& wordlap, const HelpOptions& options) {
  const CLI::App* shown = &wordlap;
  if (!options.command.empty()) {
    shown = nullptr;
    for (const CLI::App* command : wordlap.get_subcommands({})) {
      if (command->get_name() == options.command) shown = command;
    }
    if (shown == nullptr) {
      throw UsageError("unknown command '" + options.command + "'");
    }
  }
  const std::string text = HelpText(*shown);
  return WriteOutput(0, [&](report::OutputStream& out) { out.Write(text); });
}

}  // namespace

Command AddHelpCommand(CLI::App& wordlap) {
  auto options = std::make_shared<HelpOptions>();
  CLI::App* help = wordlap.add_subcommand(
      "help", "Show the help of wordlap, or of one of its commands.");
  help->add_option("COMMAND", options->command, "The command to describe");
  return {help, nullptr,
          [&wordlap, options] { return RunHelp(wordlap, *options); }};
}

}  // namespace wordlap::cli
