#include "act/move_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "act/byte_compare.h"
#include "act/temp_file.h"
#include "act/unique_fd.h"

namespace wordlap::act {
namespace {

bool SameTime(const struct stat& a, const struct stat& b) {
  return a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
         a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

MoveResult Skipped(std::string why) {
  return {MoveResult::Kind::kSkipped, std::move(why)};
}

std::vector<std::string> Components(const std::string& relative) {
  std::vector<std::string> parts;
  std::size_t at = 0;
  while (at <= relative.size()) {
    std::size_t slash = relative.find('/', at);
    if (slash == std::string::npos) slash = relative.size();
    parts.push_back(relative.substr(at, slash - at));
    at = slash + 1;
  }
  return parts;
}

// Opens (making them unless `dry_run`) the folders of `relative` below
// `to`, never following a symbolic link on the way. An empty descriptor
// with `missing` set: a folder that a dry run would make.
UniqueFd OpenFolder(const std::string& to,
                    const std::vector<std::string>& parts, bool dry_run,
                    bool& missing, std::string& why) {
  missing = false;
  UniqueFd dir(::open(to.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dir) {
    why = to + ": " + ErrorText(errno);
    return {};
  }
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    const char* part = parts[i].c_str();
    if (!dry_run && ::mkdirat(dir.get(), part, 0777) != 0 && errno != EEXIST) {
      why = "cannot make the folder " + parts[i] + ": " + ErrorText(errno);
      return {};
    }
    UniqueFd next(::openat(dir.get(), part,
                           O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!next) {
      if (dry_run && errno == ENOENT) {
        missing = true;
        return {};
      }
      why = "the destination folder " + parts[i] + ": " + ErrorText(errno);
      return {};
    }
    dir = std::move(next);
  }
  return dir;
}

// Puts `temp` in the folder at `name` unless something is there.
int RenameNoReplace(int dir, const char* temp, const char* name) {
  if (::renameat2(dir, temp, dir, name, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return -1;
  // A file system without the flag: a hard link never replaces either.
  if (::linkat(dir, temp, dir, name, 0) != 0) return -1;
  ::unlinkat(dir, temp, 0);
  return 0;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t wrote = ::write(fd, data, size);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    data += wrote;
    size -= static_cast<std::size_t>(wrote);
  }
  return true;
}

std::string CopyInto(int source, const struct stat& of_source, int out, int dir,
                     const std::string& temp) {
  std::vector<char> buffer(1 << 17);
  for (off_t offset = 0;;) {
    const ssize_t got = ::pread(source, buffer.data(), buffer.size(), offset);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return "cannot read it: " + ErrorText(errno);
    if (got == 0) break;
    if (!WriteAll(out, buffer.data(), static_cast<std::size_t>(got))) {
      return "cannot write " + temp + ": " + ErrorText(errno);
    }
    offset += got;
  }
  // The owner only where that is allowed; the mode and times always.
  if (::fchown(out, of_source.st_uid, of_source.st_gid) != 0) {
    // Another user's file moved by its reader: the copy is the mover's.
  }
  const struct timespec times[2] = {of_source.st_atim, of_source.st_mtim};
  if (::fchmod(out, of_source.st_mode & 07777) != 0 ||
      ::futimens(out, times) != 0 || ::fsync(out) != 0) {
    return temp + ": " + ErrorText(errno);
  }
  const UniqueFd copy(
      ::openat(dir, temp.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
  if (!copy || CompareBytes(copy.get(), source) != Comparison::kSame) {
    return "the copy differs from it";
  }
  return {};
}

// Copies the open file `source` to `temp` in `dir` with its mode and
// times, synced to the disk and compared with the source. A copy that
// failed is taken away again.
std::string CopyTo(int source, const struct stat& of_source, int dir,
                   const std::string& temp) {
  UniqueFd out(::openat(dir, temp.c_str(),
                        O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                        0600));
  if (!out) return "cannot make " + temp + ": " + ErrorText(errno);
  std::string why = CopyInto(source, of_source, out.get(), dir, temp);
  if (!why.empty()) ::unlinkat(dir, temp.c_str(), 0);
  return why;
}

std::string RemoveSource(const OpenedFile& duplicate) {
  if (!duplicate.StillThere()) return "it changed while it was moved";
  if (::unlinkat(duplicate.dir.get(), duplicate.name.c_str(), 0) != 0) {
    return "copied, but cannot remove it: " + ErrorText(errno);
  }
  return {};
}

}  // namespace

MoveResult MoveDuplicate(const OpenedFile& duplicate, const std::string& to,
                         const std::string& relative, bool dry_run) {
  const std::vector<std::string> parts = Components(relative);
  const std::string& name = parts.back();
  bool missing = false;
  std::string why;
  const UniqueFd dir = OpenFolder(to, parts, dry_run, missing, why);
  if (missing) return {MoveResult::Kind::kMoved, {}};
  if (!dir) return Skipped(why);

  struct stat there {};
  if (::fstatat(dir.get(), name.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0) {
    if (SameInode(there, duplicate.stat)) return {MoveResult::Kind::kDone, {}};
    const UniqueFd fd(::openat(dir.get(), name.c_str(),
                               O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    struct stat opened {};
    // A copy of ours has the source's modification time; another file of
    // the same bytes is not ours to count as the move.
    const bool same_bytes =
        fd && ::fstat(fd.get(), &opened) == 0 && S_ISREG(opened.st_mode) &&
        SameInode(opened, there) && SameTime(opened, duplicate.stat) &&
        CompareBytes(fd.get(), duplicate.fd.get()) == Comparison::kSame;
    if (!same_bytes) return Skipped("the destination exists");
    // An earlier run copied it and was stopped before removing it.
    if (dry_run) return {MoveResult::Kind::kMoved, {}};
    why = RemoveSource(duplicate);
    if (!why.empty()) return Skipped(why);
    return {MoveResult::Kind::kMoved, {}};
  } else if (errno != ENOENT) {
    return Skipped("the destination: " + ErrorText(errno));
  }
  if (dry_run) return {MoveResult::Kind::kMoved, {}};

  if (!duplicate.StillThere())
    return Skipped("it changed while it was checked");
  if (::renameat2(duplicate.dir.get(), duplicate.name.c_str(), dir.get(),
                  name.c_str(), RENAME_NOREPLACE) == 0) {
    return {MoveResult::Kind::kMoved, {}};
  }
  if (errno == EEXIST) return Skipped("the destination exists");
  if (errno != EXDEV && errno != EINVAL) {
    return Skipped("cannot move it: " + ErrorText(errno));
  }
  // Another file system (or one without the flag): copy, then remove.
  const std::string temp = TempNameFor(name);
  why = ClearStaleTemp(dir.get(), temp, duplicate.fd.get());
  if (!why.empty()) return Skipped(why);  // not ours to take away
  why = CopyTo(duplicate.fd.get(), duplicate.stat, dir.get(), temp);
  const bool copied = why.empty();
  if (copied && RenameNoReplace(dir.get(), temp.c_str(), name.c_str()) != 0) {
    why = errno == EEXIST ? "the destination exists"
                          : "cannot put the copy in place: " + ErrorText(errno);
  }
  if (!why.empty()) {
    if (copied) ::unlinkat(dir.get(), temp.c_str(), 0);
    return Skipped(why);
  }
  ::fsync(dir.get());
  why = RemoveSource(duplicate);
  if (!why.empty()) return Skipped(why);
  return {MoveResult::Kind::kMoved, {}};
}

bool MovedBefore(const std::string& to, const std::string& relative,
                 const ReportFile& file) {
  struct stat there {};
  return ::lstat((to + "/" + relative).c_str(), &there) == 0 &&
         S_ISREG(there.st_mode) &&
         static_cast<std::uint64_t>(there.st_size) == file.size &&
         static_cast<std::uint64_t>(there.st_mtim.tv_sec) == file.mtime &&
         static_cast<std::uint64_t>(there.st_mtim.tv_nsec) == file.mtime_nsec;
}

}  // namespace wordlap::act
