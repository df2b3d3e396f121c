#include "frames/ks0108_model.h"

#include <bit>

namespace lumigrid {

ColumnWords PictureColumns(const PictureBytes& picture) {
  ColumnWords columns{};
  for (int x = 0; x < kPictureWidth; ++x) {
    const int chip = 1 + x / kSegmentsPerCrystal;
    uint64_t word = 0;
    for (int page = 0; page < kPageCount; ++page) {
      const uint64_t byte = picture[DisplayMemoryOffset(chip, page, x % kSegmentsPerCrystal)];
      word |= byte << (8 * page);
    }
    columns[x] = word;
  }
  return columns;
}

PictureBytes ColumnsPicture(const ColumnWords& columns) {
  PictureBytes picture{};
  for (int x = 0; x < kPictureWidth; ++x) {
    const int chip = 1 + x / kSegmentsPerCrystal;
    for (int page = 0; page < kPageCount; ++page) {
      picture[DisplayMemoryOffset(chip, page, x % kSegmentsPerCrystal)] =
          static_cast<uint8_t>(columns[x] >> (8 * page));
    }
  }
  return picture;
}

PictureBytes MemoryForStartLine(const PictureBytes& picture, int line) {
  ColumnWords columns = PictureColumns(picture);
  // Screen row y is memory row y + line: the picture's rows move down by `line`.
  for (uint64_t& word : columns) word = std::rotl(word, line);
  return ColumnsPicture(columns);
}

PictureBytes ShownPicture(const PictureBytes& memory, int line1, int line2) {
  ColumnWords columns = PictureColumns(memory);
  for (int x = 0; x < kPictureWidth; ++x) {
    columns[x] = std::rotr(columns[x], x < kSegmentsPerCrystal ? line1 : line2);
  }
  return ColumnsPicture(columns);
}

Ks0108Model::Ks0108Model(const PictureBytes& picture) {
  for (int chip = 1; chip <= 2; ++chip) {
    for (int page = 0; page < kPageCount; ++page) {
      for (int column = 0; column < kSegmentsPerCrystal; ++column) {
        chips_[chip - 1].memory[page][column] = picture[DisplayMemoryOffset(chip, page, column)];
      }
    }
  }
}

void Ks0108Model::Command(Controller& c, uint8_t value) {
  if (value == kDisplayOnCommand || value == kDisplayOffCommand) {
    c.display_on = value == kDisplayOnCommand;
  } else if ((value & 0xC0) == kSetColumnCommand) {
    c.column = value & 0x3F;
  } else if ((value & 0xF8) == kSetPageCommand) {
    c.page = value & 0x07;
  } else if ((value & 0xC0) == kStartLineCommand) {
    c.start_line = value & 0x3F;
  }
}

void Ks0108Model::Apply(const BusOp& op) {
  if (op.chip != 1 && op.chip != 2) return;
  Controller& c = chips_[op.chip - 1];
  if (!op.data) {
    Command(c, op.value);
    return;
  }
  c.memory[c.page][c.column] = op.value;
  // The column counter wraps within the page; the page register never moves by itself.
  c.column = (c.column + 1) % kSegmentsPerCrystal;
}

void Ks0108Model::Apply(std::span<const BusOp> ops) {
  for (const BusOp& op : ops) Apply(op);
}

PictureBytes Ks0108Model::Picture() const {
  return ShownPicture(Memory(), chips_[0].start_line, chips_[1].start_line);
}

PictureBytes Ks0108Model::Memory() const {
  PictureBytes picture{};
  for (int chip = 1; chip <= 2; ++chip) {
    for (int page = 0; page < kPageCount; ++page) {
      for (int column = 0; column < kSegmentsPerCrystal; ++column) {
        picture[DisplayMemoryOffset(chip, page, column)] = chips_[chip - 1].memory[page][column];
      }
    }
  }
  return picture;
}

}  // namespace lumigrid
