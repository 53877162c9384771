#include "collect/directory_walk.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <set>
#include <utility>

namespace wordlap::collect {
namespace {

using DirectoryId = std::pair<dev_t, ino_t>;

class Walker {
 public:
  Walker(bool follow_links, const WarningSink& warn,
         std::vector<std::string>& files)
      : follow_links_(follow_links), warn_(warn), files_(files) {}

  void Walk(const std::string& directory, const struct stat& status) {
    // With links followed a directory can be reached again from inside
    // itself; each one is walked once.
    if (follow_links_ &&
        !walked_.insert({status.st_dev, status.st_ino}).second) {
      return;
    }
    DIR* stream = ::opendir(directory.c_str());
    if (stream == nullptr) {
      Warn("cannot read directory " + directory, errno);
      return;
    }
    const std::string prefix =
        directory.ends_with('/') ? directory : directory + '/';
    std::vector<std::string> subdirectories;
    errno = 0;
    while (const dirent* entry = ::readdir(stream)) {
      const std::string_view name = entry->d_name;
      if (name == "." || name == "..") continue;
      std::string path = prefix;
      path += name;
      struct stat entry_status;
      if (::lstat(path.c_str(), &entry_status) != 0) {
        Warn("cannot read " + path, errno);
        continue;
      }
      if (S_ISLNK(entry_status.st_mode)) {
        if (!follow_links_) continue;
        if (::stat(path.c_str(), &entry_status) != 0) {
          Warn("broken link " + path, errno);
          continue;
        }
      }
      if (S_ISREG(entry_status.st_mode)) {
        files_.push_back(std::move(path));
      } else if (S_ISDIR(entry_status.st_mode)) {
        subdirectories.push_back(std::move(path));
      }
      errno = 0;
    }
    if (errno != 0) Warn("cannot read all of directory " + directory, errno);
    ::closedir(stream);
    for (const std::string& subdirectory : subdirectories) {
      struct stat sub_status;
      if (::stat(subdirectory.c_str(), &sub_status) == 0) {
        Walk(subdirectory, sub_status);
      }
    }
  }

 private:
  void Warn(const std::string& what, int error) {
    warn_(what + ": " + std::strerror(error));
  }

  bool follow_links_;
  const WarningSink& warn_;
  std::vector<std::string>& files_;
  std::set<DirectoryId> walked_;
};

}  // namespace

void WalkDirectory(const std::string& root, bool follow_links,
                   const WarningSink& warn, std::vector<std::string>& files) {
  struct stat status;
  if (::stat(root.c_str(), &status) != 0) {
    throw InputError("cannot scan " + root + ": " + std::strerror(errno));
  }
  Walker walker(follow_links, warn, files);
  if (S_ISDIR(status.st_mode)) {
    walker.Walk(root, status);
  } else {
    files.push_back(root);
  }
}

}  // namespace wordlap::collect
