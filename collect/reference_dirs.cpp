#include "collect/reference_dirs.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "collect/input_error.h"

namespace wordlap::collect {
namespace {

std::string Resolved(const std::string& path) {
  const std::unique_ptr<char, decltype(&std::free)> resolved(
      ::realpath(path.c_str(), nullptr), &std::free);
  return resolved ? std::string(resolved.get()) : std::string();
}

}  // namespace

ReferenceDirs::ReferenceDirs(const std::vector<std::string>& dirs) {
  for (const std::string& dir : dirs) {
    struct stat status;
    if (::stat(dir.c_str(), &status) != 0) {
      throw InputError("--reference: cannot use " + dir + ": " +
                       std::strerror(errno));
    }
    if (!S_ISDIR(status.st_mode)) {
      throw InputError("--reference: " + dir + " is not a directory");
    }
    std::string resolved = Resolved(dir);
    if (!resolved.ends_with('/')) resolved += '/';
    resolved_.push_back(std::move(resolved));
  }
}

bool ReferenceDirs::Holds(const std::string& path) {
  if (resolved_.empty()) return false;
  // The folder is resolved, not the file: a file that is a link stays the
  // link the scan found, wherever it points.
  const std::size_t slash = path.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "." : path.substr(0, slash + 1);
  auto it = folders_.find(folder);
  if (it == folders_.end()) {
    std::string resolved = Resolved(folder);
    if (!resolved.empty() && !resolved.ends_with('/')) resolved += '/';
    it = folders_.emplace(folder, std::move(resolved)).first;
  }
  if (it->second.empty()) return false;
  for (const std::string& dir : resolved_) {
    if (it->second.starts_with(dir)) return true;
  }
  return false;
}

}  // namespace wordlap::collect
