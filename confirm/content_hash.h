// The content hash of a file: XXH3-128 of all its bytes.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "collect/file_facts.h"

namespace wordlap::confirm {

struct ContentHash {
  std::uint64_t high = 0;
  std::uint64_t low = 0;
  bool operator==(const ContentHash&) const = default;
};

// 32 lower-case hex digits, the high half first: the text xxh128sum prints.
std::string HexOf(const ContentHash& hash);

// Why a file was not hashed, for a warning.
struct HashFailure {
  std::string message;
};

// Hashes the file at `path`, read once from start to end. The file must
// still be the one `expected` describes (device, inode, size, modification
// time) when it is opened and when it has been read; a file that changed in
// between is a failure, not a hash of some mixture of old and new bytes.
std::variant<ContentHash, HashFailure> HashFile(const std::string& path,
                                                const collect::FileFacts& expected);

}  // namespace wordlap::confirm
