// wordlap compare PATH_A PATH_B [--explain] [--plugin PATH]
#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command.h"
#include "cli/command_output.h"
#include "cli/plugin_module.h"
#include "cli/plugin_option.h"
#include "compare/name_compare.h"

namespace wordlap::cli {
namespace {

struct CompareOptions {
  std::vector<std::string> paths;
  bool explain = false;
  std::optional<std::string> plugin_path;
};

class TextSink final : public LineSink {
 public:
  explicit TextSink(std::string& text) : text_(text) {}
  void Line(std::string_view line) override {
    text_.append(line);
    text_ += '\n';
  }

 private:
  std::string& text_;
};

const char* Verdict(bool match) { return match ? "match" : "no match"; }

int RunCompare(const CompareOptions& options) {
  if (options.paths.size() != 2) {
    throw UsageError("expected two paths, got " +
                     std::to_string(options.paths.size()));
  }
  const char* a = options.paths[0].c_str();
  const char* b = options.paths[1].c_str();
  const PluginModule plugin(PluginPath(options.plugin_path));
  const bool match = plugin.Compare(a, b);

  // A module cannot show how it decided, so the explanation is the
  // comparison built into the command. It must not pass for the reason of a
  // verdict it does not give: when the module answers otherwise, say so.
  std::string explanation;
  if (options.explain) {
    TextSink sink(explanation);
    const bool explained = CompareNames(a, b, &sink);
    if (explained != match) {
      explanation += std::string(
                         "note: the lines above are the comparison "
                         "built into wordlap, which answers ") +
                     Verdict(explained) + "; the plug-in " + plugin.Path() +
                     " answers " + Verdict(match) + "\n";
    }
  }
  return WriteOutput(match ? 0 : 1, [&](report::OutputStream& out) {
    out.Write(explanation);
    out.Write(Verdict(match));
    out.Put('\n');
  });
}

}  // namespace

Command AddCompareCommand(CLI::App& wordlap) {
  auto options = std::make_shared<CompareOptions>();
  CLI::App* compare = wordlap.add_subcommand(
      "compare",
      "Compare the file names of two paths with the plug-in: prints match "
      "(exit status 0) or no match (exit status 1).");
  compare
      ->add_option("PATH", options->paths,
                   "The two paths; only their file names count, and the "
                   "files need not exist")
      ->option_text("PATH_A PATH_B");
  compare->add_flag(
      "--explain", options->explain,
      "First print every step of the comparison, the lines a tracing build "
      "writes to its trace file. The steps are those of the comparison built "
      "into wordlap; a note follows them when the plug-in's verdict differs");
  AddPluginOption(*compare, options->plugin_path,
                  "The plug-in whose verdict is printed");
  compare->footer(
      "Exit status: 0 for match, 1 for no match, 2 for wrong usage or a "
      "plug-in that cannot be used.");
  return {compare, &options->paths, [options] { return RunCompare(*options); }};
}

}  // namespace wordlap::cli
