#include "report/output_stream.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace wordlap::report {

void OutputStream::Flush() {
  std::size_t written = 0;
  while (written < buffer_.size()) {
    const ssize_t n =
        ::write(fd_, buffer_.data() + written, buffer_.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      buffer_.clear();
      if (error == EPIPE) throw OutputClosed();
      throw std::runtime_error(std::string("cannot write the output: ") +
                               std::strerror(error));
    }
    written += static_cast<std::size_t>(n);
  }
  buffer_.clear();
}

}  // namespace wordlap::report
