// The content hash and the byte comparison on real files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include "confirm/byte_compare.h"
#include "confirm/content_hash.h"
#include "confirm/hash_files.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_tree.h"

namespace wordlap::confirm {
namespace {

using test::TempTree;

// Bytes that differ from block to block, so a reader that skips or repeats
// a block gets another hash.
std::string Pattern(std::size_t size, unsigned seed = 1) {
  std::string bytes(size, '\0');
  std::uint32_t x = seed;
  for (char& c : bytes) {
    x = x * 1664525u + 1013904223u;
    c = static_cast<char>(x >> 24);
  }
  return bytes;
}

collect::FileFacts Facts(const std::string& path) {
  const auto facts = collect::ReadFileFacts(path);
  EXPECT_TRUE(facts) << path;
  return facts.value_or(collect::FileFacts{});
}

TEST(ContentHashTest, PrintsWhatXxh128sumPrints) {
  TempTree tree;
  const struct {
    const char* name;
    std::size_t size;
  } kRows[] = {{"empty", 0},
               {"one byte", 1},
               {"one read", 1 << 20},
               {"a read and a bit", (1 << 20) + 17},
               {"three reads", 3 * (1 << 20) - 5}};
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    const std::string path = tree.Write(row.name, Pattern(row.size));
    const auto hash = HashFile(path, Facts(path));
    ASSERT_TRUE(std::holds_alternative<ContentHash>(hash));
    const auto sum = test::RunChild({WORDLAP_XXH128SUM, path});
    ASSERT_EQ(sum.exit_status, 0) << sum.err;
    EXPECT_EQ(HexOf(std::get<ContentHash>(hash)), sum.out.substr(0, 32));
  }
}

TEST(ContentHashTest, RefusesAFileThatIsNoLongerTheOneLookedAt) {
  TempTree tree;
  const std::string path = tree.Write("song.mp3", Pattern(4096));
  const collect::FileFacts facts = Facts(path);
  struct Row {
    const char* name;
    std::function<void()> change;
  };
  const Row kRows[] = {
      {"grown", [&] { tree.Write("song.mp3", Pattern(4097)); }},
      {"same size, touched later",
       [&] {
         tree.Write("song.mp3", Pattern(4096, 2));
         const timespec times[2] = {{0, UTIME_OMIT}, {facts.mtime + 5, 0}};
         ::utimensat(AT_FDCWD, path.c_str(), times, 0);
       }},
      {"replaced by another file",
       [&] {
         const std::string other = tree.Write("other", Pattern(4096));
         std::filesystem::rename(other, path);
       }},
      {"removed", [&] { std::filesystem::remove(path); }},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    tree.Write("song.mp3", Pattern(4096));
    const collect::FileFacts before = Facts(path);
    row.change();
    const auto hash = HashFile(path, before);
    ASSERT_TRUE(std::holds_alternative<HashFailure>(hash));
    EXPECT_NE(std::get<HashFailure>(hash).message.find(path),
              std::string::npos);
  }
}

TEST(HashFilesTest, HashesEveryFileOnceAndLeavesOutTheUnreadable) {
  TempTree tree;
  std::vector<std::string> paths;
  for (int i = 0; i < 40; ++i) {
    // Pairs of equal files among distinct ones, of many sizes.
    paths.push_back(tree.Write("f" + std::to_string(i),
                               Pattern(1000 * (i / 2) + 1, i / 2)));
  }
  std::vector<HashJob> jobs;
  for (const std::string& path : paths) jobs.push_back({&path, Facts(path)});
  std::filesystem::remove(paths[7]);

  std::atomic<std::size_t> done{0};
  const HashResults results = HashFiles(jobs, 4, &done);
  ASSERT_EQ(results.hashes.size(), paths.size());
  ASSERT_EQ(results.failures.size(), 1u);
  EXPECT_NE(results.failures[0].find(paths[7]), std::string::npos);
  for (std::size_t i = 0; i < paths.size(); ++i) {
    SCOPED_TRACE(paths[i]);
    if (i == 7) {
      EXPECT_FALSE(results.hashes[i]);
      continue;
    }
    ASSERT_TRUE(results.hashes[i]);
    EXPECT_EQ(*results.hashes[i],
              std::get<ContentHash>(HashFile(paths[i], jobs[i].facts)));
    if (i % 2 == 1 && i != 7) {
      EXPECT_EQ(results.hashes[i], results.hashes[i - 1]);
    }
    if (i >= 2 && i - 2 != 7) EXPECT_NE(results.hashes[i], results.hashes[i - 2]);
  }
}

TEST(ByteCompareTest, TellsSameFromDifferentBytes) {
  const std::size_t kSize = 3 * (1 << 18) + 100;  // several compare blocks
  const std::string base = Pattern(kSize);
  std::string last_byte = base;
  last_byte.back() ^= 1;
  std::string first_byte = base;
  first_byte.front() ^= 0x80;
  std::string block_edge = base;
  block_edge[1 << 18] ^= 1;
  const struct {
    const char* name;
    std::string a, b;
    Sameness expected;
  } kRows[] = {
      {"identical", base, base, Sameness::kSame},
      {"both empty", "", "", Sameness::kSame},
      {"last byte", base, last_byte, Sameness::kDifferent},
      {"first byte", base, first_byte, Sameness::kDifferent},
      {"first byte of the second block", base, block_edge,
       Sameness::kDifferent},
      {"one is longer", base, base + "x", Sameness::kDifferent},
      {"exactly one block, equal", base.substr(0, 1 << 18),
       base.substr(0, 1 << 18), Sameness::kSame},
  };
  TempTree tree;
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    const std::string a = tree.Write("a", row.a);
    const std::string b = tree.Write("b", row.b);
    const ByteComparison result = CompareFileBytes(a, b);
    EXPECT_EQ(result.verdict, row.expected) << result.error;
  }
}

TEST(ByteCompareTest, ReportsWhatCannotBeReadAndLeavesOffsetsAlone) {
  TempTree tree;
  const std::string a = tree.Write("a", "same");
  const std::string b = tree.Write("b", "same");
  std::filesystem::create_symlink(a, tree.Path("link"));

  const ByteComparison missing = CompareFileBytes(a, tree.Path("missing"));
  EXPECT_EQ(missing.verdict, Sameness::kError);
  EXPECT_NE(missing.error.find("missing"), std::string::npos);
  // A link in place of a file is not the file the caller meant.
  EXPECT_EQ(CompareFileBytes(a, tree.Path("link")).verdict, Sameness::kError);

  const int fd_a = ::open(a.c_str(), O_RDONLY);
  const int fd_b = ::open(b.c_str(), O_RDONLY);
  ASSERT_GE(fd_a, 0);
  ASSERT_GE(fd_b, 0);
  ASSERT_EQ(::lseek(fd_a, 2, SEEK_SET), 2);
  EXPECT_EQ(CompareBytes(fd_a, fd_b).verdict, Sameness::kSame);
  EXPECT_EQ(::lseek(fd_a, 0, SEEK_CUR), 2);
  ::close(fd_a);
  ::close(fd_b);
}

}  // namespace
}  // namespace wordlap::confirm
