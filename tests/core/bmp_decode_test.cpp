#include "files/bmp_decode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace lumigrid {
namespace {

void Put16(std::string& out, uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// The picture of a bitmap held in memory, or nothing when it is refused.
std::optional<PictureBytes> Decode(const std::string& file) {
  std::istringstream in(file);
  const ImageDecodeResult result = DecodeBmp(in);
  if (result.status != ImageDecodeStatus::kOk) return std::nullopt;
  return result.bytes;
}

struct Layout {
  const char* name;
  int bits;
  uint32_t info_size;  // 12 (OS/2 1.x), 16 or 64 (OS/2 2.x), 40 or 124
  uint32_t compression;
  bool top_down;
  std::array<uint32_t, 4> masks;  // for bit fields
};

// Run-length code of palette rows (bottom row first): a few pixels of each row literally,
// the rest in runs, blank rows jumped over, blank rows at the top left to the end mark.
std::string EncodeRle(const std::vector<std::vector<uint8_t>>& rows, int bits) {
  std::string out;
  const auto blank = [](const std::vector<uint8_t>& row) {
    return std::all_of(row.begin(), row.end(), [](uint8_t i) { return i == 0; });
  };
  const auto pack = [bits](uint8_t a, uint8_t b) {
    return static_cast<char>(bits == 8 ? a : (a << 4 | b));
  };
  std::size_t last = rows.size();
  while (last > 0 && blank(rows[last - 1])) --last;
  int skipped = 0;
  for (std::size_t r = 0; r < last; ++r) {
    const std::vector<uint8_t>& row = rows[r];
    if (blank(row)) {
      ++skipped;
      continue;
    }
    if (skipped > 0) {
      out += std::string("\0\2\0", 3) + static_cast<char>(skipped);
      skipped = 0;
    }
    std::size_t x = 0;
    if (row.size() >= 5) {
      out += std::string("\0\5", 2);
      std::string literal;
      for (; x < 5; x += bits == 8 ? 1 : 2) {
        literal += bits == 8 ? static_cast<char>(row[x]) : pack(row[x], x + 1 < 5 ? row[x + 1] : 0);
      }
      x = 5;
      if (literal.size() % 2) literal += '\0';
      out += literal;
    }
    while (x < row.size()) {
      std::size_t n = 1;
      while (x + n < row.size() && row[x + n] == row[x] && n < 255) ++n;
      out += static_cast<char>(n);
      out += pack(row[x], row[x]);
      x += n;
    }
    out += std::string("\0\0", 2);
  }
  return out + std::string("\0\1", 2);
}

// Encodes a black-and-white image (palette index 1 = black) in the given layout.
std::string EncodeBmp(const RgbImage& image, const Layout& layout) {
  const int w = image.width;
  const int h = image.height;
  const bool indexed = layout.bits <= 8;
  std::string palette;
  if (indexed) {
    const uint32_t entries = 1u << layout.bits;
    for (uint32_t i = 0; i < entries; ++i) {
      const uint8_t v = i == 1 ? 0 : 255;
      palette += std::string(3, static_cast<char>(v));
      if (layout.info_size != 12) palette += '\0';
    }
  }
  std::string masks;
  if (layout.compression == 3 && layout.info_size == 40) {
    for (int i = 0; i < 3; ++i) Put32(masks, layout.masks[i]);
  }
  const int stride = (w * layout.bits + 31) / 32 * 4;
  std::string pixels;
  for (int i = 0; i < h; ++i) {
    const int y = layout.top_down ? i : h - 1 - i;
    std::string row(static_cast<std::size_t>(stride), '\0');
    for (int x = 0; x < w; ++x) {
      const bool black = image.At(x, y) == kBlack;
      switch (layout.bits) {
        case 1:
        case 4:
        case 8: {
          const int per_byte = 8 / layout.bits;
          const int shift = (per_byte - 1 - x % per_byte) * layout.bits;
          row[x / per_byte] = static_cast<char>(row[x / per_byte] | (black ? 1 << shift : 0));
          break;
        }
        case 16:
        case 32: {
          // Every channel's bits set for white; an alpha mask, if any, fully opaque.
          uint32_t v = black ? 0 : layout.masks[0] | layout.masks[1] | layout.masks[2];
          v |= layout.masks[3];
          if (layout.bits == 32 && layout.compression == 0) v |= 0x5A000000;  // ignored byte
          for (int b = 0; b < layout.bits / 8; ++b) {
            row[x * layout.bits / 8 + b] = static_cast<char>((v >> (8 * b)) & 0xFF);
          }
          break;
        }
        default:
          row.replace(3 * x, 3, std::string(3, black ? '\0' : '\xFF'));
      }
    }
    pixels += row;
  }
  if (layout.compression == 1 || layout.compression == 2) {
    std::vector<std::vector<uint8_t>> rows;
    for (int y = h - 1; y >= 0; --y) {
      std::vector<uint8_t> row;
      for (int x = 0; x < w; ++x) row.push_back(image.At(x, y) == kBlack ? 1 : 0);
      rows.push_back(row);
    }
    pixels = EncodeRle(rows, layout.bits);
  }
  std::string info;
  Put32(info, layout.info_size);
  if (layout.info_size == 12) {
    Put16(info, w);
    Put16(info, h);
    Put16(info, 1);
    Put16(info, layout.bits);
  } else {
    Put32(info, w);
    Put32(info, layout.top_down ? -h : h);
    Put16(info, 1);
    Put16(info, layout.bits);
    Put32(info, layout.compression);
    Put32(info, static_cast<uint32_t>(pixels.size()));
    Put32(info, 2835);
    Put32(info, 2835);
    Put32(info, 0);
    Put32(info, 0);
    if (layout.info_size > 40) {
      for (const uint32_t m : layout.masks) Put32(info, m);
    }
    info.resize(layout.info_size, '\0');
  }
  const auto offset = static_cast<uint32_t>(14 + info.size() + masks.size() + palette.size());
  std::string file = "BM";
  Put32(file, offset + static_cast<uint32_t>(pixels.size()));
  Put32(file, 0);
  Put32(file, offset);
  return file + info + masks + palette + pixels;
}

TEST(DecodeBmp, EveryLayoutGivesThePictureAndACutOneNone) {
  const Layout layouts[] = {
      {"24-bit", 24, 40, 0, false, {}},
      {"24-bit top-down", 24, 40, 0, true, {}},
      {"24-bit core header", 24, 12, 0, false, {}},
      {"32-bit", 32, 40, 0, false, {0xFF0000, 0xFF00, 0xFF, 0}},
      {"32-bit fields with alpha", 32, 124, 3, false, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}},
      {"16-bit 555", 16, 40, 0, false, {0x7C00, 0x03E0, 0x001F, 0}},
      {"16-bit 565 fields", 16, 40, 3, false, {0xF800, 0x07E0, 0x001F, 0}},
      {"8-bit palette", 8, 40, 0, false, {}},
      {"4-bit palette", 4, 40, 0, true, {}},
      {"1-bit palette", 1, 40, 0, false, {}},
      {"1-bit core header", 1, 12, 0, false, {}},
      {"1-bit OS/2 2.x short header", 1, 16, 0, false, {}},
      {"8-bit OS/2 2.x", 8, 64, 0, false, {}},
      {"4-bit run-length OS/2 2.x", 4, 64, 2, false, {}},
      {"8-bit run-length", 8, 40, 1, false, {}},
      {"4-bit run-length", 4, 40, 2, false, {}},
  };
  std::mt19937 random(11);
  for (const auto& [w, h] : {std::pair{128, 64}, {45, 23}, {301, 130}}) {
    RgbImage image(w, h);
    for (PackedRgb& c : image.pixels) c = random() % 3 == 0 ? kBlack : kWhite;
    // White rows at the top and in the middle: what run-length codes jump over.
    for (int y = 0; y < h; ++y) {
      if (y < 5 || (y >= 10 && y < 14)) {
        for (int x = 0; x < w; ++x) image.Set(x, y, kWhite);
      }
    }
    for (const Layout& layout : layouts) {
      SCOPED_TRACE(testing::Message() << layout.name << " " << w << "x" << h);
      image.depth = layout.bits == 1 ? 1 : 24;
      const PictureBytes expected = ImageToPicture(SourceOf(image));
      const std::string file = EncodeBmp(image, layout);
      const std::optional<PictureBytes> got = Decode(file);
      ASSERT_TRUE(got.has_value());
      EXPECT_EQ(*got, expected);
      EXPECT_FALSE(Decode(file.substr(0, file.size() - 1)).has_value());
    }
  }
}

// Regression: a pixel-data offset left 0 (or pointing into the headers) read the headers as
// pixels, shifting the picture sideways.
TEST(DecodeBmp, OffsetInsideTheHeadersMeansTheDataFollowThem) {
  std::mt19937 random(5);
  RgbImage image(20, 12);
  for (PackedRgb& c : image.pixels) c = random() % 2 == 0 ? kBlack : kWhite;
  for (const Layout& layout :
       {Layout{"24-bit", 24, 40, 0, false, {}}, Layout{"8-bit palette", 8, 40, 0, false, {}}}) {
    SCOPED_TRACE(layout.name);
    const std::string file = EncodeBmp(image, layout);
    const std::optional<PictureBytes> whole = Decode(file);
    ASSERT_TRUE(whole.has_value());
    for (uint32_t offset : {0u, 14u, 53u}) {
      std::string unset = file;
      for (int i = 0; i < 4; ++i) unset[10 + i] = static_cast<char>((offset >> (8 * i)) & 0xFF);
      EXPECT_EQ(Decode(unset), whole) << "offset " << offset;
    }
  }
}

TEST(DecodeBmp, TransparentPixelsAreBackground) {
  RgbImage black(128, 64, 24, kBlack);
  std::string file = EncodeBmp(black, {"", 32, 124, 3, true, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}});
  // Clear the alpha byte of the left half's pixels.
  const std::size_t pixels = file.size() - 128 * 64 * 4;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) file[pixels + (y * 128 + x) * 4 + 3] = 0;
  const std::optional<PictureBytes> got = Decode(file);
  ASSERT_TRUE(got.has_value());
  PictureBuffer picture;
  picture.Bytes() = *got;
  EXPECT_FALSE(picture.Pixel(0, 0));
  EXPECT_FALSE(picture.Pixel(63, 63));
  EXPECT_TRUE(picture.Pixel(64, 0));
  EXPECT_TRUE(picture.Pixel(127, 63));
}

