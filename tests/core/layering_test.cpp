// The core library must stay free of Qt: no core file includes a Qt header, and every
// project header a core file includes is itself a core file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "generated/core_files.h"

namespace {

std::vector<std::string> CoreFiles() {
  std::vector<std::string> files;
  std::stringstream list(kCoreFiles);
  for (std::string file; std::getline(list, file, ';');) {
    if (!file.empty()) files.push_back(file);
  }
  return files;
}

struct Include {
  std::string header;
  bool quoted;  // "project.h", as opposed to <system.h>
};

std::vector<Include> Includes(const std::string& path) {
  std::ifstream in(path);
  std::vector<Include> includes;
  static const std::regex kInclude(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    if (std::regex_search(line, m, kInclude)) includes.push_back({m[2], m[1] == "\""});
  }
  return includes;
}

bool IsQtHeader(const std::string& header) {
  return header.rfind("Q", 0) == 0 || header.rfind("qt", 0) == 0 || header.rfind("Qt", 0) == 0 ||
         header.find("/Q") != std::string::npos;
}

TEST(Layering, CoreFilesIncludeNoQtAndOnlyCoreHeaders) {
  const auto files = CoreFiles();
  ASSERT_FALSE(files.empty());
  std::set<std::string> core_relative;  // "picture/geometry.h"
  for (const auto& f : files) {
    const auto p = std::filesystem::path(f);
    core_relative.insert((p.parent_path().filename() / p.filename()).generic_string());
  }
  for (const auto& file : files) {
    ASSERT_TRUE(std::filesystem::exists(file)) << file;
    for (const auto& [header, quoted] : Includes(file)) {
      EXPECT_FALSE(IsQtHeader(header)) << file << " includes Qt header " << header;
      if (quoted) {
        EXPECT_TRUE(core_relative.count(header) == 1)
            << file << " includes " << header << ", which is not a core file";
      }
    }
  }
}

}  // namespace
