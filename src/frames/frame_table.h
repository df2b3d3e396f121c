// The table a firmware plays a frame script from, and its three forms: raw bytes, a PIC
// assembly byte table and a C array. The record format is described in docs/frame_scripts.md;
// src/frames/player/ holds the C and PIC assembly players.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frames/frame_script.h"
#include "picture/listing_options.h"

namespace lumigrid {

// Where the package installs the players (frame_player.h, .c and .inc); the table forms name it.
inline constexpr std::string_view kPlayersFolder = "/usr/share/lumigrid/players/";

// Record bytes.
inline constexpr uint8_t kFrameEnd = 0x00;
// 0x01..0x3F: a segment without "set column": that many data bytes (1..63) where the column
// counter stands.
inline constexpr uint8_t kSegmentMark = 0x40;    // | column; then the length 1..64 and the data
inline constexpr uint8_t kPageMark = 0x80;       // | (chip - 1) << 3 | page; a segment follows
inline constexpr uint8_t kChipMark = 0xA0;       // | (chip - 1) << 3, page kept; a segment follows
inline constexpr uint8_t kStartLineMark = 0xB0;  // then 0xC0 | line, sent to both chips
inline constexpr uint8_t kTableEndLoop = 0xFE;   // continue with the second frame
inline constexpr uint8_t kTableEnd = 0xFF;       // stop

// Table bytes one frame takes, its end byte included.
int FrameTableSize(const Frame& frame);

// The whole table: every frame, then the table's end byte.
std::vector<uint8_t> EncodeFrameTable(const FrameScript& script);

// Reads a table back. std::nullopt when the bytes are not exactly one well-formed table: an
// unknown byte, a segment before the first page of a frame, a page without a segment, a
// length outside 1..64, a cut-off record, a start line anywhere but first in its frame or
// without its command, a page kept or a segment without "set column" where the register is
// not known yet (the first frame starts from unknown registers), bytes after the end, a loop
// back to a frame that does not exist, or a loop after which the frames would find other
// registers than the first time.
std::optional<FrameScript> DecodeFrameTable(std::span<const uint8_t> bytes);

// The table as PIC assembly lines (UTF-8): the listing's directive and indents, one record
// per line (wrapped after eight values) and a comment naming each frame. Saved like a
// listing: ListingFileBytes(JoinListingLines(lines)). std::nullopt when the own directive is
// chosen and its name is empty.
std::optional<std::vector<std::string>> FrameTableAsmLines(const FrameScript& script,
                                                           const ListingOptions& options);

inline constexpr std::string_view kDefaultFrameArrayName = "frame_table";

// True for a C identifier: a letter or "_", then letters, digits or "_".
bool IsCIdentifier(std::string_view name);

// The table as a C source file defining `const uint8_t <name>[]`. std::nullopt when `name`
// is not a C identifier.
std::optional<std::string> FrameTableC(const FrameScript& script,
                                       std::string_view name = kDefaultFrameArrayName);

// The file forms of a table.
enum class FrameTableFormat { kAssembly, kC, kBinary };

// A table file's bytes: the assembly lines saved like a listing (Windows-1251, CR LF), the C
// source, or the raw table. std::nullopt when the assembly's own directive is empty or the C
// array's name is not a C identifier.
std::optional<std::string> FrameTableFile(const FrameScript& script, FrameTableFormat format,
                                          const ListingOptions& listing,
                                          std::string_view c_name = kDefaultFrameArrayName);

}  // namespace lumigrid
