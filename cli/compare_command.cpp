// wordlap compare PATH_A PATH_B [--explain] [--plugin PATH]
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/plugin_module.h"
#include "compare/name_compare.h"

namespace wordlap::cli {
namespace {

class StdoutSink final : public LineSink {
 public:
  void Line(std::string_view line) override {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
  }
};

}  // namespace

int RunCompare(Arguments args) {
  std::string plugin_path = DefaultPluginPath();
  bool explain = false;
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--plugin") {
      plugin_path = OptionValue(args, i);
    } else if (arg == "--explain") {
      explain = true;
    } else if (arg == "--") {
      paths.insert(paths.end(), args.begin() + i + 1, args.end());
      break;
    } else if (arg.starts_with("--")) {
      throw UsageError("compare: unknown option '" + std::string(arg) + "'");
    } else {
      paths.emplace_back(arg);
    }
  }
  if (paths.size() != 2) {
    throw UsageError("compare: expected two paths, got " +
                     std::to_string(paths.size()));
  }
  const PluginModule plugin(plugin_path);
  // The verdict is the plug-in's; the explanation replays the same
  // comparison in the command and shows each of its lines.
  if (explain) {
    StdoutSink sink;
    CompareNames(paths[0], paths[1], &sink);
  }
  const bool match = plugin.Compare(paths[0].c_str(), paths[1].c_str());
  std::puts(match ? "match" : "no match");
  return match ? 0 : 1;
}

}  // namespace wordlap::cli
