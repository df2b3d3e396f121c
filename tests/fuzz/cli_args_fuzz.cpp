// lumigrid-cli's argument parser on arbitrary words: it never crashes, and what it accepts
// keeps to the command's own table (known options, values only where a value is taken, the
// number of arguments the command allows).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "cli/cli_commands.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lumigrid::cli;
  // Words separated by NUL bytes.
  std::vector<std::string> args(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0)
      args.emplace_back();
    else
      args.back().push_back(static_cast<char>(data[i]));
  }
  const std::vector<CommandSpec>& commands = Commands();
  const ParseResult result = ParseCommandLine(args, commands);
  if (result.status == ParseStatus::kUsageError && result.error.empty()) std::abort();
  if (result.status != ParseStatus::kOk) return 0;
  const ParsedCommand& parsed = result.command;
  if (parsed.spec == nullptr || parsed.spec->name != args[0]) std::abort();
  const int count = static_cast<int>(parsed.positional.size());
  if (count < parsed.spec->min_positional) std::abort();
  if (parsed.spec->max_positional >= 0 && count > parsed.spec->max_positional) std::abort();
  auto find = [&](const std::string& name) -> const OptionSpec* {
    for (const OptionSpec& o : parsed.spec->options)
      if (o.name == name) return &o;
    return nullptr;
  };
  for (const std::string& flag : parsed.flags) {
    const OptionSpec* o = find(flag);
    if (o == nullptr || !o->value_name.empty()) std::abort();
  }
  for (const auto& [name, value] : parsed.values) {
    const OptionSpec* o = find(name);
    if (o == nullptr || o->value_name.empty()) std::abort();
  }
  return 0;
}
