// The options of `wordlap scan` that turn name matches into duplicates a
// user can act on: the host's criteria, the filters, the keep rule.
#pragma once

#include <string>
#include <vector>

#include "collect/file_filter.h"
#include "group/keep_rule.h"

namespace CLI {
class App;
}

namespace wordlap::cli {

struct DuplicateOptions {
  bool same_size = false;
  bool same_content = false;
  bool renamed_only = false;
  collect::FileFilter filter;
  group::KeepRule keep = group::KeepRule::kDefault;
  std::vector<std::string> references;

  bool SizesNeeded() const {
    return same_size || same_content || filter.NeedsFacts();
  }
};

// Declares the options on `command`, filling `options`.
void AddDuplicateOptions(CLI::App& command, DuplicateOptions& options);

}  // namespace wordlap::cli
