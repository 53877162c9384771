// Walking directories for the files to scan.
#pragma once

#include <string>
#include <vector>

#include "collect/input_error.h"

namespace wordlap::collect {

// Appends the regular files under `root` (recursively) to `files`, in no
// particular order. Symbolic links are skipped unless `follow_links`; then
// they stand for what they point to, and a directory already being walked
// is not entered again. A directory that cannot be read is reported to
// `warn` and skipped.
void WalkDirectory(const std::string& root, bool follow_links,
                   const WarningSink& warn, std::vector<std::string>& files);

}  // namespace wordlap::collect
