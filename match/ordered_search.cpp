#include "match/ordered_search.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace wordlap::match {
namespace {

// Names are handed out in blocks; a worker may run only a few blocks ahead
// of the consumer, so the pairs waiting to be consumed stay few whatever the
// total number of pairs.
constexpr std::size_t kBlockNames = 256;

struct Block {
  bool ready = false;
  std::vector<Match> matches;
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

  void Finish(std::size_t block, std::vector<Match>&& matches) {
    {
      std::lock_guard lock(mutex_);
      Block& slot = slots_[block % slots_.size()];
      slot.matches = std::move(matches);
      slot.ready = true;
    }
    changed_.notify_all();
  }

  // Waits for the block the consumer needs next; false once stopped.
  bool Await(std::size_t block, std::vector<Match>& matches) {
    std::unique_lock lock(mutex_);
    Block& slot = slots_[block % slots_.size()];
    changed_.wait(lock, [&] { return stopped_ || slot.ready; });
    if (stopped_) return false;
    matches.swap(slot.matches);
    slot.matches.clear();
    slot.ready = false;
    return true;
  }

  void Consumed(std::size_t block) {
    {
      std::lock_guard lock(mutex_);
      consumed_ = block + 1;
    }
    changed_.notify_all();
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
  std::mutex mutex_;
  std::condition_variable changed_;
  const std::size_t blocks_;
  std::vector<Block> slots_;
  std::size_t next_ = 0;
  std::size_t consumed_ = 0;
  bool stopped_ = false;
  std::exception_ptr error_;
};

void Work(Coordinator& coordinator, MatchSearch& search, std::size_t names,
          std::atomic<std::size_t>* done) {
  std::size_t block;
  while (coordinator.Take(block)) {
    std::vector<Match> matches;
    const std::size_t begin = block * kBlockNames;
    const std::size_t end = std::min(names, begin + kBlockNames);
    for (std::size_t a = begin; a < end; ++a) {
      search.FindMatches(static_cast<NameId>(a), matches);
    }
    if (done != nullptr) done->fetch_add(end - begin);
    coordinator.Finish(block, std::move(matches));
  }
}

}  // namespace

void SearchInOrder(std::size_t names, unsigned threads,
                   const MatchSearchFactory& make_search,
                   const MatchConsumer& consume,
                   std::atomic<std::size_t>* done) {
  threads = std::max(1u, threads);
  const std::size_t blocks = (names + kBlockNames - 1) / kBlockNames;
  Coordinator coordinator(blocks, 4 * threads);
  std::vector<std::jthread> workers;
  for (unsigned t = 0; t < threads; ++t) {
    workers.emplace_back([&] {
      try {
        const auto search = make_search();
        Work(coordinator, *search, names, done);
      } catch (...) {
        coordinator.Stop(std::current_exception());
      }
    });
  }

  try {
    std::vector<Match> matches;
    for (std::size_t block = 0; block < blocks; ++block) {
      if (!coordinator.Await(block, matches)) break;
      coordinator.Consumed(block);
      // The pairs of one name a lie together, ascending by b.
      for (std::size_t i = 0; i < matches.size();) {
        std::size_t j = i;
        while (j < matches.size() && matches[j].a == matches[i].a) ++j;
        consume(std::span<const Match>(matches).subspan(i, j - i));
        i = j;
      }
    }
  } catch (...) {
    coordinator.Stop(std::current_exception());
  }
  coordinator.Stop();
  workers.clear();
  if (const auto error = coordinator.Error()) std::rethrow_exception(error);
}

}  // namespace wordlap::match
