// wordlap scan [PATH...] [--files-from FILE] [-0] [--ext LIST] [--follow]
//              [--format text|csv|json] [--quiet] [--plugin PATH]
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/class_keys.h"
#include "cli/command.h"
#include "cli/duplicate_options.h"
#include "cli/duplicate_scan.h"
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
#include "report/group_formats.h"
#include "report/output_stream.h"
#include "report/pair_writer.h"

namespace wordlap::cli {
namespace {

struct ScanOptions {
  collect::ScanInputs inputs;
  report::OutputFormat format = report::OutputFormat::kText;
  bool quiet = false;
  std::optional<std::string> plugin_path;
  DuplicateOptions duplicates;
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

report::Confirmation ConfirmationOf(const DuplicateOptions& options) {
  if (options.same_content) return report::Confirmation::kContent;
  if (options.same_size) return report::Confirmation::kSize;
  return report::Confirmation::kName;
}

std::vector<std::string> CriteriaOf(const DuplicateOptions& options) {
  std::vector<std::string> criteria{"name"};
  if (options.same_size || options.same_content) criteria.push_back("size");
  if (options.same_content) criteria.push_back("content");
  return criteria;
}

std::string WorkingDirectory() {
  std::string cwd(256, '\0');
  while (::getcwd(cwd.data(), cwd.size()) == nullptr) {
    if (errno != ERANGE) return ".";
    cwd.resize(cwd.size() * 2);
  }
  cwd.resize(std::strlen(cwd.c_str()));
  return cwd;
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
  const DuplicateOptions& criteria = options.duplicates;

  Interruption interruption;
  collect::ScanInputs inputs = options.inputs;
  inputs.stop = &Interruption::Signal();
  // Reference folders are scanned like the others.
  for (const std::string& dir : criteria.references) {
    if (std::find(inputs.roots.begin(), inputs.roots.end(), dir) ==
        inputs.roots.end()) {
      inputs.roots.push_back(dir);
    }
  }
  ScanFiles files;
  try {
    files = PrepareFiles(collect::CollectFiles(inputs, Warn), inputs.roots,
                         criteria);
  } catch (const collect::InputError& error) {
    std::fprintf(stderr, "wordlap: scan: %s\n", error.what());
    return kExitError;
  }
  if (Interruption::Requested()) return interruption.EndBySignal();
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
  // Every pass over the pairs runs the search again: pairs are never kept,
  // so memory stays bounded by the number of files.
  const auto search = [&](const char* label, const match::PartnersSink& sink) {
    const match::PartnersSink checked =
        [&](const match::NamePartners& partners) {
          // Also where no pairs are written for a long while.
          if (Interruption::Requested()) {
            out.Flush();
            throw report::OutputStopped();
          }
          sink(partners);
        };
    std::atomic<std::size_t> compared{0};
    const ProgressLine progress(show_progress, label, searched.ClassCount(),
                                compared);
    if (plugin) {
      match::PartnerExpansion expansion(searched, {}, checked);
      match::SearchInOrder(
          paths.size(), threads,
          [&] { return std::make_unique<PluginSearch>(*plugin, paths, names); },
          [&](std::span<const match::ClassMatch> matches) {
            expansion.Add(matches);
          },
          &compared);
      expansion.Finish();
    } else {
      match::FindPartners(names, threads, checked, &compared);
    }
  };

  std::size_t unreadable = 0;
  try {
    // Content is hashed only for the files of a pair that could be
    // identical: names that match, sizes that agree.
    std::vector<std::optional<confirm::ContentHash>> hashes;
    if (criteria.same_content) {
      std::vector<std::uint8_t> candidates(paths.size(), 0);
      const PairCriteria before_hashing(criteria, files, {});
      // Judged on sizes alone, a run of one class needs one lookup.
      const std::vector<std::optional<std::uint64_t>> sizes =
          before_hashing.Keys();
      std::optional<ClassKeys> by_size;
      if (before_hashing.JudgesFilesOnly()) by_size.emplace(searched, sizes);
      search("finding candidates", [&](const match::NamePartners& partners) {
        if (by_size) {
          const auto& size = sizes[partners.a];
          if (!size) return;
          for (const match::PartnerRun& run : partners.runs) {
            const ClassKeys::Found found = by_size->Find(run, *size);
            if (found.count > 0) {
              candidates[partners.a] = candidates[found.first] = 1;
            }
          }
          return;
        }
        match::ForEachPartner(partners,
                              [&](match::NameId b, const match::Overlap&) {
                                if (before_hashing.Keeps(partners.a, b)) {
                                  candidates[partners.a] = candidates[b] = 1;
                                }
                              });
      });
      hashes =
          HashCandidates(files, candidates, threads, show_progress, unreadable);
      if (Interruption::Requested()) return interruption.EndBySignal();
    }
    const PairCriteria keeps(criteria, files, hashes);

    report::ScanCounts counts{paths.size(), 0};
    if (report::IsPairFormat(options.format)) {
      const auto writer = report::MakePairWriter(options.format, paths, out);
      writer->Begin();
      std::vector<match::NameId> kept_names;
      std::vector<match::PartnerRun> kept_runs;
      search("comparing names", [&](const match::NamePartners& partners) {
        if (!keeps.Judges()) {
          counts.pairs += partners.PairCount();
          writer->Write(partners);
          return;
        }
        keeps.Filter(partners, kept_names, kept_runs);
        counts.pairs += kept_names.size();
        writer->Write({partners.a, kept_runs});
      });
      writer->End({counts.files, counts.pairs});
    } else {
      GroupBuilder groups(searched, ConfirmationOf(criteria), keeps);
      search("comparing names", [&](const match::NamePartners& partners) {
        counts.pairs += groups.Add(partners);
      });
      const report::GroupSet set = groups.Finish(files, criteria.keep);
      const report::FileTable table_of_files = files.Table(hashes);
      const report::OverlapOf overlap = [&](group::FileIndex a,
                                            group::FileIndex b) {
        return names.PairOverlap(a, b);
      };
      switch (options.format) {
        case report::OutputFormat::kReport:
          report::WriteReport(out,
                              {"wordlap " WORDLAP_VERSION, WorkingDirectory(),
                               CriteriaOf(criteria),
                               std::string(group::KeepRuleName(criteria.keep))},
                              table_of_files, set, overlap);
          break;
        case report::OutputFormat::kDuplicatesNul:
          report::WriteDuplicatesNul(out, table_of_files, set);
          break;
        default:
          report::WriteGroupText(out, table_of_files, set, overlap,
                                 platform::DecimalSeparator(), counts);
          break;
      }
    }
    out.Flush();
  } catch (const report::OutputClosed&) {
    // Whoever reads the output has all they wanted (`| head`).
    return 0;
  } catch (const report::OutputStopped&) {
    // The output ends after a whole record.
    return interruption.EndBySignal();
  }
  return IncompleteStatus(files.unread + unreadable);
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
                               "' (text, csv, json, report or dupes0)");
            }
          },
          "Output: text (groups of duplicates, kept file first, and a "
          "summary), csv (one matching pair a row), json (one matching pair "
          "a line), report (the groups as JSON lines for the actions, see "
          "doc/report-format.md) or dupes0 (the paths of the duplicates, "
          "never a kept file, each ended by a NUL byte, for xargs -0)")
      ->type_name("FORMAT")
      ->default_str("text");
  command->add_flag("-q,--quiet", options->quiet,
                    "No progress on standard error (shown only when it is a "
                    "terminal)");
  AddDuplicateOptions(*command, options->duplicates);
  AddPluginOption(*command, options->plugin_path,
                  "Have this plug-in judge every pair, as a host without an "
                  "index does: slow, and the same pairs");
  command->footer(
      "Paths of one file (same device and inode) count as one file, under "
      "the first of them. Exit status: 0 when the scan is done and read "
      "everything (also when the reader of the output stops early), 1 when "
      "it is done but some paths could not be read (each one warned about "
      "and left out, also a file that --same-content could not hash), 2 for "
      "wrong usage or an input that cannot be read at all. On SIGINT or "
      "SIGTERM the output ends after a whole record.");
  return {command, &inputs.roots, [options] {
            CheckScanOptions(*options);
            return RunScan(*options);
          }};
}

}  // namespace wordlap::cli
