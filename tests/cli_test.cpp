// The wordlap command as a user runs it: info and compare.
#include <gtest/gtest.h>

#include <string>

#include "tests/cases/compare_cases.h"
#include "tests/support/child_process.h"

namespace wordlap {
namespace {

using test::ChildResult;
using test::RunChild;

ChildResult Wordlap(std::vector<std::string> args) {
  args.insert(args.begin(), WORDLAP_COMMAND);
  return RunChild(args);
}

std::string Module(const char* name) {
  return std::string(WORDLAP_TEST_MODULES) + "/" + name;
}

TEST(WordlapInfo, ShowsHostVersionAndEveryKey) {
  const ChildResult result = Wordlap({"info"});
  ASSERT_EQ(result.exit_status, 0) << result.err;
  for (const char* line :
       {"host version: 0.8.2\n", "name: Wordlap\n", "author: Orvane\n",
        "version: 0.3\n", "comparer: 1\n", "viewer: 0\n", "tbc: 0\n",
        "description: Compares filenames by exactly matching parts of it."}) {
    EXPECT_NE(result.out.find(line), std::string::npos) << line;
  }
}

TEST(WordlapCompare, ExitStatusIsTheVerdict) {
  for (const cases::CompareCase& c : cases::kCompareCases) {
    if (c.path_a.empty() || c.path_b.empty()) continue;  // not an argument
    SCOPED_TRACE(testing::Message()
                 << "'" << c.path_a << "' against '" << c.path_b << "'");
    const ChildResult result = Wordlap(
        {"compare", "--", std::string(c.path_a), std::string(c.path_b)});
    EXPECT_EQ(result.exit_status, c.match ? 0 : 1) << result.err;
    EXPECT_EQ(result.out, c.match ? "match\n" : "no match\n");
  }
}

TEST(WordlapCompare, ExplainPrintsTheLinesOfTheComparison) {
  const cases::TraceCase& c = cases::kTraceCases[0];
  const ChildResult result = Wordlap(
      {"compare", std::string(c.path_a), std::string(c.path_b), "--explain"});
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_EQ(result.out, std::string(c.block) + "match\n");
}

TEST(Wordlap, RefusesWrongUsageAndUnusableModules) {
  const struct {
    std::vector<std::string> args;
    std::string message;  // the first line of standard error
  } kCases[] = {
      {{}, "wordlap: no command given"},
      {{"frobnicate"}, "wordlap: unknown command 'frobnicate'"},
      {{"compare", "a"}, "wordlap: compare: expected two paths, got 1"},
      {{"compare", "a", "b", "c"},
       "wordlap: compare: expected two paths, got 3"},
      {{"compare", "a", "b", "--fast"},
       "wordlap: compare: unknown option '--fast'"},
      {{"info", "--plugin"}, "wordlap: --plugin needs a value"},
      {{"info", "extra"}, "wordlap: info: unexpected argument 'extra'"},
      {{"info", "--plugin", "/nonexistent/Wordlap.so"},
       "wordlap: no plug-in at /nonexistent/Wordlap.so"},
      {{"info", "--plugin", "/"}, "wordlap: not a file: /"},
      {{"info", "--plugin", WORDLAP_COMMAND},
       "wordlap: cannot load " WORDLAP_COMMAND ": "},
      {{"info", "--plugin", Module("false_plugin.so")},
       "wordlap: " + Module("false_plugin.so") +
           " is not a plug-in: TrovixPlugin answered false"},
      {{"compare", "a", "b", "--plugin", Module("incomplete_plugin.so")},
       "wordlap: " + Module("incomplete_plugin.so") +
           " is not a plug-in: it has no entry point PluginCompare"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.message);
    const ChildResult result = Wordlap(c.args);
    EXPECT_EQ(result.exit_status, 2);
    EXPECT_EQ(result.err.substr(0, c.message.size()), c.message);
    EXPECT_EQ(result.out, "");
  }
}

}  // namespace
}  // namespace wordlap
