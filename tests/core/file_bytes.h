// Whole files read and written with plain streams, apart from the program's own file code, so
// that tests of that code compare against something independent.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "files/safe_file.h"

namespace lumigrid::testing {

// Every byte of the file; empty when it cannot be read.
inline std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The same for a path in UTF-8 text, as the program's functions take it.
inline std::string ReadAll(const std::string& utf8_path) {
  return ReadAll(PathFromUtf8(utf8_path));
}

inline void WriteRaw(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

#ifdef LUMIGRID_TEST_DATA_DIR
// A golden file of tests/data. They are kept with LF line ends; a checkout that adds CRs must
// not fail the test.
inline std::string ReadGolden(const std::string& name) {
  const auto path = std::filesystem::path(LUMIGRID_TEST_DATA_DIR) / name;
  EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
  std::string text = ReadAll(path);
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}
#endif

}  // namespace lumigrid::testing
