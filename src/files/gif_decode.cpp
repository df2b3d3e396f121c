#include "files/gif_decode.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

namespace lumigrid {

namespace {

int ReadFromFile(GifFileType* gif, GifByteType* bytes, int count) {
  auto* file = static_cast<std::FILE*>(gif->UserData);
  return static_cast<int>(std::fread(bytes, 1, static_cast<std::size_t>(count), file));
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};
using GifFile = std::unique_ptr<GifFileType, GifCloser>;

// Rows of an interlaced frame in the order they are stored: every 8th from 0, every 8th from 4,
// every 4th from 2, every 2nd from 1.
std::vector<int> StoredRowOrder(int height, bool interlaced) {
  std::vector<int> rows;
  rows.reserve(static_cast<std::size_t>(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y) rows.push_back(y);
    return rows;
  }
  constexpr std::array<std::pair<int, int>, 4> kPasses{{{0, 8}, {4, 8}, {2, 4}, {1, 2}}};
  for (const auto& [start, step] : kPasses) {
    for (int y = start; y < height; y += step) rows.push_back(y);
  }
  return rows;
}

class GifDecoder {
 public:
  GifDecoder(const FramesRequest& request, DecodedFrames& out) : request_(request), out_(out) {}

  // The reason of a refusal, as a status and its details in `out`.
  void Refuse(ImageDecodeStatus status, std::string kind = {}) {
    out_.status = status;
    out_.kind = std::move(kind);
  }

  bool Run(std::FILE* file) {
    int error = 0;
    gif_.reset(DGifOpen(file, ReadFromFile, &error));
    if (!gif_) {
      Refuse(error == D_GIF_ERR_NOT_GIF_FILE ? ImageDecodeStatus::kNotAnImage
                                             : ImageDecodeStatus::kUndecodable);
      return false;
    }
    width_ = gif_->SWidth;
    height_ = gif_->SHeight;
    if (!IsImportableSize(width_, height_)) {
      Refuse(width_ > 0 && height_ > 0 ? ImageDecodeStatus::kTooLarge
                                       : ImageDecodeStatus::kUndecodable);
      out_.width = width_;
      out_.height = height_;
      return false;
    }
    if (int64_t{width_} * height_ > kMaxGifScreenPixels) {
      Refuse(ImageDecodeStatus::kUnsupported,
             "GIF screens of more than " + std::to_string(kMaxGifScreenPixels) + " pixels");
      return false;
    }
    screen_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), kWhite);
    for (;;) {
      GifRecordType type = UNDEFINED_RECORD_TYPE;
      if (DGifGetRecordType(gif_.get(), &type) == GIF_ERROR) {
        // A file that ends after a whole frame, without the trailer, is taken as it is.
        return out_.frame_count > 0 && gif_->Error == D_GIF_ERR_READ_FAILED && std::feof(file);
      }
      switch (type) {
        case EXTENSION_RECORD_TYPE:
          if (!ReadExtension()) return false;
          break;
        case IMAGE_DESC_RECORD_TYPE:
          if (!ReadFrame()) return false;
          control_ = GraphicsControlBlock{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
          break;
        case TERMINATE_RECORD_TYPE:
          return out_.frame_count > 0;
        default:
          return false;
      }
    }
  }

