// Groups of duplicates with their kept files, and what the group formats
// know about each file: the plain data the report stage writes out.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "collect/file_facts.h"
#include "collect/file_roots.h"
#include "confirm/content_hash.h"
#include "group/group.h"
#include "match/word_overlap.h"

namespace wordlap::report {

// How far the files of a group are known to be the same.
enum class Confirmation {
  kName,     // names match; nothing else was compared
  kSize,     // and sizes are equal
  kContent,  // and every file is byte-identical to every other
};

std::string_view ConfirmationName(Confirmation confirmation);

// By file index in scan order. Spans that are empty mean "not known for any
// file" (no hashes without --same-content, no reference folders).
struct FileTable {
  std::span<const std::string> paths;
  std::span<const std::optional<collect::FileFacts>> facts;
  // When `facts` is empty: the facts of the files in groups, ascending by
  // file, so that a scan that needs no sizes keeps none for the others.
  std::span<const std::pair<group::FileIndex, collect::FileFacts>> member_facts;
  std::span<const std::optional<confirm::ContentHash>> hashes;
  std::span<const std::uint8_t> reference;
  // Finds the directory argument a file was found under (an index into
  // `root_names`), asked only for the files that are written: a scan of
  // many files keeps nothing per file for it. Null: no file has one.
  const collect::FileRoots* roots = nullptr;
  std::span<const std::string> root_names;

  const collect::FileFacts* Facts(group::FileIndex file) const;
  const confirm::ContentHash* Hash(group::FileIndex file) const;
  bool Reference(group::FileIndex file) const;
  const std::string* Root(group::FileIndex file) const;
};

struct GroupSet {
  Confirmation confirmed = Confirmation::kName;
  std::vector<group::KeptGroup> groups;
};

// The name comparison of two files of a group, earlier one first in scan
// order, as the scan compares them.
using OverlapOf =
    std::function<match::Overlap(group::FileIndex, group::FileIndex)>;

// What removing the duplicates of every group would free.
struct GroupTotals {
  std::size_t groups = 0;
  std::size_t duplicates = 0;
  std::uint64_t bytes = 0;
};
GroupTotals TotalsOf(const FileTable& files, const GroupSet& set);

}  // namespace wordlap::report
