#include "image/stream_writers.h"

#include <cstdio>

#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <memory>
#include <random>
#include <vector>

namespace lumigrid::testing_images {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

[[noreturn]] void OnPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};
[[noreturn]] void OnJpegError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

bool PngRows(png_structp png, png_infop info, std::FILE* file, int width, int height, int channels,
             const RowFiller& fill, bool interlaced, std::vector<uint8_t>& row) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  png_set_compression_level(png, 1);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               channels == 1 ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  const int passes = png_set_interlace_handling(png);
  for (int pass = 0; pass < passes; ++pass) {
    for (int y = 0; y < height; ++y) {
      fill(y, row.data());
      png_write_row(png, row.data());
    }
  }
  png_write_end(png, nullptr);
  return true;
}

bool JpegRows(jpeg_compress_struct& info, std::FILE* file, int width, int height, int channels,
              int quality, const RowFiller& fill, std::vector<uint8_t>& row) {
  if (setjmp(reinterpret_cast<JpegErrors*>(info.err)->jump)) return false;
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = channels;
  info.in_color_space = channels == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  for (int y = 0; y < height; ++y) {
    fill(y, row.data());
    JSAMPROW line = row.data();
    jpeg_write_scanlines(&info, &line, 1);
  }
  jpeg_finish_compress(&info);
  return true;
}

}  // namespace

RowFiller PhotoLike(int width, int height) {
  return [width, height](int y, uint8_t* row) {
    std::mt19937 random(static_cast<unsigned>(y));
    for (int x = 0; x < width; ++x) {
      const int noise = static_cast<int>(random() % 33) - 16;
      const auto channel = [noise](int v) {
        return static_cast<uint8_t>(std::clamp(v + noise, 0, 255));
      };
      row[3 * x] = channel(x * 255 / width);
      row[3 * x + 1] = channel(y * 255 / height);
      row[3 * x + 2] = channel((x + y) * 255 / (width + height));
    }
  };
}

bool WritePng(const std::string& path, int width, int height, int channels, const RowFiller& fill,
              bool interlaced) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, nullptr);
  png_infop info = png_create_info_struct(png);
  std::vector<uint8_t> row(static_cast<std::size_t>(width) * channels);
  const bool ok = PngRows(png, info, file.get(), width, height, channels, fill, interlaced, row);
  png_destroy_write_struct(&png, &info);
  return ok;
}

bool WriteJpeg(const std::string& path, int width, int height, int channels, int quality,
               const RowFiller& fill) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  jpeg_compress_struct info{};
  JpegErrors errors{};
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = OnJpegError;
  std::vector<uint8_t> row(static_cast<std::size_t>(width) * channels);
  const bool ok = JpegRows(info, file.get(), width, height, channels, quality, fill, row);
  jpeg_destroy_compress(&info);
  return ok;
}

std::string PngChunkBytes(const PngChunk& chunk) {
  const auto big_endian = [](uint32_t v) {
    return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 8), static_cast<char>(v)};
  };
  const std::string typed = chunk.type + chunk.data;
  const auto crc = static_cast<uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size())));
  return big_endian(static_cast<uint32_t>(chunk.data.size())) + typed + big_endian(crc);
}

std::string GreyPngFile(int width, int height, const std::function<uint8_t(int x, int y)>& grey,
                        const std::vector<PngChunk>& extra) {
  std::string header(13, '\0');
  for (int i = 0; i < 4; ++i) {
    header[i] = static_cast<char>(width >> (24 - 8 * i));
    header[4 + i] = static_cast<char>(height >> (24 - 8 * i));
  }
  header[8] = 8;  // bits per sample, grey
  std::string rows;
  for (int y = 0; y < height; ++y) {
    rows += '\0';  // no filter
    for (int x = 0; x < width; ++x) rows += static_cast<char>(grey(x, y));
  }
  std::string packed(compressBound(static_cast<uLong>(rows.size())), '\0');
  uLongf packed_size = static_cast<uLongf>(packed.size());
  compress(reinterpret_cast<Bytef*>(packed.data()), &packed_size,
           reinterpret_cast<const Bytef*>(rows.data()), static_cast<uLong>(rows.size()));
  packed.resize(packed_size);
  std::string file = "\x89PNG\r\n\x1a\n" + PngChunkBytes({"IHDR", header});
  for (const PngChunk& chunk : extra) file += PngChunkBytes(chunk);
  return file + PngChunkBytes({"IDAT", packed}) + PngChunkBytes({"IEND", ""});
}

}  // namespace lumigrid::testing_images
