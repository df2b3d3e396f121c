// The settings parser on any bytes: a rewrite keeps every line and comment, and the values
// it writes read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings_file.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

std::vector<std::string> Comments(const lumigrid::SettingsDocument& doc) {
  std::vector<std::string> comments;
  for (const std::string& line : doc.Lines()) {
    const size_t first = line.find_first_not_of(" \t");
    if (first != std::string::npos && line[first] == ';') comments.push_back(line);
  }
  return comments;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lumigrid;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const SettingsDocument doc = SettingsDocument::Parse(bytes);

  // Written unchanged, the document reads back line for line.
  Require(SettingsDocument::Parse(doc.Bytes()).Lines() == doc.Lines());

  // Every value survives a store and a read; a text with a line break is stored empty.
  const Settings read = SettingsFromDocument(doc);
  SettingsDocument rewritten = doc;
  StoreSettings(rewritten, read);
  Settings expected = read;
  for (const SettingKey& key : SettingKeys()) {
    if (key.type == SettingType::kText &&
        key.text(expected).find_first_of("\r\n") != std::string::npos) {
      key.set_text(expected, {});
    }
  }
  const SettingsDocument again = SettingsDocument::Parse(rewritten.Bytes());
  Require(SettingsFromDocument(again) == expected);
  // Comments and their order are kept.
  Require(Comments(again) == Comments(doc));
  // Storing the same values twice changes nothing more.
  SettingsDocument twice = again;
  StoreSettings(twice, expected);
  Require(twice.Lines() == again.Lines());
  return 0;
}
