// wordlap trash|remove|link|symlink REPORT, wordlap move REPORT --to DIR:
// the actions that apply a report of `scan --format report`. They share
// their options and their way of reading the report.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "act/apply_report.h"
#include "act/report_reader.h"
#include "cli/command.h"
#include "cli/progress.h"
#include "report/output_stream.h"

namespace wordlap::cli {
namespace {

struct ActCommandOptions {
  std::string name;  // of the subcommand
  act::ActOptions act;
  std::string report;
  std::vector<std::string> reference;
  std::string to;
  bool quiet = false;
};

// A report from a file, or standard input for "-". Throws
// std::runtime_error.
std::string ReadAll(const std::string& source) {
  const bool standard_input = source == "-";
  const int fd = standard_input ? STDIN_FILENO
                                : ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    throw std::runtime_error(source + ": " + std::strerror(errno));
  }
  std::string text;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int error = errno;
      if (!standard_input) ::close(fd);
      throw std::runtime_error((standard_input ? "standard input" : source) +
                               ": " + std::strerror(error));
    }
    if (got == 0) break;
    text.append(buffer, static_cast<std::size_t>(got));
  }
  if (!standard_input) ::close(fd);
  return text;
}

// The real path of a folder option; throws UsageError.
std::string RealFolder(const std::string& option, const std::string& path) {
  char real[PATH_MAX];
  if (::realpath(path.c_str(), real) == nullptr) {
    throw UsageError(option + ": " + path + ": " + std::strerror(errno));
  }
  struct stat info {};
  if (::stat(real, &info) != 0 || !S_ISDIR(info.st_mode)) {
    throw UsageError(option + ": " + path + " is not a folder");
  }
  return real;
}

int RunAct(ActCommandOptions& options) {
  for (const std::string& dir : options.reference) {
    options.act.reference_dirs.push_back(RealFolder("--reference", dir));
  }
  if (options.act.action == act::Action::kMove) {
    options.act.move_to = RealFolder("--to", options.to);
  }
  const std::string shown =
      options.report == "-" ? "standard input" : options.report;
  act::Report report;
  try {
    report = act::ParseReport(ReadAll(options.report));
  } catch (const act::ReportError& error) {
    std::fprintf(stderr, "wordlap: %s: %s %s\n", options.name.c_str(),
                 act::Shown(shown).c_str(), error.what());
    return kExitError;
  }

  report::OutputStream out(STDOUT_FILENO);
  bool output_closed = false;
  // Each line is written when it is done, so that what a stopped run did is
  // on the screen.
  const act::LineOut say = [&](std::string_view line) {
    if (output_closed) return;
    try {
      out.Write(line);
      out.Put('\n');
      out.Flush();
    } catch (const report::OutputClosed&) {
      output_closed = true;  // the actions go on; nobody reads about them
    }
  };
  std::atomic<std::size_t> groups_done{0};
  act::ActTotals totals;
  {
    const ProgressLine progress(!options.quiet && ::isatty(STDERR_FILENO),
                                "checking groups", report.groups.size(),
                                groups_done);
    totals = act::ApplyReport(report, options.act, say, &groups_done);
  }
  say(act::SummaryLine(options.act, totals));
  return totals.skipped > 0 ? 1 : 0;
}

Command AddActCommand(CLI::App& wordlap, const std::string& name,
                      act::Action action, const std::string& description) {
  auto options = std::make_shared<ActCommandOptions>();
  options->name = name;
  options->act.action = action;
  CLI::App* command = wordlap.add_subcommand(name, description);
  command
      ->add_option("REPORT", options->report,
                   "The report of 'wordlap scan --format report', or - for "
                   "standard input")
      ->required();
  if (action == act::Action::kMove) {
    command
        ->add_option("--to", options->to,
                     "The folder the duplicates go to, each at its place "
                     "below the folder it was found in; a file there is "
                     "never replaced")
        ->type_name("DIR")
        ->required();
  }
  command->add_flag("-n,--dry-run", options->act.dry_run,
                    "Check everything and print what would be done, "
                    "changing nothing");
  command->add_flag("--by-name", options->act.by_name,
                    "Also act on groups whose content the scan did not "
                    "confirm (only names, or names and sizes, match)");
  command
      ->add_option("--reference", options->reference,
                   "Never touch the files in this folder (may be given more "
                   "than once)")
      ->type_name("DIR")
      ->allow_extra_args(false);
  command->add_flag("-q,--quiet", options->quiet,
                    "No progress on standard error (shown only when it is a "
                    "terminal)");
  command->footer(
      "Right before a duplicate is touched, it and the kept file are "
      "checked against the report (device, inode, size, modification time) "
      "and compared byte for byte; a file that fails is skipped, its whole "
      "group when the kept file fails. Exit status: 0 when everything was "
      "done, 1 when something was skipped, 2 for wrong usage or a report "
      "that cannot be read.");
  return {command, nullptr, [options] { return RunAct(*options); }};
}

}  // namespace

std::vector<Command> AddActCommands(CLI::App& wordlap) {
  return {
      AddActCommand(wordlap, "trash", act::Action::kTrash,
                    "Move the duplicates of a report to the trash."),
      AddActCommand(wordlap, "remove", act::Action::kRemove,
                    "Remove the duplicates of a report."),
      AddActCommand(wordlap, "link", act::Action::kLink,
                    "Replace each duplicate of a report by a hard link to "
                    "its kept file."),
      AddActCommand(wordlap, "symlink", act::Action::kSymlink,
                    "Replace each duplicate of a report by a symbolic link "
                    "to its kept file."),
      AddActCommand(wordlap, "move", act::Action::kMove,
                    "Move the duplicates of a report to another folder."),
  };
}

}  // namespace wordlap::cli
