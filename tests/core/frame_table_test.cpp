#include "frames/frame_table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "codegen/listing.h"
#include "core/external_tools.h"
#include "core/file_bytes.h"
#include "core/frame_sequences.h"
#include "core/temp_folder.h"

namespace lumigrid {
namespace {

namespace fs = std::filesystem;
using testing::PictureAfterFrame;
using testing::ProgramOnPath;
using testing::ReadAll;
using testing::ScriptCase;
using testing::ScriptCases;
using testing::TempFolder;

class FrameTableTest : public ::testing::TestWithParam<ScriptCase> {
 protected:
  FrameScript Script() const { return testing::MakeScript(GetParam()); }
  Ks0108Model StartModel() const {
    return Ks0108Model(GetParam().options.start.value_or(PictureBytes{}));
  }
};

TEST_P(FrameTableTest, BinaryDecodesToTheSameRecordsAndPlaysEachPicture) {
  const FrameScript script = Script();
  const std::vector<uint8_t> table = EncodeFrameTable(script);
  int size = 1;
  for (const Frame& frame : script.frames) size += FrameTableSize(frame);
  EXPECT_EQ(static_cast<int>(table.size()), size);

  const auto decoded = DecodeFrameTable(table);
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(*decoded, script);
  Ks0108Model model = StartModel();
  for (size_t f = 0; f < decoded->frames.size(); ++f) {
    model.Apply(FrameBusOps(decoded->frames[f]));
    ASSERT_EQ(model.Picture(), PictureAfterFrame(GetParam().pictures, f)) << "frame " << f + 1;
  }
}

TEST_P(FrameTableTest, AssemblyTableAssemblesToTheSameRecords) {
  if (!ProgramOnPath("gpasm")) GTEST_SKIP() << "gpasm (gputils) is not on PATH";
  const FrameScript script = Script();
  ListingOptions options;
  options.first_indent = 2;
  options.second_indent = 5;
  const auto lines = FrameTableAsmLines(script, options);
  ASSERT_TRUE(lines.has_value());

  TempFolder dir;
  std::ofstream(dir.Path() / "frames.inc", std::ios::binary)
      << ListingFileBytes(JoinListingLines(*lines));
  std::ofstream(dir.Path() / "main.asm", std::ios::binary)
      << "\tprocessor p16f877a\n\torg 0\n#include \"frames.inc\"\n\tend\n";
  const std::string command =
      "cd \"" + dir.Path().string() + "\" && gpasm main.asm > gpasm.log 2>&1";
  const int status = std::system(command.c_str());
  const std::string log = ReadAll(dir.Path() / "gpasm.log");
  ASSERT_EQ(status, 0) << "gpasm rejected the table:\n" << log;
  EXPECT_EQ(log.find("Warning"), std::string::npos) << log;

  const std::vector<uint8_t> bytes =
      testing::RetlwValues(testing::ParseIntelHex(ReadAll(dir.Path() / "main.hex")));
  EXPECT_EQ(bytes, EncodeFrameTable(script));
  const auto decoded = DecodeFrameTable(bytes);
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(*decoded, script);
}

// Compiles the C player with the system compiler around the generated array, runs it and
// feeds what it writes into the model; the binary table goes through the same player.
TEST_P(FrameTableTest, CPlayerPlaysTheArrayAndTheBinaryIntoEachPicture) {
  if (!ProgramOnPath("cc")) GTEST_SKIP() << "no C compiler (cc) on PATH";
  const FrameScript script = Script();
  const auto source = FrameTableC(script);
  ASSERT_TRUE(source.has_value());

  TempFolder dir;
  std::ofstream(dir.Path() / "table.c", std::ios::binary) << *source;
  const std::vector<uint8_t> table = EncodeFrameTable(script);
  std::ofstream(dir.Path() / "table.bin", std::ios::binary)
      .write(reinterpret_cast<const char*>(table.data()),
             static_cast<std::streamsize>(table.size()));
  const std::string player = LUMIGRID_SOURCE_DIR "/src/frames/player";
  const std::string compile = "cd \"" + dir.Path().string() +
                              "\" && cc -std=c99 -Wall -Wextra -pedantic -Werror -I\"" + player +
                              "\" \"" + player +
                              "/frame_player.c\" \"" LUMIGRID_SOURCE_DIR
                              "/tests/core/frame_player_harness.c\" table.c -o player > cc.log "
                              "2>&1";
  ASSERT_EQ(std::system(compile.c_str()), 0) << ReadAll(dir.Path() / "cc.log");

  // Looping tables are played twice round to see the jump back to the second frame.
  const size_t frames = script.frames.size();
  const size_t played = script.loop ? 2 * frames : frames + 1;
  for (const char* input : {"", " table.bin"}) {
    SCOPED_TRACE(*input ? "binary file" : "C array");
    const std::string run = "cd \"" + dir.Path().string() + "\" && ./player " +
                            std::to_string(played) + input + " > ops.txt";
    ASSERT_EQ(std::system(run.c_str()), 0);
    std::stringstream out(ReadAll(dir.Path() / "ops.txt"));

    Ks0108Model model = StartModel();
    size_t done = 0;  // frames played
    std::string word;
    while (out >> word) {
      if (word == "c" || word == "d") {
        int chip = 0, value = 0;
        out >> chip >> value;
        model.Apply({static_cast<uint8_t>(chip), word == "d", static_cast<uint8_t>(value)});
      } else if (word == "f") {
        // Frame index played: 0..frames-1, then round again from the second frame.
        const size_t f = done < frames ? done : 1 + (done - frames) % (frames - 1);
        ASSERT_EQ(model.Picture(), PictureAfterFrame(GetParam().pictures, f))
            << "played frame " << done + 1;
        ++done;
      } else {
        EXPECT_EQ(word, script.loop ? "more" : "stop");
        EXPECT_EQ(done, script.loop ? played : frames);
      }
    }
    EXPECT_EQ(done, script.loop ? played : frames);
  }
}

INSTANTIATE_TEST_SUITE_P(Scripts, FrameTableTest, ::testing::ValuesIn(ScriptCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EncodeFrameTable, WritesTheDocumentedRecords) {
  PictureBytes to{};
  to[DisplayMemoryOffset(2, 3, 63)] = 0xA1;  // wraps into column 0 of the same page
  to[DisplayMemoryOffset(2, 3, 0)] = 0xA2;
  to[DisplayMemoryOffset(2, 3, 10)] = 0xA3;
  to[DisplayMemoryOffset(1, 0, 5)] = 0xA4;
  const FrameScript script = MakeFrameScript({to}, {std::nullopt, false});
  const std::vector<uint8_t> expected{
      0x80, 0x45, 0x01, 0xA4,  // chip 1 page 0: column 5, one byte
      0x8B, 0x4A, 0x01, 0xA3,  // chip 2 page 3: column 10, one byte
      0x7F, 0x02, 0xA1, 0xA2,  // same page: column 63, two bytes round the wrap
      0x00,                    // end of frame
      0xFF};                   // end of table
  EXPECT_EQ(EncodeFrameTable(script), expected);
  FrameScript looping = script;
  looping.frames.push_back({});
  looping.loop = true;
  const std::vector<uint8_t> encoded = EncodeFrameTable(looping);
  EXPECT_EQ(encoded.back(), 0xFE);
  EXPECT_EQ(encoded[encoded.size() - 2], 0x00) << "the empty second frame";
}

// A byte, the same moved up a page, and a byte beside it: the second frame only scrolls, the
// third writes where the first left the page register and the column counter.
TEST(EncodeFrameTable, WritesTheDocumentedScrollingRecords) {
  PictureBytes first{};
  first[DisplayMemoryOffset(1, 1, 10)] = 0x81;
  PictureBytes moved{};
  moved[DisplayMemoryOffset(1, 0, 10)] = 0x81;
  PictureBytes beside = moved;
  beside[DisplayMemoryOffset(1, 0, 11)] = 0x42;
  const FrameScript script = MakeFrameScript({first, moved, beside});
  const std::vector<uint8_t> expected{
      0x81, 0x4A, 0x01, 0x81, 0x00,  // chip 1 page 1: column 10, one byte
      0xB0, 0xC8, 0x00,              // start line 8 on both chips
      0xA0, 0x01, 0x42, 0x00,        // chip 1, page kept: one byte where the counter stands
      0xFF};
  EXPECT_EQ(EncodeFrameTable(script), expected);
  EXPECT_EQ(FrameOperationCount(script.frames[1]), 2);
  EXPECT_EQ(FrameOperationCount(script.frames[2]), 1);
  EXPECT_EQ(FinalStartLine(script), 8);
  EXPECT_NE(FrameTableC(script)->find("leaves the display at start line 8"), std::string::npos);
}

// Looping back to the second frame, which keeps the page and the counter the first left.
TEST(DecodeFrameTable, ALoopMustLeaveTheRegistersTheFramesAfterItRelyOn) {
  const std::vector<uint8_t> kept{0x80, 0x40, 0x01, 0x55, 0x00,  // page 0 column 0: then at 1
                                  0xA0, 0x01, 0x66, 0x00,        // page kept, column 1
                                  0x80, 0x40, 0x01, 0x55, 0x00,  // as the first frame left it
                                  0xFE};
  const auto decoded = DecodeFrameTable(kept);
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(EncodeFrameTable(*decoded), kept);
  EXPECT_FALSE(decoded->frames[1].pages[0].set_page);
  EXPECT_EQ(decoded->frames[1].pages[0].segments[0].column, 1);
  std::vector<uint8_t> moved = kept;
  moved[9] = 0x81;  // the loop frame leaves page 1
  EXPECT_FALSE(DecodeFrameTable(moved).has_value());
  moved = kept;
  moved[10] = 0x45;  // the loop frame leaves the counter at 6
  EXPECT_FALSE(DecodeFrameTable(moved).has_value());
}

struct BadTable {
  const char* name;
  std::vector<uint8_t> bytes;
  friend void PrintTo(const BadTable& c, std::ostream* os) { *os << c.name; }
};

class DecodeFrameTableTest : public ::testing::TestWithParam<BadTable> {};

TEST_P(DecodeFrameTableTest, RefusesMalformedTables) {
  EXPECT_FALSE(DecodeFrameTable(GetParam().bytes).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, DecodeFrameTableTest,
    ::testing::Values(
        BadTable{"Empty", {}}, BadTable{"NoTableEnd", {0x00}},
        BadTable{"FrameNotEnded", {0x80, 0x40, 0x01, 0x00, 0xFF}},
        BadTable{"SegmentBeforePage", {0x40, 0x01, 0x55, 0x00, 0xFF}},
        BadTable{"PageWithoutSegment", {0x80, 0x00, 0xFF}},
        BadTable{"ZeroLength", {0x80, 0x40, 0x00, 0x00, 0xFF}},
        BadTable{"LengthOver64",
                 [] {
                   std::vector<uint8_t> b{0x80, 0x40, 65};
                   b.resize(b.size() + 65, 0x11);
                   b.push_back(0x00);
                   b.push_back(0xFF);
                   return b;
                 }()},
        BadTable{"DataCutOff", {0x80, 0x40, 0x03, 0x01}},
        BadTable{"UnknownByte", {0x90, 0x40, 0x01, 0x01, 0x00, 0xFF}},
        BadTable{"BytesAfterTheEnd", {0x00, 0xFF, 0x00}},
        BadTable{"LoopWithoutSecondFrame", {0x00, 0xFE}},
        // A frame's first segment has no page of the frame before.
        BadTable{"SegmentCarriedIntoNextFrame",
                 {0x80, 0x40, 0x01, 0x01, 0x00, 0x41, 0x01, 0x01, 0x00, 0xFF}},
        // The first frame starts from unknown registers.
        BadTable{"PageKeptBeforeKnown", {0xA0, 0x40, 0x01, 0x55, 0x00, 0xFF}},
        BadTable{"RunBeforeColumnKnown", {0x80, 0x01, 0x55, 0x00, 0xFF}},
        BadTable{"ChipKeptWithoutSegment", {0x80, 0x40, 0x01, 0x55, 0x00, 0xA0, 0x00, 0xFF}},
        BadTable{"StartLineAfterWrites", {0x80, 0x40, 0x01, 0x55, 0xB0, 0xC1, 0x00, 0xFF}},
        BadTable{"TwoStartLines", {0xB0, 0xC1, 0xB0, 0xC2, 0x00, 0xFF}},
        BadTable{"StartLineWithoutCommand", {0xB0, 0x41, 0x00, 0xFF}},
        BadTable{"StartLineCutOff", {0xB0}},
        BadTable{"RunCutOff", {0x80, 0x40, 0x01, 0x55, 0x00, 0x80, 0x03, 0x01}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FrameTableAsmLines, UsesTheListingDirectiveAndIndents) {
  PictureBytes to{};
  to[DisplayMemoryOffset(1, 1, 2)] = 0x0A;
  const FrameScript script = MakeFrameScript({to}, {std::nullopt, true});
  ListingOptions options;
  options.use_dt = false;
  options.directive_name = "retlw";
  options.first_indent = 2;
  options.second_indent = 3;
  const auto lines = FrameTableAsmLines(script, options);
  ASSERT_TRUE(lines.has_value());
  const std::vector<std::string> expected{
      "",
      ";         Проигрыватель: frame_player.inc в /usr/share/lumigrid/players/",
      ";         Кадр 1",
      "  retlw   0x81,0x42,0x01,0x0A",
      "  retlw   0x00",
      ";         Кадр 2",  // back to the same picture: nothing to write
      "  retlw   0x00",
      ";         Конец, далее кадр 2",
      "  retlw   0xFE",
      ""};
  EXPECT_EQ(*lines, expected);

  options.directive_name.clear();
  EXPECT_FALSE(FrameTableAsmLines(script, options).has_value());
  options.use_dt = true;
  options.first_indent = 0;
  options.second_indent = 1;
  const auto dt = FrameTableAsmLines(script, options);
  ASSERT_TRUE(dt.has_value());
  EXPECT_EQ((*dt)[3], "Dt 0x81,0x42,0x01,0x0A");
  EXPECT_EQ((*dt)[2], ";  Кадр 1");
}

struct NameCase {
  const char* name;
  bool valid;
};

TEST(FrameTableC, AcceptsOnlyCIdentifiersAsArrayName) {
  const FrameScript script = MakeFrameScript({PictureBytes{}});
  for (const NameCase& c :
       {NameCase{"frame_table", true}, NameCase{"_x9", true}, NameCase{"Logo2", true},
        NameCase{"", false}, NameCase{"9x", false}, NameCase{"a-b", false}, NameCase{"a b", false},
        NameCase{"кадры", false}}) {
    EXPECT_EQ(IsCIdentifier(c.name), c.valid) << c.name;
    EXPECT_EQ(FrameTableC(script, c.name).has_value(), c.valid) << c.name;
  }
}

}  // namespace
}  // namespace lumigrid
