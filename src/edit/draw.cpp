#include "edit/draw.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace lumigrid {

namespace {

int Sign(int v) { return v < 0 ? -1 : 1; }

}  // namespace

std::vector<PixelPoint> LinePixels(PixelPoint a, PixelPoint b) {
  const int dx = std::abs(b.x - a.x);
  const int dy = std::abs(b.y - a.y);
  const bool x_major = dx >= dy;
  if (x_major ? a.x > b.x : a.y > b.y) std::swap(a, b);
  const int major = x_major ? dx : dy;
  const int minor = x_major ? dy : dx;
  const int minor_step = x_major ? Sign(b.y - a.y) : Sign(b.x - a.x);
  std::vector<PixelPoint> pixels;
  pixels.reserve(major + 1);
  // After k steps the minor offset is round(k * minor / major); `error` holds
  // 2 k minor + major - 2 major offset, and the offset grows when it reaches 2 major.
  int error = major;
  int offset = 0;
  for (int k = 0; k <= major; ++k) {
    pixels.push_back(x_major ? PixelPoint{a.x + k, a.y + minor_step * offset}
                             : PixelPoint{a.x + minor_step * offset, a.y + k});
    error += 2 * minor;
    if (error >= 2 * major) {
      ++offset;
      error -= 2 * major;
    }
  }
  return pixels;
}

PixelPoint SnapTo45Degrees(PixelPoint from, PixelPoint to) {
  const int dx = to.x - from.x;
  const int dy = to.y - from.y;
  // tan 67.5 degrees = 1 + sqrt 2: beyond it the line is held to the axis.
  constexpr double kSteep = 2.414213562373095;
  if (std::abs(dy) * kSteep < std::abs(dx)) return {to.x, from.y};
  if (std::abs(dx) * kSteep < std::abs(dy)) return {from.x, to.y};
  const int d = std::max(std::abs(dx), std::abs(dy));
  return {from.x + Sign(dx) * d, from.y + Sign(dy) * d};
}

PixelPoint SnapToSquare(PixelPoint from, PixelPoint to) {
  const int d = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
  return {from.x + Sign(to.x - from.x) * d, from.y + Sign(to.y - from.y) * d};
}

std::vector<PixelPoint> RectanglePixels(PixelPoint a, PixelPoint b, bool filled) {
  const int left = std::min(a.x, b.x), right = std::max(a.x, b.x);
  const int top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
  std::vector<PixelPoint> pixels;
  for (int y = top; y <= bottom; ++y) {
    if (filled || y == top || y == bottom) {
      for (int x = left; x <= right; ++x) pixels.push_back({x, y});
    } else {
      pixels.push_back({left, y});
      if (right != left) pixels.push_back({right, y});
    }
  }
  return pixels;
}

std::vector<PixelPoint> EllipsePixels(PixelPoint a, PixelPoint b) {
  const int left = std::min(a.x, b.x), right = std::max(a.x, b.x);
  const int top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
  if (left == right || top == bottom) return LinePixels({left, top}, {right, bottom});

  // Coordinates doubled and taken from the centre of the box, so that a box of even size,
  // whose centre lies between pixels, needs no fractions: pixel x is at X = 2x - (left + right),
  // and the ellipse is B^2 X^2 + A^2 Y^2 = A^2 B^2 with A, B the box's width and height - 1.
  const int64_t A = right - left, B = bottom - top;
  const auto F = [&](int64_t X, int64_t Y) {
    return B * B * X * X + A * A * Y * Y - A * A * B * B;
  };
  using Point = std::pair<int64_t, int64_t>;

  // One quarter, from the top (X smallest) to the right end (Y smallest), pixel by pixel
  // through every pixel the curve crosses: the midpoint of the pixel's right and lower
  // neighbours, its lower right corner, tells on which side the curve leaves it.
  const int64_t y_end = B & 1;
  int64_t X = A & 1, Y = B;
  std::vector<Point> crossed{{X, Y}};
  while (X < A || Y > y_end) {
    if (X < A && (Y == y_end || F(X + 1, Y - 1) <= 0)) {
      X += 2;
    } else {
      Y -= 2;
    }
    crossed.push_back({X, Y});
  }

  // That path turns corners of three pixels; one of each two such corners in a row goes, the
  // one farther from the curve, leaving a curve one pixel thin.
  const auto distance = [&](const Point& p) {
    const double f = static_cast<double>(F(p.first, p.second));
    const double gx = static_cast<double>(B * B * p.first);
    const double gy = static_cast<double>(A * A * p.second);
    return f * f / (gx * gx + gy * gy);
  };
  const auto diagonal = [](const Point& a, const Point& b) {
    return std::abs(a.first - b.first) == 2 && std::abs(a.second - b.second) == 2;
  };
  std::vector<Point> thin{crossed.front()};
  for (size_t i = 1; i < crossed.size(); ++i) {
    const bool last = i + 1 == crossed.size();
    if (last || !diagonal(thin.back(), crossed[i + 1])) {
      thin.push_back(crossed[i]);
      continue;
    }
    // crossed[i] is a corner; so is the next one when it and its neighbours allow.
    const bool next_too = i + 2 < crossed.size() && diagonal(crossed[i], crossed[i + 2]);
    if (next_too && distance(crossed[i + 1]) > distance(crossed[i])) {
      thin.push_back(crossed[i]);
      ++i;  // the next corner goes instead
    }
  }

  std::vector<PixelPoint> pixels;
  pixels.reserve(4 * thin.size());
  const int sum_x = left + right, sum_y = top + bottom;
  for (const auto& [qx, qy] : thin) {
    for (const int sx : {-1, 1}) {
      for (const int sy : {-1, 1}) {
        pixels.push_back(
            {static_cast<int>((sum_x + sx * qx) / 2), static_cast<int>((sum_y + sy * qy) / 2)});
      }
    }
  }
  std::sort(pixels.begin(), pixels.end());
  pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
  return pixels;
}

