#include "trace/trace_file_writer.h"

#include <algorithm>
#include <cstring>

#include "platform/trace_file.h"

namespace wordlap {
namespace {

// Collects bytes and hands them to the file 128 at a time. After the first
// failed write the rest of the line is dropped; the file has already cut
// back what reached it.
class LineBuffer {
 public:
  explicit LineBuffer(platform::TraceFile& file) : file_(file) {}

  void Append(std::string_view bytes) {
    while (!bytes.empty() && !failed_) {
      const std::size_t take = std::min(bytes.size(), sizeof buffer_ - used_);
      std::memcpy(buffer_ + used_, bytes.data(), take);
      used_ += take;
      bytes.remove_prefix(take);
      if (used_ == sizeof buffer_) Flush();
    }
  }

  void Flush() {
    if (used_ > 0 && !failed_) failed_ = !file_.Write(buffer_, used_);
    used_ = 0;
  }

 private:
  platform::TraceFile& file_;
  char buffer_[128];
  std::size_t used_ = 0;
  bool failed_ = false;
};

}  // namespace

void AppendTraceLine(const char* path, std::string_view line) noexcept {
  platform::TraceFile file(path);
  if (!file.IsOpen()) return;
  LineBuffer buffer(file);
  buffer.Append(line);
  buffer.Append("\r\n");
  buffer.Flush();
}

}  // namespace wordlap
