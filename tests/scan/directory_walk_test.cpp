// The walk on trees that change while it runs and on trees deeper than a
// path may be long.
#include "collect/directory_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace wordlap::collect {
namespace {

namespace fs = std::filesystem;

// Removes what `fd` holds, one directory descriptor at a time, so that
// paths longer than the system takes can go too.
void EmptyDirectory(int fd) {
  const int listing = ::dup(fd);
  DIR* stream = ::fdopendir(listing);
  ASSERT_NE(stream, nullptr);
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(stream)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(stream);
  for (const std::string& name : names) {
    if (::unlinkat(fd, name.c_str(), 0) == 0) continue;
    const int sub = ::openat(fd, name.c_str(),
                             O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    ASSERT_GE(sub, 0) << name;
    EmptyDirectory(sub);
    ::close(sub);
    ASSERT_EQ(::unlinkat(fd, name.c_str(), AT_REMOVEDIR), 0) << name;
  }
}

class WalkTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern =
        (fs::temp_directory_path() / "wordlap_walk_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override {
    const int fd = ::open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
      EmptyDirectory(fd);
      ::close(fd);
    }
    ::rmdir(root_.c_str());
  }
  std::string Touch(const std::string& relative) {
    const fs::path path = fs::path(root_) / relative;
    fs::create_directories(path.parent_path());
    std::ofstream{path};
    return path.string();
  }

  std::string root_;
};

std::vector<WalkedFile> Walk(const std::string& root, bool follow,
                             std::vector<std::string>* warnings = nullptr) {
  std::vector<WalkedFile> files;
  WalkDirectory(
      root, follow,
      [&](const std::string& message) {
        if (warnings != nullptr) warnings->push_back(message);
      },
      files);
  return files;
}

// A helper thread keeps swapping a directory of the tree for a link to a
// directory outside it while walks run: a walk may miss the directory or
// see it, but never lists what lies outside.
TEST_F(WalkTest, NeverFollowsALinkSwappedInDuringTheWalk) {
  const std::string tree = root_ + "/tree";
  const std::string outside = root_ + "/outside";
  for (int i = 0; i < 20; ++i) {
    Touch("tree/a/b/song " + std::to_string(i) + ".mp3");
    Touch("outside/b/secret " + std::to_string(i) + ".mp3");
  }
  const std::string swapped = tree + "/a";
  const std::string parked = tree + "/a.parked";
  const std::string link = tree + "/a.link";
  fs::create_directory_symlink(outside, link);

  std::atomic<bool> stop{false};
  std::atomic<long> swaps{0};
  std::thread swapper([&] {
    // rename() replaces the name in one step, so the walk meets either the
    // directory or the link, never nothing.
    while (!stop) {
      ::rename(swapped.c_str(), parked.c_str());
      ::symlink(outside.c_str(), swapped.c_str());
      std::this_thread::yield();
      ::rename(parked.c_str(), swapped.c_str());
      ++swaps;
      // Long enough for some walks to find the directory in its place.
      std::this_thread::sleep_for(std::chrono::microseconds(swaps % 4 * 100));
    }
  });

  std::size_t walks = 0, saw_inside = 0;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (std::chrono::steady_clock::now() < until || walks < 50) {
    for (const WalkedFile& file : Walk(tree, false)) {
      ASSERT_EQ(file.path.find("secret"), std::string::npos) << file.path;
      if (file.path.find("/song ") != std::string::npos) ++saw_inside;
    }
    ++walks;
  }
  stop = true;
  swapper.join();
  EXPECT_GT(swaps.load(), 0);
  // The walks did reach into the swapped directory, not only past it.
  EXPECT_GT(saw_inside, 0u);
}

// Makes `depth` nested directories of `name`, relative to each other, with
// a file at every tenth level and at the bottom; the files' count.
std::size_t MakeDeepTree(const std::string& root, const std::string& name,
                         std::size_t depth) {
  int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  std::size_t files = 0;
  for (std::size_t level = 1; level <= depth; ++level) {
    EXPECT_EQ(::mkdirat(fd, name.c_str(), 0700), 0) << std::strerror(errno);
    const int next = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
    ::close(fd);
    fd = next;
    if (level % 10 == 0 || level == depth) {
      const std::string file = "level " + std::to_string(level) + ".mp3";
      ::close(::openat(fd, file.c_str(), O_WRONLY | O_CREAT, 0600));
      ++files;
    }
  }
  ::close(fd);
  return files;
}

TEST_F(WalkTest, WalksTreesDeeperThanAPathMayBeLong) {
  // Long names take the paths past the limit; many levels take the walk
  // past the directories it keeps open at once.
  const struct {
    const char* what;
    std::string name;
    std::size_t depth;
  } kRows[] = {
      {"long names", std::string(200, 'n'), 30},
      {"many levels", "ddddd", 800},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.what);
    const std::string top = root_ + "/" + std::to_string(row.depth);
    ASSERT_EQ(::mkdir(top.c_str(), 0700), 0);
    const std::size_t expected = MakeDeepTree(top, row.name, row.depth);
    std::vector<std::string> warnings;
    const std::vector<WalkedFile> files = Walk(top, false, &warnings);
    EXPECT_EQ(warnings, std::vector<std::string>{});
    ASSERT_EQ(files.size(), expected);
    std::size_t longest = 0;
    for (const WalkedFile& file : files) {
      longest = std::max(longest, file.path.size());
      EXPECT_TRUE(file.identity.Known());
    }
    EXPECT_GT(longest, static_cast<std::size_t>(PATH_MAX));
  }
}

// With links followed, a link back up the chain is not walked into again,
// but a directory reached by two links is walked under both paths.
TEST_F(WalkTest, FollowedLinksDoNotLoop) {
  Touch("music/a/Song.mp3");
  fs::create_directory_symlink(root_ + "/music", root_ + "/music/a/up");
  fs::create_directory_symlink(root_ + "/music/a", root_ + "/music/again");
  std::set<std::string> paths;
  for (const WalkedFile& file : Walk(root_ + "/music", true)) {
    paths.insert(file.path);
  }
  EXPECT_EQ(paths, (std::set<std::string>{root_ + "/music/a/Song.mp3",
                                          root_ + "/music/again/Song.mp3"}));
}

}  // namespace
}  // namespace wordlap::collect
