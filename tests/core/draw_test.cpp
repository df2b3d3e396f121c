// The drawing primitives against references that compute each pixel on its own: the ideal
// line rounded, the ideal ellipse crossed, a breadth-first fill.
#include "edit/draw.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <deque>
#include <random>
#include <set>

#include "edit/drawing_tool.h"
#include "picture/canvas_geometry.h"

namespace lumigrid {
namespace {

using PixelSet = std::set<PixelPoint>;

PixelSet AsSet(const std::vector<PixelPoint>& pixels) { return {pixels.begin(), pixels.end()}; }

std::string Name(PixelPoint a, PixelPoint b) {
  return "(" + std::to_string(a.x) + "," + std::to_string(a.y) + ")-(" + std::to_string(b.x) + "," +
         std::to_string(b.y) + ")";
}

// The ideal line from the end with the smaller coordinate along the longer axis, the other
// coordinate rounded to the nearest pixel, halves away from that end.
std::vector<PixelPoint> ReferenceLine(PixelPoint a, PixelPoint b) {
  const bool x_major = std::abs(b.x - a.x) >= std::abs(b.y - a.y);
  if (x_major ? a.x > b.x : a.y > b.y) std::swap(a, b);
  const int major = x_major ? b.x - a.x : b.y - a.y;
  const int minor = x_major ? b.y - a.y : b.x - a.x;
  std::vector<PixelPoint> pixels;
  for (int k = 0; k <= major; ++k) {
    const double ideal = major == 0 ? 0.0 : static_cast<double>(k) * minor / major;
    const int offset = static_cast<int>(std::copysign(std::floor(std::abs(ideal) + 0.5), ideal));
    pixels.push_back(x_major ? PixelPoint{a.x + k, a.y + offset}
                             : PixelPoint{a.x + offset, a.y + k});
  }
  return pixels;
}

TEST(Line, IsTheIdealLineRoundedAndTheSameBothWays) {
  std::vector<std::pair<PixelPoint, PixelPoint>> cases;
  for (int dx = -24; dx <= 24; ++dx) {
    for (int dy = -24; dy <= 24; ++dy) cases.push_back({{40, 30}, {40 + dx, 30 + dy}});
  }
  std::mt19937 random(3);
  for (int i = 0; i < 2000; ++i) {
    cases.push_back({{static_cast<int>(random() % 128), static_cast<int>(random() % 64)},
                     {static_cast<int>(random() % 128), static_cast<int>(random() % 64)}});
  }
  for (const auto& [a, b] : cases) {
    const std::vector<PixelPoint> line = LinePixels(a, b);
    ASSERT_EQ(line, ReferenceLine(a, b)) << Name(a, b);
    EXPECT_EQ(AsSet(LinePixels(b, a)), AsSet(line)) << Name(a, b);
    EXPECT_EQ(line.size(),
              static_cast<size_t>(std::max(std::abs(b.x - a.x), std::abs(b.y - a.y)) + 1));
    for (size_t i = 1; i < line.size(); ++i) {
      EXPECT_LE(std::max(std::abs(line[i].x - line[i - 1].x), std::abs(line[i].y - line[i - 1].y)),
                1)
          << Name(a, b) << ": a gap";
    }
  }
}

TEST(Snapping, HoldsALineToTheNearest45DegreesAndABoxToASquare) {
  const PixelPoint from{50, 30};
  for (int dx = -30; dx <= 30; ++dx) {
    for (int dy = -30; dy <= 30; ++dy) {
      const PixelPoint to{from.x + dx, from.y + dy};
      const PixelPoint snapped = SnapTo45Degrees(from, to);
      const int sx = snapped.x - from.x, sy = snapped.y - from.y;
      if (dx == 0 && dy == 0) {
        EXPECT_EQ(snapped, from);
        continue;
      }
      // The nearest of the eight directions, by angle.
      const double octant = std::round(std::atan2(dy, dx) / (M_PI / 4));
      const int ex = static_cast<int>(std::round(std::cos(octant * M_PI / 4)));
      const int ey = static_cast<int>(std::round(std::sin(octant * M_PI / 4)));
      const int length = std::max(std::abs(sx), std::abs(sy));
      EXPECT_EQ(snapped, (PixelPoint{from.x + ex * length, from.y + ey * length}))
          << dx << "," << dy;
      if (ex == 0) EXPECT_EQ(sy, dy) << "an axis keeps the pointer's distance";
      if (ey == 0) EXPECT_EQ(sx, dx);
      if (ex != 0 && ey != 0) EXPECT_EQ(length, std::max(std::abs(dx), std::abs(dy)));

      const PixelPoint square = SnapToSquare(from, to);
      EXPECT_EQ(std::abs(square.x - from.x), std::abs(square.y - from.y));
      EXPECT_EQ(std::abs(square.x - from.x), std::max(std::abs(dx), std::abs(dy)));
      EXPECT_GE((square.x - from.x) * dx, 0) << "on the pointer's side";
      EXPECT_GE((square.y - from.y) * dy, 0);
    }
  }
}

TEST(Rectangle, OutlineAndAreaOfTheBoxFromAnyTwoCorners) {
  for (const auto& [a, b] : {std::pair{PixelPoint{3, 4}, PixelPoint{9, 12}},
                             {PixelPoint{9, 12}, PixelPoint{3, 4}},
                             {PixelPoint{9, 4}, PixelPoint{3, 12}},
                             {PixelPoint{5, 5}, PixelPoint{5, 9}},
                             {PixelPoint{5, 5}, PixelPoint{5, 5}},
                             {PixelPoint{-3, 60}, PixelPoint{130, 70}}}) {
    PixelSet outline, area;
    for (int y = -10; y < 80; ++y) {
      for (int x = -10; x < 140; ++x) {
        const bool in_x = x >= std::min(a.x, b.x) && x <= std::max(a.x, b.x);
        const bool in_y = y >= std::min(a.y, b.y) && y <= std::max(a.y, b.y);
        if (!in_x || !in_y) continue;
        area.insert({x, y});
        if (x == a.x || x == b.x || y == a.y || y == b.y) outline.insert({x, y});
      }
    }
    const std::vector<PixelPoint> drawn = RectanglePixels(a, b, false);
    EXPECT_EQ(AsSet(drawn), outline) << Name(a, b);
    EXPECT_EQ(drawn.size(), outline.size()) << Name(a, b) << ": no pixel twice";
    EXPECT_EQ(AsSet(RectanglePixels(a, b, true)), area) << Name(a, b);
  }
}

// The ideal ellipse of a box, in coordinates doubled and taken from its centre (see draw.cpp).
struct IdealEllipse {
  int64_t sum_x, sum_y, A, B;
  int64_t X(int x) const { return 2 * x - sum_x; }
  int64_t Y(int y) const { return 2 * y - sum_y; }
  // Whether the ellipse passes through the pixel's square (edges included): the ellipse's
  // function takes both signs over it. It is smallest at the point nearest the centre and
  // largest at a corner.
  bool Crosses(PixelPoint p) const {
    const auto nearest = [](int64_t v) { return v > 1 ? v - 1 : (v < -1 ? v + 1 : 0); };
    const auto f = [&](int64_t X, int64_t Y) {
      return B * B * X * X + A * A * Y * Y - A * A * B * B;
    };
    const int64_t x = X(p.x), y = Y(p.y);
    const int64_t far_x = std::abs(x) + 1, far_y = std::abs(y) + 1;
    return f(nearest(x), nearest(y)) <= 0 && f(far_x, far_y) >= 0;
  }
};

bool Connected8(const PixelSet& pixels) {
  if (pixels.empty()) return true;
  PixelSet seen{*pixels.begin()};
  std::deque<PixelPoint> queue{*pixels.begin()};
  while (!queue.empty()) {
    const PixelPoint p = queue.front();
    queue.pop_front();
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        const PixelPoint n{p.x + dx, p.y + dy};
        if (pixels.count(n) && seen.insert(n).second) queue.push_back(n);
      }
    }
  }
  return seen.size() == pixels.size();
}

