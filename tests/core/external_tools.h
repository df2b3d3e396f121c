// Outside programs some core tests run (gpasm, the system C compiler) and the files they
// leave: finding a program on PATH, reading a file whole, reading Intel HEX.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace lumigrid::testing {

inline bool ProgramOnPath(const std::string& name) {
#ifdef _WIN32
  constexpr char kPathSeparator = ';';
  const std::string file = name + ".exe";
#else
  constexpr char kPathSeparator = ':';
  const std::string& file = name;
#endif
  const char* path = std::getenv("PATH");
  if (path == nullptr) return false;
  std::stringstream dirs(path);
  for (std::string dir; std::getline(dirs, dir, kPathSeparator);) {
    std::error_code error;
    if (!dir.empty() &&
        std::filesystem::is_regular_file(std::filesystem::path(dir) / file, error)) {
      return true;
    }
  }
  return false;
}

// Intel HEX records into byte address -> byte. Empty on a malformed record.
inline std::map<uint32_t, uint8_t> ParseIntelHex(const std::string& hex) {
  std::map<uint32_t, uint8_t> memory;
  uint32_t base = 0;
  std::stringstream records(hex);
  for (std::string record; std::getline(records, record);) {
    if (!record.empty() && record.back() == '\r') record.pop_back();
    if (record.empty()) continue;
    if (record[0] != ':' || record.size() < 11 || record.size() % 2 == 0) return {};
    std::vector<uint8_t> b;
    for (size_t i = 1; i < record.size(); i += 2) {
      b.push_back(static_cast<uint8_t>(std::stoi(record.substr(i, 2), nullptr, 16)));
    }
    uint8_t sum = 0;
    for (uint8_t x : b) sum = static_cast<uint8_t>(sum + x);
    if (sum != 0 || b.size() != b[0] + 5u) return {};
    const uint32_t offset = (b[1] << 8) | b[2];
    if (b[3] == 0x00) {
      for (size_t i = 0; i < b[0]; ++i) memory[base + offset + i] = b[4 + i];
    } else if (b[3] == 0x04) {
      base = static_cast<uint32_t>((b[4] << 8) | b[5]) << 16;
    } else if (b[3] == 0x01) {
      break;
    }
  }
  return memory;
}

// The operands of the RETLW words (0x34XX) from address 0 on, in order. Stops at the first
// word that is missing or not a RETLW.
inline std::vector<uint8_t> RetlwValues(const std::map<uint32_t, uint8_t>& memory) {
  std::vector<uint8_t> values;
  for (uint32_t w = 0;; ++w) {
    const auto lo = memory.find(2 * w);
    const auto hi = memory.find(2 * w + 1);
    if (lo == memory.end() || hi == memory.end() || hi->second != 0x34) return values;
    values.push_back(lo->second);
  }
}

}  // namespace lumigrid::testing