// OS/2 writers leave out palette entries the pixels do not use and start the pixel data right
// after the short palette; the data offset tells how many entries there are.
TEST(DecodeBmp, PaletteEndsWhereThePixelDataStart) {
  std::mt19937 random(17);
  RgbImage image(40, 30);
  for (PackedRgb& c : image.pixels) c = random() % 2 == 0 ? kBlack : kWhite;
  for (const Layout& layout :
       {Layout{"8-bit core header", 8, 12, 0, false, {}},
        Layout{"4-bit core header", 4, 12, 0, false, {}}, Layout{"8-bit", 8, 40, 0, false, {}}}) {
    const std::string full = EncodeBmp(image, layout);
    const std::optional<PictureBytes> expected = Decode(full);
    ASSERT_TRUE(expected.has_value()) << layout.name;
    const std::size_t entry = layout.info_size == 12 ? 3 : 4;
    const std::size_t palette_start = 14 + layout.info_size;
    const std::size_t full_entries = std::size_t{1} << layout.bits;
    for (const std::size_t entries : {std::size_t{2}, std::size_t{3}, full_entries - 1}) {
      SCOPED_TRACE(testing::Message() << layout.name << ", " << entries << " entries");
      std::string file = full;
      file.erase(palette_start + entries * entry, (full_entries - entries) * entry);
      const auto offset = static_cast<uint32_t>(palette_start + entries * entry);
      for (int i = 0; i < 4; ++i) file[10 + i] = static_cast<char>((offset >> (8 * i)) & 0xFF);
      EXPECT_EQ(Decode(file), expected);
    }
  }
}

