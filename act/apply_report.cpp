#include "act/apply_report.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <optional>
#include <set>
#include <utility>

#include "act/byte_compare.h"
#include "act/file_actions.h"
#include "act/move_file.h"
#include "act/opened_file.h"
#include "act/temp_file.h"

namespace wordlap::act {
namespace {

struct Verb {
  const char* done;   // "removed"
  const char* would;  // "would remove"
};

Verb VerbOf(Action action) {
  switch (action) {
    case Action::kTrash:
      return {"trashed", "would trash"};
    case Action::kRemove:
      return {"removed", "would remove"};
    case Action::kLink:
      return {"linked", "would link"};
    case Action::kSymlink:
      return {"symlinked", "would symlink"};
    case Action::kMove:
      return {"moved", "would move"};
  }
  return {"", ""};
}

std::string StatusText(const OpenedFile& file) {
  switch (file.status) {
    case OpenedFile::Status::kOpen:
      return {};
    case OpenedFile::Status::kMissing:
      return "it is gone";
    case OpenedFile::Status::kSymlink:
      return "it is a symbolic link now";
    case OpenedFile::Status::kNotRegular:
      return "it is not a regular file now";
    case OpenedFile::Status::kError:
      break;
  }
  return ErrorText(file.error);
}

using Identity = std::pair<std::uint64_t, std::uint64_t>;

// Where below --to a duplicate goes: its path below its root, or the path
// the report gives when it has no root. Nothing when that path would leave
// the folder.
std::optional<std::string> PlaceBelow(const ReportFile& file) {
  std::string_view rest = file.path;
  if (file.root) {
    std::string root = *file.root;
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    if (root == "/") root.clear();
    if (!file.resolved.starts_with(root + "/")) return std::nullopt;
    rest = std::string_view(file.resolved).substr(root.size() + 1);
  }
  std::string place;
  while (!rest.empty()) {
    const std::size_t slash = rest.find('/');
    const std::string_view part = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view()
                                           : rest.substr(slash + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") return std::nullopt;
    if (!place.empty()) place += '/';
    place += part;
  }
  if (place.empty()) return std::nullopt;
  return place;
}

class Applier {
 public:
  Applier(const Report& report, const ActOptions& options, const LineOut& say)
      : options_(options), say_(say), verb_(VerbOf(options.action)) {
    for (const ReportGroup& group : report.groups) {
      Keep(group.keep);
      for (const ReportFile& also : group.also_kept) Keep(also);
    }
  }

  void Group(const ReportGroup& group) {
    const std::string head = "group " + std::to_string(group.number) + " (" +
                             Shown(group.keep.path) + ")";
    if (group.confirmed != "content") {
      const std::string what = group.confirmed == "size"
                                   ? "only its names and sizes match"
                                   : "only its names match";
      if (!options_.by_name) {
        SkipGroup(group, head + ": its content was not confirmed, " + what +
                             "; --by-name acts on it");
        return;
      }
      say_(head + ": " + what + "; acting on it because of --by-name");
    }
    if (!group.keep.has_facts) {
      SkipGroup(group, head +
                           ": the report has nothing to check the kept "
                           "file against (it named no file where the "
                           "scan ran)");
      return;
    }
    const OpenedFile kept = OpenedFile::Open(group.keep.resolved);
    std::string why = StatusText(kept);
    if (why.empty()) why = Difference(group.keep, kept.stat);
    if (!why.empty()) {
      SkipGroup(group, head + ": the kept file " + Shown(group.keep.path) +
                           ": " +
                           (kept.status == OpenedFile::Status::kOpen
                                ? "changed since the scan: "
                                : "") +
                           why);
      return;
    }
    for (const ReportFile& duplicate : group.duplicates) {
      Duplicate(group, kept, duplicate);
    }
  }

  const ActTotals& totals() const { return totals_; }

 private:
  void Keep(const ReportFile& file) {
    if (file.has_facts) kept_.insert({file.dev, file.ino});
    kept_paths_.insert(file.resolved);
  }

  void SkipGroup(const ReportGroup& group, const std::string& line) {
    say_("skipped " + line);
    totals_.skipped += group.duplicates.size();
  }

  void Skip(const ReportFile& file, const std::string& why) {
    say_("skipped " + Shown(file.path) + ": " + why);
    ++totals_.skipped;
  }

  void Done(const std::string& what, std::uint64_t bytes) {
    say_(std::string(options_.dry_run ? verb_.would : verb_.done) + " " + what);
    ++totals_.files;
    totals_.bytes += bytes;
  }

  // Whether the file lies under a --reference folder; nothing when that
  // cannot be told, and then the file stays too.
  std::optional<bool> UnderReference(const OpenedFile& file) const {
    if (options_.reference_dirs.empty()) return false;
    // The folder that was opened, wherever its path leads now.
    char real[PATH_MAX];
    const std::string link = "/proc/self/fd/" + std::to_string(file.dir.get());
    const ssize_t length = ::readlink(link.c_str(), real, sizeof real - 1);
    std::string path;
    if (length > 0) {
      path.assign(real, static_cast<std::size_t>(length));
    } else if (::realpath(file.dir_path.c_str(), real) != nullptr) {
      path = real;
    } else {
      return std::nullopt;
    }
    if (path != "/") path += '/';
    path += file.name;
    for (const std::string& dir : options_.reference_dirs) {
      if (path.starts_with(dir == "/" ? dir : dir + "/")) return true;
    }
    return false;
  }

  // The absolute path a symbolic link to the kept file holds.
  static std::string LinkTarget(const std::string& path) {
    if (path.front() == '/') return path;
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd) == nullptr) return path;
    return std::string(cwd) + "/" + path;
  }

