// The files a scan works on, in scan order.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "collect/extension_filter.h"
#include "collect/input_error.h"

namespace wordlap::collect {

struct ScanInputs {
  std::vector<std::string> roots;          // files and directories to walk
  std::optional<std::string> list_source;  // --files-from; "-" is stdin
  bool nul_separated = false;
  bool follow_links = false;
  ExtensionFilter extensions;
};

// The paths of the list in list order, then the files found under the roots
// sorted byte-wise; only those the extension filter keeps, and each path
// once (its first place counts): a file is not its own duplicate. A missing
// root or an unreadable list throws InputError before anything is walked.
std::vector<std::string> CollectPaths(const ScanInputs& inputs,
                                      const WarningSink& warn);

}  // namespace wordlap::collect
