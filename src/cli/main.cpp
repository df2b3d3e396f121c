// lumigrid-cli: the editor's generators for firmware builds; needs no display.
#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "cli/cli_commands.h"

int main(int argc, char** argv) {
#ifdef _WIN32
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  lumigrid::cli::CliIo io;
  io.read_stdin = []() -> std::optional<std::string> {
    std::string data(std::istreambuf_iterator<char>(std::cin), {});
    if (std::cin.bad()) return std::nullopt;
    return data;
  };
  io.write_stdout = [](std::string_view bytes) {
    std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    std::cout.flush();
    return static_cast<bool>(std::cout);
  };
  io.write_stderr = [](std::string_view text) {
    std::cerr.write(text.data(), static_cast<std::streamsize>(text.size()));
  };
  return lumigrid::cli::RunCli(args, io);
}