// Whether a 4-connected walk from outside the box reaches point `inner` without crossing.
bool ReachableFromOutside(const PixelSet& curve, int left, int top, int right, int bottom,
                          PixelPoint inner) {
  PixelSet seen{{left - 1, top - 1}};
  std::deque<PixelPoint> queue{{left - 1, top - 1}};
  while (!queue.empty()) {
    const PixelPoint p = queue.front();
    queue.pop_front();
    if (p == inner) return true;
    for (const PixelPoint n : {PixelPoint{p.x + 1, p.y}, PixelPoint{p.x - 1, p.y},
                               PixelPoint{p.x, p.y + 1}, PixelPoint{p.x, p.y - 1}}) {
      if (n.x < left - 1 || n.x > right + 1 || n.y < top - 1 || n.y > bottom + 1) continue;
      if (!curve.count(n) && seen.insert(n).second) queue.push_back(n);
    }
  }
  return false;
}

void CheckEllipse(PixelPoint a, PixelPoint b) {
  const std::vector<PixelPoint> drawn = EllipsePixels(a, b);
  const PixelSet curve = AsSet(drawn);
  const int left = std::min(a.x, b.x), right = std::max(a.x, b.x);
  const int top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
  const std::string name = Name(a, b);
  ASSERT_EQ(curve.size(), drawn.size()) << name << ": no pixel twice";
  ASSERT_EQ(curve, AsSet(EllipsePixels(b, a))) << name;
  int min_x = 1000, max_x = -1000, min_y = 1000, max_y = -1000;
  const IdealEllipse ideal{left + right, top + bottom, right - left, bottom - top};
  for (const PixelPoint& p : curve) {
    min_x = std::min(min_x, p.x), max_x = std::max(max_x, p.x);
    min_y = std::min(min_y, p.y), max_y = std::max(max_y, p.y);
    ASSERT_TRUE(curve.count({left + right - p.x, p.y}) && curve.count({p.x, top + bottom - p.y}))
        << name << ": not symmetric at " << p.x << "," << p.y;
    if (left != right && top != bottom) {
      ASSERT_TRUE(ideal.Crosses(p)) << name << ": " << p.x << "," << p.y << " is off the ellipse";
    }
  }
  ASSERT_EQ(min_x, left) << name;
  ASSERT_EQ(max_x, right) << name;
  ASSERT_EQ(min_y, top) << name;
  ASSERT_EQ(max_y, bottom) << name;
  ASSERT_TRUE(Connected8(curve)) << name;
  // Closed: the middle of the box is cut off from the outside.
  const PixelPoint middle{(left + right) / 2, (top + bottom) / 2};
  if (!curve.count(middle)) {
    ASSERT_FALSE(ReachableFromOutside(curve, left, top, right, bottom, middle)) << name << ": open";
  }
  // Thin: no three pixels of a 2 x 2 block, but where the block spans an axis of the box.
  for (const PixelPoint& p : curve) {
    const int in_block = curve.count({p.x + 1, p.y}) + curve.count({p.x, p.y + 1}) +
                         curve.count({p.x + 1, p.y + 1}) + 1;
    const bool spans_axis = ideal.X(p.x) < 0 && ideal.X(p.x + 1) > 0;
    const bool spans_row_axis = ideal.Y(p.y) < 0 && ideal.Y(p.y + 1) > 0;
    ASSERT_FALSE(in_block >= 3 && !spans_axis && !spans_row_axis)
        << name << ": a clump at " << p.x << "," << p.y;
  }
}

