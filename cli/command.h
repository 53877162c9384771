// The subcommands of `wordlap`. Each one declares its options on a CLI11
// subcommand, which fills a plain options struct; running the command takes
// that struct. Adding a command is a file with its Add function and one line
// in main.cpp.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace wordlap::cli {

// Wrong usage and every error that stops a command.
inline constexpr int kExitError = 2;
// The command did its work, but not on everything it was given.
inline constexpr int kExitIncomplete = 1;

// Wrong usage: reported with a pointer to the command's help.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Command {
  CLI::App* app = nullptr;  // the subcommand, owned by the `wordlap` app
  // Where the operands after "--" go; null when the command takes none.
  std::vector<std::string>* operands = nullptr;
  // Checks what the parser filled in (throwing UsageError), runs the command
  // and returns its exit status.
  std::function<int()> run;
};

Command AddInfoCommand(CLI::App& wordlap);
Command AddCompareCommand(CLI::App& wordlap);
Command AddScanCommand(CLI::App& wordlap);
Command AddHelpCommand(CLI::App& wordlap);
// trash, remove, link, symlink and move.
std::vector<Command> AddActCommands(CLI::App& wordlap);

// `wordlap --version`: the command's version and that of the plug-in it
// loads by default.
int RunVersion();

}  // namespace wordlap::cli
