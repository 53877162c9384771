// NameTable: the words of every name of a collection as numbered fold keys,
// so that shared words can be counted without looking at text again.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace wordlap::match {

using NameId = std::uint32_t;
using WordId = std::uint32_t;

// One distinct word of a name and how many entries of the name carry it.
struct WordCount {
  WordId word;
  std::uint32_t count;
};

class NameTable {
 public:
  // Splits every path as the comparison does (file name, extension cut,
  // separators, runs giving empty entries) and numbers the fold keys of the
  // entries: two entries get the same number exactly when the comparison
  // counts them as equal. `done` is raised as names are read, for progress.
  static NameTable Build(std::span<const std::string> paths, unsigned threads,
                         std::atomic<std::size_t>* done = nullptr);

  // Keeps only the names `kept` (ascending), renumbered 0, 1, 2, ... in
  // that order; done in place, then the arrays are cut to their new size.
  void KeepOnly(std::span<const NameId> kept);

  std::size_t NameCount() const { return entry_counts_.size(); }
  std::size_t VocabularySize() const { return vocabulary_size_; }

  // The number of entries of the name, repeats and empty entries included:
  // the length of its word list.
  std::uint32_t EntryCount(NameId name) const { return entry_counts_[name]; }
  std::span<const std::uint32_t> EntryCounts() const { return entry_counts_; }

  // The distinct words of the name, ascending by id.
  std::span<const WordCount> Words(NameId name) const {
    return {words_.data() + offsets_[name], words_.data() + offsets_[name + 1]};
  }

 private:
  std::vector<std::uint32_t> entry_counts_;
  std::vector<std::size_t> offsets_;
  std::vector<WordCount> words_;
  std::size_t vocabulary_size_ = 0;
};

}  // namespace wordlap::match
