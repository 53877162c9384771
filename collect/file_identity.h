// FileIdentity: what the file system says a file is, so that two paths of
// one file (other spellings, hard links, links followed) count as one file.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <functional>

namespace wordlap::collect {

struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;

  static FileIdentity Of(const struct stat& status) {
    return {static_cast<std::uint64_t>(status.st_dev),
            static_cast<std::uint64_t>(status.st_ino)};
  }
  // A path that names no file here (a list from another machine) has no
  // identity; no file has inode 0.
  bool Known() const { return inode != 0 || device != 0; }

  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

struct FileIdentityHash {
  std::size_t operator()(const FileIdentity& id) const noexcept {
    return std::hash<std::uint64_t>{}(id.inode * 0x9E3779B97F4A7C15ull ^
                                      id.device);
  }
};

}  // namespace wordlap::collect
