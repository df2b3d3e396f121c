#include "codegen/listing.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "files/cp1251.h"
#include "picture/geometry.h"

namespace lumigrid {
namespace {

constexpr std::string_view kPageWord = "Страница ";
constexpr std::string_view kCrystalWord = "  //  кристалл ";
constexpr std::string_view kCrystal1Banner = " **** КРИСТАЛЛ 1 ****";
constexpr std::string_view kCrystal2Banner = "**** КРИСТАЛЛ 2 ****";
constexpr std::string_view kNamedFileLine = "; Файл  —  ";
constexpr std::string_view kNumberedFileLine = "; <Буфер ";

constexpr std::array<char, 512> MakeHexPairs() {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::array<char, 512> pairs{};
  for (int v = 0; v < 256; ++v) {
    pairs[2 * v] = kDigits[v >> 4];
    pairs[2 * v + 1] = kDigits[v & 0xF];
  }
  return pairs;
}
constexpr std::array<char, 512> kHexPairs = MakeHexPairs();

std::string Spaces(int count) {
  return std::string(static_cast<size_t>(std::clamp(count, 0, kMaxListingIndent)), ' ');
}

// Characters, not bytes: a Cyrillic directive must align like a Latin one of the same length.
size_t CharacterCount(std::string_view text) {
  return static_cast<size_t>(std::count_if(
      text.begin(), text.end(), [](char c) { return (static_cast<uint8_t>(c) & 0xC0) != 0x80; }));
}

class ListingBuilder {
 public:
  ListingBuilder(const PictureBuffer& buffer, ListingLinePrefixes prefixes)
      : bytes_(buffer.Bytes()), prefixes_(std::move(prefixes)) {
    lines_.reserve(kGroupedListingLineCount + kFileLineExtraLines);
  }

  void Line(std::string line) { lines_.push_back(std::move(line)); }
  void Blank() { lines_.emplace_back(); }

  void Banner(int crystal) {
    if (crystal == 1) {
      Line(prefixes_.banner + std::string(kCrystal1Banner));
    } else {
      Line(prefixes_.comment + std::string(kCrystal2Banner));
    }
  }

  // page and crystal count from 1, as shown.
  void PageHeader(int page, int crystal) {
    std::string line;
    line.reserve(prefixes_.comment.size() + kPageWord.size() + kCrystalWord.size() + 2);
    line.append(prefixes_.comment);
    line.append(kPageWord);
    line.push_back(static_cast<char>('0' + page));
    line.append(kCrystalWord);
    line.push_back(static_cast<char>('0' + crystal));
    Line(std::move(line));
  }

  void DataLine(int cell) {
    std::string line;
    line.reserve(prefixes_.data.size() + kCellValuesLength);
    line = prefixes_.data;
    AppendCellValues(line, bytes_, cell);
    Line(std::move(line));
  }

  std::vector<std::string> Take() { return std::move(lines_); }

 private:
  const PictureBytes& bytes_;
  ListingLinePrefixes prefixes_;
  std::vector<std::string> lines_;
};

// Page p (1..8) of one crystal: its header and the eight cells of that crystal in the page.
void AppendCrystalPage(ListingBuilder& out, int page, int crystal) {
  out.PageHeader(page, crystal);
  const int first = kCellsPerPageRow * (page - 1) + kCellsPerCrystalRow * (crystal - 1) + 1;
  for (int c = first; c < first + kCellsPerCrystalRow; ++c) out.DataLine(c);
}

}  // namespace

std::optional<ListingLinePrefixes> ListingPrefixes(const ListingOptions& options) {
  const std::string_view directive =
      options.use_dt ? kDtDirective : std::string_view(options.directive_name);
  if (directive.empty()) return std::nullopt;
  const std::string i1 = Spaces(options.first_indent);
  const std::string i2 = Spaces(options.second_indent);
  const size_t length = CharacterCount(directive);
  ListingLinePrefixes prefixes;
  prefixes.banner = ";" + i1 + i2;
  // ";" + P stands where the directive stands, so comments start in the column of the values.
  prefixes.comment = prefixes.banner + std::string(length > 1 ? length - 1 : 0, ' ');
  prefixes.data = i1;
  prefixes.data.append(directive);
  prefixes.data.append(i2);
  return prefixes;
}

void AppendHexByte(std::string& out, uint8_t value) {
  out.append("0x");
  out.push_back(kHexPairs[2 * value]);
  out.push_back(kHexPairs[2 * value + 1]);
}

void AppendCellValues(std::string& out, const PictureBytes& bytes, int cell) {
  const size_t at = out.size();
  out.resize(at + kCellValuesLength, ',');
  char* p = out.data() + at;
  for (int k = 1; k <= kBytesPerCell; ++k) {
    const uint8_t v = bytes[ByteOffset(cell, k)];
    p[0] = '0';
    p[1] = 'x';
    p[2] = kHexPairs[2 * v];
    p[3] = kHexPairs[2 * v + 1];
    p += 5;  // the comma is already there
  }
}

std::optional<std::vector<std::string>> GenerateListing(const PictureBuffer& buffer,
                                                        int buffer_number,
                                                        const ListingOptions& options) {
  auto prefixes = ListingPrefixes(options);
  if (!prefixes) return std::nullopt;

  ListingBuilder out(buffer, std::move(*prefixes));
  if (options.add_file_name) {
    out.Blank();
    if (!buffer.FileName().empty()) {
      out.Line(std::string(kNamedFileLine) + buffer.FileName());
    } else {
      out.Line(std::string(kNumberedFileLine) + std::to_string(buffer_number) + ">");
    }
  }
  out.Blank();
  if (options.group_by_crystal) {
    out.Banner(1);
    out.Blank();
    for (int page = 1; page <= kPageCount; ++page) AppendCrystalPage(out, page, 1);
    out.Blank();
    out.Banner(2);
    out.Blank();
    for (int page = 1; page <= kPageCount; ++page) AppendCrystalPage(out, page, 2);
  } else {
    // Display-memory order: both crystals of page 1, then page 2, ...
    for (int page = 1; page <= kPageCount; ++page) {
      AppendCrystalPage(out, page, 1);
      AppendCrystalPage(out, page, 2);
    }
  }
  out.Blank();
  return out.Take();
}

std::string JoinListingLines(const std::vector<std::string>& lines) {
  size_t size = lines.empty() ? 0 : lines.size() - 1;
  for (const auto& line : lines) size += line.size();
  std::string text;
  text.reserve(size);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text.push_back('\n');
    text.append(lines[i]);
  }
  return text;
}

std::string ListingFileBytes(std::string_view view_text) {
  // Windows-1251 maps no character to CR or LF, so the line ends can be fixed afterwards.
  const std::string bytes = Utf8ToCp1251(view_text);
  std::string out;
  out.reserve(bytes.size() + static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')));
  size_t start = 0;
  for (size_t lf = bytes.find('\n'); lf != std::string::npos; lf = bytes.find('\n', lf + 1)) {
    out.append(bytes, start, lf - start);
    if (lf == 0 || bytes[lf - 1] != '\r') out.push_back('\r');
    start = lf;
  }
  out.append(bytes, start, std::string::npos);
  return out;
}

}  // namespace lumigrid
