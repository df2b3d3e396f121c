// The identical-byte scan: where every chosen picture holds the same byte, in runs long
// enough to be worth skipping, the drawing program need not write that byte again.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "picture/editor_state.h"
#include "picture/picture_buffer.h"

namespace lumigrid {

class EditorState;

constexpr int kSourceBufferCount = 9;
constexpr int kMinRunLimit = 64;
constexpr uint8_t kSkipByte = 0xFF;
constexpr uint8_t kWriteByte = 0x00;

// Ticked state of the source buffers 1..9 (index 0 is buffer 1).
using SourceFlags = std::array<bool, kSourceBufferCount>;

// A minimum run outside 1..64 counts as 1.
constexpr int NormalizeMinRun(int n) { return (n < 1 || n > kMinRunLimit) ? 1 : n; }

// The skip map of `sources` (in increasing buffer number): 0xFF where all of them hold the
// same byte inside a run of at least `min_run` such bytes of one display row, 0x00 elsewhere.
// Runs never continue from one row (64 bytes of a page in one crystal) into the next. No or
// one source gives all 0xFF.
PictureBytes ScanIdenticalBytes(std::span<const PictureBytes* const> sources, int min_run);

// The same over the ticked buffers of `state`.
PictureBytes ScanIdenticalBytes(const EditorState& state, const SourceFlags& ticked, int min_run);

// Writes the map into buffer 10; its file name and modified flag stay as they were.
void StoreSkipMap(EditorState& state, const PictureBytes& map);

int CountTicked(const SourceFlags& ticked);

}  // namespace lumigrid
