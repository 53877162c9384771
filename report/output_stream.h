// Buffered writing to a file descriptor that tells a closed reader apart
// from a real write failure.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace wordlap::report {

// The reader of the output went away (EPIPE): nobody wants the rest.
class OutputClosed : public std::runtime_error {
 public:
  OutputClosed() : std::runtime_error("output closed") {}
};

class OutputStream {
 public:
  // Writing to a closed pipe must report EPIPE rather than kill the
  // process, so SIGPIPE has to be ignored by the caller.
  explicit OutputStream(int fd) : fd_(fd) { buffer_.reserve(kCapacity); }
  OutputStream(const OutputStream&) = delete;
  OutputStream& operator=(const OutputStream&) = delete;

  void Write(std::string_view text) {
    if (buffer_.size() + text.size() > kCapacity) Flush();
    buffer_.append(text);
  }
  void Put(char c) {
    if (buffer_.size() + 1 > kCapacity) Flush();
    buffer_.push_back(c);
  }

  // Throws OutputClosed on EPIPE and std::runtime_error on other failures.
  void Flush();

 private:
  static constexpr std::size_t kCapacity = 1 << 16;
  int fd_;
  std::string buffer_;
};

}  // namespace wordlap::report
