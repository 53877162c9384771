// `wordlap scan` as a user runs it: inputs, output formats, errors, and the
// plug-in mode.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "random_names.h"
#include "tests/support/child_process.h"

extern char** environ;

namespace wordlap {
namespace {

namespace fs = std::filesystem;
using test::ChildResult;
using test::RunChild;

ChildResult Scan(std::vector<std::string> args, const std::string& input = "") {
  args.insert(args.begin(), {WORDLAP_COMMAND, "scan"});
  return RunChild(args, {}, input);
}

std::string NulList(const std::vector<std::string>& paths) {
  std::string list;
  for (const std::string& path : paths) {
    list += path;
    list += '\0';
  }
  return list;
}

// The first line of text output without content confirmation.
constexpr const char* kNameGroupsOnly =
    "Name groups only: the files' contents were not compared "
    "(--same-content compares them).\n\n";

// A fresh directory tree of empty files, removed afterwards.
class ScanDirectoryTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern =
        (fs::temp_directory_path() / "wordlap_scan_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override {
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  std::string Touch(const std::string& relative) {
    const fs::path path = root_ / relative;
    fs::create_directories(path.parent_path());
    std::ofstream{path};
    return path.string();
  }
  std::string Root() const { return root_.string(); }

 private:
  fs::path root_;
};

TEST_F(ScanDirectoryTest, WritesEachFormat) {
  const std::string a = Touch("x/Artist - Song.mp3");
  const std::string b = Touch("y,\"z\"/Song_Artist.mp3");
  Touch("z.txt");
  const std::string r = Root();
  const struct {
    const char* format;
    std::string expected;
  } kRows[] = {
      {"text", std::string(kNameGroupsOnly) + a + "  0 B  (kept)\n    " + b +
                   "  0 B  [2 of 2 words, 100.0%]\n\n"
                   "1 group, 1 duplicate, 0 bytes to free by removing the "
                   "duplicates; 1 matching pair, 3 files scanned\n"},
      {"csv", "path_a,path_b,found,words,percent\r\n" + a + ",\"" + r +
                  "/y,\"\"z\"\"/Song_Artist.mp3\",2,2,100\r\n"},
      {"json", "{\"path_a\":\"" + a + "\",\"path_b\":\"" + r +
                   "/y,\\\"z\\\"/Song_Artist.mp3\",\"found\":2,\"words\":2,"
                   "\"percent\":100}\n"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.format);
    const ChildResult result = Scan({r, "--format", row.format});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.err, "");  // no progress when not on a terminal
    EXPECT_EQ(result.out, row.expected);
  }
}

TEST(ScanCommandTest, ReadsPathListsInListOrder) {
  const struct {
    const char* what;
    std::vector<std::string> args;
    std::string input;
    std::string expected_csv;
  } kRows[] = {
      {"NUL-separated, a newline inside a path, an empty entry",
       {"--files-from", "-", "-0"},
       std::string("b/Song Artist.mp3\0a/new\nline Song Artist.flac\0\0"
                   "c/Other.mp3\0",
                   58),
       "b/Song Artist.mp3,\"a/new\nline Song Artist.flac\",2,2,100\r\n"},
      {"Windows list with CRLF line ends and an empty line",
       {"--files-from", "-"},
       "C:\\Music\\Song - Artist.mp3\r\n\r\nD:\\Backup\\Artist_Song.mp3\r\n",
       "C:\\Music\\Song - Artist.mp3,D:\\Backup\\Artist_Song.mp3,2,2,100\r\n"},
      {"ten of eleven words found, extension filter ignoring case",
       {"--files-from", "-", "--ext", "mp3,FLAC"},
       "a b c d e f g h i j k.MP3\nb c d e f g h i j k l m.flac\n"
       "a b c d e f g h i j k.ogg\n",
       "a b c d e f g h i j k.MP3,b c d e f g h i j k l m.flac,10,11,"
       "90.9090909090909\r\n"},
      {"the same path twice is one file",
       {"--files-from", "-"},
       "Song.mp3\nSong.mp3\n",
       ""},
      {"an empty list", {"--files-from", "-"}, "", ""},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.what);
    std::vector<std::string> args = row.args;
    args.insert(args.end(), {"--format", "csv"});
    const ChildResult result = Scan(args, row.input);
    EXPECT_EQ(result.exit_status, 0) << result.err;
    EXPECT_EQ(result.out,
              "path_a,path_b,found,words,percent\r\n" + row.expected_csv);
  }
}