TEST(Ellipse, ThinClosedSymmetricCurveOnTheIdealEllipseTouchingTheBox) {
  for (int w = 1; w <= 40; ++w) {
    for (int h = 1; h <= 40; ++h) CheckEllipse({10, 5}, {10 + w - 1, 5 + h - 1});
  }
  for (const auto& [a, b] : {std::pair{PixelPoint{0, 0}, PixelPoint{127, 63}},
                             {PixelPoint{127, 0}, PixelPoint{0, 63}},
                             {PixelPoint{0, 0}, PixelPoint{127, 2}},
                             {PixelPoint{0, 0}, PixelPoint{3, 63}},
                             {PixelPoint{-20, -9}, PixelPoint{90, 100}},
                             {PixelPoint{20, 0}, PixelPoint{83, 63}}}) {
    CheckEllipse(a, b);
  }
}

TEST(Ellipse, SmallCirclesAsDrawnByHand) {
  const auto picture = [](PixelPoint a, PixelPoint b) {
    std::string rows;
    const PixelSet curve = AsSet(EllipsePixels(a, b));
    for (int y = std::min(a.y, b.y); y <= std::max(a.y, b.y); ++y) {
      for (int x = std::min(a.x, b.x); x <= std::max(a.x, b.x); ++x)
        rows += curve.count({x, y}) ? '#' : '.';
      rows += '/';
    }
    return rows;
  };
  EXPECT_EQ(picture({0, 0}, {0, 0}), "#/");
  EXPECT_EQ(picture({0, 0}, {1, 1}), "##/##/");
  EXPECT_EQ(picture({0, 0}, {2, 2}), ".#./#.#/.#./");
  EXPECT_EQ(picture({0, 0}, {4, 4}), ".###./#...#/#...#/#...#/.###./");
  EXPECT_EQ(picture({0, 0}, {3, 3}), ".##./#..#/#..#/.##./");
  EXPECT_EQ(picture({0, 0}, {6, 2}), ".#####./#.....#/.#####./");
}

