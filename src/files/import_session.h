// The images of one import with settings, decoded once: every frame kept with its greys for
// each fit and a preview, so that any change of the options is only a conversion of 128 x 64
// greys. Widgets see pictures and preview pixels only.
#pragma once

#include <cstdint>
#include <vector>

#include "files/conversion_options.h"
#include "files/import_plan.h"
#include "picture/picture_buffer.h"

namespace lumigrid {

struct ImportFrame;  // files/mono_convert.h

class ImportSession {
 public:
  ImportSession();
  ~ImportSession();
  ImportSession(ImportSession&&) noexcept;
  ImportSession& operator=(ImportSession&&) noexcept;

  // Frames of the next file: those kept (in order), and how many the file holds in all.
  void AddFile(std::vector<ImportFrame> kept, int frame_count);

  int FramesKept() const;
  // Every frame of every file, kept or not.
  int FrameCount() const { return frame_count_; }
  ImportPlan Plan(int first_buffer) const { return PlanImport(frame_count_, first_buffer); }

  // Kept frame i (0-based) under the options; blank for a frame not kept.
  PictureBytes Picture(int i, const ConversionOptions& options) const;

  struct Preview {
    int width = 0;
    int height = 0;
    const uint32_t* pixels = nullptr;  // 0xRRGGBB, row by row
  };
  Preview PreviewOf(int i) const;

 private:
  std::vector<ImportFrame> frames_;
  int frame_count_ = 0;
};

}  // namespace lumigrid
