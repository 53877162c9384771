// What is written about the command and the plug-in, against the command and
// the plug-in themselves: the man page and the shell completions know every
// command and every option that `--help` lists, and the text for host users
// gives the plug-in's own answers.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/plugin_library.h"

namespace wordlap {
namespace {

using test::ChildResult;
using test::RunChild;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Help(const std::string& command) {
  std::vector<std::string> args = {WORDLAP_COMMAND, "--help"};
  if (!command.empty()) args.insert(args.begin() + 1, command);
  const ChildResult result = RunChild(args);
  EXPECT_EQ(result.exit_status, 0) << result.err;
  return result.out;
}

// The entries of one section of `--help` ("Options", "Commands"): the first
// word of each of its lines, options split at their commas ("-0,--null").
std::set<std::string> HelpEntries(const std::string& help,
                                  const std::string& section) {
  std::set<std::string> entries;
  bool inside = false;
  for (const std::string& line : Lines(help)) {
    if (!line.starts_with(" ")) {
      inside = line == section + ":";
      continue;
    }
    if (!inside || !line.starts_with("  ") || line[2] == ' ') continue;
    std::istringstream names(line.substr(2, line.find(' ', 2) - 2));
    for (std::string name; std::getline(names, name, ',');) {
      entries.insert(name);
    }
  }
  return entries;
}

std::set<std::string> Commands() {
  const std::set<std::string> commands = HelpEntries(Help(""), "Commands");
  EXPECT_TRUE(commands.contains("scan")) << Help("");
  return commands;
}

std::set<std::string> Options(const std::string& command) {
  const std::set<std::string> options = HelpEntries(Help(command), "Options");
  EXPECT_TRUE(options.contains("--help")) << command;
  return options;
}

// True when `word` stands in `text` on its own, not as part of a longer
// option or word.
bool HasWord(const std::string& text, const std::string& word) {
  const auto part_of_word = [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
  };
  for (std::size_t at = text.find(word); at != std::string::npos;
       at = text.find(word, at + 1)) {
    const std::size_t end = at + word.size();
    if ((at == 0 || !part_of_word(text[at - 1])) &&
        (end == text.size() || !part_of_word(text[end]))) {
      return true;
    }
  }
  return false;
}

// The man page as `man` shows it, split into its sections and the
// subsections of COMMANDS, by heading.
class ManPageTest : public testing::Test {
 protected:
  void SetUp() override {
    if (::access(WORDLAP_MAN, X_OK) != 0) GTEST_SKIP() << "no man program";
    const ChildResult shown = RunChild(
        {WORDLAP_MAN, "--warnings", "-l", WORDLAP_MAN_PAGE}, {"MANWIDTH=80"});
    ASSERT_EQ(shown.exit_status, 0) << shown.err;
    warnings_ = shown.err;
    std::string heading;
    for (const std::string& line : Lines(shown.out)) {
      if (!line.empty() && line[0] != ' ') {
        heading = line;
      } else if (line.size() > 3 && line.starts_with("   ") && line[3] != ' ') {
        heading = line.substr(3);  // a command of COMMANDS
      }
      sections_[heading] += line + "\n";
    }
  }

  std::string warnings_;
  std::map<std::string, std::string> sections_;
};

TEST_F(ManPageTest, RendersWithoutWarnings) {
  EXPECT_EQ(warnings_, "");
  for (const char* section :
       {"NAME", "SYNOPSIS", "OPTIONS", "COMMANDS", "EXIT STATUS", "FILES",
        "EXAMPLES", "HOW TWO NAMES ARE COMPARED"}) {
    EXPECT_TRUE(sections_.contains(section)) << section;
  }
  EXPECT_TRUE(HasWord(sections_["EXAMPLES"], "-print0"));
  EXPECT_TRUE(HasWord(sections_["EXAMPLES"], "--explain"));
  EXPECT_TRUE(HasWord(sections_["FILES"], "Wordlap.so"));
}

// Each command has its own section, which names each of its options; the
// options of wordlap itself are under OPTIONS.
TEST_F(ManPageTest, NamesEveryOptionOfEveryCommand) {
  for (const std::string& command : Commands()) {
    SCOPED_TRACE(command);
    ASSERT_TRUE(sections_.contains(command));
    for (const std::string& option : Options(command)) {
      if (option == "-h" || option == "--help") continue;  // said once
      EXPECT_TRUE(HasWord(sections_[command], option)) << option << " in\n"
                                                       << sections_[command];
    }
  }
  for (const std::string& option : Options("")) {
    EXPECT_TRUE(HasWord(sections_["OPTIONS"], option)) << option;
  }
}

// The candidates a shell's completion offers after `words`, the last of
// which is the word being completed.
using Completer = std::set<std::string> (*)(std::vector<std::string> words);

std::set<std::string> CandidateSet(const std::string& out) {
  const std::vector<std::string> lines = Lines(out);
  return {lines.begin(), lines.end()};
}

std::set<std::string> BashCandidates(std::vector<std::string> words) {
  std::vector<std::string> args = {
      WORDLAP_BASH, "-c",
      "source \"$1\"; shift; COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); "
      "_wordlap; printf '%s\\n' \"${COMPREPLY[@]}\"",
      "bash", WORDLAP_SOURCE_DIR "/completions/wordlap.bash"};
  args.insert(args.end(), words.begin(), words.end());
  const ChildResult result = RunChild(args);
  EXPECT_EQ(result.exit_status, 0) << result.err;
  std::set<std::string> candidates = CandidateSet(result.out);
  candidates.erase("");
  return candidates;
}

// zsh completes a line as typed; "=" joins an option to its value.
std::set<std::string> ZshCandidates(std::vector<std::string> words) {
  std::string line;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const bool joined = words[i] == "=" || (i > 0 && words[i - 1] == "=");
    line += (i == 0 || joined ? "" : " ") + words[i];
  }
  const ChildResult result =
      RunChild({WORDLAP_ZSH, "-f",
                WORDLAP_SOURCE_DIR "/tests/support/"
                                   "zsh_complete.zsh",
                WORDLAP_SOURCE_DIR "/completions", line});
  EXPECT_EQ(result.exit_status, 0) << result.err;
  return CandidateSet(result.out);
}

class CompletionTest : public testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    const std::string shell = GetParam();
    const std::string path = shell == "bash" ? WORDLAP_BASH : WORDLAP_ZSH;
    if (path.empty() || ::access(path.c_str(), X_OK) != 0) {
      GTEST_SKIP() << "no " << shell;
    }
    complete_ = shell == "bash" ? BashCandidates : ZshCandidates;
  }
  Completer complete_ = nullptr;
};

