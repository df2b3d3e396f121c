// The assembly listing of one picture: one data line of eight bytes per cell, with page
// headers (and crystal banners when grouped by crystal) as comments, for a PIC program that
// sends the bytes to the display page by page.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "picture/listing_options.h"
#include "picture/picture_buffer.h"

namespace lumigrid {

// The warning shown when the own directive is chosen but its name is empty.
inline constexpr std::string_view kNoDirectiveCaption = "Преобразование...";
inline constexpr std::string_view kNoDirectiveText = "Не выбрано имя директивы";

// The directive written when "DT" is chosen: capital D, small t.
inline constexpr std::string_view kDtDirective = "Dt";

// Indents are taken as at most this many spaces. The panel offers 2..20 and the per-buffer
// store keeps a byte; the cap keeps a damaged settings value from asking for gigabytes.
inline constexpr int kMaxListingIndent = 255;

// Lines of a whole listing: ungrouped, grouped by crystal, and the extra blank and file line.
inline constexpr int kListingLineCount = 146;
inline constexpr int kGroupedListingLineCount = 151;
inline constexpr int kFileLineExtraLines = 2;

// The pieces that begin listing lines for these options (indents of 0 or less give no spaces).
struct ListingLinePrefixes {
  std::string data;     // I1 + directive + I2: the values follow
  std::string comment;  // ";" + I1 + I2 + P: text after it starts in the column of the values
  std::string banner;   // ";" + I1 + I2
};

// std::nullopt when the own directive is chosen and its name is empty.
std::optional<ListingLinePrefixes> ListingPrefixes(const ListingOptions& options);

// Appends H(value): "0x" and exactly two upper-case hexadecimal digits.
void AppendHexByte(std::string& out, uint8_t value);

// Characters of one cell's values in a data line: eight of H(value) and seven commas.
inline constexpr size_t kCellValuesLength = kBytesPerCell * 5 - 1;

// Appends the values of cell c (1..128) as its data line holds them: "0x01,0x02,...,0x80".
void AppendCellValues(std::string& out, const PictureBytes& bytes, int cell);

// The lines (UTF-8) of the listing of `buffer`, whose number 1..10 names it in the file line
// when it has no file. Returns std::nullopt, and the caller shows the warning above, when
// the own directive is chosen and its name is empty. Indents of 0 or less give no spaces.
std::optional<std::vector<std::string>> GenerateListing(const PictureBuffer& buffer,
                                                        int buffer_number,
                                                        const ListingOptions& options);

// The text of a listing view: the lines separated by "\n".
std::string JoinListingLines(const std::vector<std::string>& lines);

// The bytes of a saved listing: `view_text` with CR LF line ends in Windows-1251, nothing
// added before or after. A "\n" gets a "\r" before it unless it already has one.
std::string ListingFileBytes(std::string_view view_text);

}  // namespace lumigrid
