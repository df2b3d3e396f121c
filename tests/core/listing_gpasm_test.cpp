// Assembles saved listings with gpasm (gputils) and checks the program words it produces:
// every data value must become one RETLW (0x34XX) in listing order. Skipped without gpasm.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "codegen/listing.h"
#include "core/external_tools.h"
#include "core/file_bytes.h"
#include "core/test_pictures.h"
#include "picture/geometry.h"

namespace lumigrid {
namespace {

namespace fs = std::filesystem;
using testing::ParseIntelHex;
using testing::ProgramOnPath;
using testing::ReadAll;

// The picture's bytes as the listing declares them: the cell walk, or crystal 1 then 2.
std::vector<uint8_t> BytesInListingOrder(const PictureBuffer& buffer, bool grouped) {
  std::vector<int> cells;
  if (grouped) {
    for (int crystal = 0; crystal < 2; ++crystal) {
      for (int page = 0; page < kPageCount; ++page) {
        for (int g = 0; g < 8; ++g) cells.push_back(16 * page + 8 * crystal + g + 1);
      }
    }
  } else {
    for (int c = 1; c <= kCellCount; ++c) cells.push_back(c);
  }
  std::vector<uint8_t> bytes;
  for (int c : cells) {
    for (int k = 1; k <= kBytesPerCell; ++k) bytes.push_back(buffer.Byte(c, k));
  }
  return bytes;
}

struct GpasmCase {
  const char* name;
  friend void PrintTo(const GpasmCase& c, std::ostream* os) { *os << c.name; }
  bool grouped;
  const char* own_directive;  // nullptr: "Dt"
  int first_indent, second_indent;
  const char* file_name;  // nullptr: no file line; "": the numbered form
};

class ListingGpasmTest : public ::testing::TestWithParam<GpasmCase> {};

TEST_P(ListingGpasmTest, AssemblesToRetlwOfEveryByte) {
  if (!ProgramOnPath("gpasm")) GTEST_SKIP() << "gpasm (gputils) is not on PATH";
  const auto& p = GetParam();

  PictureBuffer buffer;
  buffer.Bytes() = testing::RandomPicture(877);
  if (p.file_name != nullptr) buffer.SetFileName(p.file_name);
  ListingOptions options;
  options.group_by_crystal = p.grouped;
  options.use_dt = p.own_directive == nullptr;
  options.directive_name = p.own_directive ? p.own_directive : "";
  options.add_file_name = p.file_name != nullptr;
  options.first_indent = p.first_indent;
  options.second_indent = p.second_indent;
  const auto lines = GenerateListing(buffer, 4, options);
  ASSERT_TRUE(lines.has_value());

  const fs::path dir = fs::temp_directory_path() / ("lumigrid_gpasm_" + std::string(p.name) + "_" +
                                                    std::to_string(std::random_device{}()));
  fs::create_directories(dir);
  {
    std::ofstream(dir / "listing.inc", std::ios::binary)
        << ListingFileBytes(JoinListingLines(*lines));
    std::ofstream(dir / "main.asm", std::ios::binary)
        << "\tprocessor p16f877a\n\torg 0\n#include \"listing.inc\"\n\tend\n";
  }
  const std::string command = "cd \"" + dir.string() + "\" && gpasm main.asm > gpasm.log 2>&1";
  const int status = std::system(command.c_str());
  const std::string log = ReadAll(dir / "gpasm.log");
  const std::string hex = ReadAll(dir / "main.hex");
  fs::remove_all(dir);
  ASSERT_EQ(status, 0) << "gpasm rejected the listing:\n" << log;
  EXPECT_EQ(log.find("Warning"), std::string::npos) << log;

  const auto memory = ParseIntelHex(hex);
  const std::vector<uint8_t> expected = BytesInListingOrder(buffer, p.grouped);
  ASSERT_EQ(memory.size(), 2 * expected.size()) << "program words, two bytes each";
  for (uint32_t w = 0; w < expected.size(); ++w) {
    const auto lo = memory.find(2 * w);
    const auto hi = memory.find(2 * w + 1);
    ASSERT_TRUE(lo != memory.end() && hi != memory.end()) << "no word at " << w;
    const int word = lo->second | (hi->second << 8);
    ASSERT_EQ(word, 0x3400 | expected[w]) << "word " << w;  // RETLW value
  }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ListingGpasmTest,
    ::testing::Values(GpasmCase{"DtCellWalk", false, nullptr, 2, 3, R"(C:\Картинки\логотип.chr)"},
                      GpasmCase{"DtGrouped", true, nullptr, 12, 12, ""},
                      GpasmCase{"OwnCellWalk", false, "dt", 20, 20, "/home/ёж/Рисунок — 1.chr"},
                      GpasmCase{"OwnGrouped", true, "dt", 2, 2, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lumigrid
