#include "image/gif_writer.h"

#include <gif_lib.h>

#include <array>

namespace lumigrid::testing_images {

namespace {

int Append(GifFileType* gif, const GifByteType* bytes, int count) {
  static_cast<std::string*>(gif->UserData)
      ->append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(count));
  return count;
}

ColorMapObject* Map(const GifPalette& palette) {
  std::vector<GifColorType> colours;
  for (const auto& c : palette) colours.push_back({c[0], c[1], c[2]});
  return GifMakeMapObject(static_cast<int>(colours.size()), colours.data());
}

}  // namespace

GifPalette WhiteBlack() { return {{255, 255, 255}, {0, 0, 0}}; }

GifTestFrame FrameFromRows(int left, int top, const std::vector<std::string>& rows) {
  GifTestFrame frame;
  frame.left = left;
  frame.top = top;
  frame.height = static_cast<int>(rows.size());
  frame.width = rows.empty() ? 0 : static_cast<int>(rows[0].size());
  for (const std::string& row : rows) {
    for (char c : row) {
      frame.indices.push_back(c == '#' ? 1 : c == '.' ? 0 : static_cast<uint8_t>(c - '0'));
    }
  }
  return frame;
}

std::string GifBytes(int width, int height, const GifPalette& global,
                     const std::vector<GifTestFrame>& frames) {
  std::string bytes;
  int error = 0;
  GifFileType* gif = EGifOpen(&bytes, Append, &error);
  EGifSetGifVersion(gif, true);
  ColorMapObject* global_map = global.empty() ? nullptr : Map(global);
  EGifPutScreenDesc(gif, width, height, 8, 0, global_map);
  GifFreeMapObject(global_map);
  for (const GifTestFrame& f : frames) {
    GraphicsControlBlock control{f.disposal, false, f.delay_cs, f.transparent};
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
    // giflib forgets a frame's own table when the next frame has none: it is freed here.
    if (f.local.empty() && gif->Image.ColorMap != nullptr) {
      GifFreeMapObject(gif->Image.ColorMap);
      gif->Image.ColorMap = nullptr;
    }
    ColorMapObject* local = f.local.empty() ? nullptr : Map(f.local);
    EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlaced, local);
    GifFreeMapObject(local);
    std::vector<int> rows;
    if (f.interlaced) {
      for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
        for (int y = start; y < f.height; y += step) rows.push_back(y);
    } else {
      for (int y = 0; y < f.height; ++y) rows.push_back(y);
    }
    for (int y : rows) {
      std::vector<GifPixelType> line(f.indices.begin() + y * f.width,
                                     f.indices.begin() + (y + 1) * f.width);
      EGifPutLine(gif, line.data(), f.width);
    }
  }
  EGifCloseFile(gif, &error);
  return bytes;
}

std::string GifHeader(int width, int height) {
  return GifBytes(width, height, WhiteBlack(), {}).substr(0, 19);
}

std::string GifFrameChunk(const GifTestFrame& frame) {
  const std::string gif =
      GifBytes(frame.left + frame.width, frame.top + frame.height, WhiteBlack(), {frame});
  return gif.substr(19, gif.size() - 20);
}

GifTestFrame UniformFrame(int width, int height) {
  GifTestFrame frame;
  frame.width = width;
  frame.height = height;
  frame.indices.assign(static_cast<std::size_t>(width) * height, 1);
  return frame;
}

std::string GifImageDescriptor(int left, int top, int width, int height) {
  const auto le16 = [](int v) {
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)};
  };
  return "," + le16(left) + le16(top) + le16(width) + le16(height) + std::string(1, '\0');
}

}  // namespace lumigrid::testing_images
