// The steps of `wordlap scan` between the name search and the output: the
// filters on the collected files, the host's criteria on each pair, the
// content hashes of the candidates and the groups with their kept files.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/duplicate_options.h"
#include "collect/file_facts.h"
#include "collect/file_roots.h"
#include "collect/scan_inputs.h"
#include "confirm/content_hash.h"
#include "group/group.h"
#include "match/match.h"
#include "match/name_classes.h"
#include "match/partners.h"
#include "report/group_set.h"

namespace wordlap::cli {

// The files of a scan once filtered, in scan order, and what is known of
// each.
struct ScanFiles {
  std::vector<std::string> paths;
  // By file; empty until read. Nothing for a path that does not exist here.
  std::vector<std::optional<collect::FileFacts>> facts;
  // Without `facts`, those of the files in groups, ascending by file (see
  // report::FileTable).
  std::vector<std::pair<group::FileIndex, collect::FileFacts>> member_facts;
  std::vector<std::string> root_names;  // the scanned arguments
  collect::FileRoots roots;             // the directories among them
  std::vector<std::uint8_t> reference;  // empty without --reference
  std::size_t unread = 0;  // paths that could not be read while collecting

  report::FileTable Table(
      std::span<const std::optional<confirm::ContentHash>> hashes) const;
};

// Applies the filters of `options` to the `collected` files; `roots` are
// the scanned arguments. Reads the facts of every file when a filter or a
// criterion needs sizes. Throws collect::InputError for a --reference
// folder that cannot be used.
ScanFiles PrepareFiles(collect::CollectedFiles collected,
                       const std::vector<std::string>& roots,
                       const DuplicateOptions& options);

// The host's criteria on a pair whose names match. Without hashes it
// judges what can be known before any file is read.
class PairCriteria {
 public:
  PairCriteria(const DuplicateOptions& options, const ScanFiles& files,
               std::span<const std::optional<confirm::ContentHash>> hashes)
      : options_(options), files_(files), hashes_(hashes) {}

  bool Keeps(match::NameId a, match::NameId b) const;

  // Whether Keeps can say no to a pair of names that match: without any
  // such criterion every pair the search finds is kept.
  bool Judges() const;

  // True when only sizes and contents are judged, never the two names of a
  // pair: then equal keys (Keys) are all there is to a kept pair.
  bool JudgesFilesOnly() const;

  // A key by file for what is known so far: its size, or its size and hash
  // once hashed; nothing for a file without them. Two files of a matching
  // pair are kept exactly when their keys are equal (with JudgesFilesOnly).
  std::vector<std::optional<std::uint64_t>> Keys() const;

  // The partners of `partners.a` that are kept, as runs of one name each,
  // in `runs` (whose names live in `names`).
  void Filter(const match::NamePartners& partners,
              std::vector<match::NameId>& names,
              std::vector<match::PartnerRun>& runs) const;

 private:
  const DuplicateOptions& options_;
  const ScanFiles& files_;
  std::span<const std::optional<confirm::ContentHash>> hashes_;
};

// Hashes the files marked in `candidates`, each once, on `threads`
// threads; one warning per file that cannot be read. `unreadable` counts
// them.
std::vector<std::optional<confirm::ContentHash>> HashCandidates(
    const ScanFiles& files, std::span<const std::uint8_t> candidates,
    unsigned threads, bool show_progress, std::size_t& unreadable);

// Gathers the pairs that met every criterion into groups: connected sets
// when sizes or contents were compared (every pair then joins files of one
// class), name groups around a first file otherwise.
class GroupBuilder {
 public:
  // `classes` are those whose member lists the partners' runs lie in.
  GroupBuilder(const match::NameClasses& classes,
               report::Confirmation confirmed, const PairCriteria& criteria);
  ~GroupBuilder();

  // The partners of one name, names ascending; returns the number of pairs
  // that met every criterion.
  std::uint64_t Add(const match::NamePartners& partners);

  // The groups with their kept files (facts of their members read now);
  // groups left without duplicates (reference files only) are dropped.
  report::GroupSet Finish(ScanFiles& files, group::KeepRule rule);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace wordlap::cli
