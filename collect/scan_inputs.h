// The files a scan works on, in scan order.
#pragma once

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "collect/extension_filter.h"
#include "collect/file_identity.h"
#include "collect/input_error.h"

namespace wordlap::collect {

struct ScanInputs {
  std::vector<std::string> roots;          // files and directories to walk
  std::optional<std::string> list_source;  // --files-from; "-" is stdin
  bool nul_separated = false;
  bool follow_links = false;
  ExtensionFilter extensions;
  // Once it is set (by a signal handler), the walks stop where they are.
  const std::atomic<int>* stop = nullptr;
};

struct CollectedFiles {
  std::vector<std::string> paths;  // in scan order, one per file
  // By path; unknown (Known() false) for a listed path that names no file
  // here.
  std::vector<FileIdentity> identities;
  // The things warned about that could not be read: the scan is incomplete
  // when this is not 0.
  std::size_t unread = 0;
};

// The paths of the list in list order, then the files found under the roots
// sorted byte-wise; only those the extension filter keeps, and each file
// once, under its first path: paths that name the same file here (same
// device and inode: other spellings, hard links, links followed) are one
// file, and listed paths that name no file here are one file when their
// text is the same. A missing root or an unreadable list throws InputError
// before anything is walked.
CollectedFiles CollectFiles(const ScanInputs& inputs, const WarningSink& warn);

}  // namespace wordlap::collect
