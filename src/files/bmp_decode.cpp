#include "files/bmp_decode.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace lumigrid {

namespace {

constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kJpeg = 4;
constexpr uint32_t kPng = 5;
constexpr uint32_t kAlphaBitFields = 6;
constexpr uint32_t kCmyk = 11;
constexpr uint32_t kCmykRle4 = 13;
// OS/2 2.x numbers its compressions beyond the run-length ones differently.
constexpr uint32_t kOs2Huffman = 3;
constexpr uint32_t kOs2Rle24 = 4;

uint32_t Le16(const uint8_t* p) { return uint32_t{p[0]} | uint32_t{p[1]} << 8; }
uint32_t Le32(const uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }

bool ReadBytes(std::istream& in, uint8_t* out, std::size_t count) {
  in.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(count));
  return static_cast<std::size_t>(in.gcount()) == count;
}

// One colour channel under a bit-field mask, scaled to 0..255.
class Channel {
 public:
  Channel() = default;
  explicit Channel(uint32_t mask) : mask_(mask) {
    if (mask == 0) return;
    shift_ = std::countr_zero(mask);
    max_ = mask >> shift_;
    // A mask with gaps is not a channel; only its lowest run of bits is used.
    max_ = (max_ & (max_ + 1)) == 0 ? max_ : (uint32_t{1} << std::countr_one(max_)) - 1;
  }
  bool Present() const { return mask_ != 0; }
  int Of(uint32_t pixel) const {
    if (mask_ == 0) return 0;
    const uint32_t v = (pixel >> shift_) & max_;
    return static_cast<int>((uint64_t{v} * 255 + max_ / 2) / max_);
  }

 private:
  uint32_t mask_ = 0;
  int shift_ = 0;
  uint32_t max_ = 1;
};

struct Header {
  int64_t width = 0;
  int64_t height = 0;  // negative: rows stored top first
  int bits = 0;
  uint32_t compression = kRgb;
  uint32_t data_offset = 0;
  uint32_t palette_size = 0;
  std::array<uint32_t, 4> masks{};  // red, green, blue, alpha
  bool core = false;                // OS/2 1.x 12-byte header: 3-byte palette entries
  bool os2 = false;                 // OS/2 2.x header of 16 to 64 bytes
};

// What a valid header declares that the reader does not read, in English, or "".
std::string UnsupportedKind(const Header& h) {
  if (h.os2 && h.compression == kOs2Huffman) return "OS/2 bitmaps with Huffman coding";
  if (h.os2 && h.compression == kOs2Rle24) return "bitmaps with 24-bit run-length coding";
  if (!h.os2 && h.compression == kJpeg) return "bitmaps holding JPEG data";
  if (!h.os2 && h.compression == kPng) return "bitmaps holding PNG data";
  if (!h.os2 && h.compression >= kCmyk && h.compression <= kCmykRle4) return "CMYK bitmaps";
  if (h.compression == kRgb && (h.bits == 2 || h.bits == 64)) {
    return "bitmaps of " + std::to_string(h.bits) + " bits per pixel";
  }
  return "";
}

// Run-length coded 8 or 4-bit rows. Pixels the code skips (by its jumps, ends of lines and
// the end of the bitmap) take palette entry 0. A code that ends before its end-of-bitmap mark
// is damaged. Only the pixels the code writes are handed on, over a row of entry 0, so the
// time follows the bytes of the file, not the size it declares.
bool DecodeRle(std::istream& in, int bits, const std::array<PackedRgb, 256>& palette, int width,
               int height, PictureBuilder& builder) {
  std::vector<std::pair<int, PackedRgb>> written;
  int rows_done = 0;
  // Columns past the width are dropped unread, so x stops there: no count of jumps or runs
  // can overflow it, and a run costs only the pixels it leaves in the row.
  int x = 0;
  const auto put = [&](uint8_t index) { written.emplace_back(x++, palette[index]); };
  const auto end_row = [&] {
    if (rows_done < height) {
      builder.AddRowOver(palette[0], written);
      ++rows_done;
    }
    written.clear();
  };
  const auto skip_rows = [&](int count) {
    count = std::min(count, height - rows_done);
    builder.AddUniformRows(palette[0], count);
    rows_done += count;
  };
  uint8_t pair[2];
  while (ReadBytes(in, pair, 2)) {
    if (pair[0] > 0) {
      // A run: one index, or two alternating ones at 4 bits.
      for (int i = 0; i < pair[0] && x < width; ++i) {
        put(bits == 8 ? pair[1] : (i % 2 == 0 ? pair[1] >> 4 : pair[1] & 0xF));
      }
      continue;
    }
    switch (pair[1]) {
      case 0:  // end of line
        end_row();
        x = 0;
        break;
      case 1:  // end of bitmap
        if (rows_done < height) end_row();
        skip_rows(height - rows_done);
        return true;
      case 2: {  // jump right and down
        uint8_t delta[2];
        if (!ReadBytes(in, delta, 2)) return false;
        if (delta[1] > 0) {
          end_row();
          skip_rows(delta[1] - 1);
        }
        x = std::min(x + delta[0], width);
        break;
      }
      default: {  // pair[1] indices stored as they are, padded to whole 16-bit words
        const int count = pair[1];
        const int bytes = bits == 8 ? count : (count + 1) / 2;
        uint8_t literal[256];
        if (!ReadBytes(in, literal, static_cast<std::size_t>(bytes + bytes % 2))) return false;
        for (int i = 0; i < count && x < width; ++i) {
          put(bits == 8 ? literal[i] : (i % 2 == 0 ? literal[i / 2] >> 4 : literal[i / 2] & 0xF));
        }
      }
    }
  }
  return false;
}

}  // namespace

