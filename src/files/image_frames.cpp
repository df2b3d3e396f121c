#include "files/image_frames.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>

#include "files/gif_decode.h"
#include "files/import_loading.h"
#include "files/safe_file.h"

namespace lumigrid {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

std::unique_ptr<std::FILE, FileCloser> OpenForReading(const std::filesystem::path& path) {
#ifdef _WIN32
  return {_wfopen(path.c_str(), L"rb"), {}};
#else
  return {std::fopen(path.c_str(), "rb"), {}};
#endif
}

}  // namespace

bool StartsLikeGif(std::string_view head) {
  return head.starts_with("GIF87a") || head.starts_with("GIF89a");
}

DecodedFrames DecodeImageFrames(const std::string& utf8_path, const FramesRequest& request) {
  const std::filesystem::path path = PathFromUtf8(utf8_path);
  std::error_code error;
  auto file = std::filesystem::is_directory(path, error) ? nullptr : OpenForReading(path);
  DecodedFrames out;
  if (!file) {
    out.status = ImageDecodeStatus::kUnreadable;
    return out;
  }
  char head[6] = {};
  const std::size_t got = std::fread(head, 1, sizeof head, file.get());
  std::rewind(file.get());
  if (StartsLikeGif(std::string_view(head, got))) return DecodeGif(file.get(), request);
  file.reset();

  // Any other image is one frame.
  ImportFrame frame;
  DecodeRequest decode(request.options);
  if (request.keep_frames) {
    decode.frame = &frame;
    decode.preview_width = request.preview_width;
    decode.preview_height = request.preview_height;
  }
  const ImageDecodeResult result = DecodeImageFile(utf8_path, decode);
  out.status = result.status;
  if (result.status != ImageDecodeStatus::kOk) {
    out.width = result.width;
    out.height = result.height;
    out.kind = result.kind;
    return out;
  }
  out.frame_count = 1;
  if (request.max_frames < 1) return out;
  out.pictures.push_back(result.bytes);
  if (request.keep_frames) out.frames.push_back(std::move(frame));
  return out;
}

SessionLoad LoadImportSession(const std::vector<std::string>& utf8_paths, int max_kept) {
  SessionLoad load;
  for (const std::string& path : utf8_paths) {
    FramesRequest request;
    request.keep_frames = true;
    request.preview_width = kImportPreviewWidth;
    request.preview_height = kImportPreviewHeight;
    request.max_frames = std::max(0, max_kept - load.session.FramesKept());
    DecodedFrames decoded = DecodeImageFrames(path, request);
    if (decoded.status != ImageDecodeStatus::kOk) {
      load.status = decoded.status;
      load.failed_path = path;
      return load;
    }
    load.session.AddFile(std::move(decoded.frames), decoded.frame_count);
  }
  return load;
}

}  // namespace lumigrid
