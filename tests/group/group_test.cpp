// Groups from pairs, and the choice of the kept file.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "group/component_groups.h"
#include "group/copy_name.h"
#include "group/keep_rule.h"
#include "group/name_groups.h"

namespace wordlap::group {
namespace {

using Pairs = std::vector<std::pair<FileIndex, FileIndex>>;

TEST(ComponentGroupsTest, AChainOfPairsIsOneGroup) {
  // 0-3 and 3-5 chain 0, 3 and 5; 1-4 is a group of its own; 2 has no pair.
  ComponentGroups groups(6);
  for (const auto& [a, b] : Pairs{{3, 5}, {1, 4}, {0, 3}}) groups.Join(a, b);
  EXPECT_EQ(groups.Groups(), (std::vector<Members>{{0, 3, 5}, {1, 4}}));
}

TEST(NameGroupsTest, AFileMatchingOnlyAMemberJoinsNoGroup) {
  // 0 matches 1 and 2; 1 matches 3 (3 is in no group yet, but 1 is); 3
  // matches 4 and 5, 4 matches 5. Every name a class of its own, so each
  // run is one name.
  const match::NameClasses classes = match::NameClasses::Singletons(6);
  NameGroups groups(classes);
  const std::vector<std::vector<match::NameId>> partners = {{1, 2}, {3}, {},
                                                            {4, 5}, {5}, {}};
  for (match::NameId a = 0; a < partners.size(); ++a) {
    std::vector<match::PartnerRun> runs;
    for (const match::NameId& b : partners[a]) runs.push_back({{&b, 1}, {}});
    groups.Add({a, runs});
  }
  EXPECT_EQ(groups.Take(), (std::vector<Members>{{0, 1, 2}, {3, 4, 5}}));
}

TEST(CopyNameTest, KnowsTheMarksOfACopy) {
  const struct {
    const char* path;
    bool copy;
  } kRows[] = {
      {"/m/Copy of Song.mp3", true},
      {"D:\\m\\copy (2) of Song.mp3", true},
      {"/m/Song - Copy.mp3", true},
      {"/m/Song - Copy (3).mp3", true},
      {"/m/Song copy.mp3", true},
      {"/m/Song copy 2.mp3", true},
      {"/m/Song_copy.txt", true},
      {"/m/Song (1).mp3", true},
      {"/m/Song(12).flac", true},
      {"/m/notes.txt~", true},
      {"/m/Song.mp3", false},
      {"/m/Copyright.txt", false},
      {"/m/copy.txt", false},
      {"/m/Copy of/Song.mp3", false},  // a folder's name says nothing
      {"/m/Song (live).mp3", false},
      {"/m/Symphony 1.mp3", false},
      {"/m/Macrocopy.mp3", false},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.path);
    EXPECT_EQ(LooksLikeCopy(row.path), row.copy);
  }
}

// One small group seen by every rule: scan order is the index.
class KeepRuleTest : public testing::Test {
 protected:
  std::vector<KeepFacts> facts_{
      {"/b/Copy of Song.mp3", true, 300, 0, false},      // 0: newest
      {"/a/Song.mp3", true, 100, 0, false},              // 1: oldest
      {"/a/long/folder/Song.mp3", true, 200, 5, false},  // 2: longest
      {"/c/Song (1).mp3", true, 200, 0, false},          // 3
      {"/x/S.mp3", false, 0, 0, false},                  // 4: shortest, no time
  };
  Members members_{0, 1, 2, 3, 4};

  FileIndex Kept(KeepRule rule) {
    return ChooseKept(members_, rule, facts_).kept;
  }
};

TEST_F(KeepRuleTest, EachRuleKeepsItsFile) {
  const struct {
    KeepRule rule;
    FileIndex kept;
  } kRows[] = {
      {KeepRule::kFirst, 0},        {KeepRule::kDefault, 1},
      {KeepRule::kNewest, 0},       {KeepRule::kOldest, 1},
      {KeepRule::kShortestPath, 4}, {KeepRule::kLongestPath, 2},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(std::string(KeepRuleName(row.rule)));
    const KeptGroup kept = ChooseKept(members_, row.rule, facts_);
    EXPECT_EQ(kept.kept, row.kept);
    Members rest = kept.duplicates;
    rest.push_back(kept.kept);
    std::sort(rest.begin(), rest.end());
    EXPECT_EQ(rest, members_);  // every other file is a duplicate
    EXPECT_TRUE(kept.also_kept.empty());
    KeepRule parsed;
    ASSERT_TRUE(ParseKeepRule(KeepRuleName(row.rule), parsed));
    EXPECT_EQ(parsed, row.rule);
  }
}

TEST_F(KeepRuleTest, TiesGoToANameThatIsNotACopyThenToScanOrder) {
  // 2 and 3 have the same time second but 2 is later by nanoseconds; with
  // equal times the copy loses.
  facts_[2].mtime_nsec = 0;
  members_ = {0, 2, 3};
  facts_[0].mtime = 200;
  EXPECT_EQ(Kept(KeepRule::kNewest), 2u);
  EXPECT_EQ(Kept(KeepRule::kOldest), 2u);
  facts_[2].path = "/b/Copy (2) of Song.mp3";
  EXPECT_EQ(Kept(KeepRule::kNewest), 0u);
  EXPECT_EQ(Kept(KeepRule::kFirst), 0u);
}

TEST_F(KeepRuleTest, ReferenceFilesAreAlwaysKeptNeverDuplicates) {
  facts_[3].reference = true;
  facts_[4].reference = true;
  // The rule picks among the reference files only: 3 has a time and a
  // copy's name, 4 neither.
  const struct {
    KeepRule rule;
    FileIndex kept, also_kept;
  } kRows[] = {{KeepRule::kDefault, 4, 3},
               {KeepRule::kFirst, 3, 4},
               {KeepRule::kNewest, 3, 4},
               {KeepRule::kShortestPath, 4, 3}};
  for (const auto& row : kRows) {
    SCOPED_TRACE(std::string(KeepRuleName(row.rule)));
    const KeptGroup kept = ChooseKept(members_, row.rule, facts_);
    EXPECT_EQ(kept.kept, row.kept);
    EXPECT_EQ(kept.also_kept, Members{row.also_kept});
    EXPECT_EQ(kept.duplicates, (Members{0, 1, 2}));
  }
  members_ = {3, 4};
  EXPECT_TRUE(
      ChooseKept(members_, KeepRule::kDefault, facts_).duplicates.empty());
}

}  // namespace
}  // namespace wordlap::group
