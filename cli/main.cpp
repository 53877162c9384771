// wordlap: a stand-in for the plug-in's host.
#include <cstdio>
#include <exception>
#include <string_view>

#include "cli/commands.h"
#include "cli/plugin_module.h"

namespace wordlap::cli {
namespace {

constexpr char kUsage[] =
    "usage: wordlap info [--plugin PATH]\n"
    "       wordlap compare PATH_A PATH_B [--explain] [--plugin PATH]\n"
    "       wordlap scan [PATH...] [--files-from FILE|- [-0]] [--ext LIST]\n"
    "                    [--follow] [--format text|csv|json] [--quiet]\n"
    "                    [--plugin PATH]\n";

constexpr int kExitError = 2;

}  // namespace

std::string OptionValue(Arguments args, std::size_t& index) {
  if (index + 1 >= args.size()) {
    throw UsageError(std::string(args[index]) + " needs a value");
  }
  return args[++index];
}

int Main(Arguments args) {
  if (args.empty()) throw UsageError("no command given");
  const std::string_view command = args[0];
  const Arguments rest = args.subspan(1);
  if (command == "info") return RunInfo(rest);
  if (command == "compare") return RunCompare(rest);
  if (command == "scan") return RunScan(rest);
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  throw UsageError("unknown command '" + std::string(command) + "'");
}

}  // namespace wordlap::cli

int main(int argc, char** argv) {
  using namespace wordlap::cli;
  try {
    return Main(Arguments(argv + 1, static_cast<std::size_t>(argc - 1)));
  } catch (const UsageError& error) {
    std::fprintf(stderr, "wordlap: %s\n%s", error.what(), kUsage);
  } catch (const PluginError& error) {
    std::fprintf(stderr, "wordlap: %s\n", error.what());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "wordlap: %s\n", error.what());
  }
  return kExitError;
}