  // A duplicate that cannot be opened as a regular file: done by an earlier
  // run, or skipped.
  void NotOpen(const OpenedFile& kept, const ReportFile& duplicate,
               const OpenedFile& file) {
    const Action action = options_.action;
    bool done = false;
    if (file.status == OpenedFile::Status::kMissing) {
      done = action == Action::kRemove || action == Action::kTrash;
      if (action == Action::kMove) {
        const std::optional<std::string> place = PlaceBelow(duplicate);
        done = place && MovedBefore(options_.move_to, *place, duplicate);
      }
    } else if (file.status == OpenedFile::Status::kSymlink &&
               action == Action::kSymlink) {
      struct stat reached {};
      done = ::stat(duplicate.resolved.c_str(), &reached) == 0 &&
             SameInode(reached, kept.stat);
    }
    if (done) {
      ++totals_.done_before;
    } else {
      Skip(duplicate, StatusText(file));
    }
  }

  void Duplicate(const ReportGroup& group, const OpenedFile& kept,
                 const ReportFile& duplicate) {
    if (duplicate.reference) {
      say_("kept " + Shown(duplicate.path) + " (reference)");
      return;
    }
    if (!duplicate.has_facts) {
      Skip(duplicate,
           "the report has nothing to check it against (it named no file "
           "where the scan ran)");
      return;
    }
    const bool kept_itself =
        duplicate.dev == group.keep.dev && duplicate.ino == group.keep.ino;
    if ((!kept_itself && kept_.contains({duplicate.dev, duplicate.ino})) ||
        kept_paths_.contains(duplicate.resolved)) {
      Skip(duplicate, "it is the kept file of a group");
      return;
    }
    const OpenedFile file = OpenedFile::Open(duplicate.resolved);
    if (file.dir && !options_.dry_run) {
      // What a killed link or symlink run left beside the duplicate, also
      // when this run does something else with it. Something else under
      // that name stays; link and symlink then say so.
      ClearStaleTemp(file.dir.get(), TempNameFor(file.name), kept.fd.get());
    }
    if (file.status != OpenedFile::Status::kOpen) {
      NotOpen(kept, duplicate, file);
      return;
    }
    const std::optional<bool> reference = UnderReference(file);
    if (!reference) {
      Skip(duplicate, "cannot tell whether it lies under a --reference folder");
      return;
    }
    if (*reference) {
      say_("kept " + Shown(duplicate.path) + " (reference)");
      return;
    }
    if (SameInode(file.stat, kept.stat)) {
      if (options_.action == Action::kLink) {
        ++totals_.done_before;
      } else {
        Skip(duplicate, "it is the kept file itself now");
      }
      return;
    }
    if (kept_.contains({static_cast<std::uint64_t>(file.stat.st_dev),
                        static_cast<std::uint64_t>(file.stat.st_ino)})) {
      Skip(duplicate, "it is the kept file of a group");
      return;
    }
    if (const std::string changed = Difference(duplicate, file.stat);
        !changed.empty()) {
      Skip(duplicate, "changed since the scan: " + changed);
      return;
    }
    const Comparison content = file.stat.st_size == kept.stat.st_size
                                   ? CompareBytes(file.fd.get(), kept.fd.get())
                                   : Comparison::kDifferent;
    if (content == Comparison::kReadError) {
      Skip(duplicate, "cannot read it or the kept file");
      return;
    }
    std::string note;
    if (content == Comparison::kDifferent) {
      // Trash and move keep every byte: the duplicates of a group of names
      // only may go there when the user said so. In a group confirmed by
      // content, other bytes mean the file changed since the scan.
      const bool keeps_bytes =
          options_.action == Action::kTrash || options_.action == Action::kMove;
      if (!options_.by_name || !keeps_bytes || group.confirmed == "content") {
        Skip(duplicate, "its content differs from the kept file " +
                            Shown(group.keep.path));
        return;
      }
      note = " (its content differs from the kept file; --by-name)";
    }
    Act(group, kept, duplicate, file, note);
  }

