// Memory running out at every allocation of a comparison and of an
// information query: the core releases what it made and lets std::bad_alloc
// travel; the entry points let no exception out and end the process with a
// message on standard error.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "compare/name_compare.h"
#include "plugin/plugin_exports.h"
#include "tests/robustness/failing_new.h"

namespace wordlap {
namespace {

struct Pair {
  std::string_view a;
  std::string_view b;
  bool match;
};

// Short and long lists (the long ones are hashed), accented words folded by
// the platform, ill-formed bytes, and an empty name.
const Pair kPairs[] = {
    {"D:\\Music\\Artist - Song Title.mp3", "E:\\Backup\\Song_Title-Artist.mp3",
     true},
    {"01_Artist-Song Title.mp3", "Song Title - Artist.mp3", false},
    {"/m/Caf\xC3\xA9 Stra\xC3\x9F"
     "e.flac",
     "/b/STRASSE_CAF\xC3\x89.flac", true},
    {"a\xFF b\xC3.mp3", "B\xC3 A\xFF.mp3", true},
    {"a b c d e f g h i j k l m n o p q r s t.mp3",
     "t s r q p o n m l k j i h g f e d c b a.mp3", true},
    {".mp3", "Song.mp3", false},
};

class LineList final : public LineSink {
 public:
  void Line(std::string_view line) override { lines_.emplace_back(line); }

 private:
  std::vector<std::string> lines_;
};

// Walks a failure along every allocation of a traced comparison. Each run
// either gives the right verdict or ends in std::bad_alloc, and in both
// cases leaves nothing allocated behind.
TEST(AllocationFailure, CoreComparisonReleasesEverythingAndKeepsItsVerdict) {
  for (const Pair& pair : kPairs) {
    SCOPED_TRACE(testing::Message() << pair.a << " | " << pair.b);
    test::ArmAllocationFailure(0);
    {
      LineList lines;
      CompareNames(pair.a, pair.b, &lines);
    }
    const std::size_t total = test::AllocationsSinceArmed();
    test::DisarmAllocationFailure();
    ASSERT_GT(total, 0u);

    for (std::size_t k = 1; k <= total + 1; ++k) {
      SCOPED_TRACE(testing::Message() << "allocation " << k << " of " << total);
      bool failed = false;
      bool verdict = false;
      test::ArmAllocationFailure(k);
      try {
        LineList lines;
        verdict = CompareNames(pair.a, pair.b, &lines);
      } catch (const std::bad_alloc&) {
        failed = true;
      }
      const long left = test::LiveAllocationsSinceArmed();
      test::DisarmAllocationFailure();
      EXPECT_EQ(left, 0);
      if (!failed) {
        EXPECT_EQ(verdict, pair.match);
      } else {
        // Past the last allocation the comparison has to finish.
        EXPECT_LE(k, total);
      }
    }
  }
}

// Says, when the entry point ends the process, whether the call's memory was
// already released by then. Async-signal-safe.
void ReportReleaseOnAbort(int) {
  const std::string_view text = test::LiveAllocationsSinceArmed() == 0
                                    ? "call memory released\n"
                                    : "call memory still held\n";
  [[maybe_unused]] const ssize_t written =
      ::write(STDERR_FILENO, text.data(), text.size());
  std::signal(SIGABRT, SIG_DFL);
  std::raise(SIGABRT);
}

// Runs in a child of the death test; the paths exist before arming, as a
// host's would.
[[noreturn]] void CompareFailingAt(const char* a, const char* b, bool match,
                                   std::size_t k) {
  std::signal(SIGABRT, ReportReleaseOnAbort);
  test::ArmAllocationFailure(k);
  const bool verdict = PluginCompare(a, b);
  std::_Exit(verdict == match ? 0 : 3);
}

TEST(AllocationFailureDeathTest, PluginCompareEndsTheProcessWithAMessage) {
  GTEST_FLAG_SET(death_test_style, "fast");
  for (const Pair& pair : kPairs) {
    SCOPED_TRACE(testing::Message() << pair.a << " | " << pair.b);
    const std::string a(pair.a), b(pair.b);
    test::ArmAllocationFailure(0);
    const bool verdict = PluginCompare(a.c_str(), b.c_str());
    const std::size_t total = test::AllocationsSinceArmed();
    const long left = test::LiveAllocationsSinceArmed();
    test::DisarmAllocationFailure();
    EXPECT_EQ(verdict, pair.match);
    EXPECT_EQ(left, 0);

    for (std::size_t k = 1; k <= total; ++k) {
      SCOPED_TRACE(testing::Message() << "allocation " << k << " of " << total);
      EXPECT_EXIT(CompareFailingAt(a.c_str(), b.c_str(), pair.match, k),
                  testing::KilledBySignal(SIGABRT),
                  "^Wordlap: out of memory during a plug-in call; ending the "
                  "process\ncall memory released\n$");
    }
    EXPECT_EXIT(CompareFailingAt(a.c_str(), b.c_str(), pair.match, total + 1),
                testing::ExitedWithCode(0), "");
  }
}

// The information query allocates nothing, so running out of memory cannot
// touch it: every answer comes back while every allocation would fail.
TEST(AllocationFailure, InformationQueryNeedsNoMemory) {
  const std::vector<std::string> keys = {"name",        "author", "version",
                                         "comparer",    "viewer", "tbc",
                                         "description", "NAME",   ""};
  for (const std::string& key : keys) {
    SCOPED_TRACE(key);
    const char* expected = GetPluginInfo(key.c_str());
    test::ArmAllocationFailure(1);
    const char* answer = GetPluginInfo(key.c_str());
    const std::size_t attempts = test::AllocationsSinceArmed();
    test::DisarmAllocationFailure();
    EXPECT_EQ(attempts, 0u);
    EXPECT_EQ(answer, expected);
  }
}

}  // namespace
}  // namespace wordlap
