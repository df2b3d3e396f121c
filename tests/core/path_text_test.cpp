#include "files/path_text.h"

#include <gtest/gtest.h>

namespace lumigrid {
namespace {

struct PathCase {
  const char* path;
  const char* extension;
  const char* file_part;
  friend void PrintTo(const PathCase& c, std::ostream* os) { *os << c.path; }
};

class PathTextTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathTextTest, ExtensionAndFilePart) {
  const PathCase& c = GetParam();
  EXPECT_EQ(PathExtension(c.path), c.extension) << c.path;
  EXPECT_EQ(PathFilePart(c.path), c.file_part) << c.path;
}

INSTANTIATE_TEST_SUITE_P(Paths, PathTextTest,
                         ::testing::Values(PathCase{"Picture.BMP", "BMP", "Picture.BMP"},
                                           PathCase{"notes.txt", "txt", "notes.txt"},
                                           PathCase{"data", "", "data"},
                                           // A dot in a folder name is not an extension.
                                           PathCase{"C:\\pics.d\\data", "", "data"},
                                           PathCase{"a/b.c/d", "", "d"}, PathCase{"x.", "", "x."},
                                           PathCase{"archive.tar.GZ", "GZ", "archive.tar.GZ"},
                                           PathCase{"C:\\Мои рисунки\\лого.Png", "Png", "лого.Png"},
                                           PathCase{"/home/user/pics/logo.chr", "chr", "logo.chr"},
                                           PathCase{"D:/mixed\\sub/pic.jpg", "jpg", "pic.jpg"},
                                           PathCase{"folder/", "", ""}, PathCase{"", "", ""}));

TEST(PathText, ExtensionsCompareAfterLowerCasing) {
  struct Case {
    const char* path;
    const char* lower_ext;
    bool expected;
  };
  const Case cases[] = {
      {"Picture.BMP", "bmp", true}, {"a.CHR", "chr", true},         {"photo.JpG", "jpg", true},
      {"notes.txt", "bmp", false},  {"a.chrx", "chr", false},       {"data", "", true},
      {"data", "chr", false},       {"C:\\p.png\\x", "png", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HasExtension(c.path, c.lower_ext), c.expected) << c.path << " vs " << c.lower_ext;
  }
}

TEST(PathText, LowerAsciiKeepsOtherBytes) {
  EXPECT_EQ(LowerAscii("ABC xyz 09 .[]@Z"), "abc xyz 09 .[]@z");
  EXPECT_EQ(LowerAscii("РИСУНОК.PNG"), "РИСУНОК.png");
}

}  // namespace
}  // namespace lumigrid