// Exactly the options of `--help`, for wordlap and each of its commands:
// an option added to a command and not to its completion fails here.
TEST_P(CompletionTest, OffersExactlyTheOptionsOfEachCommand) {
  EXPECT_EQ(complete_({"wordlap", "-"}), Options(""));
  for (const std::string& command : Commands()) {
    SCOPED_TRACE(command);
    EXPECT_EQ(complete_({"wordlap", command, "-"}), Options(command));
  }
}

TEST_P(CompletionTest, OffersCommandsValuesAndFiles) {
  const std::set<std::string> commands = Commands();
  const std::string examples = WORDLAP_SOURCE_DIR "/examples";
  const struct {
    std::vector<std::string> words;
    std::set<std::string> candidates;
  } kRows[] = {
      {{"wordlap", ""}, commands},
      {{"wordlap", "help", ""}, commands},
      {{"wordlap", "sc"}, {"scan"}},
      {{"wordlap", "scan", "--format", ""},
       {"text", "csv", "json", "report", "dupes0"}},
      {{"wordlap", "scan", "--format", "=", ""},
       {"text", "csv", "json", "report", "dupes0"}},
      {{"wordlap", "scan", "--keep", "s"}, {"shortest-path"}},
      {{"wordlap", "scan", "--format", "=", "j"}, {"json"}},
      {{"wordlap", "scan", "--fo"}, {"--follow", "--format"}},
      {{"wordlap", "scan", examples + "/mu"}, {examples + "/music"}},
      {{"wordlap", "compare", examples + "/downloads/Hol"},
       {examples + "/downloads/Hollow Bells.mp3"}},
      {{"wordlap", "scan", "--files-from", examples + "/ba"},
       {examples + "/backup"}},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(testing::PrintToString(row.words));
    std::set<std::string> candidates = complete_(row.words);
    // zsh offers files by their last part
    if (GetParam() == std::string("zsh")) {
      std::set<std::string> expected;
      for (const std::string& c : row.candidates) {
        expected.insert(c.starts_with('/') ? c.substr(c.rfind('/') + 1) : c);
      }
      EXPECT_EQ(candidates, expected);
    } else {
      EXPECT_EQ(candidates, row.candidates);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Shells, CompletionTest,
                         testing::Values("bash", "zsh"));

// The text that goes with the Windows DLL lists the information answers and
// the host version: those of the plug-in.
TEST(HostText, GivesThePluginsOwnAnswers) {
  std::ifstream in(WORDLAP_SOURCE_DIR "/doc/Wordlap.txt");
  std::stringstream text;
  text << in.rdbuf();
  test::PluginLibrary plugin(WORDLAP_PLUGIN);
  ASSERT_TRUE(plugin.usable());
  const auto version = reinterpret_cast<const char* (*)()>(
      dlsym(plugin.handle, "GetTrovixVersion"));
  ASSERT_NE(version, nullptr);
  EXPECT_NE(text.str().find(std::string("\nHost version it was written for: ") +
                            version() + "\n"),
            std::string::npos);
  for (const char* key : {"name", "author", "version", "comparer", "viewer",
                          "tbc", "description"}) {
    SCOPED_TRACE(key);
    EXPECT_NE(text.str().find(std::string("\n  ") + key + ": " +
                              plugin.info(key) + "\n"),
              std::string::npos);
  }
}

}  // namespace
}  // namespace wordlap
