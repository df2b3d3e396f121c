#include "cli/cli_commands.h"

#include <cctype>
#include <initializer_list>
#include <limits>
#include <span>

#include "binexport/bin_block.h"
#include "binexport/bin_placement.h"
#include "cli/cli_inputs.h"
#include "cli/png_writer.h"
#include "codegen/listing.h"
#include "files/gif_encode.h"
#include "files/path_text.h"
#include "files/safe_file.h"
#include "frames/frame_budget.h"
#include "frames/frame_script.h"
#include "frames/frame_table.h"
#include "optimize/identical_scan.h"
#include "optimize/rtf_writer.h"
#include "optimize/skip_report.h"
#include "picture/canvas_geometry.h"
#include "picture/geometry.h"
#include "tools/animation.h"
#include "tools/logic_ops.h"

namespace lumigrid::cli {

namespace {

constexpr std::string_view kVersionText = "lumigrid-cli 3.8\n";

OptionSpec Output(std::string_view what) { return {"output", 'o', "FILE", what}; }

const OptionSpec kNoScrollOption{"no-scroll", 0, "",
                                 "Keep the start line at 0: no scrolling by the start line."};

// The listing options of the conversion panel, with its defaults.
std::vector<OptionSpec> ListingOptionSpecs() {
  return {
      {"no-group", 0, "", "Do not group the cells by crystal (display-memory order)."},
      {"file-name", 0, "", "Add the file line naming the picture."},
      {"directive", 0, "NAME", "Own data directive instead of Dt."},
      {"indent1", 0, "N", "Spaces before the directive (default 12)."},
      {"indent2", 0, "N", "Spaces between the directive and the data (default 12)."},
  };
}

std::optional<ListingOptions> ReadListingOptions(const ParsedCommand& command, Context& context) {
  ListingOptions options;
  options.group_by_crystal = !command.Has("no-group");
  options.add_file_name = command.Has("file-name");
  if (const auto name = command.Value("directive")) {
    if (name->empty()) {
      context.Usage("--directive needs a name");
      return std::nullopt;
    }
    options.use_dt = false;
    options.directive_name = *name;
  }
  for (const auto& [option, field] : {std::pair{"indent1", &options.first_indent},
                                      std::pair{"indent2", &options.second_indent}}) {
    if (const auto text = command.Value(option)) {
      const auto value = ParseInteger(*text, 0, kMaxListingIndent);
      if (!value) {
        context.Usage("--" + std::string(option) + " takes a number from 0 to " +
                      std::to_string(kMaxListingIndent) + ", not '" + *text + "'");
        return std::nullopt;
      }
      *field = static_cast<int>(*value);
    }
  }
  return options;
}

int RunListing(const ParsedCommand& command, Context& context) {
  const auto options = ReadListingOptions(command, context);
  if (!options) return context.ExitCode();
  const auto picture = context.LoadPicture(command.positional[0]);
  if (!picture) return context.ExitCode();
  const auto lines = GenerateListing(picture->buffer, 1, *options);
  if (!lines) return context.Usage("the directive name is empty");
  const std::string bytes = ListingFileBytes(JoinListingLines(*lines));
  return context.WriteOutput(command.Value("output").value_or("-"), bytes);
}

// The one of `names` that `text` is; its index, or nullopt.
std::optional<int> Choice(std::string_view text, std::initializer_list<std::string_view> names) {
  int i = 0;
  for (std::string_view name : names) {
    if (text == name) return i;
    ++i;
  }
  return std::nullopt;
}

std::optional<ConversionOptions> ReadConversionOptions(const ParsedCommand& command,
                                                       Context& context) {
  ConversionOptions options;
  if (const auto text = command.Value("threshold")) {
    const auto value = ParseInteger(*text, 0, 256);
    if (!value) {
      context.Usage("--threshold takes a grey level from 0 to 256, not '" + *text + "'");
      return std::nullopt;
    }
    options.threshold = static_cast<int>(*value);
  }
  for (const auto& [name, field, limit] :
       {std::tuple{"brightness", &options.brightness, kMaxBrightness},
        std::tuple{"contrast", &options.contrast, kMaxContrast}}) {
    if (const auto text = command.Value(name)) {
      const auto value = ParseInteger(*text, -limit, limit);
      if (!value) {
        context.Usage("--" + std::string(name) + " takes a number from -" + std::to_string(limit) +
                      " to " + std::to_string(limit) + ", not '" + *text + "'");
        return std::nullopt;
      }
      *field = static_cast<int>(*value);
    }
  }
  options.invert = command.Has("invert");
  if (const auto text = command.Value("fit")) {
    const auto fit = Choice(*text, {"stretch", "contain", "cover"});
    if (!fit) {
      context.Usage("--fit takes stretch, contain or cover, not '" + *text + "'");
      return std::nullopt;
    }
    options.fit = static_cast<Fit>(*fit);
  }
  if (const auto text = command.Value("margin")) {
    const auto margin = Choice(*text, {"white", "unlit", "lit"});
    if (!margin) {
      context.Usage("--margin takes white, unlit or lit, not '" + *text + "'");
      return std::nullopt;
    }
    options.margin = static_cast<Margin>(*margin);
  }
  if (const auto text = command.Value("dither")) {
    const auto dither =
        Choice(*text, {"none", "floyd-steinberg", "atkinson", "ordered", "ordered4"});
    if (!dither) {
      context.Usage("--dither takes none, floyd-steinberg, atkinson, ordered or ordered4, not '" +
                    *text + "'");
      return std::nullopt;
    }
    options.dither = static_cast<Dither>(*dither);
  }
  return options;
}

// The output name of frame `number` (from 1): the pattern's one %d or %0Nd (N 1..9) replaced
// by the number, %% by %. nullopt when the pattern holds anything else after a %, or no number.
std::optional<std::string> FrameFileName(const std::string& pattern, int number) {
  std::string name;
  bool numbered = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') {
      name += pattern[i];
      continue;
    }
    if (++i < pattern.size() && pattern[i] == '%') {
      name += '%';
      continue;
    }
    int width = 0;
    if (i + 1 < pattern.size() && pattern[i] == '0' && pattern[i + 1] >= '1' &&
        pattern[i + 1] <= '9') {
      width = pattern[i + 1] - '0';
      i += 2;
    }
    if (i >= pattern.size() || pattern[i] != 'd' || numbered) return std::nullopt;
    const std::string digits = std::to_string(number);
    name += std::string(std::max(0, width - static_cast<int>(digits.size())), '0') + digits;
    numbered = true;
  }
  if (!numbered) return std::nullopt;
  return name;
}

