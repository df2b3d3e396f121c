#include "optimize/identical_scan.h"

#include <cstring>

#include "picture/editor_state.h"

namespace lumigrid {

namespace {

constexpr int kRowBytes = kSegmentsPerCrystal;  // one page of one crystal
constexpr int kRowCount = kPictureBytes / kRowBytes;

// Marks every byte that differs between any two neighbouring sources as 0x00, the rest 0xFF.
PictureBytes SameMask(std::span<const PictureBytes* const> sources) {
  PictureBytes mask;
  mask.fill(kSkipByte);
  for (size_t s = 1; s < sources.size(); ++s) {
    const uint8_t* a = sources[s - 1]->data();
    const uint8_t* b = sources[s]->data();
    for (int i = 0; i < kPictureBytes; ++i) {
      if (a[i] != b[i]) mask[i] = kWriteByte;
    }
  }
  return mask;
}

void CutShortRuns(PictureBytes& mask, int min_run) {
  for (int row = 0; row < kRowCount; ++row) {
    uint8_t* bytes = mask.data() + row * kRowBytes;
    int start = 0;
    while (start < kRowBytes) {
      if (bytes[start] != kSkipByte) {
        ++start;
        continue;
      }
      int end = start;
      while (end < kRowBytes && bytes[end] == kSkipByte) ++end;
      if (end - start < min_run) std::memset(bytes + start, kWriteByte, end - start);
      start = end;
    }
  }
}

}  // namespace

PictureBytes ScanIdenticalBytes(std::span<const PictureBytes* const> sources, int min_run) {
  PictureBytes mask = SameMask(sources);
  const int n = NormalizeMinRun(min_run);
  if (n > 1) CutShortRuns(mask, n);
  return mask;
}

PictureBytes ScanIdenticalBytes(const EditorState& state, const SourceFlags& ticked, int min_run) {
  std::array<const PictureBytes*, kSourceBufferCount> sources{};
  size_t count = 0;
  for (int b = 1; b <= kSourceBufferCount; ++b) {
    if (ticked[b - 1]) sources[count++] = &state.Buffer(b).Bytes();
  }
  return ScanIdenticalBytes(std::span(sources.data(), count), min_run);
}

void StoreSkipMap(EditorState& state, const PictureBytes& map) {
  state.Buffer(kSkipMapBuffer).Bytes() = map;
  state.RecordEdit(kSkipMapBuffer, "карта обходов");
}

int CountTicked(const SourceFlags& ticked) {
  int count = 0;
  for (bool t : ticked) count += t ? 1 : 0;
  return count;
}

}  // namespace lumigrid
