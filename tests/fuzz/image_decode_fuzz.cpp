// Any file given to the image import: a refused one leaves a blank picture; an accepted PNG or
// JPEG gives the same picture as the image read whole by Qt and converted in one piece (the import
// reads row by row). Large images, which the import reduces while decoding, are only decoded.
// Where sanitizers count the heap, a PNG or bitmap costs at most 64 MB of it, whatever it
// declares.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "files/image_import_qt.h"
#include "files/mono_convert.h"
#include "fuzz_support.h"

#if defined(__SANITIZE_ADDRESS__)
#define LUMIGRID_HEAP_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LUMIGRID_HEAP_HOOKS 1
#endif
#endif

#ifdef LUMIGRID_HEAP_HOOKS
// From the sanitizers' allocator interface, which not every compiler ships a header for.
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, size_t),
                                              void (*free_hook)(const volatile void*));
size_t __sanitizer_get_allocated_size(const volatile void* p);
int __sanitizer_get_ownership(const volatile void* p);
}
#endif

namespace {

using lumigrid::fuzz::Check;

// The image plugins need an application object.
void EnsureApplication() {
  static int argc = 1;
  static char name[] = "image_decode_fuzz";
  static char* argv[] = {name, nullptr};
  if (QCoreApplication::instance() == nullptr) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(argc, argv);  // lives as long as the process
  }
}

// The heap the import's thread takes beyond what it held at Start, at its highest.
class HeapPeak {
 public:
  static bool Available() {
#ifdef LUMIGRID_HEAP_HOOKS
    static const bool installed = __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree) != 0;
    return installed;
#else
    return false;
#endif
  }
  static void Start() {
    live_ = peak_ = 0;
    counting_ = true;
  }
  static int64_t Stop() {
    counting_ = false;
    return peak_;
  }

 private:
#ifdef LUMIGRID_HEAP_HOOKS
  static void OnMalloc(const volatile void*, size_t size) {
    if (!counting_) return;
    live_ += static_cast<int64_t>(size);
    peak_ = std::max(peak_, live_);
  }
  static void OnFree(const volatile void* p) {
    if (counting_ && p != nullptr && __sanitizer_get_ownership(p)) {
      live_ -= static_cast<int64_t>(__sanitizer_get_allocated_size(p));
    }
  }
#endif
  static thread_local bool counting_;
  static thread_local int64_t live_;
  static thread_local int64_t peak_;
};
thread_local bool HeapPeak::counting_ = false;
thread_local int64_t HeapPeak::live_ = 0;
thread_local int64_t HeapPeak::peak_ = 0;

constexpr int64_t kHeapBound = int64_t{64} << 20;

// Small enough that the import decodes it as it is, without reducing it.
bool DecodedAsItIs(const QByteArray& format, QSize size) {
  if (int64_t{size.width()} * size.height() >= 1'000'000) return false;
  return !(format == "jpeg" && size.width() % 8 == 0 && size.height() % 8 == 0 &&
           size.width() >= 8 * 128 && size.height() >= 8 * 64);
}

// What libpng takes from a PNG: its header, colour key and palette, and for a palette image
// every pixel's index.
struct PngFacts {
  int bit_depth = 0;
  int colour_type = 0;
  bool colour_key = false;  // a valid tRNS on a grey or RGB image
  png_color_16 key{};
  int palette_size = 0;
  int width = 0;
  std::vector<uint8_t> indices;  // rows top first
};

struct PngBytes {
  std::string_view data;
  size_t at = 0;
};

[[noreturn]] void OnPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnPngWarning(png_structp, png_const_charp) {}
void ReadPngBytes(png_structp png, png_bytep out, size_t count) {
  auto* in = static_cast<PngBytes*>(png_get_io_ptr(png));
  if (count > in->data.size() - in->at) png_error(png, "end of data");
  std::copy_n(in->data.data() + in->at, count, out);
  in->at += count;
}

bool ReadPng(png_structp png, png_infop info, PngBytes& in, PngFacts& facts,
             std::vector<png_bytep>& rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, &in, ReadPngBytes);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
  png_read_info(png, info);
  facts.bit_depth = png_get_bit_depth(png, info);
  facts.colour_type = png_get_color_type(png, info);
  png_color_16p key = nullptr;
  if (facts.colour_type != PNG_COLOR_TYPE_PALETTE) {
    if (png_get_tRNS(png, info, nullptr, nullptr, &key) != 0 && key != nullptr) {
      facts.colour_key = true;
      facts.key = *key;
    }
    return true;
  }
  png_colorp palette = nullptr;
  png_get_PLTE(png, info, &palette, &facts.palette_size);
  png_set_packing(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  facts.width = static_cast<int>(png_get_image_width(png, info));
  const size_t height = png_get_image_height(png, info);
  facts.indices.resize(static_cast<size_t>(facts.width) * height);
  rows.resize(height);
  for (size_t y = 0; y < height; ++y) rows[y] = &facts.indices[y * facts.width];
  png_read_image(png, rows.data());
  return true;
}

// Called for images small enough to hold whole.
std::optional<PngFacts> PngFactsOf(std::string_view data) {
  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  PngBytes in{data};
  PngFacts facts;
  std::vector<png_bytep> rows;
  const bool ok = info != nullptr && ReadPng(png, info, in, facts, rows);
  png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
  if (!ok) return std::nullopt;
  return facts;
}

