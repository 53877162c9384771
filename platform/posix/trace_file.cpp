#include "platform/trace_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace wordlap::platform {
namespace {

constexpr int kOpenFlags =
    O_RDWR | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;

// The file is accepted only when it is a regular file of the calling user:
// a fixed path in a shared directory must not let anyone else's file (or a
// link to it) receive our lines.
bool IsOurRegularFile(int fd) {
  struct stat status;
  return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
         status.st_uid == ::geteuid();
}

// Opens the existing file, or creates it when there is none. When another
// process creates it between the two attempts, that file is opened as it
// is: emptying it would erase the lines it has already written.
int OpenOrCreate(const char* path) {
  int fd = ::open(path, kOpenFlags);
  if (fd >= 0 || errno != ENOENT) return fd;
  fd = ::open(path, kOpenFlags | O_CREAT | O_EXCL, 0600);
  if (fd >= 0 || errno != EEXIST) return fd;
  return ::open(path, kOpenFlags);
}

}  // namespace

TraceFile::TraceFile(const char* path) noexcept {
  const int fd = OpenOrCreate(path);
  if (fd < 0) return;
  // A second writer that cannot take the lock loses its line, so lines never
  // interleave. The end is taken under the lock: it is where this line
  // begins, and what a failed write cuts the file back to.
  off_t end = -1;
  const bool usable = IsOurRegularFile(fd) &&
                      ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                      (end = ::lseek(fd, 0, SEEK_END)) >= 0;
  if (!usable) {
    ::close(fd);
    return;
  }
  handle_ = fd;
  start_ = end;
}

TraceFile::~TraceFile() {
  if (IsOpen()) ::close(static_cast<int>(handle_));  // also drops the lock
}

bool TraceFile::Write(const char* data, std::size_t size) noexcept {
  if (!IsOpen()) return false;
  const int fd = static_cast<int>(handle_);
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      CutBack();
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

void TraceFile::CutBack() noexcept {
  // Still under the lock, so only bytes of this line are cut. Truncating
  // frees space and works on a full disk.
  const int fd = static_cast<int>(handle_);
  while (::ftruncate(fd, static_cast<off_t>(start_)) != 0 && errno == EINTR) {
  }
  ::close(fd);
  handle_ = kClosed;
}

}  // namespace wordlap::platform
