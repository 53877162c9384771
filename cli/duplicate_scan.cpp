#include "cli/duplicate_scan.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <memory>
#include <tuple>

#include "cli/class_keys.h"
#include "cli/interruption.h"
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
  return {paths, facts, member_facts, hashes, reference, &roots, root_names};
}

ScanFiles PrepareFiles(collect::CollectedFiles collected,
                       const std::vector<std::string>& roots,
                       const DuplicateOptions& options) {
  collect::ReferenceDirs references(options.references);
  const bool with_facts = options.SizesNeeded();
  ScanFiles files;
  files.root_names = roots;
  files.roots = collect::FileRoots(roots);
  const collect::FileRoots& file_roots = files.roots;
  files.unread = collected.unread;
  for (std::string& path : collected.paths) {
    std::optional<collect::FileFacts> facts;
    if (with_facts) facts = collect::ReadFileFacts(path);
    if (!collect::Keeps(options.filter, path, file_roots.BelowRoot(path),
                        file_roots.RootOf(path).has_value(), facts)) {
      continue;
    }
    if (!references.Empty()) {
      files.reference.push_back(references.Holds(path) ? 1 : 0);
    }
    files.paths.push_back(std::move(path));
    if (with_facts) files.facts.push_back(facts);
  }
  return files;
}

bool PairCriteria::Judges() const {
  return options_.renamed_only || options_.same_size || options_.same_content ||
         !files_.reference.empty();
}

bool PairCriteria::Keeps(match::NameId a, match::NameId b) const {
  if (!files_.reference.empty() && files_.reference[a] && files_.reference[b]) {
    return false;  // both stay whatever happens
  }
  if (options_.renamed_only &&
      FileNamePart(files_.paths[a]) == FileNamePart(files_.paths[b])) {
    return false;
  }
  if (options_.same_size || options_.same_content) {
    const auto& x = files_.facts[a];
    const auto& y = files_.facts[b];
    if (!x || !y || x->size != y->size) return false;
  }
  if (options_.same_content && !hashes_.empty()) {
    const auto& x = hashes_[a];
    const auto& y = hashes_[b];
    if (!x || !y || *x != *y) return false;
  }
  return true;
}

bool PairCriteria::JudgesFilesOnly() const {
  return (options_.same_size || options_.same_content) &&
         !options_.renamed_only && files_.reference.empty();
}

std::vector<std::optional<std::uint64_t>> PairCriteria::Keys() const {
  std::vector<std::optional<std::uint64_t>> keys(files_.paths.size());
  const bool by_hash = options_.same_content && !hashes_.empty();
  // Contents are numbered: the same size and hash, the same number.
  std::map<std::tuple<std::uint64_t, std::uint64_t, std::uint64_t>,
           std::uint64_t>
      contents;
  for (std::size_t file = 0; file < keys.size(); ++file) {
    const auto& facts = files_.facts[file];
    if (!facts) continue;
    if (!by_hash) {
      keys[file] = facts->size;
      continue;
    }
    const auto& hash = hashes_[file];
    if (!hash) continue;
    keys[file] =
        contents
            .try_emplace({facts->size, hash->high, hash->low}, contents.size())
            .first->second;
  }
  return keys;
}

void PairCriteria::Filter(const match::NamePartners& partners,
                          std::vector<match::NameId>& names,
                          std::vector<match::PartnerRun>& runs) const {
  names.clear();
  runs.clear();
  std::vector<match::Overlap> overlaps;
  match::ForEachPartner(partners,
                        [&](match::NameId b, const match::Overlap& overlap) {
                          if (!Keeps(partners.a, b)) return;
                          names.push_back(b);
                          overlaps.push_back(overlap);
                        });
  // The runs view `names`, which no longer grows.
  for (std::size_t i = 0; i < names.size(); ++i) {
    runs.push_back({{&names[i], 1}, overlaps[i]});
  }
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
    results = confirm::HashFiles(jobs, threads, &done, &Interruption::Signal());
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
  const PairCriteria& criteria;
  std::optional<group::ComponentGroups> components;
  std::optional<group::NameGroups> names;
  // For connected groups judged on files only: the keys within each class.
  std::vector<std::optional<std::uint64_t>> keys;
  std::optional<ClassKeys> class_keys;
  // Scratch space for the kept partners of one name.
  std::vector<match::NameId> kept_names;
  std::vector<match::PartnerRun> kept_runs;
};

