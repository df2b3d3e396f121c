// The identical-byte scan: the difference mask over the ticked buffers and the cut of short
// runs inside each display row.
#include "optimize/identical_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>
#include <vector>

#include "picture/editor_state.h"
#include "test_pictures.h"

namespace lumigrid {
namespace {

using testing::RandomPicture;
using Position = std::pair<int, int>;  // cell, byte

// Positions (cell, byte) where the map says the byte must be written.
std::set<Position> WritePositions(const PictureBytes& map) {
  std::set<Position> out;
  for (int c = 1; c <= kCellCount; ++c) {
    for (int k = 1; k <= kBytesPerCell; ++k) {
      const uint8_t v = map[ByteOffset(c, k)];
      EXPECT_TRUE(v == kSkipByte || v == kWriteByte) << "cell " << c << " byte " << k;
      if (v == kWriteByte) out.insert({c, k});
    }
  }
  return out;
}

std::set<Position> WholeCells(std::initializer_list<int> cells) {
  std::set<Position> out;
  for (int c : cells) {
    for (int k = 1; k <= kBytesPerCell; ++k) out.insert({c, k});
  }
  return out;
}

std::set<Position> Everything() {
  std::set<Position> out;
  for (int c = 1; c <= kCellCount; ++c) out.merge(WholeCells({c}));
  return out;
}

struct ScanCase {
  const char* name;
  std::vector<int> ticked;                        // buffers 1..9
  std::vector<std::pair<int, Position>> changes;  // buffer, place changed from the base picture
  int min_run;
  std::set<Position> writes;
  bool buffer2_all_different = false;
};

class ScanEdgeCases : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScanEdgeCases, WritesTheExpectedMap) {
  const ScanCase& t = GetParam();
  EditorState state;
  const PictureBytes base = RandomPicture(7);
  for (int b = 1; b <= kBufferCount; ++b) state.Buffer(b).Bytes() = base;
  if (t.buffer2_all_different) {
    for (uint8_t& v : state.Buffer(2).Bytes()) v = static_cast<uint8_t>(~v);
  }
  for (const auto& [b, place] : t.changes) {
    state.Buffer(b).SetByte(place.first, place.second,
                            static_cast<uint8_t>(~state.Buffer(b).Byte(place.first, place.second)));
  }
  SourceFlags flags{};
  for (int b : t.ticked) flags[b - 1] = true;
  EXPECT_EQ(WritePositions(ScanIdenticalBytes(state, flags, t.min_run)), t.writes);
}

std::set<Position> Join(std::set<Position> a, const std::set<Position>& b) {
  a.insert(b.begin(), b.end());
  return a;
}

INSTANTIATE_TEST_SUITE_P(
    Scan, ScanEdgeCases,
    ::testing::Values(
        ScanCase{"IdenticalN1", {1, 2}, {}, 1, {}}, ScanCase{"IdenticalN16", {1, 2}, {}, 16, {}},
        ScanCase{"IdenticalN64", {1, 2}, {}, 64, {}},
        ScanCase{"AllDifferent", {1, 2}, {}, 1, Everything(), true},
        ScanCase{"ShortRunInsideCellN4",
                 {1, 2},
                 {{2, {2, 1}}, {2, {2, 5}}},
                 4,
                 {{2, 1}, {2, 2}, {2, 3}, {2, 4}, {2, 5}}},
        ScanCase{"RunOfThreeStaysN3", {1, 2}, {{2, {2, 1}}, {2, {2, 5}}}, 3, {{2, 1}, {2, 5}}},
        // Cells 8 and 9 agree, but they end row 0 and start row 1: two runs of 8.
        ScanCase{"RunsCutAtRowEndN16",
                 {1, 2},
                 {{2, {7, 8}}, {2, {10, 1}}},
                 16,
                 Join(WholeCells({8, 9}), {{7, 8}, {10, 1}})},
        ScanCase{"OneDifferenceSpoilsItsRowN64",
                 {1, 2},
                 {{2, {17, 1}}},
                 64,
                 WholeCells({17, 18, 19, 20, 21, 22, 23, 24})},
        // Buffer 2 differs everywhere but is not ticked.
        ScanCase{"BufferOneWithNine", {1, 9}, {{9, {5, 3}}}, 1, {{5, 3}}, true},
        ScanCase{"NoSource", {}, {{2, {1, 1}}}, 64, {}, true},
        ScanCase{"OneSource", {2}, {}, 64, {}, true},
        // 1 and 3 agree at the place, 2 does not: every ticked buffer counts.
        ScanCase{"MiddleSourceDiffers", {1, 2, 3}, {{2, {60, 4}}}, 1, {{60, 4}}},
        ScanCase{"RunZeroCountsAsOne", {1, 2}, {{2, {2, 1}}}, 0, {{2, 1}}},
        ScanCase{"RunAbove64CountsAsOne", {1, 2}, {{2, {2, 1}}}, 65, {{2, 1}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Reference: for every row, the maximal same runs; each position is 0xFF exactly when it lies
// in a same run of at least N inside its row.
TEST(ScanProperty, MatchesRunRuleForRandomBuffersAndRuns) {
  std::mt19937 gen(12345);
  for (int round = 0; round < 300; ++round) {
    EditorState state;
    // Few distinct values so that long equal runs happen.
    const int values = 1 + static_cast<int>(gen() % 3);
    for (int b = 1; b <= kSourceBufferCount; ++b) {
      for (uint8_t& v : state.Buffer(b).Bytes()) v = static_cast<uint8_t>(gen() % values);
    }
    SourceFlags flags{};
    for (bool& f : flags) f = gen() % 2;
    const int n = 1 + static_cast<int>(gen() % kMinRunLimit);
    const PictureBytes map = ScanIdenticalBytes(state, flags, n);

    std::vector<bool> same(kPictureBytes, true);
    int first = 0;
    for (int b = 1; b <= kSourceBufferCount; ++b) {
      if (!flags[b - 1]) continue;
      if (first == 0) first = b;
      for (int i = 0; i < kPictureBytes; ++i) {
        if (state.Buffer(b).Bytes()[i] != state.Buffer(first).Bytes()[i]) same[i] = false;
      }
    }
    for (int row = 0; row < 16; ++row) {
      int i = row * 64;
      while (i < (row + 1) * 64) {
        int end = i;
        while (end < (row + 1) * 64 && same[end] == same[i]) ++end;
        const bool skip = same[i] && end - i >= n;
        for (int p = i; p < end; ++p) {
          ASSERT_EQ(map[p], skip ? kSkipByte : kWriteByte)
              << "round " << round << " N " << n << " row " << row << " offset " << p;
        }
        i = end;
      }
    }
  }
}

TEST(StoreSkipMap, KeepsFileNameAndModifiedFlagOfBufferTen) {
  EditorState state;
  state.SetBufferFileName(10, "C:\\maps\\old.chr");
  PictureBytes map;
  map.fill(kSkipByte);
  StoreSkipMap(state, map);
  EXPECT_EQ(state.Buffer(10).Bytes(), map);
  EXPECT_EQ(state.BufferFileName(10), "C:\\maps\\old.chr");
  EXPECT_FALSE(state.BufferModified(10));
  state.MarkModified(10);
  StoreSkipMap(state, PictureBytes{});
  EXPECT_TRUE(state.BufferModified(10));
}

}  // namespace
}  // namespace lumigrid
