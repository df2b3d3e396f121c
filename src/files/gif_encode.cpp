#include "files/gif_encode.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace lumigrid {

namespace {

int AppendToString(GifFileType* gif, const GifByteType* bytes, int count) {
  static_cast<std::string*>(gif->UserData)
      ->append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(count));
  return count;
}

struct Rectangle {
  int x = 0, y = 0, width = 0, height = 0;
};

// The smallest rectangle holding every pixel where the images differ; 1 x 1 at the corner
// when none does (a frame is still needed for its time).
Rectangle ChangedArea(const IndexedImage& before, const IndexedImage& after) {
  int left = after.width, right = -1, top = after.height, bottom = -1;
  for (int y = 0; y < after.height; ++y) {
    for (int x = 0; x < after.width; ++x) {
      if (before.At(x, y) == after.At(x, y)) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) return {0, 0, 1, 1};
  return {left, top, right - left + 1, bottom - top + 1};
}

class GifWriter {
 public:
  GifWriter() {
    int error = 0;
    gif_ = EGifOpen(&bytes_, AppendToString, &error);
  }
  ~GifWriter() {
    if (gif_ != nullptr) Close();
  }
  GifWriter(const GifWriter&) = delete;
  GifWriter& operator=(const GifWriter&) = delete;

  bool Start(int width, int height) {
    if (gif_ == nullptr) return false;
    // Four entries, the smallest table of two bits; the fourth is never used.
    std::array<GifColorType, 4> colours{};
    for (std::size_t i = 0; i < kRenderPalette.size(); ++i) {
      colours[i] = {kRenderPalette[i].r, kRenderPalette[i].g, kRenderPalette[i].b};
    }
    ColorMapObject* map = GifMakeMapObject(static_cast<int>(colours.size()), colours.data());
    if (map == nullptr) return false;
    EGifSetGifVersion(gif_, true);
    const bool ok = EGifPutScreenDesc(gif_, width, height, 2, kRenderWhite, map) == GIF_OK;
    GifFreeMapObject(map);
    if (!ok) return false;
    // The application block that makes viewers loop: "NETSCAPE2.0", sub-block 1, count 0 (ever).
    static constexpr GifByteType kLoop[] = {1, 0, 0};
    return EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(gif_, 11, "NETSCAPE2.0") == GIF_OK &&
           EGifPutExtensionBlock(gif_, sizeof kLoop, kLoop) == GIF_OK &&
           EGifPutExtensionTrailer(gif_) == GIF_OK;
  }

  bool PutFrame(const IndexedImage& image, const Rectangle& area, int delay_cs) {
    GraphicsControlBlock control{DISPOSE_DO_NOT, false, delay_cs, NO_TRANSPARENT_COLOR};
    GifByteType extension[4];
    const std::size_t length = EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) !=
            GIF_OK ||
        EGifPutImageDesc(gif_, area.x, area.y, area.width, area.height, false, nullptr) != GIF_OK) {
      return false;
    }
    std::vector<GifPixelType> line(static_cast<std::size_t>(area.width));
    for (int y = area.y; y < area.y + area.height; ++y) {
      std::memcpy(line.data(), &image.pixels[static_cast<std::size_t>(y) * image.width + area.x],
                  line.size());
      if (EGifPutLine(gif_, line.data(), area.width) != GIF_OK) return false;
    }
    return true;
  }

  std::optional<std::string> Finish() {
    if (!Close()) return std::nullopt;
    return std::move(bytes_);
  }

 private:
  bool Close() {
    int error = 0;
    const bool ok = EGifCloseFile(gif_, &error) == GIF_OK;
    gif_ = nullptr;
    return ok;
  }

  std::string bytes_;
  GifFileType* gif_ = nullptr;
};

}  // namespace

int GifDelayCentiseconds(int delay_ms) { return std::max(1, (delay_ms + 5) / 10); }

std::optional<std::string> EncodeGifAnimation(const std::vector<PictureBytes>& pictures,
                                              RenderLook look, int scale, int delay_ms) {
  if (pictures.empty()) return std::nullopt;
  GifWriter writer;
  IndexedImage previous = RenderPicture(pictures.front(), look, scale);
  if (!writer.Start(previous.width, previous.height)) return std::nullopt;
  const int delay = GifDelayCentiseconds(delay_ms);
  if (!writer.PutFrame(previous, {0, 0, previous.width, previous.height}, delay)) {
    return std::nullopt;
  }
  for (std::size_t i = 1; i < pictures.size(); ++i) {
    IndexedImage image = RenderPicture(pictures[i], look, scale);
    if (!writer.PutFrame(image, ChangedArea(previous, image), delay)) return std::nullopt;
    previous = std::move(image);
  }
  return writer.Finish();
}

}  // namespace lumigrid
