// The trace file: opened for one line, written, closed.
#pragma once

#include <cstddef>
#include <cstdint>

namespace wordlap::platform {

// Opens the file at `path` positioned at its end, or creates it when it does
// not exist. Writing is exclusive: while one TraceFile holds the file, another
// cannot open it and loses its line. Every failure leaves the object closed;
// nothing is reported.
class TraceFile {
 public:
  explicit TraceFile(const char* path) noexcept;
  ~TraceFile();
  TraceFile(const TraceFile&) = delete;
  TraceFile& operator=(const TraceFile&) = delete;

  bool IsOpen() const noexcept { return handle_ != kClosed; }

  // Writes all of `size` bytes; false when the file is closed or a write
  // failed.
  bool Write(const char* data, std::size_t size) noexcept;

 private:
  static constexpr std::intptr_t kClosed = -1;
  std::intptr_t handle_ = kClosed;
};

}  // namespace wordlap::platform
