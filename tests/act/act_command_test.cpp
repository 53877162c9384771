// The actions from the outside: real files in temporary trees, reports
// written from what the files are, and the tree looked at afterwards.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "act/temp_file.h"
#include "tests/act/act_tree.h"

namespace wordlap::test {
namespace {
namespace fs = std::filesystem;

struct ActionCase {
  const char* name;
  std::vector<std::string> extra;  // after the report
};

// Every action; move's destination and the trash lie outside "tree/".
const std::vector<ActionCase> kActions = {
    {"trash", {}},
    {"remove", {}},
    {"link", {}},
    {"symlink", {}},
    {"move", {"--to", "dest"}},
};

// The line without its first word.
std::string AfterWord(const std::string& line) {
  const std::size_t space = line.find(' ');
  return space == std::string::npos ? std::string() : line.substr(space + 1);
}

std::string Edited(const std::string& line,
                   const std::function<void(nlohmann::json&)>& edit) {
  nlohmann::json value = nlohmann::json::parse(line);
  edit(value);
  return value.dump();
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class ActTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(tree_.Path("dest"));
    fs::create_directories(tree_.Path("home"));
  }

  // The action run in the temporary folder on `report` (standard input).
  ChildResult Act(const ActionCase& action, const std::string& report,
                  std::vector<std::string> more = {}) const {
    std::vector<std::string> args = {action.name, "-"};
    args.insert(args.end(), action.extra.begin(), action.extra.end());
    args.insert(args.end(), more.begin(), more.end());
    return RunWordlap(args, tree_.root(), report, Env());
  }

  std::vector<std::string> Env() const {
    return {"HOME=" + tree_.Path("home"),
            "XDG_DATA_HOME=" + tree_.Path("home/data")};
  }

  std::string Report(const std::vector<GroupSpec>& groups) const {
    return MakeReport(tree_.root(), groups, "tree");
  }

  std::map<std::string, std::string> Files() const {
    return Snapshot(tree_.Path("tree"));
  }
  bool NothingElseTouched() const {
    return fs::is_empty(tree_.Path("dest")) &&
           !fs::exists(tree_.Path("home/data/Trash/files"));
  }