TEST(ScanCommandTest, KeepsEveryByteOfIllFormedNamesInJson) {
  const ChildResult result = Scan({"--files-from", "-", "--format", "json"},
                                  "caf\xe9 love.mp3\nLOVE caf\xe9.mp3\n");
  ASSERT_EQ(result.exit_status, 0) << result.err;
  EXPECT_EQ(result.out,
            "{\"path_a\":\"caf\xef\xbf\xbd love.mp3\","
            "\"path_a_base64\":\"Y2Fm6SBsb3ZlLm1wMw==\","
            "\"path_b\":\"LOVE caf\xef\xbf\xbd.mp3\","
            "\"path_b_base64\":\"TE9WRSBjYWbpLm1wMw==\","
            "\"found\":2,\"words\":2,\"percent\":100}\n");
}

TEST(ScanCommandTest, NamesWithoutWordsAndSingleFilesGiveEmptyResults) {
  const struct {
    const char* what;
    std::string input;
    const char* summary;
  } kRows[] = {
      {"empty list", "", "0 matching pairs, 0 files scanned\n"},
      {"one file", "Song.mp3\n", "0 matching pairs, 1 file scanned\n"},
      {"no words", ".mp3\nC:\\x\\.mp3\n/a/\n",
       "0 matching pairs, 3 files scanned\n"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.what);
    const ChildResult result = Scan({"--files-from", "-"}, row.input);
    EXPECT_EQ(result.exit_status, 0) << result.err;
    EXPECT_EQ(result.out,
              std::string(kNameGroupsOnly) +
                  "0 groups, 0 duplicates, 0 bytes to free by removing the "
                  "duplicates; " +
                  row.summary);
  }
}

TEST_F(ScanDirectoryTest, RefusesBadUsageWithStatus2) {
  const std::string r = Root();
  const struct {
    std::vector<std::string> args;
    std::string message;
  } kRows[] = {
      {{r + "/missing"}, "wordlap: scan: cannot scan " + r + "/missing"},
      {{}, "wordlap: scan: give directories or files, or --files-from"},
      {{r, "--format", "xml"}, "wordlap: scan: --format: unknown format 'xml'"},
      {{r, "--ext", "mp3,"}, "wordlap: scan: --ext: empty extension"},
      {{r, "--bogus"}, "wordlap: scan: unknown option '--bogus'"},
      {{r, "-0"}, "wordlap: scan: -0 goes with --files-from"},
      {{"--files-from", r + "/no-list"}, "wordlap: scan: cannot open"},
      {{r, "--plugin", r + "/none.so"}, "wordlap: scan: no plug-in at"},
      {{r, "--format"}, "wordlap: scan: --format needs a value"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.message);
    const ChildResult result = Scan(row.args);
    EXPECT_EQ(result.exit_status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind(row.message, 0), 0u) << result.err;
  }
}

TEST_F(ScanDirectoryTest, FollowsLinksOnlyWhenAsked) {
  Touch("music/Love Song.mp3");
  Touch("elsewhere/take 2.mp3");
  fs::create_directory_symlink(Root() + "/music", Root() + "/music/loop");
  fs::create_symlink(Root() + "/elsewhere/take 2.mp3",
                     Root() + "/music/Song Love.mp3");
  const std::string music = Root() + "/music";
  const ChildResult plain = Scan({music, "--format", "csv"});
  EXPECT_EQ(plain.exit_status, 0);
  EXPECT_EQ(plain.out, "path_a,path_b,found,words,percent\r\n");

  // The link to the file counts, under its own name; the loop leads back
  // into a directory already being walked, which is not walked again.
  const ChildResult followed = Scan({music, "--follow", "--format", "text"});
  EXPECT_EQ(followed.exit_status, 0) << followed.err;
  EXPECT_NE(followed.out.find("1 matching pair, 2 files scanned"),
            std::string::npos)
      << followed.out;
}

