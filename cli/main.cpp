// wordlap: a stand-in for the plug-in's host, and a finder of files whose
// names look like duplicates.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command.h"
#include "cli/command_output.h"
#include "cli/help_format.h"

namespace wordlap::cli {
namespace {

// One line `wordlap: COMMAND: what is wrong`, and for wrong usage a pointer
// to the help.
void ReportError(const std::string& command, std::string_view message,
                 bool usage) {
  const std::string who = command.empty() ? "wordlap" : "wordlap " + command;
  std::fprintf(stderr, "wordlap: %s%.*s\n",
               command.empty() ? "" : (command + ": ").c_str(),
               static_cast<int>(message.size()), message.data());
  if (usage) std::fprintf(stderr, "Run '%s --help' for usage.\n", who.c_str());
}

// CLI11's message for a parse error, in the words of the other messages
// where CLI11's are unclear.
std::string UsageMessage(const CLI::ParseError& error) {
  const std::string text = error.what();
  // "--format: 1 required FORMAT missing"
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr &&
      text.find(" required ") != std::string::npos &&
      text.ends_with(" missing")) {
    return text.substr(0, text.find(':')) + " needs a value";
  }
  // "Could not convert: --quiet = maybe"
  constexpr std::string_view kNotConverted = "Could not convert: ";
  const std::size_t equals = text.find(" = ");
  if (dynamic_cast<const CLI::ConversionError*>(&error) != nullptr &&
      text.starts_with(kNotConverted) && equals != std::string::npos) {
    const std::size_t name = kNotConverted.size();
    return text.substr(name, equals - name) + ": invalid value '" +
           text.substr(equals + 3) + "'";
  }
  return text;
}

// An argument the parser kept because no option or operand takes it.
std::string Unexpected(const std::string& argument, bool is_command_name) {
  if (argument.size() > 1 && argument[0] == '-') {
    return "unknown option '" + argument.substr(0, argument.find('=')) + "'";
  }
  return (is_command_name ? "unknown command '" : "unexpected argument '") +
         argument + "'";
}

// Everything after the first "--" is an operand. Once a command's first
// operand is filled, CLI11 hands the rest after "--" to the level above, so
// they are taken out here and given to the command after parsing.
std::vector<std::string> TakeOperands(std::vector<std::string>& args) {
  const auto mark = std::find(args.begin(), args.end(), "--");
  if (mark == args.end()) return {};
  std::vector<std::string> operands(mark + 1, args.end());
  args.erase(mark, args.end());
  return operands;
}

// The command chosen on the parsed command line, given its operands. Throws
// UsageError for an argument that no option or operand took.
const Command& ChosenCommand(const CLI::App& wordlap,
                             const std::vector<Command>& commands,
                             const std::vector<std::string>& operands) {
  for (const std::string& extra : wordlap.remaining()) {
    throw UsageError(Unexpected(extra, true));
  }
  const auto chosen = std::find_if(
      commands.begin(), commands.end(),
      [](const Command& command) { return command.app->parsed(); });
  if (chosen == commands.end()) {
    throw UsageError(operands.empty() ? "no command given"
                                      : Unexpected(operands.front(), false));
  }
  for (const std::string& extra : chosen->app->remaining()) {
    throw UsageError(Unexpected(extra, false));
  }
  if (!operands.empty()) {
    if (chosen->operands == nullptr) {
      throw UsageError("unexpected argument '" + operands.front() + "'");
    }
    chosen->operands->insert(chosen->operands->end(), operands.begin(),
                             operands.end());
  }
  return *chosen;
}

int Main(std::vector<std::string> args) {
  const std::vector<std::string> operands = TakeOperands(args);
  CLI::App wordlap(
      "Finds files whose names look like duplicates, judged by the words "
      "they share, with exactly the verdict of the Wordlap plug-in; and "
      "shows what the plug-in says and how it compares two names.",
      "wordlap");
  UseHelpFormat(wordlap);
  wordlap.allow_extras();
  wordlap.require_subcommand(0, 1);
  bool version = false;
  wordlap.add_flag("--version", version,
                   "Show the version of wordlap and of the plug-in it loads");
  std::vector<Command> commands = {
      AddInfoCommand(wordlap),
      AddCompareCommand(wordlap),
      AddScanCommand(wordlap),
  };
  for (Command& action : AddActCommands(wordlap)) commands.push_back(action);
  commands.push_back(AddHelpCommand(wordlap));
  for (const Command& command : commands) {
    command.app->allow_extras();  // reported below, in our words
    command.app->group("Commands");
  }
  // Set last: a subcommand takes over the footer of its parent.
  wordlap.footer(
      "Run 'wordlap COMMAND --help' or 'wordlap help COMMAND' for the options "
      "of a command, and 'man wordlap' for the manual.");

  const auto name = [&] {
    const std::vector<CLI::App*> parsed = wordlap.get_subcommands();
    return parsed.empty() ? std::string() : parsed.front()->get_name();
  };
  try {
    std::reverse(args.begin(), args.end());  // CLI11 takes them last first
    try {
      wordlap.parse(args);
    } catch (const CLI::CallForHelp&) {
      const std::vector<CLI::App*> parsed = wordlap.get_subcommands();
      const std::string text =
          HelpText(parsed.empty() ? wordlap : *parsed.front());
      return WriteOutput(0,
                         [&](report::OutputStream& out) { out.Write(text); });
    }
    if (version) return RunVersion();
    return ChosenCommand(wordlap, commands, operands).run();
  } catch (const UsageError& error) {
    ReportError(name(), error.what(), true);
  } catch (const CLI::ParseError& error) {
    ReportError(name(), UsageMessage(error), true);
  } catch (const std::bad_alloc&) {
    ReportError(name(), "out of memory", false);
  } catch (const std::exception& error) {
    ReportError(name(), error.what(), false);
  }
  return kExitError;
}

}  // namespace
}  // namespace wordlap::cli

int main(int argc, char** argv) {
  // A reader that stops reading (`| head`) must end a command quietly, not
  // kill it: writes then fail with EPIPE, which the output checks handle.
  std::signal(SIGPIPE, SIG_IGN);
  return wordlap::cli::Main(std::vector<std::string>(argv + 1, argv + argc));
}