  TempTree tree_;
};

void SetTimes(const std::string& path, const struct stat& from) {
  const struct timespec times[2] = {from.st_atim, from.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
}

struct stat StatOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
  return info;
}

// A file that is no longer what the report says is left alone: the
// duplicate alone, or its whole group when the kept file changed.
TEST_F(ActTest, FilesChangedAfterTheScanAreSkipped) {
  struct Change {
    const char* name;
    std::function<void(const TempTree&)> apply;
    const char* message;
    // The duplicate is gone: for remove and trash that is done.
    bool gone = false;
  };
  const std::string kept = "tree/a/Song.mp3";
  const std::string duplicate = "tree/b/Song.mp3";
  const std::vector<Change> changes = {
      {"content, same size and time",
       [&](const TempTree& t) {
         const struct stat before = StatOf(t.Path(duplicate));
         WriteFile(t.Path(duplicate), "SAME LENGTH!");
         SetTimes(t.Path(duplicate), before);
       },
       "its content differs from the kept file"},
      {"size",
       [&](const TempTree& t) {
         const struct stat before = StatOf(t.Path(duplicate));
         WriteFile(t.Path(duplicate), "same length!+");
         SetTimes(t.Path(duplicate), before);
       },
       "its size changed"},
      {"modification time",
       [&](const TempTree& t) {
         struct stat later = StatOf(t.Path(duplicate));
         later.st_mtim.tv_nsec = (later.st_mtim.tv_nsec + 1) % 1000000000;
         SetTimes(t.Path(duplicate), later);
       },
       "its modification time changed"},
      {"replaced by another inode of the same bytes and time",
       [&](const TempTree& t) {
         const struct stat before = StatOf(t.Path(duplicate));
         t.Write("tree/b/new", "same length!");
         SetTimes(t.Path("tree/b/new"), before);
         fs::rename(t.Path("tree/b/new"), t.Path(duplicate));
       },
       "another file took its place"},
      {"replaced by a symbolic link",
       [&](const TempTree& t) {
         t.Write("tree/c/other", "same length!");
         fs::remove(t.Path(duplicate));
         fs::create_symlink(t.Path("tree/c/other"), t.Path(duplicate));
       },
       "it is a symbolic link now"},
      {"vanished", [&](const TempTree& t) { fs::remove(t.Path(duplicate)); },
       "it is gone", true},
      {"kept file gone", [&](const TempTree& t) { fs::remove(t.Path(kept)); },
       "the kept file tree/a/Song.mp3: it is gone"},
      {"kept file content",
       [&](const TempTree& t) {
         const struct stat before = StatOf(t.Path(kept));
         WriteFile(t.Path(kept), "SAME LENGTH!");
         SetTimes(t.Path(kept), before);
       },
       "its content differs from the kept file"},
      {"kept file size",
       [&](const TempTree& t) {
         WriteFile(t.Path(kept), "longer than before");
       },
       "the kept file tree/a/Song.mp3: changed since the scan: its size "
       "changed"},
      {"kept file replaced",
       [&](const TempTree& t) {
         const struct stat before = StatOf(t.Path(kept));
         t.Write("tree/a/new", "same length!");
         SetTimes(t.Path("tree/a/new"), before);
         fs::rename(t.Path("tree/a/new"), t.Path(kept));
       },
       "the kept file tree/a/Song.mp3: changed since the scan: another file "
       "took its place"},
      {"kept file is a symbolic link to the duplicate",
       [&](const TempTree& t) {
         fs::remove(t.Path(kept));
         fs::create_symlink(t.Path(duplicate), t.Path(kept));
       },
       "the kept file tree/a/Song.mp3: it is a symbolic link now"},
  };
  for (const Change& change : changes) {
    for (const ActionCase& action : kActions) {
      SCOPED_TRACE(std::string(change.name) + ", " + action.name);
      fs::remove_all(tree_.Path("tree"));
      fs::remove_all(tree_.Path("home/data"));
      tree_.Write(kept, "same length!");
      tree_.Write(duplicate, "same length!");
      const std::string report = Report({{kept, {duplicate}}});
      change.apply(tree_);
      const auto before = Files();

      const ChildResult result = Act(action, report);
      const bool done = change.gone && (std::string(action.name) == "remove" ||
                                        std::string(action.name) == "trash");
      EXPECT_EQ(result.exit_status, done ? 0 : 1) << result.out << result.err;
      if (done) {
        EXPECT_TRUE(Contains(result.out, "1 done before")) << result.out;
      } else {
        EXPECT_TRUE(Contains(result.out, "skipped ")) << result.out;
        EXPECT_TRUE(Contains(result.out, change.message)) << result.out;
      }
      EXPECT_EQ(Files(), before);
      EXPECT_TRUE(NothingElseTouched());
    }
  }
}

struct Outcome {
  const char* action;
  std::function<void(const TempTree&, const std::string& kept,
                     const std::string& duplicate)>
      check;
};

// Each action does what it says to every duplicate and leaves the kept
// file; its dry run prints the same lines and changes nothing; a rerun has
// nothing left to do.
TEST_F(ActTest, EachActionAppliesTheReport) {
  const std::string kept = "tree/Artist - Song.mp3";
  const std::vector<std::string> duplicates = {
      "tree/copy/Song - Artist.mp3", "tree/copy/deep/Artist Song.mp3"};
  const std::vector<Outcome> outcomes = {
      {"trash",
       [](const TempTree& t, const std::string&, const std::string& d) {
         EXPECT_FALSE(fs::exists(fs::symlink_status(t.Path(d))));
         const std::string name = fs::path(d).filename();
         EXPECT_EQ(ReadFile(t.Path("home/data/Trash/files/" + name)), "bytes");
         EXPECT_TRUE(
             fs::exists(t.Path("home/data/Trash/info/" + name + ".trashinfo")));
       }},
      {"remove",
       [](const TempTree& t, const std::string&, const std::string& d) {
         EXPECT_FALSE(fs::exists(fs::symlink_status(t.Path(d))));
       }},
      {"link",
       [](const TempTree& t, const std::string& k, const std::string& d) {
         EXPECT_TRUE(fs::equivalent(t.Path(k), t.Path(d)));
         EXPECT_FALSE(fs::is_symlink(t.Path(d)));
       }},
      {"symlink",
       [](const TempTree& t, const std::string& k, const std::string& d) {
         EXPECT_TRUE(fs::is_symlink(t.Path(d)));
         EXPECT_EQ(fs::read_symlink(t.Path(d)), t.Path(k));
       }},
      {"move",
       [](const TempTree& t, const std::string&, const std::string& d) {
         EXPECT_FALSE(fs::exists(fs::symlink_status(t.Path(d))));
         // Below the destination as it was below the scanned root.
         EXPECT_EQ(ReadFile(t.Path("dest/" + d.substr(5))), "bytes");
       }},
  };
  for (const Outcome& outcome : outcomes) {
    SCOPED_TRACE(outcome.action);
    const ActionCase& action = *std::find_if(
        kActions.begin(), kActions.end(), [&](const ActionCase& a) {
          return std::string(a.name) == outcome.action;
        });
    fs::remove_all(tree_.Path("tree"));
    tree_.Write(kept, "bytes");
    for (const std::string& d : duplicates) tree_.Write(d, "bytes");
    const std::string report = Report({{kept, duplicates}});
    const auto before = Files();

    const ChildResult dry = Act(action, report, {"--dry-run"});
    EXPECT_EQ(dry.exit_status, 0) << dry.err;
    EXPECT_EQ(Files(), before);
    EXPECT_TRUE(NothingElseTouched());

    const ChildResult result = Act(action, report);
    EXPECT_EQ(result.exit_status, 0) << result.out << result.err;
    // "would remove X" for each "removed X", the summary too.
    const std::vector<std::string> done = Lines(result.out);
    const std::vector<std::string> would = Lines(dry.out);
    ASSERT_EQ(would.size(), done.size()) << dry.out << result.out;
    for (std::size_t i = 0; i < done.size(); ++i) {
      EXPECT_TRUE(would[i].starts_with("would ")) << would[i];
      EXPECT_EQ(AfterWord(AfterWord(would[i])), AfterWord(done[i]));
    }
    EXPECT_TRUE(Contains(result.out, "2 files (10 bytes")) << result.out;
    EXPECT_EQ(ReadFile(tree_.Path(kept)), "bytes");
    for (const std::string& d : duplicates) outcome.check(tree_, kept, d);
    EXPECT_TRUE(TempFilesBelow(tree_.root()).empty());

    const ChildResult again = Act(action, report);
    EXPECT_EQ(again.exit_status, 0) << again.out << again.err;
    EXPECT_EQ(Lines(again.out).size(), 1u) << again.out;
    EXPECT_TRUE(Contains(again.out, "0 files (0 bytes")) << again.out;
    EXPECT_TRUE(Contains(again.out, "2 done before")) << again.out;
    fs::remove_all(tree_.Path("dest"));
    fs::create_directories(tree_.Path("dest"));
    fs::remove_all(tree_.Path("home/data"));
  }
}

// Files marked as references, files in --reference folders, the kept file
// listed again as a duplicate, and a file kept by another group all stay;
// so the last copy of a content always does.
TEST_F(ActTest, ReferencesAndTheLastCopyStay) {
  tree_.Write("tree/keep.mp3", "one");
  tree_.Write("tree/marked.mp3", "one");
  tree_.Write("tree/refs/in reference folder.mp3", "one");
  tree_.Write("tree/other/keep.mp3", "two");
  tree_.Write("tree/other/gone.mp3", "two");
  fs::create_hard_link(tree_.Path("tree/keep.mp3"),
                       tree_.Path("tree/hard link.mp3"));
  const std::string report = Report({
      {"tree/keep.mp3",
       {"tree/marked.mp3", "tree/refs/in reference folder.mp3", "tree/keep.mp3",
        "tree/hard link.mp3", "tree/other/keep.mp3"},
       "content",
       {"tree/marked.mp3"}},
      {"tree/other/keep.mp3", {"tree/other/gone.mp3"}},
  });
  for (const ActionCase& action : kActions) {
    SCOPED_TRACE(action.name);
    const auto before = Files();
    const ChildResult result =
        Act(action, report, {"--reference", "tree/refs", "--dry-run"});
    EXPECT_EQ(result.exit_status, 1) << result.out << result.err;
    std::vector<std::string> expected = {
        "kept tree/marked.mp3 (reference)",
        "kept tree/refs/in reference folder.mp3 (reference)",
        "skipped tree/keep.mp3: it is the kept file of a group",
        "skipped tree/hard link.mp3: it is the kept file itself now",
        "skipped tree/other/keep.mp3: it is the kept file of a group",
    };
    // For link, a hard link to the kept file is done.
    if (std::string(action.name) == "link")
      expected.erase(expected.begin() + 3);
    std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), expected.size() + 2) << result.out;
    EXPECT_TRUE(lines[expected.size()].starts_with("would ")) << result.out;
    lines.resize(expected.size());
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(Files(), before);
  }
  const ChildResult removed =
      Act(kActions[1], report, {"--reference", "tree/refs"});
  EXPECT_EQ(removed.exit_status, 1) << removed.out;
  auto expected = Snapshot(tree_.Path("tree"));
  expected.erase("other/gone.mp3");
  EXPECT_EQ(Files(), expected);
}