// The plain breadth-first fill over the picture's pixels.
PictureBuffer ReferenceFill(PictureBuffer picture, PixelPoint seed, bool lit) {
  const bool from = picture.Pixel(seed.x, seed.y);
  if (from == lit) return picture;
  std::deque<PixelPoint> queue{seed};
  picture.SetPixel(seed.x, seed.y, lit);
  while (!queue.empty()) {
    const PixelPoint p = queue.front();
    queue.pop_front();
    for (const PixelPoint n : {PixelPoint{p.x + 1, p.y}, PixelPoint{p.x - 1, p.y},
                               PixelPoint{p.x, p.y + 1}, PixelPoint{p.x, p.y - 1}}) {
      if (IsInPicture(n) && picture.Pixel(n.x, n.y) == from) {
        picture.SetPixel(n.x, n.y, lit);
        queue.push_back(n);
      }
    }
  }
  return picture;
}

TEST(FloodFill, FillsWhatABreadthFirstWalkReaches) {
  std::mt19937 random(11);
  for (int run = 0; run < 300; ++run) {
    // Sparse, even and dense pictures, so that regions are large, snaking and tiny.
    const int density = std::array{8, 35, 50, 65, 92}[run % 5];
    PictureBuffer picture;
    for (int y = 0; y < kPictureHeight; ++y) {
      for (int x = 0; x < kPictureWidth; ++x)
        picture.SetPixel(x, y, static_cast<int>(random() % 100) < density);
    }
    const PixelPoint seed{static_cast<int>(random() % 128), static_cast<int>(random() % 64)};
    const bool lit = random() % 2;
    const PictureBuffer expected = ReferenceFill(picture, seed, lit);
    PictureBuffer filled = picture;
    EXPECT_EQ(FloodFill(filled, seed, lit), picture.Pixel(seed.x, seed.y) != lit);
    ASSERT_EQ(filled.Bytes(), expected.Bytes())
        << "run " << run << " seed " << seed.x << "," << seed.y;

    std::vector<PixelPoint> changed;
    for (int y = 0; y < kPictureHeight; ++y) {
      for (int x = 0; x < kPictureWidth; ++x) {
        if (picture.Pixel(x, y) != filled.Pixel(x, y)) changed.push_back({x, y});
      }
    }
    ASSERT_EQ(DifferingCells(picture.Bytes(), filled.Bytes()), CellsOfPixels(changed));
  }
  PictureBuffer blank;
  EXPECT_FALSE(FloodFill(blank, {128, 0}, true));
  EXPECT_TRUE(FloodFill(blank, {127, 63}, true));
  for (const uint8_t byte : blank.Bytes()) ASSERT_EQ(byte, 0xFF) << "the whole picture";
}