 private:
  bool ReadExtension() {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif_.get(), &code, &block) == GIF_ERROR) return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
      DGifExtensionToGCB(block[0], block + 1, &control_);
    }
    while (block != nullptr) {
      if (DGifGetExtensionNext(gif_.get(), &block) == GIF_ERROR) return false;
    }
    return true;
  }

  // Reads past the frame's compressed data without decoding it.
  bool SkipData() {
    int code_size = 0;
    GifByteType* block = nullptr;
    if (DGifGetCode(gif_.get(), &code_size, &block) == GIF_ERROR) return false;
    while (block != nullptr) {
      if (DGifGetCodeNext(gif_.get(), &block) == GIF_ERROR) return false;
    }
    return true;
  }

  bool Spend(int64_t pixels) {
    work_ += pixels;
    if (work_ <= kMaxGifWork) return true;
    Refuse(ImageDecodeStatus::kUnsupported,
           "GIF animations of that many frames of that size (" + std::to_string(out_.frame_count) +
               " frames of " + std::to_string(width_) + " x " + std::to_string(height_) +
               " are past the work allowed)");
    return false;
  }

  bool ReadFrame() {
    if (DGifGetImageDesc(gif_.get()) == GIF_ERROR) return false;
    if (++out_.frame_count > kMaxGifFrames) {
      Refuse(ImageDecodeStatus::kUnsupported,
             "GIFs of more than " + std::to_string(kMaxGifFrames) + " frames");
      return false;
    }
    const GifImageDesc& desc = gif_->Image;
    const int64_t area = int64_t{desc.Width} * desc.Height;
    if (area > kMaxGifScreenPixels) {
      Refuse(ImageDecodeStatus::kUnsupported,
             "GIF frames of more than " + std::to_string(kMaxGifScreenPixels) + " pixels");
      return false;
    }
    const ColorMapObject* colours = desc.ColorMap != nullptr ? desc.ColorMap : gif_->SColorMap;
    if (colours == nullptr || colours->Colors == nullptr) return false;
    const bool convert = out_.frame_count <= request_.max_frames;
    if (!convert || area == 0) {
      if (!SkipData()) return false;
      if (convert && !Convert()) return false;
      return true;
    }
    if (!Spend(area * kGifDecodeWork)) return false;

    // The part of the screen the frame covers; what lies outside the screen is dropped.
    const int left = std::clamp(desc.Left, 0, width_);
    const int top = std::clamp(desc.Top, 0, height_);
    const int right =
        static_cast<int>(std::clamp<int64_t>(int64_t{desc.Left} + desc.Width, 0, width_));
    const int bottom =
        static_cast<int>(std::clamp<int64_t>(int64_t{desc.Top} + desc.Height, 0, height_));
    const int disposal = control_.DisposalMode;
    std::vector<PackedRgb> under;
    if (disposal == DISPOSE_PREVIOUS) under = Area(left, top, right, bottom);

    std::array<PackedRgb, 256> palette;
    palette.fill(kBlack);  // an index beyond the colour table reads as black
    for (int i = 0; i < std::min(colours->ColorCount, 256); ++i) {
      const GifColorType& c = colours->Colors[i];
      palette[static_cast<std::size_t>(i)] = MakeRgb(c.Red, c.Green, c.Blue);
    }
    const int transparent = control_.TransparentColor;
    std::vector<GifPixelType> line(static_cast<std::size_t>(desc.Width));
    for (const int row : StoredRowOrder(desc.Height, desc.Interlace)) {
      if (DGifGetLine(gif_.get(), line.data(), desc.Width) == GIF_ERROR) return false;
      const int64_t y = int64_t{desc.Top} + row;
      if (y < top || y >= bottom) continue;
      PackedRgb* out = &screen_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_)];
      for (int x = left; x < right; ++x) {
        const GifPixelType index = line[static_cast<std::size_t>(x - desc.Left)];
        if (index != transparent) out[x] = palette[index];
      }
    }
    if (!Convert()) return false;

    if (disposal == DISPOSE_BACKGROUND) {
      for (int y = top; y < bottom; ++y) {
        std::fill_n(&screen_[static_cast<std::size_t>(y) * width_ + left], right - left, kWhite);
      }
    } else if (disposal == DISPOSE_PREVIOUS) {
      PutArea(left, top, right, bottom, under);
    }
    return true;
  }

  // The screen as it is now, as the next picture.
  bool Convert() {
    const bool keep = request_.keep_frames;
    // Each fit (and the preview) scales the whole screen once.
    const int scalers = keep ? kFitCount + (request_.preview_width > 0 ? 1 : 0) : 1;
    if (!Spend(int64_t{width_} * height_ * scalers + kGifFrameWork)) return false;
    DecodeRequest decode(request_.options);
    ImportFrame frame;
    if (keep) {
      decode.frame = &frame;
      decode.preview_width = request_.preview_width;
      decode.preview_height = request_.preview_height;
    }
    PictureBuilder builder(width_, height_, 24, {kBlack, kWhite}, false, decode);
    for (int y = 0; y < height_; ++y) {
      builder.AddRow(&screen_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_)]);
    }
    out_.pictures.push_back(builder.Picture());
    if (keep) out_.frames.push_back(std::move(frame));
    return true;
  }

  std::vector<PackedRgb> Area(int left, int top, int right, int bottom) const {
    std::vector<PackedRgb> area;
    for (int y = top; y < bottom; ++y) {
      const PackedRgb* row = &screen_[static_cast<std::size_t>(y) * width_];
      area.insert(area.end(), row + left, row + right);
    }
    return area;
  }

  void PutArea(int left, int top, int right, int bottom, const std::vector<PackedRgb>& area) {
    auto from = area.begin();
    for (int y = top; y < bottom; ++y) {
      std::copy_n(from, right - left, &screen_[static_cast<std::size_t>(y) * width_ + left]);
      from += right - left;
    }
  }

  const FramesRequest& request_;
  DecodedFrames& out_;
  GifFile gif_;
  int width_ = 0;
  int height_ = 0;
  std::vector<PackedRgb> screen_;
  GraphicsControlBlock control_{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
  int64_t work_ = 0;
};

}  // namespace

DecodedFrames DecodeGif(std::FILE* file, const FramesRequest& request) {
  DecodedFrames out;
  out.status = ImageDecodeStatus::kUndecodable;  // unless a reason is given
  if (GifDecoder(request, out).Run(file)) {
    out.status = ImageDecodeStatus::kOk;
    return out;
  }
  DecodedFrames refusal;
  refusal.status = out.status;
  refusal.width = out.width;
  refusal.height = out.height;
  refusal.kind = std::move(out.kind);
  return refusal;
}

}  // namespace lumigrid
