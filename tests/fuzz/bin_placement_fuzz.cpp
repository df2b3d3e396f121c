// Placing a block into a file of random length at a random address with each method: the file
// afterwards is exactly what a plain model of the four placements says, a refused placement
// leaves it untouched, and no temporary file stays behind.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>

#include "binexport/bin_placement.h"

namespace {

namespace fs = std::filesystem;
using lumigrid::BinPlaceStatus;
using lumigrid::BinWrite;

// One folder for the whole run, removed when the process exits.
const fs::path& Folder() {
  static const struct Scratch {
    fs::path path =
        fs::temp_directory_path() / ("lumigrid-fuzz-" + std::to_string(std::random_device{}()));
    Scratch() { fs::create_directories(path); }
    ~Scratch() {
      std::error_code ec;
      fs::remove_all(path, ec);
    }
  } scratch;
  return scratch.path;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Reads little-endian fields from the input, zeros once it runs out.
struct Input {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  unsigned Take(int bytes) {
    unsigned value = 0;
    for (int i = 0; i < bytes; ++i) value |= (at < size ? data[at++] : 0u) << (8 * i);
    return value;
  }
};

struct Expected {
  BinPlaceStatus status;
  std::optional<std::string> file;  // nullopt: no file
};

// The four placements said plainly, overwriting in place rather than splicing.
Expected Model(const std::optional<std::string>& old, const std::string& block, BinWrite write,
               std::optional<uint64_t> address) {
  if (write == BinWrite::kNewFile) return {BinPlaceStatus::kWritten, block};
  if (!old) return {BinPlaceStatus::kOpenFailed, std::nullopt};
  const uint64_t length = old->size();
  if (write == BinWrite::kAppend) return {BinPlaceStatus::kWritten, *old + block};
  if (!address) return {BinPlaceStatus::kNoAddress, old};
  if (write == BinWrite::kInsert) {
    if (*address > length) return {BinPlaceStatus::kAddressBeyondEnd, old};
    std::string result = *old;
    result.insert(static_cast<size_t>(*address), block);
    return {BinPlaceStatus::kWritten, result};
  }
  if (*address >= length) return {BinPlaceStatus::kWritten, *old + block};
  std::string result = *old;
  const size_t at = static_cast<size_t>(*address);
  if (result.size() < at + block.size()) result.resize(at + block.size());
  result.replace(at, block.size(), block);
  return {BinPlaceStatus::kWritten, result};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in{data, size};
  const unsigned flags = in.Take(1);
  const BinWrite write = static_cast<BinWrite>(flags & 3);
  const bool exists = (flags & 4) == 0;
  const bool has_address = (flags & 8) == 0;
  const size_t old_length = in.Take(2) % 5000;
  const uint64_t address = in.Take(2) % 6000;
  const size_t block_length = in.Take(2) % 3000;
  const unsigned seed = in.Take(1);

  std::string block(block_length, '\0');
  for (size_t i = 0; i < block_length; ++i) block[i] = static_cast<char>(seed + i * 31);
  std::optional<std::string> old;
  const fs::path path = Folder() / "firmware.bin";
  std::error_code ec;
  fs::remove(path, ec);
  if (exists) {
    old = std::string(old_length, '\0');
    for (size_t i = 0; i < old_length; ++i) (*old)[i] = static_cast<char>(i * 7 + 1);
    std::ofstream(path, std::ios::binary) << *old;
  }

  const std::optional<uint64_t> given = has_address ? std::optional(address) : std::nullopt;
  const lumigrid::BinPlaceResult result = lumigrid::PlaceBinBlock(
      path.string(), {reinterpret_cast<const uint8_t*>(block.data()), block.size()},
      {write, given});
  const Expected expected = Model(old, block, write, given);

  if (result.status != expected.status) std::abort();
  if (expected.file) {
    if (ReadAll(path) != *expected.file) std::abort();
    if (result.status == BinPlaceStatus::kWritten && result.new_length != expected.file->size()) {
      std::abort();
    }
  } else if (fs::exists(path)) {
    std::abort();
  }
  const auto entries = std::distance(fs::directory_iterator(Folder()), fs::directory_iterator());
  if (entries != (fs::exists(path) ? 1 : 0)) std::abort();
  return 0;
}