// Groups whose content the scan did not confirm are refused; --by-name
// acts on them, but only trash and move, which keep every byte, take a
// duplicate whose bytes differ.
TEST_F(ActTest, GroupsOfNamesOnlyNeedByName) {
  struct Row {
    const char* action;
    bool by_name;
    int status;
    bool different_goes;  // the duplicate of other content is acted on
  };
  const std::vector<Row> rows = {
      {"trash", false, 1, false},  {"remove", false, 1, false},
      {"link", false, 1, false},   {"symlink", false, 1, false},
      {"move", false, 1, false},   {"trash", true, 0, true},
      {"remove", true, 1, false},  {"link", true, 1, false},
      {"symlink", true, 1, false}, {"move", true, 0, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.action) + (row.by_name ? " --by-name" : ""));
    fs::remove_all(tree_.Path("tree"));
    fs::remove_all(tree_.Path("home/data"));
    fs::remove_all(tree_.Path("dest"));
    fs::create_directories(tree_.Path("dest"));
    tree_.Write("tree/Song.mp3", "take one");
    tree_.Write("tree/x/Song.mp3", "take one");
    tree_.Write("tree/y/Song.mp3", "take two");
    const std::string report = Report(
        {{"tree/Song.mp3", {"tree/x/Song.mp3", "tree/y/Song.mp3"}, "name"}});
    const ActionCase& action = *std::find_if(
        kActions.begin(), kActions.end(),
        [&](const ActionCase& a) { return std::string(a.name) == row.action; });
    const ChildResult result =
        Act(action, report,
            row.by_name ? std::vector<std::string>{"--by-name"}
                        : std::vector<std::string>{});
    EXPECT_EQ(result.exit_status, row.status) << result.out << result.err;
    const auto files = Files();
    if (!row.by_name) {
      EXPECT_TRUE(Contains(result.out, "not confirmed")) << result.out;
      EXPECT_TRUE(Contains(result.out, "--by-name acts on it")) << result.out;
      EXPECT_EQ(files.size(), 3u);
      EXPECT_TRUE(NothingElseTouched());
      continue;
    }
    EXPECT_TRUE(Contains(result.out,
                         "only its names match; acting on it "
                         "because of --by-name"))
        << result.out;
    EXPECT_EQ(files.at("Song.mp3"), "take one");
    // The duplicate of the same bytes is acted on by every action.
    const fs::path same = tree_.Path("tree/x/Song.mp3");
    EXPECT_TRUE(!fs::exists(fs::symlink_status(same)) || fs::is_symlink(same) ||
                fs::hard_link_count(same) == 2);
    EXPECT_EQ(files.count("y/Song.mp3") == 0, row.different_goes);
    if (row.different_goes) {
      EXPECT_TRUE(Contains(result.out,
                           "(its content differs from the kept "
                           "file; --by-name)"))
          << result.out;
      // In the trash or at the destination: every byte is still there.
      EXPECT_TRUE(Contents(tree_.root()).contains("take two"));
    } else {
      EXPECT_EQ(files.at("y/Song.mp3"), "take two");
    }
  }
}

