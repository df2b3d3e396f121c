#include "picture/picture_render.h"

#include <algorithm>

#include "picture/canvas_geometry.h"

namespace lumigrid {

const std::array<Rgb, 3> kRenderPalette{colour::kBackground, colour::kCellNormal,
                                        colour::kPixelLit};

IndexedImage RenderPicture(const PictureBytes& bytes, RenderLook look, int scale) {
  PictureBuffer picture;
  picture.Bytes() = bytes;
  IndexedImage image;
  if (look == RenderLook::kCanvas) {
    image.width = kCanvasWidth;
    image.height = kCanvasHeight;
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, kRenderWhite);
    for (int c = 1; c <= kCellCount; ++c) {
      const Rect r = CanvasCellRect(c);
      const CellBytes cell = picture.Cell(c);
      for (int y = 0; y < kCanvasCellSize; ++y) {
        const int row = y / kCanvasPixelSize + 1;
        for (int x = 0; x < kCanvasCellSize; ++x) {
          image.pixels[static_cast<std::size_t>(r.y + y) * image.width + r.x + x] =
              TestBit(cell[x / kCanvasPixelSize], row) ? kRenderLit : kRenderCell;
        }
      }
    }
    return image;
  }
  scale = std::clamp(scale, 1, kMaxPlainScale);
  image.width = kPictureWidth * scale;
  image.height = kPictureHeight * scale;
  image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      image.pixels[static_cast<std::size_t>(y) * image.width + x] =
          picture.Pixel(x / scale, y / scale) ? kRenderLit : kRenderWhite;
    }
  }
  return image;
}

}  // namespace lumigrid
