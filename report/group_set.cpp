#include "report/group_set.h"

#include <algorithm>

namespace wordlap::report {

std::string_view ConfirmationName(Confirmation confirmation) {
  switch (confirmation) {
    case Confirmation::kContent:
      return "content";
    case Confirmation::kSize:
      return "size";
    case Confirmation::kName:
      break;
  }
  return "name";
}

const collect::FileFacts* FileTable::Facts(group::FileIndex file) const {
  if (facts.empty()) {
    const auto it = std::lower_bound(
        member_facts.begin(), member_facts.end(), file,
        [](const auto& entry, group::FileIndex f) { return entry.first < f; });
    return it != member_facts.end() && it->first == file ? &it->second
                                                         : nullptr;
  }
  if (file >= facts.size() || !facts[file]) return nullptr;
  return &*facts[file];
}

const confirm::ContentHash* FileTable::Hash(group::FileIndex file) const {
  if (file >= hashes.size() || !hashes[file]) return nullptr;
  return &*hashes[file];
}

bool FileTable::Reference(group::FileIndex file) const {
  return file < reference.size() && reference[file] != 0;
}

const std::string* FileTable::Root(group::FileIndex file) const {
  if (roots == nullptr) return nullptr;
  const std::optional<std::size_t> root = roots->RootOf(paths[file]);
  return root ? &root_names[*root] : nullptr;
}

GroupTotals TotalsOf(const FileTable& files, const GroupSet& set) {
  GroupTotals totals;
  for (const group::KeptGroup& group : set.groups) {
    ++totals.groups;
    totals.duplicates += group.duplicates.size();
    for (const group::FileIndex file : group.duplicates) {
      if (const auto* facts = files.Facts(file)) totals.bytes += facts->size;
    }
  }
  return totals;
}

}  // namespace wordlap::report
