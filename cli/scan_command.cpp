// wordlap scan [PATH...] [--files-from FILE] [-0] [--ext LIST] [--follow]
//              [--format text|csv|json] [--quiet] [--plugin PATH]
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/commands.h"
#include "cli/plugin_module.h"
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

ScanOptions ParseScanOptions(Arguments args) {
  ScanOptions options;
  bool paths_only = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (paths_only || !arg.starts_with("-") || arg == "-") {
      options.inputs.roots.emplace_back(arg);
    } else if (arg == "--") {
      paths_only = true;
    } else if (arg == "--files-from") {
      options.inputs.list_source = OptionValue(args, i);
    } else if (arg == "-0" || arg == "--null") {
      options.inputs.nul_separated = true;
    } else if (arg == "--ext") {
      try {
        options.inputs.extensions =
            scan::ExtensionFilter::Parse(OptionValue(args, i));
      } catch (const scan::InputError& error) {
        throw UsageError(std::string("scan: ") + error.what());
      }
    } else if (arg == "--follow") {
      options.inputs.follow_links = true;
    } else if (arg == "--format") {
      const std::string value = OptionValue(args, i);
      if (!scan::ParseOutputFormat(value, options.format)) {
        throw UsageError("scan: unknown format '" + value +
                         "' (text, csv or json)");
      }
    } else if (arg == "--quiet" || arg == "-q") {
      options.quiet = true;
    } else if (arg == "--plugin") {
      options.plugin_path = OptionValue(args, i);
    } else {
      throw UsageError("scan: unknown option '" + std::string(arg) + "'");
    }
  }
  if (options.inputs.roots.empty() && !options.inputs.list_source) {
    throw UsageError("scan: give directories or files, or --files-from");
  }
  if (options.inputs.nul_separated && !options.inputs.list_source) {
    throw UsageError("scan: -0 goes with --files-from");
  }
  return options;
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

}  // namespace

int RunScan(Arguments args) {
  // A reader that stops reading must end the scan quietly, not kill it.
  std::signal(SIGPIPE, SIG_IGN);
  const ScanOptions options = ParseScanOptions(args);
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

}  // namespace wordlap::cli
