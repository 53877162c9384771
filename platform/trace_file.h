// The trace file: opened for one line, written, closed.
#pragma once

#include <cstddef>
#include <cstdint>

namespace wordlap::platform {

// Opens the file at `path` positioned at its end, or creates it when it does
// not exist; a file that another process creates in the meantime is opened
// and appended to, never emptied. Writing is exclusive: while one TraceFile
// holds the file, another cannot open it and loses its line. Every failure
// leaves the object closed; nothing is reported.
class TraceFile {
 public:
  explicit TraceFile(const char* path) noexcept;
  ~TraceFile();
  TraceFile(const TraceFile&) = delete;
  TraceFile& operator=(const TraceFile&) = delete;

  bool IsOpen() const noexcept { return handle_ != kClosed; }

  // Writes all of `size` bytes; false when the file is closed or a write
  // failed. A failed write cuts the file back to the length it had when it
  // was opened and closes it, so that nothing of a line that could not be
  // finished stays for the next line to join.
  bool Write(const char* data, std::size_t size) noexcept;

 private:
  // Truncates to `start_` and closes.
  void CutBack() noexcept;

  static constexpr std::intptr_t kClosed = -1;
  std::intptr_t handle_ = kClosed;
  std::int64_t start_ = 0;  // the end of the file when it was opened
};

}  // namespace wordlap::platform
