// The actions across file systems: move to another file system (copy, sync,
// compare, rename, then remove), the trash of the home and of another
// volume, and a file system without a trash. The other file systems are
// mounted in a private mount namespace, so the tests need root; without it
// they are skipped with a message.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "act/temp_file.h"
#include "tests/act/act_tree.h"

namespace wordlap::test {
namespace {
namespace fs = std::filesystem;

// Mounts made from here on are this process's (and its children's) only.
std::string PrivateMounts() {
  static const std::string failure = []() -> std::string {
    if (::geteuid() != 0) return "not root";
    if (::unshare(CLONE_NEWNS) != 0) return "unshare: " + act::ErrorText(errno);
    if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
      return "mount --make-rprivate: " + act::ErrorText(errno);
    }
    return "";
  }();
  return failure;
}

// A tmpfs at `dir`, unmounted when the test ends.
class Mount {
 public:
  // Empty `image`: a tmpfs; else an ext4 image file mounted through a loop
  // device.
  Mount(const std::string& dir, const std::string& image = "") : dir_(dir) {
    fs::create_directories(dir);
    why_ = PrivateMounts();
    if (!why_.empty()) return;
    if (image.empty()) {
      if (::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=64m") != 0) {
        why_ = "mount tmpfs: " + act::ErrorText(errno);
      }
    } else {
      const std::string command =
          "truncate -s 32M '" + image + "' && mkfs.ext4 -q -F '" + image +
          "' && mount -o loop '" + image + "' '" + dir + "' 2>/dev/null";
      if (std::system(command.c_str()) != 0)
        why_ = "cannot mount an ext4 image";
    }
    mounted_ = why_.empty();
  }
  ~Mount() {
    if (mounted_) ::umount2(dir_.c_str(), MNT_DETACH);
  }
  // Why nothing is mounted, or empty.
  const std::string& why() const { return why_; }

