// The filters that keep the flood of uninteresting files out of a scan:
// patterns, hidden files, sizes, names with too few words.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "collect/file_facts.h"

namespace wordlap::collect {

struct FileFilter {
  // Globs (fnmatch, `*` also matching `/`) tried on the path below its root
  // and on each of that path's components, so `*.tmp` and `.git` both work.
  std::vector<std::string> exclude;
  // Keep files whose path below their root has a component starting with
  // '.'; without it they are left out.
  bool hidden = false;
  std::optional<std::uint64_t> min_size;
  std::optional<std::uint64_t> max_size;
  // Leave out files whose name has fewer non-empty words, as the
  // comparison splits it. A pair counts only when both names have enough,
  // so the name with fewer words decides, and the file can go at once.
  std::uint32_t min_words = 0;

  bool NeedsFacts() const { return min_size || max_size; }
};

// Reads "1234", "10k", "4M", "2G" (powers of 1024, either case, an optional
// "B" or "iB" after the letter); nothing for anything else.
std::optional<std::uint64_t> ParseSize(std::string_view text);

// True when the filter lets the file through. `below_root` is the path
// below the directory argument it was found under (the whole path for a
// file given by name or listed), `walked` whether it was found by a walk
// (hidden files are left out of walks only: a file named on purpose is
// scanned), and `facts` what is known of it (nothing for a path that does
// not exist here: a size filter then leaves it out).
bool Keeps(const FileFilter& filter, std::string_view path,
           std::string_view below_root, bool walked,
           const std::optional<FileFacts>& facts);

}  // namespace wordlap::collect
