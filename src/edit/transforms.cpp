#include "edit/transforms.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

namespace lumigrid {

namespace {

constexpr int kColumns = kPictureWidth;  // bytes of one page across both crystals

constexpr std::array<uint8_t, 256> MakeBitReversal() {
  std::array<uint8_t, 256> table{};
  for (int v = 0; v < 256; ++v) {
    int r = 0;
    for (int bit = 0; bit < 8; ++bit) {
      if (v & (1 << bit)) r |= 0x80 >> bit;
    }
    table[v] = static_cast<uint8_t>(r);
  }
  return table;
}
constexpr std::array<uint8_t, 256> kBitReversed = MakeBitReversal();

// Column x as one 64-bit word: bit y is the pixel (x, y).
uint64_t Column(const PictureBytes& p, int x) {
  uint64_t column = 0;
  for (int page = 0; page < kPageCount; ++page) {
    column |= uint64_t{p[page * kColumns + x]} << (8 * page);
  }
  return column;
}

void SetColumn(PictureBytes& p, int x, uint64_t column) {
  for (int page = 0; page < kPageCount; ++page) {
    p[page * kColumns + x] = static_cast<uint8_t>(column >> (8 * page));
  }
}

PictureBytes ShiftAcross(const PictureBytes& in, bool left, ShiftEdge edge) {
  PictureBytes out{};
  for (int page = 0; page < kPageCount; ++page) {
    const auto row = in.begin() + page * kColumns;
    const auto to = out.begin() + page * kColumns;
    if (left) {
      std::copy(row + 1, row + kColumns, to);
      if (edge == ShiftEdge::kWrap) to[kColumns - 1] = row[0];
    } else {
      std::copy(row, row + kColumns - 1, to + 1);
      if (edge == ShiftEdge::kWrap) to[0] = row[kColumns - 1];
    }
  }
  return out;
}

PictureBytes ShiftDownward(const PictureBytes& in, bool down, ShiftEdge edge) {
  PictureBytes out{};
  const bool wrap = edge == ShiftEdge::kWrap;
  for (int x = 0; x < kColumns; ++x) {
    const uint64_t c = Column(in, x);
    uint64_t moved = 0;
    if (down) {
      moved = wrap ? std::rotl(c, 1) : c << 1;
    } else {
      moved = wrap ? std::rotr(c, 1) : c >> 1;
    }
    SetColumn(out, x, moved);
  }
  return out;
}

}  // namespace

PictureBytes Transformed(const PictureBytes& picture, Transform transform, ShiftEdge edge) {
  PictureBytes out = picture;
  switch (transform) {
    case Transform::kInvert:
      for (uint8_t& b : out) b = static_cast<uint8_t>(~b);
      return out;
    case Transform::kFlipHorizontal:
      for (int page = 0; page < kPageCount; ++page) {
        std::reverse(out.begin() + page * kColumns, out.begin() + (page + 1) * kColumns);
      }
      return out;
    case Transform::kFlipVertical:
      // Page p changes places with page 7 - p, and the rows inside each byte turn over.
      for (int page = 0; page < kPageCount; ++page) {
        for (int x = 0; x < kColumns; ++x) {
          out[page * kColumns + x] = kBitReversed[picture[(kPageCount - 1 - page) * kColumns + x]];
        }
      }
      return out;
    case Transform::kRotate180:
      // Byte 128 p + x goes to 128 (7 - p) + 127 - x, which is 1023 minus where it was.
      std::reverse(out.begin(), out.end());
      for (uint8_t& b : out) b = kBitReversed[b];
      return out;
    case Transform::kShiftLeft:
    case Transform::kShiftRight:
      return ShiftAcross(picture, transform == Transform::kShiftLeft, edge);
    case Transform::kShiftUp:
    case Transform::kShiftDown:
      return ShiftDownward(picture, transform == Transform::kShiftDown, edge);
  }
  return out;
}

const char* TransformStepName(Transform transform) {
  switch (transform) {
    case Transform::kInvert:
      return "инвертирование";
    case Transform::kFlipHorizontal:
    case Transform::kFlipVertical:
      return "отражение";
    case Transform::kRotate180:
      return "поворот";
    case Transform::kShiftLeft:
    case Transform::kShiftRight:
    case Transform::kShiftUp:
    case Transform::kShiftDown:
      return "сдвиг";
  }
  return "";
}

bool ReplacePicture(EditorState& state, int b, const PictureBytes& content, std::string label) {
  if (!IsValidBuffer(b) || state.Buffer(b).Bytes() == content) return false;
  // A change nobody recorded stays a step of its own, apart from this one.
  state.RecordEdit(b, PictureHistory::kUnnamedStep);
  state.Buffer(b).Bytes() = content;
  state.MarkModified(b);
  state.RecordEdit(b, std::move(label));
  return true;
}

}  // namespace lumigrid
