#include "cli/cli_args.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace lumigrid::cli {

namespace {

const OptionSpec* FindLong(const CommandSpec& command, std::string_view name) {
  for (const OptionSpec& o : command.options)
    if (o.name == name) return &o;
  return nullptr;
}

const OptionSpec* FindShort(const CommandSpec& command, char name) {
  for (const OptionSpec& o : command.options)
    if (o.short_name != 0 && o.short_name == name) return &o;
  return nullptr;
}

// `command`, once known, is the one whose help the error points to.
ParseResult UsageError(std::string message, const CommandSpec* command = nullptr) {
  ParseResult result;
  result.status = ParseStatus::kUsageError;
  result.error = std::move(message);
  result.command.spec = command;
  return result;
}

}  // namespace

bool ParsedCommand::Has(std::string_view option) const {
  return values.find(option) != values.end() ||
         std::find(flags.begin(), flags.end(), option) != flags.end();
}

std::optional<std::string> ParsedCommand::Value(std::string_view option) const {
  const auto it = values.find(option);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

ParseResult ParseCommandLine(const std::vector<std::string>& args,
                             const std::vector<CommandSpec>& commands) {
  if (args.empty()) return UsageError("no command given");
  const std::string& first = args[0];
  if (first == "--help" || first == "-h" || first == "help") {
    ParseResult result;
    result.status = ParseStatus::kHelp;
    if (args.size() > 1 && first == "help") {
      for (const CommandSpec& c : commands)
        if (c.name == args[1]) result.command.spec = &c;
      if (result.command.spec == nullptr) return UsageError("unknown command '" + args[1] + "'");
    }
    return result;
  }
  if (first == "--version" || first == "-V") {
    ParseResult result;
    result.status = ParseStatus::kVersion;
    return result;
  }

  const CommandSpec* spec = nullptr;
  for (const CommandSpec& c : commands)
    if (c.name == first) spec = &c;
  if (spec == nullptr) return UsageError("unknown command '" + first + "'");

  ParseResult result;
  ParsedCommand& parsed = result.command;
  parsed.spec = spec;
  bool options_ended = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (options_ended || word == "-" || word.size() < 2 || word[0] != '-') {
      parsed.positional.push_back(word);
      continue;
    }
    if (word == "--") {
      options_ended = true;
      continue;
    }
    if (word == "--help" || word == "-h") {
      parsed.help = true;
      continue;
    }
    const OptionSpec* option = nullptr;
    std::optional<std::string> inline_value;
    std::string shown = word;
    if (word[1] == '-') {
      std::string_view name = std::string_view(word).substr(2);
      const std::size_t equals = name.find('=');
      if (equals != std::string_view::npos) {
        inline_value = std::string(name.substr(equals + 1));
        name = name.substr(0, equals);
        shown = "--" + std::string(name);
      }
      option = FindLong(*spec, name);
    } else if (word.size() == 2) {
      option = FindShort(*spec, word[1]);
    } else {
      // "-ofile": a short option with its value attached.
      option = FindShort(*spec, word[1]);
      if (option != nullptr && !option->value_name.empty())
        inline_value = word.substr(2);
      else
        option = nullptr;
      shown = word.substr(0, 2);
    }
    if (option == nullptr) {
      return UsageError("unknown option '" + shown + "' for '" + std::string(spec->name) + "'",
                        spec);
    }
    const std::string name(option->name);
    if (option->value_name.empty()) {
      if (inline_value) return UsageError("option '--" + name + "' takes no value", spec);
      parsed.flags.push_back(name);
      continue;
    }
    if (!inline_value) {
      if (i + 1 >= args.size()) return UsageError("option '" + shown + "' needs a value", spec);
      inline_value = args[++i];
    }
    parsed.values[name] = *inline_value;
  }
  if (parsed.help) {
    result.status = ParseStatus::kHelp;
    return result;
  }
  const int count = static_cast<int>(parsed.positional.size());
  if (count < spec->min_positional) {
    return UsageError("'" + std::string(spec->name) + "' needs " +
                          std::string(spec->arguments.empty() ? "arguments" : spec->arguments),
                      spec);
  }
  if (spec->max_positional >= 0 && count > spec->max_positional) {
    return UsageError("too many arguments for '" + std::string(spec->name) + "': '" +
                          parsed.positional[static_cast<std::size_t>(spec->max_positional)] + "'",
                      spec);
  }
  result.status = ParseStatus::kOk;
  return result;
}

std::string CommandHelp(const CommandSpec& command) {
  std::string text = "Usage: lumigrid-cli " + std::string(command.name);
  if (!command.options.empty()) text += " [OPTIONS]";
  if (!command.arguments.empty()) text += " " + std::string(command.arguments);
  text += "\n\n" + std::string(command.summary) + "\n";
  if (command.options.empty()) return text;
  text += "\nOptions:\n";
  for (const OptionSpec& o : command.options) {
    std::string left = "  ";
    left += o.short_name != 0 ? std::string("-") + o.short_name + ", " : std::string("    ");
    left += "--" + std::string(o.name);
    if (!o.value_name.empty()) left += " " + std::string(o.value_name);
    if (left.size() < 28)
      left.resize(28, ' ');
    else
      left += "  ";
    text += left + std::string(o.help) + "\n";
  }
  text += "  -h, --help                Show this help.\n";
  return text;
}

std::string GeneralHelp(const std::vector<CommandSpec>& commands) {
  std::string text =
      "Usage: lumigrid-cli COMMAND [OPTIONS] ARGUMENTS\n\n"
      "Generates the data of 128 x 64 KS0108 pictures as the Lumigrid editor does.\n"
      "A PICTURE is a .chr file or a BMP, JPEG or PNG image (imported as the editor does);\n"
      "\"-\" reads standard input or writes standard output.\n\nCommands:\n";
  for (const CommandSpec& c : commands) {
    std::string left = "  " + std::string(c.name);
    if (left.size() < 12) left.resize(12, ' ');
    text += left + std::string(c.summary) + "\n";
  }
  text +=
      "\n'lumigrid-cli COMMAND --help' describes a command.\n"
      "Exit codes: 0 success, 1 bad input or failed write, 2 wrong usage.\n";
  return text;
}

std::optional<long long> ParseInteger(std::string_view text, long long min, long long max) {
  if (text.empty() || text.front() == '+') return std::nullopt;
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < min || value > max) return std::nullopt;
  return value;
}

std::optional<long long> ParseAddress(std::string_view text, long long max) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  // from_chars would take a sign, and "0x" again after the prefix ("0x0x10") reads as 0.
  if (text.empty() || !std::isxdigit(static_cast<unsigned char>(text.front()))) {
    return std::nullopt;
  }
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size() || value > max) return std::nullopt;
  return value;
}

std::string UsageLine(std::string_view message, std::string_view command) {
  std::string help = "lumigrid-cli ";
  if (!command.empty()) help += std::string(command) + " ";
  return "lumigrid-cli: " + std::string(message) + "; try '" + help + "--help'\n";
}

}  // namespace lumigrid::cli
