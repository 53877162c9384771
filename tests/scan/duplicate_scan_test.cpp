// `wordlap scan` as a duplicate finder, on real files: which pairs the
// content check keeps, groups that hold together, the kept file, the
// filters, and a report that carries every path exactly.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/temp_tree.h"

namespace wordlap {
namespace {

namespace fs = std::filesystem;
using test::ChildResult;
using test::TempTree;

ChildResult Scan(std::vector<std::string> args) {
  args.insert(args.begin(), {WORDLAP_COMMAND, "scan", "--quiet"});
  return test::RunChild(args);
}

// Runs a few lines of python3 on `input`; its output is what it prints.
std::string Python(const std::string& program, const std::string& input) {
  const ChildResult result =
      test::RunChild({WORDLAP_PYTHON3, "-c", program}, {}, input);
  EXPECT_EQ(result.exit_status, 0) << result.err;
  return result.out;
}

// Bytes of a given size that differ with the seed.
std::string Bytes(std::size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  std::uint32_t x = seed * 2654435761u + 1;
  for (char& c : bytes) {
    x = x * 1664525u + 1013904223u;
    c = static_cast<char>(x >> 24);
  }
  return bytes;
}

// The pairs of JSON output as "file name | file name", paths cut to their
// file names.
std::set<std::string> NamePairs(const std::string& json) {
  const std::string out = Python(
      "import json, os, sys\n"
      "for line in sys.stdin:\n"
      "    p = json.loads(line)\n"
      "    print(os.path.basename(p['path_a']) + ' | ' +\n"
      "          os.path.basename(p['path_b']))\n",
      json);
  std::set<std::string> pairs;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) pairs.insert(line);
  return pairs;
}

// Every group of a report as "kept: duplicate, duplicate", file names only.
std::vector<std::string> ReportGroups(const std::string& report) {
  const std::string out = Python(
      "import json, os, sys\n"
      "for line in sys.stdin:\n"
      "    g = json.loads(line)\n"
      "    if 'group' in g:\n"
      "        print(os.path.basename(g['keep']['path']) + ': ' + ', '.join(\n"
      "            os.path.basename(d['path']) for d in g['duplicates']))\n",
      report);
  std::vector<std::string> groups;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) groups.push_back(line);
  return groups;
}

