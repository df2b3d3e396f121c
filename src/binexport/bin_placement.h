// Putting a block of bytes into a new or existing file: the whole file, at its end, or at a
// byte address, inserted or overwriting. Every placement writes the complete new content
// beside the file and replaces it only when that succeeded, so a failure changes nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lumigrid {

enum class BinWrite {
  kNewFile,  // the block is the whole file; an existing file is replaced
  kAppend,   // after the last byte of an existing file
  kInsert,   // at the address; what follows moves back
  kReplace,  // at the address, overwriting; past the end it is appended
};

struct BinPlacement {
  BinWrite write = BinWrite::kNewFile;
  // Bytes from the start of the file, for kInsert and kReplace; nullopt when none was given.
  std::optional<std::uint64_t> address;
};

enum class BinPlaceStatus {
  kWritten,
  kOpenFailed,        // the file cannot be created, read or replaced
  kNoAddress,         // kInsert or kReplace without an address
  kAddressBeyondEnd,  // kInsert past the end; kAppend is what the caller may offer instead
  kNoMemory,          // no room for the copying buffer
  kWriteFailed,       // a read or write failed on the way
};

struct BinPlaceResult {
  BinPlaceStatus status = BinPlaceStatus::kOpenFailed;
  std::uint64_t old_length = 0;  // of the existing file when it was opened
  std::uint64_t new_length = 0;  // when written
};

// Only kWritten changes the file; every other status leaves it and its folder as they were.
// A link at the path keeps pointing at its file, which receives the new content.
BinPlaceResult PlaceBinBlock(const std::string& utf8_path, std::span<const std::uint8_t> block,
                             const BinPlacement& placement);

// The start-address field's text: blanks and tabs skipped, an optional sign, decimal digits up
// to the first other character; no digits give 0. Empty text gives nullopt. No address lies
// before the start of a file, so a negative number gives 0; a number too large for any file
// saturates.
std::optional<std::uint64_t> ParseStartAddress(std::string_view text);

}  // namespace lumigrid
