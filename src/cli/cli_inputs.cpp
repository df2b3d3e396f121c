#include "cli/cli_inputs.h"

#include <filesystem>
#include <fstream>
#include <random>

#include "app/file_rules.h"
#include "files/image_frames.h"
#include "files/path_text.h"
#include "files/picture_file.h"
#include "files/safe_file.h"

namespace lumigrid::cli {

namespace fs = std::filesystem;

namespace {

constexpr const char* kNotAnImage = "not a BMP, JPEG, PNG or GIF image";

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
         head.starts_with("\xFF\xD8\xFF") || StartsLikeGif(head);
}

int Context::Fail(const std::string& file, const std::string& reason) {
  io_.write_stderr("lumigrid-cli: " + (file == "-" ? std::string("standard input") : file) + ": " +
                   reason + "\n");
  exit_code_ = kExitFailure;
  return exit_code_;
}

int Context::Usage(const std::string& message) {
  io_.write_stderr(UsageLine(message, command_));
  exit_code_ = kExitUsage;
  return exit_code_;
}

std::optional<std::vector<LoadedPicture>> Context::DecodeImage(const std::string& path,
                                                               const std::string& shown) {
  FramesRequest request;
  request.options = conversion_;
  const DecodedFrames result = DecodeImageFrames(path, request);
  switch (result.status) {
    case ImageDecodeStatus::kOk: {
      std::vector<LoadedPicture> frames(result.pictures.size());
      for (std::size_t i = 0; i < frames.size(); ++i) frames[i].buffer.Bytes() = result.pictures[i];
      return frames;
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
  std::optional<std::vector<LoadedPicture>> frames = Load(argument, false);
  if (!frames) return std::nullopt;
  if (frames->size() != 1) {
    Fail(argument, "an animation of " + std::to_string(frames->size()) +
                       " frames; only frames, budget, render --gif and import take all of them");
    return std::nullopt;
  }
  return std::move(frames->front());
}

std::optional<std::vector<LoadedPicture>> Context::LoadFrames(const std::string& argument) {
  return Load(argument, false);
}

std::optional<std::vector<LoadedPicture>> Context::LoadImageFrames(const std::string& argument) {
  if (argument != "-" && HasExtension(argument, "chr")) {
    Fail(argument, "a .chr picture needs no import: give it to the other commands as it is");
    return std::nullopt;
  }
  return Load(argument, true);
}

std::optional<std::vector<LoadedPicture>> Context::Load(const std::string& argument,
                                                        bool images_only) {
  const auto one = [](PictureBytes bytes, const std::string& name) {
    std::vector<LoadedPicture> frames(1);
    frames[0].buffer.Bytes() = bytes;
    frames[0].buffer.SetFileName(name);
    return frames;
  };
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
      return one(RawPicture(*data), {});
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
    import =
        import || LooksLikeImage(*head) || IsImagePath(argument) || HasExtension(argument, "gif");
  }
  if (import) {
    std::optional<std::vector<LoadedPicture>> frames = DecodeImage(argument, argument);
    if (frames) {
      for (LoadedPicture& frame : *frames) frame.buffer.SetFileName(argument);
    }
    return frames;
  }
  const std::optional<PictureBytes> bytes = ReadPictureFile(argument);
  if (!bytes) {
    Fail(argument, "cannot open the file");
    return std::nullopt;
  }
  return one(*bytes, argument);
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
