// Actions killed at many moments and run again: after the kill every
// duplicate is untouched or done and every content is still there; the
// rerun finishes, says nothing of what was done, and leaves no temporary
// file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/act/act_tree.h"

namespace wordlap::test {
namespace {
namespace fs = std::filesystem;

constexpr int kGroups = 120;

struct Library {
  std::vector<GroupSpec> groups;
  std::set<std::string> contents;
  std::map<std::string, struct stat> before;  // each duplicate as scanned
};

// Groups of a kept file and two copies, each group its own content.
Library MakeLibrary(const TempTree& tree) {
  fs::remove_all(tree.Path("tree"));
  Library library;
  for (int g = 0; g < kGroups; ++g) {
    const std::string dir = "tree/" + std::to_string(g);
    const std::string content =
        "content " + std::to_string(g) + std::string(4096, 'x');
    GroupSpec group{dir + "/Song.mp3",
                    {dir + "/a/Song.mp3", dir + "/b/Song (copy).mp3"}};
    tree.Write(group.keep, content);
    for (const std::string& d : group.duplicates) {
      tree.Write(d, content);
      struct stat info {};
      ::lstat(tree.Path(d).c_str(), &info);
      library.before[d] = info;
    }
    library.contents.insert(content);
    library.groups.push_back(group);
  }
  return library;
}

pid_t Start(const std::vector<std::string>& args, const std::string& cwd) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(cwd.c_str()) != 0) ::_exit(127);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    std::vector<char*> argv = {const_cast<char*>(WORDLAP_COMMAND)};
    for (const std::string& arg : args)
      argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(WORDLAP_COMMAND, argv.data());
    ::_exit(127);
  }
  return pid;
}

struct Interrupted {
  const char* action;
  // Whether the duplicate `path` is done, given its kept file.
  std::function<bool(const std::string& kept, const std::string& path)> done;
};

const std::vector<Interrupted> kInterrupted = {
    {"remove",
     [](const std::string&, const std::string& path) {
       return !fs::exists(fs::symlink_status(path));
     }},
    {"link",
     [](const std::string& kept, const std::string& path) {
       return !fs::is_symlink(path) && fs::exists(path) &&
              fs::equivalent(kept, path);
     }},
    {"symlink",
     [](const std::string& kept, const std::string& path) {
       return fs::is_symlink(path) && fs::equivalent(kept, path);
     }},
};

TEST(ActInterruptTest, KilledAtAnyMomentThenRunAgain) {
  TempTree tree;
  for (const Interrupted& action : kInterrupted) {
    // How long an uninterrupted run takes here, to spread the kills over.
    Library library = MakeLibrary(tree);
    tree.Write("report", MakeReport(tree.root(), library.groups, "tree"));
    const auto start = std::chrono::steady_clock::now();
    const pid_t whole = Start({action.action, "report"}, tree.root());
    int status = 0;
    ::waitpid(whole, &status, 0);
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    constexpr int kKills = 12;
    int mid_run = 0;  // kills that found some duplicates done, some not
    for (int kill = 0; kill < kKills; ++kill) {
      const auto delay = took * kill / (kKills - 2);
      SCOPED_TRACE(
          std::string(action.action) + " killed after " +
          std::to_string(
              std::chrono::duration_cast<std::chrono::microseconds>(delay)
                  .count()) +
          " us");
      library = MakeLibrary(tree);
      tree.Write("report", MakeReport(tree.root(), library.groups, "tree"));
      const pid_t pid = Start({action.action, "report"}, tree.root());
      std::this_thread::sleep_for(delay);
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);

      std::size_t done = 0;
      for (const GroupSpec& group : library.groups) {
        ASSERT_TRUE(
            fs::is_regular_file(fs::symlink_status(tree.Path(group.keep))));
        for (const std::string& d : group.duplicates) {
          if (action.done(tree.Path(group.keep), tree.Path(d))) {
            ++done;
            continue;
          }
          struct stat now {};
          ASSERT_EQ(::lstat(tree.Path(d).c_str(), &now), 0) << d;
          EXPECT_EQ(now.st_ino, library.before[d].st_ino) << d;
          EXPECT_EQ(ReadFile(tree.Path(d)), ReadFile(tree.Path(group.keep)));
        }
      }
      EXPECT_EQ(Contents(tree.Path("tree")), library.contents);
      if (done > 0 && done < 2 * kGroups) ++mid_run;

      const ChildResult rerun =
          RunWordlap({action.action, "report"}, tree.root());
      EXPECT_EQ(rerun.exit_status, 0) << rerun.out << rerun.err;
      EXPECT_TRUE(rerun.out.find("skipped") == std::string::npos ||
                  rerun.out.ends_with(", 0 skipped\n"))
          << rerun.out;
      for (const GroupSpec& group : library.groups) {
        for (const std::string& d : group.duplicates) {
          EXPECT_TRUE(action.done(tree.Path(group.keep), tree.Path(d))) << d;
        }
      }
      EXPECT_EQ(Contents(tree.Path("tree")), library.contents);
      EXPECT_EQ(TempFilesBelow(tree.root()), std::vector<std::string>{});
    }
    // Not a measure of speed: the kills must have found work half done.
    EXPECT_GT(mid_run, 0) << action.action;
    std::printf("%s: %d of %d kills stopped the run half way\n", action.action,
                mid_run, kKills);
  }
}

}  // namespace
}  // namespace wordlap::test
