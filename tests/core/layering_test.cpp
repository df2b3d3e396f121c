// The core library must stay free of Qt: no core file includes a Qt header, and every
// project header a core file includes is itself a core file. Dependencies run one way: only
// the top (app/) and the command-line program (cli/) include app/ headers.
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

// Every file of src/ outside the folders allowed to reach app/, each app/ header it includes.
TEST(Layering, NothingBelowAppIncludesApp) {
  const std::filesystem::path src = std::filesystem::path(LUMIGRID_SOURCE_DIR) / "src";
  const std::set<std::string> allowed = {"app", "cli"};
  int files_checked = 0;
  int app_includes_in_app = 0;  // shows the reader sees includes at all
  for (const auto& entry : std::filesystem::recursive_directory_iterator(src)) {
    const auto ext = entry.path().extension();
    if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp" && ext != ".c")) continue;
    const auto relative = std::filesystem::relative(entry.path(), src);
    const std::string folder = relative.begin()->string();
    for (const auto& [header, quoted] : Includes(entry.path().string())) {
      if (!quoted || header.rfind("app/", 0) != 0) continue;
      if (folder == "app") ++app_includes_in_app;
      EXPECT_TRUE(allowed.count(folder) == 1) << relative.generic_string() << " includes " << header
                                              << "; move the shared piece below app/ instead";
    }
    ++files_checked;
  }
  EXPECT_GT(files_checked, 50);
  EXPECT_GT(app_includes_in_app, 0);
}

}  // namespace