// A report that cannot be trusted as a whole is refused before any file is
// touched, with the line that is wrong.
TEST_F(ActTest, AFaultyReportTouchesNothing) {
  tree_.Write("tree/a.mp3", "x");
  tree_.Write("tree/b.mp3", "x");
  const std::string good = Report({{"tree/a.mp3", {"tree/b.mp3"}}});
  const std::vector<std::string> lines = Lines(good);
  const std::string& header = lines[0];
  const std::string& group = lines[1];
  const std::string& end = lines[2];
  const auto replace = [](std::string text, const std::string& from,
                          const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
  };
  struct Bad {
    const char* name;
    std::string report;
    const char* message;
  };
  const std::vector<Bad> bad = {
      {"empty", "", "line 1: the report is empty"},
      {"not a report", "{\"hello\":1}\n" + group + "\n" + end + "\n",
       "line 1: not a wordlap report"},
      {"another version",
       replace(header, "\"wordlap_report\":1", "\"wordlap_report\":2") + "\n" +
           group + "\n" + end + "\n",
       "line 1: a report of format version 2"},
      {"no cwd",
       replace(header, "\"cwd\"", "\"cvd\"") + "\n" + group + "\n" + end + "\n",
       "line 1: no field \"cwd\""},
      {"not JSON",
       header + "\n" + group.substr(0, group.size() - 1) + "\n" + end + "\n",
       "line 2: not valid JSON"},
      {"no keep",
       header + "\n" + replace(group, "\"keep\"", "\"kept\"") + "\n" + end +
           "\n",
       "line 2: no field \"keep\""},
      {"a negative size",
       header + "\n" + replace(group, "\"size\":1", "\"size\":-1") + "\n" +
           end + "\n",
       "line 2: duplicate 1 of group 1: \"size\" is not a non-negative "
       "integer"},
      {"bad base64",
       header + "\n" +
           replace(group, "\"path\":\"tree/b.mp3\"",
                   "\"path\":\"tree/b.mp3\",\"path_base64\":\"dHJ=\"") +
           "\n" + end + "\n",
       "line 2: duplicate 1 of group 1: \"path_base64\" is not base64"},
      {"wrong group number",
       header + "\n" + replace(group, "\"group\":1", "\"group\":2") + "\n" +
           end + "\n",
       "line 2: group 2 where group 1 was expected"},
      {"no duplicates",
       header + "\n" +
           Edited(group,
                  [](nlohmann::json& line) {
                    line["duplicates"] = nlohmann::json::array();
                  }) +
           "\n" + end + "\n",
       "line 2: \"duplicates\" is not a list"},
      {"a duplicate without a path",
       header + "\n" +
           Edited(group,
                  [](nlohmann::json& line) {
                    line["duplicates"][0].erase("path");
                  }) +
           "\n" + end + "\n",
       "line 2: duplicate 1 of group 1: no field \"path\""},
      {"cut short", header + "\n" + group + "\n",
       "line 3: no end line: the report is cut short"},
      {"end counts another group",
       header + "\n" + group + "\n" +
           replace(end, "\"groups\":1", "\"groups\":2") + "\n",
       "line 3: the end line counts 2 groups"},
      {"a line after the end", good + group + "\n",
       "line 4: a line after the end line"},
      {"an invalid UTF-8 byte",
       header + "\n" + replace(group, "tree/b.mp3", "tree/b\xff.mp3") + "\n" +
           end + "\n",
       "line 2: not valid JSON"},
  };
  for (const Bad& row : bad) {
    SCOPED_TRACE(row.name);
    const auto before = Files();
    const ChildResult result = Act(kActions[1], row.report);
    EXPECT_EQ(result.exit_status, 2) << result.out << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(result.err.starts_with("wordlap: remove: standard input " +
                                       std::string(row.message)))
        << result.err;
    EXPECT_EQ(Lines(result.err).size(), 1u) << result.err;
    EXPECT_EQ(Files(), before);
  }
}

