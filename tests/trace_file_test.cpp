// The trace file of a tracing build of the plug-in: what reaches it, and
// what must never reach anything else.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <locale.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cases/compare_cases.h"
#include "tests/cases/trace_room_cases.h"
#include "tests/support/child_process.h"
#include "tests/support/plugin_library.h"

namespace wordlap {
namespace {

namespace fs = std::filesystem;

const fs::path kTraceDir = WORDLAP_TEST_TRACE_DIR;
const fs::path kTraceFile = kTraceDir / "wordlap.log";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string WithCrLf(std::string_view block) {
  std::string text;
  for (const char c : block) {
    if (c == '\n') text += '\r';
    text += c;
  }
  return text;
}

void WriteWhole(const fs::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Fills the file system that holds `path` by writing it until no byte more
// fits.
void FillUp(const fs::path& path) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
  ASSERT_GE(fd, 0) << std::strerror(errno);
  const std::string block(4096, 'x');
  while (write(fd, block.data(), block.size()) > 0) {
  }
  while (write(fd, "x", 1) > 0) {
  }
  close(fd);
}

// A small tmpfs on `folder` for as long as this lives.
class SmallFilesystem {
 public:
  explicit SmallFilesystem(const fs::path& folder) : folder_(folder) {
    mounted_ = mount("wordlap-test", folder.c_str(), "tmpfs", 0,
                     "size=16k,mode=0755") == 0;
    if (!mounted_) error_ = std::strerror(errno);
  }
  ~SmallFilesystem() {
    if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
  }
  SmallFilesystem(const SmallFilesystem&) = delete;
  SmallFilesystem& operator=(const SmallFilesystem&) = delete;

  bool mounted() const { return mounted_; }
  const std::string& error() const { return error_; }

 private:
  fs::path folder_;
  bool mounted_ = false;
  std::string error_;
};

// The environment entry that preloads `probe` ahead of whatever this
// process preloads (the sanitizer runs preload a library of their own).
std::string PreloadWith(const std::string& probe) {
  const char* preloaded = std::getenv("LD_PRELOAD");
  return "LD_PRELOAD=" + probe +
         (preloaded != nullptr && *preloaded != '\0'
              ? std::string(":") + preloaded
              : std::string());
}

bool IsInstalled(const char* locale_name) {
  const locale_t locale = newlocale(LC_NUMERIC_MASK, locale_name, nullptr);
  if (locale == nullptr) return false;
  freelocale(locale);
  return true;
}

class TraceFile : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    plugin_ = std::make_unique<test::PluginLibrary>(WORDLAP_TRACED_PLUGIN_PATH);
    ASSERT_TRUE(plugin_->usable());
  }
  static void TearDownTestSuite() { plugin_.reset(); }

  void SetUp() override {
    fs::remove_all(kTraceDir);
    fs::create_directories(kTraceDir);
  }
  void TearDown() override { fs::remove_all(kTraceDir); }

  static bool Compare(std::string_view a, std::string_view b) {
    return plugin_->compare(std::string(a).c_str(), std::string(b).c_str());
  }

  static inline std::unique_ptr<test::PluginLibrary> plugin_;
};

TEST_F(TraceFile, EachComparisonWritesItsBlock) {
  for (const cases::TraceCase& c : cases::kTraceCases) {
    SCOPED_TRACE(testing::Message()
                 << "'" << c.path_a << "' against '" << c.path_b << "'");
    fs::remove(kTraceFile);
    EXPECT_EQ(Compare(c.path_a, c.path_b), c.match);
    EXPECT_EQ(ReadFile(kTraceFile), WithCrLf(c.block));
  }
}

