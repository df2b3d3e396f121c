// Assembles the PIC frame player with a generated table and two recording bus routines,
// runs it in a small PIC16 interpreter and plays what it writes into the display model.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
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

// Main loop and routines in page 0, the player in the last page, the table from just below
// the first 2K boundary: each call and each table read crosses code pages and the table
// crosses 256-word blocks.
constexpr int kTableOrigin = 0x800 - 0x35;
constexpr int kPlayerOrigin = 0x1F00;

// gpasm reads bare numbers as hex.
std::string Hex(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

std::string TestProgram(const std::string& player) {
  return "BUS_VALUE equ " + Hex(kBusValue) + "\nBUS_KIND equ " + Hex(kBusKind) +
         "\nFRAME_DONE equ " + Hex(kFrameDone) + "\nTABLE equ " + Hex(kTableOrigin) +
         "\nPLAYER equ " + Hex(kPlayerOrigin) + "\n#define PLAYER_FILE \"" + player + "\"\n" +
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

class FrameAsmPlayerTest : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(FrameAsmPlayerTest, PlaysTheAssembledTableIntoEachPicture) {
  if (!ProgramOnPath("gpasm")) GTEST_SKIP() << "gpasm (gputils) is not on PATH";
  const ScriptCase& c = GetParam();
  const FrameScript script = MakeFrameScript(c.pictures, c.options);
  ASSERT_LT(kTableOrigin + EncodeFrameTable(script).size(), kPlayerOrigin);
  const auto lines = FrameTableAsmLines(script, ListingOptions{});
  ASSERT_TRUE(lines.has_value());

  TempFolder dir;
  std::ofstream(dir.Path() / "frames.inc", std::ios::binary)
      << ListingFileBytes(JoinListingLines(*lines));
  std::ofstream(dir.Path() / "main.asm", std::ios::binary)
      << TestProgram(LUMIGRID_SOURCE_DIR "/src/frames/player/frame_player.inc");
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

INSTANTIATE_TEST_SUITE_P(Scripts, FrameAsmPlayerTest, ::testing::ValuesIn(testing::ScriptCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lumigrid
