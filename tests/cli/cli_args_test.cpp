#include "cli/cli_args.h"

#include <gtest/gtest.h>

namespace lumigrid::cli {
namespace {

const std::vector<CommandSpec>& TestCommands() {
  static const std::vector<CommandSpec> commands{
      {"listing",
       "PICTURE",
       "Listing.",
       {{"output", 'o', "FILE", "Out."}, {"no-group", 0, "", "Flag."}, {"indent1", 0, "N", "N."}},
       1,
       1},
      {"bin", "PICTURE...", "Bin.", {{"output", 'o', "FILE", "Out."}}, 1, -1},
  };
  return commands;
}

ParseResult Parse(std::vector<std::string> args) { return ParseCommandLine(args, TestCommands()); }

TEST(CliArgs, OptionFormsAndPositionals) {
  const ParseResult r = Parse({"listing", "--indent1=4", "-oout.asm", "--no-group", "pic.chr"});
  ASSERT_EQ(r.status, ParseStatus::kOk) << r.error;
  EXPECT_EQ(r.command.Value("indent1"), "4");
  EXPECT_EQ(r.command.Value("output"), "out.asm");
  EXPECT_TRUE(r.command.Has("no-group"));
  EXPECT_EQ(r.command.positional, std::vector<std::string>{"pic.chr"});

  const ParseResult separate = Parse({"listing", "-o", "-", "--indent1", "7", "-"});
  ASSERT_EQ(separate.status, ParseStatus::kOk) << separate.error;
  EXPECT_EQ(separate.command.Value("output"), "-");
  EXPECT_EQ(separate.command.positional, std::vector<std::string>{"-"});

  // After "--" a name that starts with a dash is a file.
  const ParseResult dashed = Parse({"bin", "--", "-odd.chr", "b.chr"});
  ASSERT_EQ(dashed.status, ParseStatus::kOk) << dashed.error;
  EXPECT_EQ(dashed.command.positional, (std::vector<std::string>{"-odd.chr", "b.chr"}));
}

TEST(CliArgs, UsageErrorsNameWhatIsWrong) {
  struct Case {
    std::vector<std::string> args;
    std::string error_part;
  };
  const std::vector<Case> cases{
      {{}, "no command"},
      {{"paint"}, "unknown command 'paint'"},
      {{"listing", "--bogus", "a"}, "unknown option '--bogus'"},
      {{"listing", "-x", "a"}, "unknown option '-x'"},
      {{"listing", "a", "-o"}, "needs a value"},
      {{"listing", "--no-group=1", "a"}, "takes no value"},
      {{"listing"}, "needs PICTURE"},
      {{"listing", "a", "b"}, "too many arguments"},
      {{"bin"}, "needs PICTURE..."},
  };
  for (const Case& c : cases) {
    const ParseResult r = Parse(c.args);
    EXPECT_EQ(r.status, ParseStatus::kUsageError) << c.error_part;
    EXPECT_NE(r.error.find(c.error_part), std::string::npos) << r.error;
  }
}

TEST(CliArgs, HelpAndVersion) {
  EXPECT_EQ(Parse({"--help"}).status, ParseStatus::kHelp);
  EXPECT_EQ(Parse({"--version"}).status, ParseStatus::kVersion);
  const ParseResult help = Parse({"listing", "--help"});
  ASSERT_EQ(help.status, ParseStatus::kHelp);
  EXPECT_EQ(help.command.spec->name, "listing");
  const std::string text = CommandHelp(*help.command.spec);
  EXPECT_NE(text.find("-o, --output FILE"), std::string::npos) << text;
  EXPECT_NE(text.find("--no-group"), std::string::npos) << text;
  EXPECT_NE(GeneralHelp(TestCommands()).find("bin"), std::string::npos);
}

TEST(CliArgs, IntegersAreWholeDecimalNumbersInRange) {
  EXPECT_EQ(ParseInteger("0", 0, 10), 0);
  EXPECT_EQ(ParseInteger("10", 0, 10), 10);
  EXPECT_EQ(ParseInteger("007", 0, 10), 7);
  EXPECT_EQ(ParseInteger("-3", -5, 5), -3);
  for (const char* bad : {"", "+1", "1x", "x", "11", "1.5", " 1", "99999999999999999999"})
    EXPECT_FALSE(ParseInteger(bad, 0, 10)) << bad;
}

TEST(CliArgs, AddressesAreDecimalOrHexadecimal) {
  const std::pair<const char*, long long> good[] = {
      {"0", 0},         {"4096", 4096}, {"007", 7}, {"0x1000", 4096},
      {"0X1000", 4096}, {"0xff", 255},  {"0x0", 0}, {"0x7FFFFFFF", 0x7FFFFFFF},
  };
  for (const auto& [text, value] : good) EXPECT_EQ(ParseAddress(text, 1LL << 40), value) << text;
  for (const char* bad : {"", "0x", "x10", "0x-1", "0x+1", "0x0x10", "-1", "+1", "0x1G", "1f",
                          "0b101", " 0x10", "0x10 ", "0x10000000000000000"}) {
    EXPECT_FALSE(ParseAddress(bad, 1LL << 40)) << bad;
  }
  EXPECT_FALSE(ParseAddress("0x101", 0x100)) << "beyond the limit";
}

}  // namespace
}  // namespace lumigrid::cli
