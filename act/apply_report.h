// Applies a report: for each group the kept file is checked, then each
// duplicate is checked and acted on, one line said for each.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "act/report.h"

namespace wordlap::act {

enum class Action { kTrash, kRemove, kLink, kSymlink, kMove };

struct ActOptions {
  Action action = Action::kTrash;
  bool dry_run = false;
  // Also act on groups whose content the scan did not confirm.
  bool by_name = false;
  // Real paths (no symbolic link, no trailing '/') of folders whose files
  // stay.
  std::vector<std::string> reference_dirs;
  // For kMove: the real path of the folder the duplicates go to.
  std::string move_to;
};

struct ActTotals {
  std::uint64_t files = 0;        // acted on now (or, in a dry run, would be)
  std::uint64_t bytes = 0;        // freed (moved, for kMove)
  std::uint64_t done_before = 0;  // done by an earlier run
  std::uint64_t skipped = 0;
};

// Receives each line of output, without its line feed.
using LineOut = std::function<void(std::string_view)>;

// `groups_done` counts the groups handled, for a progress line.
ActTotals ApplyReport(const Report& report, const ActOptions& options,
                      const LineOut& say,
                      std::atomic<std::size_t>* groups_done = nullptr);

// "removed 3 files (1048576 bytes freed), 1 skipped"
std::string SummaryLine(const ActOptions& options, const ActTotals& totals);

// A path for a line of output: control bytes shown as '?'.
std::string Shown(std::string_view path);

}  // namespace wordlap::act
