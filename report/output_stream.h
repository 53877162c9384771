// Buffered writing to a file descriptor that tells a closed reader apart
// from a real write failure, and that can end its output between records.
#pragma once

#include <atomic>
#include <stdexcept>
#include <string>
#include <string_view>

namespace wordlap::report {

// The reader of the output went away (EPIPE): nobody wants the rest.
class OutputClosed : public std::runtime_error {
 public:
  OutputClosed() : std::runtime_error("output closed") {}
};

// The output was asked to stop, and ends after a whole record.
class OutputStopped : public std::runtime_error {
 public:
  OutputStopped() : std::runtime_error("output stopped") {}
};

class OutputStream {
 public:
  // Writing to a closed pipe must report EPIPE rather than kill the
  // process, so SIGPIPE has to be ignored by the caller.
  explicit OutputStream(int fd) : fd_(fd) { buffer_.reserve(2 * kCapacity); }
  OutputStream(const OutputStream&) = delete;
  OutputStream& operator=(const OutputStream&) = delete;

  void Write(std::string_view text) {
    buffer_.append(text);
    if (!records_ && buffer_.size() >= kCapacity) Flush();
  }
  void Put(char c) {
    buffer_.push_back(c);
    if (!records_ && buffer_.size() >= kCapacity) Flush();
  }

  // Ends a record (a line, a row). Once a writer marks records, the stream
  // writes only whole ones: each write(2) is of a buffer of whole records,
  // so output that stops, for whatever reason, stops between two records.
  // Throws OutputStopped, after writing what is buffered, once `*stop` (see
  // StopWhen) is set.
  void EndRecord() {
    records_ = true;
    if (stop_ != nullptr && stop_->load(std::memory_order_relaxed) != 0) {
      Flush();
      throw OutputStopped();
    }
    if (buffer_.size() >= kCapacity) Flush();
  }

  // `stop` (set from a signal handler, say) ends the output at the next
  // record's end; it must outlive the stream.
  void StopWhen(const std::atomic<int>* stop) { stop_ = stop; }

  // Throws OutputClosed on EPIPE and std::runtime_error on other failures.
  void Flush();

 private:
  static constexpr std::size_t kCapacity = 1 << 16;
  int fd_;
  bool records_ = false;
  const std::atomic<int>* stop_ = nullptr;
  std::string buffer_;
};

}  // namespace wordlap::report