int RunImport(const ParsedCommand& command, Context& context) {
  const auto output = command.Value("output");
  if (!output) return context.Usage("'import' needs -o PICTURE.chr");
  const bool pattern = output->find('%') != std::string::npos;
  if (pattern && !FrameFileName(*output, 1)) {
    return context.Usage("-o '" + *output + "' needs one %d or %0Nd for the frame number");
  }
  const auto conversion = ReadConversionOptions(command, context);
  if (!conversion) return context.ExitCode();
  context.SetConversion(*conversion);
  const std::string& input = command.positional[0];
  const auto frames = context.LoadImageFrames(input);
  if (!frames) return context.ExitCode();
  if (!pattern && frames->size() != 1) {
    return context.Usage("'" + input + "' holds " + std::to_string(frames->size()) +
                         " frames: give -o a pattern such as frame%02d.chr");
  }
  for (std::size_t i = 0; i < frames->size(); ++i) {
    const PictureBytes& bytes = (*frames)[i].buffer.Bytes();
    const std::string path = pattern ? *FrameFileName(*output, static_cast<int>(i) + 1) : *output;
    if (context.WriteOutput(path, std::string(bytes.begin(), bytes.end())) != kExitOk) {
      return context.ExitCode();
    }
  }
  return context.ExitCode();
}

// Every picture argument in order, an animated GIF giving each of its frames; nullopt after the
// first that cannot be read.
std::optional<std::vector<PictureBytes>> LoadSequence(const std::vector<std::string>& paths,
                                                      Context& context) {
  std::vector<PictureBytes> pictures;
  for (const std::string& path : paths) {
    auto frames = context.LoadFrames(path);
    if (!frames) return std::nullopt;
    for (const LoadedPicture& frame : *frames) pictures.push_back(frame.buffer.Bytes());
  }
  return pictures;
}