TEST_F(ScanDirectoryTest, WarnsAboutAnUnreadableDirectoryAndGoesOn) {
  Touch("a/Song.mp3");
  Touch("b/Song.mp3");
  Touch("locked/Song.mp3");
  fs::permissions(Root() + "/locked", fs::perms::none);
  std::vector<std::string> args = {WORDLAP_COMMAND, "scan", Root(), "--format",
                                   "csv"};
  if (::geteuid() == 0) {
    // Root reads every directory unless it gives up the capabilities that
    // let it pass over permissions.
    args.insert(
        args.begin(),
        {"/usr/bin/setpriv", "--bounding-set=-dac_override,-dac_read_search"});
  }
  const ChildResult result = RunChild(args);
  fs::permissions(Root() + "/locked", fs::perms::owner_all);
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_NE(result.err.find("warning: cannot read directory"),
            std::string::npos);
  EXPECT_NE(result.err.find("wordlap: scan: 1 path could not be read"),
            std::string::npos)
      << result.err;
  EXPECT_NE(result.out.find("a/Song.mp3," + Root() + "/b/Song.mp3,1,1,100"),
            std::string::npos);
}

// Paths that name one file, however spelt or reached, are one file: no
// file is reported as its own duplicate. Each row scans one file (or, for
// the paths that name nothing here, as many as differ in text).
TEST_F(ScanDirectoryTest, OneFileUnderManyPathsIsOneFile) {
  Touch("D/Love Song.mp3");
  const std::string r = Root();
  fs::create_directories(r + "/hard");
  fs::create_directories(r + "/links");
  fs::create_hard_link(r + "/D/Love Song.mp3", r + "/hard/Song Love.mp3");
  fs::create_symlink(r + "/D/Love Song.mp3", r + "/links/Song of Love.mp3");
  fs::create_directory_symlink(r + "/D", r + "/links/D again");
  // Relative spellings are relative to the working directory of the scan.
  const int previous = ::open(".", O_RDONLY | O_DIRECTORY);
  ASSERT_GE(previous, 0);
  ASSERT_EQ(::chdir(r.c_str()), 0);
  const struct {
    const char* what;
    std::vector<std::string> args;
    std::string list;
    const char* summary;
  } kRows[] = {
      {"D and ./D", {"D", "./D"}, "", "0 matching pairs, 1 file scanned"},
      {"absolute and relative",
       {r + "/D", "D"},
       "",
       "0 matching pairs, 1 file scanned"},
      {"a doubled slash",
       {r + "//D", "D"},
       "",
       "0 matching pairs, 1 file scanned"},
      {"a way up and down again",
       {"D/../D", "./hard/../D/"},
       "",
       "0 matching pairs, 1 file scanned"},
      {"a file and its directory",
       {"D", "D/Love Song.mp3"},
       "",
       "0 matching pairs, 1 file scanned"},
      {"a hard link", {"D", "hard"}, "", "0 matching pairs, 1 file scanned"},
      {"links followed to the file and to its directory",
       {"D", "links", "--follow"},
       "",
       "0 matching pairs, 1 file scanned"},
      {"listed twice under two spellings",
       {"--files-from", "-"},
       "D/Love Song.mp3\n" + r + "/D/./Love Song.mp3\n",
       "0 matching pairs, 1 file scanned"},
      {"listed and walked",
       {"--files-from", "-", "D"},
       "./hard/Song Love.mp3\n",
       "0 matching pairs, 1 file scanned"},
      // Paths from another machine are text: only the same text is the same
      // file.
      {"listed paths that name nothing here",
       {"--files-from", "-"},
       "X/Love Song.mp3\nX/Love Song.mp3\nX/./Love Song.mp3\n",
       "1 matching pair, 2 files scanned"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.what);
    const ChildResult result = Scan(row.args, row.list);
    EXPECT_EQ(result.exit_status, 0) << result.err;
    EXPECT_NE(result.out.find(row.summary), std::string::npos) << result.out;
  }
  ASSERT_EQ(::fchdir(previous), 0);
  ::close(previous);
}

// The first path in scan order names the file: listed paths come first,
// then the walked ones sorted.
TEST_F(ScanDirectoryTest, AFileKeepsItsFirstPath) {
  Touch("b/Love Song.mp3");
  Touch("c/Song Love.mp3");
  const std::string r = Root();
  fs::create_directories(r + "/a");
  fs::create_hard_link(r + "/b/Love Song.mp3", r + "/a/Love Song (copy).mp3");
  const ChildResult walked =
      Scan({r + "/c", r + "/b", r + "/a", "--format", "csv"});
  EXPECT_EQ(walked.exit_status, 0) << walked.err;
  EXPECT_EQ(walked.out, "path_a,path_b,found,words,percent\r\n" + r +
                            "/a/Love Song (copy).mp3," + r +
                            "/c/Song Love.mp3,2,2,100\r\n");
  const ChildResult listed = Scan({r, "--files-from", "-", "--format", "csv"},
                                  r + "/b/Love Song.mp3\n");
  EXPECT_EQ(listed.exit_status, 0) << listed.err;
  EXPECT_EQ(listed.out, "path_a,path_b,found,words,percent\r\n" + r +
                            "/b/Love Song.mp3," + r +
                            "/c/Song Love.mp3,2,2,100\r\n");
}

