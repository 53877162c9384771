// wordlap scan [PATH...] [--files-from FILE] [-0] [--ext LIST] [--follow]
//              [--format text|csv|json] [--quiet] [--plugin PATH]
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/command.h"
#include "cli/plugin_module.h"
#include "cli/plugin_option.h"
#include "platform/decimal_separator.h"
#include "scan/indexed_search.h"
#include "scan/name_table.h"
#include "scan/ordered_search.h"
#include "scan/output_stream.h"
#include "scan/pair_writer.h"
#include "scan/progress.h"
#include "scan/scan_inputs.h"
#include "scan/word_index.h"
#include "scan/word_overlap.h"

namespace wordlap::cli {
namespace {

struct ScanOptions {
  scan::ScanInputs inputs;
  scan::OutputFormat format = scan::OutputFormat::kText;
  bool quiet = false;
  std::optional<std::string> plugin_path;
};

// What only the whole command line can tell.
void CheckScanOptions(const ScanOptions& options) {
  if (options.inputs.roots.empty() && !options.inputs.list_source) {
    throw UsageError("give directories or files, or --files-from");
  }
  if (options.inputs.nul_separated && !options.inputs.list_source) {
    throw UsageError("-0 goes with --files-from");
  }
}

// The way a host without an index finds pairs: the plug-in judges every
// pair. The counts shown beside each pair come from the scan's own tables.
class PluginSearch final : public scan::MatchSearch {
 public:
  PluginSearch(const PluginModule& plugin,
               const std::vector<std::string>& paths,
               const scan::NameTable& table)
      : plugin_(plugin), paths_(paths), table_(table) {}

  void FindMatches(scan::NameId a, std::vector<scan::Match>& out) override {
    for (std::size_t b = a + 1; b < paths_.size(); ++b) {
      if (!plugin_.Compare(paths_[a].c_str(), paths_[b].c_str())) continue;
      const auto id = static_cast<scan::NameId>(b);
      const scan::Overlap overlap = scan::PairOverlap(table_, a, id);
      out.push_back({a, id, overlap.found, overlap.words});
    }
  }

 private:
  const PluginModule& plugin_;
  const std::vector<std::string>& paths_;
  const scan::NameTable& table_;
};

void Warn(const std::string& message) {
  std::fprintf(stderr, "wordlap: warning: %s\n", message.c_str());
}

int RunScan(const ScanOptions& options) {
  const std::unique_ptr<PluginModule> plugin =
      options.plugin_path ? std::make_unique<PluginModule>(*options.plugin_path)
                          : nullptr;
  const bool show_progress = !options.quiet && ::isatty(STDERR_FILENO);
  const unsigned threads = std::max(1u, std::thread::hardware_concurrency());

  std::vector<std::string> paths;
  try {
    paths = scan::CollectPaths(options.inputs, Warn);
  } catch (const scan::InputError& error) {
    std::fprintf(stderr, "wordlap: scan: %s\n", error.what());
    return 2;
  }

  std::atomic<std::size_t> read{0};
  const scan::NameTable table = [&] {
    const scan::ProgressLine progress(show_progress, "reading names",
                                      paths.size(), read);
    return scan::NameTable::Build(paths, threads, &read);
  }();
  std::unique_ptr<scan::WordIndex> index;
  scan::MatchSearchFactory make_search;
  if (plugin) {
    make_search = [&] {
      return std::make_unique<PluginSearch>(*plugin, paths, table);
    };
  } else {
    index = std::make_unique<scan::WordIndex>(table);
    make_search = [&] { return scan::MakeIndexedSearch(table, *index); };
  }

  scan::OutputStream out(STDOUT_FILENO);
  const auto writer = scan::MakePairWriter(options.format, paths, out,
                                           platform::DecimalSeparator());
  scan::ScanTotals totals{paths.size(), 0};
  try {
    writer->Begin();
    std::atomic<std::size_t> compared{0};
    {
      const scan::ProgressLine progress(show_progress, "comparing names",
                                        paths.size(), compared);
      scan::SearchInOrder(
          paths.size(), threads, make_search,
          [&](std::span<const scan::Match> matches) {
            totals.pairs += matches.size();
            writer->Write(matches);
          },
          &compared);
    }
    writer->End(totals);
    out.Flush();
  } catch (const scan::OutputClosed&) {
    // Whoever reads the output has all they wanted (`| head`).
    return 0;
  }
  return 0;
}

}  // namespace

Command AddScanCommand(CLI::App& wordlap) {
  auto options = std::make_shared<ScanOptions>();
  scan::ScanInputs& inputs = options->inputs;
  CLI::App* command = wordlap.add_subcommand(
      "scan",
      "Find every pair of files whose names match: exactly the pairs for "
      "which the plug-in's comparison answers true.");
  command->add_option(
      "PATH", inputs.roots,
      "Files and directories to scan; directories are walked recursively");
  command
      ->add_option_function<std::string>(
          "--files-from",
          [&inputs](const std::string& value) { inputs.list_source = value; },
          "Also scan the paths listed in FILE, one a line (a CR before the "
          "LF is dropped), or - for standard input; the paths need not exist "
          "here")
      ->type_name("FILE");
  command->add_flag("-0,--null", inputs.nul_separated,
                    "The list of --files-from is separated by NUL bytes, as "
                    "find -print0 writes it");
  command
      ->add_option_function<std::string>(
          "--ext",
          [&inputs](const std::string& value) {
            try {
              inputs.extensions = scan::ExtensionFilter::Parse(value);
            } catch (const scan::InputError& error) {
              throw UsageError(error.what());
            }
          },
          "Keep only files with these extensions, comma-separated (mp3,flac), "
          "ignoring case")
      ->type_name("LIST")
      ->default_str("every file");
  command->add_flag("--follow", inputs.follow_links,
                    "Follow symbolic links while walking (paths given as "
                    "arguments are always followed)");
  command
      ->add_option_function<std::string>(
          "--format",
          [format = &options->format](const std::string& value) {
            if (!scan::ParseOutputFormat(value, *format)) {
              throw UsageError("--format: unknown format '" + value +
                               "' (text, csv or json)");
            }
          },
          "Output: text (groups of duplicates and a summary), csv (one "
          "matching pair a row) or json (one matching pair a line)")
      ->type_name("FORMAT")
      ->default_str("text");
  command->add_flag("-q,--quiet", options->quiet,
                    "No progress on standard error (shown only when it is a "
                    "terminal)");
  AddPluginOption(*command, options->plugin_path,
                  "Have this plug-in judge every pair, as a host without an "
                  "index does: slow, and the same pairs");
  command->footer(
      "Exit status: 0 when the scan is done (also when the reader of the "
      "output stops early), 2 for wrong usage or an input that cannot be "
      "read.");
  return {command, &inputs.roots, [options] {
            CheckScanOptions(*options);
            return RunScan(*options);
          }};
}

}  // namespace wordlap::cli
