#include "match/ordered_search.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace wordlap::match {
namespace {

// Classes are handed out in blocks; a worker may run only a few blocks
// ahead of the consumer.
constexpr std::size_t kBlockClasses = 256;
// A worker hands its matches over in chunks of about this many, split
// between classes...
constexpr std::size_t kChunkMatches = 1 << 12;
// ...and waits while its block holds this many that the consumer has not
// taken yet.
constexpr std::size_t kBlockMatches = 1 << 15;

using Chunk = std::vector<ClassMatch>;

struct Slot {
  std::deque<Chunk> chunks;
  std::size_t held = 0;
  bool finished = false;
};

class Coordinator {
 public:
  Coordinator(std::size_t blocks, unsigned window)
      : blocks_(blocks), slots_(window) {}

  // The next block to work on, once it fits in the window; false when there
  // is none left or the run was stopped.
  bool Take(std::size_t& block) {
    std::unique_lock lock(mutex_);
    if (next_ >= blocks_ || stopped_) return false;
    block = next_++;
    changed_.wait(
        lock, [&] { return stopped_ || block < consumed_ + slots_.size(); });
    return !stopped_;
  }

  // Adds a chunk of the block's matches, after waiting for room; false once
  // stopped.
  bool Hand(std::size_t block, Chunk&& chunk) {
    std::unique_lock lock(mutex_);
    Slot& slot = SlotOf(block);
    changed_.wait(lock, [&] { return stopped_ || slot.held < kBlockMatches; });
    if (stopped_) return false;
    slot.held += chunk.size();
    slot.chunks.push_back(std::move(chunk));
    lock.unlock();
    changed_.notify_all();
    return true;
  }

  void Finish(std::size_t block) {
    {
      std::lock_guard lock(mutex_);
      SlotOf(block).finished = true;
    }
    changed_.notify_all();
  }

  // The next chunk of the block the consumer is on: true with `chunk`
  // filled, or true with `chunk` empty once the block is done; false once
  // stopped.
  bool Await(std::size_t block, Chunk& chunk) {
    std::unique_lock lock(mutex_);
    Slot& slot = SlotOf(block);
    changed_.wait(lock, [&] {
      return stopped_ || !slot.chunks.empty() || slot.finished;
    });
    if (stopped_) return false;
    chunk.clear();
    if (!slot.chunks.empty()) {
      chunk.swap(slot.chunks.front());
      slot.chunks.pop_front();
      slot.held -= chunk.size();
    } else {
      slot.finished = false;
      consumed_ = block + 1;
    }
    lock.unlock();
    changed_.notify_all();
    return true;
  }

  void Stop(std::exception_ptr error = nullptr) {
    {
      std::lock_guard lock(mutex_);
      stopped_ = true;
      if (error && !error_) error_ = error;
    }
    changed_.notify_all();
  }

  std::exception_ptr Error() {
    std::lock_guard lock(mutex_);
    return error_;
  }

 private:
  Slot& SlotOf(std::size_t block) { return slots_[block % slots_.size()]; }

  std::mutex mutex_;
  std::condition_variable changed_;
  const std::size_t blocks_;
  std::vector<Slot> slots_;
  std::size_t next_ = 0;
  std::size_t consumed_ = 0;
  bool stopped_ = false;
  std::exception_ptr error_;
};

void Work(Coordinator& coordinator, MatchSearch& search, std::size_t classes,
          std::atomic<std::size_t>* done) {
  std::size_t block;
  while (coordinator.Take(block)) {
    Chunk chunk;
    const std::size_t begin = block * kBlockClasses;
    const std::size_t end = std::min(classes, begin + kBlockClasses);
    for (std::size_t x = begin; x < end; ++x) {
      search.FindMatches(static_cast<ClassId>(x), chunk);
      if (chunk.size() >= kChunkMatches) {
        if (!coordinator.Hand(block, std::move(chunk))) return;
        chunk = {};
      }
    }
    if (!chunk.empty() && !coordinator.Hand(block, std::move(chunk))) return;
    if (done != nullptr) done->fetch_add(end - begin);
    coordinator.Finish(block);
  }
}

}  // namespace

void SearchInOrder(std::size_t classes, unsigned threads,
                   const MatchSearchFactory& make_search,
                   const MatchConsumer& consume,
                   std::atomic<std::size_t>* done) {
  threads = std::max(1u, threads);
  const std::size_t blocks = (classes + kBlockClasses - 1) / kBlockClasses;
  Coordinator coordinator(blocks, 4 * threads);
  std::vector<std::jthread> workers;
  for (unsigned t = 0; t < threads; ++t) {
    workers.emplace_back([&] {
      try {
        const auto search = make_search();
        Work(coordinator, *search, classes, done);
      } catch (...) {
        coordinator.Stop(std::current_exception());
      }
    });
  }

  try {
    Chunk chunk;
    for (std::size_t block = 0; block < blocks; ++block) {
      bool running = true;
      while ((running = coordinator.Await(block, chunk)) && !chunk.empty()) {
        // The matches of one class lie together, ascending by y.
        for (std::size_t i = 0; i < chunk.size();) {
          std::size_t j = i;
          while (j < chunk.size() && chunk[j].x == chunk[i].x) ++j;
          consume(std::span<const ClassMatch>(chunk).subspan(i, j - i));
          i = j;
        }
      }
      if (!running) break;
    }
  } catch (...) {
    coordinator.Stop(std::current_exception());
  }
  coordinator.Stop();
  workers.clear();
  if (const auto error = coordinator.Error()) std::rethrow_exception(error);
}

}  // namespace wordlap::match
