#include "frames/frame_table.h"

#include "codegen/listing.h"

namespace lumigrid {
namespace {

constexpr size_t kValuesPerLine = 8;
constexpr int kMaxSegmentLength = kSegmentsPerCrystal;

// The table cut into lines: one record (or end byte) per entry, each frame's entries apart.
struct TableRecords {
  std::vector<std::vector<std::vector<uint8_t>>> frames;  // frame -> record -> bytes
  uint8_t end = kTableEnd;
};

// One segment's record, led by the page byte when it is the first segment of its page.
void AppendRecord(std::vector<uint8_t>& out, const PageWrite& page, const FrameSegment& segment,
                  bool first) {
  if (first) out.push_back(kPageMark | (page.chip - 1) << 3 | page.page);
  out.push_back(kSegmentMark | segment.column);
  out.push_back(static_cast<uint8_t>(segment.data.size()));
  out.insert(out.end(), segment.data.begin(), segment.data.end());
}

TableRecords Records(const FrameScript& script) {
  TableRecords table;
  for (const Frame& frame : script.frames) {
    auto& records = table.frames.emplace_back();
    for (const PageWrite& page : frame.pages) {
      for (const FrameSegment& segment : page.segments) {
        AppendRecord(records.emplace_back(), page, segment, &segment == &page.segments.front());
      }
    }
    records.push_back({kFrameEnd});
  }
  table.end = script.loop ? kTableEndLoop : kTableEnd;
  return table;
}

// Reads one segment at bytes[pos]; false when malformed.
bool ReadSegment(std::span<const uint8_t> bytes, size_t& pos, FrameSegment& segment) {
  if (pos + 2 > bytes.size() || (bytes[pos] & 0xC0) != kSegmentMark) return false;
  segment.column = bytes[pos] & 0x3F;
  const int length = bytes[pos + 1];
  pos += 2;
  if (length < 1 || length > kMaxSegmentLength || bytes.size() - pos < size_t(length)) {
    return false;
  }
  segment.data.assign(bytes.begin() + static_cast<ptrdiff_t>(pos),
                      bytes.begin() + static_cast<ptrdiff_t>(pos) + length);
  pos += static_cast<size_t>(length);
  return true;
}

}  // namespace

int FrameTableSize(const Frame& frame) {
  int size = 1;  // end of frame
  for (const PageWrite& page : frame.pages) {
    size += 1;
    for (const FrameSegment& segment : page.segments) {
      size += 2 + static_cast<int>(segment.data.size());
    }
  }
  return size;
}

std::vector<uint8_t> EncodeFrameTable(const FrameScript& script) {
  size_t size = 1;
  for (const Frame& frame : script.frames) size += static_cast<size_t>(FrameTableSize(frame));
  std::vector<uint8_t> bytes;
  bytes.reserve(size);
  for (const Frame& frame : script.frames) {
    for (const PageWrite& page : frame.pages) {
      for (const FrameSegment& segment : page.segments) {
        AppendRecord(bytes, page, segment, &segment == &page.segments.front());
      }
    }
    bytes.push_back(kFrameEnd);
  }
  bytes.push_back(script.loop ? kTableEndLoop : kTableEnd);
  return bytes;
}

std::optional<FrameScript> DecodeFrameTable(std::span<const uint8_t> bytes) {
  FrameScript script;
  Frame frame;
  bool in_frame = false;  // a frame has begun and not ended
  for (size_t pos = 0; pos < bytes.size();) {
    const uint8_t b = bytes[pos];
    if (!in_frame && (b == kTableEnd || b == kTableEndLoop)) {
      script.loop = b == kTableEndLoop;
      if (pos + 1 != bytes.size()) return std::nullopt;
      if (script.loop && script.frames.size() < 2) return std::nullopt;
      return script;
    }
    in_frame = true;
    if (b == kFrameEnd) {
      script.frames.push_back(std::move(frame));
      frame = {};
      in_frame = false;
      ++pos;
    } else if ((b & 0xF0) == kPageMark) {
      PageWrite& page = frame.pages.emplace_back();
      page.chip = static_cast<uint8_t>(((b >> 3) & 1) + 1);
      page.page = b & 0x07;
      ++pos;
      if (!ReadSegment(bytes, pos, page.segments.emplace_back())) return std::nullopt;
    } else if ((b & 0xC0) == kSegmentMark) {
      if (frame.pages.empty()) return std::nullopt;
      if (!ReadSegment(bytes, pos, frame.pages.back().segments.emplace_back())) {
        return std::nullopt;
      }
    } else {
      return std::nullopt;
    }
  }
  return std::nullopt;  // no end byte
}

std::optional<std::vector<std::string>> FrameTableAsmLines(const FrameScript& script,
                                                           const ListingOptions& options) {
  const auto prefixes = ListingPrefixes(options);
  if (!prefixes) return std::nullopt;
  std::vector<std::string> lines;
  auto values = [&](const std::vector<uint8_t>& record) {
    for (size_t first = 0; first < record.size(); first += kValuesPerLine) {
      std::string line = prefixes->data;
      for (size_t i = first; i < record.size() && i < first + kValuesPerLine; ++i) {
        if (i > first) line.push_back(',');
        AppendHexByte(line, record[i]);
      }
      lines.push_back(std::move(line));
    }
  };
  const TableRecords table = Records(script);
  lines.emplace_back();
  lines.push_back(prefixes->comment + "Проигрыватель: frame_player.inc в " +
                  std::string(kPlayersFolder));
  for (size_t f = 0; f < table.frames.size(); ++f) {
    lines.push_back(prefixes->comment + "Кадр " + std::to_string(f + 1));
    for (const auto& record : table.frames[f]) values(record);
  }
  lines.push_back(prefixes->comment + (script.loop ? "Конец, далее кадр 2" : "Конец"));
  values({table.end});
  lines.emplace_back();
  return lines;
}

bool IsCIdentifier(std::string_view name) {
  if (name.empty()) return false;
  auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  if (!letter(name[0])) return false;
  for (char c : name) {
    if (!letter(c) && !(c >= '0' && c <= '9')) return false;
  }
  return true;
}

std::optional<std::string> FrameTableC(const FrameScript& script, std::string_view name) {
  if (!IsCIdentifier(name)) return std::nullopt;
  const TableRecords table = Records(script);
  const size_t size = EncodeFrameTable(script).size();
  std::string out;
  out += "/* Frame script: " + std::to_string(table.frames.size()) + " frames, " +
         std::to_string(size) + " bytes" + (script.loop ? ", looping" : "") +
         ". Play it with lumigrid_play_frame() (frame_player.h; the players are in " +
         std::string(kPlayersFolder) + "). */\n";
  out += "#include <stdint.h>\n\n";
  out += "const uint8_t " + std::string(name) + "[" + std::to_string(size) + "] = {\n";
  size_t written = 0;
  auto values = [&](const std::vector<uint8_t>& record) {
    for (size_t first = 0; first < record.size(); first += kValuesPerLine) {
      out += "   ";
      for (size_t i = first; i < record.size() && i < first + kValuesPerLine; ++i) {
        out += ' ';
        AppendHexByte(out, record[i]);
        if (++written < size) out += ',';
      }
      out += '\n';
    }
  };
  for (size_t f = 0; f < table.frames.size(); ++f) {
    out += "    /* frame " + std::to_string(f + 1) + " */\n";
    for (const auto& record : table.frames[f]) values(record);
  }
  out += script.loop ? "    /* end, continue with frame 2 */\n" : "    /* end */\n";
  values({table.end});
  out += "};\n";
  return out;
}

std::optional<std::string> FrameTableFile(const FrameScript& script, FrameTableFormat format,
                                          const ListingOptions& listing, std::string_view c_name) {
  switch (format) {
    case FrameTableFormat::kAssembly: {
      const auto lines = FrameTableAsmLines(script, listing);
      if (!lines) return std::nullopt;
      return ListingFileBytes(JoinListingLines(*lines));
    }
    case FrameTableFormat::kC:
      return FrameTableC(script, c_name);
    case FrameTableFormat::kBinary:
      break;
  }
  const std::vector<uint8_t> table = EncodeFrameTable(script);
  return std::string(table.begin(), table.end());
}

}  // namespace lumigrid
