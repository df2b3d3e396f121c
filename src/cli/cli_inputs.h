// What every lumigrid-cli command shares: reading a PICTURE argument (a .chr file, an image
// imported as the editor imports it, or standard input) and writing an output safely.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/cli_commands.h"
#include "files/conversion_options.h"
#include "picture/picture_buffer.h"

namespace lumigrid::cli {

struct LoadedPicture {
  PictureBuffer buffer;  // its file name is the argument, empty for standard input
};

class Context {
 public:
  explicit Context(const CliIo& io) : io_(io) {}

  // Reports what went wrong itself and returns nullopt on failure.
  std::optional<LoadedPicture> LoadPicture(const std::string& argument);
  // The same for a BMP, JPEG or PNG image only: anything else, a .chr picture included, fails.
  std::optional<LoadedPicture> LoadImage(const std::string& argument);
  // How images are turned into pictures from here on; the defaults are the editor's import.
  void SetConversion(const ConversionOptions& options) { conversion_ = options; }

  // "-" is standard output; a file is replaced only by a complete write.
  int WriteOutput(const std::string& path, std::string_view bytes);

  // One line on stderr naming the file and the reason; the exit code becomes 1.
  int Fail(const std::string& file, const std::string& reason);
  // One line on stderr; the exit code becomes 2.
  int Usage(const std::string& message);
  int ExitCode() const { return exit_code_; }
  const CliIo& Io() const { return io_; }

 private:
  std::optional<LoadedPicture> Load(const std::string& argument, bool images_only);
  std::optional<LoadedPicture> DecodeImage(const std::string& path, const std::string& shown);

  const CliIo& io_;
  ConversionOptions conversion_;
  bool stdin_used_ = false;
  int exit_code_ = kExitOk;
};

// True when the bytes start like a BMP, PNG or JPEG file.
bool LooksLikeImage(std::string_view head);

}  // namespace lumigrid::cli
