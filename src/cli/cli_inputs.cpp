#include "cli/cli_inputs.h"

#include <filesystem>
#include <fstream>
#include <random>

#include "app/file_rules.h"
#include "files/image_import.h"
#include "files/mono_convert.h"
#include "files/path_text.h"
#include "files/picture_file.h"
#include "files/safe_file.h"

namespace lumigrid::cli {

namespace fs = std::filesystem;

namespace {

constexpr const char* kNotAnImage = "not a BMP, JPEG or PNG image";

PictureBytes RawPicture(std::string_view data) {
  PictureBytes bytes{};
  const std::size_t count = std::min(data.size(), bytes.size());
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(data[i]);
  return bytes;
}

// A file of our own for an image that arrives on standard input: the decoders read files.
class TemporaryFile {
 public:
  TemporaryFile() {
    std::random_device seed;
    std::error_code error;
    const fs::path folder = fs::temp_directory_path(error);
    path_ = folder / ("lumigrid-cli-" + std::to_string(seed()) + std::to_string(seed()) + ".img");
  }
  ~TemporaryFile() {
    std::error_code error;
    fs::remove(path_, error);
  }
  bool Write(std::string_view data) const {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    out.close();
    return !out.fail();
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

}  // namespace

bool LooksLikeImage(std::string_view head) {
  return head.starts_with("BM") || head.starts_with("\x89PNG\r\n\x1a\n") ||
         head.starts_with("\xFF\xD8\xFF");
}

int Context::Fail(const std::string& file, const std::string& reason) {
  io_.write_stderr("lumigrid-cli: " + (file == "-" ? std::string("standard input") : file) + ": " +
                   reason + "\n");
  exit_code_ = kExitFailure;
  return exit_code_;
}

int Context::Usage(const std::string& message) {
  io_.write_stderr("lumigrid-cli: " + message + "\n");
  exit_code_ = kExitUsage;
  return exit_code_;
}

std::optional<LoadedPicture> Context::DecodeImage(const std::string& path,
                                                  const std::string& shown) {
  const ImageDecodeResult result = DecodeImageFile(path, conversion_);
  switch (result.status) {
    case ImageDecodeStatus::kOk: {
      LoadedPicture picture;
      picture.buffer.Bytes() = result.bytes;
      return picture;
    }
    case ImageDecodeStatus::kUnreadable:
      Fail(shown, "cannot open the file");
      break;
    case ImageDecodeStatus::kNotAnImage:
      Fail(shown, kNotAnImage);
      break;
    case ImageDecodeStatus::kUndecodable:
      Fail(shown, "the image is damaged or cut short");
      break;
    case ImageDecodeStatus::kTooLarge:
      Fail(shown, "the image is too large: " + std::to_string(result.width) + " x " +
                      std::to_string(result.height) + " pixels, the import takes at most " +
                      std::to_string(kMaxImageSide) + " a side and " +
                      std::to_string(kMaxImagePixels) + " in all");
      break;
    case ImageDecodeStatus::kUnsupported:
      Fail(shown, "the import does not read " + result.kind);
      break;
  }
  return std::nullopt;
}

std::optional<LoadedPicture> Context::LoadPicture(const std::string& argument) {
  return Load(argument, false);
}

std::optional<LoadedPicture> Context::LoadImage(const std::string& argument) {
  if (argument != "-" && HasExtension(argument, "chr")) {
    Fail(argument, "a .chr picture needs no import: give it to the other commands as it is");
    return std::nullopt;
  }
  return Load(argument, true);
}

std::optional<LoadedPicture> Context::Load(const std::string& argument, bool images_only) {
  if (argument == "-") {
    if (stdin_used_) {
      Usage("standard input can be read only once");
      return std::nullopt;
    }
    stdin_used_ = true;
    const std::optional<std::string> data = io_.read_stdin();
    if (!data) {
      Fail("-", "cannot be read");
      return std::nullopt;
    }
    if (!LooksLikeImage(*data)) {
      if (images_only) {
        Fail("-", kNotAnImage);
        return std::nullopt;
      }
      LoadedPicture picture;
      picture.buffer.Bytes() = RawPicture(*data);
      return picture;
    }
    TemporaryFile file;
    if (!file.Write(*data)) {
      Fail("-", "cannot keep the image in a temporary file");
      return std::nullopt;
    }
    return DecodeImage(file.Path().string(), "-");
  }

  std::error_code error;
  if (fs::is_directory(PathFromUtf8(argument), error)) {
    Fail(argument, "is a folder");
    return std::nullopt;
  }
  // A .chr file is read as a picture whatever it holds; anything else that starts like an
  // image, or is named like one, is imported.
  bool import = images_only;
  if (!HasExtension(argument, "chr")) {
    const std::optional<std::string> head = ReadFileBytes(argument, 16);
    if (!head) {
      Fail(argument, "cannot open the file");
      return std::nullopt;
    }
    import = import || LooksLikeImage(*head) || IsImagePath(argument);
  }
  if (import) {
    std::optional<LoadedPicture> picture = DecodeImage(argument, argument);
    if (picture) picture->buffer.SetFileName(argument);
    return picture;
  }
  const std::optional<PictureBytes> bytes = ReadPictureFile(argument);
  if (!bytes) {
    Fail(argument, "cannot open the file");
    return std::nullopt;
  }
  LoadedPicture picture;
  picture.buffer.Bytes() = *bytes;
  picture.buffer.SetFileName(argument);
  return picture;
}

int Context::WriteOutput(const std::string& path, std::string_view bytes) {
  if (path == "-") {
    if (!io_.write_stdout(bytes)) return Fail("-", "cannot write standard output");
    return exit_code_;
  }
  std::error_code error;
  if (fs::is_directory(PathFromUtf8(path), error)) return Fail(path, "is a folder");
  if (!WriteFileSafely(path, bytes)) return Fail(path, "cannot write the file");
  return exit_code_;
}

}  // namespace lumigrid::cli
