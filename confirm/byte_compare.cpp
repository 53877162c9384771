#include "confirm/byte_compare.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace wordlap::confirm {
namespace {

constexpr std::size_t kBlock = 1 << 18;

ByteComparison Error(const std::string& what, int error) {
  return {Sameness::kError, what + ": " + std::strerror(error)};
}

// Reads up to `size` bytes at `offset`, fewer only at the end of the file.
ssize_t ReadFull(int fd, char* data, std::size_t size, off_t offset) {
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n =
        ::pread(fd, data + got, size - got, offset + static_cast<off_t>(got));
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return static_cast<ssize_t>(got);
}

}  // namespace

ByteComparison CompareBytes(int fd_a, int fd_b) {
  struct stat status_a, status_b;
  if (::fstat(fd_a, &status_a) != 0) return Error("stat", errno);
  if (::fstat(fd_b, &status_b) != 0) return Error("stat", errno);
  if (status_a.st_size != status_b.st_size) return {Sameness::kDifferent, {}};

  std::vector<char> a(kBlock), b(kBlock);
  for (off_t offset = 0;; offset += static_cast<off_t>(kBlock)) {
    const ssize_t na = ReadFull(fd_a, a.data(), kBlock, offset);
    if (na < 0) return Error("read", errno);
    const ssize_t nb = ReadFull(fd_b, b.data(), kBlock, offset);
    if (nb < 0) return Error("read", errno);
    // Sizes can still change under us; the bytes decide.
    if (na != nb ||
        std::memcmp(a.data(), b.data(), static_cast<std::size_t>(na)) != 0) {
      return {Sameness::kDifferent, {}};
    }
    if (na < static_cast<ssize_t>(kBlock)) return {Sameness::kSame, {}};
  }
}

ByteComparison CompareFileBytes(const std::string& path_a,
                                const std::string& path_b) {
  const int flags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW;
  const int fd_a = ::open(path_a.c_str(), flags);
  if (fd_a < 0) return Error("cannot open " + path_a, errno);
  const int fd_b = ::open(path_b.c_str(), flags);
  if (fd_b < 0) {
    const ByteComparison failed = Error("cannot open " + path_b, errno);
    ::close(fd_a);
    return failed;
  }
  ByteComparison result = CompareBytes(fd_a, fd_b);
  ::close(fd_a);
  ::close(fd_b);
  return result;
}

}  // namespace wordlap::confirm