ImageDecodeResult DecodeBmp(std::istream& in, const DecodeRequest& options) {
  const ImageDecodeResult damaged = Refusal(ImageDecodeStatus::kUndecodable);
  const std::streampos start = in.tellg();
  uint8_t file_header[18];
  if (!ReadBytes(in, file_header, sizeof file_header)) return damaged;
  if (file_header[0] != 'B' || file_header[1] != 'M') return damaged;
  Header h;
  h.data_offset = Le32(file_header + 10);
  const uint32_t info_size = Le32(file_header + 14);
  if (info_size != 12 && (info_size < 16 || info_size > 4096)) return damaged;
  // Fields a shorter header lacks read as 0.
  std::vector<uint8_t> info(std::max<uint32_t>(info_size, 64));
  if (!ReadBytes(in, info.data() + 4, info_size - 4)) return damaged;
  if (info_size == 12) {
    h.core = true;
    h.width = Le16(&info[4]);
    h.height = Le16(&info[6]);
    h.bits = static_cast<int>(Le16(&info[10]));
  } else {
    h.os2 = info_size < 40 || info_size == 64;
    h.width = static_cast<int32_t>(Le32(&info[4]));
    h.height = static_cast<int32_t>(Le32(&info[8]));
    h.bits = static_cast<int>(Le16(&info[14]));
    h.compression = Le32(&info[16]);
    h.palette_size = Le32(&info[32]);
    if (info_size >= 52 && !h.os2) {
      for (int i = 0; i < 3; ++i) h.masks[i] = Le32(&info[40 + 4 * i]);
    }
    if (info_size >= 56 && !h.os2) h.masks[3] = Le32(&info[52]);
  }
  const std::string unsupported = UnsupportedKind(h);
  if (!unsupported.empty()) return Unsupported(unsupported);
  const bool bit_fields =
      !h.os2 && (h.compression == kBitFields || h.compression == kAlphaBitFields);
  const bool rle =
      (h.compression == kRle8 && h.bits == 8) || (h.compression == kRle4 && h.bits == 4);
  if (h.compression != kRgb && !bit_fields && !rle) return damaged;
  if (bit_fields && h.bits != 16 && h.bits != 32) return damaged;
  if (bit_fields && info_size < 52) {
    // The masks follow a short header.
    const int count = h.compression == kAlphaBitFields ? 4 : 3;
    uint8_t masks[16];
    if (!ReadBytes(in, masks, 4 * count)) return damaged;
    for (int i = 0; i < count; ++i) h.masks[i] = Le32(masks + 4 * i);
  }
  if (!bit_fields && h.bits == 16) h.masks = {0x7C00, 0x03E0, 0x001F, 0};
  if (!bit_fields && h.bits == 32) h.masks = {0xFF0000, 0x00FF00, 0x0000FF, 0};

  const int64_t rows = h.height < 0 ? -h.height : h.height;
  if (h.width > 0 && rows > 0 && !IsImportableSize(h.width, rows)) return TooLarge(h.width, rows);
  if (!IsImportableSize(h.width, rows)) return damaged;
  const int width = static_cast<int>(h.width);
  const int height = static_cast<int>(rows);

  std::array<PackedRgb, 256> palette;
  palette.fill(kBlack);  // an index beyond the palette reads as black
  const std::streamoff palette_start = in.tellg() - start;
  if (!in) return damaged;
  if (h.bits == 1 || h.bits == 4 || h.bits == 8) {
    uint32_t entries =
        h.palette_size == 0 || h.palette_size > (1u << h.bits) ? (1u << h.bits) : h.palette_size;
    const std::size_t entry_size = h.core ? 3 : 4;
    // Pixel data that start inside the palette cut it short there (OS/2 writers leave out
    // unused entries); an offset before the palette is taken below.
    const auto offset = static_cast<std::streamoff>(h.data_offset);
    const auto full = static_cast<std::streamoff>(entries * entry_size);
    if (offset > palette_start && offset < palette_start + full) {
      entries =
          static_cast<uint32_t>(static_cast<std::size_t>(offset - palette_start) / entry_size);
    }
    std::vector<uint8_t> table(entries * entry_size);
    if (!ReadBytes(in, table.data(), table.size())) return damaged;
    for (uint32_t i = 0; i < entries; ++i) {
      const uint8_t* e = &table[i * entry_size];
      palette[i] = MakeRgb(e[2], e[1], e[0]);
    }
  } else if (h.bits != 16 && h.bits != 24 && h.bits != 32) {
    return damaged;
  }

  // Pixel data cannot lie inside the headers: an offset pointing there (often 0, from writers
  // that leave the field unset) means the data follow them, as other readers take it.
  const std::streamoff headers_end = in.tellg() - start;
  if (!in) return damaged;
  if (h.data_offset < headers_end) h.data_offset = static_cast<uint32_t>(headers_end);

  // Every row is there, or the file is damaged: decided before a single row is read.
  const int64_t stride = (h.width * h.bits + 31) / 32 * 4;
  in.seekg(0, std::ios::end);
  const std::streamoff file_end = in.tellg() - start;
  if (!in || h.data_offset + (rle ? 2 : stride * rows) > file_end) return damaged;
  in.seekg(start + std::streamoff{h.data_offset});
  if (!in) return damaged;
  if (rle) {
    PictureBuilder builder(width, height, h.bits, {palette[0], palette[1]}, h.height > 0, options);
    if (!DecodeRle(in, h.bits, palette, width, height, builder)) return damaged;
    return Decoded(builder.Picture());
  }

  const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]), alpha(h.masks[3]);
  const bool plain32 =
      h.bits == 32 && h.masks == std::array<uint32_t, 4>{0xFF0000, 0xFF00, 0xFF, 0};
  PictureBuilder builder(width, height, h.bits == 1 ? 1 : h.bits, {palette[0], palette[1]},
                         h.height > 0, options);
  std::vector<uint8_t> data(static_cast<std::size_t>(stride));
  std::vector<PackedRgb> row(static_cast<std::size_t>(width));
  for (int y = 0; y < height; ++y) {
    if (!ReadBytes(in, data.data(), data.size())) return damaged;
    const uint8_t* d = data.data();
    switch (h.bits) {
      case 1:
        for (int x = 0; x < width; ++x) row[x] = palette[(d[x >> 3] >> (7 - (x & 7))) & 1];
        break;
      case 4:
        for (int x = 0; x < width; ++x) row[x] = palette[(d[x >> 1] >> (x & 1 ? 0 : 4)) & 0xF];
        break;
      case 8:
        for (int x = 0; x < width; ++x) row[x] = palette[d[x]];
        break;
      case 24:
        for (int x = 0; x < width; ++x) row[x] = MakeRgb(d[3 * x + 2], d[3 * x + 1], d[3 * x]);
        break;
      default: {
        const int size = h.bits / 8;
        for (int x = 0; x < width; ++x) {
          const uint32_t v = size == 2 ? Le16(d + 2 * x) : Le32(d + 4 * x);
          if (plain32) {
            row[x] = v & 0xFFFFFF;
            continue;
          }
          const PackedRgb c = MakeRgb(red.Of(v), green.Of(v), blue.Of(v));
          row[x] = alpha.Present() ? OverWhite(static_cast<uint32_t>(alpha.Of(v)) << 24 | c) : c;
        }
      }
    }
    builder.AddRow(row.data());
  }
  return Decoded(builder.Picture());
}

}  // namespace lumigrid