// Valid bitmaps the import does not read say so, and which kind they are; sizes beyond the
// limits are refused as too large; the rest of what cannot be read is damaged.
TEST(DecodeBmp, RefusalsSayWhy) {
  struct Case {
    uint32_t info_size;
    int32_t width, height;
    int bits;
    uint32_t compression;
    ImageDecodeStatus status;
    std::string kind;
  };
  const auto kUnsupported = ImageDecodeStatus::kUnsupported;
  const auto kTooLarge = ImageDecodeStatus::kTooLarge;
  const auto kDamaged = ImageDecodeStatus::kUndecodable;
  const Case cases[] = {
      {40, 8, 8, 2, 0, kUnsupported, "bitmaps of 2 bits per pixel"},
      {124, 8, 8, 64, 0, kUnsupported, "bitmaps of 64 bits per pixel"},
      {64, 8, 8, 24, 4, kUnsupported, "bitmaps with 24-bit run-length coding"},
      {64, 8, 8, 1, 3, kUnsupported, "OS/2 bitmaps with Huffman coding"},
      {40, 8, 8, 0, 4, kUnsupported, "bitmaps holding JPEG data"},
      {108, 8, 8, 0, 5, kUnsupported, "bitmaps holding PNG data"},
      {40, 8, 8, 32, 11, kUnsupported, "CMYK bitmaps"},
      {40, 65536, 1, 24, 0, kTooLarge, ""},
      {40, 1, -65536, 24, 0, kTooLarge, ""},
      {40, 32768, 32769, 1, 0, kTooLarge, ""},
      {40, 8, 8, 7, 0, kDamaged, ""},
      {40, 0, 8, 24, 0, kDamaged, ""},
      {40, 8, 8, 24, 1, kDamaged, ""},  // 8-bit run-length coding at 24 bits
      {40, 8, 8, 8, 9, kDamaged, ""},
  };
  for (const Case& c : cases) {
    std::string file = "BM";
    Put32(file, 0);
    Put32(file, 0);
    Put32(file, 0);
    Put32(file, c.info_size);
    Put32(file, static_cast<uint32_t>(c.width));
    Put32(file, static_cast<uint32_t>(c.height));
    Put16(file, 1);
    Put16(file, static_cast<uint32_t>(c.bits));
    Put32(file, c.compression);
    file.resize(14 + c.info_size + 4096, '\0');
    std::istringstream in(file);
    const ImageDecodeResult result = DecodeBmp(in);
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " " << c.bits << " bits, "
                                    << "compression " << c.compression);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.kind, c.kind);
    if (c.status == kTooLarge) {
      EXPECT_EQ(result.width, c.width);
      EXPECT_EQ(result.height, std::abs(int64_t{c.height}));
    }
  }
}