TEST(ScanCommandTest, RefusesANulByteInsideALine) {
  const ChildResult result =
      Scan({"--files-from", "-"}, std::string("a.mp3\nb\0c.mp3\nd.mp3\n", 18));
  EXPECT_EQ(result.exit_status, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err.rfind("wordlap: scan: standard input: line 2 holds a "
                             "NUL byte",
                             0),
            0u)
      << result.err;
}

// Text groups over a collection full of overlapping matches: each file in
// one group at most, every member a matching pair with its reference, and
// no matching pair left with both files outside every group.
TEST(ScanCommandTest, GroupsShareNoFileAndMissNoPair) {
  const struct {
    const char* what;
    std::vector<std::string> paths;
  } kLists[] = {
      {"random names", scan::test::RandomPaths(5, 1500)},
      {"names repeated in many folders", scan::test::RepeatedNames(6, 1500)},
  };
  for (const auto& [what, paths] : kLists) {
    SCOPED_TRACE(what);
    const std::string list = NulList(paths);
    const ChildResult csv =
        Scan({"--files-from", "-", "-0", "--format", "csv"}, list);
    // Scan order keeps the first file of each group: the one its members
    // match.
    const ChildResult text =
        Scan({"--files-from", "-", "-0", "--keep", "first"}, list);
    ASSERT_EQ(csv.exit_status, 0);
    ASSERT_EQ(text.exit_status, 0);

    // The generated paths hold no comma, quote or line break, so CSV fields
    // are the paths; text shows a control byte (a tab) as '?'.
    const auto shown = [](std::string path) {
      for (char& c : path) {
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
      }
      return path;
    };
    std::set<std::pair<std::string, std::string>> pairs;
    std::istringstream rows(csv.out);
    std::string row;
    std::getline(rows, row);  // header
    while (std::getline(rows, row)) {
      const std::size_t comma = row.find(',');
      pairs.emplace(
          shown(row.substr(0, comma)),
          shown(row.substr(comma + 1, row.find(',', comma + 1) - comma - 1)));
    }
    ASSERT_FALSE(pairs.empty());

    std::set<std::string> grouped;
    std::string reference;
    std::istringstream groups(text.out);
    for (std::string line; std::getline(groups, line);) {
      if (line.empty() || line.find(" files scanned") != std::string::npos ||
          line.starts_with("Name groups only: ")) {
        continue;
      }
      // The listed paths do not exist here: no size to show.
      if (!line.starts_with("    ")) {
        reference = line.substr(0, line.rfind("  size unknown  (kept)"));
        EXPECT_TRUE(grouped.insert(reference).second) << reference;
        continue;
      }
      const std::string member =
          line.substr(4, line.rfind("  size unknown  [") - 4);
      EXPECT_TRUE(grouped.insert(member).second) << member;
      EXPECT_TRUE(pairs.contains({reference, member})) << member;
    }
    for (const auto& [a, b] : pairs) {
      EXPECT_TRUE(grouped.contains(a) || grouped.contains(b))
          << a << " | " << b;
    }
  }
}

TEST(ScanCommandTest, PluginModeGivesTheSamePairs) {
  for (const auto& [what, paths] :
       {std::pair{"random names", scan::test::RandomPaths(11, 700)},
        std::pair{"names repeated in many folders",
                  scan::test::RepeatedNames(12, 700)}}) {
    const std::string list = NulList(paths);
    for (const char* format : {"csv", "text"}) {
      SCOPED_TRACE(std::string(what) + ", " + format);
      const ChildResult indexed =
          Scan({"--files-from", "-", "-0", "--format", format}, list);
      const ChildResult plugin = Scan({"--files-from", "-", "-0", "--format",
                                       format, "--plugin", WORDLAP_SCAN_PLUGIN},
                                      list);
      ASSERT_EQ(indexed.exit_status, 0) << indexed.err;
      ASSERT_EQ(plugin.exit_status, 0) << plugin.err;
      EXPECT_GT(indexed.out.size(), 1000u);
      EXPECT_EQ(indexed.out, plugin.out);
    }
  }
}

