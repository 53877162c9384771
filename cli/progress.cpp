#include "cli/progress.h"

#include <chrono>
#include <cstdio>

namespace wordlap::cli {

ProgressLine::ProgressLine(bool enabled, std::string label, std::size_t total,
                           const std::atomic<std::size_t>& done)
    : label_(std::move(label)), total_(total), done_(done) {
  if (!enabled) return;
  thread_ = std::thread([this] {
    std::unique_lock lock(mutex_);
    while (!stop_requested_.wait_for(lock, std::chrono::milliseconds(200),
                                     [this] { return stopping_; })) {
      Show();
    }
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
  });
}

ProgressLine::~ProgressLine() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  stop_requested_.notify_all();
  thread_.join();
}

void ProgressLine::Show() {
  const std::size_t done = std::min(done_.load(), total_);
  const unsigned percent =
      total_ == 0 ? 100 : static_cast<unsigned>(done * 100 / total_);
  std::fprintf(stderr, "\r\033[Kwordlap: %s %zu/%zu (%u%%)", label_.c_str(),
               done, total_, percent);
  std::fflush(stderr);
}

}  // namespace wordlap::cli
