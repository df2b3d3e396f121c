// The listing of any picture under any options, read back: the data lines, found by the
// listing's fixed layout, carry indent + directive + indent and then the eight bytes of each
// cell in display order, which together give back the 1024 bytes; the saved file has CR LF
// line ends and holds the same text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/listing.h"
#include "files/cp1251.h"
#include "fuzz_support.h"

namespace {

using lumigrid::fuzz::Check;

enum class Kind { kBlank, kFileLine, kBanner, kHeader, kData };
struct Expected {
  Kind kind;
  int cell = 0;  // data lines
  int page = 0;  // headers
  int crystal = 0;
};

// The layout: optional file line, then crystal by crystal (grouped) or page by page.
std::vector<Expected> Layout(const lumigrid::ListingOptions& options) {
  std::vector<Expected> out;
  if (options.add_file_name) out.insert(out.end(), {{Kind::kBlank}, {Kind::kFileLine}});
  out.push_back({Kind::kBlank});
  const auto page = [&out](int p, int crystal) {
    out.push_back({Kind::kHeader, 0, p, crystal});
    const int first = 16 * (p - 1) + 8 * (crystal - 1) + 1;
    for (int c = first; c < first + 8; ++c) out.push_back({Kind::kData, c});
  };
  if (options.group_by_crystal) {
    for (int crystal = 1; crystal <= 2; ++crystal) {
      if (crystal == 2) out.push_back({Kind::kBlank});
      out.insert(out.end(), {{Kind::kBanner}, {Kind::kBlank}});
      for (int p = 1; p <= 8; ++p) page(p, crystal);
    }
  } else {
    for (int p = 1; p <= 8; ++p) {
      page(p, 1);
      page(p, 2);
    }
  }
  out.push_back({Kind::kBlank});
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;  // lower case is not what the listing writes
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

std::string Normalised(std::string text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out.push_back(text[i]);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lumigrid::fuzz::Input in(data, size);
  lumigrid::ListingOptions options;
  const uint8_t flags = in.Byte();
  options.use_dt = (flags & 1) != 0;
  options.add_file_name = (flags & 2) != 0;
  options.group_by_crystal = (flags & 4) != 0;
  options.first_indent = static_cast<int16_t>(in.Word());
  options.second_indent = static_cast<int16_t>(in.Word());
  options.directive_name = std::string(in.Bytes(in.Byte() % 24));
  const int buffer_number = in.Byte() % 12;
  lumigrid::PictureBuffer buffer;
  buffer.SetFileName(std::string(in.Bytes(in.Byte() % 40)));
  const std::string_view picture = in.Bytes(lumigrid::kPictureBytes);
  std::copy(picture.begin(), picture.end(), buffer.Bytes().begin());

  const auto lines = lumigrid::GenerateListing(buffer, buffer_number, options);
  const std::string directive = options.use_dt ? "Dt" : options.directive_name;
  Check(lines.has_value() == !directive.empty(), "only an empty own directive is refused");
  if (!lines) return 0;

  const std::vector<Expected> layout = Layout(options);
  Check(lines->size() == layout.size(), "the listing has its fixed number of lines");
  const auto spaces = [](int n) {
    return std::string(static_cast<size_t>(std::clamp(n, 0, 255)), ' ');
  };
  const std::string data_prefix =
      spaces(options.first_indent) + directive + spaces(options.second_indent);
  lumigrid::PictureBytes read_back{};
  for (size_t i = 0; i < layout.size(); ++i) {
    const std::string& line = (*lines)[i];
    const Expected& e = layout[i];
    switch (e.kind) {
      case Kind::kBlank:
        Check(line.empty(), "blank line");
        break;
      case Kind::kFileLine:
        Check(buffer.FileName().empty() ? line == "; <Буфер " + std::to_string(buffer_number) + ">"
                                        : line == "; Файл  —  " + buffer.FileName(),
              "file line names the file or the buffer");
        break;
      case Kind::kBanner:
        Check(line.starts_with(";") && line.find("КРИСТАЛЛ") != std::string::npos, "banner");
        break;
      case Kind::kHeader:
        Check(line.starts_with(";") &&
                  EndsWith(line, "Страница " + std::to_string(e.page) + "  //  кристалл " +
                                     std::to_string(e.crystal)),
              "page header names its page and crystal");
        break;
      case Kind::kData: {
        Check(line.size() == data_prefix.size() + 39 && line.starts_with(data_prefix),
              "data line: indent, directive, indent, eight values");
        const std::string_view values = std::string_view(line).substr(data_prefix.size());
        for (int k = 0; k < 8; ++k) {
          const std::string_view v = values.substr(static_cast<size_t>(k) * 5, 4);
          Check(v.starts_with("0x") && (k == 7 || values[static_cast<size_t>(k) * 5 + 4] == ','),
                "values are 0xHH separated by commas");
          const int hi = HexDigit(v[2]);
          const int lo = HexDigit(v[3]);
          Check(hi >= 0 && lo >= 0, "two upper-case hexadecimal digits");
          read_back[static_cast<size_t>((e.cell - 1) * 8 + k)] = static_cast<uint8_t>(hi * 16 + lo);
        }
        break;
      }
    }
  }
  Check(read_back == buffer.Bytes(), "the listing read back gives the 1024 bytes");

  // The saved file: every LF after a CR, and the same text in Windows-1251.
  const std::string text = lumigrid::JoinListingLines(*lines);
  const std::string file = lumigrid::ListingFileBytes(text);
  for (size_t i = 0; i < file.size(); ++i) {
    if (file[i] == '\n') Check(i > 0 && file[i - 1] == '\r', "CR LF line ends");
  }
  Check(Normalised(lumigrid::Cp1251ToUtf8(file)) ==
            Normalised(lumigrid::Cp1251ToUtf8(lumigrid::Utf8ToCp1251(text))),
        "the file holds the view's text");
  return 0;
}
