#include "edit/transforms.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "core/test_pictures.h"

namespace lumigrid {
namespace {

using testing::Filled;
using testing::RandomPicture;

constexpr int kW = kPictureWidth;
constexpr int kH = kPictureHeight;

// Pictures whose faults show: random ones, every edge pixel alone, a full one.
std::vector<PictureBytes> Samples() {
  std::vector<PictureBytes> samples = {RandomPicture(1), RandomPicture(2), Filled(0xFF),
                                       PictureBytes{}};
  for (const auto& [x, y] : {std::pair{0, 0}, {127, 0}, {0, 63}, {127, 63}, {63, 7}, {64, 8}}) {
    PictureBuffer one;
    one.SetPixel(x, y, true);
    samples.push_back(one.Bytes());
  }
  return samples;
}

// Where pixel (x, y) of the result comes from, or nothing for an unlit pixel brought in.
using SourceOf = std::function<std::optional<std::pair<int, int>>(int x, int y)>;

struct Case {
  const char* name;
  Transform transform;
  ShiftEdge edge;
  SourceOf source;
  bool inverts = false;
};

std::optional<std::pair<int, int>> Inside(int x, int y) {
  if (x < 0 || x >= kW || y < 0 || y >= kH) return std::nullopt;
  return std::pair{x, y};
}

// The straightforward per-pixel reference: every pixel looked up where it came from.
PictureBytes Reference(const PictureBytes& in, const Case& c) {
  PictureBuffer from;
  from.Bytes() = in;
  PictureBuffer to;
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const auto s = c.source(x, y);
      const bool lit = s && from.Pixel(s->first, s->second);
      to.SetPixel(x, y, c.inverts ? !lit : lit);
    }
  }
  return to.Bytes();
}

TEST(Transforms, EveryTransformMovesEachPixelAsTheReferenceDoes) {
  const auto wrap_x = [](int x) { return (x + kW) % kW; };
  const auto wrap_y = [](int y) { return (y + kH) % kH; };
  const Case cases[] = {
      {"invert", Transform::kInvert, ShiftEdge::kFillUnlit, Inside, true},
      {"flip H", Transform::kFlipHorizontal, ShiftEdge::kFillUnlit,
       [](int x, int y) { return Inside(kW - 1 - x, y); }},
      {"flip V", Transform::kFlipVertical, ShiftEdge::kFillUnlit,
       [](int x, int y) { return Inside(x, kH - 1 - y); }},
      {"rotate", Transform::kRotate180, ShiftEdge::kFillUnlit,
       [](int x, int y) { return Inside(kW - 1 - x, kH - 1 - y); }},
      {"left", Transform::kShiftLeft, ShiftEdge::kFillUnlit,
       [](int x, int y) { return Inside(x + 1, y); }},
      {"right", Transform::kShiftRight, ShiftEdge::kFillUnlit,
       [](int x, int y) { return Inside(x - 1, y); }},
      {"up", Transform::kShiftUp, ShiftEdge::kFillUnlit,
       [](int x, int y) { return Inside(x, y + 1); }},
      {"down", Transform::kShiftDown, ShiftEdge::kFillUnlit,
       [](int x, int y) { return Inside(x, y - 1); }},
      {"left wrapped", Transform::kShiftLeft, ShiftEdge::kWrap,
       [=](int x, int y) { return Inside(wrap_x(x + 1), y); }},
      {"right wrapped", Transform::kShiftRight, ShiftEdge::kWrap,
       [=](int x, int y) { return Inside(wrap_x(x - 1), y); }},
      {"up wrapped", Transform::kShiftUp, ShiftEdge::kWrap,
       [=](int x, int y) { return Inside(x, wrap_y(y + 1)); }},
      {"down wrapped", Transform::kShiftDown, ShiftEdge::kWrap,
       [=](int x, int y) { return Inside(x, wrap_y(y - 1)); }},
  };
  const std::vector<PictureBytes> samples = Samples();
  for (const Case& c : cases) {
    for (size_t i = 0; i < samples.size(); ++i) {
      EXPECT_EQ(Transformed(samples[i], c.transform, c.edge), Reference(samples[i], c))
          << c.name << ", sample " << i;
    }
  }
}

// Applies t n times.
PictureBytes Repeated(PictureBytes p, Transform t, ShiftEdge edge, int n) {
  for (int i = 0; i < n; ++i) p = Transformed(p, t, edge);
  return p;
}

TEST(Transforms, InvariantsGiveThePictureBack) {
  for (const PictureBytes& p : Samples()) {
    for (const Transform t : {Transform::kInvert, Transform::kFlipHorizontal,
                              Transform::kFlipVertical, Transform::kRotate180}) {
      EXPECT_EQ(Repeated(p, t, ShiftEdge::kFillUnlit, 2), p) << static_cast<int>(t);
    }
    EXPECT_EQ(Transformed(Transformed(p, Transform::kFlipVertical), Transform::kFlipHorizontal),
              Transformed(p, Transform::kRotate180));
    EXPECT_EQ(Repeated(p, Transform::kShiftLeft, ShiftEdge::kWrap, kW), p);
    EXPECT_EQ(Repeated(p, Transform::kShiftRight, ShiftEdge::kWrap, kW), p);
    EXPECT_EQ(Repeated(p, Transform::kShiftDown, ShiftEdge::kWrap, kH), p);
    EXPECT_EQ(Repeated(p, Transform::kShiftUp, ShiftEdge::kWrap, kH), p);
    EXPECT_EQ(Transformed(Transformed(p, Transform::kShiftUp, ShiftEdge::kWrap),
                          Transform::kShiftDown, ShiftEdge::kWrap),
              p);
  }
}

// The reference above checks the unlit edge of one shift; shifted out entirely, nothing is left.
TEST(Transforms, ShiftsWithoutWrapEndBlank) {
  for (const Transform t : {Transform::kShiftLeft, Transform::kShiftRight}) {
    EXPECT_EQ(Repeated(Filled(0xFF), t, ShiftEdge::kFillUnlit, kW), PictureBytes{});
  }
  for (const Transform t : {Transform::kShiftUp, Transform::kShiftDown}) {
    EXPECT_EQ(Repeated(Filled(0xFF), t, ShiftEdge::kFillUnlit, kH), PictureBytes{});
  }
}

TEST(ReplacePicture, IsOneStepAndAChangeOnlyWhenTheBytesDiffer) {
  EditorState state;
  state.Buffer(2).SetPixel(3, 3, true);  // changed without a record
  EXPECT_TRUE(ReplacePicture(state, 2, Filled(0x0F), "очистка"));
  EXPECT_TRUE(state.BufferModified(2));
  EXPECT_EQ(state.History(2).UndoLabel(state.Buffer(2).Bytes()), "очистка");
  // The unrecorded pixel stays a step of its own behind it.
  ASSERT_TRUE(state.UndoEdit(2));
  EXPECT_TRUE(state.Buffer(2).Pixel(3, 3));
  ASSERT_TRUE(state.RedoEdit(2));

  state.MarkClean(2);
  EXPECT_FALSE(ReplacePicture(state, 2, Filled(0x0F), "очистка"));
  EXPECT_FALSE(state.BufferModified(2));
  EXPECT_FALSE(ReplacePicture(state, 11, Filled(1), "очистка"));
}

}  // namespace
}  // namespace lumigrid
