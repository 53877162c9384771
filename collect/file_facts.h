// What the file system says about a file at the moment it is looked at:
// the facts a later step re-checks before it trusts earlier work on it.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string>

namespace wordlap::collect {

struct FileFacts {
  std::uint64_t size = 0;
  std::int64_t mtime = 0;  // seconds since the epoch
  std::uint32_t mtime_nsec = 0;
  std::uint64_t dev = 0;
  std::uint64_t ino = 0;

  // The same file, unchanged as far as its size and modification time
  // tell.
  bool operator==(const FileFacts&) const = default;
};

FileFacts FactsOf(const struct stat& status);

// The facts of the regular file `path` names (symbolic links followed);
// nothing when it does not exist here or is not a regular file.
std::optional<FileFacts> ReadFileFacts(const std::string& path);

}  // namespace wordlap::collect
