// What every lumigrid-cli command shares: reading a PICTURE argument (a .chr file, an image
// imported as the editor imports it, or standard input) and writing an output safely.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_commands.h"
#include "files/conversion_options.h"
#include "picture/picture_buffer.h"

namespace lumigrid::cli {

struct LoadedPicture {
  PictureBuffer buffer;  // its file name is the argument, empty for standard input
};

class Context {
 public:
  // `command` names the help that usage errors point to.
  explicit Context(const CliIo& io, std::string_view command = {}) : io_(io), command_(command) {}

  // Reports what went wrong itself and returns nullopt on failure. An animated GIF is refused
  // here: only the frame loaders take its frames.
  std::optional<LoadedPicture> LoadPicture(const std::string& argument);
  // Every frame of an animated GIF, or the one picture of anything else.
  std::optional<std::vector<LoadedPicture>> LoadFrames(const std::string& argument);
  // The frames of a BMP, JPEG, PNG or GIF image only: anything else, a .chr picture included,
  // fails.
  std::optional<std::vector<LoadedPicture>> LoadImageFrames(const std::string& argument);
  // How images are turned into pictures from here on; the defaults are the editor's import.
  void SetConversion(const ConversionOptions& options) { conversion_ = options; }

  // "-" is standard output; a file is replaced only by a complete write.
  int WriteOutput(const std::string& path, std::string_view bytes);

  // One line on stderr naming the file and the reason; the exit code becomes 1.
  int Fail(const std::string& file, const std::string& reason);
  // One line on stderr that also names the command's help; the exit code becomes 2.
  int Usage(const std::string& message);
  int ExitCode() const { return exit_code_; }
  const CliIo& Io() const { return io_; }

 private:
  std::optional<std::vector<LoadedPicture>> Load(const std::string& argument, bool images_only);
  std::optional<std::vector<LoadedPicture>> DecodeImage(const std::string& path,
                                                        const std::string& shown);

  const CliIo& io_;
  std::string_view command_;
  ConversionOptions conversion_;
  bool stdin_used_ = false;
  int exit_code_ = kExitOk;
};

// True when the bytes start like a BMP, PNG, JPEG or GIF file.
bool LooksLikeImage(std::string_view head);

}  // namespace lumigrid::cli
