// The real program: exit codes, standard streams, no display needed.
#include <gtest/gtest.h>

#include <fstream>

#include <array>
#include <cstdio>
#include <random>
#include <string>

#include "core/external_tools.h"
#include "core/file_bytes.h"
#include "core/temp_folder.h"
#include "frames/frame_script.h"
#include "frames/frame_table.h"

#ifndef _WIN32
#include <sys/wait.h>

namespace lumigrid::cli {
namespace {

using lumigrid::testing::ParseIntelHex;
using lumigrid::testing::ProgramOnPath;
using lumigrid::testing::ReadAll;
using lumigrid::testing::RetlwValues;

struct Result {
  int exit_code;
  std::string out;
};

// Runs the program with a shell command line; stderr is joined to stdout.
Result RunCliProgram(const std::string& arguments) {
  const std::string command =
      "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" LUMIGRID_CLI_PATH "' " + arguments +
      " 2>&1";
  Result result{-1, {}};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  std::array<char, 4096> chunk;
  for (size_t n; (n = fread(chunk.data(), 1, chunk.size(), pipe)) > 0;)
    result.out.append(chunk.data(), n);
  const int status = pclose(pipe);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

TEST(CliProcess, ExitCodesAndStreamsWithoutADisplay) {
  EXPECT_EQ(RunCliProgram("--version").out, "lumigrid-cli 3.8\n");
  const Result listing = RunCliProgram("listing - < /dev/null | head -c 2 | od -An -c");
  EXPECT_EQ(listing.exit_code, 0);
  EXPECT_NE(listing.out.find("\\r  \\n"), std::string::npos) << listing.out;
  EXPECT_EQ(RunCliProgram("listing /nonexistent/x.chr").exit_code, 1);
  EXPECT_EQ(RunCliProgram("frobnicate").exit_code, 2);
  const Result usage = RunCliProgram("listing");
  EXPECT_EQ(usage.exit_code, 2);
  EXPECT_NE(usage.out.find("needs PICTURE"), std::string::npos) << usage.out;
  EXPECT_EQ(RunCliProgram("c-array --help").exit_code, 0);
}

// Assembles what the program wrote with gpasm; the operands of the RETLW words, in order.
std::vector<uint8_t> AssembledValues(const lumigrid::testing::TempFolder& folder,
                                     const std::string& include_file) {
  std::ofstream(folder.Path() / "main.asm")
      << "\tprocessor p16f877a\n\torg 0\n#include \"" << include_file << "\"\n\tend\n";
  const std::string dir = folder.Path().string();
  EXPECT_EQ(std::system(("cd '" + dir + "' && gpasm main.asm > gpasm.log 2>&1").c_str()), 0)
      << ReadAll(folder.Path() / "gpasm.log");
  return RetlwValues(ParseIntelHex(ReadAll(folder.Path() / "main.hex")));
}

TEST(CliProcess, ListingAndFrameTableAssembleIntoTheirBytes) {
  if (!ProgramOnPath("gpasm")) GTEST_SKIP() << "gpasm (gputils) is not on PATH";
  lumigrid::testing::TempFolder folder;
  std::mt19937 random(9);
  PictureBytes a{}, b{};
  for (auto& v : a) v = static_cast<uint8_t>(random());
  b = a;
  for (int i = 0; i < 40; ++i) b[random() % b.size()] ^= 0x10;
  std::ofstream(folder.Path() / "a.chr", std::ios::binary)
      .write(reinterpret_cast<const char*>(a.data()), a.size());
  std::ofstream(folder.Path() / "b.chr", std::ios::binary)
      .write(reinterpret_cast<const char*>(b.data()), b.size());
  const std::string dir = "'" + folder.Path().string() + "/";

  // Display-memory order: the RETLW values are the picture file's bytes.
  ASSERT_EQ(RunCliProgram("listing --no-group --file-name " + dir + "a.chr' -o " + dir + "a.inc'")
                .exit_code,
            0);
  EXPECT_EQ(AssembledValues(folder, "a.inc"), std::vector<uint8_t>(a.begin(), a.end()));

  ASSERT_EQ(RunCliProgram("frames --loop --directive dt --indent1 1 " + dir + "a.chr' " + dir +
                          "b.chr' -o " + dir + "f.inc'")
                .exit_code,
            0);
  SequenceOptions options;
  options.loop = true;
  EXPECT_EQ(AssembledValues(folder, "f.inc"), EncodeFrameTable(MakeFrameScript({a, b}, options)));
}

}  // namespace
}  // namespace lumigrid::cli
#endif
