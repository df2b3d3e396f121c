// The commands give what the editor's own functions give for the same picture, and fail
// with one clear line and the right exit code, never leaving a partial output.
#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>

#include "binexport/bin_block.h"
#include "binexport/bin_placement.h"
#include "cli_test_support.h"
#include "codegen/listing.h"
#include "core/file_bytes.h"
#include "core/temp_folder.h"
#include "core/test_pictures.h"
#include "files/image_import_qt.h"
#include "files/picture_file.h"
#include "files/safe_file.h"
#include "frames/frame_budget.h"
#include "frames/frame_script.h"
#include "frames/frame_table.h"
#include "optimize/identical_scan.h"
#include "optimize/rtf_writer.h"
#include "optimize/skip_report.h"
#include "picture/canvas_geometry.h"

namespace lumigrid::cli {
namespace {

using lumigrid::testing::RandomPicture;
using lumigrid::testing::ReadAll;
using lumigrid::testing::TempFolder;
using testing::RunInProcess;

std::string AsString(const PictureBytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string EditorListing(const PictureBytes& bytes, const std::string& file_name,
                          const ListingOptions& options) {
  PictureBuffer buffer;
  buffer.Bytes() = bytes;
  buffer.SetFileName(file_name);
  return ListingFileBytes(JoinListingLines(*GenerateListing(buffer, 1, options)));
}

// A photo-like image with a diagonal ramp, saved as PNG.
std::string WriteRampPng(const TempFolder& folder, const std::string& name) {
  QImage image(300, 170, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x % 256, (x + y) % 256, y));
  const std::string path = folder.File(name);
  EXPECT_TRUE(image.save(QString::fromStdString(path), "PNG"));
  return path;
}

TEST(CliListing, EqualsTheEditorsSavedListingForEveryOption) {
  TempFolder folder;
  const PictureBytes bytes = RandomPicture(1);
  const std::string path = folder.File("рисунок.chr");
  ASSERT_TRUE(WritePictureFile(path, bytes));

  struct Case {
    std::vector<std::string> flags;
    ListingOptions options;
  };
  ListingOptions ungrouped;
  ungrouped.group_by_crystal = false;
  ListingOptions named;
  named.add_file_name = true;
  ListingOptions own;
  own.use_dt = false;
  own.directive_name = "retlw";
  own.first_indent = 2;
  own.second_indent = 0;
  const std::vector<Case> cases{
      {{}, ListingOptions{}},
      {{"--no-group"}, ungrouped},
      {{"--file-name"}, named},
      {{"--directive", "retlw", "--indent1", "2", "--indent2=0"}, own},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"listing", path};
    args.insert(args.end(), c.flags.begin(), c.flags.end());
    const auto run = RunInProcess(args);
    EXPECT_EQ(run.exit_code, kExitOk) << run.err;
    EXPECT_EQ(run.out, EditorListing(bytes, path, c.options)) << c.flags.size();
  }
}

TEST(CliListing, ImagesAndStandardInput) {
  TempFolder folder;
  const std::string png = WriteRampPng(folder, "ramp.png");
  const ImageDecodeResult decoded = DecodeImageToPicture(QString::fromStdString(png));
  ASSERT_EQ(decoded.status, ImageDecodeStatus::kOk);

  // An image is imported on the fly, exactly as the editor imports it.
  const std::string out = folder.File("ramp.asm");
  const auto from_image = RunInProcess({"listing", png, "-o", out, "--file-name"});
  EXPECT_EQ(from_image.exit_code, kExitOk) << from_image.err;
  ListingOptions named;
  named.add_file_name = true;
  EXPECT_EQ(ReadAll(out), EditorListing(decoded.bytes, png, named));

  // Standard input: a picture has no file, so the file line names buffer 1 as the editor does.
  const auto from_stdin = RunInProcess({"listing", "--file-name", "-"}, AsString(decoded.bytes));
  EXPECT_EQ(from_stdin.out, EditorListing(decoded.bytes, "", named));

  // An image on standard input is imported too.
  const auto image_stdin = RunInProcess({"import", "-", "-o", "-"}, ReadAll(png));
  EXPECT_EQ(image_stdin.exit_code, kExitOk) << image_stdin.err;
  EXPECT_EQ(image_stdin.out, AsString(decoded.bytes));

  // Standard input is read once only.
  EXPECT_EQ(RunInProcess({"render", "-", "-o", "-"}, std::nullopt).exit_code, kExitFailure);
}

TEST(CliErrors, OneLineNamingTheFileAndNoPartialOutput) {
  TempFolder folder;
  const std::string picture = folder.File("p.chr");
  ASSERT_TRUE(WritePictureFile(picture, RandomPicture(2)));
  const std::string broken = folder.File("broken.png");
  std::ofstream(broken) << "not an image at all";
  const std::string kept = folder.File("kept.chr");
  std::ofstream(kept) << "old content";

  struct Case {
    std::vector<std::string> args;
    int exit_code;
    std::string message_part;
  };
  const std::vector<Case> cases{
      {{"listing", folder.File("missing.chr")}, kExitFailure, "missing.chr: cannot open"},
      {{"import", broken, "-o", kept}, kExitFailure, "broken.png: not a BMP, JPEG, PNG or GIF"},
      {{"listing", picture, "-o", folder.File("no/such/folder.asm")},
       kExitFailure,
       "folder.asm: cannot write"},
      {{"listing", picture, "-o", folder.Path().string()}, kExitFailure, "is a folder"},
      {{"listing", picture, "--indent1", "-1"}, kExitUsage, "--indent1 takes a number"},
      {{"listing", picture, "--directive="}, kExitUsage, "--directive needs a name"},
      {{"render", picture, "-o", kept, "--scale", "0"}, kExitUsage, "--scale"},
      {{"c-array", picture, "--name", "2bad"}, kExitUsage, "not a C identifier"},
      {{"import", picture}, kExitUsage, "needs -o"},
  };
  for (const Case& c : cases) {
    const auto run = RunInProcess(c.args);
    EXPECT_EQ(run.exit_code, c.exit_code) << c.message_part;
    EXPECT_NE(run.err.find(c.message_part), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_TRUE(run.out.empty());
  }
  EXPECT_EQ(ReadAll(kept), "old content");
}

// Usage errors of the parser used to take two lines, those of a command one line without the
// way to help.
TEST(CliErrors, UsageIsOneLineNamingTheHelpToRead) {
  TempFolder folder;
  const std::string picture = folder.File("p.chr");
  ASSERT_TRUE(WritePictureFile(picture, RandomPicture(3)));
  struct Case {
    std::vector<std::string> args;
    std::string help;
  };
  const std::vector<Case> cases{
      {{}, "lumigrid-cli --help"},
      {{"paint", picture}, "lumigrid-cli --help"},
      {{"help", "paint"}, "lumigrid-cli --help"},
      {{"listing", "--bogus", picture}, "lumigrid-cli listing --help"},
      {{"listing", picture, picture}, "lumigrid-cli listing --help"},
      {{"render", picture, "-o"}, "lumigrid-cli render --help"},
      {{"render", picture, "-o", folder.File("p.png"), "--scale", "0"},
       "lumigrid-cli render --help"},
      {{"bin", "-o", folder.File("b.bin"), picture, "--insert", "x"}, "lumigrid-cli bin --help"},
  };
  for (const Case& c : cases) {
    const auto run = RunInProcess(c.args);
    const std::string what = c.args.empty() ? "no arguments" : c.args[0];
    EXPECT_EQ(run.exit_code, kExitUsage) << what;
    EXPECT_TRUE(run.err.starts_with("lumigrid-cli: ")) << run.err;
    EXPECT_TRUE(run.err.ends_with("; try '" + c.help + "'\n")) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_TRUE(run.out.empty()) << what;
  }
}

TEST(CliRender, EveryPixelShowsItsBitAtTheScale) {
  TempFolder folder;
  const PictureBytes bytes = RandomPicture(3);
  const auto run = RunInProcess({"render", "-", "-o", "-", "--scale", "3"}, AsString(bytes));
  ASSERT_EQ(run.exit_code, kExitOk) << run.err;
  QImage image;
  ASSERT_TRUE(image.loadFromData(QByteArray::fromStdString(run.out), "PNG"));
  ASSERT_EQ(image.size(), QSize(384, 192));
  PictureBuffer buffer;
  buffer.Bytes() = bytes;
  const QRgb lit = qRgb(colour::kPixelLit.r, colour::kPixelLit.g, colour::kPixelLit.b);
  const QRgb clear = qRgb(colour::kCellNormal.r, colour::kCellNormal.g, colour::kCellNormal.b);
  int wrong = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      wrong += image.pixel(x, y) != (buffer.Pixel(x / 3, y / 3) ? lit : clear);
  EXPECT_EQ(wrong, 0);
  // The same picture gives the same bytes every time.
  EXPECT_EQ(RunInProcess({"render", "-", "-o", "-", "--scale", "3"}, AsString(bytes)).out, run.out);
}

// The bytes of the array in source order, read back with a pattern, and the name it declares.
std::vector<int> ArrayValues(const std::string& source, std::string* name) {
  std::smatch m;
  EXPECT_TRUE(std::regex_search(source, m, std::regex(R"(const uint8_t (\w+)\[1024\])")));
  *name = m[1];
  std::vector<int> values;
  const std::regex hex("0x([0-9A-F]{2})");
  for (auto it = std::sregex_iterator(source.begin(), source.end(), hex);
       it != std::sregex_iterator(); ++it)
    values.push_back(std::stoi((*it)[1], nullptr, 16));
  return values;
}

TEST(CliCArray, DisplayOrderOrGroupedByController) {
  TempFolder folder;
  const PictureBytes bytes = RandomPicture(4);
  const std::string path = folder.File("logo-2 big.chr");
  ASSERT_TRUE(WritePictureFile(path, bytes));

  std::string name;
  const auto plain = RunInProcess({"c-array", path});
  ASSERT_EQ(plain.exit_code, kExitOk) << plain.err;
  EXPECT_EQ(ArrayValues(plain.out, &name), std::vector<int>(bytes.begin(), bytes.end()));
  EXPECT_EQ(name, "logo_2_big");

  const auto grouped = RunInProcess({"c-array", path, "--group", "--name", "Logo"});
  const std::vector<int> values = ArrayValues(grouped.out, &name);
  EXPECT_EQ(name, "Logo");
  ASSERT_EQ(values.size(), 1024u);
  // Controller 1's eight pages of 64 bytes, then controller 2's.
  for (int i = 0; i < 1024; ++i) {
    const int crystal = i / 512, page = (i % 512) / 64, column = i % 64;
    ASSERT_EQ(values[static_cast<size_t>(i)],
              bytes[static_cast<size_t>(128 * page + 64 * crystal + column)])
        << i;
  }
}

#ifndef _WIN32
// The array compiles as C and holds the picture's bytes.
TEST(CliCArray, CompilesWithTheSystemCompiler) {
  if (std::system("cc --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no C compiler";
  TempFolder folder;
  const PictureBytes bytes = RandomPicture(5);
  const auto run = RunInProcess({"c-array", "-", "--name", "pic"}, AsString(bytes));
  std::ofstream(folder.Path() / "pic.c") << run.out;
  std::ofstream(folder.Path() / "main.c")
      << "#include <stdio.h>\n#include <stdint.h>\nextern const uint8_t pic[1024];\n"
         "int main(void) { fwrite(pic, 1, 1024, stdout); return 0; }\n";
  const std::string dir = folder.Path().string();
  ASSERT_EQ(std::system(("cc -std=c99 -Wall -Werror -o '" + dir + "/p' '" + dir + "/pic.c' '" +
                         dir + "/main.c' && '" + dir + "/p' > '" + dir + "/out.bin'")
                            .c_str()),
            0);
  EXPECT_EQ(ReadAll(dir + "/out.bin"), AsString(bytes));
}
#endif

// The block the BIN panel builds from slots 1..n holding the same pictures.
std::string PanelBlock(const std::vector<PictureBytes>& pictures, int grouping) {
  EditorState state;
  BinSlots chosen{};
  for (size_t i = 0; i < pictures.size(); ++i) {
    state.Buffer(static_cast<int>(i) + 1).Bytes() = pictures[i];
    chosen[i] = static_cast<int>(i) + 1;
  }
  BinImage image{};
  BinBlockArea block{};
  const int length = BuildBinBlock(state, chosen, grouping, image, block);
  return std::string(block.begin(), block.begin() + length);
}

TEST(CliBin, EveryPlacementWritesThePanelsBlock) {
  TempFolder folder;
  const std::vector<PictureBytes> pictures{RandomPicture(6), RandomPicture(7)};
  const std::string a = folder.File("a.chr"), b = folder.File("b.chr");
  ASSERT_TRUE(WritePictureFile(a, pictures[0]));
  ASSERT_TRUE(WritePictureFile(b, pictures[1]));
  const std::string old(3000, 'x');
  const std::string block = PanelBlock({pictures[0], pictures[1], pictures[0]}, 0);
  const std::string grouped = PanelBlock({pictures[1]}, 1);

  struct Case {
    std::vector<std::string> args;
    std::string expected;
  };
  const std::vector<Case> cases{
      {{a, b, a}, block},
      {{a, b, a, "--append"}, old + block},
      {{a, b, a, "--insert", "100"}, old.substr(0, 100) + block + old.substr(100)},
      {{a, b, a, "--replace", "2000"}, old.substr(0, 2000) + block},
      {{a, b, a, "--replace", "0x7D0"}, old.substr(0, 2000) + block},
      {{a, "--insert=0X64"}, old.substr(0, 100) + PanelBlock({pictures[0]}, 0) + old.substr(100)},
      {{"--group", b, "--insert=3000"}, old + grouped},
  };
  for (const Case& c : cases) {
    const std::string out = folder.File("firmware.bin");
    ASSERT_TRUE(WriteFileSafely(out, old));
    std::vector<std::string> args{"bin", "-o", out};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto run = RunInProcess(args);
    EXPECT_EQ(run.exit_code, kExitOk) << run.err;
    EXPECT_TRUE(ReadAll(out) == c.expected) << c.args.back();
  }
}

TEST(CliBin, RefusalsLeaveTheFileAsItWas) {
  TempFolder folder;
  const std::string a = folder.File("a.chr");
  ASSERT_TRUE(WritePictureFile(a, RandomPicture(8)));
  const std::string out = folder.File("firmware.bin");
  ASSERT_TRUE(WriteFileSafely(out, "0123456789"));

  struct Case {
    std::vector<std::string> args;
    int exit_code;
    std::string message_part;
  };
  const std::vector<Case> cases{
      {{"--insert", "11"}, kExitFailure, "beyond the end of the file (10 bytes)"},
      {{"--insert", "1", "--append"}, kExitUsage, "choose one"},
      {{"--replace", "0x1G"}, kExitUsage, "byte address"},
      {{"--insert", "0x"}, kExitUsage, "byte address"},
      {{a, a, a, a, a, a, a, a, a, a}, kExitUsage, "at most 10 pictures"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"bin", "-o", out, a};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto run = RunInProcess(args);
    EXPECT_EQ(run.exit_code, c.exit_code) << c.message_part;
    EXPECT_NE(run.err.find(c.message_part), std::string::npos) << run.err;
  }
  EXPECT_EQ(ReadAll(out), "0123456789");
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"a.chr", "firmware.bin"}));
}

TEST(CliFrames, TablesOfTheSequenceInEachFormat) {
  TempFolder folder;
  const std::vector<PictureBytes> pictures{RandomPicture(10), RandomPicture(11), RandomPicture(12)};
  std::vector<std::string> paths;
  for (size_t i = 0; i < pictures.size(); ++i) {
    paths.push_back(folder.File("f" + std::to_string(i) + ".chr"));
    ASSERT_TRUE(WritePictureFile(paths.back(), pictures[i]));
  }
  SequenceOptions from_start;
  from_start.start = pictures[2];
  from_start.loop = true;
  const FrameScript script = MakeFrameScript({pictures[0], pictures[1]}, from_start);

  const auto bin =
      RunInProcess({"frames", "--format=bin", "--loop", "--from", paths[2], paths[0], paths[1]});
  EXPECT_EQ(bin.exit_code, kExitOk) << bin.err;
  const std::vector<uint8_t> table = EncodeFrameTable(script);
  EXPECT_EQ(bin.out, std::string(table.begin(), table.end()));

  const auto c = RunInProcess({"frames", "--format", "c", "--name", "intro", "--loop", "--from",
                               paths[2], paths[0], paths[1]});
  EXPECT_EQ(c.out, FrameTableC(script, "intro").value());

  SequenceOptions flat = from_start;
  flat.scroll = false;
  const std::vector<uint8_t> flat_table =
      EncodeFrameTable(MakeFrameScript({pictures[0], pictures[1]}, flat));
  EXPECT_EQ(RunInProcess({"frames", "--format=bin", "--loop", "--no-scroll", "--from", paths[2],
                          paths[0], paths[1]})
                .out,
            std::string(flat_table.begin(), flat_table.end()));

  EXPECT_EQ(RunInProcess({"frames", "--format", "hex", paths[0]}).exit_code, kExitUsage);
  EXPECT_EQ(RunInProcess({"frames", "--name", "a-b", paths[0]}).exit_code, kExitUsage);
  EXPECT_EQ(RunInProcess({"frames", "--from", folder.File("none.chr"), paths[0]}).exit_code,
            kExitFailure);
}

TEST(CliImport, DefaultsAreTheEditorsImportAndOptionsReachTheConversion) {
  TempFolder folder;
  const std::string png = WriteRampPng(folder, "ramp.png");
  const std::string out = folder.File("out.chr");
  auto imported = [&](std::vector<std::string> options) {
    std::vector<std::string> args{"import", png, "-o", out};
    args.insert(args.end(), options.begin(), options.end());
    const auto run = RunInProcess(args);
    EXPECT_EQ(run.exit_code, kExitOk) << run.err;
    return ReadAll(out);
  };
  auto decoded = [&](ConversionOptions options) {
    return AsString(DecodeImageFile(png, options).bytes);
  };
  const std::string editor = decoded({});
  EXPECT_EQ(imported({}), editor);
  EXPECT_EQ(imported({"--threshold", "220", "--fit", "stretch", "--dither", "none"}), editor);

  std::string inverted = editor;
  for (char& c : inverted) c = static_cast<char>(~c);
  EXPECT_EQ(imported({"--invert"}), inverted);
  EXPECT_EQ(imported({"--threshold", "100"}), decoded({.threshold = 100}));
  EXPECT_EQ(imported({"--fit", "contain"}), decoded({.fit = Fit::kContain}));
  EXPECT_EQ(imported({"--fit=cover", "--dither", "atkinson"}),
            decoded({.fit = Fit::kCover, .dither = Dither::kAtkinson}));
  EXPECT_EQ(imported({"--dither", "ordered"}), decoded({.dither = Dither::kOrdered}));
  EXPECT_NE(imported({"--dither", "floyd-steinberg"}), editor);

  for (const auto& bad : std::vector<std::vector<std::string>>{
           {"--threshold", "300"}, {"--fit", "zoom"}, {"--dither", "bayer"}}) {
    std::vector<std::string> args{"import", png, "-o", out};
    args.insert(args.end(), bad.begin(), bad.end());
    EXPECT_EQ(RunInProcess(args).exit_code, kExitUsage) << bad[0];
  }
}

// Regression: 'import Makefile -o x.chr' wrote the text as picture bytes. 'import' takes
// images only, and every refusal is one line saying what is wrong, the output untouched.
TEST(CliImport, TakesImagesOnlyAndSaysWhyNot) {
  TempFolder folder;
  const std::string text = folder.File("Makefile");
  std::ofstream(text) << "all:\n\tcc -o x x.c\n";
  const std::string picture = folder.File("logo.chr");
  ASSERT_TRUE(WritePictureFile(picture, RandomPicture(7)));
  const std::string wide = folder.File("wide.png");
  ASSERT_TRUE(QImage(65536, 1, QImage::Format_Mono).save(QString::fromStdString(wide), "PNG"));
  const std::string cut = folder.File("cut.png");
  std::ofstream(cut, std::ios::binary) << ReadAll(WriteRampPng(folder, "ramp.png")).substr(0, 300);
  // A valid 8 x 8 bitmap of 2 bits per pixel: four colours, 4 bytes a row.
  std::string two_bit = "BM" + std::string(8, '\0') + std::string("\x46\0\0\0\x28\0\0\0", 8) +
                        std::string("\x08\0\0\0\x08\0\0\0\1\0\2\0", 12);
  two_bit.resize(0x46 + 32, '\0');
  const std::string bitmap = folder.File("two-bit.bmp");
  std::ofstream(bitmap, std::ios::binary) << two_bit;
  const std::string kept = folder.File("kept.chr");

  const struct {
    std::vector<std::string> args;
    std::string input;
    std::string message;
  } cases[] = {
      {{"import", text, "-o", kept}, "", "Makefile: not a BMP, JPEG, PNG or GIF image\n"},
      {{"import", "-", "-o", kept},
       "all:\n",
       "standard input: not a BMP, JPEG, PNG or GIF image\n"},
      {{"import", picture, "-o", kept},
       "",
       "logo.chr: a .chr picture needs no import: give it to the other commands as it is\n"},
      {{"import", wide, "-o", kept},
       "",
       "wide.png: the image is too large: 65536 x 1 pixels, the import takes at most 65535 a "
       "side and 1073741824 in all\n"},
      {{"import", bitmap, "-o", kept},
       "",
       "two-bit.bmp: the import does not read bitmaps of 2 "
       "bits per pixel\n"},
      {{"import", cut, "-o", kept}, "", "cut.png: the image is damaged or cut short\n"},
  };
  for (const auto& c : cases) {
    std::ofstream(kept) << "old content";
    const auto run = RunInProcess(c.args, c.input);
    EXPECT_EQ(run.exit_code, kExitFailure) << c.message;
    EXPECT_TRUE(run.err.ends_with(c.message)) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(ReadAll(kept), "old content");
  }
  // The other commands still read any file but an image as picture bytes.
  EXPECT_EQ(RunInProcess({"listing", text, "-o", folder.File("text.asm")}).exit_code, kExitOk);
}

TEST(CliLogic, EachOperationByteByByte) {
  TempFolder folder;
  const PictureBytes a = RandomPicture(13), b = RandomPicture(14);
  const std::string pa = folder.File("a.chr"), pb = folder.File("b.chr");
  ASSERT_TRUE(WritePictureFile(pa, a));
  ASSERT_TRUE(WritePictureFile(pb, b));
  for (const std::string op : {"and", "or", "xor"}) {
    const auto run = RunInProcess({"logic", op, pa, pb, "-o", "-"});
    ASSERT_EQ(run.exit_code, kExitOk) << run.err;
    ASSERT_EQ(run.out.size(), 1024u);
    for (size_t i = 0; i < 1024; ++i) {
      const int expected = op == "and" ? (a[i] & b[i]) : op == "or" ? (a[i] | b[i]) : (a[i] ^ b[i]);
      ASSERT_EQ(static_cast<uint8_t>(run.out[i]), expected) << op << " byte " << i;
    }
  }
  // The result may be one of the operands.
  ASSERT_EQ(RunInProcess({"logic", "xor", pa, pb, "-o", pa}).exit_code, kExitOk);
  ASSERT_EQ(RunInProcess({"logic", "xor", pa, pb, "-o", pa}).exit_code, kExitOk);
  EXPECT_EQ(ReadAll(pa), AsString(a));
  EXPECT_EQ(RunInProcess({"logic", "nand", pa, pb, "-o", "-"}).exit_code, kExitUsage);
  EXPECT_EQ(RunInProcess({"logic", "and", pa, pb}).exit_code, kExitUsage);
}

TEST(CliSkips, TheOptimizationPanelsReportAndMap) {
  TempFolder folder;
  PictureBytes a = RandomPicture(15), b = a;
  for (size_t i = 0; i < b.size(); i += 5) b[i] ^= 0x01;
  const std::string pa = folder.File("a.chr"), pb = folder.File("b.chr");
  ASSERT_TRUE(WritePictureFile(pa, a));
  ASSERT_TRUE(WritePictureFile(pb, b));
  const PictureBytes map = ScanIdenticalBytes(std::vector<const PictureBytes*>{&a, &b}, 3);
  const std::vector<ReportSource> sources{{1, pa}, {2, pb}};
  const StyledText report = SkipListReport(map, sources, "3");

  const auto text = RunInProcess({"skips", "--min-run", "3", pa, pb});
  ASSERT_EQ(text.exit_code, kExitOk) << text.err;
  EXPECT_EQ(text.out, PlainTextFileBytes(report));

  const std::string rtf = folder.File("report.rtf"), txt = folder.File("report.txt");
  const std::string map_path = folder.File("map.chr");
  ASSERT_EQ(RunInProcess({"skips", "--min-run=3", pa, pb, "-o", rtf, "--map", map_path}).exit_code,
            kExitOk);
  EXPECT_EQ(ReadAll(rtf), WriteRtf(report));
  EXPECT_EQ(ReadAll(map_path), AsString(map));
  ASSERT_EQ(RunInProcess({"skips", "--min-run", "3", pa, pb, "-o", txt}).exit_code, kExitOk);
  EXPECT_EQ(ReadAll(txt), PlainTextFileBytes(report));

  EXPECT_EQ(RunInProcess({"skips", "--min-run", "65", pa, pb}).exit_code, kExitUsage);
  EXPECT_EQ(RunInProcess({"skips", "--format", "doc", pa, pb}).exit_code, kExitUsage);
  EXPECT_EQ(RunInProcess({"skips", pa, pa, pa, pa, pa, pa, pa, pa, pa, pa}).exit_code, kExitUsage);
}

TEST(CliBudget, TheCoresTableForTheSequence) {
  TempFolder folder;
  const std::vector<PictureBytes> pictures{RandomPicture(16), RandomPicture(17), RandomPicture(16)};
  std::vector<std::string> args{"budget", "--loop", "--min-run", "2", "--cycle-ns", "450"};
  for (size_t i = 0; i < pictures.size(); ++i) {
    args.push_back(folder.File("p" + std::to_string(i) + ".chr"));
    ASSERT_TRUE(WritePictureFile(args.back(), pictures[i]));
  }
  const auto run = RunInProcess(args);
  ASSERT_EQ(run.exit_code, kExitOk) << run.err;
  SequenceOptions options;
  options.loop = true;
  const PictureBytes map = ScanIdenticalBytes(
      std::vector<const PictureBytes*>{&pictures[0], &pictures[1], &pictures[2]}, 2);
  EXPECT_EQ(run.out, FormatFrameBudget(*ComputeFrameBudget(pictures, map, options, 450)));
  EXPECT_EQ(RunInProcess(args).out, run.out);
  args.push_back("--no-scroll");
  options.scroll = false;
  EXPECT_EQ(RunInProcess(args).out,
            FormatFrameBudget(*ComputeFrameBudget(pictures, map, options, 450)));
  args[5] = "0";
  EXPECT_EQ(RunInProcess(args).exit_code, kExitUsage);
}

}  // namespace
}  // namespace lumigrid::cli
