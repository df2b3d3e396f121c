#include "picture/recent_files.h"

#include <gtest/gtest.h>

namespace lumigrid {
namespace {

RecentFiles Filled(int n) {
  RecentFiles r;
  for (int i = n; i >= 1; --i) r.SetEntry(i, "f" + std::to_string(i));
  return r;
}

TEST(RecentFiles, ReopeningMovesTheEntryToTheTopAndKeepsTheRest) {
  RecentFiles r = Filled(5);  // f1 .. f5
  r.AddRecentFile("a.chr");
  r.AddRecentFile("b.chr");
  r.AddRecentFile("a.chr");
  EXPECT_EQ(r.Entry(1), "a.chr");
  EXPECT_EQ(r.Entry(2), "b.chr");
  EXPECT_EQ(r.Entry(3), "f1");
  EXPECT_EQ(r.Entry(7), "f5");
  EXPECT_EQ(r.Entry(8), "");
}

TEST(RecentFiles, EleventhDistinctFileDropsEntryTen) {
  RecentFiles r = Filled(10);
  r.AddRecentFile("new.chr");
  EXPECT_EQ(r.Entry(1), "new.chr");
  EXPECT_EQ(r.Entry(2), "f1");
  EXPECT_EQ(r.Entry(10), "f9");
}

TEST(RecentFiles, LetterCaseMakesADifferentEntry) {
  RecentFiles r;
  r.AddRecentFile("C:\\a.chr");
  r.AddRecentFile("C:\\A.chr");
  EXPECT_EQ(r.Entry(1), "C:\\A.chr");
  EXPECT_EQ(r.Entry(2), "C:\\a.chr");
}

TEST(RecentFiles, EntryFourMovesToTheTopOnlyOnce) {
  RecentFiles r = Filled(10);
  r.AddRecentFile("f4");
  EXPECT_EQ(r.Entry(1), "f4");
  EXPECT_EQ(r.Entry(2), "f1");
  EXPECT_EQ(r.Entry(4), "f3");
  EXPECT_EQ(r.Entry(5), "f5");
  EXPECT_EQ(r.Entry(10), "f10");
}

TEST(RecentFiles, LabelsUseTwoBlanksUntilTheFirstChangeThenFour) {
  RecentFiles r;
  r.SetEntry(1, "C:\\pics\\a.chr");
  EXPECT_EQ(r.Label(1), "1)  C:\\pics\\a.chr");
  EXPECT_EQ(r.Label(10), "10)  ");
  r.AddRecentFile("C:\\pics\\b.chr");
  EXPECT_EQ(r.Label(1), "1)    C:\\pics\\b.chr");
  EXPECT_EQ(r.Label(2), "2)    C:\\pics\\a.chr");
  EXPECT_EQ(r.Entry(0), "");
  EXPECT_EQ(r.Entry(11), "");
}

}  // namespace
}  // namespace lumigrid