TEST_F(TraceFile, IsCreatedPrivateAndThenAppendedTo) {
  const cases::TraceCase& first = cases::kTraceCases[0];
  const cases::TraceCase& second = cases::kTraceCases[1];
  Compare(first.path_a, first.path_b);
  struct stat status;
  ASSERT_EQ(stat(kTraceFile.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
  Compare(second.path_a, second.path_b);
  EXPECT_EQ(ReadFile(kTraceFile),
            WithCrLf(first.block) + WithCrLf(second.block));
}

TEST_F(TraceFile, LinesLongerThanTheBufferArriveWhole) {
  const std::string path(1000, 'a');
  Compare(path, "b");
  const std::string text = ReadFile(kTraceFile);
  EXPECT_EQ(text.substr(0, text.find("\r\n")), "Compare " + path + " to b");
}

TEST_F(TraceFile, MissingDirectoryLosesEveryLine) {
  fs::remove_all(kTraceDir);
  EXPECT_TRUE(Compare("Song Title.mp3", "Title Song.mp3"));
  EXPECT_FALSE(fs::exists(kTraceDir));
}

TEST_F(TraceFile, DirectoryInPlaceOfTheFileIsLeftAlone) {
  fs::create_directory(kTraceFile);
  EXPECT_TRUE(Compare("Song Title.mp3", "Title Song.mp3"));
  EXPECT_TRUE(fs::is_directory(kTraceFile));
  EXPECT_TRUE(fs::is_empty(kTraceFile));
}

TEST_F(TraceFile, SymbolicLinkIsNeverFollowed) {
  const fs::path target = kTraceDir / "target";
  std::ofstream(target) << "keep";
  fs::create_symlink(target, kTraceFile);
  EXPECT_TRUE(Compare("Song Title.mp3", "Title Song.mp3"));
  EXPECT_EQ(ReadFile(target), "keep");

  // A dangling link must not create its target either.
  fs::remove(kTraceFile);
  const fs::path absent = kTraceDir / "absent";
  fs::create_symlink(absent, kTraceFile);
  EXPECT_TRUE(Compare("Song Title.mp3", "Title Song.mp3"));
  EXPECT_FALSE(fs::exists(absent));
  EXPECT_TRUE(fs::is_symlink(kTraceFile));
}

TEST_F(TraceFile, FileOfAnotherUserIsNotWritten) {
  std::ofstream(kTraceFile) << "theirs";
  if (geteuid() != 0 || chown(kTraceFile.c_str(), 65534, 65534) != 0) {
    GTEST_SKIP() << "needs root to give the file to another user";
  }
  Compare("Song Title.mp3", "Title Song.mp3");
  EXPECT_EQ(ReadFile(kTraceFile), "theirs");
}

TEST_F(TraceFile, WriterThatCannotLockLosesItsLines) {
  std::ofstream(kTraceFile) << "held";
  const int holder = open(kTraceFile.c_str(), O_RDWR);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(flock(holder, LOCK_EX), 0);
  EXPECT_TRUE(Compare("Song Title.mp3", "Title Song.mp3"));
  close(holder);
  EXPECT_EQ(ReadFile(kTraceFile), "held");

  Compare("Song Title.mp3", "Title Song.mp3");
  EXPECT_NE(ReadFile(kTraceFile), "held") << "the lock was not released";
}

TEST_F(TraceFile, DecimalSeparatorOfTheLoadingLocale) {
  const struct {
    const char* locale;
    const char* line;
  } kCases[] = {
      {"de_DE.UTF-8", "found 1 of 3 words, 33,3333333333333% match"},
      {"C", "found 1 of 3 words, 33.3333333333333% match"},
      {"no_SUCH.locale", "found 1 of 3 words, 33.3333333333333% match"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.locale);
    if (std::string_view(c.locale) == "de_DE.UTF-8" && !IsInstalled(c.locale)) {
      ADD_FAILURE() << "locale " << c.locale << " is not installed here";
      continue;
    }
    fs::remove(kTraceFile);
    const test::ChildResult child =
        test::RunChild({WORDLAP_COMPARE_PROBE, WORDLAP_TRACED_PLUGIN_PATH,
                        "a b c.mp3", "x b y.mp3"},
                       {std::string("LC_ALL=") + c.locale});
    EXPECT_EQ(child.exit_status, 1) << child.err;
    EXPECT_NE(ReadFile(kTraceFile).find(std::string(c.line) + "\r\n"),
              std::string::npos)
        << ReadFile(kTraceFile);
  }
}

// A line that arrives before the disk fills up is kept; a line that no
// longer fits leaves nothing behind, so the lines after it never join a torn
// one.
constexpr std::string_view kEarlier = "an earlier line\r\n";

TEST_F(TraceFile, FullDiskKeepsOnlyWholeLines) {
  if (geteuid() != 0) {
    GTEST_SKIP() << "needs root to mount a small file system on the trace "
                    "folder";
  }
  // A mount namespace of this process's own, so that no mount outlives it.
  if (unshare(CLONE_NEWNS) != 0 ||
      mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    GTEST_SKIP() << "cannot make a mount namespace: " << std::strerror(errno);
  }
  const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  for (const cases::RoomCase& row : cases::kRoomCases) {
    SCOPED_TRACE(row.what);
    const SmallFilesystem small(kTraceDir);
    if (!small.mounted()) {
      GTEST_SKIP() << "cannot mount a tmpfs on " << kTraceDir << ": "
                   << small.error();
    }
    WriteWhole(kTraceFile, kEarlier);
    FillUp(kTraceDir / "filler");
    struct statvfs usage;
    ASSERT_EQ(statvfs(kTraceDir.c_str(), &usage), 0);
    ASSERT_EQ(usage.f_bfree, 0u) << "the file system is not full";

    // All the room left is the rest of the earlier line's page.
    const std::size_t room = page - kEarlier.size();
    const cases::PaddedComparison comparison =
        cases::PadFirstLine(room + row.overshoot);
    ASSERT_EQ(comparison.lines[0].size() + 2, room + row.overshoot);
    EXPECT_EQ(Compare(comparison.path_a, comparison.path_b), comparison.match);
    EXPECT_EQ(ReadFile(kTraceFile),
              std::string(kEarlier) + cases::WhatFits(room, comparison.lines));
  }
}

// A file size limit fails the writes past it (EFBIG) as a full disk does,
// for any user.
TEST_F(TraceFile, FileSizeLimitKeepsOnlyWholeLines) {
  constexpr std::size_t kRoom = 1000;
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  // Past the limit the kernel also sends SIGXFSZ, which would end the test.
  const auto saved_handler = std::signal(SIGXFSZ, SIG_IGN);
  for (const cases::RoomCase& row : cases::kRoomCases) {
    SCOPED_TRACE(row.what);
    WriteWhole(kTraceFile, kEarlier);
    const cases::PaddedComparison comparison =
        cases::PadFirstLine(kRoom + row.overshoot);
    ASSERT_EQ(comparison.lines[0].size() + 2, kRoom + row.overshoot);
    struct rlimit limit = saved;
    limit.rlim_cur = kEarlier.size() + kRoom;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0) << std::strerror(errno);
    const bool match = Compare(comparison.path_a, comparison.path_b);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(match, comparison.match);
    EXPECT_EQ(ReadFile(kTraceFile),
              std::string(kEarlier) + cases::WhatFits(kRoom, comparison.lines));
  }
  std::signal(SIGXFSZ, saved_handler);
}

// Another process creates the trace file between our test for it and our
// creation of it. The probe makes that happen at the exact moment, in the
// process that traces.
TEST_F(TraceFile, FileThatAppearsMeanwhileIsNeverEmptied) {
  const std::string theirs = "a line of another process\r\nand its next\r\n";
  const cases::TraceCase& first = cases::kTraceCases[0];
  const struct {
    const char* appears;
    fs::file_type type;
    std::string text;  // read through the path; none for a directory
  } kCases[] = {
      {"lines", fs::file_type::regular, theirs + WithCrLf(first.block)},
      // The other process still holds its lock: every line of ours is lost.
      {"locked lines", fs::file_type::regular, theirs},
      {"link", fs::file_type::symlink, theirs},
      {"directory", fs::file_type::directory, ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.appears);
    fs::remove_all(kTraceDir);
    fs::create_directories(kTraceDir);
    const test::ChildResult child =
        test::RunChild({WORDLAP_COMPARE_PROBE, WORDLAP_TRACED_PLUGIN_PATH,
                        std::string(first.path_a), std::string(first.path_b)},
                       {PreloadWith(WORDLAP_RACE_PROBE),
                        "RACE_PROBE_PATH=" + kTraceFile.string(),
                        std::string("RACE_PROBE_APPEARS=") + c.appears,
                        "RACE_PROBE_TEXT=" + theirs});
    EXPECT_EQ(child.exit_status, first.match ? 0 : 1) << child.err;
    EXPECT_NE(
        child.err.find(std::string("race probe: ") + c.appears + " appeared"),
        std::string::npos)
        << "the probe did not act: " << child.err;
    EXPECT_EQ(fs::symlink_status(kTraceFile).type(), c.type);
    if (c.type == fs::file_type::directory) {
      EXPECT_TRUE(fs::is_empty(kTraceFile));
    } else {
      EXPECT_EQ(ReadFile(kTraceFile), c.text);
    }
  }
}

}  // namespace
}  // namespace wordlap