GroupBuilder::GroupBuilder(const match::NameClasses& classes,
                           report::Confirmation confirmed,
                           const PairCriteria& criteria)
    : state_(std::make_unique<State>(State{confirmed, criteria})) {
  if (confirmed == report::Confirmation::kName) {
    state_->names.emplace(classes);
  } else {
    state_->components.emplace(classes.NameCount());
    if (criteria.JudgesFilesOnly()) {
      state_->keys = criteria.Keys();
      state_->class_keys.emplace(classes, state_->keys);
    }
  }
}

GroupBuilder::~GroupBuilder() = default;

std::uint64_t GroupBuilder::Add(const match::NamePartners& partners) {
  State& s = *state_;
  if (s.names && !s.criteria.Judges()) {
    // Every pair counts: the runs go in whole, however many names they
    // hold.
    s.names->Add(partners);
    return partners.PairCount();
  }
  if (s.class_keys) {
    const auto& key = s.class_keys->KeyOf(partners.a);
    if (!key) return 0;
    std::uint64_t pairs = 0;
    for (const match::PartnerRun& run : partners.runs) {
      const ClassKeys::Found found = s.class_keys->Find(run, *key);
      if (found.count == 0) continue;
      s.components->Join(partners.a, found.first);
      pairs += found.count;
    }
    return pairs;
  }
  s.criteria.Filter(partners, s.kept_names, s.kept_runs);
  if (s.names) {
    s.names->Add({partners.a, s.kept_runs});
  } else {
    for (const match::NameId b : s.kept_names)
      s.components->Join(partners.a, b);
  }
  return s.kept_names.size();
}

report::GroupSet GroupBuilder::Finish(ScanFiles& files, group::KeepRule rule) {
  std::vector<group::Members> members =
      state_->names ? state_->names->Take() : state_->components->Groups();
  // Facts read now are kept for the files in groups only.
  if (files.facts.empty()) {
    for (const group::Members& group : members) {
      for (const group::FileIndex file : group) {
        if (auto facts = collect::ReadFileFacts(files.paths[file])) {
          files.member_facts.emplace_back(file, *facts);
        }
      }
    }
    std::sort(files.member_facts.begin(), files.member_facts.end(),
              [](const auto& x, const auto& y) { return x.first < y.first; });
  }
  const report::FileTable table = files.Table({});

  report::GroupSet set;
  set.confirmed = state_->confirmed;
  // The rule sees each group on its own: its members numbered 0, 1, ...
  std::vector<group::FileIndex> local;
  std::vector<group::KeepFacts> facts;
  for (group::Members& group : members) {
    local.resize(group.size());
    facts.resize(group.size());
    for (std::size_t i = 0; i < group.size(); ++i) {
      local[i] = static_cast<group::FileIndex>(i);
      group::KeepFacts& f = facts[i];
      f = {};
      f.path = files.paths[group[i]];
      if (const auto* known = table.Facts(group[i])) {
        f.has_time = true;
        f.mtime = known->mtime;
        f.mtime_nsec = known->mtime_nsec;
      }
      f.reference = table.Reference(group[i]);
    }
    group::KeptGroup kept = group::ChooseKept(local, rule, facts);
    if (kept.duplicates.empty()) continue;
    kept.kept = group[kept.kept];
    for (auto& file : kept.also_kept) file = group[file];
    for (auto& file : kept.duplicates) file = group[file];
    set.groups.push_back(std::move(kept));
    group = {};  // its files are in the kept group now
  }
  return set;
}

}  // namespace wordlap::cli
