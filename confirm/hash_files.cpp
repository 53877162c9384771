#include "confirm/hash_files.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <numeric>
#include <thread>

namespace wordlap::confirm {

HashResults HashFiles(std::span<const HashJob> jobs, unsigned threads,
                      std::atomic<std::size_t>* bytes_done,
                      const std::atomic<int>* stop) {
  std::vector<std::size_t> order(jobs.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t x, std::size_t y) {
                     return jobs[x].facts.size > jobs[y].facts.size;
                   });

  std::vector<std::optional<ContentHash>> hashes(jobs.size());
  std::vector<std::optional<std::string>> failures(jobs.size());
  std::atomic<std::size_t> next{0};
  std::mutex error_mutex;
  std::exception_ptr error;
  const auto work = [&] {
    try {
      for (std::size_t i; (i = next.fetch_add(1)) < order.size();) {
        if (stop != nullptr && stop->load(std::memory_order_relaxed) != 0) {
          break;
        }
        const HashJob& job = jobs[order[i]];
        auto result = HashFile(*job.path, job.facts);
        if (auto* hash = std::get_if<ContentHash>(&result)) {
          hashes[order[i]] = *hash;
        } else {
          failures[order[i]] = std::get<HashFailure>(result).message;
        }
        if (bytes_done != nullptr) bytes_done->fetch_add(job.facts.size);
      }
    } catch (...) {
      const std::lock_guard lock(error_mutex);
      if (!error) error = std::current_exception();
      next = order.size();
    }
  };
  {
    std::vector<std::jthread> workers;
    const unsigned count = std::clamp<std::size_t>(
        threads, 1, std::max<std::size_t>(1, jobs.size()));
    for (unsigned t = 1; t < count; ++t) workers.emplace_back(work);
    work();
  }
  if (error) std::rethrow_exception(error);

  HashResults results;
  results.hashes = std::move(hashes);
  for (auto& failure : failures) {
    if (failure) results.failures.push_back(std::move(*failure));
  }
  return results;
}

}  // namespace wordlap::confirm
