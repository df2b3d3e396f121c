// One picture: the 1024 display-memory bytes of both crystals, with its file name and
// modified flag.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "picture/geometry.h"

namespace lumigrid {

using PictureBytes = std::array<uint8_t, kPictureBytes>;  // cell walk order
using CellBytes = std::array<uint8_t, kBytesPerCell>;

class PictureBuffer {
 public:
  // Byte k (1..8) of cell c (1..128). Reads outside the picture give 0; writes are ignored.
  uint8_t Byte(int c, int k) const;
  void SetByte(int c, int k, uint8_t value);

  CellBytes Cell(int c) const;
  void SetCell(int c, const CellBytes& bytes);

  // Pixel (x, y) of the picture, x 0..127, y 0..63.
  bool Pixel(int x, int y) const;
  void SetPixel(int x, int y, bool lit);

  // Row r (1..8) of byte k of cell c: set or clear one pixel.
  void SetCellPixel(int c, int k, int r, bool lit);

  void Clear() { bytes_.fill(0); }

  const PictureBytes& Bytes() const { return bytes_; }
  PictureBytes& Bytes() { return bytes_; }

  const std::string& FileName() const { return file_name_; }
  void SetFileName(std::string path) { file_name_ = std::move(path); }

  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }

 private:
  PictureBytes bytes_{};
  std::string file_name_;
  bool modified_ = false;
};

}  // namespace lumigrid
