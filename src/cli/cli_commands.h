// lumigrid-cli: the editor's generators from the command line. Every command calls the same
// core functions as the editor; this file only reads arguments, pictures and writes outputs.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_args.h"

namespace lumigrid::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // bad input or a failed write
inline constexpr int kExitUsage = 2;    // wrong usage

// Standard streams, replaceable in tests.
struct CliIo {
  std::function<std::optional<std::string>()> read_stdin;  // nullopt when it cannot be read
  std::function<bool(std::string_view)> write_stdout;
  std::function<void(std::string_view)> write_stderr;
};

const std::vector<CommandSpec>& Commands();

// args are the words after the program name; returns the exit code.
int RunCli(const std::vector<std::string>& args, const CliIo& io);

}  // namespace lumigrid::cli
