// Command-line parsing for lumigrid-cli: commands, their options and positional arguments,
// described as data so the parser, the help texts and the tests share one table.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumigrid::cli {

struct OptionSpec {
  std::string_view name;        // long name without "--"
  char short_name = 0;          // 'o' for "-o", 0 for none
  std::string_view value_name;  // empty for a flag
  std::string_view help;
};

struct CommandSpec {
  std::string_view name;
  std::string_view arguments;  // positional part of the usage line, e.g. "PICTURE..."
  std::string_view summary;
  std::vector<OptionSpec> options;
  int min_positional = 0;
  int max_positional = 0;  // -1: no limit
};

struct ParsedCommand {
  const CommandSpec* spec = nullptr;
  std::map<std::string, std::string, std::less<>> values;  // options with a value, last wins
  std::vector<std::string> flags;                          // flags given, in order
  std::vector<std::string> positional;
  bool help = false;

  bool Has(std::string_view option) const;
  std::optional<std::string> Value(std::string_view option) const;
};

enum class ParseStatus { kOk, kHelp, kVersion, kUsageError };

struct ParseResult {
  ParseStatus status = ParseStatus::kUsageError;
  ParsedCommand command;  // for kOk, kHelp of one command, and a usage error of one command
  std::string error;      // for kUsageError
};

// args are the words after the program name. "--" ends the options; "-" alone is an
// argument (standard input or output). "--name=value" and "--name value" both work.
ParseResult ParseCommandLine(const std::vector<std::string>& args,
                             const std::vector<CommandSpec>& commands);

std::string CommandHelp(const CommandSpec& command);
std::string GeneralHelp(const std::vector<CommandSpec>& commands);

// A whole decimal number within [min, max]; nullopt for anything else ("", "+1", "1x").
std::optional<long long> ParseInteger(std::string_view text, long long min, long long max);

// A byte address as firmware authors write it: decimal ("4096", "007" is 7) or hexadecimal
// after "0x" or "0X" ("0x1000"); nullopt for anything else or beyond `max`.
std::optional<long long> ParseAddress(std::string_view text, long long max);

// The single line a usage error prints: the misuse and the help that explains it, that of
// `command` when one was named ("lumigrid-cli: MESSAGE; try 'lumigrid-cli bin --help'").
std::string UsageLine(std::string_view message, std::string_view command = {});

}  // namespace lumigrid::cli
