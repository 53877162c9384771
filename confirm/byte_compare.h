// Byte-for-byte comparison of two files: the last word on "same content",
// for whoever is about to act on it.
#pragma once

#include <string>

namespace wordlap::confirm {

enum class Sameness { kSame, kDifferent, kError };

struct ByteComparison {
  Sameness verdict = Sameness::kError;
  std::string error;  // what failed, when kError
};

// Compares the whole contents of two open files from their first byte.
// Reads with pread, so the descriptors' offsets are left as they were.
ByteComparison CompareBytes(int fd_a, int fd_b);

// Opens both paths (read-only, not following a final symbolic link) and
// compares them as above.
ByteComparison CompareFileBytes(const std::string& path_a,
                                const std::string& path_b);

}  // namespace wordlap::confirm
