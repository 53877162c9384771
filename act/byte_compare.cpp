#include "act/byte_compare.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace wordlap::act {
namespace {

// Reads up to `size` bytes at `offset`, fewer only at the end of the file.
ssize_t ReadFull(int fd, char* buffer, std::size_t size, off_t offset) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got = ::pread(fd, buffer + done, size - done,
                                offset + static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return static_cast<ssize_t>(done);
}

Comparison Compare(int a, int b, bool a_may_be_shorter) {
  constexpr std::size_t kChunk = 1 << 17;
  std::vector<char> left(kChunk);
  std::vector<char> right(kChunk);
  for (off_t offset = 0;; offset += kChunk) {
    const ssize_t got_a = ReadFull(a, left.data(), kChunk, offset);
    const ssize_t got_b = ReadFull(b, right.data(), kChunk, offset);
    if (got_a < 0 || got_b < 0) return Comparison::kReadError;
    if (got_a > got_b) return Comparison::kDifferent;
    if (got_a < got_b && !a_may_be_shorter) return Comparison::kDifferent;
    if (std::memcmp(left.data(), right.data(),
                    static_cast<std::size_t>(got_a)) != 0) {
      return Comparison::kDifferent;
    }
    if (got_a < static_cast<ssize_t>(kChunk)) return Comparison::kSame;
  }
}

}  // namespace

Comparison CompareBytes(int a, int b) { return Compare(a, b, false); }

Comparison CompareAsPrefix(int part, int whole) {
  return Compare(part, whole, true);
}

}  // namespace wordlap::act
