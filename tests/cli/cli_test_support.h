// Runs lumigrid-cli in the test's own process with captured streams, or as the real program.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/cli_commands.h"

namespace lumigrid::cli::testing {

struct CliRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

inline CliRun RunInProcess(const std::vector<std::string>& args,
                           std::optional<std::string> input = std::string()) {
  CliRun run;
  CliIo io;
  io.read_stdin = [input] { return input; };
  io.write_stdout = [&run](std::string_view bytes) {
    run.out.append(bytes);
    return true;
  };
  io.write_stderr = [&run](std::string_view text) { run.err.append(text); };
  run.exit_code = RunCli(args, io);
  return run;
}

}  // namespace lumigrid::cli::testing
