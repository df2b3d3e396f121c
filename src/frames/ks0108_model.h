// A model of the display module: two KS0107/KS0108 controllers side by side, each with
// 8 pages x 64 columns of memory, a page register, a column counter and a start line. It
// judges every frame script: feed it bus operations, read back the picture the glass shows.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "picture/picture_buffer.h"

namespace lumigrid {

// Controller commands (the value written with the data/instruction line low).
inline constexpr uint8_t kDisplayOffCommand = 0x3E;
inline constexpr uint8_t kDisplayOnCommand = 0x3F;
inline constexpr uint8_t kSetColumnCommand = 0x40;  // | column 0..63
inline constexpr uint8_t kSetPageCommand = 0xB8;    // | page 0..7
inline constexpr uint8_t kStartLineCommand = 0xC0;  // | line 0..63

// One write on the bus: a command or a data byte for chip 1 (left half) or 2 (right half).
struct BusOp {
  uint8_t chip = 1;
  bool data = false;
  uint8_t value = 0;
  friend bool operator==(const BusOp&, const BusOp&) = default;
};

constexpr BusOp CommandOp(int chip, uint8_t value) {
  return {static_cast<uint8_t>(chip), false, value};
}
constexpr BusOp DataOp(int chip, uint8_t value) {
  return {static_cast<uint8_t>(chip), true, value};
}

// Offset in the cell walk (the buffers' byte order) of one byte of display memory:
// chip 1..2, page 0..7, column 0..63.
constexpr int DisplayMemoryOffset(int chip, int page, int column) {
  return kPictureBytes / kPageCount * page + kSegmentsPerCrystal * (chip - 1) + column;
}

// The 64 rows of one display column as a word: bit r is row r, that is bit r % 8 of page
// r / 8. Column x 0..127 of a picture, chip 1 first.
using ColumnWords = std::array<uint64_t, kPictureWidth>;

ColumnWords PictureColumns(const PictureBytes& picture);
PictureBytes ColumnsPicture(const ColumnWords& columns);

// A controller shows memory row r at screen row (r - start line) mod 64.
// The memory that shows `picture` at start line `line` (0..63) on both chips.
PictureBytes MemoryForStartLine(const PictureBytes& picture, int line);
// What `memory` shows with start line `line1` on chip 1 and `line2` on chip 2.
PictureBytes ShownPicture(const PictureBytes& memory, int line1, int line2);

class Ks0108Model {
 public:
  struct Controller {
    std::array<std::array<uint8_t, kSegmentsPerCrystal>, kPageCount> memory{};
    int page = 0;
    int column = 0;
    int start_line = 0;
    bool display_on = false;
  };

  // Both controllers blank, registers and start lines at zero.
  Ks0108Model() = default;
  // Memory holding `picture`; registers and start lines at zero.
  explicit Ks0108Model(const PictureBytes& picture);

  // Operations for a chip other than 1 or 2 reach no controller; unknown commands are ignored.
  void Apply(const BusOp& op);
  void Apply(std::span<const BusOp> ops);

  // The picture the glass shows: each chip's memory through its own start line.
  PictureBytes Picture() const;
  // The memory of both controllers, byte for byte, in the picture's byte order.
  PictureBytes Memory() const;

  const Controller& Chip(int chip) const { return chips_[static_cast<size_t>(chip - 1)]; }

 private:
  void Command(Controller& c, uint8_t value);

  std::array<Controller, 2> chips_{};
};

}  // namespace lumigrid
