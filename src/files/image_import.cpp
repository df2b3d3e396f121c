#include "files/image_import.h"

#include <cstdio>  // before jpeglib.h, which uses FILE

#include <jpeglib.h>  // before jerror.h, whose codes depend on the library version

#include <jerror.h>
#include <png.h>

#include <csetjmp>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <system_error>
#include <vector>

#include "files/bmp_decode.h"
#include "files/mono_convert.h"
#include "files/safe_file.h"

namespace lumigrid {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenForReading(const std::filesystem::path& path) {
#ifdef _WIN32
  return File(_wfopen(path.c_str(), L"rb"));
#else
  return File(std::fopen(path.c_str(), "rb"));
#endif
}

// ---- PNG ----------------------------------------------------------------------------------

[[noreturn]] void OnPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnPngWarning(png_structp, png_const_charp) {}

// Owns libpng's state; Run holds the only setjmp, so no object with a destructor is skipped
// or left half-changed by an error.
class PngDecoder {
 public:
  PngDecoder() {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (png_ != nullptr) info_ = png_create_info_struct(png_);
  }
  ~PngDecoder() { png_destroy_read_struct(&png_, info_ != nullptr ? &info_ : nullptr, nullptr); }
  PngDecoder(const PngDecoder&) = delete;
  PngDecoder& operator=(const PngDecoder&) = delete;

  ImageDecodeResult Decode(std::FILE* file, const DecodeRequest& options) {
    if (png_ == nullptr || info_ == nullptr || !Run(file, options)) return refusal_;
    return Decoded(builder_->Picture());
  }

