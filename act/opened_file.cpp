#include "act/opened_file.h"

#include <fcntl.h>

#include <cerrno>

namespace wordlap::act {

void SplitPath(const std::string& path, std::string& dir, std::string& name) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    dir = ".";
    name = path;
  } else {
    dir = slash == 0 ? "/" : path.substr(0, slash);
    name = path.substr(slash + 1);
  }
}

OpenedFile OpenedFile::Open(const std::string& path) {
  OpenedFile file;
  SplitPath(path, file.dir_path, file.name);
  if (file.name.empty() || file.name == "." || file.name == "..") {
    file.error = EINVAL;
    return file;
  }
  file.dir = UniqueFd(
      ::open(file.dir_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!file.dir) {
    file.error = errno;
    file.status =
        errno == ENOENT || errno == ENOTDIR ? Status::kMissing : Status::kError;
    return file;
  }
  // O_NONBLOCK: opening a pipe that took the file's place must not wait.
  file.fd = UniqueFd(
      ::openat(file.dir.get(), file.name.c_str(),
               O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (!file.fd) {
    file.error = errno;
    switch (errno) {
      case ENOENT:
        file.status = Status::kMissing;
        break;
      case ELOOP:
        file.status = Status::kSymlink;
        break;
      case ENXIO:  // a socket
        file.status = Status::kNotRegular;
        break;
      default:
        file.status = Status::kError;
    }
    return file;
  }
  if (::fstat(file.fd.get(), &file.stat) != 0) {
    file.error = errno;
    return file;
  }
  file.status =
      S_ISREG(file.stat.st_mode) ? Status::kOpen : Status::kNotRegular;
  return file;
}

bool OpenedFile::StillThere() const {
  struct stat named {};
  struct stat open {};
  return ::fstatat(dir.get(), name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
         SameInode(named, stat) && ::fstat(fd.get(), &open) == 0 &&
         open.st_size == stat.st_size &&
         open.st_mtim.tv_sec == stat.st_mtim.tv_sec &&
         open.st_mtim.tv_nsec == stat.st_mtim.tv_nsec;
}

bool SameInode(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::string Difference(const ReportFile& file, const struct stat& stat) {
  if (static_cast<std::uint64_t>(stat.st_dev) != file.dev ||
      static_cast<std::uint64_t>(stat.st_ino) != file.ino) {
    return "another file took its place";
  }
  if (static_cast<std::uint64_t>(stat.st_size) != file.size) {
    return "its size changed";
  }
  if (static_cast<std::uint64_t>(stat.st_mtim.tv_sec) != file.mtime ||
      static_cast<std::uint64_t>(stat.st_mtim.tv_nsec) != file.mtime_nsec) {
    return "its modification time changed";
  }
  return {};
}

}  // namespace wordlap::act
