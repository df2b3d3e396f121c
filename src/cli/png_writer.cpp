#include "cli/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <vector>

namespace lumigrid::cli {

namespace {

void AppendToString(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))
      ->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp) {}

}  // namespace

std::optional<std::string> EncodeTwoColourPng(int width, int height,
                                              const std::array<Rgb, 2>& colours,
                                              const std::function<bool(int x, int y)>& lit) {
  if (width <= 0 || height <= 0) return std::nullopt;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return std::nullopt;
  png_infop info = png_create_info_struct(png);
  std::string out;
  // Built before setjmp and not changed after it, so a longjmp leaves them valid.
  std::vector<png_byte> row(static_cast<std::size_t>((width + 7) / 8));
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    return std::nullopt;
  }
  png_set_write_fn(png, &out, AppendToString, NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 1,
               PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_color palette[2];
  for (int i = 0; i < 2; ++i) palette[i] = {colours[i].r, colours[i].g, colours[i].b};
  png_set_PLTE(png, info, palette, 2);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    std::fill(row.begin(), row.end(), png_byte{0});
    for (int x = 0; x < width; ++x) {
      if (lit(x, y)) row[static_cast<std::size_t>(x / 8)] |= static_cast<png_byte>(0x80 >> (x % 8));
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

}  // namespace lumigrid::cli
