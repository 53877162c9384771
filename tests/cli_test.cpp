// The wordlap command as a user runs it: info, compare, help, the version,
// option syntax, errors, output that cannot be written, and where the
// command finds its plug-in.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/cases/compare_cases.h"
#include "tests/support/child_process.h"

namespace wordlap {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using test::ChildOutput;
using test::ChildResult;
using test::RunChild;

ChildResult Wordlap(std::vector<std::string> args,
                    const std::string& input = "",
                    ChildOutput output = ChildOutput::kCaptured) {
  args.insert(args.begin(), WORDLAP_COMMAND);
  return RunChild(args, {}, input, output);
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

// The explanation is always the built-in comparison's; the verdict and the
// exit status are the module's. Where the two differ, a note says so, so
// that the lines never pass for the reason of the verdict below them.
TEST(WordlapCompare, ExplainNamesBothVerdictsWhenThePluginDisagrees) {
  const cases::TraceCase& matching = cases::kTraceCases[0];
  const cases::TraceCase& different = cases::kTraceCases[1];
  ASSERT_TRUE(matching.match);
  ASSERT_FALSE(different.match);
  const std::string yes = Module("constant_true_plugin.so");
  const std::string no = Module("constant_false_plugin.so");
  const struct {
    const cases::TraceCase& pair;
    std::string plugin;
    std::string after_block;
    int exit_status;
  } kRows[] = {
      {matching, no,
       "note: the lines above are the comparison built into wordlap, which "
       "answers match; the plug-in " +
           no + " answers no match\nno match\n",
       1},
      {different, yes,
       "note: the lines above are the comparison built into wordlap, which "
       "answers no match; the plug-in " +
           yes + " answers match\nmatch\n",
       0},
      {matching, yes, "match\n", 0},
      {different, no, "no match\n", 1},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.plugin + " on " + std::string(row.pair.path_a));
    const ChildResult result =
        Wordlap({"compare", "--explain", "--plugin", row.plugin,
                 std::string(row.pair.path_a), std::string(row.pair.path_b)});
    EXPECT_EQ(result.exit_status, row.exit_status) << result.err;
    EXPECT_EQ(result.out, std::string(row.pair.block) + row.after_block);
  }
}

// Every way of writing an option or an operand gives the same result.
TEST(Wordlap, AcceptsEverySpellingOfOptionsAndOperands) {
  const std::string list = "Artist - Song.mp3\n-Song_Artist.mp3\n";
  const std::string csv =
      "path_a,path_b,found,words,percent\r\n"
      "Artist - Song.mp3,-Song_Artist.mp3,3,3,100\r\n";
  const struct {
    std::vector<std::string> args;
    std::string input;
    std::string out;
    int exit_status;
  } kRows[] = {
      {{"scan", "--files-from", "-", "--format", "csv"}, list, csv, 0},
      {{"scan", "--files-from=-", "--format=csv"}, list, csv, 0},
      {{"scan", "--format=csv", "--files-from", "-", "-q"}, list, csv, 0},
      {{"scan", "--format", "csv", "--quiet", "--files-from", "-", "-0"},
       "Artist - Song.mp3\0-Song_Artist.mp3"s,
       csv,
       0},
      {{"compare", "--", "-Song Artist.mp3", "Artist-Song.mp3"},
       "",
       "match\n",
       0},
      {{"compare", "--explain=false", "Song.mp3", "--", "-x.mp3"},
       "",
       "no match\n",
       1},
      {{"compare", "--plugin=" WORDLAP_PLUGIN, "Song.mp3", "song.ogg"},
       "",
       "match\n",
       0},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(testing::PrintToString(row.args));
    const ChildResult result = Wordlap(row.args, row.input);
    EXPECT_EQ(result.exit_status, row.exit_status) << result.err;
    EXPECT_EQ(result.out, row.out);
  }
}

// Wrong usage and unusable modules: exactly one line, `wordlap: COMMAND:
// what is wrong`, followed for wrong usage by the pointer to the help; exit
// status 2 and nothing on standard output.
TEST(Wordlap, RefusesWrongUsageAndUnusableModules) {
  const std::string kCommand = WORDLAP_COMMAND;
  const struct {
    std::vector<std::string> args;
    std::string message;  // the first line of standard error
    std::string hint;     // the second line, or empty
  } kCases[] = {
      {{}, "wordlap: no command given", "Run 'wordlap --help' for usage."},
      {{"frobnicate"},
       "wordlap: unknown command 'frobnicate'",
       "Run 'wordlap --help' for usage."},
      {{"--frobnicate"},
       "wordlap: unknown option '--frobnicate'",
       "Run 'wordlap --help' for usage."},
      {{"compare", "a"},
       "wordlap: compare: expected two paths, got 1",
       "Run 'wordlap compare --help' for usage."},
      {{"compare", "a", "b", "c"},
       "wordlap: compare: expected two paths, got 3",
       "Run 'wordlap compare --help' for usage."},
      {{"compare", "a", "b", "--fast"},
       "wordlap: compare: unknown option '--fast'",
       "Run 'wordlap compare --help' for usage."},
      {{"compare", "a", "b", "--fast=yes"},
       "wordlap: compare: unknown option '--fast'",
       "Run 'wordlap compare --help' for usage."},
      {{"compare", "--explain=maybe", "a", "b"},
       "wordlap: compare: --explain: invalid value 'maybe'",
       "Run 'wordlap compare --help' for usage."},
      {{"info", "--plugin"},
       "wordlap: info: --plugin needs a value",
       "Run 'wordlap info --help' for usage."},
      {{"info", "extra"},
       "wordlap: info: unexpected argument 'extra'",
       "Run 'wordlap info --help' for usage."},
      {{"info", "--", "extra"},
       "wordlap: info: unexpected argument 'extra'",
       "Run 'wordlap info --help' for usage."},
      {{"info", "scan"},
       "wordlap: info: unexpected argument 'scan'",
       "Run 'wordlap info --help' for usage."},
      {{"help", "frobnicate"},
       "wordlap: help: unknown command 'frobnicate'",
       "Run 'wordlap help --help' for usage."},
      {{"scan", "x", "--format=xml"},
       "wordlap: scan: --format: unknown format 'xml' (text, csv, json, report or dupes0)",
       "Run 'wordlap scan --help' for usage."},
      {{"scan", "x", "-0z"},
       "wordlap: scan: unknown option '-z'",
       "Run 'wordlap scan --help' for usage."},
      {{"info", "--plugin", "/nonexistent/Wordlap.so"},
       "wordlap: info: no plug-in at /nonexistent/Wordlap.so",
       ""},
      {{"info", "--plugin", "/"}, "wordlap: info: not a file: /", ""},
      {{"info", "--plugin", Module("false_plugin.so")},
       "wordlap: info: " + Module("false_plugin.so") +
           " is not a plug-in: TrovixPlugin answered false",
       ""},
      {{"compare", "a", "b", "--plugin", Module("incomplete_plugin.so")},
       "wordlap: compare: " + Module("incomplete_plugin.so") +
           " is not a plug-in: it has no entry point PluginCompare",
       ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.message);
    const ChildResult result = Wordlap(c.args);
    EXPECT_EQ(result.exit_status, 2);
    EXPECT_EQ(result.err,
              c.message + "\n" + (c.hint.empty() ? "" : c.hint + "\n"));
    EXPECT_EQ(result.out, "");
  }
  // dlopen's own reason follows the path.
  const ChildResult result = Wordlap({"info", "--plugin", kCommand});
  EXPECT_EQ(result.exit_status, 2);
  EXPECT_EQ(
      result.err.rfind("wordlap: info: cannot load " + kCommand + ": ", 0), 0u)
      << result.err;
  EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
}

// `--help`, `-h` and `wordlap help COMMAND` show the same text on standard
// output, naming every option of the command with its value and default.
TEST(WordlapHelp, DescribesEveryOptionOfEveryCommand) {
  const struct {
    std::string command;             // empty: wordlap itself
    std::vector<std::string> lines;  // each starts a line of the help
  } kRows[] = {
      {"",
       {"Usage: wordlap [OPTIONS] [COMMAND]", "  -h,--help ", "  --version ",
        "  info ", "  compare ", "  scan ", "  help "}},
      {"info",
       {"Usage: wordlap info [OPTIONS]", "  -h,--help ", "  --plugin PATH "}},
      {"compare",
       {"Usage: wordlap compare [OPTIONS] PATH_A PATH_B", "  PATH_A PATH_B ",
        "  -h,--help ", "  --explain ", "  --plugin PATH "}},
      {"scan",
       {"Usage: wordlap scan [OPTIONS] [PATH...]", "  PATH ", "  -h,--help ",
        "  --files-from FILE ", "  -0,--null ", "  --ext LIST ", "  --follow ",
        "  --format FORMAT ", "  -q,--quiet ", "  --plugin PATH "}},
      {"help",
       {"Usage: wordlap help [OPTIONS] [COMMAND]", "  COMMAND ",
        "  -h,--help "}},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE("wordlap " + row.command);
    std::vector<std::string> help_args = {"--help"};
    if (!row.command.empty()) help_args.insert(help_args.begin(), row.command);
    const ChildResult help = Wordlap(help_args);
    EXPECT_EQ(help.exit_status, 0);
    EXPECT_EQ(help.err, "");
    for (const std::string& line : row.lines) {
      EXPECT_NE(("\n" + help.out).find("\n" + line), std::string::npos)
          << line << " in\n"
          << help.out;
    }
    std::vector<std::string> short_args = help_args;
    short_args.back() = "-h";
    EXPECT_EQ(Wordlap(short_args).out, help.out);
    std::vector<std::string> by_name = {"help"};
    if (!row.command.empty()) by_name.push_back(row.command);
    const ChildResult named = Wordlap(by_name);
    EXPECT_EQ(named.exit_status, 0);
    EXPECT_EQ(named.out, help.out);
  }
  // Defaults are named after their descriptions.
  const std::string scan = Wordlap({"scan", "--help"}).out;
  EXPECT_NE(scan.find("(default: text)"), std::string::npos) << scan;
  EXPECT_NE(scan.find("(default: every file)"), std::string::npos) << scan;
  EXPECT_NE(scan.find("(default:\n                        Wordlap.so beside "
                      "wordlap, else in " WORDLAP_PLUGIN_DIR_FROM_BIN),
            std::string::npos)
      << scan;
}

TEST(WordlapVersion, NamesTheCommandAndThePlugInItLoads) {
  const ChildResult result = Wordlap({"--version"});
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_EQ(result.out, "wordlap " WORDLAP_VERSION
                        "\n"
                        "plug-in: " WORDLAP_PLUGIN
                        "\n"
                        "plug-in version: 0.3\n"
                        "host version: 0.8.2\n");
}

// A module named without a folder is the file in the current folder, as for
// any other file argument, not a library of the system's search path.
TEST(WordlapCompare, LoadsAPlugInNamedWithoutAFolderFromTheCurrentFolder) {
  const ChildResult result = RunChild(
      {"/bin/sh", "-c", "cd \"$1\" && exec \"$2\" compare --plugin \"$3\" a b",
       "sh", WORDLAP_TEST_MODULES, WORDLAP_COMMAND,
       "constant_false_plugin.so"});
  EXPECT_EQ(result.exit_status, 1) << result.err;
  EXPECT_EQ(result.out, "no match\n");
}

// Every command that cannot write its output says so in one line and exits
// with status 2; a reader that has gone is no error, and the status is what
// it would have been.
TEST(Wordlap, ReportsOutputThatCannotBeWritten) {
  const struct {
    std::vector<std::string> args;
    std::string command;
    int status_when_unread;
  } kRows[] = {
      {{"info"}, "info", 0},
      {{"compare", "Song.mp3", "song.ogg"}, "compare", 0},
      {{"compare", "--explain", "Song.mp3", "Other.ogg"}, "compare", 1},
      {{"scan", WORDLAP_EXAMPLES_DIR}, "scan", 0},
      {{"scan", WORDLAP_EXAMPLES_DIR, "--format", "json"}, "scan", 0},
      {{"help"}, "help", 0},
      {{"help", "scan"}, "help", 0},
      {{"scan", "--help"}, "scan", 0},
      {{"--help"}, "", 0},
      {{"--version"}, "", 0},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(testing::PrintToString(row.args));
    const ChildResult full = Wordlap(row.args, "", ChildOutput::kFull);
    EXPECT_EQ(full.exit_status, 2);
    EXPECT_EQ(full.err,
              "wordlap: " + (row.command.empty() ? "" : row.command + ": ") +
                  "cannot write the output: No space left on "
                  "device\n");
    const ChildResult closed = Wordlap(row.args, "", ChildOutput::kClosedPipe);
    EXPECT_EQ(closed.exit_status, row.status_when_unread)
        << "-1 is a death by signal";
    EXPECT_EQ(closed.err, "");
  }
}

// A copy of the command in a folder of its own, with the plug-in placed
// beside it, in the install folder relative to it, or nowhere.
class RelocatedCommandTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern =
        (fs::temp_directory_path() / "wordlap_relocated_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    fs::create_directories(root_ / "bin");
    fs::copy_file(WORDLAP_COMMAND, Command());
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string Command() const { return (root_ / "bin" / "wordlap").string(); }
  std::string Beside() const { return (root_ / "bin" / "Wordlap.so").string(); }
  std::string Installed() const {
    return (root_ / "bin" / WORDLAP_PLUGIN_DIR_FROM_BIN / "Wordlap.so")
        .lexically_normal()
        .string();
  }
  void Place(const std::string& where) {
    fs::create_directories(fs::path(where).parent_path());
    fs::copy_file(WORDLAP_PLUGIN, where);
  }

 private:
  fs::path root_;
};

TEST_F(RelocatedCommandTest, FindsItsPlugInBesideItselfOrInTheInstallFolder) {
  const ChildResult none = RunChild({Command(), "info"});
  EXPECT_EQ(none.exit_status, 2);
  EXPECT_EQ(none.err, "wordlap: info: no plug-in at " + Beside() + " or " +
                          Installed() + "\n");
  const ChildResult version = RunChild({Command(), "--version"});
  EXPECT_EQ(version.exit_status, 0);
  EXPECT_EQ(version.out, "wordlap " WORDLAP_VERSION
                         "\nplug-in: none: no "
                         "plug-in at " +
                             Beside() + " or " + Installed() + "\n");

  Place(Installed());
  const ChildResult installed = RunChild({Command(), "info"});
  EXPECT_EQ(installed.exit_status, 0) << installed.err;
  EXPECT_EQ(installed.out.rfind("plug-in: " + Installed() + "\n", 0), 0u)
      << installed.out;
  EXPECT_EQ(RunChild({Command(), "compare", "a b", "b_a"}).out, "match\n");

  Place(Beside());  // the build tree's layout comes first
  const ChildResult beside = RunChild({Command(), "info"});
  EXPECT_EQ(beside.out.rfind("plug-in: " + Beside() + "\n", 0), 0u)
      << beside.out;
}

}  // namespace
}  // namespace wordlap
