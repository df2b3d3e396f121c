// Assembles the PIC frame player with a generated table and two recording bus routines,
// runs it in a small PIC16 interpreter and plays what it writes into the display model.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "codegen/listing.h"
#include "core/external_tools.h"
#include "core/file_bytes.h"
#include "core/frame_sequences.h"
#include "core/pic16_sim.h"
#include "core/temp_folder.h"
#include "frames/frame_table.h"

namespace lumigrid {
namespace {

using testing::ProgramOnPath;
using testing::ReadAll;
using testing::ScriptCase;
using testing::TempFolder;

// Where the recording routines leave each bus write: the byte, then its kind (the chip,
// | 0x10 for data). The main loop writes W after each frame to kFrameDone.
constexpr int kBusValue = 0x08, kBusKind = 0x07, kFrameDone = 0x09;

// Where the player and the table go; the main loop and the routines are in page 0.
struct Layout {
  const char* name;
  int table, player;
};
constexpr Layout kLayouts[] = {
    // The player in the last page, the table from just below the first 2K boundary: every
    // call and table read crosses code pages, the table crosses 256-word blocks.
    {"TableAcrossPages", 0x800 - 0x35, 0x1F00},
    // All in the first 256 words where they fit: the table's high address byte is 0.
    {"TableLow", 0xA0, 0x40},
};
// gpasm reads bare numbers as hex.
std::string Hex(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

std::string TestProgram(const std::string& player, const Layout& layout) {
  return "BUS_VALUE equ " + Hex(kBusValue) + "\nBUS_KIND equ " + Hex(kBusKind) +
         "\nFRAME_DONE equ " + Hex(kFrameDone) + "\nTABLE equ " + Hex(layout.table) +
         "\nPLAYER equ " + Hex(layout.player) + "\n#define PLAYER_FILE \"" + player + "\"\n" +
         R"(
  processor p16f877a
  org 0
  pagesel lumigrid_frames_start
  call lumigrid_frames_start
next_frame
  pagesel lumigrid_play_frame
  call lumigrid_play_frame
  movwf FRAME_DONE          ; W and Z as returned
  pagesel next_frame
  btfss 3, 2
  goto next_frame
  sleep

lumigrid_lcd_command
  movwf BUS_VALUE
  movf lumigrid_chip, W
  movwf BUS_KIND
  return
lumigrid_lcd_data
  movwf BUS_VALUE
  movf lumigrid_chip, W
  iorlw 0x10
  movwf BUS_KIND
  return

  org TABLE
frame_table
#include "frames.inc"

  org PLAYER
#include PLAYER_FILE
  end
)";
}

// The shared sequences, and a short one whose second frame starts in the first 256 words.
std::vector<ScriptCase> AsmCases() {
  std::vector<ScriptCase> cases = testing::ScriptCases();
  PictureBytes dot{};
  dot[DisplayMemoryOffset(2, 7, 63)] = 0x80;
  cases.push_back({"TwoSmallFramesLooping", {PictureBytes{}, dot}, {std::nullopt, true}});
  return cases;
}

class FrameAsmPlayerTest : public ::testing::TestWithParam<std::tuple<ScriptCase, Layout>> {};

TEST_P(FrameAsmPlayerTest, PlaysTheAssembledTableIntoEachPicture) {
  if (!ProgramOnPath("gpasm")) GTEST_SKIP() << "gpasm (gputils) is not on PATH";
  const ScriptCase& c = std::get<0>(GetParam());   // not a structured binding: the lambda
  const Layout& layout = std::get<1>(GetParam());  // below uses it, which older clangs refuse
  const FrameScript script = testing::MakeScript(c);
  const int table_end = layout.table + static_cast<int>(EncodeFrameTable(script).size());
  if (layout.player > layout.table) {
    ASSERT_LT(table_end, layout.player);
  }
  ASSERT_LT(table_end, 0x2000);
  const auto lines = FrameTableAsmLines(script, ListingOptions{});
  ASSERT_TRUE(lines.has_value());

  TempFolder dir;
  std::ofstream(dir.Path() / "frames.inc", std::ios::binary)
      << ListingFileBytes(JoinListingLines(*lines));
  std::ofstream(dir.Path() / "main.asm", std::ios::binary)
      << TestProgram(LUMIGRID_SOURCE_DIR "/src/frames/player/frame_player.inc", layout);
  const std::string command =
      "cd \"" + dir.Path().string() + "\" && gpasm main.asm > gpasm.log 2>&1";
  const int status = std::system(command.c_str());
  const std::string log = ReadAll(dir.Path() / "gpasm.log");
  ASSERT_EQ(status, 0) << "gpasm rejected the program:\n" << log;
  EXPECT_EQ(log.find("Warning"), std::string::npos) << log;
  const auto hex = testing::ParseIntelHex(ReadAll(dir.Path() / "main.hex"));
  ASSERT_FALSE(hex.empty());

  // Looping tables are played twice round to see the jump back to the second frame.
  const size_t frames = script.frames.size();
  const size_t played = script.loop ? 2 * frames : frames;
  Ks0108Model model(c.options.start.value_or(PictureBytes{}));
  std::vector<BusOp> ops;  // of the frame being played
  std::vector<uint8_t> returned;
  uint8_t bus_value = 0;
  testing::Pic16Sim pic(hex);
  pic.OnWrite([&](int address, uint8_t value) {
    if (address == kBusValue) {
      bus_value = value;
    } else if (address == kBusKind) {
      ops.push_back({static_cast<uint8_t>(value & 0x0F), (value & 0x10) != 0, bus_value});
    } else if (address == kFrameDone) {
      const size_t done = returned.size();
      // Frame index played: 0..frames-1, then round again from the second frame.
      const size_t f = done < frames ? done : 1 + (done - frames) % (frames - 1);
      EXPECT_EQ(ops, FrameBusOps(script.frames[f])) << "played frame " << done + 1;
      model.Apply(ops);
      EXPECT_EQ(model.Picture(), testing::PictureAfterFrame(c.pictures, f))
          << "played frame " << done + 1;
      ops.clear();
      returned.push_back(value);
      if (returned.size() == played) pic.Stop();
    }
  });
  ASSERT_EQ(pic.Run(50'000'000), "");

  ASSERT_EQ(returned.size(), played);
  std::vector<uint8_t> expected(played, 1);
  if (!script.loop) expected.back() = 0;  // after the last frame of a table that stops
  EXPECT_EQ(returned, expected);
  EXPECT_TRUE(ops.empty()) << "bus writes after the last frame";
}

INSTANTIATE_TEST_SUITE_P(Scripts, FrameAsmPlayerTest,
                         ::testing::Combine(::testing::ValuesIn(AsmCases()),
                                            ::testing::ValuesIn(kLayouts)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  std::get<1>(info.param).name;
                         });

// A player fault the part would hide must stop the interpreter with a message, or the test
// above could pass on a stack that silently wrapped.
TEST(Pic16Sim, StopsOnFaultsInsteadOfRunningOn) {
  if (!ProgramOnPath("gpasm")) GTEST_SKIP() << "gpasm (gputils) is not on PATH";
  struct Case {
    const char* body;
    const char* fault;
  };
  for (const Case& c : {Case{"again\n  call again\n", "stack overflow"},
                        Case{"  return\n", "RETURN with an empty stack"},
                        Case{"  movlw 0x10\n  movwf 0x0A\n  goto 0\n", "empty program memory"},
                        Case{"  nop\n  sleep\n", ""}}) {
    TempFolder dir;
    std::ofstream(dir.Path() / "main.asm", std::ios::binary) << "  processor p16f877a\n  org 0\n"
                                                             << c.body << "  end\n";
    const std::string command =
        "cd \"" + dir.Path().string() + "\" && gpasm main.asm > gpasm.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadAll(dir.Path() / "gpasm.log");
    testing::Pic16Sim pic(testing::ParseIntelHex(ReadAll(dir.Path() / "main.hex")));
    const std::string fault = pic.Run(1000);
    if (*c.fault == 0) {
      EXPECT_EQ(fault, "") << c.body;
    } else {
      EXPECT_NE(fault.find(c.fault), std::string::npos) << c.body << fault;
    }
  }
}

}  // namespace
}  // namespace lumigrid