// The PNG without its tRNS chunks; the other chunks as they are.
QByteArray WithoutTransparencyChunks(std::string_view data) {
  QByteArray out(data.data(), 8);
  for (size_t at = 8; at < data.size();) {
    if (data.size() - at < 12) return out + QByteArray(data.data() + at, data.size() - at);
    const auto byte = [&](size_t i) { return static_cast<uint32_t>(uint8_t(data[at + i])); };
    const uint32_t length = byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
    const size_t whole = size_t{length} + 12;
    if (whole > data.size() - at) return out + QByteArray(data.data() + at, data.size() - at);
    if (data.substr(at + 4, 4) != "tRNS") out += QByteArray(data.data() + at, whole);
    at += whole;
  }
  return out;
}

// Qt expands a 16-bit colour key after reducing the samples to 8 bits and so makes the wrong
// pixels transparent. Exact instead: the image read without its tRNS chunk, and the key
// compared with the 16-bit samples as libpng does.
std::optional<QImage> SixteenBitKeyedImage(std::string_view data, const PngFacts& header) {
  QBuffer buffer;
  buffer.setData(WithoutTransparencyChunks(data));
  QImageReader reader(&buffer);
  QImage image;
  if (!reader.read(&image)) return std::nullopt;
  const QImage samples = image.convertToFormat(QImage::Format_RGBA64);
  QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  const bool grey = (header.colour_type & PNG_COLOR_MASK_COLOR) == 0;
  for (int y = 0; y < samples.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgba64*>(samples.constScanLine(y));
    auto* out = reinterpret_cast<QRgb*>(argb.scanLine(y));
    for (int x = 0; x < samples.width(); ++x) {
      const QRgba64 c = in[x];
      const bool keyed = grey ? c.red() == header.key.gray
                              : c.red() == header.key.red && c.green() == header.key.green &&
                                    c.blue() == header.key.blue;
      if (keyed) out[x] = qRgba(0, 0, 0, 0);
    }
  }
  return argb;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnsureApplication();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string path = lumigrid::fuzz::WriteScratchFile("image", bytes);
  const QString qpath = QString::fromStdString(path);
  const bool counted = HeapPeak::Available() && !bytes.starts_with("\xFF\xD8");
  if (counted) HeapPeak::Start();
  const lumigrid::ImageDecodeResult result = lumigrid::DecodeImageToPicture(qpath);
  // Progressive JPEGs keep every coefficient (up to the decoder's own limit), so only PNGs and
  // bitmaps are held to the bound.
  if (counted) Check(HeapPeak::Stop() <= kHeapBound, "a PNG or bitmap takes at most 64 MB");
  Check(result.status != lumigrid::ImageDecodeStatus::kUnreadable, "a readable file is read");
  if (result.status != lumigrid::ImageDecodeStatus::kOk) {
    Check(result.bytes == lumigrid::PictureBytes{}, "a refused image leaves a blank picture");
    return 0;
  }

  QImageReader reader(qpath);
  reader.setDecideFormatFromContent(true);
  reader.setAutoTransform(false);
  const QByteArray format = reader.format();
  Check(format == "bmp" || format == "jpeg" || format == "png", "only BMP, JPEG, PNG accepted");
  if (!DecodedAsItIs(format, reader.size())) return 0;
  // Bitmaps are read by our own reader, which takes damaged headers and palettes its own
  // (checked) way; Qt's reader is no reference for those. PNG and JPEG share the libraries.
  if (format == "bmp") return 0;
  QImage image;
  if (!reader.read(&image)) return 0;  // the import's reader may recover more; not a fault
  std::optional<PngFacts> png;
  if (format == "png") {
    png = PngFactsOf(bytes);
    Check(png.has_value(), "libpng reads a PNG the import took");
    if (png->bit_depth == 16 && png->colour_key) {
      const std::optional<QImage> keyed = SixteenBitKeyedImage(bytes, *png);
      if (!keyed) return 0;
      image = *keyed;
    }
  }
  // Qt reads a palette index beyond the palette as index 0, and pads a short 1-bit palette with
  // white; libpng expands such an index to opaque black, which is what the import takes.
  const bool palette = png && png->colour_type == PNG_COLOR_TYPE_PALETTE;
  Check(!palette || (png->width == image.width() &&
                     png->indices.size() == size_t(image.width()) * size_t(image.height())),
        "libpng and Qt agree on the size");
  const QList<QRgb> table = image.colorTable();
  const int entries = palette ? png->palette_size : static_cast<int>(table.size());
  const auto entry = [&](int index) {
    return lumigrid::OverWhite(index < entries ? table.value(index) : qRgb(0, 0, 0));
  };
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  lumigrid::RgbImage whole(argb.width(), argb.height(), image.depth() == 1 ? 1 : 24);
  for (int y = 0; y < argb.height(); ++y) {
    for (int x = 0; x < argb.width(); ++x) {
      const size_t at = size_t(y) * size_t(argb.width()) + size_t(x);
      whole.Set(x, y, palette ? entry(png->indices[at]) : lumigrid::OverWhite(argb.pixel(x, y)));
    }
  }
  const std::array<lumigrid::PackedRgb, 2> two = {entry(0), entry(1)};
  Check(lumigrid::ImageToPicture(lumigrid::SourceOf(whole, two)) == result.bytes,
        "the picture equals the whole image converted in one piece");
  return 0;
}
