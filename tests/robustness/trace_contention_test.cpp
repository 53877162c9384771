// Eight processes tracing into one file at once. Lines may be lost (a writer
// that cannot lock the file drops its line) but whatever is in the file must
// be whole lines of the comparisons that ran, never parts of two lines.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "compare/name_compare.h"
#include "tests/robustness/contention_pairs.h"

extern char** environ;

namespace wordlap {
namespace {

namespace fs = std::filesystem;

constexpr int kProcesses = 8;
constexpr char kRounds[] = "60";

class LineSet final : public LineSink {
 public:
  void Line(std::string_view line) override { lines.emplace(line); }
  std::set<std::string, std::less<>> lines;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

pid_t Start(std::vector<std::string> argv) {
  std::vector<char*> pointers;
  for (std::string& arg : argv) pointers.push_back(arg.data());
  pointers.push_back(nullptr);
  pid_t pid = -1;
  const int error = posix_spawn(&pid, pointers[0], nullptr, nullptr,
                                pointers.data(), environ);
  return error == 0 ? pid : -1;
}

TEST(TraceContention, EightProcessesLeaveOnlyWholeLines) {
  const fs::path dir = WORDLAP_TEST_TRACE_DIR;
  const fs::path file = dir / "wordlap.log";
  fs::remove_all(dir);
  fs::create_directories(dir);

  LineSet expected;
  for (const auto& [a, b] : test::ContentionPairs())
    CompareNames(a, b, &expected);

  std::vector<pid_t> children;
  for (int i = 0; i < kProcesses; ++i) {
    children.push_back(
        Start({WORDLAP_TRACE_HAMMER, WORDLAP_TRACED_PLUGIN_PATH, kRounds}));
  }
  for (const pid_t pid : children) {
    ASSERT_GT(pid, 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "child " << pid << " ended with status " << status;
  }

  const std::string text = ReadFile(file);
  ASSERT_FALSE(text.empty());
  EXPECT_TRUE(text.ends_with("\r\n"));
  std::size_t lines = 0;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    EXPECT_TRUE(expected.lines.contains(line))
        << "line " << lines << " is no line of any comparison: " << line;
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
    ++lines;
    start = end + 2;
  }
  RecordProperty("lines", static_cast<int>(lines));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace wordlap