 private:
  std::string dir_;
  std::string why_;
  bool mounted_ = false;
};

#define SKIP_WITHOUT(mount)   \
  if (!(mount).why().empty()) \
  GTEST_SKIP() << "no other file system to test on: " << (mount).why()

std::vector<std::string> Env(const TempTree& tree) {
  return {"HOME=" + tree.Path("home"),
          "XDG_DATA_HOME=" + tree.Path("home/data")};
}

TEST(ActFilesystemTest, MoveToAnotherFileSystemCopiesThenRemoves) {
  TempTree tree;
  const Mount mount(tree.Path("dest"));
  SKIP_WITHOUT(mount);
  tree.Write("tree/Song.mp3", "music");
  tree.Write("tree/x/Song.mp3", "music");
  tree.Write("tree/y/Song.mp3", "music");
  tree.Write("tree/z/Song.mp3", "music");
  tree.Write("tree/w/Song.mp3", "music");
  tree.Write("tree/v/Song.mp3", "music");
  ASSERT_EQ(::chmod(tree.Path("tree/x/Song.mp3").c_str(), 0640), 0);
  const struct timespec times[2] = {{1000000000, 5}, {1200000000, 123456789}};
  ASSERT_EQ(
      ::utimensat(AT_FDCWD, tree.Path("tree/x/Song.mp3").c_str(), times, 0), 0);
  const std::string report =
      MakeReport(tree.root(),
                 {{"tree/Song.mp3",
                   {"tree/x/Song.mp3", "tree/y/Song.mp3", "tree/z/Song.mp3",
                    "tree/w/Song.mp3", "tree/v/Song.mp3"}}},
                 "tree");
  // What a killed run leaves: a copy cut short under its temporary name (y),
  // and a copy in place, with the source's time, whose source was not yet
  // removed (z). Other files where w and v go: other bytes, and the same
  // bytes at another time.
  tree.Write("dest/y/" + act::TempNameFor("Song.mp3"), "mu");
  tree.Write("dest/z/Song.mp3", "music");
  struct stat source {};
  ASSERT_EQ(::stat(tree.Path("tree/z/Song.mp3").c_str(), &source), 0);
  const struct timespec same[2] = {source.st_atim, source.st_mtim};
  ASSERT_EQ(
      ::utimensat(AT_FDCWD, tree.Path("dest/z/Song.mp3").c_str(), same, 0), 0);
  tree.Write("dest/w/Song.mp3", "other");
  tree.Write("dest/v/Song.mp3", "music");
  ASSERT_EQ(
      ::utimensat(AT_FDCWD, tree.Path("dest/v/Song.mp3").c_str(), times, 0), 0);

  const ChildResult result =
      RunWordlap({"move", "-", "--to", "dest"}, tree.root(), report, Env(tree));
  EXPECT_EQ(result.exit_status, 1) << result.out << result.err;
  EXPECT_EQ(result.out, "moved tree/x/Song.mp3 -> " +
                            fs::canonical(tree.Path("dest")).string() +
                            "/x/Song.mp3\n"
                            "moved tree/y/Song.mp3 -> " +
                            fs::canonical(tree.Path("dest")).string() +
                            "/y/Song.mp3\n"
                            "moved tree/z/Song.mp3 -> " +
                            fs::canonical(tree.Path("dest")).string() +
                            "/z/Song.mp3\n"
                            "skipped tree/w/Song.mp3: the destination exists\n"
                            "skipped tree/v/Song.mp3: the destination exists\n"
                            "moved 3 files (15 bytes moved), 2 skipped\n");
  for (const char* d : {"x", "y", "z"}) {
    SCOPED_TRACE(d);
    EXPECT_FALSE(fs::exists(tree.Path(std::string("tree/") + d + "/Song.mp3")));
    EXPECT_EQ(ReadFile(tree.Path(std::string("dest/") + d + "/Song.mp3")),
              "music");
  }
  struct stat moved {};
  ASSERT_EQ(::stat(tree.Path("dest/x/Song.mp3").c_str(), &moved), 0);
  EXPECT_EQ(moved.st_mode & 07777, 0640u);
  EXPECT_EQ(moved.st_mtim.tv_sec, 1200000000);
  EXPECT_EQ(moved.st_mtim.tv_nsec, 123456789);
  EXPECT_EQ(ReadFile(tree.Path("tree/w/Song.mp3")), "music");
  EXPECT_EQ(ReadFile(tree.Path("dest/w/Song.mp3")), "other");
  EXPECT_EQ(ReadFile(tree.Path("tree/v/Song.mp3")), "music");
  EXPECT_EQ(TempFilesBelow(tree.root()), std::vector<std::string>{});
}

// A move across file systems killed at many moments: every file is at its
// place, at its destination, or both; the rerun finishes.
TEST(ActFilesystemTest, MoveToAnotherFileSystemKilledThenRunAgain) {
  TempTree tree;
  const Mount mount(tree.Path("dest"));
  SKIP_WITHOUT(mount);
  constexpr int kFiles = 12;
  const std::string content(1 << 20, 'm');
  std::vector<std::string> duplicates;
  for (int i = 0; i < kFiles; ++i) {
    duplicates.push_back("tree/" + std::to_string(i) + "/Song.mp3");
  }
  const auto lay_out = [&] {
    fs::remove_all(tree.Path("tree"));
    for (const fs::directory_entry& entry :
         fs::directory_iterator(tree.Path("dest"))) {
      fs::remove_all(entry.path());
    }
    tree.Write("tree/Song.mp3", content);
    for (const std::string& d : duplicates) tree.Write(d, content);
    tree.Write("report", MakeReport(tree.root(),
                                    {{"tree/Song.mp3", duplicates}}, "tree"));
  };
  const auto start_move = [&] {
    const pid_t pid = ::fork();
    if (pid == 0) {
      const int null = ::open("/dev/null", O_WRONLY);
      ::dup2(null, STDOUT_FILENO);
      if (::chdir(tree.root().c_str()) != 0) ::_exit(127);
      ::execl(WORDLAP_COMMAND, WORDLAP_COMMAND, "move", "report", "--to",
              "dest", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    return pid;
  };
  // How long a whole run takes here, to spread the kills over.
  lay_out();
  const auto start = std::chrono::steady_clock::now();
  int status = 0;
  ::waitpid(start_move(), &status, 0);
  const auto took = std::chrono::steady_clock::now() - start;
  constexpr int kKills = 8;
  int mid_run = 0;  // kills that found some files moved, some not
  for (int kill = 0; kill < kKills; ++kill) {
    SCOPED_TRACE("kill " + std::to_string(kill));
    lay_out();
    const pid_t pid = start_move();
    std::this_thread::sleep_for(took * kill / (kKills - 1));
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    int moved = 0;
    for (const std::string& d : duplicates) {
      const std::string place = tree.Path("dest/" + d.substr(5));
      moved += !fs::exists(tree.Path(d));
      EXPECT_TRUE(fs::exists(tree.Path(d)) || ReadFile(place) == content) << d;
      if (fs::exists(tree.Path(d))) EXPECT_EQ(ReadFile(tree.Path(d)), content);
    }
    if (moved > 0 && moved < kFiles) ++mid_run;
    const ChildResult rerun =
        RunWordlap({"move", "report", "--to", "dest"}, tree.root());
    EXPECT_EQ(rerun.exit_status, 0) << rerun.out << rerun.err;
    for (const std::string& d : duplicates) {
      EXPECT_FALSE(fs::exists(tree.Path(d))) << d;
      EXPECT_EQ(ReadFile(tree.Path("dest/" + d.substr(5))), content) << d;
    }
    EXPECT_EQ(TempFilesBelow(tree.root()), std::vector<std::string>{});
  }
  std::printf("move: %d of %d kills stopped the run half way\n", mid_run,
              kKills);
  EXPECT_GT(mid_run, 0);
}

// The home trash: the file and its .trashinfo, which says where it was and
// when it went.
TEST(ActFilesystemTest, TrashGoesToTheHomeTrash) {
  TempTree tree;
  tree.Write("tree/Song.mp3", "music");
  tree.Write("tree/copy of/Song.mp3", "music");
  fs::create_directories(tree.Path("home"));
  const std::string report =
      MakeReport(tree.root(), {{"tree/Song.mp3", {"tree/copy of/Song.mp3"}}});
  const ChildResult result =
      RunWordlap({"trash", "-"}, tree.root(), report, Env(tree));
  EXPECT_EQ(result.exit_status, 0) << result.out << result.err;
  EXPECT_FALSE(fs::exists(tree.Path("tree/copy of/Song.mp3")));
  EXPECT_EQ(ReadFile(tree.Path("home/data/Trash/files/Song.mp3")), "music");
  const std::string info =
      ReadFile(tree.Path("home/data/Trash/info/Song.mp3.trashinfo"));
  const std::vector<std::string> lines = Lines(info);
  ASSERT_EQ(lines.size(), 3u) << info;
  EXPECT_EQ(lines[0], "[Trash Info]");
  EXPECT_EQ(lines[1], "Path=" + tree.root() + "/tree/copy%20of/Song.mp3");
  EXPECT_TRUE(lines[2].starts_with("DeletionDate=20")) << lines[2];
  EXPECT_EQ(lines[2].size(),
            std::string("DeletionDate=2024-01-01T00:00:00").size());
}

// Another volume has its own trash at its top, .Trash-UID.
TEST(ActFilesystemTest, TrashOnAnotherVolumeUsesItsOwnTrash) {
  TempTree tree;
  const Mount mount(tree.Path("volume"), tree.Path("volume.img"));
  SKIP_WITHOUT(mount);
  tree.Write("volume/Song.mp3", "music");
  tree.Write("volume/old/Song.mp3", "music");
  fs::create_directories(tree.Path("home"));
  const std::string report =
      MakeReport(tree.root(), {{"volume/Song.mp3", {"volume/old/Song.mp3"}}});
  const ChildResult result =
      RunWordlap({"trash", "-"}, tree.root(), report, Env(tree));
  EXPECT_EQ(result.exit_status, 0) << result.out << result.err;
  const std::string trash =
      tree.Path("volume/.Trash-" + std::to_string(::getuid()));
  EXPECT_EQ(ReadFile(trash + "/files/Song.mp3"), "music");
  EXPECT_TRUE(
      ReadFile(trash + "/info/Song.mp3.trashinfo").find("Path=old/Song.mp3") !=
      std::string::npos);
  EXPECT_FALSE(fs::exists(tree.Path("volume/old/Song.mp3")));
}

// Where no trash can be had the file stays: it is never removed instead.
TEST(ActFilesystemTest, NoTrashMeansTheFileStays) {
  TempTree tree;
  const Mount mount(tree.Path("tree"));
  SKIP_WITHOUT(mount);
  tree.Write("tree/Song.mp3", "music");
  tree.Write("tree/old/Song.mp3", "music");
  fs::create_directories(tree.Path("home"));
  const std::string report =
      MakeReport(tree.root(), {{"tree/Song.mp3", {"tree/old/Song.mp3"}}});
  const ChildResult result =
      RunWordlap({"trash", "-"}, tree.root(), report, Env(tree));
  EXPECT_EQ(result.exit_status, 1) << result.out << result.err;
  EXPECT_TRUE(result.out.starts_with("skipped tree/old/Song.mp3: no trash: "))
      << result.out;
  EXPECT_EQ(ReadFile(tree.Path("tree/old/Song.mp3")), "music");
}

// No home folder, so no home trash: the file stays too.
TEST(ActFilesystemTest, NoHomeMeansTheFileStays) {
  TempTree tree;
  tree.Write("tree/Song.mp3", "music");
  tree.Write("tree/old/Song.mp3", "music");
  const std::string report =
      MakeReport(tree.root(), {{"tree/Song.mp3", {"tree/old/Song.mp3"}}});
  const ChildResult result =
      RunWordlap({"trash", "-"}, tree.root(), report,
                 {"HOME=" + tree.Path("gone"),
                  "XDG_DATA_HOME=" + tree.Path("gone/.local/share")});
  EXPECT_EQ(result.exit_status, 1) << result.out << result.err;
  EXPECT_TRUE(result.out.starts_with("skipped tree/old/Song.mp3: no trash: "))
      << result.out;
  EXPECT_EQ(ReadFile(tree.Path("tree/old/Song.mp3")), "music");
}

}  // namespace
}  // namespace wordlap::test