// A whole-number option within [min, max], or `fallback` when it is not given.
std::optional<int> ReadNumber(const ParsedCommand& command, Context& context, std::string_view name,
                              int min, int max, int fallback) {
  const auto text = command.Value(name);
  if (!text) return fallback;
  const auto value = ParseInteger(*text, min, max);
  if (!value) {
    context.Usage("--" + std::string(name) + " takes a number from " + std::to_string(min) +
                  " to " + std::to_string(max) + ", not '" + *text + "'");
    return std::nullopt;
  }
  return static_cast<int>(*value);
}

// The pictures as a looping GIF animation, as the editor saves the animation.
int RenderGif(const ParsedCommand& command, Context& context, const std::string& gif) {
  if (command.Has("output")) return context.Usage("give either -o (PNG) or --gif, not both");
  const bool canvas = command.Has("canvas");
  if (canvas && command.Has("scale")) return context.Usage("--scale does not go with --canvas");
  const auto scale = ReadNumber(command, context, "scale", 1, kMaxPlainScale, 1);
  if (!scale) return context.ExitCode();
  const auto delay = ReadNumber(command, context, "delay", kMinAnimationDelayMs,
                                kMaxAnimationDelayMs, kFallbackDelayMs);
  if (!delay) return context.ExitCode();
  const auto pictures = LoadSequence(command.positional, context);
  if (!pictures) return context.ExitCode();
  const auto bytes = EncodeGifAnimation(
      *pictures, canvas ? RenderLook::kCanvas : RenderLook::kPlain, *scale, *delay);
  if (!bytes) return context.Fail(gif, "cannot encode the GIF image");
  return context.WriteOutput(gif, *bytes);
}

// The picture as the canvas shows it, without the gaps between cells: black pixels on the
// cells' green.
int RunRender(const ParsedCommand& command, Context& context) {
  if (const auto gif = command.Value("gif")) return RenderGif(command, context, *gif);
  const auto output = command.Value("output");
  if (!output) return context.Usage("'render' needs -o IMAGE.png or --gif ANIMATION.gif");
  if (command.Has("delay") || command.Has("canvas")) {
    return context.Usage("--delay and --canvas go with --gif");
  }
  if (command.positional.size() != 1) {
    return context.Usage("a PNG shows one picture; use --gif for several");
  }
  const auto scale = ReadNumber(command, context, "scale", 1, 64, 1);
  if (!scale) return context.ExitCode();
  const auto picture = context.LoadPicture(command.positional[0]);
  if (!picture) return context.ExitCode();

  const PictureBuffer& buffer = picture->buffer;
  const int s = *scale;
  const auto png = EncodeTwoColourPng(
      kPictureWidth * s, kPictureHeight * s, {colour::kCellNormal, colour::kPixelLit},
      [&buffer, s](int x, int y) { return buffer.Pixel(x / s, y / s); });
  if (!png) return context.Fail(*output, "cannot encode the PNG image");
  return context.WriteOutput(*output, *png);
}

// A C name from a file name: letters, digits and '_' of its stem, "picture" when none is left.
std::string NameFromPath(const std::string& path) {
  std::string name;
  if (path != "-") {
    for (char c : PathFromUtf8(path).stem().string())
      name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  }
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) name = "picture_" + name;
  if (name == "picture_") name = "picture";
  return name;
}

std::string HexByte(uint8_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return std::string{'0', 'x', kDigits[value >> 4], kDigits[value & 0x0F]};
}

int RunCArray(const ParsedCommand& command, Context& context) {
  const std::string& input = command.positional[0];
  const std::string name = command.Value("name").value_or(NameFromPath(input));
  if (!IsCIdentifier(name)) return context.Usage("--name '" + name + "' is not a C identifier");
  const auto picture = context.LoadPicture(input);
  if (!picture) return context.ExitCode();
  const bool grouped = command.Has("group");
  const PictureBytes& bytes = picture->buffer.Bytes();

  std::string text;
  text += "// " + name + ": a 128 x 64 picture for two KS0107/KS0108 controllers, 1024 bytes.\n";
  text += grouped ? "// Controller 1 (left half) pages 1..8, then controller 2 (right half).\n"
                  : "// Display-memory order: page 1 of controller 1, then of controller 2, ...\n";
  text += "// Each byte is a column of 8 pixels, bit 0 the top one; 64 bytes per page.\n";
  text += "#include <stdint.h>\n\nconst uint8_t " + name + "[1024] = {\n";
  auto append_page = [&](int page, int crystal) {
    text += "    /* page " + std::to_string(page + 1) + ", controller " + std::to_string(crystal) +
            " */\n";
    const int offset = kSegmentsPerCrystal * (2 * page + crystal - 1);
    for (int row = 0; row < kCellsPerCrystalRow; ++row) {
      text += "   ";
      for (int k = 0; k < kBytesPerCell; ++k)
        text += " " + HexByte(bytes[static_cast<size_t>(offset + row * kBytesPerCell + k)]) + ",";
      text += "\n";
    }
  };
  if (grouped) {
    for (int crystal = 1; crystal <= 2; ++crystal)
      for (int page = 0; page < kPageCount; ++page) append_page(page, crystal);
  } else {
    for (int page = 0; page < kPageCount; ++page)
      for (int crystal = 1; crystal <= 2; ++crystal) append_page(page, crystal);
  }
  text += "};\n";
  return context.WriteOutput(command.Value("output").value_or("-"), text);
}

