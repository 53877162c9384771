#include "act/temp_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "act/byte_compare.h"
#include "act/opened_file.h"
#include "act/unique_fd.h"

namespace wordlap::act {

std::string TempNameFor(const std::string& name) {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (const char c : name) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  char digits[17];
  std::snprintf(digits, sizeof digits, "%016llx",
                static_cast<unsigned long long>(hash));
  return std::string(kTempPrefix) + digits;
}

std::string ErrorText(int error) { return std::strerror(error); }

std::string ClearStaleTemp(int dir, const std::string& temp, int source) {
  struct stat left {};
  if (::fstatat(dir, temp.c_str(), &left, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno == ENOENT) return {};
    return temp + ": " + ErrorText(errno);
  }
  const std::string in_the_way = temp + " is in the way";
  bool removable = S_ISLNK(left.st_mode);
  if (S_ISREG(left.st_mode)) {
    struct stat of_source {};
    if (::fstat(source, &of_source) != 0) return temp + ": " + ErrorText(errno);
    if (SameInode(left, of_source)) {
      removable = true;
    } else {
      const UniqueFd fd(::openat(
          dir, temp.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
      struct stat opened {};
      removable = fd && ::fstat(fd.get(), &opened) == 0 &&
                  SameInode(opened, left) &&
                  CompareAsPrefix(fd.get(), source) == Comparison::kSame;
    }
  }
  if (!removable) return in_the_way;
  if (::unlinkat(dir, temp.c_str(), 0) != 0 && errno != ENOENT) {
    return temp + ": " + ErrorText(errno);
  }
  return {};
}

}  // namespace wordlap::act