TEST(ScanCommandTest, ScansTheSampleLibrary) {
  const ChildResult result = Scan({WORDLAP_EXAMPLES_DIR});
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_NE(result.out.find("/Café Lumière.mp3  0 B  "), std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find(" groups, "), std::string::npos);
}

// A reader that has gone before the output starts: the scan stops without a
// word and without being killed by SIGPIPE.
TEST(ScanCommandTest, EndsQuietlyWhenTheOutputIsClosed) {
  const std::string list_path =
      (fs::temp_directory_path() /
       ("wordlap_scan_list_" + std::to_string(::getpid())))
          .string();
  std::ofstream(list_path) << NulList(scan::test::RandomPaths(3, 3000));
  int out[2], err[2];
  ASSERT_EQ(::pipe(out), 0);
  ASSERT_EQ(::pipe(err), 0);
  ::close(out[0]);  // nobody will read standard output

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
  std::vector<std::string> args = {
      WORDLAP_COMMAND, "scan", "--files-from", list_path, "-0",
      "--format",      "csv"};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid;
  ASSERT_EQ(posix_spawn(&pid, WORDLAP_COMMAND, &actions, nullptr, argv.data(),
                        environ),
            0);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  ::close(err[1]);
  std::string errors;
  char buffer[4096];
  for (ssize_t n; (n = ::read(err[0], buffer, sizeof buffer)) > 0;) {
    errors.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(err[0]);
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  fs::remove(list_path);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(errors, "");
}

// What an interrupted scan wrote, and how it ended.
struct Interrupted {
  std::string out;
  int status = 0;
};

// Starts a scan of `list_path` writing `format` into a pipe, sends `signal`
// once `before` bytes have arrived, and reads the rest.
Interrupted InterruptScan(const std::string& list_path, const char* format,
                          int signal, std::size_t before) {
  Interrupted result;
  int out[2];
  if (::pipe(out) != 0) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::vector<std::string> args = {WORDLAP_COMMAND, "scan",    "--quiet",
                                   "--files-from",  list_path, "--format",
                                   format};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid;
  const int spawned = posix_spawn(&pid, WORDLAP_COMMAND, &actions, nullptr,
                                  argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (spawned != 0) {
    ::close(out[0]);
    return result;
  }
  bool sent = false;
  char buffer[1 << 16];
  for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) {
    result.out.append(buffer, static_cast<std::size_t>(n));
    if (!sent && result.out.size() >= before) {
      ::kill(pid, signal);
      sent = true;
    }
  }
  ::close(out[0]);
  ::waitpid(pid, &result.status, 0);
  return result;
}

// SIGINT or SIGTERM in the middle of a long output: what was written ends
// with a whole record, and the scan ends by that signal (status 130 or 143
// in a shell).
TEST(ScanCommandTest, AnInterruptedScanEndsOnAWholeRecord) {
  const std::string list_path =
      (fs::temp_directory_path() /
       ("wordlap_scan_covers_" + std::to_string(::getpid())))
          .string();
  {
    // Every pair of these matches: millions of rows, far more than are read.
    std::ofstream list(list_path);
    for (int i = 0; i < 3000; ++i) list << "album " << i << "/cover.jpg\n";
  }
  const struct {
    const char* format;
    int signal;
    std::size_t before;
  } kRows[] = {
      {"csv", SIGINT, 1},       {"csv", SIGTERM, 100000},
      {"csv", SIGINT, 3000000}, {"json", SIGTERM, 1},
      {"json", SIGINT, 100000}, {"json", SIGTERM, 3000000},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(std::string(row.format) + ", signal " +
                 std::to_string(row.signal) + " after " +
                 std::to_string(row.before) + " bytes");
    const Interrupted result =
        InterruptScan(list_path, row.format, row.signal, row.before);
    ASSERT_TRUE(WIFSIGNALED(result.status)) << result.status;
    EXPECT_EQ(WTERMSIG(result.status), row.signal);
    ASSERT_FALSE(result.out.empty());
    ASSERT_EQ(result.out.back(), '\n');
    std::istringstream lines(result.out);
    std::size_t count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
      const bool whole =
          std::string_view(row.format) == "csv"
              ? line.ends_with('\r') &&
                    std::count(line.begin(), line.end(), ',') == 4
              : line.starts_with("{\"path_a\":") && line.ends_with('}');
      if (!whole) {
        ADD_FAILURE() << "line " << count + 1 << ": " << line;
        break;
      }
    }
  }
  fs::remove(list_path);
}

}  // namespace
}  // namespace wordlap
