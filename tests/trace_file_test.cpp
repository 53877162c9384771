// The trace file of a tracing build of the plug-in: what reaches it, and
// what must never reach anything else.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <locale.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "tests/cases/compare_cases.h"
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

}  // namespace
}  // namespace wordlap
