// Walking directories for the files to scan.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "collect/file_identity.h"
#include "collect/input_error.h"

namespace wordlap::collect {

struct WalkedFile {
  std::string path;
  FileIdentity identity;
};

// Appends the regular files under the directory `root` (recursively) to
// `files`, in no particular order. `root` itself is opened as given (a link
// to a directory is followed); below it every directory is opened relative
// to its parent's descriptor and never through a symbolic link, so a
// directory swapped for a link while the walk runs is not followed, and no
// path length limit applies. With `follow_links` links stand for what they
// point to, and a directory is not entered again from inside itself. Each
// thing that cannot be read (a directory, an entry that vanished, a broken
// link) is reported to `warn` once and skipped. The walk stops early once
// `stop` is set.
void WalkDirectory(const std::string& root, bool follow_links,
                   const WarningSink& warn, std::vector<WalkedFile>& files,
                   const std::atomic<int>* stop = nullptr);

}  // namespace wordlap::collect