// Up to ten pictures into buffers 1.. of a fresh editor state, in argument order.
std::optional<EditorState> LoadBuffers(const std::vector<std::string>& paths, Context& context) {
  if (paths.size() > static_cast<std::size_t>(kBufferCount)) {
    context.Usage("at most " + std::to_string(kBufferCount) +
                  " pictures, as the editor has buffers");
    return std::nullopt;
  }
  EditorState state;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    auto picture = context.LoadPicture(paths[i]);
    if (!picture) return std::nullopt;
    state.Buffer(static_cast<int>(i) + 1) = std::move(picture->buffer);
  }
  return state;
}

int RunBin(const ParsedCommand& command, Context& context) {
  const auto output = command.Value("output");
  if (!output || *output == "-") return context.Usage("'bin' needs -o FILE");
  BinPlacement placement;
  int methods = 0;
  if (command.Has("append")) {
    placement.write = BinWrite::kAppend;
    ++methods;
  }
  for (const auto& [name, write] :
       {std::pair{"insert", BinWrite::kInsert}, std::pair{"replace", BinWrite::kReplace}}) {
    if (const auto text = command.Value(name)) {
      const auto address = ParseAddress(*text, std::numeric_limits<long long>::max());
      if (!address) {
        return context.Usage("--" + std::string(name) + " takes a byte address, not '" + *text +
                             "'");
      }
      placement.write = write;
      placement.address = static_cast<std::uint64_t>(*address);
      ++methods;
    }
  }
  if (methods > 1) return context.Usage("choose one of --append, --insert and --replace");

  const auto state = LoadBuffers(command.positional, context);
  if (!state) return context.ExitCode();
  BinSlots chosen{};
  for (std::size_t i = 0; i < command.positional.size(); ++i) chosen[i] = static_cast<int>(i) + 1;
  BinImage image{};
  BinBlockArea block{};
  const int length = BuildBinBlock(*state, chosen, command.Has("group") ? 1 : 0, image, block);

  const BinPlaceResult result = PlaceBinBlock(
      *output, std::span<const std::uint8_t>(block.data(), static_cast<std::size_t>(length)),
      placement);
  switch (result.status) {
    case BinPlaceStatus::kWritten:
      return context.ExitCode();
    case BinPlaceStatus::kAddressBeyondEnd:
      return context.Fail(*output, "address " + std::to_string(*placement.address) +
                                       " lies beyond the end of the file (" +
                                       std::to_string(result.old_length) +
                                       " bytes); use --append or --replace");
    case BinPlaceStatus::kNoMemory:
      return context.Fail(*output, "not enough memory");
    case BinPlaceStatus::kOpenFailed:
      return context.Fail(*output, placement.write == BinWrite::kNewFile ? "cannot create the file"
                                                                         : "cannot open the file");
    case BinPlaceStatus::kNoAddress:
    case BinPlaceStatus::kWriteFailed:
      break;
  }
  return context.Fail(*output, "cannot write the file");
}

std::optional<SequenceOptions> ReadSequenceOptions(const ParsedCommand& command, Context& context) {
  SequenceOptions options;
  options.loop = command.Has("loop");
  options.scroll = !command.Has("no-scroll");
  if (const auto start = command.Value("from")) {
    auto picture = context.LoadPicture(*start);
    if (!picture) return std::nullopt;
    options.start = picture->buffer.Bytes();
  }
  return options;
}

