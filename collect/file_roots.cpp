#include "collect/file_roots.h"

#include <sys/stat.h>

#include <algorithm>

namespace wordlap::collect {

FileRoots::FileRoots(const std::vector<std::string>& roots) {
  for (std::size_t i = 0; i < roots.size(); ++i) {
    struct stat status;
    if (::stat(roots[i].c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
      continue;
    }
    std::string prefix = roots[i];
    if (!prefix.ends_with('/')) prefix += '/';
    directories_.push_back({std::move(prefix), i});
  }
  std::stable_sort(directories_.begin(), directories_.end(),
                   [](const Directory& x, const Directory& y) {
                     return x.prefix.size() > y.prefix.size();
                   });
}

std::optional<std::size_t> FileRoots::RootOf(std::string_view path) const {
  for (const Directory& directory : directories_) {
    if (path.size() > directory.prefix.size() &&
        path.starts_with(directory.prefix)) {
      return directory.index;
    }
  }
  return std::nullopt;
}

std::string_view FileRoots::BelowRoot(std::string_view path) const {
  for (const Directory& directory : directories_) {
    if (path.size() > directory.prefix.size() &&
        path.starts_with(directory.prefix)) {
      return path.substr(directory.prefix.size());
    }
  }
  return path;
}

}  // namespace wordlap::collect
