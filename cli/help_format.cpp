#include "cli/help_format.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

namespace wordlap::cli {
namespace {

constexpr std::size_t kLineWidth = 80;
constexpr std::size_t kNameColumn = 24;

// Breaks `text` at spaces into lines of at most `width` characters (a longer
// word stays whole).
std::string Wrapped(std::string_view text, std::size_t width) {
  std::string out;
  std::size_t line = 0;
  while (!text.empty()) {
    const std::size_t end = text.find(' ');
    const std::string_view word = text.substr(0, end);
    if (line > 0 && line + 1 + word.size() > width) {
      out += '\n';
      line = 0;
    } else if (line > 0) {
      out += ' ';
      ++line;
    }
    out += word;
    line += word.size();
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return out;
}

class HelpFormatter final : public CLI::Formatter {
 public:
  HelpFormatter() {
    column_width(kNameColumn);
    label("Positionals", "Arguments");
    label("SUBCOMMAND", "COMMAND");
  }

  // The usage line first, then what the command does.
  std::string make_help(const CLI::App* command, std::string name,
                        CLI::AppFormatMode mode) const override {
    std::string text = make_usage(command, name) + "\n" +
                       make_description(command) + make_positionals(command) +
                       make_groups(command, mode) +
                       make_subcommands(command, mode);
    if (!command->get_footer().empty()) text += "\n" + make_footer(command);
    return text;
  }

  // An operand's usage text (option_text) can name several operands, as in
  // "PATH_A PATH_B".
  std::string make_option_name(const CLI::Option* option,
                               bool positional) const override {
    if (positional && !option->get_option_text().empty()) {
      return option->get_option_text();
    }
    return CLI::Formatter::make_option_name(option, positional);
  }

  std::string make_option_usage(const CLI::Option* option) const override {
    if (!option->get_option_text().empty()) return option->get_option_text();
    return CLI::Formatter::make_option_usage(option);
  }

  // Only the name of the value ("--format FORMAT"): defaults are said in
  // words after the description.
  std::string make_option_opts(const CLI::Option* option) const override {
    if (option->get_positional() || option->get_type_size() == 0) return "";
    return " " + option->get_type_name();
  }

  std::string make_option_desc(const CLI::Option* option) const override {
    std::string text = option->get_description();
    if (!option->get_default_str().empty()) {
      text += " (default: " + option->get_default_str() + ")";
    }
    return Wrapped(text, kLineWidth - kNameColumn);  // CLI11 indents it
  }

  std::string make_subcommand(const CLI::App* command) const override {
    std::stringstream out;
    CLI::detail::format_help(
        out, command->get_name(),
        Wrapped(command->get_description(), kLineWidth - kNameColumn),
        kNameColumn);
    return out.str();
  }

  std::string make_description(const CLI::App* command) const override {
    return Wrapped(command->get_description(), kLineWidth) + "\n";
  }

  std::string make_footer(const CLI::App* command) const override {
    return Wrapped(command->get_footer(), kLineWidth) + "\n";
  }
};

}  // namespace

void UseHelpFormat(CLI::App& wordlap) {
  wordlap.formatter(std::make_shared<HelpFormatter>());
  wordlap.set_help_flag("-h,--help", "Show this help and exit");
}

std::string HelpText(const CLI::App& command) {
  // App::help() would describe the subcommand chosen on this command line
  // (`help` itself, when `wordlap help` asks for the top level).
  const std::string parent =
      command.get_parent() != nullptr ? command.get_parent()->get_name() : "";
  const std::string name =
      parent.empty() ? command.get_name() : parent + " " + command.get_name();
  return command.get_formatter()->make_help(&command, name,
                                            CLI::AppFormatMode::Normal);
}

}  // namespace wordlap::cli