// Regression: jumps and runs past the right edge grew the column counter without bound, and
// 2^31 columns overflowed it (undefined behaviour, reported by the sanitizer build).
TEST(DecodeBmp, RunLengthColumnsPastTheEdgeDoNotOverflow) {
  constexpr int kCodes = 8'500'000;  // each moves 255 columns: past 2^31 in all
  const struct {
    int bits;
    std::string code;
  } cases[] = {
      {8, std::string("\0\2\xFF\0", 4)},  // jump 255 right, 0 down
      {4, std::string("\xFF\x11", 2)},    // a run of 255 pixels of entry 1
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bits);
    const int entries = 1 << c.bits;
    std::string file = "BM";
    const auto offset = static_cast<uint32_t>(14 + 40 + 4 * entries);
    Put32(file, 0);
    Put32(file, 0);
    Put32(file, offset);
    Put32(file, 40);
    Put32(file, 1);
    Put32(file, 1);
    Put16(file, 1);
    Put16(file, static_cast<uint32_t>(c.bits));
    Put32(file, c.bits == 8 ? 1 : 2);
    file.resize(offset, '\0');
    file.replace(14 + 40, 4, std::string("\xFF\xFF\xFF\0", 4));  // entry 0 white, 1 black
    file += std::string("\1\x11", 2);                            // the one pixel, black
    std::string codes = c.code;
    while (codes.size() < c.code.size() * kCodes) codes += codes;
    file += codes.substr(0, c.code.size() * kCodes) + std::string("\0\1", 2);
    const std::optional<PictureBytes> got = Decode(file);
    ASSERT_TRUE(got.has_value());
    EXPECT_TRUE(std::all_of(got->begin(), got->end(), [](uint8_t b) { return b == 0xFF; }));
  }
}

}  // namespace
}  // namespace lumigrid
