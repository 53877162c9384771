#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "act/file_actions.h"
#include "act/temp_file.h"

namespace wordlap::act {
namespace {

// The link made under `temp` leads to the kept file: rename it over the
// duplicate, or take it away again.
std::string PutInPlace(const OpenedFile& duplicate, const std::string& temp,
                       bool made_right) {
  const int dir = duplicate.dir.get();
  if (!made_right) {
    ::unlinkat(dir, temp.c_str(), 0);
    return "the kept file changed while the link was made";
  }
  if (!duplicate.StillThere()) {
    ::unlinkat(dir, temp.c_str(), 0);
    return "it changed while it was checked";
  }
  if (::renameat(dir, temp.c_str(), dir, duplicate.name.c_str()) != 0) {
    const int error = errno;
    ::unlinkat(dir, temp.c_str(), 0);
    return ErrorText(error);
  }
  return {};
}

}  // namespace

std::string LinkDuplicate(const OpenedFile& kept, const OpenedFile& duplicate) {
  const std::string temp = TempNameFor(duplicate.name);
  if (std::string busy =
          ClearStaleTemp(duplicate.dir.get(), temp, kept.fd.get());
      !busy.empty()) {
    return busy;
  }
  if (::linkat(kept.dir.get(), kept.name.c_str(), duplicate.dir.get(),
               temp.c_str(), 0) != 0) {
    if (errno == EXDEV)
      return "it is on another file system than the kept file";
    return "cannot link to the kept file: " + ErrorText(errno);
  }
  struct stat made {};
  const bool right = ::fstatat(duplicate.dir.get(), temp.c_str(), &made,
                               AT_SYMLINK_NOFOLLOW) == 0 &&
                     SameInode(made, kept.stat);
  return PutInPlace(duplicate, temp, right);
}

std::string SymlinkDuplicate(const OpenedFile& kept, const std::string& target,
                             const OpenedFile& duplicate) {
  const std::string temp = TempNameFor(duplicate.name);
  if (std::string busy =
          ClearStaleTemp(duplicate.dir.get(), temp, kept.fd.get());
      !busy.empty()) {
    return busy;
  }
  if (::symlinkat(target.c_str(), duplicate.dir.get(), temp.c_str()) != 0) {
    return "cannot make a symbolic link: " + ErrorText(errno);
  }
  struct stat reached {};
  const bool right =
      ::fstatat(duplicate.dir.get(), temp.c_str(), &reached, 0) == 0 &&
      SameInode(reached, kept.stat);
  return PutInPlace(duplicate, temp, right);
}

}  // namespace wordlap::act