 private:
  bool Run(std::FILE* file, const DecodeRequest& options) {
    if (setjmp(png_jmpbuf(png_))) return false;
    png_init_io(png_, file);
    // The pixels need IHDR, PLTE, tRNS and IDAT only. Every other chunk is skipped unread:
    // libpng would first allocate the length a text or palette-suggestion chunk declares (up
    // to 2 GB in a 57-byte file) and only then find the file too short.
    png_set_keep_unknown_chunks(png_, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    // Every size the format allows reaches IsImportableSize, which names it too large.
    png_set_user_limits(png_, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_read_info(png_, info_);
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bit_depth = 0;
    int colour_type = 0;
    int interlace = 0;
    png_get_IHDR(png_, info_, &width, &height, &bit_depth, &colour_type, &interlace, nullptr,
                 nullptr);
    if (!IsImportableSize(width, height)) {
      refusal_ = TooLarge(width, height);
      return false;
    }
    const bool transparency = png_get_valid(png_, info_, PNG_INFO_tRNS) != 0;

    // A 1-bit image is handed over with its two colours, as libpng expands them: an index
    // beyond a one-entry palette comes out black.
    std::array<PackedRgb, 2> two_colours{kBlack, kWhite};
    bool one_bit = bit_depth == 1 && !transparency && colour_type != PNG_COLOR_TYPE_PALETTE;
    if (bit_depth == 1 && !transparency && colour_type == PNG_COLOR_TYPE_PALETTE) {
      png_colorp palette = nullptr;
      int entries = 0;
      png_get_PLTE(png_, info_, &palette, &entries);
      one_bit = entries >= 1;
      for (int i = 0; i < 2; ++i) {
        two_colours[i] =
            i < entries ? MakeRgb(palette[i].red, palette[i].green, palette[i].blue) : kBlack;
      }
    }

    png_set_expand(png_);
    png_set_scale_16(png_);
    png_set_gray_to_rgb(png_);
    const bool alpha = transparency || (colour_type & PNG_COLOR_MASK_ALPHA) != 0;
    if (!alpha) png_set_filler(png_, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(png_, info_);
    if (png_get_rowbytes(png_, info_) != std::size_t{width} * 4) return false;

    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    builder_.emplace(w, h, one_bit ? 1 : 24, two_colours, false, options);
    data_.resize(std::size_t{width} * 4);
    row_.resize(width);
    const auto convert = [this, alpha](int count) {
      for (int x = 0; x < count; ++x) {
        const png_byte* p = &data_[4 * static_cast<std::size_t>(x)];
        const PackedRgb c = MakeRgb(p[0], p[1], p[2]);
        row_[x] = alpha ? OverWhite(uint32_t{p[3]} << 24 | c) : c;
      }
    };
    if (interlace == PNG_INTERLACE_NONE) {
      for (int y = 0; y < h; ++y) {
        png_read_row(png_, data_.data(), nullptr);
        convert(w);
        builder_->AddRow(row_.data());
      }
      return true;
    }
    // Without interlace handling libpng hands out each pass as a small image of its own; its
    // pixels go straight to their places in the sums.
    for (int pass = 0; pass < 7; ++pass) {
      const int columns = static_cast<int>(PNG_PASS_COLS(width, pass));
      const int rows = static_cast<int>(PNG_PASS_ROWS(height, pass));
      if (columns == 0 || rows == 0) continue;
      for (int r = 0; r < rows; ++r) {
        png_read_row(png_, data_.data(), nullptr);
        convert(columns);
        builder_->AddPixels(static_cast<int>(PNG_ROW_FROM_PASS_ROW(r, pass)),
                            PNG_PASS_START_COL(pass), 1 << PNG_PASS_COL_SHIFT(pass), row_.data(),
                            columns);
      }
    }
    return true;
  }

  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
  ImageDecodeResult refusal_ = Refusal(ImageDecodeStatus::kUndecodable);
  std::vector<png_byte> data_;
  std::vector<PackedRgb> row_;
  std::optional<PictureBuilder> builder_;
};

// ---- JPEG ---------------------------------------------------------------------------------

// A progressive JPEG keeps all its coefficients; more than this is refused rather than
// taken from the machine (a 200 Mpx photo with subsampled colour needs about 600 MB).
constexpr long kJpegMemoryLimit = 1536L << 20;

struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void OnJpegError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

// libjpeg reports damaged or missing data as warnings and goes on with grey or repeated
// blocks; such a picture would be wrong, so those warnings end the decoding.
void OnJpegMessage(j_common_ptr info, int level) {
  if (level != -1) return;
  switch (info->err->msg_code) {
    case JWRN_ARITH_BAD_CODE:
    case JWRN_BOGUS_PROGRESSION:
    case JWRN_EXTRANEOUS_DATA:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_JPEG_EOF:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
      OnJpegError(info);
    default:
      return;  // metadata only (JFIF revision, ICC profile, Adobe marker)
  }
}

class JpegDecoder {
 public:
  JpegDecoder() {
    info_.err = jpeg_std_error(&errors_.manager);
    errors_.manager.error_exit = OnJpegError;
    errors_.manager.emit_message = OnJpegMessage;
  }
  ~JpegDecoder() {
    if (created_) jpeg_destroy_decompress(&info_);
  }
  JpegDecoder(const JpegDecoder&) = delete;
  JpegDecoder& operator=(const JpegDecoder&) = delete;

  ImageDecodeResult Decode(std::FILE* file, const DecodeRequest& options) {
    if (!Run(file, options)) return refusal_;
    return Decoded(builder_->Picture());
  }

 private:
  bool Run(std::FILE* file, const DecodeRequest& options) {
    if (setjmp(errors_.jump)) return false;
    jpeg_create_decompress(&info_);
    created_ = true;
    info_.mem->max_memory_to_use = kJpegMemoryLimit;
    jpeg_stdio_src(&info_, file);
    jpeg_read_header(&info_, TRUE);
    if (!IsImportableSize(info_.image_width, info_.image_height)) {
      refusal_ = TooLarge(info_.image_width, info_.image_height);
      return false;
    }
    switch (info_.jpeg_color_space) {
      case JCS_GRAYSCALE:
        info_.out_color_space = JCS_GRAYSCALE;
        break;
      case JCS_CMYK:
      case JCS_YCCK:
        info_.out_color_space = JCS_CMYK;
        break;
      default:
        info_.out_color_space = JCS_RGB;
    }
    info_.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&info_);
    const int width = static_cast<int>(info_.output_width);
    const int height = static_cast<int>(info_.output_height);
    const int components = info_.output_components;
    builder_.emplace(width, height, 8 * components, std::array<PackedRgb, 2>{kBlack, kWhite}, false,
                     options);
    data_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(components));
    row_.resize(static_cast<std::size_t>(width));
    while (info_.output_scanline < info_.output_height) {
      JSAMPROW line = data_.data();
      if (jpeg_read_scanlines(&info_, &line, 1) != 1) return false;
      const JSAMPLE* p = data_.data();
      for (int x = 0; x < width; ++x, p += components) {
        switch (components) {
          case 1:
            row_[x] = MakeRgb(p[0], p[0], p[0]);
            break;
          case 3:
            row_[x] = MakeRgb(p[0], p[1], p[2]);
            break;
          default:  // CMYK as Adobe stores it, inverted
            row_[x] = MakeRgb(p[0] * p[3] / 255, p[1] * p[3] / 255, p[2] * p[3] / 255);
        }
      }
      builder_->AddRow(row_.data());
    }
    return true;
  }

  jpeg_decompress_struct info_{};
  JpegErrors errors_{};
  bool created_ = false;
  ImageDecodeResult refusal_ = Refusal(ImageDecodeStatus::kUndecodable);
  std::vector<JSAMPLE> data_;
  std::vector<PackedRgb> row_;
  std::optional<PictureBuilder> builder_;
};

ImageDecodeResult DecodeBmpFile(const std::filesystem::path& path, const DecodeRequest& options) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Refusal(ImageDecodeStatus::kUnreadable);
  return DecodeBmp(in, options);
}

}  // namespace

ImageDecodeResult DecodeImageFile(const std::string& utf8_path, const DecodeRequest& options) {
  const std::filesystem::path path = PathFromUtf8(utf8_path);
  std::error_code error;
  File file = std::filesystem::is_directory(path, error) ? nullptr : OpenForReading(path);
  if (!file) return Refusal(ImageDecodeStatus::kUnreadable);
  unsigned char magic[8] = {};
  const std::size_t got = std::fread(magic, 1, sizeof magic, file.get());
  std::rewind(file.get());

  if (got >= 2 && magic[0] == 'B' && magic[1] == 'M') {
    file.reset();
    return DecodeBmpFile(path, options);
  }
  if (got == 8 && png_sig_cmp(magic, 0, 8) == 0) return PngDecoder().Decode(file.get(), options);
  if (got >= 3 && magic[0] == 0xFF && magic[1] == 0xD8 && magic[2] == 0xFF) {
    return JpegDecoder().Decode(file.get(), options);
  }
  return Refusal(ImageDecodeStatus::kNotAnImage);
}

ImageDecodeResult DecodeImageFile(const std::string& utf8_path, const ConversionOptions& options) {
  return DecodeImageFile(utf8_path, DecodeRequest(options));
}

}  // namespace lumigrid
