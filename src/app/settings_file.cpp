#include "app/settings_file.h"

#include <algorithm>
#include <array>
#include <climits>
#include <utility>

#include "files/cp1251.h"

namespace lumigrid {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The name of a group line "[name]", or nullopt for any other line.
std::optional<std::string_view> GroupName(std::string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

bool IsComment(std::string_view line) {
  line = Trim(line);
  return !line.empty() && line.front() == ';';
}

struct KeyLine {
  std::string_view name;
  std::string_view value;
};

std::optional<KeyLine> ParseKeyLine(std::string_view line) {
  if (IsComment(line) || GroupName(line)) return std::nullopt;
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return KeyLine{Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))};
}

std::string KeyLineText(std::string_view key, std::string_view value) {
  std::string line(key);
  line += " = ";
  line += value;
  return line;
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != text.npos; }

template <size_t I>
const std::string& RecentText(const Settings& s) {
  return s.recent_files[I];
}
template <size_t I>
void SetRecentText(Settings& s, std::string v) {
  s.recent_files[I] = std::move(v);
}

template <size_t... I>
void AddRecentKeys(std::vector<SettingKey>& keys, std::index_sequence<I...>) {
  (keys.push_back({"RecentFiles", "File" + std::to_string(I + 1), SettingType::kText, 0, nullptr,
                   nullptr, &RecentText<I>, &SetRecentText<I>}),
   ...);
}

std::vector<SettingKey> BuildKeys() {
  using T = SettingType;
  std::vector<SettingKey> keys = {
      {"Window", "X", T::kInteger, 20, [](const Settings& s) { return s.window_x; },
       [](Settings& s, int v) { s.window_x = v; }},
      {"Window", "Y", T::kInteger, 20, [](const Settings& s) { return s.window_y; },
       [](Settings& s, int v) { s.window_y = v; }},
      // 1 chooses "DT"; any other number the own directive.
      {"Convert", "DirState", T::kFlag, 1,
       [](const Settings& s) { return s.convert.use_dt ? 1 : 0; },
       [](Settings& s, int v) { s.convert.use_dt = v == 1; }},
      {"Convert", "AddFileName", T::kFlag, 0,
       [](const Settings& s) { return s.convert.add_file_name ? 1 : 0; },
       [](Settings& s, int v) { s.convert.add_file_name = v != 0; }},
      {"Convert", "GroupCrystal", T::kFlag, 1,
       [](const Settings& s) { return s.convert.group_by_crystal ? 1 : 0; },
       [](Settings& s, int v) { s.convert.group_by_crystal = v != 0; }},
      {"Convert", "Otstup1", T::kInteger, 12,
       [](const Settings& s) { return s.convert.first_indent; },
       [](Settings& s, int v) { s.convert.first_indent = v; }},
      {"Convert", "Otstup2", T::kInteger, 12,
       [](const Settings& s) { return s.convert.second_indent; },
       [](Settings& s, int v) { s.convert.second_indent = v; }},
      {"Convert", "Dir", T::kText, 0, nullptr, nullptr,
       [](const Settings& s) -> const std::string& { return s.convert.directive_name; },
       [](Settings& s, std::string v) { s.convert.directive_name = std::move(v); }},
      {"Convert", "StyleMenu", T::kInteger, 2, [](const Settings& s) { return s.style_menu; },
       [](Settings& s, int v) { s.style_menu = v; }},
      {"Anime", "Delay", T::kInteger, 4, [](const Settings& s) { return s.anime_delay; },
       [](Settings& s, int v) { s.anime_delay = v; }},
      {"Optimizacia", "CountByte", T::kInteger, 1, [](const Settings& s) { return s.count_byte; },
       [](Settings& s, int v) { s.count_byte = v; }},
      {"Optimizacia", "Auto", T::kFlag, 1, [](const Settings& s) { return s.auto_scan ? 1 : 0; },
       [](Settings& s, int v) { s.auto_scan = v != 0; }},
  };
  AddRecentKeys(keys,
                std::make_index_sequence<std::tuple_size_v<decltype(Settings::recent_files)>>{});
  // Groups of their own for what lies beyond the Parts' settings.
  keys.push_back({"Transforms", "WrapShift", T::kFlag, 0,
                  [](const Settings& s) { return s.wrap_shift ? 1 : 0; },
                  [](Settings& s, int v) { s.wrap_shift = v != 0; }, nullptr, nullptr, true});
  return keys;
}

}  // namespace

std::string TrimValue(std::string_view text) { return std::string(Trim(text)); }