void SetMtime(const std::string& path, std::time_t seconds) {
  const timespec times[2] = {{0, UTIME_OMIT}, {seconds, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

TEST(DuplicateScanTest, TheContentCheckKeepsOnlyIdenticalFiles) {
  const std::size_t kBig = 3 * (1 << 20) + 5;  // more than one read
  std::string last_block = Bytes(kBig, 1);
  last_block.back() ^= 1;
  const struct {
    const char* what;
    std::vector<std::pair<const char*, std::string>> files;
    std::set<std::string> same_size;
    std::set<std::string> same_content;
  } kRows[] = {
      {"same words, same bytes",
       {{"a/Artist - Song.mp3", Bytes(5000, 1)},
        {"b/Song_Artist.mp3", Bytes(5000, 1)}},
       {"Artist - Song.mp3 | Song_Artist.mp3"},
       {"Artist - Song.mp3 | Song_Artist.mp3"}},
      {"same words, other bytes of another size",
       {{"a/Artist - Song.mp3", Bytes(5000, 1)},
        {"b/Song_Artist.mp3", Bytes(5001, 1)}},
       {},
       {}},
      {"same words, same size, last byte of a large file differs",
       {{"a/Artist - Song.mp3", Bytes(kBig, 1)},
        {"b/Song_Artist.mp3", last_block}},
       {"Artist - Song.mp3 | Song_Artist.mp3"},
       {}},
      {"same bytes, names that do not match",
       {{"a/Artist - Song.mp3", Bytes(5000, 1)},
        {"b/Other Tune.mp3", Bytes(5000, 1)}},
       {},
       {}},
      {"two empty files",
       {{"a/Artist - Song.mp3", ""}, {"b/Song_Artist.mp3", ""}},
       {"Artist - Song.mp3 | Song_Artist.mp3"},
       {"Artist - Song.mp3 | Song_Artist.mp3"}},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.what);
    TempTree tree;
    for (const auto& [name, content] : row.files) tree.Write(name, content);
    const std::string root = tree.Root().string();
    const ChildResult size = Scan({"--same-size", "--format", "json", root});
    const ChildResult content =
        Scan({"--same-content", "--format", "json", root});
    ASSERT_EQ(size.exit_status, 0) << size.err;
    ASSERT_EQ(content.exit_status, 0) << content.err;
    EXPECT_EQ(NamePairs(size.out), row.same_size);
    EXPECT_EQ(NamePairs(content.out), row.same_content);
  }
}

// a matches b and b matches c, a and c do not match; d matches a and b by
// name but holds other bytes.
TEST(DuplicateScanTest, ContentGroupsAreConnectedSetsOfIdenticalFiles) {
  TempTree tree;
  const std::string same = Bytes(7000, 3);
  tree.Write("1/alpha beta.mp3", same);
  tree.Write("2/alpha beta gamma delta epsilon zeta eta theta iota kappa.mp3",
             same);
  tree.Write("3/beta gamma delta epsilon zeta eta theta iota kappa.mp3", same);
  tree.Write("4/alpha beta gamma.mp3", Bytes(7000, 4));
  const std::string root = tree.Root().string();

  const ChildResult report =
      Scan({"--same-content", "--format", "report", root});
  ASSERT_EQ(report.exit_status, 0) << report.err;
  EXPECT_EQ(ReportGroups(report.out),
            std::vector<std::string>{
                "alpha beta.mp3: alpha beta gamma delta epsilon zeta eta "
                "theta iota kappa.mp3, beta gamma delta epsilon zeta eta "
                "theta iota kappa.mp3"});
  // Every file of the group has the hash of every other, and the group
  // says it was confirmed.
  EXPECT_EQ(Python("import json, sys\n"
                   "for line in sys.stdin:\n"
                   "    g = json.loads(line)\n"
                   "    if 'group' in g:\n"
                   "        files = [g['keep']] + g['duplicates']\n"
                   "        print(g['confirmed'], len({f['xxh3_128'] for f in "
                   "files}), [d['found'] for d in g['duplicates']])\n",
                   report.out),
            "content 1 [2, 1]\n");

  // By name alone the group is a star around the first file, and says so.
  const ChildResult text = Scan({"--keep", "first", root});
  ASSERT_EQ(text.exit_status, 0) << text.err;
  EXPECT_TRUE(text.out.starts_with("Name groups only: ")) << text.out;
  EXPECT_NE(text.out.find("\n    " + tree.Path("4/alpha beta gamma.mp3") +
                          "  6.8 KiB  [2 of 2 words, 100.0%]\n"),
            std::string::npos)
      << text.out;
}

// Files of one name in many folders are one class of names: their groups
// still follow their contents, with every identical file in its group.
TEST(DuplicateScanTest, FilesOfOneNameGroupByContentAndBySize) {
  TempTree tree;
  // Contents 0 and 1 have one size, content 2 another.
  for (int i = 0; i < 30; ++i) {
    const int content = i % 3;
    tree.Write("f" + std::to_string(100 + i) + "/cover.jpg",
               Bytes(content == 2 ? 900 : 700, content));
  }
  const std::string root = tree.Root().string();
  const std::string summary =
      "import json, sys\n"
      "for line in sys.stdin:\n"
      "    g = json.loads(line)\n"
      "    if 'group' in g:\n"
      "        files = [g['keep']] + g['duplicates']\n"
      "        print(len(files), len({f['size'] for f in files}),\n"
      "              len({f.get('xxh3_128') for f in files}))\n";
  const ChildResult content =
      Scan({"--same-content", "--format", "report", root});
  ASSERT_EQ(content.exit_status, 0) << content.err;
  EXPECT_EQ(Python(summary, content.out), "10 1 1\n10 1 1\n10 1 1\n");
  const ChildResult size = Scan({"--same-size", "--format", "report", root});
  ASSERT_EQ(size.exit_status, 0) << size.err;
  EXPECT_EQ(Python(summary, size.out), "20 1 1\n10 1 1\n");
}

// One group of identical files seen by every keep rule.
TEST(DuplicateScanTest, EachKeepRuleAndReferenceFolderKeepsItsFile) {
  TempTree tree;
  const std::string same = Bytes(3000, 5);
  SetMtime(tree.Write("a/Copy of Song.mp3", same), 3000);
  SetMtime(tree.Write("b/Song.mp3", same), 1000);
  SetMtime(tree.Write("c/deeper/folder/Song (1).mp3", same), 2000);
  const std::string root = tree.Root().string();
  const struct {
    std::vector<std::string> options;
    std::vector<std::string> groups;
  } kRows[] = {
      {{}, {"Song.mp3: Copy of Song.mp3, Song (1).mp3"}},
      {{"--keep", "default"}, {"Song.mp3: Copy of Song.mp3, Song (1).mp3"}},
      {{"--keep", "first"}, {"Copy of Song.mp3: Song.mp3, Song (1).mp3"}},
      {{"--keep", "newest"}, {"Copy of Song.mp3: Song.mp3, Song (1).mp3"}},
      {{"--keep", "oldest"}, {"Song.mp3: Copy of Song.mp3, Song (1).mp3"}},
      {{"--keep", "shortest-path"},
       {"Song.mp3: Copy of Song.mp3, Song (1).mp3"}},
      {{"--keep", "longest-path"},
       {"Song (1).mp3: Copy of Song.mp3, Song.mp3"}},
      // The reference folder wins over every rule.
      {{"--keep", "oldest", "--reference", tree.Path("c")},
       {"Song (1).mp3: Copy of Song.mp3, Song.mp3"}},
      // Two reference files: both stay, only the third is offered.
      {{"--reference", tree.Path("a"), "--reference=" + tree.Path("c")},
       {"Copy of Song.mp3: Song.mp3"}},
      // Nothing but reference files: nothing to report.
      {{"--reference", root}, {}},
  };
  for (const auto& row : kRows) {
    std::vector<std::string> args = row.options;
    SCOPED_TRACE(testing::PrintToString(args));
    args.insert(args.end(), {"--same-content", "--format", "report", root});
    const ChildResult result = Scan(args);
    ASSERT_EQ(result.exit_status, 0) << result.err;
    EXPECT_EQ(ReportGroups(result.out), row.groups);
  }
}

TEST(DuplicateScanTest, FiltersLeaveFilesOut) {
  TempTree tree;
  tree.Write("a/01.mp3", "x");
  tree.Write("b/01.mp3", "x");
  tree.Write("a/Artist - Song.mp3", Bytes(100, 1));
  tree.Write("b/Song_Artist.mp3", Bytes(100, 1));
  tree.Write("a/Big Tune.flac", Bytes(20000, 2));
  tree.Write("tmp/Big_Tune.flac", Bytes(20000, 2));
  tree.Write(".hidden/Artist Song.mp3", Bytes(100, 1));
  const std::string root = tree.Root().string();
  const std::string one = "01.mp3 | 01.mp3";
  const std::string song = "Artist - Song.mp3 | Song_Artist.mp3";
  const std::string tune = "Big Tune.flac | Big_Tune.flac";
  const std::string hidden = "Artist Song.mp3 | Artist - Song.mp3";
  const std::string hidden_b = "Artist Song.mp3 | Song_Artist.mp3";
  const struct {
    std::vector<std::string> options;
    std::set<std::string> pairs;
  } kRows[] = {
      {{}, {one, song, tune}},
      {{"--hidden"}, {one, song, tune, hidden, hidden_b}},
      {{"--min-words", "2"}, {song, tune}},
      {{"--renamed-only"}, {song, tune}},
      {{"--exclude", "tmp"}, {one, song}},
      {{"--exclude", "*.flac", "--exclude", "b/*"}, {}},
      {{"--min-size", "2"}, {song, tune}},
      {{"--max-size", "1k"}, {one, song}},
      {{"--min-size", "101", "--max-size", "19.5k"}, {}},
  };
  for (const auto& row : kRows) {
    std::vector<std::string> args = row.options;
    SCOPED_TRACE(testing::PrintToString(args));
    // The options come last before the folder: one that takes a value
    // takes one, and the folder stays a folder.
    args.insert(args.begin(), {"--format", "json"});
    args.push_back(root);
    const ChildResult result = Scan(args);
    if (row.options.size() == 4 && row.options[3] == "19.5k") {
      EXPECT_EQ(result.exit_status, 2);  // not a size
      EXPECT_NE(result.err.find("--max-size: not a size"), std::string::npos)
          << result.err;
      continue;
    }
    ASSERT_EQ(result.exit_status, 0) << result.err;
    EXPECT_EQ(NamePairs(result.out), row.pairs);
  }
}

// File names with bytes that are not UTF-8: the report, the pair JSON and
// the NUL list give every byte back.
TEST(DuplicateScanTest, EveryByteOfEveryPathSurvivesTheReport) {
  TempTree tree;
  const std::string same = Bytes(500, 9);
  const std::vector<std::string> names = {"caf\xe9 love.mp3",
                                          "LOVE caf\xe9.mp3",
                                          "Love Caf\xc3\xa9.mp3",
                                          "love_caf\xc3\xa9 \xff\xfe.mp3",
                                          "love \x80 caf\xe9.mp3",
                                          "line\nbreak love caf\xe9.mp3",
                                          "quote\" back\\ love caf\xe9.mp3"};
  std::set<std::string> written;
  for (const std::string& name : names) {
    written.insert(tree.Write("d\xf0/" + name, same));
  }
  const std::string root = tree.Root().string();
  // Decodes a path field as a reader must: the base64 bytes when present.
  const std::string decode =
      "import base64, json, sys\n"
      "def path(f, key='path'):\n"
      "    b = f.get(key + '_base64')\n"
      "    return base64.b64decode(b) if b else f[key].encode()\n"
      "out = sys.stdout.buffer\n";

  const ChildResult report =
      Scan({"--same-content", "--format", "report", root});
  ASSERT_EQ(report.exit_status, 0) << report.err;
  const std::string from_report =
      Python(decode +
                 "for line in sys.stdin:\n"
                 "    g = json.loads(line)\n"
                 "    if 'group' in g:\n"
                 "        for f in [g['keep']] + g['duplicates']:\n"
                 "            out.write(path(f) + b'\\0')\n",
             report.out);
  const std::string duplicates_in_report =
      Python(decode +
                 "for line in sys.stdin:\n"
                 "    g = json.loads(line)\n"
                 "    for f in g.get('duplicates', []):\n"
                 "        out.write(path(f) + b'\\0')\n",
             report.out);
  const ChildResult pairs = Scan({"--format", "json", root});
  ASSERT_EQ(pairs.exit_status, 0) << pairs.err;
  const std::string from_pairs = Python(
      decode +
          "for line in sys.stdin:\n"
          "    p = json.loads(line)\n"
          "    out.write(path(p, 'path_a') + b'\\0' + path(p, 'path_b') + "
          "b'\\0')\n",
      pairs.out);
  const ChildResult dupes =
      Scan({"--same-content", "--format", "dupes0", root});
  ASSERT_EQ(dupes.exit_status, 0) << dupes.err;

  const auto split = [](const std::string& list) {
    std::vector<std::string> paths;
    std::istringstream in(list);
    for (std::string path; std::getline(in, path, '\0');) {
      paths.push_back(path);
    }
    return paths;
  };
  const std::vector<std::string> reported = split(from_report);
  EXPECT_EQ(std::set<std::string>(reported.begin(), reported.end()), written);
  EXPECT_EQ(reported.size(), written.size());  // each file once
  const std::vector<std::string> paired = split(from_pairs);
  EXPECT_EQ(std::set<std::string>(paired.begin(), paired.end()), written);
  // Two groups: the names with the UTF-8 "é" and those with the byte E9
  // do not match. The NUL list is their duplicates, never a kept file.
  EXPECT_EQ(std::count(report.out.begin(), report.out.end(), '\n'), 4);
  EXPECT_EQ(split(dupes.out), split(duplicates_in_report));
  EXPECT_EQ(split(dupes.out).size(), written.size() - 2);
  // jq reads the whole report, and the strings are text for people.
  const ChildResult jq =
      test::RunChild({WORDLAP_JQ, "-r", ".keep.path // empty"}, {}, report.out);
  EXPECT_EQ(jq.exit_status, 0) << jq.err;
  EXPECT_NE(jq.out.find("\xef\xbf\xbd"), std::string::npos) << jq.out;
}

// A file that cannot be read is left out with a warning and exit status 1;
// the others are still confirmed.
TEST(DuplicateScanTest, AnUnreadableFileIsLeftOutWithStatus1) {
  TempTree tree;
  const std::string same = Bytes(800, 7);
  tree.Write("a/Artist - Song.mp3", same);
  tree.Write("b/Song_Artist.mp3", same);
  const std::string locked = tree.Write("c/Artist Song.mp3", same);
  ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
  std::vector<std::string> command = {
      WORDLAP_COMMAND, "scan", "--quiet",           "--same-content",
      "--format",      "json", tree.Root().string()};
  // root reads every file whatever its mode: run the scan as nobody.
  if (::geteuid() == 0) {
    fs::permissions(tree.Root(),
                    fs::perms::others_read | fs::perms::others_exec,
                    fs::perm_options::add);
    for (const char* dir : {"a", "b", "c"}) {
      fs::permissions(tree.Path(dir),
                      fs::perms::others_read | fs::perms::others_exec,
                      fs::perm_options::add);
      for (const auto& entry : fs::directory_iterator(tree.Path(dir))) {
        fs::permissions(entry.path(), fs::perms::others_read,
                        fs::perm_options::add);
      }
    }
    ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
    command.insert(command.begin(), {WORDLAP_SETPRIV, "--reuid=65534",
                                     "--regid=65534", "--clear-groups"});
  }
  const ChildResult result = test::RunChild(command);
  EXPECT_EQ(result.exit_status, 1) << result.err;
  EXPECT_NE(result.err.find("wordlap: warning: cannot read " + locked),
            std::string::npos)
      << result.err;
  EXPECT_EQ(NamePairs(result.out),
            std::set<std::string>{"Artist - Song.mp3 | Song_Artist.mp3"});
}

}  // namespace
}  // namespace wordlap
