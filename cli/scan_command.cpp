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
#include "cli/interruption.h"
#include "cli/plugin_module.h"
#include "cli/plugin_option.h"
#include "cli/progress.h"
#include "collect/scan_inputs.h"
#include "match/classed_names.h"
#include "match/name_classes.h"
#include "match/ordered_search.h"
#include "match/partner_expansion.h"
#include "match/partner_search.h"
#include "platform/decimal_separator.h"
#include "report/output_stream.h"
#include "report/pair_writer.h"

namespace wordlap::cli {
namespace {

struct ScanOptions {
  collect::ScanInputs inputs;
  report::OutputFormat format = report::OutputFormat::kText;
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
// pair, each name a class of its own. The counts shown beside each pair
// come from the scan's own tables.
class PluginSearch final : public match::MatchSearch {
 public:
  PluginSearch(const PluginModule& plugin,
               const std::vector<std::string>& paths,
               const match::ClassedNames& names)
      : plugin_(plugin), paths_(paths), names_(names) {}

  void FindMatches(match::ClassId a,
                   std::vector<match::ClassMatch>& out) override {
    for (std::size_t b = a + 1; b < paths_.size(); ++b) {
      if (!plugin_.Compare(paths_[a].c_str(), paths_[b].c_str())) continue;
      const auto id = static_cast<match::NameId>(b);
      out.push_back({a, id, names_.PairOverlap(a, id), {}});
    }
  }

 private:
  const PluginModule& plugin_;
  const std::vector<std::string>& paths_;
  const match::ClassedNames& names_;
};

void Warn(const std::string& message) {
  std::fprintf(stderr, "wordlap: warning: %s\n", message.c_str());
}

// A scan that could not read everything it was given still reports what it
// found, but a script must be able to tell that files may be missing.
int IncompleteStatus(std::size_t unread) {
  if (unread == 0) return 0;
  std::fprintf(
      stderr,
      "wordlap: scan: %zu %s could not be read; the scan is incomplete\n",
      unread, unread == 1 ? "path" : "paths");
  return kExitIncomplete;
}

int RunScan(const ScanOptions& options) {
  const std::unique_ptr<PluginModule> plugin =
      options.plugin_path ? std::make_unique<PluginModule>(*options.plugin_path)
                          : nullptr;
  const bool show_progress = !options.quiet && ::isatty(STDERR_FILENO);
  const unsigned threads = std::max(1u, std::thread::hardware_concurrency());

  Interruption interruption;
  collect::ScanInputs inputs = options.inputs;
  inputs.stop = &Interruption::Signal();
  collect::CollectedFiles files;
  try {
    files = collect::CollectFiles(inputs, Warn);
  } catch (const collect::InputError& error) {
    std::fprintf(stderr, "wordlap: scan: %s\n", error.what());
    return kExitError;
  }
  if (Interruption::Requested()) return interruption.EndBySignal();
  // Nothing after the collection looks at the identities yet.
  files.identities = {};
  const std::vector<std::string>& paths = files.paths;

  std::atomic<std::size_t> read{0};
  const match::ClassedNames names = [&] {
    const ProgressLine progress(show_progress, "reading names", paths.size(),
                                read);
    return match::ClassedNames::Build(paths, threads, &read);
  }();
  if (Interruption::Requested()) return interruption.EndBySignal();
  // The plug-in is asked about every pair, so there each name is a class of
  // its own.
  const match::NameClasses singletons =
      plugin ? match::NameClasses::Singletons(paths.size())
             : match::NameClasses();
  const match::NameClasses& searched = plugin ? singletons : names.classes;

  report::OutputStream out(STDOUT_FILENO);
  out.StopWhen(&Interruption::Signal());
  const auto writer = report::MakePairWriter(options.format, paths, searched,
                                             out, platform::DecimalSeparator());
  report::ScanTotals totals{paths.size(), 0};
  try {
    writer->Begin();
    const match::PartnersSink write = [&](const match::NamePartners& partners) {
      // Also where no pairs are written for a long while.
      if (Interruption::Requested()) {
        out.Flush();
        throw report::OutputStopped();
      }
      totals.pairs += partners.PairCount();
      writer->Write(partners);
    };
    std::atomic<std::size_t> compared{0};
    {
      const ProgressLine progress(show_progress, "comparing names",
                                  searched.ClassCount(), compared);
      if (plugin) {
        match::PartnerExpansion expansion(searched, {}, write);
        match::SearchInOrder(
            paths.size(), threads,
            [&] {
              return std::make_unique<PluginSearch>(*plugin, paths, names);
            },
            [&](std::span<const match::ClassMatch> matches) {
              expansion.Add(matches);
            },
            &compared);
        expansion.Finish();
      } else {
        match::FindPartners(names, threads, write, &compared);
      }
    }
    writer->End(totals);
    out.Flush();
  } catch (const report::OutputClosed&) {
    // Whoever reads the output has all they wanted (`| head`).
    return 0;
  } catch (const report::OutputStopped&) {
    // The output ends after a whole record.
    return interruption.EndBySignal();
  }
  return IncompleteStatus(files.unread);
}

}  // namespace

Command AddScanCommand(CLI::App& wordlap) {
  auto options = std::make_shared<ScanOptions>();
  collect::ScanInputs& inputs = options->inputs;
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
              inputs.extensions = collect::ExtensionFilter::Parse(value);
            } catch (const collect::InputError& error) {
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
            if (!report::ParseOutputFormat(value, *format)) {
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
      "Paths of one file (same device and inode) count as one file, under "
      "the first of them. Exit status: 0 when the scan is done and read "
      "everything (also when the reader of the output stops early), 1 when "
      "it is done but some paths could not be read (each one warned about), "
      "2 for wrong usage or an input that cannot be read at all. On SIGINT "
      "or SIGTERM the output ends after a whole record.");
  return {command, &inputs.roots, [options] {
            CheckScanOptions(*options);
            return RunScan(*options);
          }};
}

}  // namespace wordlap::cli
