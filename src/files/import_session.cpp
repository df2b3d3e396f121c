#include "files/import_session.h"

#include "files/mono_convert.h"

namespace lumigrid {

ImportSession::ImportSession() = default;
ImportSession::~ImportSession() = default;
ImportSession::ImportSession(ImportSession&&) noexcept = default;
ImportSession& ImportSession::operator=(ImportSession&&) noexcept = default;

void ImportSession::AddFile(std::vector<ImportFrame> kept, int frame_count) {
  for (ImportFrame& frame : kept) frames_.push_back(std::move(frame));
  frame_count_ += frame_count;
}

int ImportSession::FramesKept() const { return static_cast<int>(frames_.size()); }

PictureBytes ImportSession::Picture(int i, const ConversionOptions& options) const {
  if (i < 0 || i >= FramesKept()) return PictureBytes{};
  return ConvertFrame(frames_[static_cast<std::size_t>(i)], options);
}

ImportSession::Preview ImportSession::PreviewOf(int i) const {
  if (i < 0 || i >= FramesKept()) return {};
  const RgbImage& image = frames_[static_cast<std::size_t>(i)].preview;
  return {image.width, image.height, image.pixels.data()};
}

}  // namespace lumigrid
