// Where the settings file lives, and reading and writing it at start and at a normal end.
// The program's own files (the settings file, recovery copies) are used only when they are
// plain files of the current user: a link at their path or a file of another user is
// treated as unreadable and never written.
#pragma once

#include <string>

#include "app/settings.h"

namespace lumigrid {

namespace ui {
class Platform;
}

// The per-user folder of the settings file, created when missing (owner-only rights). On
// Windows the user's temporary folder. Empty when there is none.
std::string SettingsFolder();
std::string SettingsPathIn(const std::string& folder);

enum class OwnFileState { kMissing, kOwn, kRefused };

struct OwnFile {
  OwnFileState state = OwnFileState::kMissing;
  std::string bytes;  // the content, for kOwn
};

// Reads a file of the current user without following a link at the path. A link, a file of
// another user, anything but a plain file, or one that cannot be read is kRefused.
OwnFile ReadOwnFile(const std::string& path);

// Reads the settings at `path` (defaults when the file is missing or refused). When nothing
// exists there, creates the empty file; when that fails, says so and the run goes on.
Settings ReadSettings(ui::Platform& platform, const std::string& path);

// Rewrites the settings file with these values, keeping its other lines. Nothing is written
// when the file is missing, refused or unreadable. False when nothing was written.
bool WriteSettings(const std::string& path, const Settings& settings);

}  // namespace lumigrid