// Files the report cannot vouch for stay: a path that named no file where
// the scan ran (no facts), and a reference file the report lists as also
// kept, even when another group offers it as a duplicate.
TEST_F(ActTest, FilesTheReportCannotVouchForStay) {
  tree_.Write("tree/a/Song.mp3", "one");
  tree_.Write("tree/b/Song.mp3", "one");
  tree_.Write("tree/c/Song.mp3", "one");
  tree_.Write("tree/x/Tune.mp3", "two");
  tree_.Write("tree/y/Tune.mp3", "two");
  tree_.Write("tree/z/Tune.mp3", "two");
  const std::vector<std::string> lines =
      Lines(Report({{"tree/a/Song.mp3", {"tree/b/Song.mp3", "tree/c/Song.mp3"}},
                    {"tree/x/Tune.mp3", {"tree/y/Tune.mp3"}},
                    {"tree/z/Tune.mp3", {"tree/x/Tune.mp3"}}}));
  const auto no_facts = [](nlohmann::json& file) {
    for (const char* name : {"size", "mtime", "mtime_nsec", "dev", "ino"}) {
      file.erase(name);
    }
  };
  const std::string report =
      lines[0] + "\n" +
      Edited(lines[1],
             [&](nlohmann::json& line) { no_facts(line["duplicates"][1]); }) +
      "\n" +
      Edited(lines[2],
             [&](nlohmann::json& line) {
               line["also_kept"] = {line["duplicates"][0]};
               line["duplicates"][0] = line["keep"];
               no_facts(line["keep"]);
             }) +
      "\n" + lines[3] + "\n" +
      Edited(lines[4],
             [](nlohmann::json& end) {
               end["end"]["bytes"] = end["end"]["bytes"].get<int>() - 3;
             }) +
      "\n";
  const auto before = Files();
  const ChildResult result = Act(kActions[1], report, {"--dry-run"});
  EXPECT_EQ(result.exit_status, 1) << result.out << result.err;
  EXPECT_EQ(result.out,
            "would remove tree/b/Song.mp3\n"
            "skipped tree/c/Song.mp3: the report has nothing to check it "
            "against (it named no file where the scan ran)\n"
            "skipped group 2 (tree/x/Tune.mp3): the report has nothing to "
            "check the kept file against (it named no file where the scan "
            "ran)\n"
            "skipped tree/x/Tune.mp3: it is the kept file of a group\n"
            "would remove 1 file (3 bytes freed), 3 skipped\n");
  EXPECT_EQ(Files(), before);
}

