#include "codegen/picture_text.h"

#include <gtest/gtest.h>

#include "codegen/listing.h"
#include "core/test_pictures.h"

namespace lumigrid {
namespace {

using testing::RandomPicture;

TEST(PictureHexText, IsTheListingsDataValuesOneCellALine) {
  PictureBuffer buffer;
  buffer.Bytes() = RandomPicture(3);
  ListingOptions options;
  options.group_by_crystal = false;
  const auto listing = GenerateListing(buffer, 1, options);
  ASSERT_TRUE(listing);
  const std::string prefix = ListingPrefixes(options)->data;
  // The data lines of an ungrouped listing, in the cell walk.
  std::string expected;
  for (const std::string& line : *listing) {
    if (line.rfind(prefix, 0) == 0) expected += line.substr(prefix.size()) + "\n";
  }
  const std::string text = PictureHexText(buffer.Bytes());
  EXPECT_EQ(text, expected);
}

TEST(PictureHexText, ReadsBackWhatItWroteAndNothingElse) {
  for (unsigned seed : {1u, 2u, 3u}) {
    const PictureBytes p = RandomPicture(seed);
    EXPECT_EQ(ParsePictureHexText(PictureHexText(p)), p);
  }
  const PictureBytes p = RandomPicture(4);
  const std::string text = PictureHexText(p);

  std::string crlf;  // as a Windows clipboard hands it over
  for (char c : text) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const std::string& accepted : {crlf, lower, "  " + text + "\n\n"}) {
    EXPECT_EQ(ParsePictureHexText(accepted), p) << accepted.substr(0, 20);
  }

  const std::string last_value = ",0x" + text.substr(text.size() - 3, 2);
  const std::string refused[] = {
      "",
      text.substr(0, text.size() - last_value.size() - 1),  // 1023 values
      text + "0x00",                                        // 1025
      text.substr(0, 4) + ",," + text.substr(5),            // an empty value
      text.substr(0, 4) + text.substr(5),                   // two values run together
      "0x0G" + text.substr(4),
      "Dt " + text,
      text + ";",
  };
  for (const std::string& bad : refused) {
    EXPECT_EQ(ParsePictureHexText(bad), std::nullopt) << bad.substr(0, 20);
  }
}

}  // namespace
}  // namespace lumigrid
