// Which directory argument a walked file lies under.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wordlap::collect {

// The directory arguments among `roots` (those that are directories here),
// to look paths up in.
class FileRoots {
 public:
  FileRoots() = default;
  explicit FileRoots(const std::vector<std::string>& roots);

  // The index in `roots` of the directory whose walk gives `path` (its
  // text followed by the rest of the path), the longest when several do;
  // nothing for a path below none of them.
  std::optional<std::size_t> RootOf(std::string_view path) const;

  // The part of `path` below its root, or the whole path when it has none.
  std::string_view BelowRoot(std::string_view path) const;

 private:
  struct Directory {
    std::string prefix;  // the argument, ending in '/'
    std::size_t index;
  };
  std::vector<Directory> directories_;  // longest prefix first
};

}  // namespace wordlap::collect