// What a killed run left under the temporary name beside a duplicate is
// taken away when it holds nothing of its own, by any action; anything
// else stays, and the link that needs the name is not made.
TEST_F(ActTest, LeftoversOfAKilledRunAreClearedWhenTheyHoldNothing) {
  struct Row {
    const char* name;
    const char* action;
    std::function<void(const TempTree&, const std::string& temp)> leave;
    bool cleared;
  };
  const std::vector<Row> rows = {
      {"a hard link to the kept file, then remove", "remove",
       [](const TempTree& t, const std::string& temp) {
         fs::create_hard_link(t.Path("tree/Song.mp3"), temp);
       },
       true},
      {"a symbolic link, then link", "link",
       [](const TempTree& t, const std::string& temp) {
         fs::create_symlink(t.Path("tree/Song.mp3"), temp);
       },
       true},
      {"the kept file's first bytes, then symlink", "symlink",
       [](const TempTree&, const std::string& temp) { WriteFile(temp, "by"); },
       true},
      {"a file of its own, then link", "link",
       [](const TempTree&, const std::string& temp) {
         WriteFile(temp, "its own");
       },
       false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fs::remove_all(tree_.Path("tree"));
    tree_.Write("tree/Song.mp3", "bytes");
    tree_.Write("tree/old/Song.mp3", "bytes");
    const std::string temp =
        tree_.Path("tree/old/" + act::TempNameFor("Song.mp3"));
    row.leave(tree_, temp);
    const ActionCase action{row.action, {}};
    const ChildResult result =
        Act(action, Report({{"tree/Song.mp3", {"tree/old/Song.mp3"}}}));
    EXPECT_EQ(result.exit_status, row.cleared ? 0 : 1) << result.out;
    EXPECT_EQ(fs::exists(fs::symlink_status(temp)), !row.cleared);
    if (!row.cleared) {
      EXPECT_EQ(ReadFile(temp), "its own");
      EXPECT_EQ(ReadFile(tree_.Path("tree/old/Song.mp3")), "bytes");
      EXPECT_TRUE(Contains(result.out, "is in the way")) << result.out;
    }
  }
}

// path_base64 is the path: a name that is not UTF-8 is acted on exactly.
TEST_F(ActTest, PathsInBase64AreTheBytes) {
  const std::string odd = "tree/caf\xe9 \x01.mp3";
  tree_.Write("tree/cafe.mp3", "bytes");
  tree_.Write(odd, "bytes");
  const ChildResult result =
      Act(kActions[1], Report({{"tree/cafe.mp3", {odd}}}));
  EXPECT_EQ(result.exit_status, 0) << result.out << result.err;
  EXPECT_FALSE(fs::exists(tree_.Path(odd)));
  EXPECT_TRUE(fs::exists(tree_.Path("tree/cafe.mp3")));
  // Its bytes as they are, control bytes shown as '?'.
  EXPECT_EQ(Lines(result.out)[0], "removed tree/caf\xe9 ?.mp3") << result.out;
}

TEST_F(ActTest, WrongUsage) {
  tree_.Write("report", Report({}));
  struct Row {
    std::vector<std::string> args;
    const char* message;
  };
  const std::vector<Row> rows = {
      {{"remove"}, "wordlap: remove: REPORT is required"},
      {{"move", "report"}, "wordlap: move: --to is required"},
      {{"move", "report", "--to", "nowhere"}, "wordlap: move: --to: nowhere: "},
      {{"trash", "report", "--reference", "report"},
       "wordlap: trash: --reference: report is not a folder"},
      {{"link", "missing"}, "wordlap: link: missing: No such file"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.args[0] + " " + row.message);
    const ChildResult result = RunWordlap(row.args, tree_.root());
    EXPECT_EQ(result.exit_status, 2);
    EXPECT_TRUE(result.err.starts_with(row.message)) << result.err;
  }
}

}  // namespace
}  // namespace wordlap::test
