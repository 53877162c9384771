// Hashing many files at once: a small pool of threads over a work list.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "collect/file_facts.h"
#include "confirm/content_hash.h"

namespace wordlap::confirm {

struct HashJob {
  const std::string* path;
  collect::FileFacts facts;
};

struct HashResults {
  // By job: the hash, or nothing when the file could not be hashed.
  std::vector<std::optional<ContentHash>> hashes;
  // One message per file left out, in job order.
  std::vector<std::string> failures;
};

// Hashes every job's file once, on `threads` threads, largest files first
// so that the last one to finish is a small one. `bytes_done` grows as
// bytes are read, for progress. Once `*stop` is set (by a signal handler,
// say) no further file is started; the files not hashed get no hash and no
// failure.
HashResults HashFiles(std::span<const HashJob> jobs, unsigned threads,
                      std::atomic<std::size_t>* bytes_done = nullptr,
                      const std::atomic<int>* stop = nullptr);

}  // namespace wordlap::confirm