int RunFrames(const ParsedCommand& command, Context& context) {
  const std::string format = command.Value("format").value_or("asm");
  if (format != "asm" && format != "c" && format != "bin") {
    return context.Usage("--format takes asm, c or bin, not '" + format + "'");
  }
  const std::string name = command.Value("name").value_or(std::string(kDefaultFrameArrayName));
  if (!IsCIdentifier(name)) return context.Usage("--name '" + name + "' is not a C identifier");
  const auto listing = ReadListingOptions(command, context);
  if (!listing) return context.ExitCode();
  const auto options = ReadSequenceOptions(command, context);
  if (!options) return context.ExitCode();
  const auto pictures = LoadSequence(command.positional, context);
  if (!pictures) return context.ExitCode();

  const FrameScript script = MakeFrameScript(*pictures, *options);
  const FrameTableFormat form = format == "bin" ? FrameTableFormat::kBinary
                                : format == "c" ? FrameTableFormat::kC
                                                : FrameTableFormat::kAssembly;
  const auto bytes = FrameTableFile(script, form, *listing, name);
  if (!bytes) return context.Usage("the directive name is empty");
  return context.WriteOutput(command.Value("output").value_or("-"), *bytes);
}

int RunLogic(const ParsedCommand& command, Context& context) {
  const auto output = command.Value("output");
  if (!output) return context.Usage("'logic' needs -o PICTURE.chr");
  const auto op = Choice(command.positional[0], {"and", "or", "xor"});
  if (!op) {
    return context.Usage("the operation is and, or or xor, not '" + command.positional[0] + "'");
  }
  const auto first = context.LoadPicture(command.positional[1]);
  if (!first) return context.ExitCode();
  const auto second = context.LoadPicture(command.positional[2]);
  if (!second) return context.ExitCode();
  PictureBytes result{};
  CombineBytes(static_cast<LogicOp>(*op), first->buffer.Bytes(), second->buffer.Bytes(), result);
  return context.WriteOutput(*output, std::string(result.begin(), result.end()));
}

std::optional<int> ReadMinimumRun(const ParsedCommand& command, Context& context) {
  const std::string text = command.Value("min-run").value_or("1");
  const auto value = ParseInteger(text, 1, kMinRunLimit);
  if (!value) {
    context.Usage("--min-run takes a number from 1 to " + std::to_string(kMinRunLimit) + ", not '" +
                  text + "'");
    return std::nullopt;
  }
  return static_cast<int>(*value);
}

std::vector<const PictureBytes*> Pointers(const std::vector<PictureBytes>& pictures) {
  std::vector<const PictureBytes*> list;
  for (const PictureBytes& p : pictures) list.push_back(&p);
  return list;
}

// The skip map of the sources and its full list, as the optimization panel makes them.
int RunSkips(const ParsedCommand& command, Context& context) {
  if (command.positional.size() > static_cast<std::size_t>(kSourceBufferCount)) {
    return context.Usage("at most " + std::to_string(kSourceBufferCount) +
                         " pictures, as the optimization panel has sources");
  }
  const std::string output = command.Value("output").value_or("-");
  std::string format = command.Value("format").value_or("");
  if (format.empty()) format = output != "-" && !HasExtension(output, "txt") ? "rtf" : "txt";
  if (format != "rtf" && format != "txt") {
    return context.Usage("--format takes rtf or txt, not '" + format + "'");
  }
  const auto run = ReadMinimumRun(command, context);
  if (!run) return context.ExitCode();

  std::vector<PictureBytes> pictures;
  std::vector<ReportSource> sources;
  for (std::size_t i = 0; i < command.positional.size(); ++i) {
    auto picture = context.LoadPicture(command.positional[i]);
    if (!picture) return context.ExitCode();
    pictures.push_back(picture->buffer.Bytes());
    sources.push_back({static_cast<int>(i) + 1, picture->buffer.FileName()});
  }
  const PictureBytes map = ScanIdenticalBytes(Pointers(pictures), *run);
  if (const auto map_path = command.Value("map")) {
    if (context.WriteOutput(*map_path, std::string(map.begin(), map.end())) != kExitOk)
      return context.ExitCode();
  }
  const StyledText report = SkipListReport(map, sources, std::to_string(*run));
  return context.WriteOutput(output,
                             format == "txt" ? PlainTextFileBytes(report) : WriteRtf(report));
}

