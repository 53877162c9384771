#include "match/name_table.h"

#include <algorithm>
#include <string_view>
#include <thread>
#include <unordered_map>

#include "compare/name_compare.h"
#include "platform/word_key.h"

namespace wordlap::match {
namespace {

// Hashing by string_view lets a probe key be looked up without a copy.
struct KeyHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view key) const noexcept {
    return std::hash<std::string_view>{}(key);
  }
};

using Vocabulary =
    std::unordered_map<std::string, WordId, KeyHash, std::equal_to<>>;

// The names of one slice of the collection, numbered with the slice's own
// vocabulary; slices are read in parallel and renumbered afterwards.
struct Slice {
  Vocabulary vocabulary;
  std::vector<std::uint32_t> entry_counts;
  std::vector<std::size_t> offsets{0};
  std::vector<WordCount> words;
};

void ReadSlice(std::span<const std::string> paths, Slice& slice,
               std::atomic<std::size_t>* done) {
  std::string key;
  std::vector<WordId> ids;
  slice.entry_counts.reserve(paths.size());
  slice.offsets.reserve(paths.size() + 1);
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const WordList list = PathWords(paths[i]);
    ids.clear();
    for (const std::string& entry : list.Entries()) {
      platform::WordKey(entry, key);
      auto found = slice.vocabulary.find(std::string_view(key));
      if (found == slice.vocabulary.end()) {
        const auto id = static_cast<WordId>(slice.vocabulary.size());
        found = slice.vocabulary.emplace(key, id).first;
      }
      ids.push_back(found->second);
    }
    std::sort(ids.begin(), ids.end());
    for (std::size_t j = 0; j < ids.size();) {
      std::size_t k = j;
      while (k < ids.size() && ids[k] == ids[j]) ++k;
      slice.words.push_back({ids[j], static_cast<std::uint32_t>(k - j)});
      j = k;
    }
    slice.entry_counts.push_back(static_cast<std::uint32_t>(list.Count()));
    slice.offsets.push_back(slice.words.size());
    if (done != nullptr && (i & 1023) == 1023) done->fetch_add(1024);
  }
  if (done != nullptr) done->fetch_add(paths.size() & 1023);
}

}  // namespace

NameTable NameTable::Build(std::span<const std::string> paths, unsigned threads,
                           std::atomic<std::size_t>* done) {
  threads = std::max(
      1u, std::min<unsigned>(threads,
                             static_cast<unsigned>(paths.size() / 4096 + 1)));
  std::vector<Slice> slices(threads);
  {
    std::vector<std::jthread> workers;
    const std::size_t step = (paths.size() + threads - 1) / threads;
    for (unsigned t = 0; t < threads; ++t) {
      const std::size_t begin = std::min(paths.size(), t * step);
      const std::size_t end = std::min(paths.size(), begin + step);
      workers.emplace_back([&, t, begin, end] {
        ReadSlice(paths.subspan(begin, end - begin), slices[t], done);
      });
    }
  }

  // One numbering for the whole collection; a slice's words keep their
  // relative order only within the slice, so each name is re-sorted.
  NameTable table;
  Vocabulary vocabulary;
  table.entry_counts_.reserve(paths.size());
  table.offsets_.reserve(paths.size() + 1);
  table.offsets_.push_back(0);
  for (Slice& slice : slices) {
    std::vector<WordId> renumber(slice.vocabulary.size());
    for (auto& [key, local] : slice.vocabulary) {
      const auto id = static_cast<WordId>(vocabulary.size());
      renumber[local] = vocabulary.try_emplace(key, id).first->second;
    }
    slice.vocabulary = {};
    const std::size_t base = table.words_.size();
    for (std::size_t n = 0; n < slice.entry_counts.size(); ++n) {
      for (std::size_t i = slice.offsets[n]; i < slice.offsets[n + 1]; ++i) {
        table.words_.push_back(
            {renumber[slice.words[i].word], slice.words[i].count});
      }
      std::sort(table.words_.begin() + base + slice.offsets[n],
                table.words_.end(), [](const WordCount& x, const WordCount& y) {
                  return x.word < y.word;
                });
      table.entry_counts_.push_back(slice.entry_counts[n]);
      table.offsets_.push_back(table.words_.size());
    }
    slice = {};
  }
  table.vocabulary_size_ = vocabulary.size();
  return table;
}

void NameTable::KeepOnly(std::span<const NameId> kept) {
  std::size_t words = 0;
  for (std::size_t i = 0; i < kept.size(); ++i) {
    const NameId name = kept[i];
    const std::size_t begin = offsets_[name], end = offsets_[name + 1];
    // Names only move down: i <= name, and the words of names before `name`
    // were moved before these are read.
    std::copy(words_.begin() + static_cast<std::ptrdiff_t>(begin),
              words_.begin() + static_cast<std::ptrdiff_t>(end),
              words_.begin() + static_cast<std::ptrdiff_t>(words));
    entry_counts_[i] = entry_counts_[name];
    offsets_[i] = words;
    words += end - begin;
  }
  offsets_[kept.size()] = words;
  entry_counts_.resize(kept.size());
  entry_counts_.shrink_to_fit();
  offsets_.resize(kept.size() + 1);
  offsets_.shrink_to_fit();
  words_.resize(words);
  words_.shrink_to_fit();
}

}  // namespace wordlap::match
