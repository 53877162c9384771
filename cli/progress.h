// Progress of a long phase on standard error, redrawn on one line.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>

namespace wordlap::cli {

// While it lives, shows "<label> <done>/<total>" a few times a second, then
// clears the line. Shows nothing when not `enabled` (standard error is not a
// terminal, or --quiet).
class ProgressLine {
 public:
  ProgressLine(bool enabled, std::string label, std::size_t total,
               const std::atomic<std::size_t>& done);
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

 private:
  void Show();

  std::string label_;
  std::size_t total_;
  const std::atomic<std::size_t>& done_;
  std::mutex mutex_;
  std::condition_variable stop_requested_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace wordlap::cli