int RunBudget(const ParsedCommand& command, Context& context) {
  const auto run = ReadMinimumRun(command, context);
  if (!run) return context.ExitCode();
  const std::string cycle_text =
      command.Value("cycle-ns").value_or(std::to_string(kDefaultBusCycleNs));
  const auto cycle = ParseInteger(cycle_text, 1, kMaxBusCycleNs);
  if (!cycle) {
    return context.Usage("--cycle-ns takes a number from 1 to " + std::to_string(kMaxBusCycleNs) +
                         ", not '" + cycle_text + "'");
  }
  const auto options = ReadSequenceOptions(command, context);
  if (!options) return context.ExitCode();
  const auto pictures = LoadSequence(command.positional, context);
  if (!pictures) return context.ExitCode();
  // The skip map the optimization panel would make of the whole sequence.
  const PictureBytes map = ScanIdenticalBytes(Pointers(*pictures), *run);
  const auto budget = ComputeFrameBudget(*pictures, map, *options, *cycle);
  if (!budget) return context.Usage("the cycle time is out of range");
  return context.WriteOutput(command.Value("output").value_or("-"), FormatFrameBudget(*budget));
}

using Runner = int (*)(const ParsedCommand&, Context&);

struct CommandEntry {
  CommandSpec spec;
  Runner run;
};

const std::vector<CommandEntry>& Entries() {
  static const std::vector<CommandEntry> entries = [] {
    std::vector<CommandEntry> list;
    {
      std::vector<OptionSpec> options = ListingOptionSpecs();
      options.insert(options.begin(), Output("Write the listing here (default: standard output)."));
      list.push_back({{"listing", "PICTURE",
                       "Assembly data listing of a picture, as the editor saves it "
                       "(Windows-1251, CR LF).",
                       options, 1, 1},
                      RunListing});
    }
    list.push_back(
        {{"import",
          "IMAGE",
          "Imports a BMP, JPEG, PNG or GIF image into a .chr picture, an animated GIF into one "
          "picture per frame; the defaults are the editor's import.",
          {Output("The .chr picture to write; for every frame a name with %d or %0Nd, which "
                  "becomes the frame number from 1 (frame%02d.chr: frame01.chr, ...)."),
           {"threshold", 0, "N", "Lit below grey level N (default 220)."},
           {"invert", 0, "", "Swap lit and clear pixels."},
           {"fit", 0, "MODE",
            "stretch (default: the whole image, aspect not kept), contain "
            "(aspect kept, on white) or cover (aspect kept, cut to fill)."},
           {"margin", 0, "MODE",
            "Beside a contained image: white (default, converted with the image), unlit or "
            "lit."},
           {"dither", 0, "MODE",
            "none (default), floyd-steinberg, atkinson, ordered (8 x 8) or ordered4 (4 x 4)."},
           {"brightness", 0, "N", "-100 (black) to 100 (white), default 0."},
           {"contrast", 0, "N", "-100 (flat grey) to 100 (a hard cut at mid grey), default 0."}},
          1,
          1},
         RunImport});
    list.push_back(
        {{"render",
          "PICTURE...",
          "The picture as a PNG image, as the canvas shows it; or pictures (an animated GIF "
          "gives its frames) as a looping GIF animation, as the editor saves the animation.",
          {Output("The PNG image to write (one picture)."),
           {"scale", 0, "N", "Each pixel as N x N pixels (PNG 1..64, GIF 1..8; default 1)."},
           {"gif", 0, "FILE", "Write the pictures as a GIF animation instead."},
           {"delay", 0, "MS", "Each picture of the GIF shown this long (10..5000, default 200)."},
           {"canvas", 0, "",
            "GIF pictures as the editor's canvas draws them, cells apart (default: black on "
            "white)."}},
          1,
          -1},
         RunRender});
    list.push_back({{"c-array",
                     "PICTURE",
                     "The 1024 bytes as a C array (const uint8_t NAME[1024]).",
                     {Output("Write the C source here (default: standard output)."),
                      {"name", 0, "NAME", "Name of the array (default: from the file name)."},
                      {"group", 0, "", "Controller 1's pages first, then controller 2's."}},
                     1,
                     1},
                    RunCArray});
    list.push_back(
        {{"bin",
          "PICTURE...",
          "Raw display-memory images of up to ten pictures, back to back, into a new file or "
          "placed into an existing one, as the BIN panel writes them.",
          {Output("The binary file to write or place the block into."),
           {"group", 0, "", "Controller 1's memory first, then controller 2's, per picture."},
           {"append", 0, "", "Add the block after the end of the existing file."},
           {"insert", 0, "ADDR",
            "Insert the block at byte ADDR (4096 or 0x1000) of the existing file."},
           {"replace", 0, "ADDR",
            "Overwrite the existing file from byte ADDR (4096 or 0x1000) on."}},
          1,
          -1},
         RunBin});
    {
      std::vector<OptionSpec> options{
          Output("Write the table here (default: standard output)."),
          {"format", 0, "FORMAT", "asm (default), c or bin."},
          {"loop", 0, "", "End with the change from the last picture back to the first."},
          {"from", 0, "START", "The picture the display shows first (default: blank)."},
          kNoScrollOption,
          {"name", 0, "NAME", "Name of the C array (default frame_table)."},
      };
      for (const OptionSpec& o : ListingOptionSpecs())
        if (o.name == "directive" || o.name == "indent1" || o.name == "indent2")
          options.push_back(o);
      list.push_back({{"frames", "PICTURE...",
                       "The fewest display writes from each picture to the next (an animated GIF "
                       "gives its frames), scrolling with the start line where that is cheaper, as "
                       "a table for the frame player (see docs/frame_scripts.md).",
                       options, 1, -1},
                      RunFrames});
    }
    list.push_back({{"logic",
                     "and|or|xor A B",
                     "Combines two pictures byte by byte, as the logic panel does.",
                     {Output("The .chr picture to write.")},
                     3,
                     3},
                    RunLogic});
    list.push_back(
        {{"skips",
          "PICTURE...",
          "Scans up to nine pictures for identical bytes and writes the full skip list, as the "
          "optimization panel does.",
          {Output("The report (default: standard output, as text)."),
           {"format", 0, "FORMAT",
            "rtf or txt (default: txt for .txt names and standard output, "
            "rtf otherwise)."},
           {"min-run", 0, "N",
            "Shortest run of identical bytes that may be skipped (1..64, "
            "default 1)."},
           {"map", 0, "MAP.chr", "Also write the skip map as a picture."}},
          1,
          -1},
         RunSkips});
    list.push_back(
        {{"budget",
          "PICTURE...",
          "Bus operations, table bytes and bus time of each change of picture (an animated GIF "
          "gives its frames): every picture written whole, only the bytes the skip map leaves, "
          "the frame script with every page on its own, and the scrolling script 'frames' "
          "writes.",
          {Output("Write the table here (default: standard output)."),
           {"loop", 0, "", "Count the change from the last picture back to the first too."},
           {"from", 0, "START", "The picture the display shows first (default: blank)."},
           kNoScrollOption,
           {"min-run", 0, "N", "The skip map's minimum run (1..64, default 1)."},
           {"cycle-ns", 0, "N", "One bus write cycle in ns (default 1000)."}},
          1,
          -1},
         RunBudget});
    return list;
  }();
  return entries;
}

}  // namespace