void PlotPixels(PictureBuffer& picture, std::span<const PixelPoint> pixels, bool lit) {
  for (const PixelPoint& p : pixels) {
    if (IsInPicture(p)) picture.SetPixel(p.x, p.y, lit);
  }
}

bool FloodFill(PictureBuffer& picture, PixelPoint seed, bool lit) {
  if (!IsInPicture(seed) || picture.Pixel(seed.x, seed.y) == lit) return false;
  // The picture unpacked to one byte per pixel; 2 marks a pixel already filled.
  std::array<std::array<uint8_t, kPictureWidth>, kPictureHeight> grid;
  const uint8_t from = lit ? 0 : 1;
  // One display byte holds the eight pixels of a column within a page.
  const auto byte_of = [](int page, int x) {
    return ByteOffset(kCellsPerPageRow * page + x / 8 + 1, x % 8 + 1);
  };
  PictureBytes& bytes = picture.Bytes();
  for (int page = 0; page < kPageCount; ++page) {
    for (int x = 0; x < kPictureWidth; ++x) {
      const uint8_t byte = bytes[byte_of(page, x)];
      for (int r = 0; r < 8; ++r) grid[8 * page + r][x] = (byte >> r) & 1;
    }
  }
  // Scanline fill: each stacked point grows to its whole run, whose neighbours above and
  // below start new runs.
  std::vector<PixelPoint> stack{seed};
  while (!stack.empty()) {
    const PixelPoint p = stack.back();
    stack.pop_back();
    auto& row = grid[p.y];
    if (row[p.x] != from) continue;
    int x0 = p.x, x1 = p.x;
    while (x0 > 0 && row[x0 - 1] == from) --x0;
    while (x1 + 1 < kPictureWidth && row[x1 + 1] == from) ++x1;
    for (int x = x0; x <= x1; ++x) row[x] = 2;
    for (const int ny : {p.y - 1, p.y + 1}) {
      if (ny < 0 || ny >= kPictureHeight) continue;
      const auto& next = grid[ny];
      for (int x = x0; x <= x1; ++x) {
        // One seed per run of fillable pixels.
        if (next[x] == from && (x == x0 || next[x - 1] != from)) stack.push_back({x, ny});
      }
    }
  }
  for (int page = 0; page < kPageCount; ++page) {
    for (int x = 0; x < kPictureWidth; ++x) {
      uint8_t& byte = bytes[byte_of(page, x)];
      for (int r = 0; r < 8; ++r) {
        if (grid[8 * page + r][x] != 2) continue;
        byte = lit ? (byte | RowMask(r + 1)) : (byte & ~RowMask(r + 1));
      }
    }
  }
  return true;
}

CellSet CellsOfPixels(std::span<const PixelPoint> pixels) {
  CellSet cells;
  for (const PixelPoint& p : pixels) {
    if (IsInPicture(p)) cells.set(PixelToAddress(p.x, p.y).cell - 1);
  }
  return cells;
}

CellSet DifferingCells(const PictureBytes& a, const PictureBytes& b) {
  CellSet cells;
  for (int c = 1; c <= kCellCount; ++c) {
    const int at = ByteOffset(c, 1);
    if (!std::equal(a.begin() + at, a.begin() + at + kBytesPerCell, b.begin() + at)) {
      cells.set(c - 1);
    }
  }
  return cells;
}

}  // namespace lumigrid