  void Act(const ReportGroup& group, const OpenedFile& kept,
           const ReportFile& duplicate, const OpenedFile& file,
           const std::string& note) {
    const std::string shown = Shown(duplicate.path);
    const std::uint64_t size = static_cast<std::uint64_t>(file.stat.st_size);
    // A name of a file with other names frees nothing.
    const std::uint64_t freed = file.stat.st_nlink == 1 ? size : 0;
    const bool dry = options_.dry_run;
    std::string why;
    switch (options_.action) {
      case Action::kRemove:
        if (!dry) why = RemoveDuplicate(file);
        if (why.empty()) Done(shown + note, freed);
        break;
      case Action::kTrash:
        if (!dry) why = TrashDuplicate(file, duplicate.resolved);
        if (why.empty()) Done(shown + note, freed);
        break;
      case Action::kLink:
        if (!dry) why = LinkDuplicate(kept, file);
        if (why.empty()) {
          Done(shown + " -> " + Shown(group.keep.path) + note, freed);
        }
        break;
      case Action::kSymlink: {
        const std::string target = LinkTarget(group.keep.resolved);
        if (!dry) why = SymlinkDuplicate(kept, target, file);
        if (why.empty()) Done(shown + " -> " + Shown(target) + note, freed);
        break;
      }
      case Action::kMove: {
        const std::optional<std::string> place = PlaceBelow(duplicate);
        if (!place) {
          why = "its path does not fit below --to";
          break;
        }
        const MoveResult moved =
            MoveDuplicate(file, options_.move_to, *place, dry);
        if (moved.kind == MoveResult::Kind::kDone) {
          ++totals_.done_before;
        } else if (moved.kind == MoveResult::Kind::kMoved) {
          Done(shown + " -> " + Shown(options_.move_to + "/" + *place) + note,
               size);
        } else {
          why = moved.why;
        }
        break;
      }
    }
    if (!why.empty()) Skip(duplicate, why);
  }

  const ActOptions& options_;
  const LineOut& say_;
  const Verb verb_;
  std::set<Identity> kept_;
  std::set<std::string> kept_paths_;
  ActTotals totals_;
};

}  // namespace

std::string Shown(std::string_view path) {
  std::string shown(path);
  for (char& c : shown) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) c = '?';
  }
  return shown;
}

ActTotals ApplyReport(const Report& report, const ActOptions& options,
                      const LineOut& say,
                      std::atomic<std::size_t>* groups_done) {
  Applier applier(report, options, say);
  for (const ReportGroup& group : report.groups) {
    applier.Group(group);
    if (groups_done != nullptr) ++*groups_done;
  }
  return applier.totals();
}

std::string SummaryLine(const ActOptions& options, const ActTotals& totals) {
  const Verb verb = VerbOf(options.action);
  std::string line = options.dry_run ? verb.would : verb.done;
  line += " " + std::to_string(totals.files) +
          (totals.files == 1 ? " file (" : " files (") +
          std::to_string(totals.bytes) +
          (options.action == Action::kMove ? " bytes moved)" : " bytes freed)");
  if (totals.done_before > 0) {
    line += ", " + std::to_string(totals.done_before) + " done before";
  }
  line += ", " + std::to_string(totals.skipped) + " skipped";
  return line;
}

}  // namespace wordlap::act
