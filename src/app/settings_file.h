// The settings file: groups of "Key = value" lines, read once at start and rewritten at a
// normal end. The document keeps every line it was read with (comments, unknown keys, order),
// so a file edited by hand survives the program's rewrite.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings.h"

namespace lumigrid {

inline constexpr const char* kSettingsFileName = "Glyphboard.inf";

class SettingsDocument {
 public:
  // Reads the bytes of a file: UTF-8 when it starts with the byte-order mark, else
  // Windows-1251. Lines may end in CR LF or LF.
  static SettingsDocument Parse(std::string_view bytes);

  // The value of a key (UTF-8, blanks and tabs dropped at both ends); group and key names
  // match without regard to letter case. The first match wins.
  std::optional<std::string> Value(std::string_view group, std::string_view key) const;

  // Gives the key a new value in place, or adds it at the end of its group, or adds the
  // group at the end of the file.
  void SetValue(std::string_view group, std::string_view key, std::string_view utf8_value);

  // The file's bytes, lines ending in CR LF. Windows-1251 unless the file was read with the
  // byte-order mark or holds a character that code page lacks; then UTF-8 with the mark.
  std::string Bytes() const;

  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;  // UTF-8 text (raw bytes kept where it was not valid)
  bool utf8_ = false;
};

// A value drops blanks and tabs at both ends.
std::string TrimValue(std::string_view text);
// The decimal integer at the start of a value (optional sign); 0 without digits. Values
// beyond the range of int stop at its bounds.
int LeadingInteger(std::string_view value);

enum class SettingType { kInteger, kFlag, kText };

// One key of the settings file: where it lives, its type and default, and the field of
// Settings it fills.
struct SettingKey {
  std::string_view group;
  std::string name;
  SettingType type;
  int default_number = 0;  // numbers and flags; text keys default to empty text
  int (*number)(const Settings&) = nullptr;
  void (*set_number)(Settings&, int) = nullptr;
  const std::string& (*text)(const Settings&) = nullptr;
  void (*set_text)(Settings&, std::string) = nullptr;
  // A key of the program's own additions: written only once it differs from its default or
  // the file holds it already, so a run that never touched it leaves the file as it was.
  bool only_when_set = false;
};

// Every key, in the order it is read and written.
std::span<const SettingKey> SettingKeys();

// The settings a document holds; defaults for what it lacks.
Settings SettingsFromDocument(const SettingsDocument& document);
// Writes every key into the document. A text value with a line break cannot be stored in
// one line and is written empty instead.
void StoreSettings(SettingsDocument& document, const Settings& settings);

// The per-user folder the settings file lives in on Linux: $TMPDIR when set, else
// $XDG_CACHE_HOME/lumigrid (an absolute one), else $HOME/.cache/lumigrid. Empty when none
// can be made. Arguments are the variables' values, null when unset.
std::string SettingsFolderFor(const char* tmpdir, const char* xdg_cache_home, const char* home);

}  // namespace lumigrid
