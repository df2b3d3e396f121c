// The real program: exit codes, standard streams, no display needed.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#ifndef _WIN32
#include <sys/wait.h>

namespace lumigrid::cli {
namespace {

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

}  // namespace
}  // namespace lumigrid::cli
#endif