int LeadingInteger(std::string_view value) {
  value = Trim(value);
  bool negative = false;
  if (!value.empty() && (value.front() == '+' || value.front() == '-')) {
    negative = value.front() == '-';
    value.remove_prefix(1);
  }
  long long n = 0;
  for (char c : value) {
    if (c < '0' || c > '9') break;
    n = n * 10 + (c - '0');
    if (n > static_cast<long long>(INT_MAX) + 1) break;  // the bound is reached anyway
  }
  if (negative) n = -n;
  return static_cast<int>(std::clamp<long long>(n, INT_MIN, INT_MAX));
}

SettingsDocument SettingsDocument::Parse(std::string_view bytes) {
  SettingsDocument doc;
  std::string text;
  if (bytes.substr(0, kBom.size()) == kBom) {
    doc.utf8_ = true;
    text = bytes.substr(kBom.size());
  } else {
    text = Cp1251ToUtf8(bytes);
  }
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    doc.lines_.push_back(std::move(line));
    start = end + 1;
  }
  return doc;
}

std::optional<std::string> SettingsDocument::Value(std::string_view group,
                                                   std::string_view key) const {
  bool in_group = false;
  for (const std::string& line : lines_) {
    if (auto name = GroupName(line)) {
      in_group = SameName(*name, group);
    } else if (in_group) {
      if (auto kv = ParseKeyLine(line); kv && SameName(kv->name, key)) {
        return std::string(kv->value);
      }
    }
  }
  return std::nullopt;
}

void SettingsDocument::SetValue(std::string_view group, std::string_view key,
                                std::string_view utf8_value) {
  bool in_group = false;
  std::optional<size_t> group_end;  // after the last non-empty line of the first such group
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (auto name = GroupName(lines_[i])) {
      in_group = SameName(*name, group);
      if (in_group && !group_end) group_end = i + 1;
      continue;
    }
    if (!in_group) continue;
    if (auto kv = ParseKeyLine(lines_[i]); kv && SameName(kv->name, key)) {
      // The name keeps the letter case the user wrote it in.
      lines_[i] = KeyLineText(kv->name, utf8_value);
      return;
    }
  }
  if (group_end) {
    // Within the first occurrence of the group, after its last non-empty line.
    size_t at = *group_end;
    for (size_t i = at; i < lines_.size() && !GroupName(lines_[i]); ++i) {
      if (!Trim(lines_[i]).empty()) at = i + 1;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), KeyLineText(key, utf8_value));
    return;
  }
  if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
  lines_.push_back("[" + std::string(group) + "]");
  lines_.push_back(KeyLineText(key, utf8_value));
}

std::string SettingsDocument::Bytes() const {
  std::string text;
  for (const std::string& line : lines_) {
    text += line;
    text += "\r\n";
  }
  if (!utf8_) {
    std::string cp = Utf8ToCp1251(text);
    // Only when every character survives; a "?" in place of a path would lose it.
    if (Cp1251ToUtf8(cp) == text) return cp;
  }
  return std::string(kBom) + text;
}

std::span<const SettingKey> SettingKeys() {
  static const std::vector<SettingKey> keys = BuildKeys();
  return keys;
}

Settings SettingsFromDocument(const SettingsDocument& document) {
  Settings settings;
  for (const SettingKey& key : SettingKeys()) {
    const std::optional<std::string> value = document.Value(key.group, key.name);
    if (key.type == SettingType::kText) {
      key.set_text(settings, value.value_or(std::string()));
    } else {
      key.set_number(settings, value ? LeadingInteger(*value) : key.default_number);
    }
  }
  return settings;
}

void StoreSettings(SettingsDocument& document, const Settings& settings) {
  for (const SettingKey& key : SettingKeys()) {
    if (key.only_when_set && !document.Value(key.group, key.name)) {
      const bool is_default = key.type == SettingType::kText
                                  ? key.text(settings).empty()
                                  : key.number(settings) == key.default_number;
      if (is_default) continue;
    }
    if (key.type == SettingType::kText) {
      const std::string& text = key.text(settings);
      document.SetValue(key.group, key.name, HasLineBreak(text) ? std::string() : text);
    } else {
      document.SetValue(key.group, key.name, std::to_string(key.number(settings)));
    }
  }
}

std::string SettingsFolderFor(const char* tmpdir, const char* xdg_cache_home, const char* home) {
  auto set = [](const char* v) { return v != nullptr && *v != '\0'; };
  if (set(tmpdir)) return tmpdir;
  if (set(xdg_cache_home) && xdg_cache_home[0] == '/') {
    return std::string(xdg_cache_home) + "/lumigrid";
  }
  if (set(home)) return std::string(home) + "/.cache/lumigrid";
  return {};
}

}  // namespace lumigrid
