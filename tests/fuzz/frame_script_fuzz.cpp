// A start picture A, a picture B, a row count k and flags, then rows; missing bytes are
// zero. The script from A to B and on to C, which is B as shown after moving up by k rows
// with the rows from the input coming in, looping or not, scrolling or not: played into the
// display model each frame must show its picture, cost no more than a whole rewrite (and the
// change of start line; the loop frame may add a byte that leaves the registers as the frame
// after it expects), and come back unchanged from its table.
#include <cstddef>
#include <cstdint>

#include "frames/frame_script.h"
#include "frames/frame_table.h"
#include "fuzz_support.h"
#include "picture/picture_buffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lumigrid;
  using fuzz::Check;
  fuzz::Input input(data, size);
  PictureBytes a{};
  PictureBuffer b;
  for (auto& byte : a) byte = input.Byte();
  for (auto& byte : b.Bytes()) byte = input.Byte();
  const int rows = input.Byte() % kPictureHeight;
  const uint8_t flags = input.Byte();
  SequenceOptions options{a, (flags & 1) != 0, (flags & 2) == 0};
  PictureBuffer c;
  for (int y = 0; y < kPictureHeight; ++y) {
    const int from = y + rows;
    uint8_t row_bits = 0;
    for (int x = 0; x < kPictureWidth; ++x) {
      if (x % 8 == 0) row_bits = from < kPictureHeight ? 0 : input.Byte();
      c.SetPixel(x, y, from < kPictureHeight ? b.Pixel(x, from) : (row_bits >> (x % 8)) & 1);
    }
  }
  const std::vector<PictureBytes> pictures{b.Bytes(), c.Bytes()};

  const FrameScript script = MakeFrameScript(pictures, options);
  Check(script.frames.size() == pictures.size() + options.loop, "one frame per transition");
  Ks0108Model model(a);
  for (size_t f = 0; f < script.frames.size(); ++f) {
    model.Apply(FrameBusOps(script.frames[f]));
    Check(model.Picture() == pictures[f % pictures.size()], "each frame shows its picture");
    const bool loop_frame = f == pictures.size();
    int allowed = kWholePictureOperations + (script.frames[f].start_line ? 2 : 0);
    if (loop_frame) allowed += 6;  // per chip a "set page", a "set column" and a byte
    Check(FrameOperationCount(script.frames[f]) <= allowed, "no dearer than a whole rewrite");
    if (!options.scroll) Check(!script.frames[f].start_line, "no scrolling when turned off");
  }
  if (options.loop) {  // round again from the second frame
    model.Apply(FrameBusOps(script.frames[1]));
    Check(model.Picture() == pictures[1], "the second frame plays after the loop");
  }
  const auto decoded = DecodeFrameTable(EncodeFrameTable(script));
  Check(decoded && *decoded == script, "the table decodes to the script");

  // Whatever the bytes, reading them as a table must not crash, and a table read back writes
  // the same bytes.
  const std::span<const uint8_t> raw(data, size);
  if (const auto table = DecodeFrameTable(raw)) {
    Check(EncodeFrameTable(*table) == std::vector<uint8_t>(raw.begin(), raw.end()),
          "a decoded table encodes to its bytes");
  }
  return 0;
}
