#include "cli/duplicate_scan.h"

#include <atomic>
#include <cstdio>
#include <memory>

#include "cli/progress.h"
#include "collect/file_filter.h"
#include "collect/file_roots.h"
#include "collect/reference_dirs.h"
#include "compare/file_name.h"
#include "confirm/hash_files.h"
#include "group/component_groups.h"
#include "group/name_groups.h"

namespace wordlap::cli {

report::FileTable ScanFiles::Table(
    std::span<const std::optional<confirm::ContentHash>> hashes) const {
  return {paths, facts, hashes, reference, roots, root_names};
}

ScanFiles PrepareFiles(collect::CollectedFiles collected,
                       const std::vector<std::string>& roots,
                       const DuplicateOptions& options) {
  collect::ReferenceDirs references(options.references);
  const collect::FileRoots file_roots(roots);
  const bool with_facts = options.SizesNeeded();
  ScanFiles files;
  files.root_names = roots;
  files.unread = collected.unread;
  for (std::string& path : collected.paths) {
    const std::optional<std::size_t> root = file_roots.RootOf(path);
    std::optional<collect::FileFacts> facts;
    if (with_facts) facts = collect::ReadFileFacts(path);
    if (!collect::Keeps(options.filter, path, file_roots.BelowRoot(path),
                        root.has_value(), facts)) {
      continue;
    }
    if (!references.Empty()) {
      files.reference.push_back(references.Holds(path) ? 1 : 0);
    }
    files.paths.push_back(std::move(path));
    files.roots.push_back(root);
    if (with_facts) files.facts.push_back(facts);
  }
  return files;
}

void ReadMissingFacts(ScanFiles& files,
                      std::span<const group::FileIndex> which) {
  if (files.facts.empty()) files.facts.resize(files.paths.size());
  for (const group::FileIndex file : which) {
    if (!files.facts[file]) {
      files.facts[file] = collect::ReadFileFacts(files.paths[file]);
    }
  }
}

bool PairCriteria::Keeps(const match::Match& pair) const {
  if (!files_.reference.empty() && files_.reference[pair.a] &&
      files_.reference[pair.b]) {
    return false;  // both stay whatever happens
  }
  if (options_.renamed_only && FileNamePart(files_.paths[pair.a]) ==
                                   FileNamePart(files_.paths[pair.b])) {
    return false;
  }
  if (options_.same_size || options_.same_content) {
    const auto& a = files_.facts[pair.a];
    const auto& b = files_.facts[pair.b];
    if (!a || !b || a->size != b->size) return false;
  }
  if (options_.same_content && !hashes_.empty()) {
    const auto& a = hashes_[pair.a];
    const auto& b = hashes_[pair.b];
    if (!a || !b || *a != *b) return false;
  }
  return true;
}

std::vector<std::optional<confirm::ContentHash>> HashCandidates(
    const ScanFiles& files, std::span<const std::uint8_t> candidates,
    unsigned threads, bool show_progress, std::size_t& unreadable) {
  std::vector<confirm::HashJob> jobs;
  std::vector<group::FileIndex> job_files;
  std::size_t bytes = 0;
  for (group::FileIndex file = 0; file < candidates.size(); ++file) {
    if (!candidates[file]) continue;
    jobs.push_back({&files.paths[file], *files.facts[file]});
    job_files.push_back(file);
    bytes += files.facts[file]->size;
  }
  std::atomic<std::size_t> done{0};
  confirm::HashResults results;
  {
    const ProgressLine progress(show_progress, "hashing bytes", bytes, done);
    results = confirm::HashFiles(jobs, threads, &done);
  }
  for (const std::string& failure : results.failures) {
    std::fprintf(stderr, "wordlap: warning: %s\n", failure.c_str());
  }
  unreadable = results.failures.size();
  std::vector<std::optional<confirm::ContentHash>> hashes(files.paths.size());
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    hashes[job_files[i]] = results.hashes[i];
  }
  return hashes;
}

struct GroupBuilder::State {
  report::Confirmation confirmed;
  std::optional<group::ComponentGroups> components;
  std::optional<group::NameGroups> names;
};

GroupBuilder::GroupBuilder(std::size_t files, report::Confirmation confirmed)
    : state_(std::make_unique<State>()) {
  state_->confirmed = confirmed;
  if (confirmed == report::Confirmation::kName) {
    state_->names.emplace(files);
  } else {
    state_->components.emplace(files);
  }
}

GroupBuilder::~GroupBuilder() = default;

void GroupBuilder::Add(const match::Match& pair) {
  if (state_->names) {
    state_->names->Add(pair.a, pair.b);
  } else {
    state_->components->Join(pair.a, pair.b);
  }
}

report::GroupSet GroupBuilder::Finish(ScanFiles& files, group::KeepRule rule) {
  std::vector<group::Members> members =
      state_->names ? state_->names->Take() : state_->components->Groups();
  for (const group::Members& group : members) ReadMissingFacts(files, group);

  std::vector<group::KeepFacts> facts(files.paths.size());
  for (const group::Members& group : members) {
    for (const group::FileIndex file : group) {
      group::KeepFacts& f = facts[file];
      f.path = files.paths[file];
      if (const auto& known = files.facts[file]) {
        f.has_time = true;
        f.mtime = known->mtime;
        f.mtime_nsec = known->mtime_nsec;
      }
      f.reference = !files.reference.empty() && files.reference[file];
    }
  }
  report::GroupSet set;
  set.confirmed = state_->confirmed;
  for (const group::Members& group : members) {
    group::KeptGroup kept = group::ChooseKept(group, rule, facts);
    if (!kept.duplicates.empty()) set.groups.push_back(std::move(kept));
  }
  return set;
}

}  // namespace wordlap::cli