const std::vector<CommandSpec>& Commands() {
  static const std::vector<CommandSpec> specs = [] {
    std::vector<CommandSpec> list;
    for (const CommandEntry& e : Entries()) list.push_back(e.spec);
    return list;
  }();
  return specs;
}

int RunCli(const std::vector<std::string>& args, const CliIo& io) {
  const std::vector<CommandSpec>& specs = Commands();
  const ParseResult parsed = ParseCommandLine(args, specs);
  switch (parsed.status) {
    case ParseStatus::kVersion:
      io.write_stdout(kVersionText);
      return kExitOk;
    case ParseStatus::kHelp:
      io.write_stdout(parsed.command.spec != nullptr ? CommandHelp(*parsed.command.spec)
                                                     : GeneralHelp(specs));
      return kExitOk;
    case ParseStatus::kUsageError:
      io.write_stderr(UsageLine(parsed.error, parsed.command.spec != nullptr
                                                  ? parsed.command.spec->name
                                                  : std::string_view()));
      return kExitUsage;
    case ParseStatus::kOk:
      break;
  }
  Context context(io, parsed.command.spec->name);
  const std::size_t index = static_cast<std::size_t>(parsed.command.spec - specs.data());
  return Entries()[index].run(parsed.command, context);
}

}  // namespace lumigrid::cli