TEST(ShapeTools, ShiftConstrainsTheShape) {
  const PixelPoint anchor{10, 10};
  EXPECT_EQ(AsSet(ShapePixels(DrawingTool::kLine, anchor, {30, 13}, true)),
            AsSet(LinePixels(anchor, {30, 10})));
  EXPECT_EQ(AsSet(ShapePixels(DrawingTool::kLine, anchor, {30, 13}, false)),
            AsSet(LinePixels(anchor, {30, 13})));
  EXPECT_EQ(AsSet(ShapePixels(DrawingTool::kEllipse, anchor, {20, 14}, true)),
            AsSet(EllipsePixels(anchor, {20, 20})));
  EXPECT_EQ(AsSet(ShapePixels(DrawingTool::kFilledRectangle, anchor, {4, 12}, true)),
            AsSet(RectanglePixels(anchor, {4, 16}, true)));
  EXPECT_TRUE(ShapePixels(DrawingTool::kPencil, anchor, {4, 12}, true).empty());
}

// Each canvas point against the cell under it: the cell's pixel, or for a 1-pixel gap the
// pixel of the cell left of or above it.
TEST(CanvasPixels, EveryCanvasPointMapsToThePixelOfItsCellOrTheCellBeforeTheGap) {
  for (int y = 0; y < kCanvasHeight; ++y) {
    for (int x = 0; x < kCanvasWidth; ++x) {
      std::optional<PixelPoint> expected;
      for (const auto& [ox, oy] : {std::pair{0, 0}, {-1, 0}, {0, -1}, {-1, -1}}) {
        const int c = CanvasCellAt(x + ox, y + oy);
        if (c == 0) continue;
        const Rect r = CanvasCellRect(c);
        const int px = 8 * CellPlaceInRow(c) + (x + ox - r.x) / 4;
        const int py = 8 * CellPageRow(c) + (y + oy - r.y) / 4;
        // A point one pixel past a cell is its gap only when no cell lies there.
        if (ox == -1 && x - r.x != 32) continue;
        if (oy == -1 && y - r.y != 32) continue;
        expected = PixelPoint{px, py};
        break;
      }
      const bool crystal_gap = x >= 264 && x <= 266;
      if (crystal_gap) expected.reset();
      ASSERT_EQ(CanvasPixelAt(x, y), expected) << x << "," << y;
      const PixelPoint nearest = NearestCanvasPixel(x, y);
      ASSERT_TRUE(IsInPicture(nearest));
      if (expected) ASSERT_EQ(nearest, *expected);
      if (expected && CanvasCellAt(x, y) != 0) {
        ASSERT_TRUE(CanvasPixelRect(*expected).Contains(x, y));
      }
    }
  }
  EXPECT_EQ(NearestCanvasPixel(265, 0), (PixelPoint{63, 0}));
  EXPECT_EQ(NearestCanvasPixel(266, 300), (PixelPoint{64, 63}));
  EXPECT_EQ(NearestCanvasPixel(-50, 263), (PixelPoint{0, 63}));
  EXPECT_EQ(NearestCanvasPixel(1000, 1), (PixelPoint{127, 0}));
}

}  // namespace
}  // namespace lumigrid
