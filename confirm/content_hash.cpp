#include "confirm/content_hash.h"

#include <fcntl.h>
#include <unistd.h>
#include <xxhash.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

namespace wordlap::confirm {
namespace {

constexpr std::size_t kReadSize = 1 << 20;

struct StateDeleter {
  void operator()(XXH3_state_t* state) const { XXH3_freeState(state); }
};

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

HashFailure Failure(const std::string& path, const char* what, int error) {
  return {"cannot read " + path + ": " + what +
          (error != 0 ? std::string(": ") + std::strerror(error) : "")};
}

}  // namespace

std::string HexOf(const ContentHash& hash) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text(32, '0');
  for (int i = 0; i < 16; ++i) {
    text[15 - i] = kHex[(hash.high >> (4 * i)) & 15];
    text[31 - i] = kHex[(hash.low >> (4 * i)) & 15];
  }
  return text;
}

std::variant<ContentHash, HashFailure> HashFile(const std::string& path,
                                                const collect::FileFacts& expected) {
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
  if (file.get() < 0) return Failure(path, "cannot open", errno);
  struct stat status;
  if (::fstat(file.get(), &status) != 0) return Failure(path, "stat", errno);
  if (!S_ISREG(status.st_mode) || collect::FactsOf(status) != expected) {
    return Failure(path, "changed during the scan", 0);
  }
  ::posix_fadvise(file.get(), 0, 0, POSIX_FADV_SEQUENTIAL);

  const std::unique_ptr<XXH3_state_t, StateDeleter> state(XXH3_createState());
  if (!state || XXH3_128bits_reset(state.get()) == XXH_ERROR) {
    throw std::bad_alloc();
  }
  std::vector<char> buffer(kReadSize);
  std::uint64_t total = 0;
  while (true) {
    const ssize_t n = ::read(file.get(), buffer.data(), buffer.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return Failure(path, "read", errno);
    }
    if (n == 0) break;
    XXH3_128bits_update(state.get(), buffer.data(),
                        static_cast<std::size_t>(n));
    total += static_cast<std::uint64_t>(n);
  }
  // A file written to while it was read has another size or time now.
  if (::fstat(file.get(), &status) != 0) return Failure(path, "stat", errno);
  if (total != expected.size || collect::FactsOf(status) != expected) {
    return Failure(path, "changed during the scan", 0);
  }
  const XXH128_hash_t digest = XXH3_128bits_digest(state.get());
  return ContentHash{digest.high64, digest.low64};
}

}  // namespace wordlap::confirm
