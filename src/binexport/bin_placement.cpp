#include "binexport/bin_placement.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <memory>
#include <new>

#include "files/safe_file.h"

namespace lumigrid {

namespace {

// Large enough that copying a big file costs little more than the copy itself, small enough
// that memory does not grow with the file.
constexpr std::size_t kCopyChunk = 1 << 20;

// The new content is old[0, keep_before) + block + old[resume_at, old_length).
struct Splice {
  std::uint64_t keep_before = 0;
  std::uint64_t resume_at = 0;
};

Splice SpliceFor(BinWrite write, std::uint64_t address, std::uint64_t old_length,
                 std::uint64_t block_length) {
  switch (write) {
    case BinWrite::kNewFile:
      return {0, old_length};
    case BinWrite::kAppend:
      return {old_length, old_length};
    case BinWrite::kInsert:
      return {address, address};
    case BinWrite::kReplace:
      if (address >= old_length) return {old_length, old_length};
      return {address, address + std::min(block_length, old_length - address)};
  }
  return {0, old_length};
}

// Copies bytes [from, to) of the old file into the new content.
bool CopyThrough(std::ifstream& old_file, std::uint64_t from, std::uint64_t to, char* chunk,
                 SafeFileWriter& writer) {
  if (from >= to) return true;
  old_file.clear();
  old_file.seekg(static_cast<std::streamoff>(from));
  if (!old_file) return false;
  for (std::uint64_t left = to - from; left > 0;) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(left, kCopyChunk));
    old_file.read(chunk, static_cast<std::streamsize>(want));
    // A file shorter than it was when opened is a failed read, not a shorter result.
    if (static_cast<std::size_t>(old_file.gcount()) != want) return false;
    if (!writer.Write(std::string_view(chunk, want))) return false;
    left -= want;
  }
  return true;
}

}  // namespace

BinPlaceResult PlaceBinBlock(const std::string& utf8_path, std::span<const std::uint8_t> block,
                             const BinPlacement& placement) {
  BinPlaceResult result;
  SafeFileWriter writer(utf8_path);
  if (!writer.Open()) return result;  // kOpenFailed

  const bool keeps_old = placement.write != BinWrite::kNewFile;
  std::ifstream old_file;
  if (keeps_old) {
    // Through the writer's target, so a link is read where it will be written.
    old_file.open(writer.Target(), std::ios::binary | std::ios::ate);
    if (!old_file) return result;
    const std::streamoff end = old_file.tellg();
    if (end < 0) return result;
    result.old_length = static_cast<std::uint64_t>(end);
  }

  const bool at_address =
      placement.write == BinWrite::kInsert || placement.write == BinWrite::kReplace;
  if (at_address && !placement.address) {
    result.status = BinPlaceStatus::kNoAddress;
    return result;
  }
  const std::uint64_t address = placement.address.value_or(0);
  if (placement.write == BinWrite::kInsert && address > result.old_length) {
    result.status = BinPlaceStatus::kAddressBeyondEnd;
    return result;
  }

  const Splice splice = SpliceFor(placement.write, address, result.old_length, block.size());
  std::unique_ptr<char[]> chunk;
  if (keeps_old) {
    chunk.reset(new (std::nothrow) char[kCopyChunk]);
    if (!chunk) {
      result.status = BinPlaceStatus::kNoMemory;
      return result;
    }
  }

  result.status = BinPlaceStatus::kWriteFailed;
  const std::string_view block_bytes(reinterpret_cast<const char*>(block.data()), block.size());
  if (keeps_old && !CopyThrough(old_file, 0, splice.keep_before, chunk.get(), writer)) {
    return result;
  }
  if (!writer.Write(block_bytes)) return result;
  if (keeps_old &&
      !CopyThrough(old_file, splice.resume_at, result.old_length, chunk.get(), writer)) {
    return result;
  }
  old_file.close();
  if (!writer.Commit()) return result;
  result.status = BinPlaceStatus::kWritten;
  result.new_length = splice.keep_before + block.size() + (result.old_length - splice.resume_at);
  return result;
}

std::optional<std::uint64_t> ParseStartAddress(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  std::uint64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const std::uint64_t digit = static_cast<std::uint64_t>(text[i] - '0');
    value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
  }
  return negative ? 0 : value;
}

}  // namespace lumigrid
