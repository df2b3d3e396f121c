// Where About finds the documents it links to.
#include "app/documentation.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/temp_folder.h"

namespace lumigrid {
namespace {

namespace fs = std::filesystem;

TEST(FindDocumentation, InstalledBesideTheProgramThenTheSourceTreeThenNothing) {
  testing::TempFolder root;
  const fs::path prefix = root.Path() / "usr";
  const fs::path installed = prefix / "share" / "doc" / "lumigrid";
  const fs::path tree = root.Path() / "src tree";
  fs::create_directories(prefix / "bin");
  fs::create_directories(installed / "docs");
  fs::create_directories(tree / "docs");
  const std::string bin = (prefix / "bin").string();
  const std::string source = tree.string();

  EXPECT_FALSE(FindDocumentation(bin, source)) << "no README anywhere";
  EXPECT_FALSE(FindDocumentation("", "")) << "no place known";

  std::ofstream(tree / "README.md") << "# Lumigrid\n";
  auto docs = FindDocumentation(bin, source);
  ASSERT_TRUE(docs);
  EXPECT_EQ(docs->readme, (tree / "README.md").string());
  EXPECT_EQ(docs->folder, (tree / "docs").string());
  fs::remove(tree / "docs");
  EXPECT_EQ(FindDocumentation(bin, source)->folder, tree.string()) << "no docs folder";

  // A folder named README.md is no README.
  fs::create_directories(installed / "README.md" / "x");
  EXPECT_EQ(FindDocumentation(bin, source)->readme, (tree / "README.md").string());
  fs::remove_all(installed / "README.md");

  std::ofstream(installed / "README.md") << "# Lumigrid\n";
  docs = FindDocumentation(bin, source);
  ASSERT_TRUE(docs);
  EXPECT_EQ(docs->readme, (installed / "README.md").string()) << "the installed one wins";
  EXPECT_EQ(docs->folder, installed.string());
  EXPECT_EQ(FindDocumentation(bin, "")->readme, docs->readme);
  EXPECT_FALSE(FindDocumentation((tree / "docs").string(), "")) << "not beside this program";
}

}  // namespace
}  // namespace lumigrid
